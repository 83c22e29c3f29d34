// The grid on screen: model, selection through sorts and moves, header
// cycling, the context menu, shortcuts, the column chooser and icons.
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
    const QPoint At(Header->sectionViewportPosition(Column) + 5, Header->height() / 2);
    QTest::mouseClick(Header->viewport(), Qt::LeftButton, {}, At);
  }
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

TEST_F(GridViewTest, ModelStaysConsistentThroughListOperations) {
  QAbstractItemModelTester Tester(&View->Model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
  Add({5, 1, 3});
  View->Grid().BeginUpdate();
  Add({4, 2});
  EXPECT_EQ(View->Model().rowCount(), 3);  // rows added in a bracket appear when it closes
  View->Grid().EndUpdate();
  EXPECT_EQ(View->Model().rowCount(), 5);
  ClickHeader(fcSize);
  Select({0, 4});
  View->Grid().RemoveSelectedFiles();
  EXPECT_EQ(View->Model().rowCount(), 3);
  View->Grid().RemoveAllFiles();
  EXPECT_EQ(View->Model().rowCount(), 0);
}

TEST_F(GridViewTest, HeaderClicksSortWithTheIndicatorAndKeepTheSelection) {
  Add({30, 10, 20});
  Select({0, 2});  // a.txt and c.txt
  const std::pair<int, const char*> Steps[] = {
      {fcSize, "b.txt c.txt* a.txt*"}, {fcSize, "a.txt* c.txt* b.txt"}, {fcSize, "a.txt* b.txt c.txt*"}};
  for (const auto& [Column, Expected] : Steps) {
    ClickHeader(Column);
    EXPECT_EQ(Order(), Expected);
    const int Shown = View->header()->sortIndicatorSection();
    EXPECT_EQ(Shown, View->Grid().SortColumn());
    if (Shown >= 0) {
      EXPECT_EQ(View->header()->sortIndicatorOrder() == Qt::DescendingOrder,
                View->Grid().SortDirection() == sdDescending);
    }
  }
  QTest::mouseClick(View->header()->viewport(), Qt::RightButton, {},
                    QPoint(View->header()->sectionViewportPosition(fcFileName) + 5, 5));
  EXPECT_EQ(View->Grid().SortColumn(), -1);  // only the left button sorts

  ClickHeader(fcSize);
  View->RunCommand(gcMoveToTop);  // a move keeps the selection and switches sorting off
  EXPECT_EQ(Order(), "c.txt* a.txt* b.txt");
  EXPECT_EQ(View->header()->sortIndicatorSection(), -1);
}

TEST_F(GridViewTest, CheckBoxesShowAndSetCheckedWithoutResorting) {
  Add({1, 2, 3});
  ClickHeader(fcCheck);
  const QModelIndex Box = View->Model().index(1, fcCheck);
  EXPECT_EQ(Box.data(Qt::CheckStateRole).value<Qt::CheckState>(), Qt::Checked);
  EXPECT_TRUE(View->Model().setData(Box, Qt::Unchecked, Qt::CheckStateRole));
  EXPECT_FALSE(View->Grid().IsChecked(1));
  EXPECT_EQ(Order(), "a.txt b.txt c.txt");  // the row stays until the next re-sort
}

TEST_F(GridViewTest, ContextMenuTargetsAndEnabledStates) {
  // Enabled flags in menu order: 4 moves, remove, remove all, 3 checks, refresh, icons, columns.
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

  Select({0, 2});  // keyboard: at the last selected row's first visible cell
  View->header()->moveSection(View->header()->visualIndex(fcPath), 0);
  View->header()->setSectionHidden(fcPath, true);
  const QPoint At = View->PrepareGridMenu(std::nullopt);
  EXPECT_EQ(At, View->visualRect(View->Model().index(2, View->header()->logicalIndex(1))).center());
  EXPECT_EQ(Enabled(), "111111111111");

  View->ClearSelection();
  EXPECT_EQ(View->PrepareGridMenu(std::nullopt), QPoint(0, 0));
  EXPECT_EQ(Enabled(), "000001111111");
}

TEST_F(GridViewTest, KeyboardMenuPointIsKeptJustOutsideTheClientArea) {
  Add(std::vector<uint64_t>(200, 1));
  Select({199});
  View->scrollToTop();
  EXPECT_EQ(View->PrepareGridMenu(std::nullopt).y(), View->viewport()->height() + 5);
  Select({0});
  View->scrollToBottom();
  EXPECT_EQ(View->PrepareGridMenu(std::nullopt).y(), -5);
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

TEST_F(GridViewTest, F5RereadsTheFilesAndMissingOnesTurnGrey) {
  Add({1, 2});
  Reader->Files.erase("/d/a.txt");
  Reader->Files["/d/b.txt"].Size = 5000;
  QTest::keyClick(View.get(), Qt::Key_F5, Qt::ShiftModifier);
  const QColor Grey = View->palette().color(QPalette::Disabled, QPalette::Text);
  for (int Column = 0; Column < FileGridColumnCount; ++Column) {
    EXPECT_EQ(View->Model().index(0, Column).data(Qt::ForegroundRole).value<QColor>(), Grey) << Column;
    EXPECT_FALSE(View->Model().index(1, Column).data(Qt::ForegroundRole).isValid()) << Column;
  }
  EXPECT_EQ(View->Model().index(1, fcSize).data().toString(), "5 KB");
}

TEST_F(GridViewTest, ColumnChooserNeverHidesTheLastVisibleColumn) {
  View->header()->moveSection(View->header()->visualIndex(fcSize), 0);
  View->FillColumnChooser();
  const QList<QAction*> Items = View->ColumnChooser()->actions();
  ASSERT_EQ(Items.size(), FileGridColumnCount);
  EXPECT_EQ(Items[0]->text(), "Size");  // display order
  EXPECT_EQ(Items[1]->text(), "Check");
  for (int Hidden = 0; Hidden < FileGridColumnCount; ++Hidden) {
    View->FillColumnChooser();
    QAction* First = View->ColumnChooser()->actions()[Hidden];
    if (Hidden == FileGridColumnCount - 1) {
      EXPECT_FALSE(First->isEnabled());
    } else {
      EXPECT_TRUE(First->isEnabled());
      First->trigger();
    }
  }
  EXPECT_EQ(View->header()->hiddenSectionCount(), FileGridColumnCount - 1);
  EXPECT_FALSE(View->header()->isSectionHidden(fcLastWriteDate));
}

TEST_F(GridViewTest, FileIconsFollowTheMenuSwitchAndColumnTwoIsTinted) {
  Add({1});
  const QModelIndex Name = View->Model().index(0, fcFileName);
  EXPECT_TRUE(Name.data(Qt::DecorationRole).isValid());
  EXPECT_FALSE(View->Model().index(0, fcPath).data(Qt::DecorationRole).isValid());
  View->CommandAction(gcShowFileIcons)->trigger();
  EXPECT_FALSE(Name.data(Qt::DecorationRole).isValid());
  View->CommandAction(gcShowFileIcons)->trigger();
  EXPECT_TRUE(Name.data(Qt::DecorationRole).isValid());

  QPalette White = View->palette();
  White.setColor(QPalette::Base, Qt::white);
  View->setPalette(White);
  EXPECT_EQ(View->Model().index(0, fcNewFileName).data(Qt::BackgroundRole).value<QColor>(), QColor(245, 245, 245));
  EXPECT_FALSE(View->Model().index(0, fcPath).data(Qt::BackgroundRole).isValid());
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
  EXPECT_TRUE(View->header()->isSectionHidden(fcPath));
  EXPECT_EQ(Order(), "a.txt c.txt b.txt");
  EXPECT_EQ(View->header()->sortIndicatorSection(), fcSize);
  Layout.Columns[fcPath].Width = MinColumnWidth;
  EXPECT_EQ(View->Layout(), Layout);
  View->SetColumnVisible(fcPath, true);
  EXPECT_EQ(View->header()->sectionSize(fcPath), MinColumnWidth);
}

TEST_F(GridViewTest, DoubleClickOpensTheFirstSelectedFile) {
  std::vector<QUrl> Opened;
  View->SetFileOpener([&](const QUrl& Url) { Opened.push_back(Url); });
  QTest::mouseDClick(View->viewport(), Qt::LeftButton, {}, QPoint(20, 5));  // empty list: nothing
  Add({1, 2, 3});
  Reader->Files.erase("/d/b.txt");  // gone files are opened all the same
  QTest::mouseDClick(View->viewport(), Qt::LeftButton, {}, RowPoint(1));
  ASSERT_FALSE(Opened.empty());
  EXPECT_EQ(Opened.back(), QUrl::fromLocalFile("/d/b.txt"));
}
