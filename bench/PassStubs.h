// What the pass benchmarks share: dialogs and a window that do nothing, and
// the rules of a search and replace.
#pragma once

#include <string>
#include <vector>

#include "rename/RenamePasses.h"

// Answers every message with OK and every file dialog with nothing.
class TQuietDialogs : public TDialogs {
 public:
  TModalResult ShowMessage(const TMessage&) override { return mrOk; }
  std::vector<std::string> OpenFiles(const TFileDialog&) override { return {}; }
  std::string SaveFile(const TFileDialog&) override { return {}; }
  std::string BrowseForFolder(const std::string&, const std::string&) override { return {}; }
};

// A window that shows nothing.
class TNoView : public TPassView {
 public:
  void SetPreviewRunning(bool) override {}
  void SetRenamingRunning(bool) override {}
  void ShowProgress(int) override {}
  void SetProgress(int) override {}
  void HideProgress() override {}
};

// Search and replace with these texts, every other rule off.
inline TRenameSettings Rules(const char* Search, const char* Replace) {
  TRenameSettings Settings;
  Settings.SearchAndReplace = true;
  Settings.SearchString = Search;
  Settings.ReplaceString = Replace;
  return Settings;
}
