#include "cli/CliRun.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <istream>
#include <iterator>
#include <memory>
#include <optional>
#include <unordered_map>
#include <ostream>

#include "app/Profile.h"
#include "base/Translation.h"
#include "base/Utf8.h"
#include "base/VmFileLib.h"
#include "base/VmStringLib.h"
#include "cli/CliOptions.h"
#include "cli/TerminalDialogs.h"
#include "rename/Recovery.h"
#include "rename/RenamePasses.h"

namespace {

constexpr std::string_view ProgramName = "quorvane-cli";

// Names given on standard input stand for no file: each is found, with no
// date (the date and time fields give the zero date), and nothing else is.
// Their new names are checked against each other as those of real files.
class TNamesFileSystem : public TFileSystem {
 public:
  explicit TNamesFileSystem(const std::vector<std::string>& Names) {
    for (const std::string& Name : Names) FInodes.emplace(Name, FInodes.size() + 1);
  }
  std::optional<TFileStatus> Stat(const std::string& Path) override {
    const auto Found = FInodes.find(Path);
    if (Found == FInodes.end()) return std::nullopt;
    TFileStatus Status;
    Status.Inode = Found->second;
    Status.DateSeconds = TFileStatus::NoDate;
    return Status;
  }
  int Rename(const std::string&, const std::string&, bool) override { return EROFS; }
  int Link(const std::string&, const std::string&) override { return EROFS; }
  int Unlink(const std::string&) override { return EROFS; }
  int Reserve(const std::string&, bool) override { return EROFS; }
  bool ListFolder(const std::string&, const TEachName&) override { return false; }
  bool IgnoresCase(const std::string&, const std::string&) override { return false; }

 private:
  std::unordered_map<std::string, uint64_t> FInodes;
};

// The largest list of paths read from a file or a stream.
constexpr size_t MaxListBytes = size_t(256) << 20;

// The records of a stream: lines, or texts that end in NUL bytes. A last
// record without its end counts. Gives nothing, with Problem set, for a
// stream that cannot be read or is larger than MaxListBytes.
std::optional<std::vector<std::string>> ReadRecords(std::istream& In, bool NullSeparated, std::string& Problem) {
  std::string Text;
  char Buffer[65536];
  while (In.read(Buffer, sizeof Buffer) || In.gcount() > 0) {
    Text.append(Buffer, size_t(In.gcount()));
    if (Text.size() > MaxListBytes) {
      Problem = Tr("Cli", "the list is larger than 256 MiB");
      return std::nullopt;
    }
  }
  if (In.bad()) {
    Problem = std::strerror(errno);
    return std::nullopt;
  }
  std::vector<std::string> Records = Split(Text, NullSeparated ? '\0' : '\n');
  if (Records.back().empty()) Records.pop_back();  // the nothing after the last end
  return Records;
}

// Why the file at Path cannot be read as a list or a profile; empty when it can.
std::string FileProblem(const std::string& Path) {
  struct stat Info {};
  if (::stat(Path.c_str(), &Info) != 0) return std::strerror(errno);
  if (S_ISDIR(Info.st_mode)) return Tr("Cli", "it is a folder");
  if (!S_ISREG(Info.st_mode) && !S_ISFIFO(Info.st_mode) && !S_ISCHR(Info.st_mode))
    return Tr("Cli", "not a regular file");
  return {};
}

// Whether the entry's file keeps or gets its new name.
bool IsFine(const TPassEntry& Entry) {
  return Entry.Status == psRename || Entry.Status == psRenamed || Entry.Status == psUnchanged;
}

// One object of --json output: the path, the new name (null when none was
// built), after renaming whether the path changed, the status and why.
void WriteJsonLine(std::ostream& Out, const TPassResult& Result, const TPassEntry& Entry, bool Renaming) {
  const bool NameBuilt = Entry.Status != psNotFound && Entry.Status != psSkipped;
  Out << "{\"path\":" << JsonString(Entry.Path())
      << ",\"newName\":" << (NameBuilt ? JsonString(Entry.NewName) : "null");
  if (Renaming) Out << ",\"renamed\":" << (Entry.Status == psRenamed ? "true" : "false");
  Out << ",\"status\":" << JsonString(PassStatusKey(Entry.Status))
      << ",\"reason\":" << JsonString(PassReason(Result, Entry)) << "}\n";
}

// The passes over the paths given, and what the run reports of each file.
class TCliSession : public TPassView {
 public:
  TCliSession(TCliEnvironment& Env, const TCliOptions& Options, TFileSystem& Fs)
      : FEnv(Env),
        FOptions(Options),
        FDialogs(Env.In, Options.Json ? Env.Err : Env.Out, Env.Err,
                 Env.InIsTerminal && Options.FilesFrom != "-", Options.ReadOnly),
        FPasses(Fs, FDialogs, *this, Env.Fields) {}

