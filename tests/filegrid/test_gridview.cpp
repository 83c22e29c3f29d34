// The grid on screen: the model, the sort indicator, the context menu and its
// shortcuts, the column chooser and saved layouts.
#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QMenu>
#include <QTest>

#include "filegrid/FileGridView.h"
#include "support/FakeFileReader.h"
#include "support/TestApplication.h"

namespace {

class GridViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TestApplication();
    View = std::make_unique<TFileGridView>(nullptr, Icons, Reader);
    View->resize(900, 300);
    View->show();
  }
  // Adds files with the given sizes, named a.txt, b.txt, ... in that order.
  void Add(std::vector<uint64_t> Sizes) {
    for (uint64_t Size : Sizes) {
      const std::string Path = std::string("/d/") + char('a' + View->Grid().FileCount()) + ".txt";
      Reader->Put(Path, Size);
      View->Grid().AddFile(Path);
    }
  }
  // The names in display order; "*" marks a row selected in the view.
  std::string Order() {
    std::string Result;
    for (int Row = 0; Row < View->Grid().FileCount(); ++Row) {
      const QModelIndex Index = View->Model().index(Row, fcFileName);
      Result += (Row ? " " : "") + Index.data().toString().toStdString();
      if (View->selectionModel()->isRowSelected(Row, {})) Result += "*";
    }
    return Result;
  }
  void Select(std::initializer_list<int> Rows) {
    View->ClearSelection();
    for (int Row : Rows) View->SetRowSelected(Row, true);
    View->Repaint();
  }
  void ClickHeader(int Column) {
    QHeaderView* Header = View->header();
    QTest::mouseClick(Header->viewport(), Qt::LeftButton, {}, QPoint(Header->sectionViewportPosition(Column) + 5, 5));
  }
  // Enabled flags in menu order: 4 moves, remove, remove all, 3 checks, refresh, icons, columns.
  std::string Enabled() {
    std::string Result;
    for (int Command : {gcMoveUp, gcMoveDown, gcMoveToTop, gcMoveToBottom, gcRemoveFiles, gcRemoveAllFiles,
                        gcCheckAll, gcCheckNone, gcInvertChecks, gcRefresh, gcShowFileIcons, gcVisibleColumns})
      Result += View->CommandAction(static_cast<TFileGridCommand>(Command))->isEnabled() ? '1' : '0';
    return Result;
  }
  QPoint RowPoint(int Row) { return View->visualRect(View->Model().index(Row, fcFileName)).center(); }

  std::shared_ptr<TFileIconCache> Icons = std::make_shared<TFileIconCache>();
  std::shared_ptr<TFakeReader> Reader = std::make_shared<TFakeReader>();
  std::unique_ptr<TFileGridView> View;
};

}  // namespace

