#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ctime>
#include <filesystem>
#include <map>
#include <set>

#include "base/VmFileLib.h"
#include "rename/RenamePasses.h"
#include "rename/TextChecks.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

namespace {

// Records what the pass asked of the window.
class TRecordingView : public TPassView {
 public:
  void SetPreviewRunning(bool Running) override { Events.push_back(Running ? "preview on" : "preview off"); }
  void SetRenamingRunning(bool Running) override { Events.push_back(Running ? "renaming on" : "renaming off"); }
  void ShowProgress(int Maximum) override { Events.push_back("progress of " + std::to_string(Maximum)); }
  void SetProgress(int Position) override { LastProgress = Position; }
  void HideProgress() override { Events.push_back("progress hidden"); }
  std::vector<std::string> Events;
  int LastProgress = -1;
};

// A temporary folder with files, the grid listing them, and the pass objects.
class PassTest : public ::testing::Test {
 protected:
  TTempDir Folder;
  const std::string Dir = Folder.Path.string() + '/';

  // Creates the files (each holds its own name, so contents identify them) and lists them in order.
  void List(std::initializer_list<std::string> Names) {
    for (const std::string& Name : Names) {
      if (!fs::exists(Dir + Name)) WriteFileAtomic(Dir + Name, "content of " + Name);
      Grid.AddFile(Dir + Name);
    }
    Before = Contents();
  }
  void MakeReadOnly(const std::string& Name) { ::chmod((Dir + Name).c_str(), 0444); }

  // Every file's content, whatever its name: a pass may rename but never lose or change one.
  std::multiset<std::string> Contents() const {
    std::multiset<std::string> Result;
    for (const auto& Entry : fs::directory_iterator(Dir))
      if (!fs::is_symlink(Entry.path())) Result.insert(ReadWholeFile(Entry.path()));
    return Result;
  }
  std::set<std::string> Names() const {
    std::set<std::string> Result;
    for (const auto& Entry : fs::directory_iterator(Dir)) Result.insert(Entry.path().filename());
    return Result;
  }
  std::vector<std::string> NewNames() const {
    std::vector<std::string> Result;
    for (int I = 0; I < Grid.FileCount(); ++I) Result.push_back(Grid.File(I).NewFileName);
    return Result;
  }
  std::vector<std::string> Messages() const {
    std::vector<std::string> Result;
    for (const TMessage& M : Dialogs.Shown) Result.push_back(M.Caption + ": " + M.Text);
    return Result;
  }
  void TearDown() override { EXPECT_EQ(Contents(), Before) << "a file was lost or changed"; }

  TMemoryFileGridRows Rows;
  std::shared_ptr<TLinuxFileInfoReader> Reader = std::make_shared<TLinuxFileInfoReader>();
  TVmVirtualFileGrid Grid{Rows, Reader};
  TScriptedDialogs Dialogs;
  TRecordingView View;
  TRenamePasses Passes{Grid, *Reader, Dialogs, View};
  TPassState State;
  TRenameSettings Settings;
  std::multiset<std::string> Before;
};

TRenameSettings SearchAndReplace(std::string Search, std::string Replace) {
  TRenameSettings Settings;
  Settings.SearchAndReplace = true;
  Settings.SearchString = std::move(Search);
  Settings.ReplaceString = std::move(Replace);
  return Settings;
}

}  // namespace

TEST_F(PassTest, PreviewNamesCheckedFilesAndCountsOnlyThem) {
  List({"a.txt", "b.txt", "c.txt"});
  Grid.CheckBoxChanged(1, false);
  Grid.SetNewFileName(1, "stale");
  Settings = SearchAndReplace(".txt", "-<zaehler>.txt");
  Passes.Preview(Settings, State);
  EXPECT_EQ(NewNames(), (std::vector<std::string>{"a-1.txt", "", "c-2.txt"}));
  EXPECT_EQ(State.CounterValue, 3);
  EXPECT_EQ(View.Events, (std::vector<std::string>{"preview on", "preview off"}));
  EXPECT_TRUE(Dialogs.Shown.empty());
  EXPECT_FALSE(Rows.IsUpdating());
}

