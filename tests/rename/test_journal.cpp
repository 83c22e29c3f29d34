#include <gtest/gtest.h>

#include <fstream>

#include "rename/Journal.h"
#include "support/TempDir.h"

namespace {

const TJournal Sample{"rename", 1733500000, 3,
                      {{-1, 2049, 12, "/home/a b/", "x\ty\\z\n.txt", "\xff\xfe-\xc3\xa4.txt", ""},
                       {0, 1, 2, "/r/", "a", "b", ".quorvane-1.tmp"},
                       {0, 1, 3, "/r/", "b", "a", ""}}};

}  // namespace

TEST(Journal, NamesSurviveWritingAndReadingByteForByte) {
  const std::string Text = JournalPlanText(Sample);
  EXPECT_NE(Text.find("step\t-1\t2049\t12\t/home/a b/\tx\\ty\\\\z\\n.txt\t\\xff\\xfe-\xc3\xa4.txt\t\n"),
            std::string::npos);
  const TJournal Back = ParseJournal(Text + "done\t2\nend\n");
  EXPECT_EQ(Back.Steps, Sample.Steps);
  EXPECT_EQ(std::tuple(Back.Kind, Back.Started, Back.Done, Back.Ended), std::tuple(Sample.Kind, Sample.Started, 2, true));
  EXPECT_EQ(JournalPlanText(Back), Text);
  // A journal of the first format, with its byte-wise check sum, is still read.
  const TJournal First = ParseJournal(
      "Quorvane journal 1\npass\trename\t1765036800\t1\nstep\t-1\t2049\t11\t/m/\ta\tb\t\nplan\t28246f2789579a55\nend\n");
  EXPECT_EQ(First.Steps.size(), 1u);
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
      {"a later format", "Quorvane journal 3\n", "line 1: written in another format (version 3)"},
      {"cut in the plan", Text.substr(0, Text.find("step\t0")), "line 4: cut short: the plan ends after 1 of 3"},
      {"no plan mark", Text.substr(0, Text.find("plan\t")), "line 6: cut short: the plan has no end mark"},
      {"a changed byte", Swapped(With([](TJournalStep& S) { S.OldName = "q"; }), "\tq\t", "\tr\t"), "check sum"},
      {"a name that leaves its folder", With([](TJournalStep& S) { S.NewName = "../x"; }), "line 3: a name that"},
      {"a broken escape", Swapped(With([](TJournalStep& S) { S.Folder = "/x/"; }), "/x/", "/\\q/"),
       "line 3: a broken escape"},
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
