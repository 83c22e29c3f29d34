// The record kept for each listed file, the grid's column numbers, and the
// split of a path into folder, name and extension.
#pragma once

#include <QCollatorSortKey>

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
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
// the fraction being the time of day); 0 means none. A grid holds one per
// listed file, so its fields are packed and the parts of the path are views
// of FileName.
struct TFileGridFile {
  std::string FileName;     // the path as it was given; the new path after a rename
  std::string Description;  // the file's type name, at most 80 characters
  std::string NewFileName;  // previewed name and extension, no folder; empty = none
  uint64_t Size = 0;
  double CreationDate = 0;
  double LastWriteDate = 0;
  uint32_t Attributes = 0;
  int32_t IconIndex = 0;    // into the shared icon-name cache
  int32_t Index = 0;        // insertion number; the order to return to when unsorted
  // Where the name and its extension start in FileName (SetFileNameFields sets them).
  uint32_t NameStart = 0;
  uint32_t ExtensionStart = 0;
  uint32_t PathHash = 0;    // FileName's hash as the grid's index of listed paths holds it
  // Collation keys of the text columns (Name, NewFileName, FileName,
  // Extension, Description), made when a sort needs them, and each key's
  // rank among all entries' keys as of the last sort that compared them
  // (0 = none). Whoever changes one of those fields clears the matching key
  // and rank (the grid does). Once ranked, a key is dropped: the rank stands
  // for it until the field changes. The name's key is made most often (every
  // sort breaks ties by the name), so its place is in the entry; the others' apart.
  mutable std::array<uint32_t, 5> SortRanks{};
  bool Checked = false;
  bool Exists = false;      // found on disk when its information was last read
  bool Selected = false;    // the row's selection, parked while a bracket is open or rows move
  std::unique_ptr<std::string> Problem;  // NewNameProblem where there is one
  mutable std::optional<QCollatorSortKey> NameKey;
  mutable std::unique_ptr<std::array<std::optional<QCollatorSortKey>, 4>> OtherKeys;

  // Why the file will not get NewFileName; empty when nothing stops it, as for most files.
  const std::string& NewNameProblem() const {
    static const std::string None;
    return Problem ? *Problem : None;
  }

  // After the last "/".
  std::string_view Name() const { return std::string_view(FileName).substr(NameStart); }
  // From the last "." of Name, dot included; may be empty.
  std::string_view Extension() const { return std::string_view(FileName).substr(ExtensionStart); }
  // Up to and including the last "/"; may be empty.
  std::string_view Path() const { return std::string_view(FileName).substr(0, NameStart); }

  // The key of the text column Slot, made empty where there is none yet.
  std::optional<QCollatorSortKey>& SortKey(int Slot) const {
    if (Slot == 0) return NameKey;
    if (!OtherKeys) OtherKeys = std::make_unique<std::array<std::optional<QCollatorSortKey>, 4>>();
    return (*OtherKeys)[static_cast<size_t>(Slot - 1)];
  }
  void ClearSortKey(int Slot) const {
    if (Slot == 0)
      NameKey.reset();
    else if (OtherKeys)
      (*OtherKeys)[static_cast<size_t>(Slot - 1)].reset();
    SortRanks[static_cast<size_t>(Slot)] = 0;
  }
  // Drops a key, keeping its rank.
  void DropSortKey(int Slot) const {
    if (Slot == 0) {
      NameKey.reset();
    } else if (OtherKeys) {
      (*OtherKeys)[static_cast<size_t>(Slot - 1)].reset();
      if (std::none_of(OtherKeys->begin(), OtherKeys->end(), [](const auto& Key) { return Key.has_value(); }))
        OtherKeys.reset();
    }
  }
  void ClearSortKeys() const {
    NameKey.reset();
    OtherKeys.reset();
    SortRanks = {};
  }
};

// The slot of a text column's sort key and rank in TFileGridFile; -1 for other columns.
int SortKeySlot(int Column);

// Sets FileName and where Name, Extension and Path lie in it: the name is
// the part after the last "/", the path everything up to and including it,
// and the extension starts at the last "." of the name (".profile" is all
// extension; "a.b/file" has none). FileName may be a start of Entry's own FileName.
void SetFileNameFields(TFileGridFile& Entry, std::string_view FileName);
