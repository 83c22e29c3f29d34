#include "base/FileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace {

// Folder flag of ext4 and f2fs folders that ignore case.
constexpr long CaseFoldFlag = 0x40000000;
// File systems that always ignore case.
constexpr long MsdosMagic = 0x4d44;
constexpr long ExfatMagic = 0x2011BAB0;

int ErrnoOf(int Result) { return Result == 0 ? 0 : errno; }

// Name with the case of every ASCII letter turned over.
std::string FlipAsciiCase(const std::string& Name) {
  std::string Flipped = Name;
  for (char& C : Flipped) {
    if (C >= 'a' && C <= 'z')
      C = static_cast<char>(C - 'a' + 'A');
    else if (C >= 'A' && C <= 'Z')
      C = static_cast<char>(C - 'A' + 'a');
  }
  return Flipped;
}

bool FolderLists(const std::string& Folder, const std::string& Name) {
  DIR* Dir = opendir(Folder.empty() ? "." : Folder.c_str());
  if (!Dir) return false;
  bool Found = false;
  while (const dirent* Entry = readdir(Dir))
    if (Name == Entry->d_name) {
      Found = true;
      break;
    }
  closedir(Dir);
  return Found;
}

}  // namespace

std::optional<TFileStatus> TLinuxFileSystem::Stat(const std::string& Path) {
  struct statx Stx {};
  if (Path.empty() || Path.find('\0') != std::string::npos ||
      statx(AT_FDCWD, Path.c_str(), AT_STATX_SYNC_AS_STAT | AT_SYMLINK_NOFOLLOW, STATX_BASIC_STATS, &Stx) != 0)
    return std::nullopt;
  TFileStatus Status;
  Status.Device = (uint64_t(Stx.stx_dev_major) << 32) | Stx.stx_dev_minor;
  Status.Inode = Stx.stx_ino;
  Status.Size = Stx.stx_size;
  Status.ModifiedNs = Stx.stx_mtime.tv_sec * 1'000'000'000LL + Stx.stx_mtime.tv_nsec;
  Status.DateSeconds = Stx.stx_mtime.tv_sec;
  Status.Directory = S_ISDIR(Stx.stx_mode);
  Status.Links = Stx.stx_nlink;
  if (S_ISLNK(Stx.stx_mode)) {
    struct statx Target {};
    if (statx(AT_FDCWD, Path.c_str(), AT_STATX_SYNC_AS_STAT, STATX_MTIME, &Target) == 0)
      Status.DateSeconds = Target.stx_mtime.tv_sec;
  } else {
    Status.ReadOnly = (Stx.stx_mode & S_IWUSR) == 0;
  }
  return Status;
}

int TLinuxFileSystem::Rename(const std::string& From, const std::string& To, bool NoReplace) {
  return ErrnoOf(renameat2(AT_FDCWD, From.c_str(), AT_FDCWD, To.c_str(), NoReplace ? RENAME_NOREPLACE : 0));
}

int TLinuxFileSystem::Link(const std::string& From, const std::string& To) {
  return ErrnoOf(linkat(AT_FDCWD, From.c_str(), AT_FDCWD, To.c_str(), 0));
}

int TLinuxFileSystem::Unlink(const std::string& Path) { return ErrnoOf(std::remove(Path.c_str())); }

int TLinuxFileSystem::Reserve(const std::string& Path, bool Directory) {
  if (Directory) return ErrnoOf(mkdir(Path.c_str(), 0700));
  const int Fd = open(Path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (Fd < 0) return errno;
  close(Fd);
  return 0;
}

bool TLinuxFileSystem::IgnoresCase(const std::string& Folder, const std::string& Sample) {
  const std::string Where = Folder.empty() ? "." : Folder;
  if (const int Fd = open(Where.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); Fd >= 0) {
    long Flags = 0;
    const bool Folded = ioctl(Fd, FS_IOC_GETFLAGS, &Flags) == 0 && (Flags & CaseFoldFlag) != 0;
    close(Fd);
    if (Folded) return true;
  }
  struct statfs Fs {};
  if (statfs(Where.c_str(), &Fs) == 0 && (Fs.f_type == MsdosMagic || Fs.f_type == ExfatMagic)) return true;
  // Other file systems (FUSE mounts among them) give no sign: a case variant
  // of the sample that leads to the same file although the folder does not
  // list that spelling shows that case is ignored.
  const std::string Variant = FlipAsciiCase(Sample);
  if (Variant == Sample) return false;
  const std::optional<TFileStatus> Original = Stat(Folder + Sample), Other = Stat(Folder + Variant);
  return Original && Other && Original->SameInode(*Other) && !FolderLists(Folder, Variant);
}

std::vector<std::pair<std::string, uint64_t>> TLinuxFileSystem::ListFolder(const std::string& Folder) {
  std::vector<std::pair<std::string, uint64_t>> Names;
  DIR* Dir = opendir(Folder.empty() ? "." : Folder.c_str());
  if (!Dir) return Names;
  while (const dirent* Entry = readdir(Dir)) Names.emplace_back(Entry->d_name, Entry->d_ino);
  closedir(Dir);
  return Names;
}
