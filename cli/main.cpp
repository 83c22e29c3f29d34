#include <unistd.h>

#include <iostream>

#include "cli/CliRun.h"
#include "filegrid/FileMetadataReader.h"

int main(int argc, char* argv[]) {
  // The streams are only used through iostreams: no need to keep them in step with stdio.
  std::ios::sync_with_stdio(false);
  TCliEnvironment Env{std::cin, std::cout, std::cerr, ::isatty(STDIN_FILENO) == 1, {}, true};
  TLinuxFileMetadataReader Metadata;
  Env.Fields.Metadata = &Metadata;  // the passes read photo and audio fields through it
  const int Status = RunCli(std::vector<std::string>(argv + 1, argv + argc), Env);
  std::cout.flush();
  return std::cout ? Status : esFailed;
}
