#include "filegrid/VirtualFileGrid.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <stdexcept>
#include <utility>

#include "base/TwoHalves.h"

// One entry as the sort sees it: its key as an unsigned number (a text key
// by its rank), where it stood and whether its row was selected. Small, so
// that sorting does not visit the entries.
struct TVmVirtualFileGrid::TSortItem {
  uint64_t Number = 0;
  uint32_t Position = 0;
  bool Selected = false;
};

namespace {

// Signed and floating-point keys mapped to unsigned numbers of the same order.
uint64_t OrderedBits(int64_t Value) { return static_cast<uint64_t>(Value) ^ (uint64_t{1} << 63); }

uint64_t OrderedBits(double Value) {
  const auto Bits = std::bit_cast<uint64_t>(Value == 0 ? 0.0 : Value);  // -0 sorts as 0
  return (Bits & (uint64_t{1} << 63)) ? ~Bits : Bits | (uint64_t{1} << 63);
}

// Date-time values before 1899-12-30 run backwards in their whole part but
// forwards in their fraction; this makes them one rising line for sorting.
double SortableDate(double Value) {
  if (Value >= 0) return Value;
  const double Day = std::trunc(Value);
  return Day + (Day - Value);
}

int Sign(int Value) { return (Value > 0) - (Value < 0); }

std::string_view SortText(const TFileGridFile& Entry, int Slot) {
  switch (Slot) {
    case 0: return Entry.Name();
    case 1: return Entry.NewFileName;
    case 2: return Entry.FileName;
    case 3: return Entry.Extension();
    default: return Entry.Description;
  }
}

}  // namespace

TVmVirtualFileGrid::TVmVirtualFileGrid(TFileGridRows& Rows, std::shared_ptr<TFileInfoReader> Reader)
    : FRows(Rows), FReader(Reader ? std::move(Reader) : std::make_shared<TLinuxFileInfoReader>()) {}

// --- Reading ---------------------------------------------------------------

bool TVmVirtualFileGrid::ReadFileInformation(TFileGridFile& Entry, std::string_view Path, bool Renamed) {
  // A folder given as "dir/" is the folder "dir": its name must not be empty.
  size_t Length = Path.size();
  while (Length > 1 && Path[Length - 1] == '/') --Length;
  SetFileNameFields(Entry, Path.substr(0, Length));
  std::optional<TFileInfo> Info;
  if (!Entry.Name().empty() && Renamed && Entry.Exists)
    Info = FReader->ReadRenamed(Entry.FileName, {.Size = Entry.Size, .Attributes = Entry.Attributes,
                                                 .CreationDate = Entry.CreationDate, .LastWriteDate = Entry.LastWriteDate,
                                                 .Description = Entry.Description, .IconIndex = Entry.IconIndex});
  else if (!Entry.Name().empty())
    Info = FReader->Read(Entry.FileName);
  if (!Info) {
    Entry.Exists = false;
    Entry.Checked = false;
    Entry.Size = 0;
    Entry.Attributes = 0;
    Entry.CreationDate = 0;
    Entry.LastWriteDate = 0;
    Entry.Description.clear();
    return false;
  }
  Entry.Exists = true;
  Entry.Size = Info->Size;
  Entry.Attributes = Info->Attributes;
  Entry.CreationDate = Info->CreationDate;
  Entry.LastWriteDate = Info->LastWriteDate;
  Entry.Description = std::move(Info->Description);
  Entry.IconIndex = Info->IconIndex;
  return true;
}

// --- The listed paths ------------------------------------------------------

void TListedPaths::Insert(TFileGridFile& Entry) {
  Entry.PathHash = Hash(Entry.FileName);
  if ((FCount + 1) * 2 > FSlots.size()) {
    std::vector<const TFileGridFile*> Old(std::max<size_t>(FSlots.size() * 2, 64));
    Old.swap(FSlots);
    for (const TFileGridFile* Listed : Old)
      if (Listed) Place(Listed);
  }
  Place(&Entry);
  ++FCount;
}

