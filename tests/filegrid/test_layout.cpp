// The grid's saved layout: the options element written and read back, and
// the column arrangement restored from stored positions.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <numeric>
#include <random>

#include "filegrid/FileGridLayout.h"

namespace {

// Default layout with the options element Xml loaded onto it.
TFileGridLayout Loaded(const std::string& Xml, TFileGridLayout Layout = DefaultFileGridLayout()) {
  TXmlFile File;
  TXmlReader(xsDefault, false).Parse(Xml, File);
  EXPECT_TRUE(LoadOptions(*File.RootNode(), Layout));
  return Layout;
}

TFileGridColumnOrder Order(std::initializer_list<int> Front) {
  // The given columns first, then the others in number order.
  TFileGridColumnOrder Result;
  std::vector<int> Columns(Front);
  for (int Column = 0; Column < FileGridColumnCount; ++Column)
    if (std::find(Columns.begin(), Columns.end(), Column) == Columns.end()) Columns.push_back(Column);
  std::copy(Columns.begin(), Columns.end(), Result.begin());
  return Result;
}

}  // namespace

TEST(FileGridLayout, ReadsEachValueByItsOwnRule) {
  using TEdit = std::function<void(TFileGridLayout&)>;
  const auto Width = [](int Column, int Value) { return [=](TFileGridLayout& L) { L.Columns[Column].Width = Value; }; };
  const auto Hidden = [](int Column) { return [=](TFileGridLayout& L) { L.Columns[Column].Visible = false; }; };
  const auto Sort = [](int Column) { return [=](TFileGridLayout& L) { L.SortColumn = Column; }; };
  const TEdit Descending = [](TFileGridLayout& L) { L.SortDirection = sdDescending; };
  const TEdit Nothing = [](TFileGridLayout&) {};
  const auto Col = [](const std::string& Attributes) { return "<g><Columns><Column " + Attributes + "/></Columns></g>"; };
  const std::vector<std::pair<std::string, TEdit>> Cases = {
      {"<g><SortColumn>42</SortColumn></g>", Sort(9)}, {"<g><SortColumn>-7</SortColumn></g>", Sort(-1)},
      {"<g><SortColumn>x</SortColumn><SortColumn>4</SortColumn></g>", Nothing},  // the first one counts
      {"<g><SortDirection>Descending</SortDirection></g>", Descending},
      {"<g><SortDirection>ascending</SortDirection></g>", Descending},
      {"<g><sortcolumn>3</sortcolumn><columns><Column Index=\"1\" Width=\"99\"/></columns></g>", Nothing},
      {Col("Width=\"99\""), Nothing},               {Col("Index=\"10\" Width=\"99\" Visible=\"False\""), Nothing},
      {Col("Index=\"2\" Width=\"99\""), Width(2, 99)},
      {"<g><Columns><Other Index=\"2\" Width=\"99\"/></Columns></g>", Width(2, 99)},  // any child name
      {Col("Index=\"2\" Width=\"3\""), Width(2, 10)}, {Col("Index=\"2\" Width=\"20000\""), Width(2, 10000)},
      {Col("Index=\"2\" Visible=\"false\""), Hidden(2)}, {Col("Index=\"2\" Visible=\"no\""), Nothing},
  };
  for (const auto& [Xml, Edit] : Cases) {
    SCOPED_TRACE(Xml);
    TFileGridLayout Expected = DefaultFileGridLayout();
    Edit(Expected);
    EXPECT_EQ(Loaded(Xml), Expected);
  }
  // A descending grid turns ascending only for the exact word.
  TFileGridLayout Before = DefaultFileGridLayout();
  Before.SortDirection = sdDescending;
  EXPECT_EQ(Loaded("<g><SortDirection>Ascending</SortDirection></g>", Before).SortDirection, sdAscending);
}

TEST(FileGridLayout, ArrangesColumnsFromStoredPositions) {
  const auto Col = [](int Index, int Position) {
    return "<Column Index=\"" + std::to_string(Index) + "\" Position=\"" + std::to_string(Position) + "\"/>";
  };
  const std::vector<std::pair<std::string, TFileGridColumnOrder>> Cases = {
      // Moved columns take their place; the others keep their order around them.
      {Col(5, 0), Order({5})},                      {Col(0, 5), Order({1, 2, 3, 4, 5, 0})},
      {Col(2, 99), Order({0, 1, 3, 4, 5, 6, 7, 8, 9, 2})},
      {Col(2, -1) + Col(1, 10), Order({0, 3, 4, 5, 6, 7, 8, 9, 1, 2})},
      // The lower column number wins a place asked for twice; the other fills in.
      {Col(7, 0) + Col(3, 0), Order({3, 0, 1, 2, 4, 5, 6, 7})},
      // A later element for the same column counts.
      {Col(4, 0) + Col(4, 9), Order({0, 1, 2, 3, 5, 6, 7, 8, 9, 4})},
      // Columns moved one at a time would give 3, 0, 2, 1 here.
      {Col(0, 2) + Col(1, 3) + Col(2, 1) + Col(3, 0), Order({3, 2, 0, 1})},
  };
  for (const auto& [Columns, Expected] : Cases) {
    SCOPED_TRACE(Columns);
    const TFileGridLayout Layout = Loaded("<g><Columns>" + Columns + "</Columns></g>");
    EXPECT_EQ(VisualOrder(Layout), Expected);
    for (int Position = 0; Position < FileGridColumnCount; ++Position)
      EXPECT_EQ(Layout.Columns[Expected[Position]].Position, Position);
  }
  // The columns a moved one pushes aside keep the order they had before.
  TFileGridLayout Before = DefaultFileGridLayout();
  SetVisualOrder(Before, Order({9, 8}));
  EXPECT_EQ(VisualOrder(Loaded("<g><Columns>" + Col(0, 1) + "</Columns></g>", Before)), Order({9, 0, 8}));
}

TEST(FileGridLayout, RestoresEverySavedArrangementExactly) {
  std::mt19937 Random(7);
  for (int Round = 0; Round < 300; ++Round) {
    TFileGridLayout Saved = DefaultFileGridLayout();
    TFileGridColumnOrder Shuffled;
    std::iota(Shuffled.begin(), Shuffled.end(), 0);
    std::shuffle(Shuffled.begin(), Shuffled.end(), Random);
    SetVisualOrder(Saved, Shuffled);
    for (auto& Column : Saved.Columns) Column.Visible = Random() % 3 != 0;
    SCOPED_TRACE(testing::PrintToString(Shuffled));

    // Loaded onto a grid that was arranged differently before.
    TFileGridLayout Other = DefaultFileGridLayout();
    std::shuffle(Shuffled.begin(), Shuffled.end(), Random);
    SetVisualOrder(Other, Shuffled);
    const std::unique_ptr<TXmlNode> Element = SaveOptions(Saved);
    ASSERT_TRUE(LoadOptions(*Element, Other));
    EXPECT_EQ(Other, Saved);
  }
}
