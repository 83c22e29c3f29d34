// The command-line program run in-process with a fixed clock: the command
// line, previews and --names output for every kind of field, profiles under
// options, renaming a real folder without loss, messages and exit statuses,
// and the --json shape.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <ctime>
#include <fstream>
#include <filesystem>
#include <set>
#include <sstream>

#include "app/Profile.h"
#include "base/VmFileLib.h"
#include "cli/CliOptions.h"
#include "cli/CliRun.h"
#include "rename/Journal.h"
#include "rename/TextChecks.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;
using TStrings = std::vector<std::string>;

namespace {

// 24 December 2025, 14:05:30 for every run.
struct TFixedClock : TClock {
  TDateTime Now() const override { return EncodeDateTime({2025, 12, 24, 14, 5, 30}); }
};

struct TRunResult {
  int Status;
  std::string Out, Err;
};

TRunResult RunCliWith(const TStrings& Args, const std::string& In = {}, bool Terminal = false,
                      std::optional<std::string> Journals = std::nullopt) {
  static const TFixedClock Clock;
  std::istringstream InStream(In);
  std::ostringstream Out, Err;
  TCliEnvironment Env{InStream, Out, Err, Terminal, {&Clock, "."}, false, std::move(Journals)};
  const int Status = RunCli(Args, Env);
  return {Status, Out.str(), Err.str()};
}

TStrings operator+(TStrings A, const TStrings& B) {
  A.insert(A.end(), B.begin(), B.end());
  return A;
}

// Text with every "{d}" replaced by Dir.
std::string InDir(std::string Text, const std::string& Dir) {
  for (size_t At; (At = Text.find("{d}")) != std::string::npos;) Text.replace(At, 3, Dir);
  return Text;
}

// A temporary folder whose files each hold their own name: a run may rename them but never lose or change one.
class CliFolderTest : public ::testing::Test {
 protected:
  TTempDir Folder;
  const std::string Dir = Folder.Path.string() + '/';

  void Make(const TStrings& Names) {
    for (const std::string& Name : Names) WriteFileAtomic(Dir + Name, Name);
    Before = Contents();
  }
  TStrings Paths(const TStrings& Names) const {
    TStrings Result;
    for (const std::string& Name : Names) Result.push_back(Dir + Name);
    return Result;
  }
  std::multiset<std::string> Contents() const {
    std::multiset<std::string> Result;
    for (const auto& Entry : fs::directory_iterator(Dir)) Result.insert(ReadFile(Entry.path()));
    return Result;
  }
  std::set<std::string> Names() const {
    std::set<std::string> Result;
    for (const auto& Entry : fs::directory_iterator(Dir)) Result.insert(Entry.path().filename());
    return Result;
  }
  void SetLastWriteTime(const std::string& Name, const TDateTimeParts& Local) {
    std::tm Time{};
    Time.tm_year = Local.Year - 1900, Time.tm_mon = Local.Month - 1, Time.tm_mday = Local.Day;
    Time.tm_hour = Local.Hour, Time.tm_min = Local.Minute, Time.tm_sec = Local.Second, Time.tm_isdst = -1;
    const std::time_t Seconds = std::mktime(&Time);
    const timespec Times[2] = {{Seconds, 0}, {Seconds, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, (Dir + Name).c_str(), Times, 0), 0);
  }
  void Clear() {
    for (const auto& Entry : fs::directory_iterator(Dir)) fs::remove(Entry.path());
  }
  void TearDown() override { EXPECT_EQ(Contents(), Before) << "a file was lost or changed"; }

  std::multiset<std::string> Before;
};

}  // namespace

