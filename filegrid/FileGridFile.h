// The record kept for each listed file, the grid's column numbers, and the
// split of a path into folder, name and extension.
#pragma once

#include <QCollatorSortKey>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// File attribute bits as the grid shows and sorts them.
enum : uint32_t {
  faReadOnly = 1,    // the owner has no write permission
  faHidden = 2,      // the name starts with "."
  faSystem = 4,      // neither a regular file nor a folder (device, fifo, socket)
  faDirectory = 16,
  faArchive = 32,    // a regular file
};

// Column numbers of the grid, in the order the columns are created; the
// number of a column never changes.
enum TFileGridColumn : int {
  fcCheck = 0,
  fcFileName = 1,
  fcNewFileName = 2,
  fcPath = 3,
  fcExtension = 4,
  fcSize = 5,
  fcDescription = 6,
  fcAttributes = 7,
  fcCreationDate = 8,
  fcLastWriteDate = 9,
};
inline constexpr int FileGridColumnCount = 10;
// The column captions by column number.
extern const std::array<const char*, FileGridColumnCount> FileGridColumnCaptions;

// One listed file. Dates are local date-time values (days since 1899-12-30,
// the fraction being the time of day); 0 means none.
struct TFileGridFile {
  std::string FileName;     // the path as it was given; the new path after a rename
  int32_t IconIndex = 0;    // into the shared icon-name cache
  std::string Name;         // after the last "/"
  std::string Extension;    // from the last "." of Name, dot included; may be empty
  std::string Path;         // up to and including the last "/"; may be empty
  uint64_t Size = 0;
  std::string Description;  // the file's type name, at most 80 characters
  double CreationDate = 0;
  double LastWriteDate = 0;
  bool Checked = false;
  uint32_t Attributes = 0;
  std::string NewFileName;  // previewed name and extension, no folder; empty = none
  std::string NewNameProblem;  // why the file will not get NewFileName; empty when nothing stops it
  int32_t Index = 0;        // insertion number; the order to return to when unsorted
  bool Exists = false;      // found on disk when its information was last read
  bool Selected = false;    // the row's selection, parked while a bracket is open or rows move

  // Collation keys of the text columns (Name, NewFileName, FileName,
  // Extension, Description), made on first use by the sort, and each key's
  // rank among all entries' keys as of the last sort that compared them
  // (0 = none). Whoever changes one of those fields clears the matching key
  // (the grid does).
  mutable std::array<std::optional<QCollatorSortKey>, 5> SortKeys;
  mutable std::array<uint32_t, 5> SortRanks{};

  void ClearSortKey(int Slot) const {
    SortKeys[static_cast<size_t>(Slot)].reset();
    SortRanks[static_cast<size_t>(Slot)] = 0;
  }
  void ClearSortKeys() const {
    for (int Slot = 0; Slot < 5; ++Slot) ClearSortKey(Slot);
  }
};

// The slot in TFileGridFile::SortKeys for a text column; -1 for other columns.
int SortKeySlot(int Column);

// Sets FileName and derives Name, Extension and Path from it: the name is
// the part after the last "/", the path everything up to and including it,
// and the extension starts at the last "." of the name (".profile" is all
// extension; "a.b/file" has none).
void SetFileNameFields(TFileGridFile& Entry, std::string FileName);
