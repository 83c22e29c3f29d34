// Shows the file grid with the files named on the command line, gives every
// other one a previewed new name, and saves a picture of the window to the
// first argument. Used by tools/screenshot-grid.
#include <QApplication>
#include <QIcon>
#include <QPixmap>
#include <QTimer>

#include <cstdio>

#include "filegrid/FileGridView.h"

int main(int Argc, char** Argv) {
  QApplication Application(Argc, Argv);
  if (Argc < 3) {
    std::fprintf(stderr, "usage: grid_screenshot OUT.png FILE...\n");
    return 2;
  }
  TFileGridView View;
  View.setWindowTitle(QStringLiteral("Quorvane 2 - file grid"));
  for (int I = 2; I < Argc; ++I) View.Grid().AddFile(Argv[I]);
  for (int Row = 0; Row < View.Grid().FileCount(); Row += 2)
    View.Grid().SetNewFileName(Row, "New " + View.Grid().File(Row).Name);
  if (View.Grid().FileCount() > 1) View.Grid().CheckBoxChanged(1, false);
  View.resize(1240, 260);
  View.show();
  QTimer::singleShot(300, [&] {
    const bool Saved = View.window()->grab().save(QString::fromLocal8Bit(Argv[1]));
    Application.exit(Saved ? 0 : 1);
  });
  return QApplication::exec();
}