TEST(CliCommandLine, UsageErrorsSayWhatIsWrongAndExitWithTwo) {
  const std::pair<TStrings, const char*> Cases[] = {
      {{"--frobnicate", "a"}, "unknown option '--frobnicate'"},
      {{"--search"}, "option '--search' needs a value"},
      {{"--apply=yes", "a"}, "option '--apply' takes no value"},
      {{"--fill", "dots", "a"}, "--fill takes zeros or spaces, not 'dots'"},
      {{"--read-only=maybe", "a"}, "--read-only takes ask, yes or no, not 'maybe'"},
      {{"--upper"}, "no files given"},
      {{"--names", "a"}, "--names reads names from standard input and takes no paths"},
      {{"--names", "--apply"}, "--names touches no file and cannot go with --apply"},
      {{"--null", "a"}, "--null goes with --files-from or --names"},
      {{"--profile", "/nonexistent/p.prf", "a"},
       "cannot read profile \"/nonexistent/p.prf\": No such file or directory"},
      {{"--files-from", "/nonexistent/list"}, "cannot read \"/nonexistent/list\": No such file or directory"},
  };
  for (const auto& [Args, Error] : Cases) {
    SCOPED_TRACE(Error);
    const TRunResult R = RunCliWith(Args);
    EXPECT_EQ(R.Status, esUsage);
    EXPECT_EQ(R.Out, "");
    EXPECT_EQ(R.Err, "quorvane-cli: " + std::string(Error) + "\nTry 'quorvane-cli --help' for more information.\n");
  }
  EXPECT_EQ(RunCliWith({"--version"}).Out, "quorvane-cli " QUORVANE_VERSION "\n");
  const TRunResult Help = RunCliWith({"--upper", "-h"});
  EXPECT_EQ(Help.Status, esDone);
  EXPECT_TRUE(Help.Out.starts_with("Usage: quorvane-cli [OPTIONS] PATH...")) << Help.Out;
}

TEST(CliCommandLine, OptionsComeBeforeThePathsAndLaterRulesWin) {
  const TCliParseResult Parsed = ParseCliOptions({"--upper", "--add-ext=bak", "--no-upper", "--fill", "spaces",
                                                  "--counter-width", "4", "--read-only", "yes", "--", "--apply", "-"});
  ASSERT_EQ(Parsed.Error, "");
  EXPECT_FALSE(Parsed.Options.Apply);
  EXPECT_EQ(Parsed.Options.ReadOnly, roYes);
  EXPECT_EQ(Parsed.Options.Paths, (TStrings{"--apply", "-"}));
  TRenameSettings Expected;
  Expected.AddExtension = true, Expected.FileExtension = "bak", Expected.CounterFillZeros = false;
  Expected.CounterSameWidth = true, Expected.CounterWidth = "4";
  EXPECT_EQ(ApplyOverrides({}, Parsed.Options.Overrides), Expected);
  // The first path ends the options: a file called "--apply" never switches renaming on.
  EXPECT_EQ(ParseCliOptions({"a", "--apply"}).Options.Paths, (TStrings{"a", "--apply"}));
}

TEST(CliNames, ShowTheNewNameOfEachLineWithEveryKindOfField) {
  struct Case {
    const char* Name;
    TStrings Rules;
    std::string In, Out;
  } Cases[] = {
      {"case and extension", {"--upper", "--remove-ext", "--add-ext", "bak"}, "a.txt\nReport.v2.doc\n",
       "A.bak\nREPORT.V2.bak\n"},
      {"lower case wins over upper case", {"--upper", "--lower"}, "Report.TXT\n", "report.txt\n"},
      {"brackets", {"--search", "<*> - <*>", "--replace", "<2> - <1>"}, "a - b - c\nno dash\n",
       "b - c - a\nno dash\n"},
      {"name and type", {"--search", "\"*\"", "--replace", "<typ>.<name>"}, "photo.jpg\n", "jpg.photo\n"},
      {"counter with start, negative step, width and spaces",
       {"--search", "\"<?>", "--replace", "<zaehler>_<1>", "--counter-start", "9", "--counter-step=-4",
        "--counter-width", "2", "--fill", "spaces"},
       "ab\ncd\nef\n", " 9_ab\n 5_cd\n 1_ef\n"},
      {"current date and time from the clock",
       {"--search", "\"<?>", "--replace", "<datum,a,k> <zeit,a,ko> <zeit,a,st> <1>"}, "xy\n",
       "24.12.2025 14.05.30 14 xy\n"},
      {"a name has no file date", {"--search", "\"<?>", "--replace", "<datum,d,e>_<zeit,d,ku>_<1>"}, "xy\n",
       "1899.12.30_00.00_xy\n"},
      {"empty lines stay and take no counter value", {"--search", "\"<?>", "--replace", "<zaehler><1>"}, "ab\n\ncd",
       "1ab\n\n2cd\n"},
      {"names ending in NUL", {"--null", "--upper"}, std::string("a\nb\0c", 5), std::string("A\nB\0C\0", 6)},
      {"no rules", {}, "same\n", "same\n"},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    const TRunResult R = RunCliWith(TStrings{"--names"} + C.Rules, C.In);
    EXPECT_EQ(R.Out, C.Out);
    EXPECT_EQ(R.Err, "");
    EXPECT_EQ(R.Status, esDone);
  }
}

