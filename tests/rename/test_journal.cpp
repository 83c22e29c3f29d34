#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <random>

#include "rename/Recovery.h"
#include "rename/RenamePasses.h"
#include "support/FaultyFileSystem.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;
using TDisk = std::map<std::string, std::string>;

namespace {

const TJournal Sample{"rename", 1733500000, 3,
                      {{-1, 2049, 12, "/home/a b/", "x\ty\\z\n.txt", "\xff\xfe-\xc3\xa4.txt", ""},
                       {0, 1, 2, "/r/", "a", "b", ".quorvane-1.tmp"},
                       {0, 1, 3, "/r/", "b", "a", ""}}};

// A folder whose files hold their first names, and a journal in a state folder of its own.
class JournalTest : public ::testing::Test {
 protected:
  TTempDir Folder, State;
  const std::string Dir = Folder.Path.string() + '/';
  TFileJournal Journal{State / "journal"};
  TFaultyFileSystem Fs;

  void Make(const std::vector<std::string>& Names) {
    for (const auto& Entry : fs::directory_iterator(Dir)) fs::remove(Entry.path());
    for (const std::string& Name : Names) std::ofstream(Dir + Name) << Name;
  }
  TDisk Disk() const {
    TDisk Result;
    for (const auto& Entry : fs::directory_iterator(Dir)) Result[Entry.path().filename()] = ReadFile(Entry.path());
    return Result;
  }
};

}  // namespace

TEST(Journal, NamesSurviveWritingAndReadingByteForByte) {
  const std::string Text = JournalPlanText(Sample);
  EXPECT_NE(Text.find("step\t-1\t2049\t12\t/home/a b/\tx\\ty\\\\z\\n.txt\t\\xff\\xfe-\xc3\xa4.txt\t\n"),
            std::string::npos);
  const TJournal Back = ParseJournal(Text + "done\t2\nend\n");
  EXPECT_EQ(Back.Steps, Sample.Steps);
  EXPECT_EQ(std::tuple(Back.Kind, Back.Started, Back.Done, Back.Ended), std::tuple(Sample.Kind, Sample.Started, 2, true));
  EXPECT_EQ(JournalPlanText(Back), Text);
  // A progress mark the crash cut short is no damage, and the end mark goes on a line of its own.
  TTempDir State;
  std::ofstream(State / "j.journal") << Text << "done\t1\ndo";
  EXPECT_EQ(ParseJournal(Text + "done\t1\ndo").Done, 1);
  EXPECT_FALSE(JournalEnded(State / "j.journal"));
  EXPECT_EQ(FindInterruptedJournal(State.Path), State / "j.journal");
  ASSERT_EQ(MarkJournalEnded(State / "j.journal"), 0);
  EXPECT_TRUE(ReadJournalFile(State / "j.journal").Ended);
  EXPECT_EQ(FindInterruptedJournal(State.Path), "");
}

