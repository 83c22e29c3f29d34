#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <set>

#include "base/VmFileLib.h"
#include "rename/Recovery.h"
#include "rename/RenamePasses.h"
#include "rename/TextChecks.h"
#include "support/FaultyFileSystem.h"
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
  void SetProgress(int) override {}
  void HideProgress() override { Events.push_back("progress hidden"); }
  std::vector<std::string> Events;
};

// A temporary folder whose files hold their first names as content, and the passes.
class PassTest : public ::testing::Test {
 protected:
  TTempDir Folder;
  const std::string Dir = Folder.Path.string() + '/';

  void Make(const std::vector<std::string>& Names) {
    for (const std::string& Name : Names) std::ofstream(Dir + Name) << Name;
  }
  // The folder holds these files and nothing else.
  void Remake(const std::vector<std::string>& Names) {
    for (const auto& Entry : fs::directory_iterator(Dir)) fs::remove(Entry.path());
    Make(Names);
  }
  std::vector<TPassFile> Files(const std::vector<std::string>& Names) const {
    std::vector<TPassFile> Result;
    for (const std::string& Name : Names) Result.push_back({static_cast<int>(Result.size()), Dir + Name});
    return Result;
  }
  // Each name on disk with its content.
  std::map<std::string, std::string> Disk() const {
    std::map<std::string, std::string> Result;
    for (const auto& Entry : fs::directory_iterator(Dir))
      Result[Entry.path().filename()] = fs::is_symlink(Entry.path()) ? "link" : ReadFile(Entry.path());
    return Result;
  }
  // A random batch over a few names (collisions, chains, rings, missing and
  // held names): files there or not, listed or not, validated and planned.
  struct TPlan {
    std::map<std::string, std::string> Before;
    std::vector<TPassEntry> Entries;
    std::vector<TPassStep> Steps;
  };
  TPlan RandomPlan(std::mt19937& Random) {
    const std::vector<std::string> Pool = {"a", "b", "c", "d", "e", "f"};
    std::vector<std::string> Existing, Listed;
    for (const std::string& Name : Pool) {
      if (Random() % 4 != 0) Existing.push_back(Name);
      if (Random() % 3 != 0) Listed.push_back(Name);
    }
    Remake(Existing);
    TPlan Plan{Disk(), CollectEntries(Files(Listed)), {}};
    LookUpEntries(Plan.Entries, Fs);
    for (TPassEntry& Entry : Plan.Entries)
      if ((Entry.NewName = Pool[Random() % Pool.size()]) == Entry.Name && Entry.Status == psRename)
        Entry.Status = psUnchanged;
    ValidateEntries(Plan.Entries, Fs);
    Plan.Steps = PlanSteps(Plan.Entries, Fs);
    return Plan;
  }
  static std::vector<std::string> Statuses(const TPassResult& Result) {
    std::vector<std::string> Keys;
    for (const TPassEntry& Entry : Result.Entries) Keys.emplace_back(PassStatusKey(Entry.Status));
    return Keys;
  }

  TFaultyFileSystem Fs;
  TScriptedDialogs Dialogs;
  TRecordingView View;
  TRenamePasses Passes{Fs, Dialogs, View, TFieldContext{}};
  TPassState State;
  TTempDir StateHome;
  TFileJournal Journal{StateHome / "journal"};
};

TRenameSettings SearchAndReplace(std::string Search, std::string Replace) {
  TRenameSettings Settings;
  Settings.SearchAndReplace = true;
  Settings.SearchString = std::move(Search);
  Settings.ReplaceString = std::move(Replace);
  return Settings;
}

}  // namespace

TEST_F(PassTest, RefusedSettingsShowTheirMessageAndChangeNothing) {
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
  Make({"a.txt"});
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    for (bool Renaming : {false, true}) {
      Dialogs.Shown.clear();
      View.Events.clear();
      const auto Result = Renaming ? Passes.StartRenaming(Files({"a.txt"}), C.Settings, State)
                                   : Passes.Preview(Files({"a.txt"}), C.Settings, State);
      EXPECT_FALSE(Result);
      ASSERT_EQ(Dialogs.Shown.size(), 1u);
      EXPECT_EQ(Dialogs.Shown[0].Caption, "Error");
      EXPECT_EQ(Dialogs.Shown[0].Text, C.Message);
      EXPECT_EQ(View.Events.back(), Renaming ? "renaming off" : "preview off");
      EXPECT_EQ(Disk(), (std::map<std::string, std::string>{{"a.txt", "a.txt"}}));
    }
  }
}

