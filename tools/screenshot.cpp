// Saves a picture of the file grid ("grid") or of the whole main window
// ("window") holding the files named on the command line. In the grid every
// other file gets a previewed new name. Used by tools/screenshot.
#include <QApplication>
#include <QPixmap>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <memory>

#include "app/WindowMain.h"
#include "ui/QtDialogs.h"

int main(int Argc, char** Argv) {
  if (Argc < 4 || (std::strcmp(Argv[1], "grid") != 0 && std::strcmp(Argv[1], "window") != 0)) {
    std::fprintf(stderr, "usage: screenshot grid|window OUT.png FILE...\n");
    return 2;
  }
  int QtArgc = 1;
  QApplication Application(QtArgc, Argv);
  QApplication::setApplicationName(QStringLiteral("Quorvane 2"));
  const QString Out = QString::fromLocal8Bit(Argv[2]);
  TQtDialogs Dialogs;
  std::unique_ptr<QWidget> Shown;
  if (std::strcmp(Argv[1], "grid") == 0) {
    auto View = std::make_unique<TFileGridView>();
    for (int I = 3; I < Argc; ++I) View->Grid().AddFile(Argv[I]);
    for (int Row = 0; Row < View->Grid().FileCount(); Row += 2)
      View->Grid().SetNewFileName(Row, "New " + View->Grid().File(Row).Name);
    if (View->Grid().FileCount() > 1) View->Grid().CheckBoxChanged(1, false);
    View->resize(1240, 260);
    Shown = std::move(View);
  } else {
    TWindowMainOptions Options;
    Options.Files.assign(Argv + 3, Argv + Argc);
    Shown = std::make_unique<TWindowMain>(Dialogs, std::move(Options));
  }
  Shown->show();
  QTimer::singleShot(500, [&] { Application.exit(Shown->window()->grab().save(Out) ? 0 : 1); });
  return QApplication::exec();
}
