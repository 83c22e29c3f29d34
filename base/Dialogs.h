// Every modal message and file dialog of the program goes through TDialogs:
// the real one shows Qt dialogs, tests install a scripted one. Core code
// never opens a window itself.
#pragma once

#include <string>
#include <vector>

// The kind of a message: its icon, and the caption of the toolkit's boxes.
enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation };

// The answer to a message, and the buttons that give it.
enum TModalResult { mrNone, mrOk, mrCancel, mrYes, mrNo, mrNoToAll, mrYesToAll };

// One modal message box.
struct TMessage {
  std::string Text;
  std::string Caption;
  TMsgDlgType Type = mtInformation;
  std::vector<TModalResult> Buttons;  // in the order they are shown
  bool operator==(const TMessage&) const = default;
};

// An open or save file dialog.
struct TFileDialog {
  std::string Title;
  std::string Filter;         // Qt filter syntax: "Profiles (*.prf);;All files (*)"
  std::string DefaultSuffix;  // added to a typed name without extension ("prf")
  std::string InitialPath;    // folder or file selected when the dialog opens; empty for the default
  bool MultiSelect = false;   // open dialogs only
  bool operator==(const TFileDialog&) const = default;
};

class TDialogs {
 public:
  virtual ~TDialogs() = default;
  // Shows Message modally; the button pressed, or mrNone when the box was
  // closed without one.
  virtual TModalResult ShowMessage(const TMessage& Message) = 0;
  // Shows Message with Captions on its buttons (in the same order) instead
  // of the usual ones; the button pressed. By default the usual captions.
  virtual TModalResult ShowQuestion(const TMessage& Message, const std::vector<std::string>& /*Captions*/) {
    return ShowMessage(Message);
  }
  // The absolute paths of the existing files chosen; empty when cancelled.
  virtual std::vector<std::string> OpenFiles(const TFileDialog& Dialog) = 0;
  // The absolute path chosen to save to; empty when cancelled. The dialog
  // has already asked before an existing file is replaced.
  virtual std::string SaveFile(const TFileDialog& Dialog) = 0;
  // An existing folder's absolute path; empty when cancelled.
  virtual std::string BrowseForFolder(const std::string& Title, const std::string& InitialFolder) = 0;
};

// The caption of a button in the user's language: "OK", "Cancel", "&Yes", "&No", "N&o to All",
// "Yes to &All".
std::string ModalResultCaption(TModalResult Result);

// The toolkit's error box: caption "Error", one OK button.
void ShowErrorBox(TDialogs& Dialogs, const std::string& Text);
// The toolkit's warning box: caption "Warning", one OK button.
void ShowWarningBox(TDialogs& Dialogs, const std::string& Text);
