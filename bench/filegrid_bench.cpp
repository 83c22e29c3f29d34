// The file list at its intended size: adding 100,000 real files in one update
// bracket (statx, type names and all; as a list of paths, and as Add Folder does it), and sorting 100,000 entries by
// name and by size.
//
// AddFile reads files that the benchmark creates in a folder under /tmp and
// removes at the end. Its counters: "ListMB", the heap the finished list
// holds (entries, texts and collation keys), and "PeakRSSMB", the process's
// peak resident memory (Qt's MIME database included).
//
// The sort benchmarks time one header click on a list that another column's
// sort has just put into an unrelated order. The list keeps each text's rank
// from the last sort by its column, so a repeated sort compares numbers;
// "SortByFilenameFirstTime" drops those ranks first, as after adding files,
// and so compares the collation keys (made when the files were added).
// "SortByFilenameNoKeys" drops the keys as well and pays for making them.

#include <benchmark/benchmark.h>

#include <malloc.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "filegrid/VirtualFileGrid.h"

namespace {

constexpr int FileCountTotal = 100000;

// Realistic names: a few dozen extensions, words in mixed case, numbers.
std::vector<std::string> MakeNames(int Count, uint32_t Seed) {
  static const char* const Extensions[] = {".txt", ".jpg", ".JPG", ".png", ".pdf", ".mp3", ".flac", ".cpp",
                                           ".h",   ".md",  ".odt", ".docx", ".xlsx", ".zip", ".gz", ".mkv",
                                           ".mp4", ".html", ".json", ".xml", ".csv", ".svg", ".iso", ""};
  static const char* const Words[] = {"Holiday", "report", "IMG", "track", "Scan", "invoice", "draft", "Übersicht",
                                      "photo",   "final",  "notes", "Backup", "song", "Meeting", "data", "élan"};
  std::mt19937 Random(Seed);
  std::vector<std::string> Names;
  Names.reserve(static_cast<size_t>(Count));
  for (int I = 0; I < Count; ++I) {
    std::string Name = Words[Random() % std::size(Words)];
    Name += (Random() % 2) ? " - " : "_";
    Name += Words[Random() % std::size(Words)];
    Name += ' ' + std::to_string(Random() % 100000) + '_' + std::to_string(I);
    Name += Extensions[Random() % std::size(Extensions)];
    Names.push_back(std::move(Name));
  }
  return Names;
}

// The folder of real files, made once and removed when the program ends.
class TBenchFolder {
 public:
  TBenchFolder() {
    char Template[] = "/tmp/quorvane-filegrid-bench-XXXXXX";
    if (!mkdtemp(Template)) std::abort();
    Dir = std::string(Template) + "/";
    for (const std::string& Name : MakeNames(FileCountTotal, 1)) {
      Paths.push_back(Dir + Name);
      std::ofstream(Paths.back(), std::ios::binary) << Name;  // a few bytes of text
    }
  }
  ~TBenchFolder() { std::filesystem::remove_all(Dir); }

  std::string Dir;
  std::vector<std::string> Paths;
};

TBenchFolder& Folder() {
  static TBenchFolder Instance;
  return Instance;
}

double PeakRssMB() {
  std::ifstream Status("/proc/self/status");
  std::string Line;
  while (std::getline(Status, Line))
    if (Line.rfind("VmHWM:", 0) == 0) return std::stod(Line.substr(6)) / 1024.0;
  return 0;
}

double HeapMB() { return static_cast<double>(mallinfo2().uordblks) / (1024.0 * 1024.0); }

void BM_AddFile(benchmark::State& State) {
  TBenchFolder& Files = Folder();
  double ListMB = 0;
  for (auto _ : State) {
    State.PauseTiming();
    const double HeapBefore = HeapMB();
    {
      TMemoryFileGridRows Rows;
      TVmVirtualFileGrid Grid(Rows);  // a fresh reader: type names are looked up anew
      std::vector<std::string> Paths = Files.Paths;
      State.ResumeTiming();
      Grid.BeginUpdate();
      if (State.range(0))
        Grid.AddFolder(Files.Dir);  // Add Folder: each file checked against the list first
      else
        Grid.AddFiles(std::move(Paths));
      Grid.EndUpdate();
      State.PauseTiming();
      if (Grid.FileCount() != FileCountTotal) State.SkipWithError("files went missing");
      ListMB = HeapMB() - HeapBefore;
    }
    State.ResumeTiming();
  }
  State.counters["ListMB"] = ListMB;
  State.counters["PeakRSSMB"] = PeakRssMB();
  State.SetItemsProcessed(State.iterations() * FileCountTotal);
}
BENCHMARK(BM_AddFile)->Unit(benchmark::kMillisecond)->Iterations(1)->ArgName("folder")->Arg(0)->Arg(1);

// Made-up files for the sort benchmarks: random sizes, realistic names.
class TSizedReader : public TFileInfoReader {
 public:
  std::optional<TFileInfo> Read(const std::string&) override {
    TFileInfo Info;
    Info.Size = FRandom() % 4000000000ull;
    Info.Attributes = faArchive;
    return Info;
  }

 private:
  std::mt19937_64 FRandom{7};
};

struct TSortList {
  TSortList() : Grid(Rows, std::make_shared<TSizedReader>()) {
    Grid.BeginUpdate();
    for (const std::string& Name : MakeNames(FileCountTotal, 2)) Grid.AddFile("/home/user/Files/" + Name);
    Grid.EndUpdate();
  }
  TMemoryFileGridRows Rows;
  TVmVirtualFileGrid Grid;
};

enum TCache { caWarm, caNoRanks, caNoKeys };

void SortBy(benchmark::State& State, int Column, int ScrambleColumn, TCache Cache) {
  TSortList List;
  for (auto _ : State) {
    State.PauseTiming();
    List.Grid.ClearSort();
    List.Grid.HeaderClick(ScrambleColumn);
    for (int I = 0; I < List.Grid.FileCount() && Cache != caWarm; ++I) {
      if (Cache == caNoKeys)
        List.Grid.File(I).ClearSortKeys();
      else
        List.Grid.File(I).SortRanks.fill(0);
    }
    State.ResumeTiming();
    List.Grid.HeaderClick(Column);
  }
  State.SetItemsProcessed(State.iterations() * FileCountTotal);
}

void BM_SortByFilename(benchmark::State& State) { SortBy(State, fcFileName, fcSize, caWarm); }
void BM_SortByFilenameFirstTime(benchmark::State& State) { SortBy(State, fcFileName, fcSize, caNoRanks); }
void BM_SortByFilenameNoKeys(benchmark::State& State) { SortBy(State, fcFileName, fcSize, caNoKeys); }
void BM_SortBySize(benchmark::State& State) { SortBy(State, fcSize, fcFileName, caWarm); }

// A file added while sorted by name: one new key is placed among 100,000 ranked ones.
void BM_AddFileWhileSortedByFilename(benchmark::State& State) {
  TSortList List;
  List.Grid.HeaderClick(fcFileName);
  int Added = 0;
  for (auto _ : State) List.Grid.AddFile("/home/user/Files/added " + std::to_string(Added++) + ".txt");
}
BENCHMARK(BM_AddFileWhileSortedByFilename)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortByFilename)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortByFilenameFirstTime)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortByFilenameNoKeys)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortBySize)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