// What the preview promises is what the renaming does: the same statuses,
// and on disk exactly the renames it showed.
TEST_F(PassTest, PreviewShowsEveryConflictAndRenamingDoesWhatItShowed) {
  TRenameSettings Upper, NoExtension, Next = SearchAndReplace("f?", "f<zaehler>");
  Upper.UpperCase = true;
  NoExtension.DelExtension = true;
  Next.CounterStartValue = "2";
  struct Case {
    const char* Name;
    std::vector<std::string> Existing, Listed;
    TRenameSettings Settings;
    std::vector<std::string> Statuses;
    std::map<std::string, std::string> After;  // name -> content
  } Cases[] = {
      {"a swap", {"1 - 2.txt", "2 - 1.txt"}, {"1 - 2.txt", "2 - 1.txt"},
       SearchAndReplace("<*> - <*>.txt", "<2> - <1>.txt"), {"rename", "rename"},
       {{"1 - 2.txt", "2 - 1.txt"}, {"2 - 1.txt", "1 - 2.txt"}}},
      {"a chain listed in the unlucky order", {"f1", "f2", "f3"}, {"f1", "f2", "f3"}, Next,
       {"rename", "rename", "rename"}, {{"f2", "f1"}, {"f3", "f2"}, {"f4", "f3"}}},
      {"a chain whose last name is held", {"f1", "f2", "f3", "f4"}, {"f1", "f2", "f3"}, Next,
       {"taken", "taken", "taken"}, {{"f1", "f1"}, {"f2", "f2"}, {"f3", "f3"}, {"f4", "f4"}}},
      {"a rotation of three", {"x-y-z", "z-x-y", "y-z-x"}, {"x-y-z", "z-x-y", "y-z-x"},
       SearchAndReplace("<*>-<*>-<*>", "<3>-<1>-<2>"), {"rename", "rename", "rename"},
       {{"z-x-y", "x-y-z"}, {"y-z-x", "z-x-y"}, {"x-y-z", "y-z-x"}}},
      {"two files given one name: the first keeps it", {"x1.txt", "x2.txt"}, {"x1.txt", "x2.txt"},
       SearchAndReplace("\"x?", "y"), {"rename", "duplicate"}, {{"y.txt", "x1.txt"}, {"x2.txt", "x2.txt"}}},
      {"a name held by a listed file that keeps it", {"a.txt", "A.TXT"}, {"a.txt", "A.TXT"}, Upper,
       {"taken", "unchanged"}, {{"a.txt", "a.txt"}, {"A.TXT", "A.TXT"}}},
      {"invalid names", {"s.txt", ".profile"}, {"s.txt", ".profile"}, SearchAndReplace("\"s", "sub/s"),
       {"invalid-name", "unchanged"}, {{"s.txt", "s.txt"}, {".profile", ".profile"}}},
      {"an empty name", {".profile"}, {".profile"}, NoExtension, {"invalid-name"}, {{".profile", ".profile"}}},
      {"bytes that are not UTF-8 survive", {"\xff-a.txt"}, {"\xff-a.txt"}, Upper, {"rename"},
       {{"\xff-A.TXT", "\xff-a.txt"}}},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    Remake(C.Existing);
    Dialogs.Shown.clear();
    TRenameSettings Settings = C.Settings;
    const std::optional<TPassResult> Preview = Passes.Preview(Files(C.Listed), Settings, State);
    ASSERT_TRUE(Preview);
    EXPECT_EQ(Statuses(*Preview), C.Statuses);
    const std::optional<TPassResult> Renaming = Passes.StartRenaming(Files(C.Listed), Settings, State);
    ASSERT_TRUE(Renaming);
    std::vector<std::string> Done = C.Statuses;
    for (std::string& Status : Done)
      if (Status == "rename") Status = "renamed";
    EXPECT_EQ(Statuses(*Renaming), Done);
    EXPECT_EQ(Disk(), C.After);
    const int Renamed = int(std::count(Done.begin(), Done.end(), "renamed"));
    EXPECT_EQ(Dialogs.Shown.back().Text, std::to_string(Renamed) + " file(s) renamed.");
  }
}

