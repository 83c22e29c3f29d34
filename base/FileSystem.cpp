#include "base/FileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <memory>

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

TLinuxFileSystem::~TLinuxFileSystem() {
  for (const TFolder& Folder : FFolders) close(Folder.Handle);
}

TLinuxFileSystem::TPlace TLinuxFileSystem::PlaceOf(const std::string& Path) {
  constexpr size_t KeptFolders = 8;
  const size_t NameStart = Path.rfind('/') + 1;  // npos + 1 is 0
  const char* Name = Path.c_str() + NameStart;
  if (NameStart == 0) return {AT_FDCWD, Name};
  const std::string_view Folder(Path.data(), NameStart);
  for (size_t I = FFolders.size(); I-- > 0;) {
    if (FFolders[I].Path != Folder) continue;
    if (I + 1 != FFolders.size()) std::rotate(FFolders.begin() + long(I), FFolders.begin() + long(I) + 1, FFolders.end());
    return {FFolders.back().Handle, Name};
  }
  const int Handle = open(std::string(Folder).c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
  if (Handle < 0) return {AT_FDCWD, Path.c_str()};
  if (FFolders.size() == KeptFolders) {
    close(FFolders.front().Handle);
    FFolders.erase(FFolders.begin());
  }
  FFolders.push_back({std::string(Folder), Handle});
  return {Handle, Name};
}

std::optional<TFileStatus> TLinuxFileSystem::Stat(const std::string& Path) {
  if (Path.empty() || Path.find('\0') != std::string::npos) return std::nullopt;
  const TPlace Place = PlaceOf(Path);
  struct statx Stx {};
  if (statx(Place.Folder, Place.Name, AT_STATX_SYNC_AS_STAT | AT_SYMLINK_NOFOLLOW, STATX_BASIC_STATS, &Stx) != 0)
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
    if (statx(Place.Folder, Place.Name, AT_STATX_SYNC_AS_STAT, STATX_MTIME, &Target) == 0)
      Status.DateSeconds = Target.stx_mtime.tv_sec;
  } else {
    Status.ReadOnly = (Stx.stx_mode & S_IWUSR) == 0;
  }
  return Status;
}

int TLinuxFileSystem::Rename(const std::string& From, const std::string& To, bool NoReplace) {
  const TPlace Source = PlaceOf(From), Target = PlaceOf(To);
  return ErrnoOf(renameat2(Source.Folder, Source.Name, Target.Folder, Target.Name, NoReplace ? RENAME_NOREPLACE : 0));
}

int TLinuxFileSystem::Link(const std::string& From, const std::string& To) {
  const TPlace Source = PlaceOf(From), Target = PlaceOf(To);
  return ErrnoOf(linkat(Source.Folder, Source.Name, Target.Folder, Target.Name, 0));
}

int TLinuxFileSystem::Unlink(const std::string& Path) {
  const TPlace Place = PlaceOf(Path);
  if (unlinkat(Place.Folder, Place.Name, 0) == 0) return 0;
  // An empty folder goes too (a reserved folder name).
  return errno == EISDIR ? ErrnoOf(unlinkat(Place.Folder, Place.Name, AT_REMOVEDIR)) : errno;
}

int TLinuxFileSystem::Reserve(const std::string& Path, bool Directory) {
  const TPlace Place = PlaceOf(Path);
  if (Directory) return ErrnoOf(mkdirat(Place.Folder, Place.Name, 0700));
  const int Fd = openat(Place.Folder, Place.Name, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (Fd < 0) return errno;
  close(Fd);
  return 0;
}

bool TLinuxFileSystem::ListFolder(const std::string& Folder, const TEachName& Each) {
  // getdents64 with a large buffer: a folder of 100,000 names in a few
  // calls, and none of readdir's locking per name.
  const int Fd = open(Folder.empty() ? "." : Folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (Fd < 0) return false;
  constexpr size_t BufferBytes = size_t(1) << 18;
  const std::unique_ptr<char[]> Buffer(new char[BufferBytes]);
  bool Complete = true;
  for (;;) {
    const ssize_t Got = getdents64(Fd, Buffer.get(), BufferBytes);
    if (Got <= 0) {
      Complete = Got == 0;
      break;
    }
    for (ssize_t At = 0; At < Got;) {
      const auto* Entry = reinterpret_cast<const dirent64*>(Buffer.get() + At);
      At += Entry->d_reclen;
      const std::string_view Name = Entry->d_name;
      if (Name != "." && Name != "..") Each(Name, Entry->d_ino, Entry->d_type == DT_DIR || Entry->d_type == DT_UNKNOWN);
    }
  }
  close(Fd);
  return Complete;
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
