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
  void List(const std::vector<std::string>& Names) {
    for (const std::string& Name : Names) {
      if (!fs::exists(Dir + Name)) WriteFileAtomic(Dir + Name, "content of " + Name);
      Grid.AddFile(Dir + Name);
    }
    Before = Contents();
  }
  // Empties the folder, the grid and the records for the next case of a table.
  void Reset() {
    for (const auto& Entry : fs::directory_iterator(Dir)) fs::remove(Entry.path());
    Grid.RemoveAllFiles();
    Dialogs = TScriptedDialogs();
    View.Events.clear();
  }

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
  // A counter rule with the given numbers.
  const auto Counter = [](const char* Start, const char* Step, const char* Width) {
    TRenameSettings S = SearchAndReplace("a", "<zaehler>");
    S.CounterStartValue = Start, S.CounterStepSize = Step, S.CounterSameWidth = true, S.CounterWidth = Width;
    return S;
  };
  struct Case {
    const char* Name;
    TRenameSettings Settings;
    std::string_view Message;
  } Cases[] = {
      {"quote inside the search text", SearchAndReplace("a\"b", "x"), QuoteMessage},
      {"a \">\" that closes no field", SearchAndReplace("a", "x>"), FieldOverlapMessage},
      {"bad counter start", Counter("x", "1", "3"), InvalidNumberMessage},
      {"bad counter step", Counter("1", "1.5", "3"), InvalidNumberMessage},
      {"bad width with same width on", Counter("1", "1", ""), InvalidNumberMessage},
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

TEST_F(PassTest, RenamingRenamesInPlaceAndNeverLosesAFile) {
  TRenameSettings ToJpg, Upper, NoExtension;
  ToJpg.DelExtension = ToJpg.AddExtension = true;
  ToJpg.FileExtension = "jpg";
  Upper.UpperCase = true;
  NoExtension.DelExtension = true;
  struct Case {
    const char* Name;
    std::vector<std::string> Files;
    TRenameSettings Settings;
    int Renamed;
    std::set<std::string> After;
  } Cases[] = {
      {"an existing target and an unchanged name are left alone", {"a.txt", "a.jpg", "b.txt"}, ToJpg, 1,
       {"a.txt", "a.jpg", "b.jpg"}},
      {"of two files given one name only the first is renamed", {"x1.txt", "x2.txt"},
       SearchAndReplace("\"x?", "y"), 1, {"y.txt", "x2.txt"}},
      {"a change of case counts", {"photo.jpg"}, Upper, 1, {"PHOTO.JPG"}},
      {"a name with a slash is refused", {"s.txt"}, SearchAndReplace("s", "sub/s"), 0, {"s.txt"}},
      {"an empty name is refused", {".profile"}, NoExtension, 0, {".profile"}},
      {"bytes that are not UTF-8 survive", {"\xff-a.txt"}, Upper, 1, {"\xff-A.TXT"}},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    Reset();
    List(C.Files);
    EXPECT_EQ(Passes.StartRenaming(C.Settings, State), C.Renamed);
    EXPECT_EQ(Names(), C.After);
    EXPECT_EQ(Contents(), Before);
    for (int I = 0; I < Grid.FileCount(); ++I) EXPECT_TRUE(fs::exists(Grid.GetFileName(I)));  // entries follow
    EXPECT_EQ(NewNames(), std::vector<std::string>(C.Files.size(), ""));
    EXPECT_EQ(Messages(), std::vector<std::string>{"Quorvane 2: " + std::to_string(C.Renamed) + " file(s) renamed."});
    EXPECT_EQ(View.Events, (std::vector<std::string>{"renaming on", "progress of " + std::to_string(C.Files.size()),
                                                     "progress hidden", "renaming off"}));
  }
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
    Reset();
    for (const char* Name : {"r1", "r2", "r3", "w4"}) WriteFileAtomic(Dir + Name, Name);
    for (const char* Name : {"r1", "r2", "r3"}) ::chmod((Dir + Name).c_str(), 0444);
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

TEST_F(PassTest, MetadataIsReadOncePerCheckedFileAndOnlyWhenAFieldNeedsIt) {
  struct : TFileMetadataReader {
    TFileMetadata Read(const std::string& Path, unsigned Groups) override {
      Reads.push_back(std::string(NamePart(Path)) + ":" + std::to_string(Groups));
      TFileMetadata Found;
      Found.Artist = "AC/DC", Found.Track = "2/9";
      return Found;
    }
    std::vector<std::string> Reads;
  } Metadata;
  TRenamePasses WithMetadata{Grid, *Reader, Dialogs, View, {&SystemClock(), ".", &Metadata}};
  List({"a.mp3", "b.mp3", "c.mp3"});
  Grid.CheckBoxChanged(2, false);
  WithMetadata.Preview(SearchAndReplace(".mp3", "-<zaehler><datum,d,j><name>.mp3"), State);
  EXPECT_TRUE(Metadata.Reads.empty());
  EXPECT_EQ(WithMetadata.StartRenaming(SearchAndReplace(".mp3", "-<nummer> <interpret><kamera>.mp3"), State), 2);
  EXPECT_EQ(Metadata.Reads, (std::vector<std::string>{"a.mp3:3", "b.mp3:3"}));
  EXPECT_EQ(Names(), (std::set<std::string>{"a-02 AC.DC.mp3", "b-02 AC.DC.mp3", "c.mp3"}));
}
