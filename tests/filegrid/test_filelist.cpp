// The file list over in-memory rows and a made-up file system: list operations and sorting.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>

#include "filegrid/VirtualFileGrid.h"
#include "support/FakeFileReader.h"
#include "support/TempDir.h"

namespace {

class FileGridTest : public ::testing::Test {
 protected:
  void AddFiles(const std::vector<std::string>& Paths, const std::vector<uint64_t>& Sizes = {}) {
    for (size_t I = 0; I < Paths.size(); ++I) Reader->Put(Paths[I], I < Sizes.size() ? Sizes[I] : 0);
    for (const std::string& Path : Paths) Grid.AddFile(Path);
  }
  // Display order (or its reverse) as the paths joined by blanks; "-" marks an unchecked entry, "*" a selected row.
  std::string Order(bool Reversed = false) const {
    std::string Result;
    for (int I = 0, N = Grid.FileCount(); I < N; ++I) {
      const int Row = Reversed ? N - 1 - I : I;
      Result += (I ? " " : "") + Grid.GetFileName(Row) + (Grid.IsChecked(Row) ? "" : "-");
      Result += Rows.IsRowSelected(Row) ? "*" : "";
    }
    return Result;
  }
  std::string Click(int Column, bool Reversed = false) { Grid.HeaderClick(Column); return Order(Reversed); }
  void Select(std::set<int> Set) { Rows.ClearSelection(); for (int Row : Set) Rows.SetRowSelected(Row, true); }

  TMemoryFileGridRows Rows;
  std::shared_ptr<TFakeReader> Reader = std::make_shared<TFakeReader>();
  TVmVirtualFileGrid Grid{Rows, Reader};
};

}  // namespace

TEST(FileGridNames, SplitIntoPathNameAndExtensionAtTheLastSlashAndDot) {
  for (const auto& C : std::initializer_list<std::array<const char*, 4>>{
           {"/home/u/a.b/file", "/home/u/a.b/", "file", ""},  // a dot in a folder is no extension
           {"x.tar.gz", "", "x.tar.gz", ".gz"},
           {"/home/u/.profile", "/home/u/", ".profile", ".profile"},
           {"rel/dir/a:b\\c.txt", "rel/dir/", "a:b\\c.txt", ".txt"}}) {  // ":" and "\" are ordinary
    TFileGridFile Entry;
    SetFileNameFields(Entry, C[0]);
    EXPECT_EQ(Entry.FileName + "|" + std::string(Entry.Path()) + "|" + std::string(Entry.Name()) + "|" +
                  std::string(Entry.Extension()),
              std::string(C[0]) + "|" + C[1] + "|" + C[2] + "|" + C[3]);
  }
}

TEST_F(FileGridTest, AddFileSkipsMissingAndNamelessPathsButNotDuplicates) {
  for (const char* Path : {"/", ""}) Reader->Put(Path);  // found, but without a name
  for (const char* Path : {"/nowhere/file.txt", "/", "///", ""}) Grid.AddFile(Path);
  EXPECT_EQ(Rows.RowCount() + Grid.NextIndex(), 0);
  AddFiles({"/d/Photo.JPG", "/d/Photo.JPG"});
  EXPECT_EQ(Order(), "/d/Photo.JPG /d/Photo.JPG");
  EXPECT_EQ(Grid.File(1).Index, 1);
  EXPECT_TRUE(Grid.File(0).Exists && Grid.ContainsFile("/d/Photo.JPG"));
  EXPECT_FALSE(Grid.ContainsFile("/d/photo.jpg") || Grid.ContainsFile("Photo.JPG"));
  Reader->Put("/d/sub");
  Grid.AddFile("/d/sub//");  // a folder given with a trailing slash is listed under its name
  EXPECT_EQ(Grid.File(2).FileName + " " + std::string(Grid.File(2).Name()), "/d/sub sub");
}

TEST_F(FileGridTest, PositionsOutsideTheListAreIgnoredBySettersAndRefusedByGetters) {
  AddFiles({"/d/a"});
  for (int Position : {-1, 1, 100}) {
    Grid.SetNewFileName(Position, "x");
    Grid.UpdateFile(Position, "/d/a");
    EXPECT_THROW(Grid.GetFileName(Position), std::out_of_range);
  }
  EXPECT_EQ(Grid.File(0).NewFileName, "");
}