TEST_F(PassTest, RefusedSettingsShowTheirMessageAndChangeNothing) {
  struct Case {
    const char* Name;
    TRenameSettings Settings;
    std::string_view Message;
  } Cases[] = {
      {"quote inside the search text", SearchAndReplace("a\"b", "x"), QuoteMessage},
      {"a \">\" that closes no field", SearchAndReplace("a", "x>"), FieldOverlapMessage},
      {"bad counter start", [] { auto S = SearchAndReplace("a", "<zaehler>"); S.CounterStartValue = "x"; return S; }(),
       InvalidNumberMessage},
      {"bad counter step", [] { auto S = SearchAndReplace("a", "<zaehler>"); S.CounterStepSize = "1.5"; return S; }(),
       InvalidNumberMessage},
      {"bad width with same width on",
       [] { auto S = SearchAndReplace("a", "<zaehler>"); S.CounterSameWidth = true; S.CounterWidth = ""; return S; }(),
       InvalidNumberMessage},
  };
  List({"a.txt"});
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    for (bool Renaming : {false, true}) {
      Grid.SetNewFileName(0, "kept");
      Dialogs.Shown.clear();
      View.Events.clear();
      if (Renaming) {
        EXPECT_EQ(Passes.StartRenaming(C.Settings, State), 0);
      } else {
        Passes.Preview(C.Settings, State);
      }
      ASSERT_EQ(Dialogs.Shown.size(), 1u);
      EXPECT_EQ(Dialogs.Shown[0].Caption, "Error");
      EXPECT_EQ(Dialogs.Shown[0].Text, C.Message);
      EXPECT_EQ(NewNames(), std::vector<std::string>{"kept"});
      EXPECT_EQ(View.Events.back(), Renaming ? "renaming off" : "preview off");
      EXPECT_EQ(Names(), std::set<std::string>{"a.txt"});
    }
  }
}

TEST_F(PassTest, RenamingRenamesInPlaceAndRefusesWhatWouldLoseAFile) {
  // Each file meets one rule of the safe rename; the counter is unused, so names depend on the file alone.
  List({"keep.txt", "taken.txt", "taken.TXT.new", "slash.txt", ".profile", "same", "case.txt", "\xff-bad.txt"});
  Settings.DelExtension = true;
  Settings.AddExtension = true;
  Settings.FileExtension = "new";
  Settings.SearchAndReplace = true;
  Settings.SearchString = "slash";
  Settings.ReplaceString = "sub/slash";
  // Rules: "keep.txt" -> "keep.new"; "taken.txt" -> "taken.new" (free);
  // "taken.TXT.new" -> "taken.TXT.new" (unchanged); "slash.txt" -> "sub/slash.new" (refused);
  // ".profile" -> ".new"; "same" -> "same.new"; "case.txt" -> "case.new".
  EXPECT_EQ(Passes.StartRenaming(Settings, State), 6);
  EXPECT_EQ(Names(), (std::set<std::string>{"keep.new", "taken.new", "taken.TXT.new", "slash.txt", ".new", "same.new",
                                            "case.new", "\xff-bad.new"}));
  EXPECT_EQ(Messages(), std::vector<std::string>{"Quorvane 2: 6 file(s) renamed."});
  EXPECT_EQ(Grid.GetFileName(2), Dir + "taken.TXT.new");
  EXPECT_EQ(View.Events, (std::vector<std::string>{"renaming on", "progress of 8", "progress hidden", "renaming off"}));
  EXPECT_EQ(View.LastProgress, 8);
  EXPECT_EQ(NewNames(), std::vector<std::string>(8, ""));
}

TEST_F(PassTest, ExistingTargetsAndEqualNewNamesAreLeftAlone) {
  List({"a.txt", "b.txt", "a.jpg"});
  Settings.DelExtension = true;
  Settings.AddExtension = true;
  Settings.FileExtension = "jpg";
  // a.txt -> a.jpg exists; b.txt -> b.jpg; a.jpg -> a.jpg (same path: succeeds, not counted).
  EXPECT_EQ(Passes.StartRenaming(Settings, State), 1);
  EXPECT_EQ(Names(), (std::set<std::string>{"a.txt", "b.jpg", "a.jpg"}));
  EXPECT_EQ(ReadWholeFile(Dir + "a.jpg"), "content of a.jpg");
  EXPECT_EQ(Grid.GetFileName(0), Dir + "a.txt");
  EXPECT_EQ(Grid.GetFileName(1), Dir + "b.jpg");
}

TEST_F(PassTest, TwoFilesGivenTheSameNameOnlyTheFirstIsRenamed) {
  List({"x1.txt", "x2.txt"});
  Settings = SearchAndReplace("\"x?", "y");
  EXPECT_EQ(Passes.StartRenaming(Settings, State), 1);
  EXPECT_EQ(Names(), (std::set<std::string>{"y.txt", "x2.txt"}));
  EXPECT_EQ(ReadWholeFile(Dir + "y.txt"), "content of x1.txt");
}

TEST_F(PassTest, ACaseOnlyChangeCounts) {
  List({"photo.jpg"});
  Settings.UpperCase = true;
  EXPECT_EQ(Passes.StartRenaming(Settings, State), 1);
  EXPECT_EQ(Names(), std::set<std::string>{"PHOTO.JPG"});
  EXPECT_EQ(Grid.File(0).Name, "PHOTO.JPG");
}

