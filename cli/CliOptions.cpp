#include "cli/CliOptions.h"

#include <algorithm>
#include <functional>

#include "base/Translation.h"

namespace {

// An option that changes one rule: it sets Flag to FlagValue and, when it
// takes a value, stores the value in Text. With Choice, the value is a word
// instead: "zeros" sets Flag to FlagValue, "spaces" to its opposite.
struct TRuleOption {
  std::string_view Name;
  bool TRenameSettings::*Flag = nullptr;
  bool FlagValue = true;
  std::string TRenameSettings::*Text = nullptr;
  bool Choice = false;

  bool TakesValue() const { return Text || Choice; }
};

constexpr TRuleOption RuleOptions[] = {
    {"--upper", &TRenameSettings::UpperCase},
    {"--no-upper", &TRenameSettings::UpperCase, false},
    {"--lower", &TRenameSettings::LowerCase},
    {"--no-lower", &TRenameSettings::LowerCase, false},
    {"--remove-ext", &TRenameSettings::DelExtension},
    {"--no-remove-ext", &TRenameSettings::DelExtension, false},
    {"--add-ext", &TRenameSettings::AddExtension, true, &TRenameSettings::FileExtension},
    {"--no-add-ext", &TRenameSettings::AddExtension, false},
    {"--search", &TRenameSettings::SearchAndReplace, true, &TRenameSettings::SearchString},
    {"--replace", &TRenameSettings::SearchAndReplace, true, &TRenameSettings::ReplaceString},
    {"--no-search", &TRenameSettings::SearchAndReplace, false},
    {"--counter-start", nullptr, false, &TRenameSettings::CounterStartValue},
    {"--counter-step", nullptr, false, &TRenameSettings::CounterStepSize},
    {"--counter-width", &TRenameSettings::CounterSameWidth, true, &TRenameSettings::CounterWidth},
    {"--no-counter-width", &TRenameSettings::CounterSameWidth, false},
    {"--fill", &TRenameSettings::CounterFillZeros, true, nullptr, true},
};

const TRuleOption* FindRuleOption(std::string_view Name) {
  for (const TRuleOption& Option : RuleOptions)
    if (Option.Name == Name) return &Option;
  return nullptr;
}

// The options that say how to run. Set stores the value (empty for options
// without one) and returns an error text, or the empty text.
struct TRunOption {
  std::string_view Name;
  bool TakesValue;
  std::function<std::string(TCliOptions&, const std::string&)> Set;
};

std::string SetFlag(bool& Flag) {
  Flag = true;
  return {};
}

const std::vector<TRunOption>& RunOptions() {
  static const std::vector<TRunOption> Options = {
      {"--profile", true, [](TCliOptions& O, const std::string& V) { return O.ProfileFile = V, std::string(); }},
      {"--apply", false, [](TCliOptions& O, const std::string&) { return SetFlag(O.Apply); }},
      {"--names", false, [](TCliOptions& O, const std::string&) { return SetFlag(O.Names); }},
      {"--json", false, [](TCliOptions& O, const std::string&) { return SetFlag(O.Json); }},
      {"--read-only", true,
       [](TCliOptions& O, const std::string& V) {
         if (V == "ask") O.ReadOnly = roAsk;
         else if (V == "yes") O.ReadOnly = roYes;
         else if (V == "no") O.ReadOnly = roNo;
         else return Filled(Tr("Cli", "--read-only takes ask, yes or no, not '%1'"), {V});
         return std::string();
       }},
      {"--files-from", true, [](TCliOptions& O, const std::string& V) { return O.FilesFrom = V, std::string(); }},
      {"--null", false, [](TCliOptions& O, const std::string&) { return SetFlag(O.NullSeparated); }},
      {"-0", false, [](TCliOptions& O, const std::string&) { return SetFlag(O.NullSeparated); }},
      {"--undo", false, [](TCliOptions& O, const std::string&) { return SetFlag(O.Undo); }},
      {"--finish", false, [](TCliOptions& O, const std::string&) { return SetFlag(O.Finish); }},
      {"--recover", false, [](TCliOptions& O, const std::string&) { return SetFlag(O.Recover); }},
      {"--help", false, [](TCliOptions& O, const std::string&) { return SetFlag(O.Help); }},
      {"-h", false, [](TCliOptions& O, const std::string&) { return SetFlag(O.Help); }},
      {"--version", false, [](TCliOptions& O, const std::string&) { return SetFlag(O.Version); }},
      {"-V", false, [](TCliOptions& O, const std::string&) { return SetFlag(O.Version); }},
  };
  return Options;
}

const TRunOption* FindRunOption(std::string_view Name) {
  for (const TRunOption& Option : RunOptions())
    if (Option.Name == Name) return &Option;
  return nullptr;
}

// The checks that concern several options together.
std::string CheckCombination(const TCliOptions& O) {
  if (int(O.Undo) + int(O.Finish) + int(O.Recover) > 1) return Tr("Cli", "--undo, --finish and --recover go alone");
  if (O.Undo || O.Finish || O.Recover) {
    if (O.Apply || O.Names || !O.FilesFrom.empty() || O.NullSeparated || O.Json || !O.Overrides.empty() ||
        !O.ProfileFile.empty())
      return Tr("Cli", "--undo, --finish and --recover take no rules or other options");
    if (O.Recover && !O.Paths.empty()) return Tr("Cli", "--recover takes no paths");
    if (O.Paths.size() > 1) return Tr("Cli", "--undo and --finish take one journal at most");
    return {};
  }
  if (O.Names && O.Apply) return Tr("Cli", "--names touches no file and cannot go with --apply");
  if (O.Names && (!O.Paths.empty() || !O.FilesFrom.empty()))
    return Tr("Cli", "--names reads names from standard input and takes no paths");
  if (!O.Names && O.Paths.empty() && O.FilesFrom.empty()) return Tr("Cli", "no files given");
  if (O.NullSeparated && !O.Names && O.FilesFrom.empty()) return Tr("Cli", "--null goes with --files-from or --names");
  return {};
}

}  // namespace

