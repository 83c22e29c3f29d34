// Reading what the grid shows of a file from disk: size, attributes, dates,
// type name and icon. The grid reads through the TFileInfoReader interface so
// that tests can stand in a file system of their own.
#pragma once

#include <QMimeDatabase>

#include "base/VmDateTime.h"
#include "filegrid/FileGridFile.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

// What is read of one file.
struct TFileInfo {
  uint64_t Size = 0;
  uint32_t Attributes = 0;
  double CreationDate = 0;   // 0 when the file system keeps no birth time
  double LastWriteDate = 0;
  std::string Description;   // type name, at most 80 characters
  int32_t IconIndex = 0;
};

class TFileInfoReader {
 public:
  virtual ~TFileInfoReader() = default;
  // The information of the file at Path; empty when nothing is found.
  virtual std::optional<TFileInfo> Read(const std::string& Path) = 0;
  // The information of a file that was just renamed to Path, Before being
  // what was read of it under its old name. A rename changes no content, so
  // a reader may keep what came from the content; this one reads anew.
  virtual std::optional<TFileInfo> ReadRenamed(const std::string& Path, const TFileInfo& /*Before*/) {
    return Read(Path);
  }
  // Whether Read may be called from several threads at once.
  virtual bool ReadsConcurrently() const { return false; }
};

// One index per distinct icon. The reader fills it and the grid on screen
// draws from it, so its owner hands the same cache to both. Index 0 is the
// generic icon for files whose type could not be told.
class TFileIconCache {
 public:
  TFileIconCache();
  // The index of the icon with these theme names, added when new.
  int32_t IndexOf(const std::string& IconName, const std::string& GenericIconName);
  int Count() const { return static_cast<int>(FIcons.size()); }
  // The theme icon name and its generic fallback; empty texts for a bad index.
  const std::string& IconName(int Index) const;
  const std::string& GenericIconName(int Index) const;

 private:
  struct TIcon {
    std::string Name, Generic;
  };
  std::vector<TIcon> FIcons;
  std::unordered_map<std::string, int32_t> FIndexByName;
};

// What kind of directory entry a file is.
enum TFileKind { fkRegular, fkDirectory, fkSymlink, fkCharDevice, fkBlockDevice, fkFifo, fkSocket };

// MIME type names and icons. A regular file's type is decided by its name:
// its extension is looked up in a table of the database's "*.extension"
// globs, made once, and the answer kept in a bounded cache per extension.
// Names that the database knows beyond their extension (such as "Makefile",
// "README.md" or "libx.so.1") are recognised from an index of its other glob
// patterns and looked up whole. Only a file whose name says nothing has its
// content read.
class TFileTypeNames {
 public:
  struct TType {
    std::string Description;
    int32_t IconIndex = 0;
  };
  explicit TFileTypeNames(std::shared_ptr<TFileIconCache> Icons);
  // Name decides the type of a regular file; ContentPath is read only when the
  // name says nothing. Other kinds are named by their kind.
  TType TypeOf(TFileKind Kind, std::string_view Name, const std::string& ContentPath);
  // The type a regular file's name gives; nothing when the name says nothing.
  std::optional<TType> TypeOfName(std::string_view Name);
  const TFileIconCache& Icons() const { return *FIcons; }
  // Extensions whose answers are kept; a full cache starts afresh.
  static constexpr size_t MaxCachedExtensions = 4096;

 private:
  // What the table knows of an extension (lower case): its one MIME type,
  // or that the database must be asked (several types claim it, or a glob
  // of it minds the case).
  struct TGlob {
    std::string MimeName;
    bool Ask = false;
  };
  const TType& TypeOfMime(const QMimeType& Mime);
  const TType& TypeOfMimeName(const std::string& MimeName);
  std::optional<TType> TypeOfExtension(const std::string& Extension, const std::string& LowerExtension);
  void BuildGlobIndex();
  // One glob of MimeName into the index.
  void AddGlob(const std::string& MimeName, const std::string& Spelled);
  bool IsSpecialName(const std::string& LowerName) const;

  std::shared_ptr<TFileIconCache> FIcons;
  QMimeDatabase FDatabase;
  std::unordered_map<std::string, TType> FByMimeName;
  std::optional<TType> FByKind[7];
  // Per extension as spelled: the type, or nothing when the name alone does not tell.
  std::unordered_map<std::string, std::optional<TType>> FByExtension;
  // The "*.extension" globs (extensions with several dots, such as
  // ".tar.gz", included), and the other glob patterns sorted by shape (all
  // lower case): whole names, prefixes, suffixes, patterns over the
  // extension alone ("*.[1-9]") and over the whole name.
  bool FGlobIndexBuilt = false;
  std::unordered_map<std::string, TGlob> FGlobs;
  std::unordered_set<std::string> FLiteralNames;
  std::vector<std::string> FNamePrefixes, FNameSuffixes, FExtensionPatterns;
  // A pattern over the whole name, with the longest run of plain characters
  // in it: a name without that run cannot match, and is told so without
  // fnmatch, which is slow in a multibyte locale.
  struct TNamePattern {
    std::string Pattern, Plain;
  };
  std::vector<TNamePattern> FNamePatterns;
  std::unordered_set<std::string> FCompoundExtensions;
  std::string FLowerName;  // TypeOfName's lower-case copy of the name
};

// Reads files with statx. A symbolic link is listed as itself but shows the
// size, dates and kind of its target while the target exists. A last path
// component holding "*" or "?" is a pattern: a file of exactly that name is
// taken first, otherwise the first entry of the folder that matches it.
class TLinuxFileInfoReader : public TFileInfoReader {
 public:
  // What a read finds out: everything the grid shows, or only what renaming
  // needs (size, attributes and the last-write date; no creation date, type
  // name or icon), for callers that show no grid.
  enum TReadScope { rsGrid, rsRenaming };

  // Icons receives the icon of every file read; without it the reader keeps
  // a cache of its own.
  explicit TLinuxFileInfoReader(std::shared_ptr<TFileIconCache> Icons = nullptr);
  explicit TLinuxFileInfoReader(TReadScope Scope);
  std::optional<TFileInfo> Read(const std::string& Path) override;
  // One statx; the type follows the new name where the name tells it, and
  // stays as it was (from the content, which a rename leaves alone) where not.
  std::optional<TFileInfo> ReadRenamed(const std::string& Path, const TFileInfo& Before) override;
  // Only the type names are shared between threads, under a lock.
  bool ReadsConcurrently() const override { return true; }
  const TFileIconCache& Icons() const { return FTypes.Icons(); }
  // While deferred, reads give no type name and the generic icon, so that a
  // window shows its first files before the MIME database has been loaded.
  void DeferTypes(bool Defer) { FDeferTypes = Defer; }

 private:
  bool FDeferTypes = false;
  std::mutex FTypesLock;  // held while FTypes is asked
  TFileTypeNames FTypes;
  TReadScope FScope = rsGrid;
};


// Whether a file name is matched by Pattern, where only "*" (any run) and
// "?" (one character) are wildcards; every other character stands for itself.
bool MatchesNamePattern(const std::string& Pattern, const char* Name);