TEST(CliNames, AProfileGivesTheRulesAndOptionsOverrideThem) {
  TTempDir Dir;
  const std::string Profile = Dir / "rules.prf";
  WriteFileAtomic(Profile,
                  "[Quorvane-Profile]\nUpperCase=1\nSearchAndReplace=1\nSearchString=X\nReplaceString=<zaehler>-\n"
                  "CounterStartValue=7\nCounterSameWidth=1\nCounterWidth=3\n");
  const std::pair<TStrings, const char*> Cases[] = {
      {{}, "007-.DOC\n"},
      {{"--no-upper"}, "x.doc\n"},
      {{"--counter-start", "12", "--fill=spaces"}, " 12-.DOC\n"},
      {{"--no-counter-width"}, "7-.DOC\n"},
      {{"--no-search"}, "X.DOC\n"},
      {{"--replace", "<name>+"}, "X+.DOC\n"},
  };
  for (const auto& [Options, Out] : Cases) {
    SCOPED_TRACE(Out);
    EXPECT_EQ(RunCliWith(TStrings{"--names", "--profile", Profile} + Options, "x.doc\n").Out, Out);
  }
}

TEST(CliChecks, RefusedTextsAndNumbersShowTheSystemsMessageAndTouchNothing) {
  const std::pair<TStrings, std::string_view> Cases[] = {
      {{"--search", "a\"b"}, QuoteMessage},
      {{"--search", "<a><b><c><d><e><f><g><h><i><j>"}, BracketLimitMessage},
      {{"--search", "<abc"}, BracketBalanceMessage},
      {{"--search", "<*>"}, NoLiteralMessage},
      {{"--search", "a", "--replace", "a<b<c>>"}, FieldOverlapMessage},
      {{"--search", "a", "--replace", "<zaehler>", "--counter-start", "x"}, InvalidNumberMessage},
      {{"--search", "a", "--replace", "<zaehler>", "--counter-step", "1.5"}, InvalidNumberMessage},
      {{"--search", "a", "--replace", "<zaehler>", "--counter-width", ""}, InvalidNumberMessage},
  };
  TTempDir Dir;
  WriteFileAtomic(Dir / "a.txt", "a");
  for (const auto& [Rules, Message] : Cases) {
    SCOPED_TRACE(Message);
    for (const TStrings& Mode : {TStrings{}, TStrings{"--apply"}, TStrings{"--json"}}) {
      const TRunResult R = RunCliWith(Mode + Rules + TStrings{Dir / "a.txt"});
      EXPECT_EQ(R.Status, esFailed);
      EXPECT_EQ(R.Out, "");
      EXPECT_EQ(R.Err, std::string(Message) + "\n");
    }
    EXPECT_EQ(RunCliWith(TStrings{"--names"} + Rules, "a\n").Err, std::string(Message) + "\n");
    EXPECT_TRUE(fs::exists(Dir / "a.txt"));
  }
}

