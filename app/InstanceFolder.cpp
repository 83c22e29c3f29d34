#include "app/InstanceFolder.h"

#include <dirent.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>

#include "base/Translation.h"

namespace {

constexpr char SocketPrefix[] = "quorvane-";

std::string Quoted(const std::string& Folder) { return "\"" + Folder + "\""; }

}  // namespace

std::string InstanceFolderPath(const std::string& RuntimeDir, const std::string& CacheHome, const std::string& Home) {
  // A relative value is not a valid base folder and is ignored, as the base
  // directory rules say.
  if (RuntimeDir.starts_with('/')) return RuntimeDir + "/quorvane";
  // Under the user's own home no other user can make the folder first, as
  // one can in /tmp and so turn hand-over off.
  if (CacheHome.starts_with('/')) return CacheHome + "/Velmora/Quorvane";
  if (Home.starts_with('/')) return Home + "/.cache/Velmora/Quorvane";
  return "/tmp/quorvane-" + std::to_string(::getuid());
}

bool CheckInstanceFolder(const std::string& Folder, bool Create, std::string& Error) {
  // Levels that cannot be made show up in the check of Folder itself.
  if (Create)
    for (size_t Slash = Folder.find('/', 1); Slash != std::string::npos; Slash = Folder.find('/', Slash + 1))
      ::mkdir(Folder.substr(0, Slash).c_str(), 0700);
  if (Create && ::mkdir(Folder.c_str(), 0700) != 0 && errno != EEXIST) {
    const std::string Why = std::strerror(errno);
    Error = Filled(Tr("Instance", "The folder %1 cannot be created: %2"), {Quoted(Folder), Why});
    return false;
  }
  // lstat: a link planted in a shared folder such as /tmp must not lead us
  // to a folder that someone else controls.
  struct stat Info {};
  if (::lstat(Folder.c_str(), &Info) != 0) {
    const std::string Why = std::strerror(errno);
    Error = Filled(Tr("Instance", "The folder %1 cannot be read: %2"), {Quoted(Folder), Why});
    return false;
  }
  std::string Why;
  if (S_ISLNK(Info.st_mode))
    Why = Tr("Instance", "it is a symbolic link");
  else if (!S_ISDIR(Info.st_mode))
    Why = Tr("Instance", "it is not a folder");
  else if (Info.st_uid != ::getuid())
    Why = Filled(Tr("Instance", "it belongs to user %1"), {std::to_string(Info.st_uid)});
  else if ((Info.st_mode & 077) != 0) {
    char Mode[8];
    std::snprintf(Mode, sizeof Mode, "%04o", static_cast<unsigned>(Info.st_mode & 07777));
    Why = Filled(Tr("Instance", "other users can reach it (mode %1)"), {Mode});
  }
  if (Why.empty()) return true;
  Error = Filled(Tr("Instance", "The folder %1 is not safe for handing over files: %2."), {Quoted(Folder), Why});
  return false;
}

std::string NewInstanceSocketName() {
  timespec Now {};
  ::clock_gettime(CLOCK_MONOTONIC, &Now);
  const unsigned long long Nanoseconds =
      static_cast<unsigned long long>(Now.tv_sec) * 1000000000ull + static_cast<unsigned long long>(Now.tv_nsec);
  char Name[64];
  std::snprintf(Name, sizeof Name, "%s%020llu-%ld", SocketPrefix, Nanoseconds, static_cast<long>(::getpid()));
  return Name;
}

std::vector<std::string> InstanceSockets(const std::string& Folder) {
  std::vector<std::string> Names;
  if (DIR* Dir = ::opendir(Folder.c_str())) {
    while (const dirent* Entry = ::readdir(Dir)) {
      const std::string Name = Entry->d_name;
      if (Name.starts_with(SocketPrefix)) Names.push_back(Name);
    }
    ::closedir(Dir);
  }
  // The start time has a fixed width, so text order is time order.
  std::sort(Names.begin(), Names.end(), std::greater<>());
  for (std::string& Name : Names) Name = Folder + "/" + Name;
  return Names;
}
