// The list operations of the grid over in-memory rows and a made-up file system.
#include "FileGridTestUtil.h"

using filegridtest::FileGridTest;

TEST(FileGridNames, SplitIntoPathNameAndExtensionAtTheLastSlashAndDot) {
  struct Case {
    const char* FileName;
    const char* Path;
    const char* Name;
    const char* Extension;
  } Cases[] = {
      {"/home/u/a.b/file", "/home/u/a.b/", "file", ""},  // a dot in a folder is no extension
      {"x.tar.gz", "", "x.tar.gz", ".gz"},
      {"/home/u/.profile", "/home/u/", ".profile", ".profile"},
      {"rel/dir/a:b\\c.txt", "rel/dir/", "a:b\\c.txt", ".txt"},  // ":" and "\" are ordinary
      {"noext", "", "noext", ""},
      {"trailing.", "", "trailing.", "."},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.FileName);
    TFileGridFile Entry;
    SetFileNameFields(Entry, C.FileName);
    EXPECT_EQ(Entry.FileName, C.FileName);
    EXPECT_EQ(Entry.Path, C.Path);
    EXPECT_EQ(Entry.Name, C.Name);
    EXPECT_EQ(Entry.Extension, C.Extension);
  }
}

TEST_F(FileGridTest, AddingAMissingPathAddsNothingAndShowsNothing) {
  Grid.AddFile("/nowhere/file.txt");
  EXPECT_EQ(Grid.FileCount(), 0);
  EXPECT_EQ(Rows.RowCount(), 0);
  EXPECT_EQ(Grid.NextIndex(), 0);
}

TEST_F(FileGridTest, AddingTheSamePathTwiceGivesTwoEntriesWithRisingIndexes) {
  AddFiles({"/d/a.txt", "/d/a.txt"});
  ASSERT_EQ(Grid.FileCount(), 2);
  EXPECT_EQ(Rows.RowCount(), 2);
  EXPECT_EQ(Grid.File(0).Index, 0);
  EXPECT_EQ(Grid.File(1).Index, 1);
  EXPECT_EQ(Grid.NextIndex(), 2);
  EXPECT_TRUE(Grid.IsChecked(0));
  EXPECT_TRUE(Grid.File(0).Exists);
  EXPECT_EQ(Grid.File(0).Description, "Document");
}

TEST_F(FileGridTest, ContainsFileComparesWholePathsWithLetterCase) {
  AddFiles({"/d/Photo.JPG"});
  EXPECT_TRUE(Grid.ContainsFile("/d/Photo.JPG"));
  EXPECT_FALSE(Grid.ContainsFile("/d/photo.jpg"));
  EXPECT_FALSE(Grid.ContainsFile("Photo.JPG"));
}

TEST_F(FileGridTest, AFolderGivenWithATrailingSlashIsListedUnderItsName) {
  Reader->Put("/d/sub").Attributes = faDirectory;
  Grid.AddFile("/d/sub//");
  ASSERT_EQ(Grid.FileCount(), 1);
  EXPECT_EQ(Grid.GetFileName(0), "/d/sub");
  EXPECT_EQ(Grid.File(0).Name, "sub");
  EXPECT_EQ(Grid.File(0).Path, "/d/");
  EXPECT_EQ(Grid.File(0).Attributes, uint32_t{faDirectory});
}

TEST_F(FileGridTest, ThePathsWithoutANameAreNotAdded) {
  Reader->Put("/");
  Reader->Put("");
  Grid.AddFile("/");
  Grid.AddFile("///");
  Grid.AddFile("");
  EXPECT_EQ(Grid.FileCount(), 0);
}

TEST_F(FileGridTest, PositionsOutsideTheListAreIgnoredBySettersAndRefusedByGetters) {
  AddFiles({"/d/a"});
  for (int Position : {-1, 1, 100}) {
    SCOPED_TRACE(Position);
    Grid.SetNewFileName(Position, "x");
    Grid.UpdateFile(Position, "/d/a");
    EXPECT_THROW(Grid.GetFileName(Position), std::out_of_range);
    EXPECT_THROW(Grid.IsChecked(Position), std::out_of_range);
  }
  EXPECT_EQ(Grid.File(0).NewFileName, "");
}