TEST_F(CliFolderTest, PreviewShowsEachPathItsNewNameAndStatusAndTouchesNothing) {
  Make({"b.txt", "a.txt", "c*.txt"});
  SetLastWriteTime("b.txt", {2024, 3, 5, 9, 7, 43});
  SetLastWriteTime("a.txt", {2023, 1, 2, 3, 4, 5});
  // A missing path takes no counter value; a wildcard is no pattern.
  TRunResult R = RunCliWith(TStrings{"--search", "\"<?>", "--replace", "<zaehler> <datum,d,e> <zeit,d,se> <1>"} +
                            Paths({"b.txt", "gone.txt", "a.txt", "c?.txt"}));
  EXPECT_EQ(R.Out, InDir("{d}b.txt\t1 2024.03.05 42 b.txt\trename\n"
                         "{d}gone.txt\t\tnot-found\tthe file is not there\n"
                         "{d}a.txt\t2 2023.01.02 04 a.txt\trename\n"
                         "{d}c?.txt\t\tnot-found\tthe file is not there\n",
                         Dir));
  EXPECT_EQ(R.Err, InDir("Kann auf folgende Datei nicht zugreifen!: \"{d}gone.txt\"\n"
                         "Kann auf folgende Datei nicht zugreifen!: \"{d}c?.txt\"\n",
                         Dir));
  EXPECT_EQ(R.Status, esFailed);
  // A conflict shows with its reason and fails the preview.
  R = RunCliWith(TStrings{"--search", "?.txt", "--replace", "c*.txt"} + Paths({"a.txt", "b.txt"}));
  EXPECT_EQ(R.Out, InDir("{d}a.txt\tc*.txt\ttaken\ta file named \"c*.txt\" already exists\n"
                         "{d}b.txt\tc*.txt\tduplicate\t\"{d}a.txt\" is given the same name before it\n",
                         Dir));
  EXPECT_EQ(R.Status, esFailed);
  EXPECT_EQ(Names(), (std::set<std::string>{"a.txt", "b.txt", "c*.txt"}));
}

TEST_F(CliFolderTest, ApplyRenamesInPlaceAndReportsWhatItCouldNotDo) {
  struct Case {
    const char* Name;
    TStrings Files, Given, Rules;
    std::set<std::string> After;
    int Status;
    std::string Out, Err;
  } Cases[] = {
      {"parts swapped, and names swapped between files", {"A - B.mp3", "B - A.mp3", "C - 1.mp3"},
       {"A - B.mp3", "B - A.mp3", "C - 1.mp3"}, {"--search", "<*> - <*>.mp3", "--replace", "<2> - <1>.mp3"},
       {"A - B.mp3", "B - A.mp3", "1 - C.mp3"}, esDone, "3 file(s) renamed.\n", ""},
      {"an existing target is left alone", {"a.txt", "a.jpg", "b.txt"}, {"a.txt", "b.txt"},
       {"--remove-ext", "--add-ext", "jpg"}, {"a.txt", "a.jpg", "b.jpg"}, esFailed, "1 file(s) renamed.\n",
       "quorvane-cli: not renamed: \"{d}a.txt\" -> \"a.jpg\": a file named \"a.jpg\" already exists\n"},
      {"an unchanged name does not count", {"same.txt"}, {"same.txt"}, {"--lower"}, {"same.txt"}, esDone,
       "0 file(s) renamed.\n", ""},
      {"a missing file is reported and the counter moves on", {"ab", "cd"}, {"ab", "gone", "cd"},
       {"--search", "\"<?>", "--replace", "<zaehler>_<1>"}, {"1_ab", "2_cd"}, esFailed, "2 file(s) renamed.\n",
       "Kann auf folgende Datei nicht zugreifen!: \"{d}gone\"\n"},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    Clear();
    Make(C.Files);
    const TRunResult R = RunCliWith(TStrings{"--apply"} + C.Rules + Paths(C.Given));
    EXPECT_EQ(Names(), C.After);
    EXPECT_EQ(Contents(), Before);
    EXPECT_EQ(R.Status, C.Status);
    EXPECT_EQ(R.Out, C.Out);
    EXPECT_EQ(R.Err, InDir(C.Err, Dir));
  }
}

