// The program's start: every command-line argument is a path for the grid.
#include <QApplication>

#include <string>
#include <vector>

#include "app/InstanceFolder.h"
#include "app/WindowMain.h"
#include "filegrid/FileMetadataReader.h"
#include "ui/QtDialogs.h"

int main(int argc, char* argv[]) {
  // The arguments are taken as they are, before Qt could read any of them
  // as one of its own options: the program has none.
  const std::vector<std::string> Files(argv + 1, argv + argc);
  int QtArgc = 1;
  QApplication Application(QtArgc, argv);
  QApplication::setApplicationName(QStringLiteral("Quorvane 2"));

  TQtDialogs Dialogs;
  TWindowMainOptions Options;
  Options.Files = Files;
  const TProcessEnvironment Environment = TProcessEnvironment::Read();
  Options.SenderFolder = InstanceFolderPath(Environment.RuntimeDir, Environment.CacheHome, Environment.Home);
  Options.Settings = TSettingsEnvironment::From(Environment);
  TLinuxFileMetadataReader Metadata;
  Options.FieldContext = TFieldContext::System();
  Options.FieldContext.Metadata = &Metadata;
  Options.JournalFolder = JournalFolder(Environment.StateHome, Environment.Home);
  TWindowMain WindowMain(Dialogs, std::move(Options));
  Dialogs.SetOwner(&WindowMain);
  WindowMain.show();
  return QApplication::exec();
}
