// The folder picker that Add Folder uses: created for one choice, shown once
// with Execute, then read.
#pragma once

#include <string>
#include <utility>

class TDialogs;

class TFolderBrowser {
 public:
  TFolderBrowser(std::string Title, std::string InitialFolder, bool IncludeFiles, bool NewDialogStyle)
      : Title(std::move(Title)),
        IncludeFiles(IncludeFiles),
        NewDialogStyle(NewDialogStyle),
        InitialFolder(std::move(InitialFolder)) {}

  // Shows the folder dialog; true when a folder was confirmed, which is then
  // in Folder as an absolute path ("/" for the root, otherwise without a
  // trailing "/"). A cancelled dialog leaves Folder as it was.
  bool Execute(TDialogs& Dialogs);

  std::string Title;               // shown as the dialog's caption
  // How the dialog should look and behave. The program's folder dialog
  // always lists folders only, offers a new-folder button and returns a
  // chosen symbolic link as itself, so these are hints it does not need.
  bool IncludeFiles;
  bool NewDialogStyle;
  bool StatusText = true;
  bool NoTranslateTargets = true;
  std::string InitialFolder;       // selected when the dialog opens; empty for none
  std::string Folder;              // the confirmed folder; empty until one was confirmed
};
