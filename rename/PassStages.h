// A pass as stages over one record list: collect the checked files, look
// them up, build each new name, validate the names against each other and
// the disk, plan the order of the renames, commit them. Only the commit
// changes the disk; every stage before it can run alone, so the preview
// shows exactly what the commit will do.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/FileSystem.h"
#include "rename/BuildName.h"

// What becomes of one checked file.
enum TPassStatus : uint8_t {
  psRename,       // will be renamed
  psRenamed,      // was renamed
  psUnchanged,    // the new name is its name
  psNotFound,     // not on disk
  psSkipped,      // read-only, and the answer left it alone
  psInvalidName,  // the new name cannot name a file
  psDuplicate,    // an entry before it in the list is given the same name
  psTaken,        // a file the pass does not move away holds the new name
  psSameFile,     // the new name is another link to this same file
  psChanged,      // the file on disk is no longer the file that was checked
  psFailed,       // the file system refused the rename (Error)
  psCycleStopped, // one of a ring of renames failed: back under its old name
  psStopped,      // the pass was stopped before its turn came
};

// One checked file of the list the pass runs over.
struct TPassFile {
  int Position = 0;  // in the caller's list
  std::string Path;
};

// A pass holds one per file: the small fields come last, without padding between.
struct TPassEntry {
  std::string Folder;   // up to and including the last "/"; may be empty
  std::string Name;     // the current name
  std::string NewName;  // empty when no name was built
  TFileStatus File;     // as looked up; the commit insists on this same file
  int Position = 0;
  int FolderId = 0;     // the same for the entries of one folder
  int Error = 0;   // errno of a refused rename
  int Other = -1;  // the entry that holds or takes first this one's new name (see ValidateEntries)
  TPassStatus Status = psRename;
  bool Found = false;
  bool IgnoreCase = false;  // its folder compares names without regard to case

  std::string Path() const { return Folder + Name; }
  std::string NewPath() const { return Folder + NewName; }
};

// Everything a pass found out and did, entries in list order.
struct TPassResult {
  std::vector<TPassEntry> Entries;
  int Renamed = 0;  // entries whose path changed
  // Entries that will not be (or were not) renamed for a reason other than
  // keeping their name.
  int Problems() const;
};

// The key of a status in quorvane-cli's --json output ("rename", "taken", ...).
std::string_view PassStatusKey(TPassStatus Status);
// Why an entry is not renamed as its new name says; empty when nothing stops it.
std::string PassReason(const TPassResult& Result, const TPassEntry& Entry);
// 1200 as "1,200".
std::string GroupedNumber(size_t Value);
// "3 of 1,200 new names conflict"; empty when none does.
std::string PassSummary(const TPassResult& Result);

// --- The stages ------------------------------------------------------------

// What the listings of folders held, kept from a lookup for the validation
// that follows it at once (a preview), so that a folder is listed once.
class TFolderListings {
 public:
  // A name of Folder; the names of one folder are added one after another.
  void Add(int Folder, std::string_view Name, uint64_t Inode, bool MaybeFolder);
  // After the names of Folder: Complete keeps them as its listing, otherwise
  // they go again.
  void Listed(int Folder, bool Complete);
  bool Has(int Folder) const { return size_t(Folder) < FRanges.size() && FRanges[size_t(Folder)].second > 0; }
  // Tells Each of every name of a folder that Has.
  template <class TEach>
  void ForEach(int Folder, const TEach& Each) const {
    const auto [First, Last] = FRanges[size_t(Folder)];
    for (size_t I = First; I + 1 < Last; ++I) Each(NameAt(I), FNames[I].Inode);
  }
  // Every name kept, by its number.
  size_t Size() const { return FNames.size(); }
  int FolderAt(size_t I) const { return FNames[I].Folder; }
  std::string_view NameAt(size_t I) const { return std::string_view(FText).substr(FNames[I].Start, FNames[I].Size); }
  uint64_t InodeAt(size_t I) const { return FNames[I].Inode; }
  bool MaybeFolderAt(size_t I) const { return FNames[I].MaybeFolder; }

 private:
  struct TName {
    size_t Start;
    uint32_t Size;  // a name has at most 255 bytes
    int32_t Folder;
    uint64_t Inode;
    bool MaybeFolder;
  };
  std::string FText;  // every name, one after another
  std::vector<TName> FNames;
  std::vector<std::pair<size_t, size_t>> FRanges;  // by folder: its names, plus one; 0 when not listed
  int FOpen = -1;  // the folder whose names are being added
  size_t FOpenStart = 0, FOpenText = 0;
};