TEST_F(CliFolderTest, ReadOnlyFilesFollowTheStandingAnswerOrTheTerminal) {
  const auto Question = [this](const std::string& Name) {
    return "\"" + Dir + Name +
           "\" ist schreibgeschützt! Soll die Datei trotzdem umbenannt werden? "
           "[Y]es, [N]o, N[o] to All, Yes to [A]ll? ";
  };
  const auto Skipped = [this](const std::string& Name) {
    return "quorvane-cli: not renamed: \"" + Dir + Name + "\": read-only: left as it is\n";
  };
  struct Case {
    const char* Name;
    const char* Answer;
    std::string In;
    bool Terminal;
    std::set<std::string> After;
    std::string Err;
  } Cases[] = {
      {"no", "--read-only=no", "", true, {"r1", "r2", "W3"}, Skipped("r1") + Skipped("r2")},
      {"yes", "--read-only=yes", "", false, {"R1", "R2", "W3"}, ""},
      {"ask without a terminal means no", "--read-only=ask", "y\ny\n", false, {"r1", "r2", "W3"},
       Skipped("r1") + Skipped("r2")},
      {"ask on a terminal: no, then yes", "--read-only=ask", "n\nyes\n", true, {"r1", "R2", "W3"},
       Question("r1") + Question("r2") + Skipped("r1")},
      {"an unknown answer asks again; yes to all", "--read-only=ask", "maybe\nA\n", true, {"R1", "R2", "W3"},
       Question("r1") + Question("r1")},
      {"the terminal closing means no", "--read-only=ask", "", true, {"r1", "r2", "W3"},
       Question("r1") + "\n" + Question("r2") + "\n" + Skipped("r1") + Skipped("r2")},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    Clear();
    Make({"r1", "r2", "w3"});
    for (const char* Name : {"r1", "r2"}) ::chmod((Dir + Name).c_str(), 0444);
    const TRunResult R =
        RunCliWith(TStrings{"--apply", "--upper", C.Answer} + Paths({"r1", "r2", "w3"}), C.In, C.Terminal);
    EXPECT_EQ(Names(), C.After);
    EXPECT_EQ(R.Err, C.Err);
    EXPECT_EQ(R.Status, C.After.contains("R2") && C.After.contains("R1") ? esDone : esFailed);
  }
}

TEST_F(CliFolderTest, JsonGivesOneObjectPerPathWithItsStatus) {
  Make({"a.txt", "b.txt", "B.TXT", "C.TXT", "ro.txt", "\xff.txt"});
  ::chmod((Dir + "ro.txt").c_str(), 0444);
  const TStrings Given = Paths({"a.txt", "b.txt", "gone", "C.TXT", "ro.txt", "\xff.txt"});
  const std::string Taken = R"(,"status":"taken","reason":"a file named \"B.TXT\" already exists"})";
  const std::string Gone = R"("newName":null,"status":"not-found","reason":"the file is not there"})";
  EXPECT_EQ(RunCliWith(TStrings{"--json", "--upper"} + Given).Out,
            InDir(R"({"path":"{d}a.txt","newName":"A.TXT","status":"rename","reason":""})" "\n"
                  R"({"path":"{d}b.txt","newName":"B.TXT")" + Taken + "\n"
                  R"({"path":"{d}gone",)" + Gone + "\n"
                  R"({"path":"{d}C.TXT","newName":"C.TXT","status":"unchanged","reason":""})" "\n"
                  R"({"path":"{d}ro.txt","newName":"RO.TXT","status":"rename","reason":""})" "\n"
                  R"({"path":"{d}\udcff.txt","newName":"\udcff.TXT","status":"rename","reason":""})" "\n",
                  Dir));
  // Renaming: the files that stay first, then each rename as it is done.
  const TRunResult R = RunCliWith(TStrings{"--json", "--apply", "--upper", "--read-only=no"} + Given);
  EXPECT_EQ(R.Out,
            InDir(R"({"path":"{d}b.txt","newName":"B.TXT","renamed":false)" + Taken + "\n"
                  R"({"path":"{d}gone","newName":null,"renamed":false,"status":"not-found","reason":"the file is not there"})" "\n"
                  R"({"path":"{d}C.TXT","newName":"C.TXT","renamed":false,"status":"unchanged","reason":""})" "\n"
                  R"({"path":"{d}ro.txt","newName":null,"renamed":false,"status":"skipped","reason":"read-only: left as it is"})" "\n"
                  R"({"path":"{d}a.txt","newName":"A.TXT","renamed":true,"status":"renamed","reason":""})" "\n"
                  R"({"path":"{d}\udcff.txt","newName":"\udcff.TXT","renamed":true,"status":"renamed","reason":""})" "\n",
                  Dir));
  // The count goes to standard error so that standard output stays JSON.
  EXPECT_EQ(R.Err, InDir("Kann auf folgende Datei nicht zugreifen!: \"{d}gone\"\n2 file(s) renamed.\n", Dir));
  EXPECT_EQ(R.Status, esFailed);
  EXPECT_EQ(Names(), (std::set<std::string>{"A.TXT", "b.txt", "B.TXT", "C.TXT", "ro.txt", "\xff.TXT"}));
}

