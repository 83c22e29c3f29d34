#include "app/Environment.h"

#include <cstdlib>
#include <filesystem>

namespace {

std::string Variable(const char* Name) {
  const char* Value = std::getenv(Name);
  return Value ? Value : "";
}

}  // namespace

TProcessEnvironment TProcessEnvironment::Read() {
  TProcessEnvironment Environment;
  Environment.CacheHome = Variable("XDG_CACHE_HOME");
  Environment.ConfigHome = Variable("XDG_CONFIG_HOME");
  Environment.Home = Variable("HOME");
  Environment.StateHome = Variable("XDG_STATE_HOME");
  Environment.RuntimeDir = Variable("XDG_RUNTIME_DIR");
  Environment.LcAll = Variable("LC_ALL");
  Environment.LcMessages = Variable("LC_MESSAGES");
  Environment.Lang = Variable("LANG");
  std::error_code Error;
  const std::filesystem::path Executable = std::filesystem::read_symlink("/proc/self/exe", Error);
  if (!Error) Environment.ExecutableFolder = Executable.parent_path().string();
  return Environment;
}
