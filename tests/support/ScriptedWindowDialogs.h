// TWindowDialogs for widget tests: messages and file dialogs are scripted as
// in TScriptedDialogs; each Exec shows the dialog without blocking, runs the
// next prepared script on it (which may fill fields and press buttons) and
// returns the script's result. A dialog still open afterwards is closed.
#pragma once

#include <QDialog>

#include <deque>
#include <functional>

#include "support/ScriptedDialogs.h"
#include "ui/QtDialogs.h"

class TScriptedWindowDialogs : public TScriptedDialogs, public TWindowDialogs {
 public:
  using TScriptedDialogs::TScriptedDialogs;
  using TExecScript = std::function<int(QDialog&)>;

  int Exec(QDialog& Dialog) override {
    Dialog.show();
    int Result = QDialog::Rejected;  // no script left: the user cancelled
    if (!ExecScripts.empty()) {
      const TExecScript Script = std::move(ExecScripts.front());
      ExecScripts.pop_front();
      Result = Script(Dialog);
    }
    if (Dialog.isVisible()) Dialog.hide();
    return Result;
  }

  std::deque<TExecScript> ExecScripts;
};