TEST_F(PassTest, AMissingFileIsReportedAndTheCounterMovesOn) {
  Make({"a.txt", "c.txt"});
  const std::optional<TPassResult> Result =
      Passes.StartRenaming(Files({"a.txt", "gone.txt", "c.txt"}), SearchAndReplace(".txt", "_<zaehler>.txt"), State);
  EXPECT_EQ(Result->Renamed, 2);
  EXPECT_EQ(Disk(), (std::map<std::string, std::string>{{"a_1.txt", "a.txt"}, {"c_2.txt", "c.txt"}}));
  EXPECT_EQ(Dialogs.Shown.front().Text, "Kann auf folgende Datei nicht zugreifen!: \"" + Dir + "gone.txt\"");
}

TEST_F(PassTest, AFileChangedAfterThePreviewIsReportedNotRenamed) {
  Make({"a.txt", "b.txt"});
  const TRenameSettings Settings = SearchAndReplace(".txt", ".bak");
  ASSERT_TRUE(Passes.Preview(Files({"a.txt", "b.txt"}), Settings, State));
  fs::remove(Dir + "a.txt");
  WriteFileAtomic(Dir + "a.txt", "another file");
  const std::optional<TPassResult> Result = Passes.StartRenaming(Files({"a.txt", "b.txt"}), Settings, State);
  EXPECT_EQ(Statuses(*Result), (std::vector<std::string>{"changed", "renamed"}));
  EXPECT_EQ(Disk(), (std::map<std::string, std::string>{{"a.txt", "another file"}, {"b.bak", "b.txt"}}));
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
      {"closed without a button counts as yes", {mrNone, mrNo, mrCancel}, 3, {"R1", "r2", "R3", "W4"}},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    Remake({"r1", "r2", "r3", "w4"});
    for (const char* Name : {"r1", "r2", "r3"}) ::chmod((Dir + Name).c_str(), 0444);
    Dialogs = TScriptedDialogs(C.Answers);
    TRenameSettings Upper;
    Upper.UpperCase = true;
    Passes.StartRenaming(Files({"r1", "r2", "r3", "w4"}), Upper, State);
    std::set<std::string> Names;
    for (const auto& [Name, Content] : Disk()) Names.insert(Name);
    EXPECT_EQ(Names, C.After);
    ASSERT_EQ(Dialogs.Shown.size(), C.Questions + 1);
    EXPECT_EQ(Dialogs.Shown[0], (TMessage{"\"" + Dir + "r1\" ist schreibgeschützt! Soll die Datei trotzdem umbenannt "
                                          "werden?",
                                          "Confirm", mtConfirmation, {mrYes, mrNo, mrNoToAll, mrYesToAll}}));
  }
}

TEST_F(PassTest, LinksCasesAndDatesAreHandledAsTheFileSystemHasThem) {
  TRenameSettings Upper;
  Upper.UpperCase = true;
  Make({"target.txt", "photo.jpg", "dated.txt"});
  fs::create_symlink("target.txt", Dir + "link.txt");
  fs::create_hard_link(Dir + "target.txt", Dir + "TARGET.TXT");
  // A symbolic link is renamed itself; a new name that is another link to the
  // same file is refused; in a folder that ignores case a change of case
  // goes through a temporary name.
  Fs.IgnoreCase = false;
  auto Result = Passes.StartRenaming(Files({"link.txt", "target.txt"}), Upper, State);
  EXPECT_EQ(Statuses(*Result), (std::vector<std::string>{"renamed", "same-file"}));
  EXPECT_EQ(fs::read_symlink(Dir + "LINK.TXT"), "target.txt");
  Fs.IgnoreCase = true;
  Fs.Renames.clear();
  Result = Passes.StartRenaming(Files({"photo.jpg"}), Upper, State);
  EXPECT_EQ(Fs.Renames, (std::vector<std::string>{"photo.jpg -> .quorvane-1.tmp", ".quorvane-1.tmp -> PHOTO.JPG"}));
  // The preview gives a file that is gone no date rather than the previous one's.
  std::tm Time{};
  Time.tm_year = 2020 - 1900, Time.tm_mon = 5, Time.tm_mday = 15, Time.tm_hour = 12;
  const timespec Times[2] = {{std::mktime(&Time), 0}, {std::mktime(&Time), 0}};
  ::utimensat(AT_FDCWD, (Dir + "dated.txt").c_str(), Times, 0);
  Result = Passes.Preview(Files({"dated.txt", "gone.txt"}), SearchAndReplace(".txt", "_<datum,d,j>.txt"), State);
  EXPECT_EQ(Result->Entries[0].NewName, "dated_2020.txt");
  EXPECT_EQ(Result->Entries[1].NewName, "gone_1899.txt");
}

