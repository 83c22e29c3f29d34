#include "cli/CliRun.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <istream>
#include <iterator>
#include <memory>
#include <optional>
#include <ostream>

#include "app/Profile.h"
#include "base/Utf8.h"
#include "base/VmFileLib.h"
#include "base/VmStringLib.h"
#include "cli/CliOptions.h"
#include "cli/TerminalDialogs.h"
#include "filegrid/FileGridRows.h"
#include "filegrid/VirtualFileGrid.h"
#include "rename/RenamePasses.h"

namespace {

constexpr std::string_view ProgramName = "quorvane-cli";

// Finds every path without looking at the disk, with no date. Names given
// on standard input are read this way, so the file date and time fields give
// the zero date as they do for a file that cannot be found. When renaming,
// the list is filled this way too: the pass looks each file up itself right
// before renaming it, and nothing else of an entry is shown.
class TUnreadFileReader : public TFileInfoReader {
 public:
  std::optional<TFileInfo> Read(const std::string&) override { return TFileInfo{}; }
};

// The records of a stream: lines, or texts that end in NUL bytes. A last
// record without its end counts.
std::vector<std::string> ReadRecords(std::istream& In, bool NullSeparated) {
  const std::string Text{std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>()};
  std::vector<std::string> Records = Split(Text, NullSeparated ? '\0' : '\n');
  if (Records.back().empty()) Records.pop_back();  // the nothing after the last end
  return Records;
}

// Why the file at Path cannot be read as a profile; empty when it can.
std::string ProfileProblem(const std::string& Path) {
  struct stat Info {};
  if (::stat(Path.c_str(), &Info) != 0) return std::strerror(errno);
  if (!S_ISREG(Info.st_mode)) return "not a regular file";
  return {};
}

// Why a file was not renamed, for --json output; empty when it was.
std::string_view ReasonText(const TRenameOutcome& Outcome) {
  switch (Outcome.Result) {
    case rrRenamed: break;
    case rrUnchanged: return "unchanged";
    case rrNotFound: return "not found";
    case rrSkipped: return "read-only";
    case rrFailed:
      if (Outcome.Error == EEXIST) return "exists";
      if (Outcome.Error == EINVAL) return "invalid name";
      return "failed";
  }
  return {};
}

// One object of --json output: the path, the new name (null when none was
// built), after renaming whether the path changed, and the reason and the
// system's error text when there is one.
void WriteJsonLine(std::ostream& Out, std::string_view Path, std::optional<std::string_view> NewName,
                   std::optional<bool> Renamed, std::string_view Reason, std::string_view Error = {}) {
  Out << "{\"path\":" << JsonString(Path) << ",\"newName\":" << (NewName ? JsonString(*NewName) : "null");
  if (Renamed) Out << ",\"renamed\":" << (*Renamed ? "true" : "false");
  if (!Reason.empty()) Out << ",\"reason\":" << JsonString(Reason);
  if (!Error.empty()) Out << ",\"error\":" << JsonString(Error);
  Out << "}\n";
}

void WriteJsonLine(std::ostream& Out, const TRenameOutcome& Outcome) {
  const bool NameBuilt = Outcome.Result != rrNotFound && Outcome.Result != rrSkipped;
  const std::string_view Reason = ReasonText(Outcome);
  const bool OtherError = Outcome.Result == rrFailed && Reason == "failed";
  WriteJsonLine(Out, Outcome.Path, NameBuilt ? std::optional(Outcome.NewName) : std::nullopt,
                Outcome.Result == rrRenamed, Reason, OtherError ? std::strerror(Outcome.Error) : "");
}

// The list and the passes over it, and what the run reports of each file.
class TCliSession : public TPassView {
 public:
  // The list reads its entries with ListReader, the passes look files up with PassReader.
  TCliSession(TCliEnvironment& Env, const TCliOptions& Options, std::shared_ptr<TFileInfoReader> ListReader,
              std::shared_ptr<TFileInfoReader> PassReader)
      : FEnv(Env),
        FOptions(Options),
        FPassReader(std::move(PassReader)),
        FGrid(FRows, std::move(ListReader), false),
        FDialogs(Env.In, Options.Json ? Env.Err : Env.Out, Env.Err,
                 Env.InIsTerminal && Options.FilesFrom != "-", Options.ReadOnly),
        FPasses(FGrid, *FPassReader, FDialogs, *this, Env.Fields) {}

  // Lists the paths in order. A path that names no file is reported and left out.
  void List(std::vector<std::string> Paths) {
    FPaths = std::move(Paths);
    FListed.assign(FPaths.size(), false);
    // No update bracket is needed: the list is never sorted or shown.
    for (size_t I = 0; I < FPaths.size(); ++I) {
      const int Before = FGrid.FileCount();
      FGrid.AddFile(FPaths[I]);
      FListed[I] = FGrid.FileCount() > Before;
      if (!FListed[I] && !FOptions.Names) ShowErrorBox(FDialogs, FileNotFoundMessage(FPaths[I]));
    }
  }

