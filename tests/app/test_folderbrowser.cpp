// The folder picker over scripted dialogs.
#include <gtest/gtest.h>

#include "app/FolderBrowser.h"
#include "support/ScriptedDialogs.h"

TEST(FolderBrowser, ConfirmedAbsoluteFolderIsTakenAnythingElseIsNoChoice) {
  const struct {
    const char* Answer;  // nullptr: cancelled
    bool Confirmed;
    const char* Folder;
  } Cases[] = {
      {"/home/user/Bilder", true, "/home/user/Bilder"},
      {"/", true, "/"},
      {nullptr, false, ""},
      {"relative/path", false, ""},
  };
  for (const auto& Case : Cases) {
    SCOPED_TRACE(Case.Answer ? Case.Answer : "cancelled");
    TScriptedDialogs Dialogs;
    if (Case.Answer) Dialogs.FolderAnswers.push_back(Case.Answer);
    TFolderBrowser Browser("Select the folder whose files shall be added.", "/tmp", false, false);
    EXPECT_TRUE(Browser.StatusText && Browser.NoTranslateTargets);
    EXPECT_EQ(Browser.Execute(Dialogs), Case.Confirmed);
    EXPECT_EQ(Browser.Folder, Case.Folder);
    EXPECT_EQ(Dialogs.FolderTitles, std::vector<std::string>{"Select the folder whose files shall be added."});
    EXPECT_EQ(Dialogs.FolderInitialFolders, std::vector<std::string>{"/tmp"});
  }
}