TCliParseResult ParseCliOptions(const std::vector<std::string>& Args) {
  TCliParseResult Result;
  TCliOptions& O = Result.Options;
  size_t I = 0;
  for (; I < Args.size(); ++I) {
    const std::string& Arg = Args[I];
    if (Arg == "--") {
      ++I;
      break;
    }
    // "-" alone and everything that does not start with "-" is the first path.
    if (Arg.size() < 2 || Arg[0] != '-') break;

    const size_t Equals = Arg.starts_with("--") ? Arg.find('=') : std::string::npos;
    const std::string Name = Arg.substr(0, Equals);
    const TRuleOption* Rule = FindRuleOption(Name);
    const TRunOption* Run = Rule ? nullptr : FindRunOption(Name);
    if (!Rule && !Run) {
      Result.Error = Filled(Tr("Cli", "unknown option '%1'"), {Name});
      return Result;
    }
    const bool TakesValue = Rule ? Rule->TakesValue() : Run->TakesValue;
    std::string Value;
    if (Equals != std::string::npos) {
      if (!TakesValue) {
        Result.Error = Filled(Tr("Cli", "option '%1' takes no value"), {Name});
        return Result;
      }
      Value = Arg.substr(Equals + 1);
    } else if (TakesValue) {
      if (I + 1 == Args.size()) {
        Result.Error = Filled(Tr("Cli", "option '%1' needs a value"), {Name});
        return Result;
      }
      Value = Args[++I];
    }

    if (Rule) {
      if (Rule->Choice && Value != "zeros" && Value != "spaces") {
        Result.Error = Filled(Tr("Cli", "%1 takes zeros or spaces, not '%2'"), {Name, Value});
        return Result;
      }
      O.Overrides.push_back({Name, std::move(Value)});
    } else {
      Result.Error = Run->Set(O, Value);
      if (!Result.Error.empty()) return Result;
    }
  }
  O.Paths.assign(Args.begin() + static_cast<std::ptrdiff_t>(I), Args.end());
  if (!O.Help && !O.Version) Result.Error = CheckCombination(O);
  return Result;
}

TRenameSettings ApplyOverrides(TRenameSettings Settings, const std::vector<TRuleOverride>& Overrides) {
  for (const TRuleOverride& Override : Overrides) {
    const TRuleOption* Rule = FindRuleOption(Override.Option);
    if (!Rule) continue;
    if (Rule->Flag && Rule->Choice)
      Settings.*Rule->Flag = (Override.Value == "zeros") == Rule->FlagValue;
    else if (Rule->Flag)
      Settings.*Rule->Flag = Rule->FlagValue;
    if (Rule->Text) Settings.*Rule->Text = Override.Value;
  }
  return Settings;
}