TEST_F(FileGridTest, UpdateFileFollowsTheRenamedFileAndGreysOutAMissingOne) {
  AddFiles({"/d/a.txt", "/d/b.txt"}, {10, 20});
  Grid.SetNewFileName(0, "c.md");
  Reader->Put("/d/c.md", 30).Description = "Markdown";
  Grid.UpdateFile(0, "/d/c.md");
  Grid.SetNewFileName(0, "");
  const TFileGridFile& Renamed = Grid.File(0);
  EXPECT_EQ(Renamed.FileName, "/d/c.md");
  EXPECT_EQ(Renamed.Name, "c.md");
  EXPECT_EQ(Renamed.Extension, ".md");
  EXPECT_EQ(Renamed.Size, 30u);
  EXPECT_EQ(Renamed.Description, "Markdown");
  EXPECT_EQ(Renamed.NewFileName, "");
  EXPECT_TRUE(Renamed.Checked);

  Grid.UpdateFile(1, "/d/gone.txt");
  const TFileGridFile& Gone = Grid.File(1);
  EXPECT_EQ(Gone.Name, "gone.txt");
  EXPECT_FALSE(Gone.Exists);
  EXPECT_FALSE(Gone.Checked);
  EXPECT_EQ(Gone.Size, 0u);
  EXPECT_EQ(Gone.Attributes, 0u);
  EXPECT_EQ(Gone.Description, "");
  EXPECT_EQ(Grid.FileCount(), 2);
}

TEST_F(FileGridTest, RefreshKeepsTheRowOfAFileDeletedOutsideTheProgram) {
  AddFiles({"/d/a", "/d/b", "/d/c"}, {1, 2, 3});
  Reader->Files.erase("/d/b");
  Reader->Files["/d/c"].Size = 33;
  Grid.RefreshFiles();
  EXPECT_EQ(Order(), "/d/a /d/b /d/c");
  EXPECT_FALSE(Grid.File(1).Exists);
  EXPECT_FALSE(Grid.File(1).Checked);
  EXPECT_TRUE(Grid.File(0).Checked);
  EXPECT_EQ(Grid.File(2).Size, 33u);
}

TEST_F(FileGridTest, RemoveSelectedFilesClosesUpAndSelectsTheRowAfterTheFirstRemoved) {
  struct Case {
    const char* Title;
    std::set<int> Selected;
    const char* Order;
    std::set<int> SelectedAfter;
  } Cases[] = {
      {"rows 3 and 5 of 8", {3, 5}, "0 1 2 4 6 7", {3}},
      {"the last two rows", {6, 7}, "0 1 2 3 4 5", {}},
      {"the first row", {0}, "1 2 3 4 5 6 7", {0}},
      {"nothing selected", {}, "0 1 2 3 4 5 6 7", {}},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Title);
    Grid.RemoveAllFiles();
    AddFiles({"0", "1", "2", "3", "4", "5", "6", "7"});
    Select(C.Selected);
    Grid.RemoveSelectedFiles();
    EXPECT_EQ(Order(), C.Order);
    EXPECT_EQ(Rows.RowCount(), Grid.FileCount());
    EXPECT_EQ(SelectedRows(), C.SelectedAfter);
    if (!C.SelectedAfter.empty()) {
      EXPECT_EQ(Rows.FocusedRow(), *C.SelectedAfter.begin());
    }
    EXPECT_EQ(Grid.NextIndex(), 8);  // survivors keep their numbers
  }
}

TEST_F(FileGridTest, RemovingEveryRowEmptiesTheListAndStartsNumberingAgain) {
  AddFiles({"a", "b", "c"});
  Select({0, 1, 2});
  Grid.RemoveSelectedFiles();
  EXPECT_EQ(Grid.FileCount(), 0);
  EXPECT_EQ(Rows.RowCount(), 0);
  EXPECT_EQ(Grid.NextIndex(), 0);
  EXPECT_TRUE(SelectedRows().empty());
  AddFiles({"d"});
  EXPECT_EQ(Grid.File(0).Index, 0);
}

TEST_F(FileGridTest, RemoveAllFilesKeepsTheSortColumn) {
  AddFiles({"a", "b"});
  Grid.HeaderClick(fcSize);
  Grid.RemoveAllFiles();
  EXPECT_EQ(Grid.FileCount(), 0);
  EXPECT_EQ(Rows.RowCount(), 0);
  EXPECT_EQ(Grid.NextIndex(), 0);
  EXPECT_EQ(Grid.SortColumn(), fcSize);
}

