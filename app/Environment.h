// The values of the process environment that the program depends on, read
// once at start and passed down, so that nothing else reads the environment
// and tests make up their own.
#pragma once

#include <string>

struct TProcessEnvironment {
  std::string ConfigHome;        // $XDG_CONFIG_HOME as set, else empty
  std::string Home;              // $HOME as set, else empty
  std::string RuntimeDir;        // $XDG_RUNTIME_DIR as set, else empty
  std::string ExecutableFolder;  // the running program's folder; empty when unknown
  std::string StateHome;         // $XDG_STATE_HOME as set, else empty
  std::string CacheHome;         // $XDG_CACHE_HOME as set, else empty
  std::string LcAll;             // $LC_ALL, $LC_MESSAGES and $LANG as set, else empty
  std::string LcMessages;
  std::string Lang;

  // The values of this process.
  static TProcessEnvironment Read();
};
