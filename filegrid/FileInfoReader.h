// Reading what the grid shows of a file from disk: size, attributes, dates,
// type name and icon. The grid reads through the TFileInfoReader interface so
// that tests can stand in a file system of their own.
#pragma once

#include <QMimeDatabase>

#include "base/VmDateTime.h"
#include "filegrid/FileGridFile.h"

#include <cstdint>
#include <memory>
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

// MIME type names and icons. A regular file's type is decided by its name;
// the answer is kept per extension, so a folder of many files costs one look-up
// per extension. Names that the MIME database knows beyond their extension
// (such as "Makefile", "README.md" or "x.tar.gz") are recognised from an index
// of its glob patterns and looked up whole. Only a file whose name says
// nothing has its content read.
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
  const TFileIconCache& Icons() const { return *FIcons; }

 private:
  const TType& TypeOfMime(const QMimeType& Mime);
  std::optional<TType> TypeOfName(std::string_view Name);
  void BuildGlobIndex();
  bool IsSpecialName(const std::string& LowerName) const;

  std::shared_ptr<TFileIconCache> FIcons;
  QMimeDatabase FDatabase;
  std::unordered_map<std::string, TType> FByMimeName;
  // Per extension: the type, or nothing when the name alone does not tell.
  std::unordered_map<std::string, std::optional<TType>> FByExtension;
  // The glob patterns that are not a plain "*.extension", sorted by shape
  // (all lower case), and the extensions with more than one dot (".tar.gz").
  bool FGlobIndexBuilt = false;
  std::unordered_set<std::string> FLiteralNames;
  std::vector<std::string> FNamePrefixes, FNameSuffixes, FNamePatterns;
  std::unordered_set<std::string> FCompoundExtensions;
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
  const TFileIconCache& Icons() const { return FTypes.Icons(); }

 private:
  TFileTypeNames FTypes;
  TReadScope FScope = rsGrid;
};


// Whether a file name is matched by Pattern, where only "*" (any run) and
// "?" (one character) are wildcards; every other character stands for itself.
bool MatchesNamePattern(const std::string& Pattern, const char* Name);