void TListedPaths::Place(const TFileGridFile* Entry) {
  const size_t Mask = FSlots.size() - 1;
  size_t Slot = Entry->PathHash & Mask;
  while (FSlots[Slot]) Slot = (Slot + 1) & Mask;
  FSlots[Slot] = Entry;
}

void TListedPaths::Erase(const TFileGridFile& Entry) {
  if (FSlots.empty()) return;
  const size_t Mask = FSlots.size() - 1;
  size_t Hole = Entry.PathHash & Mask;
  while (FSlots[Hole] && FSlots[Hole] != &Entry) Hole = (Hole + 1) & Mask;
  if (!FSlots[Hole]) return;
  // The entries after it in the run move up into the hole where their hash
  // allows, so that every entry stays reachable from its home slot.
  for (size_t Next = (Hole + 1) & Mask; FSlots[Next]; Next = (Next + 1) & Mask) {
    const size_t Home = FSlots[Next]->PathHash & Mask;
    if (((Next - Home) & Mask) >= ((Next - Hole) & Mask)) {
      FSlots[Hole] = FSlots[Next];
      Hole = Next;
    }
  }
  FSlots[Hole] = nullptr;
  --FCount;
}

bool TListedPaths::Contains(std::string_view Path) const {
  if (FSlots.empty()) return false;
  const uint32_t PathHash = Hash(Path);
  const size_t Mask = FSlots.size() - 1;
  for (size_t Slot = PathHash & Mask; FSlots[Slot]; Slot = (Slot + 1) & Mask)
    if (FSlots[Slot]->PathHash == PathHash && FSlots[Slot]->FileName == Path) return true;
  return false;
}

void TListedPaths::Clear() {
  FSlots.clear();
  FCount = 0;
}

// --- The list --------------------------------------------------------------

const TFileGridFile& TVmVirtualFileGrid::File(int Position) const {
  if (Position < 0 || Position >= FileCount()) throw std::out_of_range("File position out of range");
  return *FFiles[static_cast<size_t>(Position)];
}

void TVmVirtualFileGrid::AddFile(const std::string& FileName, const std::string& NewFileName, bool Checked) {
  auto Entry = std::make_unique<TFileGridFile>();
  if (!ReadFileInformation(*Entry, FileName)) return;
  Entry->NewFileName = NewFileName;
  Append(std::move(Entry), Checked);
  SortFiles(-1, false);
}

void TVmVirtualFileGrid::AddFiles(std::vector<std::string> FileNames, bool Checked) {
  // Each path moves into an entry of its own. Many files are read on two
  // threads, each taking a half, when the reader allows it; the entries are
  // listed afterwards in the order given. They are made beforehand on this
  // thread: two threads allocating at once queue on the allocator's lock.
  std::vector<std::unique_ptr<TFileGridFile>> Entries(FileNames.size());
  for (auto& Entry : Entries) Entry = std::make_unique<TFileGridFile>();
  const auto ReadRange = [&](size_t Begin, size_t End) {
    for (size_t I = Begin; I < End; ++I) {
      TFileGridFile& Entry = *Entries[I];
      Entry.FileName = std::move(FileNames[I]);
      if (!ReadFileInformation(Entry, Entry.FileName)) Entries[I].reset();
    }
  };
  constexpr size_t MinShared = 4096;
  InTwoHalves(Entries.size(), Entries.size() >= MinShared && FReader->ReadsConcurrently(), ReadRange);
  FFiles.reserve(FFiles.size() + Entries.size());
  for (std::unique_ptr<TFileGridFile>& Entry : Entries)
    if (Entry) Append(std::move(Entry), Checked);
  SortFiles(-1, false);
}

void TVmVirtualFileGrid::Append(std::unique_ptr<TFileGridFile> Entry, bool Checked) {
  Entry->Checked = Checked;
  Entry->Selected = false;
  Entry->Index = FNextIndex++;
  // A sorted list needs the name's key when it sorts again: made here, the
  // files added share the work. An unsorted list holds no keys.
  if (FSortColumn != -1) SortKey(*Entry, 0);
  List(*Entry);
  FFiles.push_back(std::move(Entry));
  FRows.AppendRow();
}

