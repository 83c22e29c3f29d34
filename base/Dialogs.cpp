#include "base/Dialogs.h"

#include "base/Translation.h"

std::string ModalResultCaption(TModalResult Result) {
  const char* Caption = "";
  switch (Result) {
    case mrOk: Caption = QT_TRANSLATE_NOOP("Dialogs", "OK"); break;
    case mrCancel: Caption = QT_TRANSLATE_NOOP("Dialogs", "Cancel"); break;
    case mrYes: Caption = QT_TRANSLATE_NOOP("Dialogs", "&Yes"); break;
    case mrNo: Caption = QT_TRANSLATE_NOOP("Dialogs", "&No"); break;
    case mrNoToAll: Caption = QT_TRANSLATE_NOOP("Dialogs", "N&o to All"); break;
    case mrYesToAll: Caption = QT_TRANSLATE_NOOP("Dialogs", "Yes to &All"); break;
    case mrNone: return "";
  }
  return Tr("Dialogs", Caption);
}

void ShowErrorBox(TDialogs& Dialogs, const std::string& Text) {
  Dialogs.ShowMessage({Text, Tr("Dialogs", "Error"), mtError, {mrOk}});
}

void ShowWarningBox(TDialogs& Dialogs, const std::string& Text) {
  Dialogs.ShowMessage({Text, Tr("Dialogs", "Warning"), mtWarning, {mrOk}});
}
