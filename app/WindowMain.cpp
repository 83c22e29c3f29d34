#include "app/WindowMain.h"

#include <QFileInfo>

TWindowMain::TWindowMain(QWidget* Parent) : QMainWindow(Parent) {
  setObjectName("WindowMain");
  resize(800, 600);
  UpdateTitle();
}

void TWindowMain::UpdateTitle() {
  const QString Name = QFileInfo(QString::fromStdString(FProfileFileName)).fileName();
  setWindowTitle(QStringLiteral("Quorvane 2 [%1]").arg(Name));
}