std::optional<std::vector<std::string>> TVmVirtualFileGrid::FolderFiles(std::string Folder) const {
  if (Folder.empty() || Folder.back() != '/') Folder += '/';
  DIR* Entries = ::opendir(Folder.c_str());
  if (!Entries) return std::nullopt;
  std::vector<std::pair<QCollatorSortKey, std::string>> Files;
  while (const dirent* Entry = ::readdir(Entries)) {
    std::string Path = Folder + Entry->d_name;
    bool IsFolder = Entry->d_type == DT_DIR;
    struct stat Info {};
    if (Entry->d_type == DT_UNKNOWN && ::lstat(Path.c_str(), &Info) == 0) IsFolder = S_ISDIR(Info.st_mode);
    if (!IsFolder && !ContainsFile(Path)) Files.emplace_back(TextKey(Path), std::move(Path));
  }
  ::closedir(Entries);
  // The file system's order means nothing to the user: the files come in
  // the order a Filename sort gives them.
  std::stable_sort(Files.begin(), Files.end(),
                   [](const auto& A, const auto& B) { return A.first.compare(B.first) < 0; });
  std::vector<std::string> Paths;
  Paths.reserve(Files.size());
  for (auto& File : Files) Paths.push_back(std::move(File.second));
  return Paths;
}

bool TVmVirtualFileGrid::AddFolder(std::string Folder) {
  std::optional<std::vector<std::string>> Files = FolderFiles(std::move(Folder));
  if (!Files) return false;
  AddFiles(std::move(*Files));
  return true;
}

void TVmVirtualFileGrid::SetNewFileName(int Position, const std::string& NewFileName, const std::string& Problem) {
  if (Position < 0 || Position >= FileCount()) return;
  TFileGridFile& Entry = *FFiles[static_cast<size_t>(Position)];
  if (Problem.empty())
    Entry.Problem.reset();
  else if (Entry.Problem)
    *Entry.Problem = Problem;
  else
    Entry.Problem = std::make_unique<std::string>(Problem);
  if (Entry.NewFileName != NewFileName) {
    // A name taken away takes its memory along: after a pass most entries show none.
    if (NewFileName.empty())
      std::string().swap(Entry.NewFileName);
    else
      Entry.NewFileName = NewFileName;
    Entry.ClearSortKey(SortKeySlot(fcNewFileName));
    SortFiles(fcNewFileName, false);
  }
  RepaintUnlessUpdating();
}

void TVmVirtualFileGrid::UpdateFile(int Position, const std::string& NewPath) {
  if (Position < 0 || Position >= FileCount()) return;
  TFileGridFile& Entry = *FFiles[static_cast<size_t>(Position)];
  Unlist(Entry);
  ReadFileInformation(Entry, NewPath);
  List(Entry);
  SortFiles(-1, false);
  RepaintUnlessUpdating();
}

void TVmVirtualFileGrid::RenamedFile(int Position, const std::string& NewPath) {
  if (Position < 0 || Position >= FileCount()) return;
  TFileGridFile& Entry = *FFiles[static_cast<size_t>(Position)];
  Unlist(Entry);
  ReadFileInformation(Entry, NewPath, true);
  // A sorted list needs the new name's key when the bracket closes: made
  // here, a large pass's slices share the work.
  if (FSortColumn != -1) SortKey(Entry, 0);
  List(Entry);
  SortFiles(-1, false);
  RepaintUnlessUpdating();
}

