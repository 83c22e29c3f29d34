// A TDialogs for tests: records every message and file dialog and answers
// from scripts.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "base/Dialogs.h"

// TDialogs is a virtual base so that TScriptedWindowDialogs can join this
// class to TWindowDialogs.
class TScriptedDialogs : public virtual TDialogs {
 public:
  // Answers given in order; when the script is used up, the first button.
  explicit TScriptedDialogs(std::deque<TModalResult> Answers = {}) : FAnswers(std::move(Answers)) {}

  TModalResult ShowMessage(const TMessage& Message) override {
    Shown.push_back(Message);
    return Next(FAnswers, Message.Buttons.empty() ? mrNone : Message.Buttons.front());
  }

  // File dialogs take the next prepared answer; none left means cancelled.
  std::vector<std::string> OpenFiles(const TFileDialog& Dialog) override {
    FileDialogs.push_back(Dialog);
    return Next(OpenAnswers, std::vector<std::string>{});
  }
  std::string SaveFile(const TFileDialog& Dialog) override {
    FileDialogs.push_back(Dialog);
    return Next(SaveAnswers, std::string{});
  }
  std::string BrowseForFolder(const std::string&, const std::string&) override {
    return Next(FolderAnswers, std::string{});
  }

  std::vector<TMessage> Shown;
  std::vector<TFileDialog> FileDialogs;
  std::deque<std::vector<std::string>> OpenAnswers;
  std::deque<std::string> SaveAnswers;
  std::deque<std::string> FolderAnswers;

 private:
  template <typename T>
  static T Next(std::deque<T>& Answers, T None) {
    if (Answers.empty()) return None;
    T Answer = std::move(Answers.front());
    Answers.pop_front();
    return Answer;
  }

  std::deque<TModalResult> FAnswers;
};
