#include "base/Dialogs.h"

const char* ModalResultCaption(TModalResult Result) {
  switch (Result) {
    case mrOk: return "OK";
    case mrCancel: return "Cancel";
    case mrYes: return "&Yes";
    case mrNo: return "&No";
    case mrNoToAll: return "N&o to All";
    case mrYesToAll: return "Yes to &All";
    case mrNone: break;
  }
  return "";
}

void ShowErrorBox(TDialogs& Dialogs, const std::string& Text) {
  Dialogs.ShowMessage({Text, "Error", mtError, {mrOk}});
}

void ShowWarningBox(TDialogs& Dialogs, const std::string& Text) {
  Dialogs.ShowMessage({Text, "Warning", mtWarning, {mrOk}});
}