void TVmVirtualFileGrid::RemoveSelectedFiles() {
  if (FFiles.empty() || FRows.SelectedCount() == 0) return;
  const int First = FRows.FirstSelectedRow();
  for (int Row = First; Row >= 0 && Row < FileCount(); Row = FRows.NextSelectedRow(Row)) {
    Unlist(*FFiles[static_cast<size_t>(Row)]);
    FFiles[static_cast<size_t>(Row)].reset();
  }
  std::erase(FFiles, nullptr);
  if (FFiles.empty()) FNextIndex = 0;

  // The entry that moved up into the first removed place becomes the
  // selection. It is parked in Selected as well, so that closing an open
  // bracket does not bring back the old selection.
  FRows.ClearSelection();
  FRows.SetRowCount(FileCount());
  for (auto& F : FFiles) F->Selected = false;
  if (First >= 0 && First < FileCount()) {
    FFiles[static_cast<size_t>(First)]->Selected = true;
    FRows.SetRowSelected(First, true);
    FRows.SetFocusedRow(First);
  }
  RepaintUnlessUpdating();
}

void TVmVirtualFileGrid::RemoveAllFiles() {
  FListed.Clear();
  FFiles.clear();
  FNextIndex = 0;
  FRows.RemoveAllRows();
  RepaintUnlessUpdating();
}

void TVmVirtualFileGrid::MoveSelectedFiles(TFileGridMoveDirection Direction) {
  if (FFiles.size() < 2 || FRows.SelectedCount() == 0) return;
  const bool Updating = FRows.IsUpdating();
  if (!Updating) SaveSelection();
  // The focus rides on the moved rows, so that the next arrow key goes on
  // from where the row went: the focused entry when it was moved, else the
  // first moved one. Inside a bracket the rows are not told (like the selection).
  const int FocusedRow = FRows.FocusedRow();
  const TFileGridFile* Focused =
      FocusedRow >= 0 && FocusedRow < FileCount() && FFiles[static_cast<size_t>(FocusedRow)]->Selected
          ? FFiles[static_cast<size_t>(FocusedRow)].get() : nullptr;
  const size_t N = FFiles.size();
  auto IsSelected = [](const auto& F) { return F->Selected; };
  switch (Direction) {
    case mdBottom:
      std::stable_partition(FFiles.begin(), FFiles.end(), [&](const auto& F) { return !IsSelected(F); });
      break;
    case mdDown:
      for (size_t I = N - 1; I-- > 0;)
        if (FFiles[I]->Selected && !FFiles[I + 1]->Selected) std::swap(FFiles[I], FFiles[I + 1]);
      break;
    case mdUp:
      for (size_t I = 1; I < N; ++I)
        if (FFiles[I]->Selected && !FFiles[I - 1]->Selected) std::swap(FFiles[I], FFiles[I - 1]);
      break;
    case mdTop:
      std::stable_partition(FFiles.begin(), FFiles.end(), IsSelected);
      break;
    default:
      return;
  }
  // The manual order stands: sorting is switched off, Index values stay.
  ClearSort();
  if (Updating) return;
  RestoreSelection();
  const auto Moved = std::find_if(FFiles.begin(), FFiles.end(),
                                  [&](const auto& F) { return Focused ? F.get() == Focused : F->Selected; });
  if (Moved != FFiles.end()) FRows.SetFocusedRow(static_cast<int>(Moved - FFiles.begin()));
  FRows.Repaint();
}

void TVmVirtualFileGrid::CheckAll() {
  for (auto& F : FFiles) F->Checked = true;
  SortFiles(fcCheck, false);
  RepaintUnlessUpdating();
}

void TVmVirtualFileGrid::CheckNone() {
  for (auto& F : FFiles) F->Checked = false;
  SortFiles(fcCheck, false);
  RepaintUnlessUpdating();
}

void TVmVirtualFileGrid::InvertChecks() {
  for (auto& F : FFiles) F->Checked = !F->Checked;
  SortFiles(fcCheck, false);
  RepaintUnlessUpdating();
}

void TVmVirtualFileGrid::CheckBoxChanged(int Position, bool Checked) {
  if (Position >= 0 && Position < FileCount()) FFiles[static_cast<size_t>(Position)]->Checked = Checked;
}

