// Sorting the file list: the header's three-state click, every column's key,
// the name tie-break and the selection following the entries.
#include <random>

#include "FileGridTestUtil.h"

using filegridtest::FileGridTest;

TEST_F(FileGridTest, ThreeClicksOnOneColumnGiveAscendingDescendingThenTheOrderFromBefore) {
  AddFiles({"/d/b", "/d/c", "/d/a", "/d/d"}, {20, 5, 30, 10});
  Select({0});
  Grid.MoveSelectedFiles(mdBottom);  // a manual order: c a d b
  const std::string Manual = Order();
  Grid.HeaderClick(fcSize);
  EXPECT_EQ(Order(), "/d/c /d/d /d/b /d/a");
  EXPECT_EQ(Grid.SortDirection(), sdAscending);
  Grid.HeaderClick(fcSize);
  EXPECT_EQ(Order(), "/d/a /d/b /d/d /d/c");
  EXPECT_EQ(Grid.SortDirection(), sdDescending);
  Grid.HeaderClick(fcSize);
  EXPECT_EQ(Grid.SortColumn(), -1);
  EXPECT_EQ(Order(), Manual);
}

TEST_F(FileGridTest, ClickingAnotherColumnStartsItAscendingWithoutRenumbering) {
  AddFiles({"/d/b", "/d/a"}, {1, 2});
  Grid.HeaderClick(fcSize);
  Grid.HeaderClick(fcSize);
  Grid.HeaderClick(fcFileName);
  EXPECT_EQ(Grid.SortColumn(), fcFileName);
  EXPECT_EQ(Grid.SortDirection(), sdAscending);
  EXPECT_EQ(Order(), "/d/a /d/b");
  Grid.HeaderClick(fcFileName);
  Grid.HeaderClick(fcFileName);
  EXPECT_EQ(Order(), "/d/b /d/a");  // the order from before the first click
}

TEST_F(FileGridTest, OnlyTheLeftButtonAndKnownColumnsSort) {
  AddFiles({"/d/b", "/d/a"});
  Grid.HeaderClick(fcFileName, mbRight);
  Grid.HeaderClick(10);
  Grid.HeaderClick(-1);
  EXPECT_EQ(Grid.SortColumn(), -1);
  EXPECT_EQ(Order(), "/d/b /d/a");
}

TEST_F(FileGridTest, AFileAddedWhileSortedGoesToItsPlaceAndAfterSortingEndsToTheEnd) {
  AddFiles({"/d/b", "/d/d"});
  Grid.HeaderClick(fcFileName);
  AddFiles({"/d/c", "/d/a"});
  EXPECT_EQ(Order(), "/d/a /d/b /d/c /d/d");
  Grid.HeaderClick(fcFileName);
  Grid.HeaderClick(fcFileName);
  EXPECT_EQ(Order(), "/d/b /d/d /d/c /d/a");
}

TEST_F(FileGridTest, EachColumnSortsByItsOwnKeyThenByName) {
  struct Case {
    const char* Title;
    int Column;
    const char* Order;
  } Cases[] = {
      {"check: unchecked first, ties by name", fcCheck, "/y/b.TXT /z/a.dat /x/c.txt /x/d.txt"},
      {"filename", fcFileName, "/z/a.dat /y/b.TXT /x/c.txt /x/d.txt"},
      {"new filename, empty first", fcNewFileName, "/y/b.TXT /x/d.txt /x/c.txt /z/a.dat"},
      {"path is the whole path", fcPath, "/x/c.txt /x/d.txt /y/b.TXT /z/a.dat"},
      {"extension without regard to case", fcExtension, "/z/a.dat /y/b.TXT /x/c.txt /x/d.txt"},
      {"size as a 64-bit number", fcSize, "/y/b.TXT /x/c.txt /z/a.dat /x/d.txt"},
      {"description without regard to case", fcDescription, "/z/a.dat /y/b.TXT /x/d.txt /x/c.txt"},
      {"attributes", fcAttributes, "/x/c.txt /x/d.txt /z/a.dat /y/b.TXT"},
      {"creation date, none first", fcCreationDate, "/x/d.txt /z/a.dat /y/b.TXT /x/c.txt"},
      {"last write date", fcLastWriteDate, "/x/c.txt /z/a.dat /y/b.TXT /x/d.txt"},
  };
  struct File {
    const char* Path;
    uint64_t Size;
    const char* Description;
    uint32_t Attributes;
    double Created, Written;
    bool Checked;
    const char* NewName;
  } Files[] = {
      {"/x/d.txt", uint64_t{5} << 32, "Beta", 32, 0, 45000.5, true, "a"},
      {"/z/a.dat", 1u << 31, "alpha", 33, 30000, 40000, true, "z"},
      {"/y/b.TXT", 7, "beta", 34, 40000.25, 40000.5, false, ""},
      {"/x/c.txt", 8, "Gamma", 32, 40000.75, 39999.9, true, "m"},
  };
  for (const Case& C : Cases) {
    for (bool Descending : {false, true}) {
      SCOPED_TRACE(std::string(C.Title) + (Descending ? ", descending" : ""));
      Grid.RemoveAllFiles();
      Grid.SetSortState(-1, sdAscending);
      for (const File& F : Files) {
        TFileInfo& Info = Reader->Put(F.Path, F.Size);
        Info.Description = F.Description;
        Info.Attributes = F.Attributes;
        Info.CreationDate = F.Created;
        Info.LastWriteDate = F.Written;
        Grid.AddFile(F.Path, F.NewName, F.Checked);
      }
      Grid.HeaderClick(C.Column);
      if (Descending) Grid.HeaderClick(C.Column);
      std::string Expected = C.Order;
      if (Descending) {
        // Every comparison, the tie-break included, is turned round.
        std::vector<std::string> Parts;
        for (size_t Start = 0, End; Start <= Expected.size(); Start = End + 1) {
          End = std::min(Expected.find(' ', Start), Expected.size());
          Parts.push_back(Expected.substr(Start, End - Start));
        }
        Expected.clear();
        for (auto It = Parts.rbegin(); It != Parts.rend(); ++It) Expected += (Expected.empty() ? "" : " ") + *It;
      }
      EXPECT_EQ(Order(), Expected);
    }
  }
}

