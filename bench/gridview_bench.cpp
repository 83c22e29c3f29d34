// The grid on screen with 100,000 entries: what a header click costs (the
// sort plus the repaint of the visible rows), the cell texts of one screen of
// rows, and painting the whole widget once. Entries come from an in-memory
// file system, so the figures are those of the view and the list alone.
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QHeaderView>
#include <QPixmap>
#include <QScrollBar>

#include <map>
#include <random>
#include <string>

#include "filegrid/FileGridView.h"

namespace {

constexpr int FileCountTotal = 100000;

struct TMemoryReader : TFileInfoReader {
  std::optional<TFileInfo> Read(const std::string& Path) override {
    const auto Found = Files.find(Path);
    return Found == Files.end() ? std::nullopt : std::optional(Found->second);
  }
  std::map<std::string, TFileInfo> Files;
};

// A shown grid of 100,000 entries with mixed names, sizes and dates.
class TFilledView {
 public:
  TFilledView() : Reader(std::make_shared<TMemoryReader>()), View(nullptr, nullptr, Reader) {
    static const char* const Words[] = {"Holiday", "report", "IMG", "track", "Scan", "invoice", "Übersicht", "élan"};
    std::mt19937 Random(7);
    View.Grid().BeginUpdate();
    for (int I = 0; I < FileCountTotal; ++I) {
      const std::string Path = std::string("/music/") + Words[Random() % 8] + " - " + Words[Random() % 8] + " " +
                               std::to_string(Random() % 100000) + "_" + std::to_string(I) + ".mp3";
      Reader->Files[Path] = {Random() % 10'000'000, faArchive, 44000.5 + I % 1000, 45000.25 + I % 700, "MP3 audio", 0};
      View.Grid().AddFile(Path);
    }
    View.Grid().EndUpdate();
    View.resize(1200, 800);
    View.show();
    QApplication::processEvents();
  }
  std::shared_ptr<TMemoryReader> Reader;
  TFileGridView View;
};

// Made once and kept to the end of the process: Qt objects must not outlive the application.
TFilledView& Filled() {
  static auto* Instance = new TFilledView;
  return *Instance;
}

// One header click each round, cycling a column through ascending,
// descending and unsorted (so every third click restores insertion order),
// each followed by painting the visible rows.
void HeaderClickSort(benchmark::State& State, int Column) {
  TFileGridView& View = Filled().View;
  for (auto _ : State) {
    emit View.header()->sectionClicked(Column);
    View.viewport()->repaint();
  }
  while (View.Grid().SortColumn() != -1) emit View.header()->sectionClicked(Column);
}
BENCHMARK_CAPTURE(HeaderClickSort, Size, static_cast<int>(fcSize))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(HeaderClickSort, Filename, static_cast<int>(fcFileName))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(HeaderClickSort, LastWriteDate, static_cast<int>(fcLastWriteDate))->Unit(benchmark::kMillisecond);

// Every cell text, check state, icon and colour of one screen of 40 rows in
// the middle of the list.
void ScreenOfCells(benchmark::State& State) {
  TFileGridModel& Model = Filled().View.Model();
  for (auto _ : State) {
    for (int Row = 50000; Row < 50040; ++Row)
      for (int Column = 0; Column < FileGridColumnCount; ++Column) {
        const QModelIndex Index = Model.index(Row, Column);
        for (int Role : {Qt::DisplayRole, Qt::CheckStateRole, Qt::DecorationRole, Qt::ForegroundRole, Qt::BackgroundRole})
          benchmark::DoNotOptimize(Model.data(Index, Role));
      }
  }
}
BENCHMARK(ScreenOfCells)->Unit(benchmark::kMicrosecond);

// Painting the whole widget (header and visible rows) into a pixmap, scrolled
// to a different place each time.
void PaintWidget(benchmark::State& State) {
  TFileGridView& View = Filled().View;
  int Row = 0;
  for (auto _ : State) {
    View.scrollTo(View.Model().index(Row, 1), QAbstractItemView::PositionAtTop);
    Row = (Row + 7919) % FileCountTotal;
    benchmark::DoNotOptimize(View.grab());
  }
}
BENCHMARK(PaintWidget)->Unit(benchmark::kMillisecond);

// Scrolling one page down and painting.
void ScrollPage(benchmark::State& State) {
  TFileGridView& View = Filled().View;
  View.scrollToTop();
  for (auto _ : State) {
    View.verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    View.viewport()->repaint();
  }
}
BENCHMARK(ScrollPage)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int Argc, char** Argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication Application(Argc, Argv);
  benchmark::Initialize(&Argc, Argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
