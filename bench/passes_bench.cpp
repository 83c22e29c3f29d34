// The two passes at their intended size, over 100,000 real files in a folder
// made under /tmp and removed at the end:
// - Preview with "<*> - <*>" -> "<2> - <1> <zaehler>" over every entry;
// - the renaming pass, and in the same run the least a rename of each file
//   must do (statx, renameat2 with RENAME_NOREPLACE, statx of the new path),
//   so their ratio shows what the pass adds. Both alternate between two
//   spellings of the names so that every iteration really renames.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/PassStubs.h"
#include "rename/RenamePasses.h"

namespace {

constexpr int FileCountTotal = 100000;

// A folder of files named "Artist <n> - Song <n>.mp3".
class TFolder {
 public:
  explicit TFolder(const char* Tag) {
    Dir = std::string("/tmp/quorvane-bench-") + Tag + "-" + std::to_string(::getpid()) + "/";
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

// The grid over a folder, with everything a pass needs.
struct TPassRig {
  explicit TPassRig(const TFolder& Folder) {
    Grid.BeginUpdate();
    for (const std::string& Name : Folder.Names) Grid.AddFile(Folder.Dir + Name);
    Grid.EndUpdate();
  }
  TMemoryFileGridRows Rows;
  std::shared_ptr<TLinuxFileInfoReader> Reader = std::make_shared<TLinuxFileInfoReader>();
  TVmVirtualFileGrid Grid{Rows, Reader};
  TQuietDialogs Dialogs;
  TNoView View;
  TRenamePasses Passes{Grid, *Reader, Dialogs, View};
  TPassState State;
};

void BM_PreviewPass(benchmark::State& State) {
  TFolder Folder("preview");
  TPassRig Rig(Folder);
  const TRenameSettings Settings = Rules("<*> - <*>", "<2> - <1> <zaehler>");
  for (auto _ : State) Rig.Passes.Preview(Settings, Rig.State);
  if (Rig.Grid.File(0).NewFileName != "Song 0.mp3 - Artist 0 1") State.SkipWithError("wrong preview");
  State.SetItemsProcessed(State.iterations() * FileCountTotal);
}
BENCHMARK(BM_PreviewPass)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_RenamingPass(benchmark::State& State) {
  TFolder Folder("pass");
  TPassRig Rig(Folder);
  const TRenameSettings There = Rules("\"Artist", "Band"), Back = Rules("\"Band", "Artist");
  bool Forth = true;
  for (auto _ : State) {
    const int Renamed = Rig.Passes.StartRenaming(Forth ? There : Back, Rig.State);
    if (Renamed != FileCountTotal) State.SkipWithError("not every file was renamed");
    Forth = !Forth;
  }
  State.SetItemsProcessed(State.iterations() * FileCountTotal);
}
BENCHMARK(BM_RenamingPass)->Unit(benchmark::kMillisecond)->Iterations(4);

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