TEST_F(FileGridTest, DatesBeforeTheZeroDateSortInTimeOrder) {
  // -2.0 is 28 December 1899; -1.0, -1.25 and -1.5 are 00:00, 06:00 and 12:00 of the 29th.
  const double Dates[] = {-1.5, 0.25, -1.25, -2.0, -1.0};
  for (size_t I = 0; I < std::size(Dates); ++I) {
    const std::string Path = "/d/" + std::to_string(I);
    Reader->Put(Path).LastWriteDate = Dates[I];
    Grid.AddFile(Path);
  }
  Grid.HeaderClick(fcLastWriteDate);
  EXPECT_EQ(Order(), "/d/3 /d/4 /d/2 /d/0 /d/1");
}

TEST_F(FileGridTest, NamesThatDifferOnlyInLetterCaseCompareEqual) {
  AddFiles({"/d/b.txt", "/e/B.TXT"});
  Grid.HeaderClick(fcFileName);
  EXPECT_EQ(Grid.CompareEntries(Grid.File(0), Grid.File(1)), 0);
  EXPECT_EQ(Grid.FileCount(), 2);
}

TEST_F(FileGridTest, CompareEntriesUsesTheCurrentColumnAndDirection) {
  AddFiles({"/d/a", "/d/b"}, {2, 1});
  const TFileGridFile& A = Grid.File(0);
  const TFileGridFile& B = Grid.File(1);
  EXPECT_EQ(Grid.CompareEntries(A, B), -1);  // by Index
  Grid.SetSortState(fcSize, sdAscending);
  EXPECT_EQ(Grid.CompareEntries(A, B), 1);
  Grid.SetSortState(fcSize, sdDescending);
  EXPECT_EQ(Grid.CompareEntries(A, B), -1);
  EXPECT_EQ(Grid.CompareEntries(A, A), 0);
}

TEST_F(FileGridTest, ASavedSortStateWithAnUnknownColumnSwitchesSortingOff) {
  Grid.SetSortState(fcSize, sdDescending);
  Grid.SetSortState(42, sdDescending);
  EXPECT_EQ(Grid.SortColumn(), -1);
  EXPECT_EQ(Grid.SortDirection(), sdAscending);
}

TEST_F(FileGridTest, ALoadedSortStateSortsWhenTheLoadingBracketCloses) {
  AddFiles({"/d/b", "/d/a"});
  Grid.BeginUpdate();
  Grid.SetSortState(fcFileName, sdAscending);
  EXPECT_EQ(Order(), "/d/b /d/a");
  Grid.EndUpdate();
  EXPECT_EQ(Order(), "/d/a /d/b");
}

TEST_F(FileGridTest, AUserCheckBoxClickDoesNotMoveTheRowUntilTheNextResort) {
  AddFiles({"/d/a", "/d/b", "/d/c"});
  Grid.HeaderClick(fcCheck);
  Grid.CheckBoxChanged(0, false);
  EXPECT_EQ(Order(), "/d/a /d/b /d/c");
  Grid.CheckBoxChanged(0, true);
  Grid.CheckBoxChanged(2, false);
  Grid.RefreshFiles();
  EXPECT_EQ(Order(), "/d/c /d/a /d/b");
}

TEST_F(FileGridTest, CheckOperationsResortOnlyWhenSortedByTheCheckColumn) {
  AddFiles({"/d/a", "/d/b", "/d/c"});
  Grid.CheckBoxChanged(1, false);
  Grid.HeaderClick(fcCheck);  // b a c
  Grid.InvertChecks();
  EXPECT_EQ(Order(), "/d/a /d/c /d/b");
  Grid.HeaderClick(fcFileName);
  Grid.InvertChecks();
  EXPECT_EQ(Order(), "/d/a /d/b /d/c");
}