  // Every path is a checked entry, in the order given; an empty one names
  // nothing. The paths go once their entries are made, so that the memory
  // they held serves the pass.
  void List(std::vector<std::string> Paths) {
    FCount = Paths.size();
    FEntries.resize(size_t(std::count_if(Paths.begin(), Paths.end(), [](const auto& Path) { return !Path.empty(); })));
    size_t Next = 0;
    for (size_t I = 0; I < Paths.size(); ++I)
      if (!Paths[I].empty()) SetEntryPath(FEntries[Next++], static_cast<int>(I), Paths[I]);
    NumberFolders(FEntries);
  }

  // Shows the new names, each line or object in the order of the paths.
  int Preview(const TRenameSettings& Settings) {
    // A path that names no file has no place in the list, and no counter value.
    const std::optional<TPassResult> Result =
        FPasses.Preview(std::move(FEntries), Settings, FState, {.NameMissingFiles = false});
    if (!Result) return esFailed;  // refused rules: nothing to show
    if (FOptions.Names) {
      // One name a line, empty lines staying where they were.
      auto Entry = Result->Entries.begin();
      for (size_t I = 0; I < FCount; ++I) {
        if (Entry != Result->Entries.end() && Entry->Position == static_cast<int>(I)) FEnv.Out << (Entry++)->NewName;
        FEnv.Out << (FOptions.NullSeparated ? '\0' : '\n');
      }
      return Result->Problems() > 0 ? esFailed : esDone;
    }
    for (const TPassEntry& Entry : Result->Entries) {
      if (Entry.Status == psNotFound) ShowErrorBox(FDialogs, FileNotFoundMessage(Entry.Path()));
      if (FOptions.Json) {
        WriteJsonLine(FEnv.Out, *Result, Entry, false);
      } else {
        FEnv.Out << Entry.Path() << '\t' << Entry.NewName << '\t' << PassStatusKey(Entry.Status);
        if (!IsFine(Entry)) FEnv.Out << '\t' << PassReason(*Result, Entry);
        FEnv.Out << '\n';
      }
    }
    return Result->Problems() > 0 ? esFailed : esDone;
  }

  void SetJournal(TPassJournal* Journal) { FPasses.SetJournal(Journal); }

  // Renames the files as Start Renaming does.
  int Rename(const TRenameSettings& Settings) {
    const std::optional<TPassResult> Result = FPasses.StartRenaming(std::move(FEntries), Settings, FState);
    if (!Result) return esFailed;  // refused rules: no file was looked at
    return Result->Problems() > 0 ? esFailed : esDone;
  }

  void SetPreviewRunning(bool) override {}
  void SetRenamingRunning(bool) override {}
  void ShowProgress(int) override {}
  void SetProgress(int) override {}
  void HideProgress() override {}

  // Each record goes out as soon as its file's outcome is final, so that
  // what was written matches the disk even when the run is killed.
  void FileProcessed(const TPassResult& Result, const TPassEntry& Entry) override {
    if (FOptions.Json) {
      WriteJsonLine(FEnv.Out, Result, Entry, true);
      FEnv.Out.flush();
    } else if (!IsFine(Entry) && Entry.Status != psNotFound) {
      const std::string Reason = PassReason(Result, Entry);
      FEnv.Err << ProgramName << ": "
               << (Entry.NewName.empty()
                       ? Filled(Tr("Cli", "not renamed: \"%1\": %2"), {Entry.Path(), Reason})
                       : Filled(Tr("Cli", "not renamed: \"%1\" -> \"%2\": %3"), {Entry.Path(), Entry.NewName, Reason}))
               << '\n';
    }
  }
  // A reader that went away (a closed pipe) ends the pass after the current rename.
  bool StopRequested() override { return !FEnv.Out; }

