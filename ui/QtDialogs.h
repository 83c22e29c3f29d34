// The real dialogs: message boxes and file dialogs shown with Qt, and the
// modal run of the program's own dialogs. Windows take a TWindowDialogs so
// tests can script every modal step.
#pragma once

#include <QString>

#include <memory>
#include <string>
#include <vector>

#include "base/Dialogs.h"

class QDialog;
class QFileDialog;
class QMessageBox;
class QWidget;

// TDialogs for windows: also runs the program's own dialogs modally.
class TWindowDialogs : public virtual TDialogs {
 public:
  // Shows Dialog modally; QDialog::Accepted or QDialog::Rejected.
  virtual int Exec(QDialog& Dialog) = 0;
};

class TQtDialogs : public TWindowDialogs {
 public:
  // Owner is the window the dialogs are centred on; it may be set later.
  explicit TQtDialogs(QWidget* Owner = nullptr) : FOwner(Owner) {}
  void SetOwner(QWidget* Owner) { FOwner = Owner; }

  TModalResult ShowMessage(const TMessage& Message) override;
  TModalResult ShowQuestion(const TMessage& Message, const std::vector<std::string>& Captions) override;
  std::vector<std::string> OpenFiles(const TFileDialog& Dialog) override;
  std::string SaveFile(const TFileDialog& Dialog) override;
  std::string BrowseForFolder(const std::string& Title, const std::string& InitialFolder) override;
  int Exec(QDialog& Dialog) override;

 private:
  QWidget* FOwner;
};

// The message box for Message, not yet shown: plain text, caption, icon by
// type, the buttons in the given order. The default button is OK or else
// Yes; Escape answers Cancel, or else No, or else OK. Captions, where given,
// stand in for the usual captions of the buttons.
std::unique_ptr<QMessageBox> CreateMessageBox(const TMessage& Message, QWidget* Owner = nullptr,
                                              const std::vector<std::string>& Captions = {});
// The answer of a box made by CreateMessageBox: the button pressed, or mrNone.
TModalResult MessageBoxResult(const QMessageBox& Box);

// The open (Save false) or save dialog for Dialog, not yet shown. Save
// dialogs ask before an existing file is replaced.
std::unique_ptr<QFileDialog> CreateFileDialog(const TFileDialog& Dialog, bool Save, QWidget* Owner = nullptr);
// The folder dialog: existing folders only, starting at InitialFolder; a
// symbolic link is chosen as itself, not as its target.
std::unique_ptr<QFileDialog> CreateFolderDialog(const std::string& Title, const std::string& InitialFolder,
                                                QWidget* Owner = nullptr);
// A chosen folder as an absolute path without a trailing "/", the root as "/".
std::string FolderPath(const QString& Chosen);
