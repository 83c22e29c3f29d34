// A TDialogs for tests: records every message and answers from a script.
#pragma once

#include <deque>
#include <vector>

#include "base/Dialogs.h"

class TScriptedDialogs : public TDialogs {
 public:
  // Answers given in order; when the script is used up, the first button.
  explicit TScriptedDialogs(std::deque<TModalResult> Answers = {}) : FAnswers(std::move(Answers)) {}

  TModalResult ShowMessage(const TMessage& Message) override {
    Shown.push_back(Message);
    if (FAnswers.empty()) return Message.Buttons.empty() ? mrNone : Message.Buttons.front();
    const TModalResult Answer = FAnswers.front();
    FAnswers.pop_front();
    return Answer;
  }

  std::vector<TMessage> Shown;

 private:
  std::deque<TModalResult> FAnswers;
};
