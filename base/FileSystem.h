// The few file-system calls a renaming pass makes, behind an interface so
// that tests can make any of them fail or stop the process dead at a chosen
// step. Every call returns 0 or the errno of its failure.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What a pass knows of one directory entry. A symbolic link is the link
// itself: renaming moves the link, so the link is what must stay the same.
// A pass holds one per file: the small fields come last, without padding between.
struct TFileStatus {
  uint64_t Device = 0;
  uint64_t Inode = 0;
  uint64_t Size = 0;
  int64_t ModifiedNs = 0;  // last write, nanoseconds since 1970
  // The last write of the file the name leads to (a link's target while it
  // exists), in seconds since 1970: what the date fields show. NoDate for a
  // name that stands for no file on disk.
  static constexpr int64_t NoDate = INT64_MIN;
  int64_t DateSeconds = 0;
  uint32_t Links = 0;  // names the file has; 0 where unknown
  bool ReadOnly = false;   // the owner has no write permission (never for a link)
  bool Directory = false;
  // Found in its folder's listing, which tells only Device and Inode.
  bool InodeOnly = false;

  // Whether both describe the same unchanged file: same inode, size and last
  // write (the inode alone where one of them knows no more).
  bool SameFileUnchanged(const TFileStatus& Other) const {
    return SameInode(Other) &&
           (InodeOnly || Other.InodeOnly || (Size == Other.Size && ModifiedNs == Other.ModifiedNs));
  }
  bool SameInode(const TFileStatus& Other) const { return Device == Other.Device && Inode == Other.Inode; }
};

class TFileSystem {
 public:
  virtual ~TFileSystem() = default;
  // The entry at Path without following a last link; nothing when there is none.
  virtual std::optional<TFileStatus> Stat(const std::string& Path) = 0;
  // Renames From to To; with NoReplace an existing To makes it fail with
  // EEXIST. A file system that cannot promise that answers EINVAL.
  virtual int Rename(const std::string& From, const std::string& To, bool NoReplace) = 0;
  // A second name To for the file From; fails with EEXIST when To exists.
  virtual int Link(const std::string& From, const std::string& To) = 0;
  // Removes the name Path (an empty folder too).
  virtual int Unlink(const std::string& Path) = 0;
  // Creates an empty file (or folder) at Path, failing with EEXIST when
  // anything is there: a name held before another program can take it.
  virtual int Reserve(const std::string& Path, bool Directory) = 0;
  // Tells Each of every name a folder holds, with its inode and whether it
  // may be a folder (whose inode a mount hides), for a folder in which many
  // names are looked up; false when it cannot be read (or a file system does
  // not list), and Stat serves instead.
  using TEachName = std::function<void(std::string_view Name, uint64_t Inode, bool MaybeFolder)>;
  virtual bool ListFolder(const std::string& Folder, const TEachName& Each) = 0;
  // Whether the folder compares names without regard to case, found out
  // without writing. Sample is a name the folder holds.
  virtual bool IgnoresCase(const std::string& Folder, const std::string& Sample) = 0;
  // Another object for the same file system, for a second thread to look
  // files up at the same time; nullptr where there is none.
  virtual std::unique_ptr<TFileSystem> Twin() { return nullptr; }
};

// The real file system, through statx, renameat2, link, unlink and open.
// Names are reached through an open handle of their folder, kept for the
// few folders used last, so that a pass walks each folder's path once and
// not once per call. One object serves one thread at a time.
class TLinuxFileSystem : public TFileSystem {
 public:
  TLinuxFileSystem() = default;
  ~TLinuxFileSystem() override;
  TLinuxFileSystem(const TLinuxFileSystem&) = delete;
  TLinuxFileSystem& operator=(const TLinuxFileSystem&) = delete;

  std::optional<TFileStatus> Stat(const std::string& Path) override;
  int Rename(const std::string& From, const std::string& To, bool NoReplace) override;
  int Link(const std::string& From, const std::string& To) override;
  int Unlink(const std::string& Path) override;
  int Reserve(const std::string& Path, bool Directory) override;
  bool ListFolder(const std::string& Folder, const TEachName& Each) override;
  bool IgnoresCase(const std::string& Folder, const std::string& Sample) override;
  std::unique_ptr<TFileSystem> Twin() override { return std::make_unique<TLinuxFileSystem>(); }

 private:
  // A path as a folder handle (AT_FDCWD when none could be opened) and the
  // name to use with it; valid while Path lives.
  struct TPlace {
    int Folder;
    const char* Name;
  };
  TPlace PlaceOf(const std::string& Path);

  struct TFolder {
    std::string Path;  // up to and including the last "/"
    int Handle;
  };
  std::vector<TFolder> FFolders;  // the most recently used last
};