TEST_F(CliFolderTest, ListsThatCannotBeReadAreRefusedAndAClosedOutputStopsThePass) {
  Make({"a", "b", "c"});
  TRunResult R = RunCliWith({"--files-from", Dir, "--upper"});
  EXPECT_EQ(R.Status, esUsage);
  EXPECT_NE(R.Err.find("it is a folder"), std::string::npos) << R.Err;
  // Output that fails after its first record: the pass stops after that rename.
  struct TClosingBuffer : std::streambuf {
    int overflow(int) override { return EOF; }
    std::streamsize xsputn(const char*, std::streamsize Count) override { return Records++ == 0 ? Count : 0; }
    int Records = 0;
  } Buffer;
  std::ostream Out(&Buffer);
  std::istringstream In;
  std::ostringstream Err;
  TCliEnvironment Env{In, Out, Err, false, {}};
  EXPECT_EQ(RunCli(TStrings{"--json", "--apply", "--upper"} + Paths({"a", "b", "c"}), Env), esFailed);
  EXPECT_EQ(Names(), (std::set<std::string>{"A", "b", "c"}));
}

TEST(CliJson, StringsEscapeQuotesControlsAndBytesThatAreNotUtf8) {
  const std::pair<std::string, std::string> Cases[] = {
      {"plain", "\"plain\""},
      {"a\"b\\c", "\"a\\\"b\\\\c\""},
      {"tab\tline\nbell\x07", "\"tab\\tline\\nbell\\u0007\""},
      {"Grüße €", "\"Grüße €\""},
      {"\xc3(\x80", "\"\\udcc3(\\udc80\""},
  };
  for (const auto& [Text, Json] : Cases) EXPECT_EQ(JsonString(Text), Json) << Text;
}

// --apply keeps a journal; --recover, --undo and --finish read it and say
// what they did, what they could not do, and why.
TEST_F(CliFolderTest, ApplyIsJournalledAndUndoneAndAnInterruptedPassIsShownAndFinished) {
  TTempDir State;
  const std::string Journals = State / "journal/";
  const auto Run = [&](const TStrings& Args) { return RunCliWith(Args, {}, false, Journals); };
  const auto Expect = [&](const TRunResult& R, int Status, const std::string& Out, const std::string& Err) {
    EXPECT_EQ(R.Status, Status);
    EXPECT_EQ(R.Out, InDir(Out, Dir));
    EXPECT_EQ(R.Err, InDir(Err, Dir));
  };
  Make({"a", "b", "c"});
  Expect(Run({"--undo"}), esFailed, "", "quorvane-cli: nothing to undo: no journal in \"" + Journals + "\"\n");
  Expect(Run(TStrings{"--apply", "--upper"} + Paths({"a", "b", "c"})), esDone, "3 file(s) renamed.\n", "");
  fs::rename(Dir + "B", Dir + "x");
  Expect(Run({"--undo"}), esFailed, "2 file(s) renamed back.\n",
         "quorvane-cli: not undone: \"{d}B\": renamed again since: now \"x\"\n");
  EXPECT_EQ(Names(), (std::set<std::string>{"a", "c", "x"}));
  // The undo, cut off before its end mark, is an interrupted pass.
  const std::string Undo = ListJournals(Journals).back();
  fs::resize_file(Undo, fs::file_size(Undo) - 4);
  Expect(Run({"--recover"}), esDone,
         "Interrupted pass: " + Undo + "\nundo of 2 files; the journal marks 2 as done\n" +
             "On disk: 2 under their new names, 0 under their old names, 0 elsewhere:\nUndo it: quorvane-cli --undo " +
             Undo + "\nFinish it: quorvane-cli --finish " + Undo + "\n",
         "");
  Expect(Run({"--finish"}), esDone, "0 file(s) renamed.\n", "");
  std::ofstream(Journals + "bad.journal") << "Quorvane journal 1\npass\trename\t0\t1\n";
  Expect(Run({"--undo", Journals + "bad.journal"}), esUsage, "",
         "quorvane-cli: the journal \"" + Journals + "bad.journal\" is damaged and was not used: line 3: cut short: "
         "the plan ends after 0 of 1 steps\n");
}
