// quorvane-send PATH...: hands the files to the newest running copy of the
// program, in the order given, or starts the program with them when no copy
// runs. Every argument is a path ("--version" alone shows the version instead).
#include <unistd.h>

#include <QCoreApplication>
#include <QFile>

#include <climits>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/Environment.h"
#include "app/InstanceFolder.h"
#include "app/InstanceSender.h"
#include "app/Language.h"
#include "base/Translation.h"

namespace {

int Fail(const std::string& Message) {
  std::fprintf(stderr, "quorvane-send: %s\n", Message.c_str());
  return 1;
}

}  // namespace

int main(int argc, char* argv[]) {
  // Qt is given no argument: every one is a path, taken below as bytes.
  int QtArgc = 1;
  QCoreApplication Application(QtArgc, argv);
  const TProcessEnvironment Environment = TProcessEnvironment::Read();
  InstallCatalogue(Application, Environment);
  if (argc < 2) {
    std::fprintf(stderr, "%s\n",
                 Tr("Send", "Usage: quorvane-send PATH...\nHands the files to the running Quorvane 2, "
                            "or starts it with them.")
                     .c_str());
    return 2;
  }
  // "--version" alone shows the version; a file of that name is "./--version".
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    std::printf("quorvane-send %s\n", QUORVANE_VERSION);
    return 0;
  }
  char Folder[PATH_MAX];
  if (!::getcwd(Folder, sizeof Folder)) return Fail(Tr("Send", "cannot read the current folder"));
  // Taken from argv as bytes: names need not be text.
  std::vector<std::string> Paths;
  for (int I = 1; I < argc; ++I)
    if (argv[I][0] != '\0') Paths.push_back(AbsolutePath(argv[I], Folder));
  if (Paths.empty()) return Fail(Tr("Send", "no path given"));

  const TSendResult Result =
      SendToRunningCopy(InstanceFolderPath(Environment.RuntimeDir, Environment.CacheHome, Environment.Home), Paths);
  if (Result.Outcome == soSent) return 0;
  if (Result.Outcome == soFailed) return Fail(Result.Error);

  const std::string Program = FindProgram(QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString());
  if (Program.empty())
    return Fail(Tr("Send", "Quorvane 2 is not running, and the program \"quorvane\" was found neither beside "
                           "quorvane-send nor on PATH"));
  std::string Error;
  if (!StartDetached(Program, Paths, Error)) return Fail(Error);
  return 0;
}
