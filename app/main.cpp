// The program's start: every command-line argument is a path for the grid
// ("--version" alone shows the version instead).
#include <unistd.h>

#include <QApplication>

#include <climits>
#include <cstdio>
#include <cstring>

#include <string>
#include <vector>

#include "app/InstanceFolder.h"
#include "app/InstanceSender.h"
#include "app/Language.h"
#include "app/WindowMain.h"
#include "filegrid/FileMetadataReader.h"
#include "ui/QtDialogs.h"

int main(int argc, char* argv[]) {
  PrepareWindowProcess();
  // "--version" alone shows the version; a file of that name is "./--version".
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    std::printf("quorvane %s\n", QUORVANE_VERSION);
    return 0;
  }
  // The arguments are taken as they are, before Qt could read any of them
  // as one of its own options: the program has none. A relative path is
  // taken from the folder the program was started in, so that the grid
  // shows its folder.
  char Folder[PATH_MAX];
  const bool HaveFolder = ::getcwd(Folder, sizeof Folder) != nullptr;
  std::vector<std::string> Files;
  for (int I = 1; I < argc; ++I)
    Files.push_back(HaveFolder && argv[I][0] != '\0' ? AbsolutePath(argv[I], Folder) : std::string(argv[I]));
  int QtArgc = 1;
  QApplication Application(QtArgc, argv);
  QApplication::setApplicationName(QStringLiteral("Quorvane 2"));
  const TProcessEnvironment Environment = TProcessEnvironment::Read();
  InstallCatalogue(Application, Environment);

  TQtDialogs Dialogs;
  TWindowMainOptions Options;
  Options.Files = Files;
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
