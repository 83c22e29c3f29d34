// The folder picker over scripted dialogs.
#include <gtest/gtest.h>

#include "app/FolderBrowser.h"
#include "support/ScriptedDialogs.h"

TEST(FolderBrowser, ConfirmedAbsoluteFolderIsTakenAnythingElseIsNoChoice) {
  // An empty answer is a cancelled dialog.
  for (const auto& [Answer, Folder] : {std::pair<std::string, std::string>{"/home/user/Bilder", "/home/user/Bilder"},
                                       {"/", "/"}, {"", ""}, {"relative/path", ""}}) {
    SCOPED_TRACE(Answer);
    TScriptedDialogs Dialogs;
    Dialogs.FolderAnswers.push_back(Answer);
    TFolderBrowser Browser("Select the folder whose files shall be added.", "/tmp", false, false);
    EXPECT_EQ(Browser.Execute(Dialogs), !Folder.empty());
    EXPECT_EQ(Browser.Folder, Folder);
  }
}
