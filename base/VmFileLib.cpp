#include "base/VmFileLib.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <random>

#include "base/Translation.h"
#include "base/VmStringLib.h"

namespace {

// What: a text marked in context "Files" with the path as %1 and the reason as %2.
[[noreturn]] void Fail(const char* What, const std::string& Path, int Error) {
  throw EFileError(Filled(Tr("Files", What), {Path, std::strerror(Error)}), Error);
}

// Closes a descriptor when it goes out of scope.
struct TFd {
  int Fd = -1;
  ~TFd() {
    if (Fd >= 0) ::close(Fd);
  }
};

}  // namespace

std::string ReadWholeFile(const std::string& Path, size_t MaxSize) {
  const auto TooLarge = [&] {
    return EFileError(Filled(Tr("Files", "Cannot read file \"%1\": file too large"), {Path}));
  };
  TFd File;
  // O_NONBLOCK so that opening a fifo does not wait for a writer; cleared below.
  File.Fd = ::open(Path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (File.Fd < 0) Fail(QT_TRANSLATE_NOOP("Files", "Cannot open file \"%1\": %2"), Path, errno);
  struct stat Info {};
  if (::fstat(File.Fd, &Info) != 0) Fail(QT_TRANSLATE_NOOP("Files", "Cannot read file \"%1\": %2"), Path, errno);
  if (!S_ISREG(Info.st_mode))
    throw EFileError(Filled(Tr("Files", "Cannot open file \"%1\": not a regular file"), {Path}));
  ::fcntl(File.Fd, F_SETFL, 0);
  if (static_cast<uint64_t>(Info.st_size) > MaxSize) throw TooLarge();

  std::string Data;
  Data.resize(static_cast<size_t>(Info.st_size));
  size_t Done = 0;
  for (;;) {
    if (Done == Data.size()) Data.resize(Data.size() + 65536);  // the file may have grown
    const ssize_t Got = ::read(File.Fd, Data.data() + Done, Data.size() - Done);
    if (Got < 0) {
      if (errno == EINTR) continue;
      Fail(QT_TRANSLATE_NOOP("Files", "Cannot read file \"%1\": %2"), Path, errno);
    }
    if (Got == 0) break;
    Done += static_cast<size_t>(Got);
    if (Done > MaxSize) throw TooLarge();  // it grew while being read
  }
  Data.resize(Done);
  return Data;
}

void WriteFileAtomic(const std::string& Path, std::string_view Data) {
  std::string Target = Path;
  struct stat Info {};
  const bool Exists = ::stat(Path.c_str(), &Info) == 0;
  if (Exists) {
    // Write through a symbolic link instead of replacing the link itself.
    char Resolved[PATH_MAX];
    if (::realpath(Path.c_str(), Resolved)) Target = Resolved;
  }

  // A fresh short name in the target's folder (so the rename stays on one file
  // system and a long target name cannot make it too long), created
  // exclusively so nothing is overwritten.
  const size_t Slash = Target.rfind('/');
  const std::string Folder = Slash == std::string::npos ? std::string() : Target.substr(0, Slash + 1);
  std::random_device Seed;
  std::string Temporary;
  TFd File;
  for (int Attempt = 0; File.Fd < 0; ++Attempt) {
    Temporary = Folder + ".quorvane-" + std::to_string(Seed()) + ".tmp";
    File.Fd = ::open(Temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (File.Fd < 0 && (errno != EEXIST || Attempt > 100))
      Fail(QT_TRANSLATE_NOOP("Files", "Cannot create file \"%1\": %2"), Path, errno);
  }

  const auto Abandon = [&](int Error) {
    ::unlink(Temporary.c_str());
    Fail(QT_TRANSLATE_NOOP("Files", "Cannot write file \"%1\": %2"), Path, Error);
  };
  if (Exists && ::fchmod(File.Fd, Info.st_mode & 07777) != 0) Abandon(errno);
  size_t Done = 0;
  while (Done < Data.size()) {
    const ssize_t Put = ::write(File.Fd, Data.data() + Done, Data.size() - Done);
    if (Put < 0) {
      if (errno == EINTR) continue;
      Abandon(errno);
    }
    Done += static_cast<size_t>(Put);
  }
  if (::fsync(File.Fd) != 0) Abandon(errno);
  const int Closed = ::close(File.Fd);
  File.Fd = -1;
  if (Closed != 0) Abandon(errno);
  if (::rename(Temporary.c_str(), Target.c_str()) != 0) Abandon(errno);
}

void RefuseReadOnlyFile(const std::string& Path) {
  struct stat Info {};
  if (::stat(Path.c_str(), &Info) == 0 && S_ISREG(Info.st_mode) &&
      ((Info.st_mode & S_IWUSR) == 0 || ::access(Path.c_str(), W_OK) != 0))
    throw EFileError(Filled(Tr("Files", "Cannot write file \"%1\": the file is read-only"), {Path}));
}

void CreateFolders(const std::string& Folder) {
  for (size_t Slash = Folder.find('/', 1); Slash != std::string::npos; Slash = Folder.find('/', Slash + 1)) {
    const std::string Level = Folder.substr(0, Slash);
    if (::mkdir(Level.c_str(), 0700) != 0 && errno != EEXIST)
      Fail(QT_TRANSLATE_NOOP("Files", "Cannot create folder \"%1\": %2"), Level, errno);
  }
  if (::mkdir(Folder.c_str(), 0700) != 0 && errno != EEXIST)
    Fail(QT_TRANSLATE_NOOP("Files", "Cannot create folder \"%1\": %2"), Folder, errno);
  struct stat Info {};
  if (::stat(Folder.c_str(), &Info) != 0 || !S_ISDIR(Info.st_mode))
    Fail(QT_TRANSLATE_NOOP("Files", "Cannot create folder \"%1\": %2"), Folder, ENOTDIR);
}