TEST_F(PassTest, AMissingFileIsReportedAndTheCounterMovesOn) {
  List({"a.txt", "gone.txt", "c.txt"});
  Grid.SetNewFileName(1, "previewed");
  fs::remove(Dir + "gone.txt");
  Before = Contents();
  Settings = SearchAndReplace(".txt", "_<zaehler>.txt");
  EXPECT_EQ(Passes.StartRenaming(Settings, State), 2);
  EXPECT_EQ(Names(), (std::set<std::string>{"a_1.txt", "c_2.txt"}));
  EXPECT_EQ(Messages(), (std::vector<std::string>{"Error: Kann auf folgende Datei nicht zugreifen!: \"" + Dir +
                                                      "gone.txt\"",
                                                  "Quorvane 2: 2 file(s) renamed."}));
  EXPECT_EQ(Grid.File(1).NewFileName, "previewed");
}

TEST_F(PassTest, ReadOnlyFilesFollowTheAnswersGiven) {
  struct Case {
    const char* Name;
    std::deque<TModalResult> Answers;
    size_t Questions;
    std::set<std::string> After;
  } Cases[] = {
      {"no, then yes to all", {mrNo, mrYesToAll}, 2, {"r1", "R2", "R3", "W4"}},
      {"no to all", {mrNoToAll}, 1, {"r1", "r2", "r3", "W4"}},
      {"yes each time", {mrYes, mrYes, mrYes}, 3, {"R1", "R2", "R3", "W4"}},
      {"closed without a button counts as yes", {mrNone, mrNo, mrCancel}, 3, {"R1", "r2", "R3", "W4"}},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    for (const auto& Entry : fs::directory_iterator(Dir)) fs::remove(Entry.path());
    Grid.RemoveAllFiles();
    for (const char* Name : {"r1", "r2", "r3", "w4"}) WriteFileAtomic(Dir + Name, Name);
    for (const char* Name : {"r1", "r2", "r3"}) MakeReadOnly(Name);
    List({"r1", "r2", "r3", "w4"});
    Dialogs = TScriptedDialogs(C.Answers);
    TRenameSettings Upper;
    Upper.UpperCase = true;
    Passes.StartRenaming(Upper, State);
    EXPECT_EQ(Names(), C.After);
    ASSERT_EQ(Dialogs.Shown.size(), C.Questions + 1);
    EXPECT_EQ(Dialogs.Shown[0], (TMessage{"\"" + Dir + "r1\" ist schreibgeschützt! Soll die Datei trotzdem umbenannt "
                                          "werden?",
                                          "Confirm", mtConfirmation, {mrYes, mrNo, mrNoToAll, mrYesToAll}}));
  }
}

TEST_F(PassTest, SymbolicLinksAreRenamedThemselves) {
  List({"target.txt"});
  fs::create_symlink("target.txt", Dir + "link.txt");
  Grid.AddFile(Dir + "link.txt");
  Grid.CheckBoxChanged(0, false);
  Settings = SearchAndReplace("link", "renamed");
  EXPECT_EQ(Passes.StartRenaming(Settings, State), 1);
  EXPECT_EQ(fs::read_symlink(Dir + "renamed.txt"), "target.txt");
  EXPECT_EQ(Names(), (std::set<std::string>{"target.txt", "renamed.txt"}));
}

TEST_F(PassTest, NoCheckedFileRenamesNothing) {
  List({"a"});
  Grid.CheckNone();
  Settings.UpperCase = true;
  EXPECT_EQ(Passes.StartRenaming(Settings, State), 0);
  EXPECT_EQ(Messages(), std::vector<std::string>{"Quorvane 2: 0 file(s) renamed."});
}

TEST_F(PassTest, PreviewGivesAMissingFileNoDateRatherThanThePreviousOne) {
  List({"a.txt", "gone.txt", "c.txt"});
  const auto SetYear = [this](const std::string& Name, int Year) {
    std::tm Time{};
    Time.tm_year = Year - 1900, Time.tm_mon = 5, Time.tm_mday = 15, Time.tm_hour = 12;
    const std::time_t Seconds = std::mktime(&Time);
    const timespec Times[2] = {{Seconds, 0}, {Seconds, 0}};
    ::utimensat(AT_FDCWD, (Dir + Name).c_str(), Times, 0);
  };
  SetYear("a.txt", 2020);
  SetYear("c.txt", 2021);
  fs::remove(Dir + "gone.txt");
  Before = Contents();
  Passes.Preview(SearchAndReplace(".txt", "_<datum,d,j>.txt"), State);
  EXPECT_EQ(NewNames(), (std::vector<std::string>{"a_2020.txt", "gone_1899.txt", "c_2021.txt"}));
}