std::string CliHelpText() {
  return Tr("Cli", R"(Usage: quorvane-cli [OPTIONS] PATH...
       quorvane-cli [OPTIONS] --files-from FILE
       quorvane-cli [OPTIONS] --names < NAMES

Renames files by the rules of Quorvane 2: case, extension, and search and
replace with wildcards and fields. The files are taken in the order given.
Without --apply nothing is renamed: each file's path and new name are shown,
separated by a tab. Options come before the paths; "--" ends them.

Rules (they override the profile's values, later options the earlier ones):
  --profile FILE        start from the rules of a profile file (*.prf)
  --upper, --no-upper   change the name to upper case
  --lower, --no-lower   change the name to lower case (wins over --upper)
  --remove-ext, --no-remove-ext
                        remove the last extension
  --add-ext EXT, --no-add-ext
                        add the extension EXT (after a removal)
  --search TEXT         search text; switches search and replace on
  --replace TEXT        replacement text; switches search and replace on
  --no-search           switch search and replace off
  --counter-start N     first counter value (default 1)
  --counter-step N      counter step (default 1)
  --counter-width N, --no-counter-width
                        give every counter text exactly N characters
  --fill zeros|spaces   what fills a counter text to its width (default zeros)

Search text: * any characters, ? one character, " at the start or end of the
text stands for the start or end of the name, <...> captures a part as <1> to
<9>. Replacement fields: <1>..<9>, <name>, <typ>, <zaehler> (the counter),
<datum,a|d,k|e|t|m|j> (current or file date), <zeit,a|d,ko|ku|se|m|st>
(current or file time).
Fields read from inside the file:
  <datum,f,k|e|t|m|j>, <zeit,f,ko|ku|se|m|st>
                        the photo's capture date and time (Exif
                        DateTimeOriginal, else DateTimeDigitized, else
                        DateTime, as written); without one, the file date
  <kamera>              the camera model (Exif Model)
  <interpret>, <titel>, <album>, <nummer>, <jahr>, <genre>
                        the audio tags artist, title, album, track number
                        (without its "/total", at least two digits: 03),
                        year and genre
A value that is absent, or a file that cannot be read, gives an empty text. In
a tag value "/" becomes "." and control characters are dropped, so a tag never
adds a folder to a name.

Every file is shown with its path, its new name and its status: rename,
unchanged, or why it will not be renamed (not-found, invalid-name, duplicate:
an earlier file gets that name, taken: a file that stays holds it, same-file:
the name is another link to the file). Names swapped or rotated between files
are renamed in an order that works, through a temporary name where needed.

Running:
  --apply               rename the files; a name that is taken is never
                        replaced, and each file is checked again right before
                        it is renamed (changed: it is no longer the file that
                        was checked). Ends with the number of renamed files.
  --read-only=ask|yes|no
                        rename read-only files? ask (the default) asks on a
                        terminal and means no without one
  --names               read one name per line from standard input and show
                        each new name; no file is touched
  --json                one JSON object per file: "path", "newName", with
                        --apply "renamed", then "status" and "reason" (empty
                        unless the file is not renamed as shown)
  --files-from FILE     read the paths from FILE, one per line ("-": standard
                        input)
  -0, --null            the paths or names read, and the new names --names
                        shows, end in NUL bytes instead of line ends
  --undo [JOURNAL]      undo the last renaming pass (or the one of JOURNAL),
                        finished or interrupted: each file that is still the
                        file the pass renamed gets its old name back; files
                        renamed again since, deleted, or whose old name is
                        taken are listed and stay
  --finish [JOURNAL]    finish an interrupted pass (the last, or JOURNAL)
  --recover             show the interrupted pass, if any, and where its
                        files are now

Every --apply, --undo and --finish first writes its plan to a journal in
$XDG_STATE_HOME/Velmora/Quorvane/journal/ (default ~/.local/state/...); a
journal that cannot be written stops it before the first rename.

  -h, --help            show this text
  -V, --version         show the version

Exit status: 0 done; 1 the rules were refused (the message is on standard
error), or a file could not be found, would not be or was not renamed
(read-only files left alone included), could not be undone, or there was
nothing to undo; 2 the command line is wrong, or the profile, the list of
paths or a journal cannot be read (or the journal is damaged).
)");
}
