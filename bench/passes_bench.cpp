// The two passes at their intended size, over 100,000 real files in a folder
// made under /tmp and removed at the end:
// - Preview with "<*> - <*>" -> "<2> - <1> <zaehler>" over every entry,
//   validation included, and validation and planning alone;
// - the renaming pass (the core alone, and as the window runs it, with the
//   grid's entries read again), a rotation of all names through one ring,
//   and in the same run the least a rename of each file must do (statx,
//   renameat2 with RENAME_NOREPLACE, statx of the new path), so their ratio
//   shows what the pass adds. They alternate between two spellings of the
//   names so that every iteration really renames;
// - the renaming pass also with its journal, and the undo of such a pass (the
//   journal read, the disk looked at, every file renamed back, the undo
//   journalled), against the same bare loop;
// - the look for an interrupted pass at start when there is none, with no
//   journal folder and with a folder of 50 finished journals.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/PassList.h"
#include "filegrid/VirtualFileGrid.h"
#include "bench/PassStubs.h"
#include "rename/Recovery.h"
#include "rename/RenamePasses.h"

namespace {

constexpr int FileCountTotal = 100000;

// A folder of files named "Artist <n> - Song <n>.mp3".
class TFolder {
 public:
  explicit TFolder(const char* Tag) {
    const char* Base = std::getenv("TMPDIR");  // /dev/shm for tmpfs
    Dir = std::string(Base ? Base : "/tmp") + "/quorvane-bench-" + Tag + "-" + std::to_string(::getpid()) + "/";
    std::filesystem::create_directories(Dir);
    for (int I = 0; I < FileCountTotal; ++I) {
      const std::string Name = "Artist " + std::to_string(I) + " - Song " + std::to_string(I % 977) + ".mp3";
      Names.push_back(Name);
      const int Fd = ::open((Dir + Name).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      ::close(Fd);
    }
  }
  ~TFolder() { std::filesystem::remove_all(Dir); }
  std::string Dir;
  std::vector<std::string> Names;
};

// The checked files of a folder, with everything a pass needs.
struct TPassRig {
  explicit TPassRig(const TFolder& Folder) {
    for (const std::string& Name : Folder.Names) Files.push_back({int(Files.size()), Folder.Dir + Name});
  }
  std::vector<TPassFile> Files;
  TLinuxFileSystem Fs;
  TQuietDialogs Dialogs;
  TNoView View;
  TRenamePasses Passes{Fs, Dialogs, View, TFieldContext{}};
  TPassState State;
};

// A journal folder beside the files' folder, removed at the end.
struct TJournalFolder {
  TJournalFolder() { std::filesystem::create_directories(Dir); }
  ~TJournalFolder() { std::filesystem::remove_all(Dir); }
  void Clear() {
    for (const std::string& Path : ListJournals(Dir)) std::filesystem::remove(Path);
  }
  std::string Dir = "/tmp/quorvane-bench-journal-" + std::to_string(::getpid()) + "/";
  TFileJournal Journal{Dir};
};

void BM_PreviewPass(benchmark::State& State) {
  TFolder Folder("preview");
  TPassRig Rig(Folder);
  const TRenameSettings Settings = Rules("<*> - <*>", "<2> - <1> <zaehler>");
  std::optional<TPassResult> Result;
  for (auto _ : State) Result = Rig.Passes.Preview(Rig.Files, Settings, Rig.State);
  if (!Result || Result->Entries[0].NewName != "Song 0.mp3 - Artist 0 1" || Result->Problems() != 0)
    State.SkipWithError("wrong preview");
  State.SetItemsProcessed(State.iterations() * FileCountTotal);
}
BENCHMARK(BM_PreviewPass)->Unit(benchmark::kMillisecond)->Iterations(10);

// Validation and planning of names already built (every new name is free).
void BM_ValidateAndPlan(benchmark::State& State) {
  TFolder Folder("validate");
  TPassRig Rig(Folder);
  std::vector<TPassEntry> Built = CollectEntries(Rig.Files);
  LookUpEntries(Built, Rig.Fs);
  BuildNames(Built, TNameBuilder(Rules("\"Artist", "Band"), {}, {}), Rig.State.CounterValue, false);
  size_t Steps = 0;
  std::vector<TPassEntry> Entries;
  for (auto _ : State) {
    State.PauseTiming();
    Entries = Built;  // the copy and freeing the last one are not timed
    State.ResumeTiming();
    ValidateEntries(Entries, Rig.Fs);
    Steps = PlanSteps(Entries, Rig.Fs).size();
  }
  if (Steps != size_t(FileCountTotal)) State.SkipWithError("not every name was planned");
  State.SetItemsProcessed(State.iterations() * FileCountTotal);
}
BENCHMARK(BM_ValidateAndPlan)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_RenamingPass(benchmark::State& State) {
  TFolder Folder("pass");
  TPassRig Rig(Folder);
  TJournalFolder Journals;
  if (State.range(0) != 0) Rig.Passes.SetJournal(&Journals.Journal);
  const TRenameSettings There = Rules("\"Artist", "Band"), Back = Rules("\"Band", "Artist");
  bool Forth = true;
  for (auto _ : State) {
    const std::optional<TPassResult> Result = Rig.Passes.StartRenaming(Rig.Files, Forth ? There : Back, Rig.State);
    if (!Result || Result->Renamed != FileCountTotal) State.SkipWithError("not every file was renamed");
    State.PauseTiming();
    for (const TPassEntry& Entry : Result->Entries)
      Rig.Files[size_t(Entry.Position)].Path = Entry.NewPath();
    Journals.Clear();
    State.ResumeTiming();
    Forth = !Forth;
  }
  State.SetItemsProcessed(State.iterations() * FileCountTotal);
}
// Arg: 1 with the journal.
BENCHMARK(BM_RenamingPass)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(4);

// As the window runs it: the pass, then every renamed entry of the grid read
// again under its new path. Argument 1: the names change their suffix, each
// to one of its own (".1", ".2", ...), and back to ".mp3".
void BM_WindowRenamingPass(benchmark::State& State) {
  TFolder Folder("window");
  TPassRig Rig(Folder);
  TMemoryFileGridRows Rows;
  TVmVirtualFileGrid Grid(Rows, std::make_shared<TLinuxFileInfoReader>());
  Grid.BeginUpdate();
  for (const TPassFile& File : Rig.Files) Grid.AddFile(File.Path);
  Grid.EndUpdate();
  const bool Suffixes = State.range(0) != 0;
  const TRenameSettings There = Suffixes ? Rules(".mp3\"", ".<zaehler>") : Rules("\"Artist", "Band");
  const TRenameSettings Back = Suffixes ? Rules(".<*>\"", ".mp3") : Rules("\"Band", "Artist");
  bool Forth = true;
  for (auto _ : State) {
    Rig.State.CounterValue = 1;
    const std::optional<TPassResult> Result =
        Rig.Passes.StartRenaming(CheckedEntries(Grid), Forth ? There : Back, Rig.State);
    if (!Result || Result->Renamed != FileCountTotal) State.SkipWithError("not every file was renamed");
    // As the window does: every entry read again inside one update bracket.
    Grid.BeginUpdate();
    for (const TPassEntry& Entry : Result->Entries) ShowRenamed(Grid, *Result, Entry);
    Grid.EndUpdate();
    Forth = !Forth;
  }
  State.SetItemsProcessed(State.iterations() * FileCountTotal);
}
BENCHMARK(BM_WindowRenamingPass)->Unit(benchmark::kMillisecond)->Iterations(4)->ArgName("suffixes")->Arg(0)->Arg(1);

// Every name takes the next one's: one ring through all 100,000 files,
// through one temporary name.
void BM_RotationCommit(benchmark::State& State) {
  TFolder Folder("ring");
  TPassRig Rig(Folder);
  std::vector<TPassEntry> Entries = CollectEntries(Rig.Files);
  LookUpEntries(Entries, Rig.Fs);
  for (auto _ : State) {
    State.PauseTiming();
    for (TPassEntry& Entry : Entries) {
      Entry.Status = psRename;
      Entry.File = *Rig.Fs.Stat(Entry.Path());
    }
    for (size_t I = 0; I < Entries.size(); ++I) Entries[I].NewName = Entries[(I + 1) % Entries.size()].Name;
    State.ResumeTiming();
    ValidateEntries(Entries, Rig.Fs);
    const std::vector<TPassStep> Steps = PlanSteps(Entries, Rig.Fs);
    CommitSteps(Entries, Steps, Rig.Fs, [](const TPassEntry&) { return true; });
    State.PauseTiming();
    for (TPassEntry& Entry : Entries) {
      if (Entry.Status != psRenamed) State.SkipWithError("not every file was renamed");
      Entry.Name = Entry.NewName;
    }
    State.ResumeTiming();
  }
  State.SetItemsProcessed(State.iterations() * FileCountTotal);
}
BENCHMARK(BM_RotationCommit)->Unit(benchmark::kMillisecond)->Iterations(4);

// Undo of a journalled pass over every file; the pass itself is not timed.
void BM_UndoPass(benchmark::State& State) {
  TFolder Folder("undo");
  TPassRig Rig(Folder);
  TJournalFolder Journals;
  Rig.Passes.SetJournal(&Journals.Journal);
  for (auto _ : State) {
    State.PauseTiming();
    Journals.Clear();
    if (Rig.Passes.StartRenaming(Rig.Files, Rules("\"Artist", "Band"), Rig.State)->Renamed != FileCountTotal)
      State.SkipWithError("not every file was renamed");
    const std::string Path = Journals.Journal.Path();
    State.ResumeTiming();
    const TRecoveryResult Result = RecoverPass(ReadJournalFile(Path), rgUndo, Rig.Fs, &Journals.Journal);
    if (Result.Pass.Renamed != FileCountTotal) State.SkipWithError("not every file was renamed back");
  }
  State.SetItemsProcessed(State.iterations() * FileCountTotal);
}
BENCHMARK(BM_UndoPass)->Unit(benchmark::kMillisecond)->Iterations(4);

// What a start does when no pass was interrupted: look for one, and read
// the newest journal's header for the Undo caption. Arg: finished journals
// in the folder (0: no folder at all).
void BM_StartUpJournalCheck(benchmark::State& State) {
  TJournalFolder Journals;
  const std::string Dir = State.range(0) == 0 ? Journals.Dir + "none/" : Journals.Dir;
  for (int I = 0; I < State.range(0); ++I) {
    TJournal Journal{"rename", 0, 0, {{-1, 1, 2, "/music/", "a.mp3", "b.mp3", ""}}};
    std::FILE* File = std::fopen((Dir + "2026120" + std::to_string(I + 10) + ".journal").c_str(), "w");
    std::fputs((JournalPlanText(Journal) + "done\t1\nend\n").c_str(), File);
    std::fclose(File);
  }
  for (auto _ : State) {
    if (!FindInterruptedJournal(Dir).empty()) State.SkipWithError("an interrupted journal was found");
    const std::vector<std::string> All = ListJournals(Dir);
    if (!All.empty()) benchmark::DoNotOptimize(ReadJournalHeader(All.back()).Count);
  }
}
BENCHMARK(BM_StartUpJournalCheck)->Arg(0)->Arg(50)->Unit(benchmark::kMicrosecond);

// The least work per file: look it up, rename it without replacing, look up the new path.
void BM_BareRenameLoop(benchmark::State& State) {
  TFolder Folder("bare");
  std::vector<std::string> Paths[2];
  for (const std::string& Name : Folder.Names) {
    Paths[0].push_back(Folder.Dir + Name);
    Paths[1].push_back(Folder.Dir + "Band" + Name.substr(6));
  }
  int From = 0;
  for (auto _ : State) {
    struct statx Info {};
    for (int I = 0; I < FileCountTotal; ++I) {
      const char* Old = Paths[From][static_cast<size_t>(I)].c_str();
      const char* New = Paths[1 - From][static_cast<size_t>(I)].c_str();
      if (::statx(AT_FDCWD, Old, AT_SYMLINK_NOFOLLOW, STATX_BASIC_STATS, &Info) != 0 ||
          ::renameat2(AT_FDCWD, Old, AT_FDCWD, New, RENAME_NOREPLACE) != 0 ||
          ::statx(AT_FDCWD, New, AT_SYMLINK_NOFOLLOW, STATX_BASIC_STATS, &Info) != 0)
        State.SkipWithError("bare rename failed");
    }
    From = 1 - From;
  }
  State.SetItemsProcessed(State.iterations() * FileCountTotal);
}
BENCHMARK(BM_BareRenameLoop)->Unit(benchmark::kMillisecond)->Iterations(4);

}  // namespace

BENCHMARK_MAIN();