void TVmVirtualFileGrid::RefreshFiles() {
  for (auto& F : FFiles) {
    Unlist(*F);
    ReadFileInformation(*F, F->FileName);
    List(*F);
  }
  SortFiles(-1, false);
  RepaintUnlessUpdating();
}

void TVmVirtualFileGrid::BeginUpdate() {
  SaveSelection();
  FRows.BeginUpdate();
}

void TVmVirtualFileGrid::EndUpdate() {
  if (!FRows.IsUpdating()) return;  // no bracket to close
  FRows.EndUpdate();
  if (FRows.RowCount() != FileCount()) FRows.SetRowCount(FileCount());
  RestoreSelection();
  SortFiles(-1, false);
  RepaintUnlessUpdating();
}

void TVmVirtualFileGrid::SaveSelection() {
  for (auto& F : FFiles) F->Selected = false;
  for (int Row = FRows.FirstSelectedRow(); Row >= 0 && Row < FileCount(); Row = FRows.NextSelectedRow(Row))
    FFiles[static_cast<size_t>(Row)]->Selected = true;
}

void TVmVirtualFileGrid::RestoreSelection() {
  FRows.ClearSelection();
  const int Rows = std::min(FileCount(), FRows.RowCount());
  for (int Row = 0; Row < Rows; ++Row)
    if (FFiles[static_cast<size_t>(Row)]->Selected) FRows.SetRowSelected(Row, true);
}

void TVmVirtualFileGrid::RepaintUnlessUpdating() {
  if (!FRows.IsUpdating()) FRows.Repaint();
}

// --- Sorting ---------------------------------------------------------------

void TVmVirtualFileGrid::SetSortState(int Column, TSortDirection Direction) {
  if (Column < 0 || Column >= FileGridColumnCount) {
    ClearSort();
    return;
  }
  FSortColumn = Column;
  FSortDirection = Direction == sdDescending ? sdDescending : sdAscending;
}

void TVmVirtualFileGrid::ClearSort() {
  if (FSortColumn == -1) return;
  FSortColumn = -1;
  FSortDirection = sdAscending;
}

void TVmVirtualFileGrid::RenumberEntries() {
  int32_t I = 0;
  for (auto& F : FFiles) F->Index = I++;
  FNextIndex = I;
}

void TVmVirtualFileGrid::HeaderClick(int Column, TMouseButton Button) {
  if (Button != mbLeft || Column < 0 || Column >= FileGridColumnCount) return;
  if (Column != FSortColumn) {
    // Switching sorting on: the current order, manual moves included,
    // becomes the order to return to.
    if (FSortColumn == -1) RenumberEntries();
    FSortColumn = Column;
    FSortDirection = sdAscending;
  } else if (FSortDirection == sdAscending) {
    FSortDirection = sdDescending;
  } else {
    ClearSort();
  }
  SortFiles(-1, true);
  RepaintUnlessUpdating();
}

void TVmVirtualFileGrid::SortFiles(int Column, bool Force) {
  if (Column != -1 && Column != FSortColumn) return;
  if (FSortColumn == -1 && !Force) return;
  if (FRows.IsUpdating()) return;
  if (FFiles.size() < 2) return;
  SortList();
}

const QCollatorSortKey& TVmVirtualFileGrid::SortKey(const TFileGridFile& Entry, int Slot) const {
  auto& Key = Entry.SortKey(Slot);
  if (!Key) Key = TextKey(SortText(Entry, Slot));
  return *Key;
}

QCollatorSortKey TVmVirtualFileGrid::TextKey(std::string_view Text) const {
  return FCollator.sortKey(QString::fromUtf8(Text.data(), static_cast<qsizetype>(Text.size())).toLower());
}

uint64_t TVmVirtualFileGrid::NumberKey(const TFileGridFile& Entry) const {
  switch (FSortColumn) {
    case fcCheck: return Entry.Checked ? 1 : 0;
    case fcSize: return Entry.Size;
    case fcAttributes: return Entry.Attributes;
    case fcCreationDate: return OrderedBits(SortableDate(Entry.CreationDate));
    case fcLastWriteDate: return OrderedBits(SortableDate(Entry.LastWriteDate));
    default: return OrderedBits(int64_t{Entry.Index});
  }
}