  // Shows the new names, each line or object in the order of the paths.
  int Preview(const TRenameSettings& Settings) {
    const int ErrorsBefore = FDialogs.ErrorCount();
    FPasses.Preview(Settings, FState);
    if (FDialogs.ErrorCount() > ErrorsBefore) return esFailed;  // refused rules: nothing to show
    for (size_t I = 0, Position = 0; I < FPaths.size(); ++I) {
      const TFileGridFile* Entry = FListed[I] ? &FGrid.File(static_cast<int>(Position++)) : nullptr;
      if (FOptions.Json) {
        if (Entry)
          WriteJsonLine(FEnv.Out, Entry->FileName, Entry->NewFileName, std::nullopt, {});
        else
          WriteJsonLine(FEnv.Out, FPaths[I], std::nullopt, std::nullopt, ReasonText({{}, {}, rrNotFound}));
      } else if (FOptions.Names) {
        FEnv.Out << (Entry ? std::string_view(Entry->NewFileName) : std::string_view())
                 << (FOptions.NullSeparated ? '\0' : '\n');
      } else if (Entry) {
        FEnv.Out << Entry->FileName << '\t' << Entry->NewFileName << '\n';
      }
    }
    return FDialogs.ErrorCount() > 0 ? esFailed : esDone;
  }

  // Renames the listed files as Start Renaming does.
  int Rename(const TRenameSettings& Settings) {
    FNextPath = 0;
    FPassStarted = false;
    FPasses.StartRenaming(Settings, FState);
    if (!FPassStarted) return esFailed;  // refused rules: no file was looked at
    SkipUnlisted();
    return FDialogs.ErrorCount() > 0 || FFailed > 0 ? esFailed : esDone;
  }

  void SetPreviewRunning(bool) override {}
  void SetRenamingRunning(bool) override {}
  void ShowProgress(int) override { FPassStarted = true; }  // the rules passed their checks
  void SetProgress(int) override {}
  void HideProgress() override {}

  void FileProcessed(const TRenameOutcome& Outcome) override {
    // Every listed file is checked, so there is one outcome per listed path, in order.
    SkipUnlisted();
    ++FNextPath;
    if (Outcome.Result == rrFailed) ++FFailed;
    if (FOptions.Json) {
      WriteJsonLine(FEnv.Out, Outcome);
    } else if (Outcome.Result == rrFailed) {
      FEnv.Err << ProgramName << ": not renamed: \"" << Outcome.Path << "\" -> \"" << Outcome.NewName
               << "\": " << std::strerror(Outcome.Error) << '\n';
    }
  }

 private:
  // Moves past the paths that were never listed. In --json output they
  // stand in their place; their message was shown when they were listed.
  void SkipUnlisted() {
    for (; FNextPath < FPaths.size() && !FListed[FNextPath]; ++FNextPath)
      if (FOptions.Json) WriteJsonLine(FEnv.Out, {FPaths[FNextPath], {}, rrNotFound});
  }

  TCliEnvironment& FEnv;
  const TCliOptions& FOptions;
  std::shared_ptr<TFileInfoReader> FPassReader;
  TMemoryFileGridRows FRows;  // the list is never shown or sorted
  TVmVirtualFileGrid FGrid;
  TTerminalDialogs FDialogs;
  TRenamePasses FPasses;
  TPassState FState;
  std::vector<std::string> FPaths;  // as given
  std::vector<bool> FListed;         // per path: whether the list holds it
  size_t FNextPath = 0;
  bool FPassStarted = false;
  int FFailed = 0;
};

int UsageError(TCliEnvironment& Env, const std::string& Message) {
  Env.Err << ProgramName << ": " << Message << "\nTry '" << ProgramName << " --help' for more information.\n";
  return esUsage;
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

  TRenameSettings Settings;
  if (!Options.ProfileFile.empty()) {
    const std::string Problem = ProfileProblem(Options.ProfileFile);
    if (!Problem.empty()) return UsageError(Env, "cannot read profile \"" + Options.ProfileFile + "\": " + Problem);
    try {
      Settings = ReadProfileSettings(Options.ProfileFile);
    } catch (const EFileError& Error) {
      return UsageError(Env, Error.what());
    }
  }
  Settings = ApplyOverrides(Settings, Options.Overrides);

  if (Options.Names) {
    const auto Unread = std::make_shared<TUnreadFileReader>();
    TCliSession Session(Env, Options, Unread, Unread);
    Session.List(ReadRecords(Env.In, Options.NullSeparated));
    return Session.Preview(Settings);
  }

  std::vector<std::string> Paths = Options.Paths;
  if (!Options.FilesFrom.empty()) {
    std::ifstream File;
    if (Options.FilesFrom != "-") {
      File.open(Options.FilesFrom, std::ios::binary);
      if (!File) return UsageError(Env, "cannot read \"" + Options.FilesFrom + "\": " + std::strerror(errno));
    }
    // Blank lines name no file.
    for (std::string& Path : ReadRecords(Options.FilesFrom == "-" ? Env.In : File, Options.NullSeparated))
      if (!Path.empty()) Paths.push_back(std::move(Path));
  }

  const std::shared_ptr<TFileInfoReader> Disk =
      std::make_shared<TLinuxFileInfoReader>(TLinuxFileInfoReader::rsRenaming);
  const std::shared_ptr<TFileInfoReader> ListReader = Options.Apply ? std::make_shared<TUnreadFileReader>() : Disk;
  auto Session = std::make_unique<TCliSession>(Env, Options, ListReader, Disk);
  Session->List(std::move(Paths));
  const int Status = Options.Apply ? Session->Rename(Settings) : Session->Preview(Settings);
  // Freeing a list of many files entry by entry takes a noticeable part of a
  // run; when the process ends next, that is left to the system.
  if (Env.ProcessEndsAfterRun) static_cast<void>(Session.release());
  return Status;
}
