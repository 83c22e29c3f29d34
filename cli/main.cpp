#include <unistd.h>

#include <QCoreApplication>

#include <clocale>
#include <csignal>

#include <iostream>

#include "app/Environment.h"
#include "app/Language.h"
#include "cli/CliRun.h"
#include "filegrid/FileMetadataReader.h"
#include "rename/Journal.h"

int main(int argc, char* argv[]) {
  // The streams are only used through iostreams: no need to keep them in step with stdio.
  std::ios::sync_with_stdio(false);
  // A reader that goes away makes writes fail instead of killing the
  // program in the middle of a pass; the pass then stops after its current rename.
  std::signal(SIGPIPE, SIG_IGN);
  const TProcessEnvironment Process = TProcessEnvironment::Read();
  // The application only holds the message catalogue. It sets the C
  // library's locale from the environment; the program keeps the C locale
  // it has always run in (error texts, number formats).
  int QtArgc = 1;
  QCoreApplication Application(QtArgc, argv);
  std::setlocale(LC_ALL, "C");
  InstallCatalogue(Application, Process);
  TCliEnvironment Env{std::cin,
                      std::cout,
                      std::cerr,
                      ::isatty(STDIN_FILENO) == 1,
                      TFieldContext::System(),
                      true,
                      JournalFolder(Process.StateHome, Process.Home)};
  TLinuxFileMetadataReader Metadata;
  Env.Fields.Metadata = &Metadata;  // the passes read photo and audio fields through it
  const int Status = RunCli(std::vector<std::string>(argv + 1, argv + argc), Env);
  std::cout.flush();
  return std::cout ? Status : esFailed;
}
