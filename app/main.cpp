#include <QApplication>

#include "app/WindowMain.h"

int main(int argc, char* argv[]) {
  QApplication Application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Quorvane 2"));
  TWindowMain WindowMain;
  WindowMain.show();
  return QApplication::exec();
}
