// Saves a picture of the file grid ("grid") or of the whole main window
// ("window") holding the files named on the command line, or of the Info or
// the counter dialog ("info", "counter"). In the grid every
// other file gets a previewed new name. Used by tools/screenshot. With
// "journal" the window reads its journals from $XDG_STATE_HOME: the question
// about an interrupted pass, the box after answering Undo, and then the window
// are saved as OUT-1.png, OUT-2.png and OUT-3.png. SCREENSHOT_FONT_POINTS sets
// the application's font size, as a desktop's font setting would.
#include <QAbstractButton>
#include <QApplication>
#include <QFont>
#include <QPixmap>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <memory>

#include "app/Environment.h"
#include "app/Language.h"
#include "app/WindowInfo.h"
#include "app/WindowMain.h"
#include "rename/FrmCounter.h"
#include "ui/QtDialogs.h"

int main(int Argc, char** Argv) {
  const bool Journal = Argc >= 3 && std::strcmp(Argv[1], "journal") == 0;
  const bool Dialog = Argc >= 3 && (std::strcmp(Argv[1], "info") == 0 || std::strcmp(Argv[1], "counter") == 0);
  if (!Journal && !Dialog &&
      (Argc < 4 || (std::strcmp(Argv[1], "grid") != 0 && std::strcmp(Argv[1], "window") != 0))) {
    std::fprintf(stderr, "usage: screenshot grid|window|journal|info|counter OUT.png FILE...\n");
    return 2;
  }
  int QtArgc = 1;
  QApplication Application(QtArgc, Argv);
  QApplication::setApplicationName(QStringLiteral("Quorvane 2"));
  // SCREENSHOT_FONT_POINTS stands for a desktop whose font has that size.
  if (const QByteArray Points = qgetenv("SCREENSHOT_FONT_POINTS"); !Points.isEmpty()) {
    QFont Font = QApplication::font();
    Font.setPointSizeF(Points.toDouble());
    QApplication::setFont(Font);
  }
  // The program's language, so that LANG=en_US.UTF-8 tools/screenshot shows the English version.
  const TProcessEnvironment Environment = TProcessEnvironment::Read();
  InstallCatalogue(Application, Environment);
  const QString Out = QString::fromLocal8Bit(Argv[2]);
  TQtDialogs Dialogs;
  std::unique_ptr<QWidget> Shown;
  if (std::strcmp(Argv[1], "info") == 0) {
    Shown = std::make_unique<TWindowInfo>();
  } else if (std::strcmp(Argv[1], "counter") == 0) {
    Shown = std::make_unique<TfrmCounter>(Dialogs);
  } else if (std::strcmp(Argv[1], "grid") == 0) {
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
    if (Journal) Options.JournalFolder = JournalFolder(Environment.StateHome, Environment.Home);
    Shown = std::make_unique<TWindowMain>(Dialogs, std::move(Options));
  }
  Shown->show();
  if (Journal) {
    // Icons only, so that every toolbar button is in view; the Undo button's
    // whole caption is its tooltip, printed here.
    auto* Window = static_cast<TWindowMain*>(Shown.get());
    Window->menuitemToolbarShowCaptions->trigger();
    const auto Tell = [Window] {
      std::printf("Undo button: \"%s\", %s\n", Window->toolbuttonUndo->toolTip().toUtf8().constData(),
                  Window->toolbuttonUndo->isEnabled() ? "enabled" : "disabled");
    };
    Tell();
    // Each modal box is saved and answered in turn; the window last.
    const QString Base = Out.chopped(4);
    auto Step = std::make_shared<int>(0);
    auto* Timer = new QTimer(&Application);
    QObject::connect(Timer, &QTimer::timeout, [&, Base, Step] {
      QWidget* Modal = QApplication::activeModalWidget();
      const int Shot = ++*Step;
      (Modal ? Modal : Shown.get())->grab().save(Base + "-" + QString::number(Shot) + ".png");
      if (!Modal || Shot >= 3) return Tell(), Application.exit(0);
      for (QAbstractButton* Button : Modal->findChildren<QAbstractButton*>())
        if (Button->text() == "&Undo" || Button->text() == "OK") return Button->click();
    });
    Timer->start(700);
    return QApplication::exec();
  }
  QTimer::singleShot(500, [&] { Application.exit(Shown->window()->grab().save(Out) ? 0 : 1); });
  return QApplication::exec();
}