TEST_F(FileGridTest, UpdateAndRefreshFollowRenamedFilesAndGreyOutMissingOnesWithoutRemovingThem) {
  AddFiles({"/d/a.txt", "/d/b.txt", "/d/c.txt"}, {10, 20, 30});
  Reader->Put("/d/c.md", 40).Description = "Markdown";
  Grid.UpdateFile(0, "/d/c.md");
  EXPECT_EQ(Grid.File(0).Description + " " + std::to_string(Grid.File(0).Size), "Markdown 40");
  Grid.UpdateFile(1, "/d/gone.txt");
  Reader->Files.erase("/d/c.txt");
  Grid.RefreshFiles();
  EXPECT_EQ(Order(), "/d/c.md /d/gone.txt- /d/c.txt-");
  for (const TFileGridFile* Gone : {&Grid.File(1), &Grid.File(2)})
    EXPECT_EQ(Gone->Exists + Gone->Size + Gone->Attributes + Gone->Description.size(), 0u);  // nothing is kept
}

TEST_F(FileGridTest, RemovesAndMovesShiftTheSelectedRowsAndTheSelectionAndFocusFollow) {
  enum { Remove = -1 };
  struct Case { int Operation; std::set<int> Selected; const char* Order; int NextIndex; } Cases[] = {
      {Remove, {3, 5}, "0 1 2 4*", 6},  // the row after the first removed becomes the selection
      {Remove, {4, 5}, "0 1 2 3", 6},   {Remove, {0}, "1* 2 3 4 5", 6},  {Remove, {}, "0 1 2 3 4 5", 6},
      {Remove, {0, 1, 2, 3, 4, 5}, "", 0},  // survivors keep their numbers; an emptied list starts again at 0
      {mdUp, {0, 2}, "0* 2* 1 3 4 5", 6},       {mdUp, {3, 4}, "0 1 3* 4* 2 5", 6},
      {mdDown, {5}, "0 1 2 3 4 5*", 6},         {mdDown, {1, 3}, "0 2 1* 4 3* 5", 6},
      {mdDown, {2, 4, 5}, "0 1 3 2* 4* 5*", 6}, {mdTop, {2, 4}, "2* 4* 0 1 3 5", 6},
      {mdBottom, {0, 3}, "1 2 4 5 0* 3*", 6},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Order);
    Grid.RemoveAllFiles();
    Grid.SetSortState(fcFileName, sdAscending);
    AddFiles({"0", "1", "2", "3", "4", "5"});
    Select(C.Selected);
    if (!C.Selected.empty()) Rows.SetFocusedRow(*C.Selected.rbegin());
    if (C.Operation == Remove) Grid.RemoveSelectedFiles();
    else Grid.MoveSelectedFiles(static_cast<TFileGridMoveDirection>(C.Operation));
    EXPECT_EQ(Order(), C.Order);
    EXPECT_EQ(Rows.RowCount(), Grid.FileCount());
    EXPECT_EQ(Grid.NextIndex(), C.NextIndex);
    EXPECT_EQ(Grid.SortColumn(), C.Operation == Remove ? fcFileName : -1);  // every move switches sorting off
    if (C.Operation == Remove && Rows.SelectedCount()) { EXPECT_EQ(Rows.FocusedRow(), Rows.FirstSelectedRow()); }
    if (C.Operation != Remove) { EXPECT_EQ(Grid.GetFileName(Rows.FocusedRow()), std::to_string(*C.Selected.rbegin())); }  // the focus moves along
  }
  Grid.HeaderClick(fcSize);
  Grid.RemoveAllFiles();
  EXPECT_EQ(Grid.SortColumn(), fcSize);  // emptying the list keeps the sort column
}

TEST(FileGridFolder, AddFolderListsTheFilesAsTheFilenameSortOrdersThem) {
  TTempDir Dir;
  for (const char* Name : {"file10", "File2", "b", "a", "B.txt", "_x"}) Dir.Make(Name);
  TMemoryFileGridRows Rows;
  TVmVirtualFileGrid Grid(Rows);
  ASSERT_TRUE(Grid.AddFolder(Dir.Path));
  auto Names = [&] {
    std::string Result;
    for (int I = 0; I < Grid.FileCount(); ++I) (Result += Grid.File(I).Name()) += " ";
    return Result;
  };
  const std::string Added = Names();
  Grid.HeaderClick(fcFileName);
  EXPECT_EQ(Added, Names());
  EXPECT_EQ(Grid.FileCount(), 6);
}

TEST_F(FileGridTest, BracketsNestWithoutRepaintingAndKeepTheSelectionThroughRemovesAndMoves) {
  AddFiles({"/d/m", "/d/c", "/d/x"}, {5, 1, 7});
  Grid.HeaderClick(fcSize);
  Select({1, 2});
  Grid.EndUpdate();  // unbalanced: does nothing
  const int Repaints = Rows.RepaintCount();
  Grid.BeginUpdate();
  Grid.BeginUpdate();
  AddFiles({"/d/a", "/d/z"}, {9, 0});
  Grid.RemoveSelectedFiles();
  Grid.EndUpdate();
  EXPECT_EQ(Order(), "/d/c /d/a* /d/z");  // still nested: unsorted, nothing repainted
  EXPECT_EQ(Rows.RepaintCount(), Repaints);
  Grid.MoveSelectedFiles(mdTop);
  Grid.MoveSelectedFiles(mdBottom);
  Grid.EndUpdate();
  Grid.EndUpdate();
  EXPECT_EQ(Order(), "/d/c /d/z /d/a*");
  EXPECT_GT(Rows.RepaintCount(), Repaints);
  EXPECT_FALSE(Rows.IsUpdating());
}

