// The list of recently used profiles behind the Open Profile button: at most
// three full paths, the most recent first. Paths are compared exactly, letter
// case included, as the file system does: two profiles whose names differ
// only in case are two entries.
#pragma once

#include <string>
#include <vector>

class TRecentFiles {
 public:
  static constexpr int MaxCount = 3;

  // Puts FileName, made a full path, on top. An entry with the same path
  // moves there; the oldest entry beyond MaxCount drops. An empty name
  // changes nothing.
  void Add(const std::string& FileName);
  // Replaces the entries by the first MaxCount of Paths that name existing
  // regular files, in the order given, each path once.
  void LoadExisting(const std::vector<std::string>& Paths);
  void Clear() { FItems.clear(); }

  // The entries, most recent first.
  const std::vector<std::string>& Items() const { return FItems; }
  int Count() const { return static_cast<int>(FItems.size()); }
  // The menu caption of the entry at Index (0 on top): "&1 " and the file's
  // name without its folder, with "&" doubled so that it shows as itself.
  std::string Caption(int Index) const;

  bool operator==(const TRecentFiles&) const = default;

 private:
  std::vector<std::string> FItems;
};
