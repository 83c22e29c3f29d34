#include "app/FolderBrowser.h"

#include "base/Dialogs.h"

bool TFolderBrowser::Execute(TDialogs& Dialogs) {
  std::string Chosen = Dialogs.BrowseForFolder(Title, InitialFolder);
  // Only an absolute path names a folder on disk; anything else counts as no choice.
  if (Chosen.empty() || Chosen.front() != '/') return false;
  Folder = std::move(Chosen);
  return true;
}