TEST_F(FileGridTest, HeaderClicksGoAscendingDescendingThenBackToTheOrderFromBeforeWithAddedFilesLast) {
  AddFiles({"/d/b", "/d/c", "/d/a", "/d/d"}, {20, 5, 30, 10});
  Select({0});
  Grid.MoveSelectedFiles(mdBottom);  // a manual order
  EXPECT_EQ(Order(), "/d/c /d/a /d/d /d/b*");
  EXPECT_EQ(Click(fcSize), "/d/c /d/d /d/b* /d/a");
  EXPECT_EQ(Click(fcSize), "/d/a /d/b* /d/d /d/c");
  EXPECT_EQ(Click(fcFileName), "/d/a /d/b* /d/c /d/d");  // another column starts ascending
  AddFiles({"/d/bb"});  // goes to its place
  EXPECT_EQ(Order(), "/d/a /d/b* /d/bb /d/c /d/d");
  EXPECT_EQ(Click(fcFileName), "/d/d /d/c /d/bb /d/b* /d/a");
  EXPECT_EQ(Click(fcFileName), "/d/c /d/a /d/d /d/b* /d/bb");
  for (int Column : {int{fcSize}, 10, -1}) Grid.HeaderClick(Column, Column == fcSize ? mbRight : mbLeft);
  EXPECT_EQ(Grid.SortColumn(), -1);  // only the left button and known columns count
}

TEST_F(FileGridTest, EachColumnSortsByItsOwnKeyThenByNameAndDescendingTurnsBothRound) {
  struct File { const char *Path, *Type, *NewName; uint64_t Size; uint32_t Attributes; double Created, Written; };
  const File Files[] = {
      {"/x/d.txt", "Beta", "a", uint64_t{5} << 32, 32, 0, 45000.5},
      {"/z/a.dat", "alpha", "z", 1u << 31, 33, 30000, -1.5},  // 29 December 1899, 12:00
      {"/y/b.TXT", "beta", "", 7, 34, 40000.25, 40000.5},  // the one unchecked
      {"/x/c.txt", "Gamma", "m", 8, 32, 40000.75, -1.25},     // 29 December 1899, 06:00
  };
  const std::pair<int, const char*> Cases[] = {
      {fcCheck, "/y/b.TXT- /z/a.dat /x/c.txt /x/d.txt"},          // unchecked first
      {fcFileName, "/z/a.dat /y/b.TXT- /x/c.txt /x/d.txt"},
      {fcNewFileName, "/y/b.TXT- /x/d.txt /x/c.txt /z/a.dat"},    // empty first
      {fcPath, "/x/c.txt /x/d.txt /y/b.TXT- /z/a.dat"},           // the whole path
      {fcExtension, "/z/a.dat /y/b.TXT- /x/c.txt /x/d.txt"},      // without regard to case
      {fcSize, "/y/b.TXT- /x/c.txt /z/a.dat /x/d.txt"},           // 64-bit
      {fcDescription, "/z/a.dat /y/b.TXT- /x/d.txt /x/c.txt"},    // without regard to case
      {fcAttributes, "/x/c.txt /x/d.txt /z/a.dat /y/b.TXT-"},
      {fcCreationDate, "/x/d.txt /z/a.dat /y/b.TXT- /x/c.txt"},   // none first
      {fcLastWriteDate, "/x/c.txt /z/a.dat /y/b.TXT- /x/d.txt"},  // in time order before 1899-12-30 too
  };
  for (const auto& [Column, Expected] : Cases) {
    SCOPED_TRACE(FileGridColumnCaptions[static_cast<size_t>(Column)]);
    Grid.RemoveAllFiles();
    for (const File& F : Files) {
      Reader->Files[F.Path] = {F.Size, F.Attributes, F.Created, F.Written, F.Type, 0};
      Grid.AddFile(F.Path, F.NewName, F.Path[1] != 'y');
    }
    EXPECT_EQ(Click(Column), Expected);
    EXPECT_EQ(Click(Column, true), Expected);
  }
}