 private:
  TCliEnvironment& FEnv;
  const TCliOptions& FOptions;
  TTerminalDialogs FDialogs;
  TRenamePasses FPasses;
  TPassState FState;
  std::vector<TPassEntry> FEntries;  // handed to the one pass a run makes
  size_t FCount = 0;  // paths given, empty ones included
};

int UsageError(TCliEnvironment& Env, const std::string& Message) {
  Env.Err << ProgramName << ": " << Message << '\n'
          << Filled(Tr("Cli", "Try '%1 --help' for more information."), {ProgramName}) << '\n';
  return esUsage;
}

// --recover: the interrupted pass and where its files are; --undo and
// --finish: the last (or the given) journal's files back under their old
// names, or on under their new ones.
int RunJournalCommand(const TCliOptions& Options, TCliEnvironment& Env) {
  const std::string Folder = Env.JournalFolder.value_or("");
  std::string Path = Options.Paths.empty() ? std::string() : Options.Paths.front();
  if (Path.empty() && (Options.Recover || Options.Finish)) Path = FindInterruptedJournal(Folder);
  if (Path.empty() && Options.Undo && !ListJournals(Folder).empty()) Path = ListJournals(Folder).back();
  if (Path.empty() && Options.Recover) {
    Env.Out << Tr("Cli", "No interrupted renaming pass.") << '\n';
    return esDone;
  }
  if (Path.empty()) {
    Env.Err << ProgramName << ": "
            << (Options.Undo ? Filled(Tr("Cli", "nothing to undo: no journal in \"%1\""), {Folder})
                             : Tr("Cli", "no interrupted pass to finish"))
            << '\n';
    return esFailed;
  }
  TJournal Journal;
  try {
    Journal = ReadJournalFile(Path);
  } catch (const EJournalError& Error) {
    Env.Err << ProgramName << ": " << Error.what() << '\n';
    return esUsage;
  }
  TLinuxFileSystem Disk;
  if (Options.Recover) {
    const std::vector<TStepState> States = LocateSteps(Journal, Disk, false);
    size_t Old = 0, New = 0;
    for (const TStepState& State : States) Old += State.Places == spOld, New += State.Places == spNew;
    Env.Out << Filled(Tr("Cli", "Interrupted pass: %1"), {Path}) << '\n'
            << Filled(Tr("Cli", "%1 of %2 files; the journal marks %3 as done"),
                      {Journal.Kind, GroupedNumber(Journal.Steps.size()), GroupedNumber(size_t(Journal.Done))})
            << '\n'
            << Filled(Tr("Cli", "On disk: %1 under their new names, %2 under their old names, %3 elsewhere:"),
                      {GroupedNumber(New), GroupedNumber(Old), GroupedNumber(States.size() - Old - New)})
            << '\n';
    for (size_t I = 0; I < States.size(); ++I) {
      const TJournalStep& Step = Journal.Steps[I];
      if (States[I].Places != spOld && States[I].Places != spNew)
        Env.Out << StepPlaceText(States[I].Places) << '\t' << Step.Folder << Step.OldName << '\t' << Step.NewName << '\n';
    }
    Env.Out << Filled(Tr("Cli", "Undo it: %1 --undo %2"), {ProgramName, Path}) << '\n'
            << Filled(Tr("Cli", "Finish it: %1 --finish %2"), {ProgramName, Path}) << '\n';
    return esDone;
  }
  if (Options.Finish && Journal.Ended) {
    Env.Err << ProgramName << ": "
            << Filled(Tr("Cli", "the pass of \"%1\" was not interrupted: nothing to finish"), {Path}) << '\n';
    return esFailed;
  }
  std::optional<TFileJournal> Log;
  if (Env.JournalFolder) Log.emplace(Folder);
  const TRecoveryResult Result = RecoverPass(Journal, Options.Undo ? rgUndo : rgFinish, Disk, Log ? &*Log : nullptr);
  if (!Result.JournalError.empty()) {
    Env.Err << ProgramName << ": " << Result.JournalError << '\n';
    return esFailed;
  }
  if (!Journal.Ended) MarkJournalEnded(Path);
  for (const TRecoveryProblem& Problem : Result.Problems)
    Env.Err << ProgramName << ": "
            << Filled(Options.Undo ? Tr("Cli", "not undone: \"%1\": %2") : Tr("Cli", "not finished: \"%1\": %2"),
                      {Problem.Path, Problem.Reason})
            << '\n';
  Env.Out << (Options.Undo ? RenamedBackCountMessage(Result.Pass.Renamed)
                           : RenamedCountMessage(Result.Pass.Renamed))
          << '\n';
  return Result.Problems.empty() ? esDone : esFailed;
}

}  // namespace