TEST(Journal, DamagedOrTruncatedJournalsAreRefusedSayingWhere) {
  const std::string Text = JournalPlanText(Sample);
  const auto With = [](auto Change) {
    TJournal Journal = Sample;
    Change(Journal.Steps[0]);
    return JournalPlanText(Journal);
  };
  const auto Swapped = [](std::string Text, const std::string& From, const std::string& To) {
    return Text.replace(Text.find(From), From.size(), To);
  };
  const struct {
    const char* Name;
    std::string Text, Message;
  } Cases[] = {
      {"not a journal", "hello\n", "line 1: not a journal of this program"},
      {"a later format", "Quorvane journal 2\n", "line 1: written in another format (version 2)"},
      {"cut in the plan", Text.substr(0, Text.find("step\t0")), "line 4: cut short: the plan ends after 1 of 3"},
      {"no plan mark", Text.substr(0, Text.find("plan\t")), "line 6: cut short: the plan has no end mark"},
      {"a changed byte", Swapped(With([](TJournalStep& S) { S.OldName = "q"; }), "\tq\t", "\tr\t"), "check sum"},
      {"a name that leaves its folder", With([](TJournalStep& S) { S.NewName = "../x"; }), "line 3: a name that"},
      {"a relative folder", With([](TJournalStep& S) { S.Folder = "r/"; }), "line 3: a folder that is not"},
      {"a broken escape", Swapped(With([](TJournalStep& S) { S.Folder = "/x/"; }), "/x/", "/\\q/"),
       "line 3: a broken escape"},
      {"fewer steps than said", Text.substr(0, Text.find("step\t0")) + Text.substr(Text.find("plan\t")),
       "holds fewer steps"},
      {"a record after the plan", Text + "done\t9\n", "line 7: \"9\" is not a number in range"},
  };
  TTempDir State;
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Name);
    std::ofstream(State / "bad.journal", std::ios::trunc) << C.Text;
    try {
      ReadJournalFile(State / "bad.journal");
      ADD_FAILURE() << "accepted";
    } catch (const EJournalError& Error) {
      EXPECT_NE(std::string(Error.what()).find("\"" + (State / "bad.journal") + "\" is damaged"), std::string::npos);
      EXPECT_NE(std::string(Error.what()).find(C.Message), std::string::npos) << Error.what();
    }
  }
}