TEST_F(FileGridTest, MovesShiftSelectedBlocksAndTheSelectionTravelsWithThem) {
  struct Case {
    const char* Title;
    TFileGridMoveDirection Direction;
    std::set<int> Selected;
    const char* Order;
  } Cases[] = {
      {"up with rows 0 and 2", mdUp, {0, 2}, "0 2 1 3 4 5"},
      {"up with a block", mdUp, {3, 4}, "0 1 3 4 2 5"},
      {"down with the last row", mdDown, {5}, "0 1 2 3 4 5"},
      {"down with rows 1 and 3", mdDown, {1, 3}, "0 2 1 4 3 5"},
      {"down with a block at the bottom and one above", mdDown, {2, 4, 5}, "0 1 3 2 4 5"},
      {"top with rows 2 and 4", mdTop, {2, 4}, "2 4 0 1 3 5"},
      {"bottom with rows 0 and 3", mdBottom, {0, 3}, "1 2 4 5 0 3"},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Title);
    Grid.RemoveAllFiles();
    AddFiles({"0", "1", "2", "3", "4", "5"});
    Grid.HeaderClick(fcFileName);
    Select(C.Selected);
    std::string SelectedBefore = SelectedFiles();
    Grid.MoveSelectedFiles(C.Direction);
    EXPECT_EQ(Order(), C.Order);
    EXPECT_EQ(SelectedFiles(), SelectedBefore);
    EXPECT_EQ(Grid.SortColumn(), -1);  // every move switches sorting off
  }
}

TEST_F(FileGridTest, InsideABracketNothingRepaintsAndClosingItResortsOnceKeepingTheSelection) {
  AddFiles({"/d/m", "/d/c"}, {5, 1});
  Grid.HeaderClick(fcSize);  // c m
  Select({1});               // m
  const int Repaints = Rows.RepaintCount();
  Grid.BeginUpdate();
  Grid.BeginUpdate();
  AddFiles({"/d/a", "/d/z"}, {9, 0});
  Grid.SetNewFileName(0, "x");
  Grid.CheckAll();
  EXPECT_EQ(Order(), "/d/c /d/m /d/a /d/z");  // unsorted while the bracket is open
  Grid.EndUpdate();
  EXPECT_EQ(Order(), "/d/c /d/m /d/a /d/z");  // still nested
  EXPECT_EQ(Rows.RepaintCount(), Repaints);
  Grid.EndUpdate();
  EXPECT_EQ(Order(), "/d/z /d/c /d/m /d/a");
  EXPECT_EQ(SelectedFiles(), "/d/m");
  EXPECT_EQ(Rows.RowCount(), 4);
  EXPECT_GT(Rows.RepaintCount(), Repaints);
  EXPECT_FALSE(Rows.IsUpdating());
}

TEST_F(FileGridTest, AnUnbalancedEndUpdateChangesNothing) {
  AddFiles({"a", "b"});
  Select({1});
  Grid.EndUpdate();
  EXPECT_FALSE(Rows.IsUpdating());
  EXPECT_EQ(SelectedFiles(), "b");
  Grid.BeginUpdate();
  Grid.EndUpdate();
  Grid.EndUpdate();
  AddFiles({"c"});
  EXPECT_EQ(Rows.RowCount(), 3);
}

TEST_F(FileGridTest, RemovingInsideABracketKeepsTheNewSelectionWhenTheBracketCloses) {
  AddFiles({"0", "1", "2", "3"});
  Select({1});
  Grid.BeginUpdate();
  Grid.RemoveSelectedFiles();
  Grid.EndUpdate();
  EXPECT_EQ(Order(), "0 2 3");
  EXPECT_EQ(SelectedFiles(), "2");
}

TEST_F(FileGridTest, MovesInsideABracketUseTheSelectionSavedWhenItOpened) {
  AddFiles({"0", "1", "2", "3"});
  Select({2});
  Grid.BeginUpdate();
  Grid.MoveSelectedFiles(mdTop);
  Grid.MoveSelectedFiles(mdBottom);
  Grid.EndUpdate();
  EXPECT_EQ(Order(), "0 1 3 2");
  EXPECT_EQ(SelectedFiles(), "2");
}