TEST_F(FileGridTest, SetNewFileNameResortsOnlyWhenSortedByTheNewName) {
  AddFiles({"/d/a", "/d/b"});
  Grid.HeaderClick(fcNewFileName);
  Grid.SetNewFileName(0, "z");
  EXPECT_EQ(Order(), "/d/b /d/a");
  Grid.HeaderClick(fcFileName);
  Grid.SetNewFileName(0, "zz");
  EXPECT_EQ(Grid.File(0).NewFileName, "zz");
  EXPECT_EQ(Order(), "/d/a /d/b");
}

TEST_F(FileGridTest, ThePreviewBracketResortsByTheNewNameOnceAtTheEnd) {
  AddFiles({"/d/a", "/d/b", "/d/c"});
  Grid.HeaderClick(fcNewFileName);
  Grid.BeginUpdate();
  const char* NewNames[] = {"3", "1", "2"};
  for (int I = 0; I < Grid.FileCount(); ++I) {
    EXPECT_EQ(Grid.GetFileName(I), std::string("/d/") + char('a' + I));  // positions stay put
    Grid.SetNewFileName(I, NewNames[I]);
  }
  Grid.EndUpdate();
  EXPECT_EQ(Order(), "/d/b /d/c /d/a");
}

TEST_F(FileGridTest, TheSelectionStaysOnTheSameFilesThroughEveryResort) {
  AddFiles({"/d/e", "/d/b", "/d/d", "/d/a", "/d/c"}, {1, 2, 3, 4, 5});
  Select({0, 3});
  for (int Column : {fcFileName, fcFileName, fcFileName, fcSize, fcSize, fcPath}) {
    SCOPED_TRACE(Column);
    Grid.HeaderClick(Column);
    EXPECT_EQ(SelectedRows().size(), 2u);
    std::set<std::string> Names;
    for (int Row : SelectedRows()) Names.insert(Grid.GetFileName(Row));
    EXPECT_EQ(Names, (std::set<std::string>{"/d/e", "/d/a"}));
  }
}

TEST_F(FileGridTest, EverySortAgreesWithCompareEntriesThroughRandomEdits) {
  // Between sorts the list ranks text keys and re-ranks only what changed;
  // whatever the history, the order must be the one the keys give.
  std::mt19937 Random(5);
  const char* const Parts[] = {"a", "A", "b", "B", "\xC3\xA4", "c", " ", "1", "10", "2"};
  const char* const Extensions[] = {".txt", ".TXT", ".md", "", ".tar.gz"};
  auto RandomName = [&] {
    std::string Name;
    for (int I = 0, N = 1 + static_cast<int>(Random() % 3); I < N; ++I) Name += Parts[Random() % std::size(Parts)];
    return Name + Extensions[Random() % std::size(Extensions)];
  };
  auto RandomFile = [&] {
    const std::string Path = std::string("/") + char('p' + Random() % 3) + "/" + RandomName();
    TFileInfo& Info = Reader->Put(Path, Random() % 4);
    Info.Description = Parts[Random() % std::size(Parts)];
    return Path;
  };
  auto RandomPosition = [&] { return static_cast<int>(Random() % static_cast<unsigned>(Grid.FileCount())); };
  const int Columns[] = {fcFileName, fcNewFileName, fcPath, fcExtension, fcDescription, fcSize, fcCheck};
  for (int Step = 0; Step < 400; ++Step) {
    switch (Random() % 5) {
      case 0: Grid.AddFile(RandomFile()); break;
      case 1: if (Grid.FileCount()) Grid.SetNewFileName(RandomPosition(), RandomName()); break;
      case 2: if (Grid.FileCount()) Grid.UpdateFile(RandomPosition(), RandomFile()); break;
      case 3: Grid.HeaderClick(Columns[Random() % std::size(Columns)]); break;
      case 4:
        Grid.BeginUpdate();
        for (int I = 0; I < 5; ++I) Grid.AddFile(RandomFile());
        if (Grid.FileCount()) Grid.SetNewFileName(RandomPosition(), RandomName());
        Grid.EndUpdate();
        break;
    }
    if (Grid.SortColumn() == -1) continue;
    for (int I = 1; I < Grid.FileCount(); ++I) {
      ASSERT_LE(Grid.CompareEntries(Grid.File(I - 1), Grid.File(I)), 0)
          << "step " << Step << ", column " << Grid.SortColumn() << ", rows " << I - 1 << " and " << I << ": "
          << Grid.GetFileName(I - 1) << " / " << Grid.GetFileName(I);
    }
  }
  EXPECT_GT(Grid.FileCount(), 100);
}