int TVmVirtualFileGrid::CompareNames(const TFileGridFile& A, const TFileGridFile& B) const {
  // Ranks come from one sort over all entries, so two of them compare like
  // the keys they stand for.
  if (A.SortRanks[0] != 0 && B.SortRanks[0] != 0) return (A.SortRanks[0] > B.SortRanks[0]) - (A.SortRanks[0] < B.SortRanks[0]);
  return Sign(SortKey(A, 0).compare(SortKey(B, 0)));
}

int TVmVirtualFileGrid::CompareEntries(const TFileGridFile& A, const TFileGridFile& B) const {
  const int Slot = SortKeySlot(FSortColumn);
  int Result;
  if (Slot >= 0) {
    Result = Sign(SortKey(A, Slot).compare(SortKey(B, Slot)));
  } else {
    const uint64_t NumberA = NumberKey(A), NumberB = NumberKey(B);
    Result = (NumberA > NumberB) - (NumberA < NumberB);
  }
  if (Result == 0) Result = Sign(SortKey(A, 0).compare(SortKey(B, 0)));
  return FSortDirection == sdDescending ? -Result : Result;
}

void TVmVirtualFileGrid::RankTexts(int Slot) const {
  // Entries that kept their rank are already in key order by rank; only the
  // others' keys are sorted and then placed among them by binary search. So
  // a re-sort after a few changes compares few collation keys.
  const auto S = static_cast<size_t>(Slot);
  struct TRanked {
    uint32_t OldRank;
    const TFileGridFile* Entry;
    const QCollatorSortKey* Key;
  };
  size_t UnrankedCount = 0;
  for (const auto& F : FFiles) UnrankedCount += F->SortRanks[S] == 0;
  if (UnrankedCount == 0) return;
  std::vector<TRanked> Ranked, Unranked;
  Ranked.reserve(FFiles.size() - UnrankedCount);
  Unranked.reserve(UnrankedCount);
  for (const auto& F : FFiles) {
    if (F->SortRanks[S])
      Ranked.push_back({F->SortRanks[S], F.get(), nullptr});
    else
      Unranked.push_back({0, F.get(), &SortKey(*F, Slot)});
  }
  auto KeyOf = [&](const TRanked& R) -> const QCollatorSortKey& { return R.Key ? *R.Key : SortKey(*R.Entry, Slot); };
  auto KeyLess = [&](const TRanked& A, const TRanked& B) { return KeyOf(A).compare(KeyOf(B)) < 0; };
  std::sort(Ranked.begin(), Ranked.end(), [](const TRanked& A, const TRanked& B) { return A.OldRank < B.OldRank; });
  // Many keys (all of them, when a list is first sorted or every name has
  // changed) are sorted in two halves at once and then merged.
  constexpr size_t MinShared = 16384;
  const size_t Half = InTwoHalves(Unranked.size(), Unranked.size() >= MinShared, [&](size_t Begin, size_t End) {
    std::sort(Unranked.begin() + long(Begin), Unranked.begin() + long(End), KeyLess);
  });
  std::inplace_merge(Unranked.begin(), Unranked.begin() + long(Half), Unranked.end(), KeyLess);

  std::vector<TRanked> All;
  All.reserve(FFiles.size());
  auto Next = Ranked.begin();
  for (const TRanked& New : Unranked) {
    const auto Place = std::lower_bound(Next, Ranked.end(), New, KeyLess);
    All.insert(All.end(), Next, Place);
    All.push_back(New);
    Next = Place;
  }
  All.insert(All.end(), Next, Ranked.end());

  uint32_t Rank = 0;
  for (size_t I = 0; I < All.size(); ++I) {
    bool Same = false;
    if (I > 0) {
      const TRanked& A = All[I - 1];
      const TRanked& B = All[I];
      Same = A.OldRank && B.OldRank ? A.OldRank == B.OldRank : KeyOf(A).compare(KeyOf(B)) == 0;
    }
    if (!Same) ++Rank;
    All[I].Entry->SortRanks[S] = Rank;
  }
  // The ranks stand for the keys from now on; a key is made again only to
  // place an entry whose text changed.
  for (const auto& F : FFiles) F->DropSortKey(Slot);
}

