// The file list behind the grid: it owns one TFileGridFile per listed file,
// keeps them in display order (position = row), reads their information from
// disk, and sorts, moves, checks and removes them. Rows are reached through
// TFileGridRows, so the list runs and is tested without a display.
#pragma once

#include <QCollator>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "filegrid/FileGridFile.h"
#include "filegrid/FileGridRows.h"
#include "filegrid/FileInfoReader.h"

enum TFileGridMoveDirection { mdBottom = 0, mdDown = 1, mdUp = 2, mdTop = 3 };
enum TSortDirection { sdAscending, sdDescending };
enum TMouseButton { mbLeft, mbRight, mbMiddle };

// The listed paths, each entry by its FileName: open addressing over
// pointers to the entries, so that a look-up or a change visits one array
// and the few entries whose hash matches. Equal paths may be listed more than once.
class TListedPaths {
 public:
  // Entry's FileName must stay as it is until Entry is erased.
  void Insert(TFileGridFile& Entry);
  // Takes out this entry, not another one of the same path.
  void Erase(const TFileGridFile& Entry);
  bool Contains(std::string_view Path) const;
  void Clear();

 private:
  static uint32_t Hash(std::string_view Path) { return static_cast<uint32_t>(std::hash<std::string_view>()(Path)); }
  void Place(const TFileGridFile* Entry);
  std::vector<const TFileGridFile*> FSlots;  // a power of two of them, at most half in use
  size_t FCount = 0;
};

class TVmVirtualFileGrid {
 public:
  // Rows must outlive the grid. Without a reader the grid reads from disk.
  explicit TVmVirtualFileGrid(TFileGridRows& Rows, std::shared_ptr<TFileInfoReader> Reader = nullptr);
  TVmVirtualFileGrid(const TVmVirtualFileGrid&) = delete;
  TVmVirtualFileGrid& operator=(const TVmVirtualFileGrid&) = delete;

  // --- The list -----------------------------------------------------------
  // Adds the file at FileName at the end (or in its sorted place) when it is
  // found on disk; a missing file is silently left out. No duplicate check.
  void AddFile(const std::string& FileName, const std::string& NewFileName = {}, bool Checked = true);
  // Adds the files found of FileNames, in that order, with no new name: one
  // re-sort for all of them.
  void AddFiles(std::vector<std::string> FileNames, bool Checked = true);
  // The files of Folder ("/" ended or not) that are not listed yet, in the
  // order a Filename sort gives; its subfolders are left out. Nothing when
  // it cannot be read.
  std::optional<std::vector<std::string>> FolderFiles(std::string Folder) const;
  // Adds FolderFiles(Folder); false when the folder cannot be read.
  bool AddFolder(std::string Folder);
  // Whether an entry's FileName equals FileName exactly (case-sensitive);
  // a hash look-up, so adding a folder's files one by one stays linear.
  bool ContainsFile(const std::string& FileName) const { return FListed.Contains(FileName); }
  int FileCount() const { return static_cast<int>(FFiles.size()); }
  // Positions must be valid (0 <= Position < FileCount); a bad one throws std::out_of_range.
  const std::string& GetFileName(int Position) const { return File(Position).FileName; }
  bool IsChecked(int Position) const { return File(Position).Checked; }
  const TFileGridFile& File(int Position) const;
  // These two ignore a position outside the list. Problem says why the file
  // will not get that name (empty when nothing stops it).
  void SetNewFileName(int Position, const std::string& NewFileName, const std::string& Problem = {});
  // Re-reads the entry from NewPath, its path after a rename.
  void UpdateFile(int Position, const std::string& NewPath);
  // After a rename to NewPath (or none, NewPath being its path): only the
  // file's status is read again; a type its content gave is kept.
  void RenamedFile(int Position, const std::string& NewPath);
  void RemoveSelectedFiles();
  void RemoveAllFiles();
  void MoveSelectedFiles(TFileGridMoveDirection Direction);
  void CheckAll();
  void CheckNone();
  void InvertChecks();
  // The user changed a row's check box: nothing is re-sorted.
  void CheckBoxChanged(int Position, bool Checked);
  // Re-reads every entry from its FileName; entries whose file has gone stay.
  void RefreshFiles();
  // Update bracket (may nest): inside it nothing re-sorts, so position i stays
  // the same entry; the list is re-sorted once when the last bracket closes.
  void BeginUpdate();
  void EndUpdate();
  int32_t NextIndex() const { return FNextIndex; }

  // --- Sorting ------------------------------------------------------------
  // -1 when unsorted, else a column number (TFileGridColumn).
  int SortColumn() const { return FSortColumn; }
  TSortDirection SortDirection() const { return FSortDirection; }
  // Sets the sort state without sorting (used when saved options are loaded;
  // the list is sorted when the loading bracket closes). An unknown column
  // switches sorting off.
  void SetSortState(int Column, TSortDirection Direction);
  // Re-sorts when Column is -1 or the sort column, a sort column is set (or
  // Force), no bracket is open and there are two entries or more. The
  // selection follows the entries.
  void SortFiles(int Column, bool Force);
  void ClearSort();
  // Index 0, 1, 2, ... in display order; NextIndex becomes the count.
  void RenumberEntries();
  // -1, 0 or 1 under the current sort column and direction; ties are broken
  // by Name. Text is compared lower-cased with the system locale's collation.
  int CompareEntries(const TFileGridFile& A, const TFileGridFile& B) const;
  // Header click on Column: ascending, then descending, then back to the
  // order from before sorting. Only the left button counts.
  void HeaderClick(int Column, TMouseButton Button = mbLeft);

 private:
  struct TSortItem;
  static void RadixSort(std::vector<TSortItem>& Items, bool Descending);

  // Path may be Entry's own FileName.
  bool ReadFileInformation(TFileGridFile& Entry, std::string_view Path, bool Renamed = false);
  // Puts a read entry at the end of the list, unsorted.
  void Append(std::unique_ptr<TFileGridFile> Entry, bool Checked);
  // The index of listed paths, one place per entry.
  void List(TFileGridFile& Entry) { FListed.Insert(Entry); }
  void Unlist(const TFileGridFile& Entry) { FListed.Erase(Entry); }
  void SaveSelection();
  void RestoreSelection();
  void RepaintUnlessUpdating();
  void SortList();
  uint64_t NumberKey(const TFileGridFile& Entry) const;
  // Gives every entry a rank for the text column Slot: equal keys share a
  // rank, and ranks rise with the keys. The keys are dropped afterwards.
  void RankTexts(int Slot) const;
  int CompareNames(const TFileGridFile& A, const TFileGridFile& B) const;
  const QCollatorSortKey& SortKey(const TFileGridFile& Entry, int Slot) const;
  // The collation key text columns sort by: Text lower-cased, in the locale's collation.
  QCollatorSortKey TextKey(std::string_view Text) const;

  TFileGridRows& FRows;
  std::shared_ptr<TFileInfoReader> FReader;
  std::vector<std::unique_ptr<TFileGridFile>> FFiles;
  TListedPaths FListed;
  int32_t FNextIndex = 0;
  int FSortColumn = -1;
  TSortDirection FSortDirection = sdAscending;
  QCollator FCollator;  // the system locale's
};