std::string JsonString(std::string_view Text) {
  static const char Hex[] = "0123456789abcdef";
  std::string Json = "\"";
  std::u32string Chars = DecodeUtf8(Text);
  for (const char32_t C : Chars) {
    if (C == '"' || C == '\\') {
      Json += '\\';
      Json += static_cast<char>(C);
    } else if (C == '\n') {
      Json += "\\n";
    } else if (C == '\t') {
      Json += "\\t";
    } else if (C < 0x20 || (C >= 0xDC80 && C <= 0xDCFF)) {
      Json += "\\u";
      for (int Shift = 12; Shift >= 0; Shift -= 4) Json += Hex[(C >> Shift) & 0xF];
    } else {
      EncodeUtf8(std::u32string_view(&C, 1), Json);
    }
  }
  Json += '"';
  return Json;
}

int RunCli(const std::vector<std::string>& Args, TCliEnvironment& Env) {
  const TCliParseResult Parsed = ParseCliOptions(Args);
  if (!Parsed.Error.empty()) return UsageError(Env, Parsed.Error);
  const TCliOptions& Options = Parsed.Options;
  if (Options.Help) {
    Env.Out << CliHelpText();
    return esDone;
  }
  if (Options.Version) {
    Env.Out << ProgramName << ' ' << QUORVANE_VERSION << '\n';
    return esDone;
  }

  if (Options.Undo || Options.Finish || Options.Recover) return RunJournalCommand(Options, Env);

  TRenameSettings Settings;
  if (!Options.ProfileFile.empty()) {
    const std::string Problem = FileProblem(Options.ProfileFile);
    if (!Problem.empty())
      return UsageError(Env, Filled(Tr("Cli", "cannot read profile \"%1\": %2"), {Options.ProfileFile, Problem}));
    try {
      Settings = ReadProfileSettings(Options.ProfileFile);
    } catch (const EFileError& Error) {
      return UsageError(Env, Error.what());
    }
  }
  Settings = ApplyOverrides(Settings, Options.Overrides);

  std::string Problem;
  if (Options.Names) {
    const std::optional<std::vector<std::string>> Names = ReadRecords(Env.In, Options.NullSeparated, Problem);
    if (!Names) return UsageError(Env, Filled(Tr("Cli", "cannot read the names: %1"), {Problem}));
    TNamesFileSystem Fs(*Names);
    TCliSession Session(Env, Options, Fs);
    Session.List(*Names);
    return Session.Preview(Settings);
  }

  std::vector<std::string> Paths = Options.Paths;
  if (!Options.FilesFrom.empty()) {
    std::ifstream File;
    if (Options.FilesFrom != "-") {
      Problem = FileProblem(Options.FilesFrom);
      if (Problem.empty()) File.open(Options.FilesFrom, std::ios::binary);
      if (Problem.empty() && !File) Problem = std::strerror(errno);
    }
    std::optional<std::vector<std::string>> Listed;
    if (Problem.empty()) Listed = ReadRecords(Options.FilesFrom == "-" ? Env.In : File, Options.NullSeparated, Problem);
    if (!Listed) return UsageError(Env, Filled(Tr("Cli", "cannot read \"%1\": %2"), {Options.FilesFrom, Problem}));
    // Blank lines name no file.
    for (std::string& Path : *Listed)
      if (!Path.empty()) Paths.push_back(std::move(Path));
  }

  TLinuxFileSystem Disk;
  auto Session = std::make_unique<TCliSession>(Env, Options, Disk);
  std::optional<TFileJournal> Journal;
  if (Options.Apply && Env.JournalFolder) Session->SetJournal(&Journal.emplace(*Env.JournalFolder));
  Session->List(std::move(Paths));
  const int Status = Options.Apply ? Session->Rename(Settings) : Session->Preview(Settings);
  // Freeing a list of many files entry by entry takes a noticeable part of a
  // run; when the process ends next, that is left to the system.
  if (Env.ProcessEndsAfterRun) static_cast<void>(Session.release());
  return Status;
}