// Stable LSD radix sort on Number, rising (falling when Descending); bytes
// that are the same in every item are skipped.
void TVmVirtualFileGrid::RadixSort(std::vector<TSortItem>& Items, bool Descending) {
  const uint64_t Flip = Descending ? ~uint64_t{0} : 0;
  std::vector<TSortItem> Buffer(Items.size());
  for (int Shift = 0; Shift < 64; Shift += 8) {
    size_t Counts[256] = {};
    for (const TSortItem& Item : Items) ++Counts[((Item.Number ^ Flip) >> Shift) & 0xFF];
    if (std::find(std::begin(Counts), std::end(Counts), Items.size()) != std::end(Counts)) continue;
    size_t Offset = 0;
    for (size_t& C : Counts) Offset += std::exchange(C, Offset);
    for (const TSortItem& Item : Items) Buffer[Counts[((Item.Number ^ Flip) >> Shift) & 0xFF]++] = Item;
    Items.swap(Buffer);
  }
}

void TVmVirtualFileGrid::SortList() {
  const int Slot = SortKeySlot(FSortColumn);
  if (Slot >= 0) RankTexts(Slot);
  const size_t Count = FFiles.size();
  std::vector<TSortItem> Items(Count);
  for (size_t I = 0; I < Count; ++I) {
    const TFileGridFile& Entry = *FFiles[I];
    Items[I].Position = static_cast<uint32_t>(I);
    Items[I].Number = Slot >= 0 ? Entry.SortRanks[static_cast<size_t>(Slot)] : NumberKey(Entry);
  }
  // The selection rides along in the items and so follows the entries.
  for (int Row = FRows.FirstSelectedRow(); Row >= 0 && Row < FileCount(); Row = FRows.NextSelectedRow(Row))
    Items[static_cast<size_t>(Row)].Selected = true;

  // Order by number, the direction applied to the number (a radix sort:
  // stable, so equal numbers keep their old order); then runs of equal
  // numbers are put in name order, in the direction too. Equal names keep
  // their old order whatever the direction.
  const bool Descending = FSortDirection == sdDescending;
  RadixSort(Items, Descending);
  auto ByName = [&](const TSortItem& A, const TSortItem& B) {
    int Result = CompareNames(*FFiles[A.Position], *FFiles[B.Position]);
    if (Descending) Result = -Result;
    return Result != 0 ? Result < 0 : A.Position < B.Position;
  };
  if (Slot != 0) {
    bool NamesRanked = false;
    for (size_t Start = 0, End; Start < Count; Start = End) {
      for (End = Start + 1; End < Count && Items[End].Number == Items[Start].Number;) ++End;
      if (End - Start < 2) continue;
      // Ties are broken by the names' ranks, given once they are needed.
      if (!NamesRanked) RankTexts(0);
      NamesRanked = true;
      std::sort(Items.begin() + static_cast<ptrdiff_t>(Start), Items.begin() + static_cast<ptrdiff_t>(End), ByName);
    }
  }

  std::vector<std::unique_ptr<TFileGridFile>> Sorted;
  Sorted.reserve(Count);
  for (const TSortItem& Item : Items) Sorted.push_back(std::move(FFiles[Item.Position]));
  FFiles = std::move(Sorted);
  FRows.ClearSelection();
  const int Rows = std::min(FileCount(), FRows.RowCount());
  for (int Row = 0; Row < Rows; ++Row)
    if (Items[static_cast<size_t>(Row)].Selected) FRows.SetRowSelected(Row, true);
}