// Where many names are looked up in one folder it is listed once instead:
// the answers must be the same, down a chain of 300 renames, also when the
// listing fails half-way.
TEST_F(PassTest, AFolderListedOnceGivesTheSameAnswersAsLookingUpEachName) {
  std::vector<std::string> Names;
  for (int I = 0; I < 300; ++I) Names.push_back("f" + std::to_string(I));
  Make(Names);
  for (const auto& [Held, Cut] : {std::pair{true, false}, {false, false}, {true, true}}) {
    SCOPED_TRACE(std::string(Held ? "the last name is held" : "the last name is free") + (Cut ? ", listing cut" : ""));
    Fs.CutListings = Cut;
    if (Held) Make({"f300"});
    else fs::remove(Dir + "f300");
    std::vector<TPassEntry> Entries = CollectEntries(Files(Names));
    LookUpEntries(Entries, Fs);
    for (size_t I = 0; I < Entries.size(); ++I) Entries[I].NewName = "f" + std::to_string(I + 1);
    ValidateEntries(Entries, Fs);
    EXPECT_EQ(std::count_if(Entries.begin(), Entries.end(), [](const TPassEntry& E) { return E.Status == psTaken; }),
              Held ? 300 : 0);
  }
  Fs.CutListings = false;
  // Looked up by listing, and validated against that listing: the same
  // files found, as the same inodes, and the same conflicts.
  Names.push_back("gone");
  Make({"g"});
  std::vector<TPassEntry> Listed = CollectEntries(Files(Names)), Stated = Listed;
  TFolderListings Listings;
  LookUpEntries(Listed, Fs, true, &Listings);
  LookUpEntries(Stated, Fs);
  for (std::vector<TPassEntry>* Entries : {&Listed, &Stated})
    for (size_t I = 0; I < Names.size(); ++I) (*Entries)[I].NewName = I == 0 ? "g" : "f" + std::to_string(I + 1);
  ValidateEntries(Listed, Fs, &Listings);
  ValidateEntries(Stated, Fs);
  for (size_t I = 0; I < Names.size(); ++I) {
    EXPECT_EQ(Listed[I].Found, Stated[I].Found) << Names[I];
    EXPECT_TRUE(Listed[I].File.SameInode(Stated[I].File)) << Names[I];
    EXPECT_EQ(Listed[I].Status, Stated[I].Status) << Names[I];
  }
  EXPECT_TRUE(Listed[0].File.InodeOnly);
  EXPECT_EQ(Listed[0].Status, psTaken);
}

// Random batches over a few names (collisions, chains, rings, missing and
// held names) with a fault at a random step: nothing is ever lost or
// replaced, each entry is under its new name exactly when it says so, and no
// temporary name is left.
TEST_F(PassTest, RandomBatchesNeverLoseAFileWhateverFails) {
  std::mt19937 Random(20261206);
  for (int Round = 0; Round < 200; ++Round) {
    SCOPED_TRACE("round " + std::to_string(Round));
    auto [Before, Entries, Steps] = RandomPlan(Random);
    Fs.Calls = 0;
    Fs.FailAt = int(Random() % (Steps.size() + 2));
    Fs.RefuseNoReplace = Random() % 3 == 0;
    Fs.RefuseLinks = Random() % 2 == 0;
    Fs.Intruder = Random() % 2 == 0 ? "intruder" : "";
    size_t Told = 0;
    CommitSteps(Entries, Steps, Fs, [&](const TPassEntry&) { return ++Told > 0; });
    Fs.RefuseNoReplace = false;

    std::map<std::string, std::string> Expected = Before;
    for (const TPassEntry& Entry : Entries)
      if (Entry.Status == psRenamed) Expected.erase(Entry.Name);
    for (const TPassEntry& Entry : Entries)
      if (Entry.Status == psRenamed) Expected[Entry.NewName] = Before.at(Entry.Name);
    std::map<std::string, std::string> After = Disk();
    // An intruder may only stand on a name that nothing else took.
    std::erase_if(After, [&](const auto& Item) { return Item.second == "intruder" && !Expected.contains(Item.first); });
    EXPECT_EQ(After, Expected);
    for (const TPassEntry& Entry : Entries)
      EXPECT_TRUE(Entry.Status != psRename) << Entry.Name << " has no outcome";
  }
}