TEST_F(GridViewTest, ModelStaysConsistentThroughListOperationsAndTheHeaderShowsTheSort) {
  QAbstractItemModelTester Tester(&View->Model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
  Add({5, 1, 3});
  View->Grid().BeginUpdate();
  Add({4, 2});
  EXPECT_EQ(View->Model().rowCount(), 3);  // rows added in a bracket appear when it closes
  View->Grid().EndUpdate();
  ClickHeader(fcSize);
  ClickHeader(fcSize);
  EXPECT_EQ(View->header()->sortIndicatorSection(), fcSize);
  EXPECT_EQ(View->header()->sortIndicatorOrder(), Qt::DescendingOrder);
  Select({0, 4});
  EXPECT_EQ(Order(), "a.txt* d.txt c.txt e.txt b.txt*");
  View->RunCommand(gcMoveToTop);  // a move keeps the selection and switches sorting off
  EXPECT_EQ(Order(), "a.txt* b.txt* d.txt c.txt e.txt");
  EXPECT_EQ(View->header()->sortIndicatorSection(), -1);
  View->Grid().RemoveSelectedFiles();
  EXPECT_EQ(View->Model().rowCount(), 3);
  View->Grid().RemoveAllFiles();
  EXPECT_EQ(View->Model().rowCount(), 0);
}

TEST_F(GridViewTest, ContextMenuTargetsAndEnabledStates) {
  EXPECT_EQ(View->PrepareGridMenu(std::nullopt), QPoint(0, 0));
  EXPECT_EQ(Enabled(), "000000000011");  // empty list: only the last two
  Add({1, 2, 3});
  View->PrepareGridMenu(QPoint(20, View->viewport()->height() - 2));  // below the last row
  EXPECT_EQ(Enabled(), "000001111111");
  Select({0, 2});
  View->PrepareGridMenu(RowPoint(2));  // on a row of the selection: it is kept
  EXPECT_EQ(Enabled(), "111111111111");
  EXPECT_EQ(Order(), "a.txt* b.txt c.txt*");
  View->PrepareGridMenu(RowPoint(1));  // on an unselected row: it alone is selected
  EXPECT_EQ(Order(), "a.txt b.txt* c.txt");
  EXPECT_EQ(View->currentIndex().row(), 1);
}

TEST_F(GridViewTest, ShortcutsActOnlyForItemsEnabledWhenTheMenuLastOpened) {
  Add({1, 2, 3});
  View->setFocus();
  Select({1});
  View->PrepareGridMenu(QPoint(20, View->viewport()->height() - 2));  // no target row
  QTest::keyClick(View.get(), Qt::Key_Delete);
  QTest::keyClick(View.get(), Qt::Key_Up, Qt::AltModifier);
  EXPECT_EQ(Order(), "a.txt b.txt* c.txt");  // taken, nothing done; Up did not move the focus either
  View->PrepareGridMenu(RowPoint(1));
  QTest::keyClick(View.get(), Qt::Key_Up, Qt::AltModifier);
  EXPECT_EQ(Order(), "b.txt* a.txt c.txt");
  QTest::keyClick(View.get(), Qt::Key_Delete);
  EXPECT_EQ(Order(), "a.txt* c.txt");
}

TEST_F(GridViewTest, ColumnChooserNeverHidesTheLastVisibleColumn) {
  for (int Hidden = 0; Hidden < FileGridColumnCount; ++Hidden) {
    View->FillColumnChooser();
    QAction* Item = View->ColumnChooser()->actions().at(Hidden);
    EXPECT_EQ(Item->isEnabled(), Hidden < FileGridColumnCount - 1);
    Item->trigger();
  }
  EXPECT_EQ(View->header()->hiddenSectionCount(), FileGridColumnCount - 1);
}

TEST_F(GridViewTest, LayoutsAreRestoredExactly) {
  Add({3, 1, 2});
  TFileGridLayout Layout = DefaultFileGridLayout();
  const TFileGridColumnOrder Arranged = {9, 3, 2, 0, 1, 8, 4, 7, 5, 6};  // no one-move-at-a-time approximation
  SetVisualOrder(Layout, Arranged);
  Layout.Columns[fcPath] = {5, Layout.Columns[fcPath].Position, false};  // hidden, width kept within limits
  Layout.Columns[fcSize].Width = 99;
  Layout.SortColumn = fcSize;
  Layout.SortDirection = sdDescending;
  View->LoadLayout(Layout);
  for (int Position = 0; Position < FileGridColumnCount; ++Position)
    EXPECT_EQ(View->header()->logicalIndex(Position), Arranged[static_cast<size_t>(Position)]);
  EXPECT_EQ(Order(), "a.txt c.txt b.txt");  // sorted as loaded
  Layout.Columns[fcPath].Width = MinColumnWidth;
  EXPECT_EQ(View->Layout(), Layout);
  View->SetColumnVisible(fcPath, true);
  EXPECT_EQ(View->header()->sectionSize(fcPath), MinColumnWidth);
}