// collect: one entry per file, its path split into folder and name.
std::vector<TPassEntry> CollectEntries(const std::vector<TPassFile>& Files);
// Sets an entry's Position, and its Folder and Name from Path.
void SetEntryPath(TPassEntry& Entry, int Position, const std::string& Path);
// Gives the entries of one folder one FolderId, the folders numbered from 0.
void NumberFolders(std::vector<TPassEntry>& Entries);
// Looks every entry up (one not found gets psNotFound) and finds out for each
// folder whether it ignores case. ByListing: an entry of a large folder found
// in one listing of it learns only its device and inode (InodeOnly), which is
// enough for names that need no dates.
// The listings made are kept in Keep when given.
void LookUpEntries(std::vector<TPassEntry>& Entries, TFileSystem& Fs, bool ByListing = false,
                   TFolderListings* Keep = nullptr);
// The second half of LookUpEntries: whether each found entry's folder ignores case.
void FindFolderCase(std::vector<TPassEntry>& Entries, TFileSystem& Fs);
// build: the new name of every entry that is still to be renamed (with
// AlsoNotFound also of those not found, as the preview shows them), in
// list order, the counter advancing once per name. An entry whose name stays
// becomes psUnchanged.
void BuildNames(std::vector<TPassEntry>& Entries, const TNameBuilder& Builder, int32_t& CounterValue,
                bool AlsoNotFound);
// LookUpEntries and then BuildNames, as a preview runs them: by listing
// where the names need no dates or content. With AlsoNotFound such names
// are built while the folders are listed.
void LookUpAndBuildNames(std::vector<TPassEntry>& Entries, TFileSystem& Fs, const TNameBuilder& Builder,
                         int32_t& CounterValue, bool AlsoNotFound, TFolderListings* Keep);

// validate: refuses the entries with a conflict, one kind after another,
// after which the entries still psRename can all be renamed:
// - a name that is empty, ".", "..", holds "/" or NUL, or is too long for a
//   folder entry (255 bytes): psInvalidName;
// - two entries given one name in one folder: the first in list order keeps
//   it, the later ones get psDuplicate;
// - a new name held on disk by a file that stays: psTaken; by another link to
//   the same file: psSameFile. An entry whose target is vacated by an entry
//   that in turn cannot move is refused too, down the whole chain.
// Each entry still to be renamed learns in Other the entry whose present
// name is its new name (-1: none), which the plan follows.
// Folders in Known are not listed again; those listed are added to it.
void ValidateEntries(std::vector<TPassEntry>& Entries, TFileSystem& Fs, TFolderListings* Known = nullptr);
// BuildNames of the entries still to be renamed, then ValidateEntries, as a
// renaming pass runs them; the folders are listed while the names are built.
void BuildAndValidate(std::vector<TPassEntry>& Entries, const TNameBuilder& Builder, int32_t& CounterValue,
                      TFileSystem& Fs);

// plan: the renames in an order in which each target is free when its turn
// comes. A ring of renames (a swap, a rotation, a change of case in a folder
// that ignores case) goes through a temporary name in the same folder.
struct TPassStep {
  int Entry = -1;
  int Ring = -1;  // the steps of one ring share a number; -1 outside rings
  // A step takes its entry from its name to its new name, except in a ring
  // for the entry that steps aside: to Temporary first, from it last.
  enum TKind : uint8_t { skMove, skAside, skBack } Kind = skMove;
  std::string Temporary;  // a name in the entry's folder; only for skAside and skBack
};
// The entries must have been validated just before.
std::vector<TPassStep> PlanSteps(std::vector<TPassEntry>& Entries, TFileSystem& Fs);

// commit: runs the steps, never replacing a file. Before an entry's first
// step its file is looked up again and must be the one validated
// (psChanged otherwise). A failed step leaves its entry, and every entry of
// its ring, under the old names. Done is told of each entry when its outcome
// is final, in the order of the disk work; when it answers false the pass
// stops there (a ring under way is finished first) and the entries whose
// turn has not come get psStopped.
void CommitSteps(std::vector<TPassEntry>& Entries, const std::vector<TPassStep>& Steps, TFileSystem& Fs,
                 const std::function<bool(const TPassEntry&)>& Done);

// Renames From to To without ever replacing a file, also where the file
// system refuses the no-replace flag (link and unlink, else a reserved name).
// Returns 0 or the errno.
int MoveNoReplace(TFileSystem& Fs, const std::string& From, const std::string& To, bool Directory);