// Random plans over a few names (chains, rings, swaps), the process stopped
// dead before each call that changes the disk in turn, some through link and
// unlink: undo brings every file back under its old name, finish every file
// on under its new one, and no temporary name stays. A second run finds
// nothing left to do.
TEST_F(JournalTest, APassStoppedDeadAtAnyStepIsUndoneOrFinished) {
  const std::vector<std::string> Pool = {"a", "b", "c", "d", "e"};
  for (unsigned Seed = 1; Seed <= 30; ++Seed) {
    bool Stopped = true;
    for (int StopAt = 0; Stopped; ++StopAt) {
      for (const TRecoveryGoal Goal : {rgUndo, rgFinish}) {
        SCOPED_TRACE("plan " + std::to_string(Seed) + ", stopped at call " + std::to_string(StopAt));
        std::mt19937 Random(Seed);
        std::vector<std::string> Existing;
        for (const std::string& Name : Pool)
          if (Random() % 5 != 0) Existing.push_back(Name);
        Make(Existing);
        const TDisk Before = Disk();
        std::vector<TPassFile> Files;
        for (const std::string& Name : Existing) Files.push_back({int(Files.size()), Dir + Name});
        std::vector<TPassEntry> Entries = CollectEntries(Files);
        LookUpEntries(Entries, Fs);
        for (TPassEntry& Entry : Entries)
          if ((Entry.NewName = Pool[Random() % Pool.size()]) == Entry.Name) Entry.Status = psUnchanged;
        ValidateEntries(Entries, Fs);
        const std::vector<TPassStep> Steps = PlanSteps(Entries, Fs);
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
        TDisk Finished = Before;
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
TEST_F(JournalTest, UndoReversesWhatIsStillThePassesAndSaysWhyNotTheRest) {
  TScriptedDialogs Dialogs;
  struct : TPassView {
    void SetPreviewRunning(bool) override {}
    void SetRenamingRunning(bool) override {}
    void ShowProgress(int) override {}
    void SetProgress(int) override {}
    void HideProgress() override {}
  } View;
  TRenamePasses Passes(Fs, Dialogs, View, TFieldContext{});
  Passes.SetJournal(&Journal);
  Make({"a", "b", "c", "d", "e"});
  TRenameSettings Upper;
  Upper.UpperCase = true;
  std::vector<TPassFile> Files;
  for (const char* Name : {"a", "b", "c", "d", "e"}) Files.push_back({int(Files.size()), Dir + Name});
  TPassState PassState;
  ASSERT_EQ(Passes.StartRenaming(Files, Upper, PassState)->Renamed, 5);
  fs::rename(Dir + "A", Dir + "z");
  std::ofstream(Dir + "c") << "new c";
  fs::remove(Dir + "B");
  std::ofstream(Dir + "E", std::ios::app) << " changed";
  TRecoveryResult Undone = RecoverPass(ReadJournalFile(Journal.Path()), rgUndo, Fs, &Journal);
  EXPECT_EQ(Undone.Pass.Renamed, 2);
  EXPECT_EQ(Disk(), (TDisk{{"z", "a"}, {"c", "new c"}, {"C", "c"}, {"d", "d"}, {"e", "e changed"}}));
  ASSERT_EQ(Undone.Problems.size(), 3u);
  const std::vector<std::pair<std::string, std::string>> Expected = {
      {Dir + "B", "deleted, or moved out of its folder, since"},
      {Dir + "A", "renamed again since: now \"z\""},
      {Dir + "C", "its old name is taken by another file"}};
  for (size_t I = 0; I < 3; ++I)
    EXPECT_EQ(std::pair(Undone.Problems[I].Path, Undone.Problems[I].Reason), Expected[I]);
  EXPECT_EQ(ReadJournalFile(ListJournals(State / "journal").back()).Kind, "undo");
  struct stat Info {};
  stat((State / "journal").c_str(), &Info);
  EXPECT_EQ(Info.st_mode & 0777, 0700u);
  stat(Journal.Path().c_str(), &Info);
  EXPECT_EQ(Info.st_mode & 0777, 0600u);
  Undone = RecoverPass(ReadJournalFile(Journal.Path()), rgUndo, Fs, &Journal);
  EXPECT_EQ(Disk(), (TDisk{{"z", "a"}, {"c", "new c"}, {"C", "c"}, {"D", "d"}, {"E", "e changed"}}));

  // A journal that cannot be written stops the pass before its first rename.
  TFileJournal Blocked(State / "journal" / fs::path(Journal.Path()).filename() / "sub");
  Passes.SetJournal(&Blocked);
  Make({"a"});
  EXPECT_FALSE(Passes.StartRenaming({Files[0]}, Upper, PassState));
  EXPECT_EQ(Dialogs.Shown.back().Text,
            "The journal folder \"" + (State / "journal/") + fs::path(Journal.Path()).filename().string() +
                "/sub/\" cannot be created: Not a directory. Nothing was renamed.");
  EXPECT_EQ(Disk(), (TDisk{{"a", "a"}}));
}

// The last 50 journals stay and none older than 90 days; an interrupted one is never removed.
TEST_F(JournalTest, HousekeepingKeepsTheLastFiftyAndNoneOlderThanNinetyDays) {
  const std::string Folder = State / "journal/";
  fs::create_directories(Folder);
  const auto Name = [&](int I) { return Folder + "20200101-000000.0000000" + std::to_string(10 + I) + "-1.journal"; };
  for (int I = 0; I < 55; ++I) std::ofstream(Name(I)) << (I == 0 ? "interrupted\n" : "x\nend\n");
  const timespec Old[2] = {{time(nullptr) - 91 * 24 * 3600, 0}, {time(nullptr) - 91 * 24 * 3600, 0}};
  utimensat(AT_FDCWD, Name(54).c_str(), Old, 0);
  Make({"a"});
  std::vector<TPassEntry> Entries = CollectEntries({{0, Dir + "a"}});
  LookUpEntries(Entries, Fs);
  Entries[0].NewName = "b";
  ASSERT_EQ(Journal.Begin("rename", Entries, PlanSteps(Entries, Fs)), "");
  const std::vector<std::string> Kept = ListJournals(Folder);
  EXPECT_EQ(Kept.size(), 50u);
  EXPECT_EQ(Kept.front(), Name(0));
  EXPECT_EQ(Kept[1], Name(6));
  EXPECT_EQ(Kept[Kept.size() - 2], Name(53));
}