TEST_F(FileGridTest, CheckChangesResortByTheCheckColumnButAUserClickLeavesTheRowAlone) {
  AddFiles({"/d/a", "/d/b", "/d/c"});
  Grid.HeaderClick(fcCheck);
  Grid.CheckBoxChanged(2, false);  // a user's click
  EXPECT_EQ(Order(), "/d/a /d/b /d/c-");
  Grid.RefreshFiles();  // the next re-sort moves it
  EXPECT_EQ(Order(), "/d/c- /d/a /d/b");
  Grid.InvertChecks();
  EXPECT_EQ(Order(), "/d/a- /d/b- /d/c");
  Grid.CheckNone();
  EXPECT_EQ(Order(), "/d/a- /d/b- /d/c-");
}

TEST_F(FileGridTest, NewNamesResortAtOnceOrOnceWhenThePreviewBracketClosesKeepingTheSelection) {
  AddFiles({"/d/a", "/d/b", "/d/c"});
  Grid.HeaderClick(fcNewFileName);
  Grid.SetNewFileName(0, "z");
  Select({0});
  EXPECT_EQ(Order(), "/d/b* /d/c /d/a");
  Grid.BeginUpdate();
  for (int I = 0; I < 3; ++I) Grid.SetNewFileName(I, std::to_string(3 - I));
  EXPECT_EQ(Order(), "/d/b* /d/c /d/a");  // positions stay put inside the bracket
  Grid.EndUpdate();
  EXPECT_EQ(Order(), "/d/a /d/c /d/b*");  // the selection follows the re-sort
}

// Text keys are ranked between sorts and only changes re-ranked: every sort must agree with the plain comparison.
TEST_F(FileGridTest, EverySortAgreesWithCompareEntriesThroughRandomEdits) {
  std::mt19937 Random(5);
  const char* const Parts[] = {"a", "A", "b", "B", "\xC3\xA4", "c", " ", "1", "10", "2", ""};
  const char* const Extensions[] = {".txt", ".TXT", ".md", "", ".tar.gz"};
  const int Columns[] = {fcFileName, fcNewFileName, fcPath, fcExtension, fcDescription, fcSize, fcCheck};
  auto Pick = [&](const auto& List) { return std::string(List[Random() % std::size(List)]); };
  auto Name = [&] { return Pick(Parts) + Pick(Parts) + Pick(Extensions); };
  auto File = [&] {
    const std::string Path = "/" + Pick(Parts) + "/" + Name();
    Reader->Put(Path, Random() % 4).Description = Pick(Parts);
    return Path;
  };
  auto Position = [&] { return static_cast<int>(Random() % static_cast<unsigned>(Grid.FileCount())); };
  std::string Gone;  // the path of an entry just renamed or removed
  for (int Step = 0; Step < 400; ++Step) {
    const unsigned Action = Random() % 6;
    const int Touched = Grid.FileCount() ? Position() : -1;
    if (Touched >= 0 && (Action == 2 || Action == 5)) Gone = Grid.GetFileName(Touched);
    if (Action == 0 || Grid.FileCount() == 0) Grid.AddFile(File());
    else if (Action == 1) Grid.SetNewFileName(Position(), Name());
    else if (Action == 2 && Step % 2) Grid.UpdateFile(Touched, File());
    else if (Action == 2) Grid.RenamedFile(Touched, File());
    else if (Action == 3) Grid.HeaderClick(Columns[Random() % std::size(Columns)]);
    else if (Action == 5) {
      Select({Touched});
      Grid.RemoveSelectedFiles();
    } else {
      Grid.BeginUpdate();
      for (int I = 0; I < 5; ++I) Grid.AddFile(File());
      Grid.SetNewFileName(Position(), Name());
      Grid.EndUpdate();
    }
    for (int I = 1; Grid.SortColumn() != -1 && I < Grid.FileCount(); ++I)
      ASSERT_LE(Grid.CompareEntries(Grid.File(I - 1), Grid.File(I)), 0) << "step " << Step << ", row " << I;
    // The index of listed paths follows every change, duplicates included.
    std::set<std::string> Listed;
    for (int I = 0; I < Grid.FileCount(); ++I) ASSERT_TRUE(Grid.ContainsFile(*Listed.insert(Grid.GetFileName(I)).first));
    ASSERT_EQ(Grid.ContainsFile(Gone), Listed.count(Gone) > 0) << "step " << Step;
  }
  EXPECT_GT(Grid.FileCount(), 100);
  // Many new names at once are sorted in two halves that are then merged; equal names still rank equal.
  std::vector<std::string> Many;
  for (int I = 0; I < 20000; ++I) Many.push_back(File());
  Grid.AddFiles(Many);
  Grid.ClearSort();
  Grid.HeaderClick(fcFileName);
  for (int I = 1; I < Grid.FileCount(); ++I) ASSERT_LE(Grid.CompareEntries(Grid.File(I - 1), Grid.File(I)), 0) << I;
}