TEST_F(PassTest, MetadataIsReadOncePerFileAndOnlyWhenAFieldNeedsIt) {
  struct : TFileMetadataReader {
    TFileMetadata Read(const std::string& Path, unsigned Groups) override {
      Reads.push_back(fs::path(Path).filename().string() + ":" + std::to_string(Groups));
      TFileMetadata Found;
      Found.Artist = "AC/DC", Found.Track = "2/9";
      return Found;
    }
    std::vector<std::string> Reads;
  } Metadata;
  TRenamePasses WithMetadata{Fs, Dialogs, View, {&SystemClock(), ".", &Metadata}};
  Make({"a.mp3", "b.mp3"});
  WithMetadata.Preview(Files({"a.mp3", "b.mp3"}), SearchAndReplace(".mp3", "-<zaehler><datum,d,j><name>.mp3"), State);
  EXPECT_TRUE(Metadata.Reads.empty());
  WithMetadata.StartRenaming(Files({"a.mp3", "b.mp3"}), SearchAndReplace(".mp3", "-<nummer> <interpret><kamera>.mp3"),
                             State);
  EXPECT_EQ(Metadata.Reads, (std::vector<std::string>{"a.mp3:3", "b.mp3:3"}));
  EXPECT_EQ(Disk(), (std::map<std::string, std::string>{{"a-02 AC.DC.mp3", "a.mp3"}, {"b-02 AC.DC.mp3", "b.mp3"}}));
}

// Random plans, the process stopped
// dead before each call that changes the disk in turn, some through link and
// unlink: undo brings every file back under its old name, finish every file
// on under its new one, and no temporary name stays. A second run finds
// nothing left to do.
TEST_F(PassTest, APassStoppedDeadAtAnyStepIsUndoneOrFinished) {
  for (unsigned Seed = 1; Seed <= 30; ++Seed) {
    bool Stopped = true;
    for (int StopAt = 0; Stopped; ++StopAt) {
      for (const TRecoveryGoal Goal : {rgUndo, rgFinish}) {
        SCOPED_TRACE("plan " + std::to_string(Seed) + ", stopped at call " + std::to_string(StopAt));
        std::mt19937 Random(Seed);
        auto [Before, Entries, Steps] = RandomPlan(Random);
        Fs.RefuseNoReplace = Seed % 3 == 0;
        Fs.Calls = 0, Fs.StopAt = StopAt;
        ASSERT_EQ(Journal.Begin("rename", Entries, Steps), "");
        Stopped = false;
        try {
          CommitSteps(Entries, Steps, Fs, [&](const TPassEntry&) { return Journal.StepDone(), true; });
          Journal.End();
        } catch (const TStopDead&) {
          Stopped = true;
        }
        Fs.StopAt = -1, Fs.RefuseNoReplace = false;
        const TJournal Pass = ReadJournalFile(Journal.Path());
        std::map<std::string, std::string> Finished = Before;
        for (const TJournalStep& Step : Pass.Steps) Finished.erase(Step.OldName);
        for (const TJournalStep& Step : Pass.Steps) Finished[Step.NewName] = Before.at(Step.OldName);
        const TRecoveryResult Result = RecoverPass(Pass, Goal, Fs, &Journal);
        for (const TRecoveryProblem& Problem : Result.Problems) ADD_FAILURE() << Problem.Path << ": " << Problem.Reason;
        EXPECT_EQ(Disk(), Goal == rgUndo ? Before : Finished);
        EXPECT_EQ(RecoverPass(Pass, Goal, Fs, nullptr).Pass.Renamed, 0);
      }
    }
  }
}

// A real pass, journalled, then undone although some of its files moved on:
// those are reported and stay; undoing the undo renames the others again.
TEST_F(PassTest, UndoReversesWhatIsStillThePassesAndSaysWhyNotTheRest) {
  Passes.SetJournal(&Journal);
  Make({"a", "b", "c", "d", "e"});
  TRenameSettings Upper;
  Upper.UpperCase = true;
  ASSERT_EQ(Passes.StartRenaming(Files({"a", "b", "c", "d", "e"}), Upper, State)->Renamed, 5);
  fs::rename(Dir + "A", Dir + "z");
  std::ofstream(Dir + "c") << "new c";
  fs::remove(Dir + "B");
  std::ofstream(Dir + "E", std::ios::app) << " changed";
  TRecoveryResult Undone = RecoverPass(ReadJournalFile(Journal.Path()), rgUndo, Fs, &Journal);
  EXPECT_EQ(Undone.Pass.Renamed, 2);
  EXPECT_EQ(Disk(), (std::map<std::string, std::string>{{"z", "a"}, {"c", "new c"}, {"C", "c"}, {"d", "d"}, {"e", "e changed"}}));
  ASSERT_EQ(Undone.Problems.size(), 3u);
  const std::vector<std::pair<std::string, std::string>> Expected = {
      {Dir + "B", "deleted, or moved out of its folder, since"},
      {Dir + "A", "renamed again since: now \"z\""},
      {Dir + "C", "its old name is taken by another file"}};
  for (size_t I = 0; I < 3; ++I)
    EXPECT_EQ(std::pair(Undone.Problems[I].Path, Undone.Problems[I].Reason), Expected[I]);
  EXPECT_EQ(ReadJournalFile(ListJournals(StateHome / "journal").back()).Kind, "undo");
  struct stat Info {};
  stat((StateHome / "journal").c_str(), &Info);
  EXPECT_EQ(Info.st_mode & 0777, 0700u);
  stat(Journal.Path().c_str(), &Info);
  EXPECT_EQ(Info.st_mode & 0777, 0600u);
  Undone = RecoverPass(ReadJournalFile(Journal.Path()), rgUndo, Fs, &Journal);
  EXPECT_EQ(Disk(), (std::map<std::string, std::string>{{"z", "a"}, {"c", "new c"}, {"C", "c"}, {"D", "d"}, {"E", "e changed"}}));

  // A journal that cannot be written stops the pass before its first rename.
  TFileJournal Blocked(StateHome / "journal" / fs::path(Journal.Path()).filename() / "sub");
  Passes.SetJournal(&Blocked);
  Remake({"a"});
  EXPECT_FALSE(Passes.StartRenaming(Files({"a"}), Upper, State));
  EXPECT_EQ(Dialogs.Shown.back().Text,
            "The journal folder \"" + (StateHome / "journal/") + fs::path(Journal.Path()).filename().string() +
                "/sub/\" cannot be created: Not a directory. Nothing was renamed.");
  EXPECT_EQ(Disk(), (std::map<std::string, std::string>{{"a", "a"}}));
}

// Names in two folders are told apart: one file "a" per folder is no duplicate.
TEST_F(PassTest, UndoOfAPassOverTwoFoldersTellsTheirNamesApart) {
  Passes.SetJournal(&Journal);
  fs::create_directory(Dir + "sub");
  Make({"a", "sub/a"});
  TRenameSettings Upper;
  Upper.UpperCase = true;
  ASSERT_EQ(Passes.StartRenaming(Files({"a", "sub/a"}), Upper, State)->Renamed, 2);
  EXPECT_EQ(RecoverPass(ReadJournalFile(Journal.Path()), rgUndo, Fs, &Journal).Pass.Renamed, 2);
  EXPECT_TRUE(fs::exists(Dir + "a") && fs::exists(Dir + "sub/a"));
}

// The last 50 journals stay and none older than 90 days; an interrupted one is never removed.
TEST_F(PassTest, HousekeepingKeepsTheLastFiftyAndNoneOlderThanNinetyDays) {
  const std::string Folder = StateHome / "journal/";
  fs::create_directories(Folder);
  const auto Name = [&](int I) { return Folder + "20200101-000000.0000000" + std::to_string(10 + I) + "-1.journal"; };
  for (int I = 0; I < 55; ++I) std::ofstream(Name(I)) << (I == 0 ? "interrupted\n" : "x\nend\n");
  const timespec Old[2] = {{time(nullptr) - 91 * 24 * 3600, 0}, {time(nullptr) - 91 * 24 * 3600, 0}};
  utimensat(AT_FDCWD, Name(54).c_str(), Old, 0);
  ASSERT_EQ(Journal.Begin("rename", {}, {}), "");
  const std::vector<std::string> Kept = ListJournals(Folder);
  EXPECT_EQ(Kept.size(), 50u);
  EXPECT_EQ(Kept.front(), Name(0));
  EXPECT_EQ(Kept[1], Name(6));
  EXPECT_EQ(Kept[Kept.size() - 2], Name(53));
}
