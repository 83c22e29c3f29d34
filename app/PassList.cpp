#include "app/PassList.h"

std::vector<TPassEntry> CheckedEntries(const TVmVirtualFileGrid& Grid) {
  // Made from the listed paths at once: no copy of every path on the way.
  int Checked = 0;
  for (int I = 0; I < Grid.FileCount(); ++I) Checked += Grid.IsChecked(I);
  std::vector<TPassEntry> Entries(static_cast<size_t>(Checked));
  size_t Next = 0;
  for (int I = 0; I < Grid.FileCount(); ++I)
    if (Grid.IsChecked(I)) SetEntryPath(Entries[Next++], I, Grid.GetFileName(I));
  NumberFolders(Entries);
  return Entries;
}

void ShowPreview(TVmVirtualFileGrid& Grid, const TPassResult& Result) {
  Grid.BeginUpdate();
  size_t Next = 0;  // entries come in list order
  for (int I = 0; I < Grid.FileCount(); ++I) {
    if (Next < Result.Entries.size() && Result.Entries[Next].Position == I) {
      const TPassEntry& Entry = Result.Entries[Next++];
      Grid.SetNewFileName(I, Entry.NewName, PassReason(Result, Entry));
    } else {
      Grid.SetNewFileName(I, {});
    }
  }
  Grid.EndUpdate();
}

void ShowRenamed(TVmVirtualFileGrid& Grid, const TPassResult& Result, const TPassEntry& Entry) {
  switch (Entry.Status) {
    case psRenamed:
      Grid.RenamedFile(Entry.Position, Entry.NewPath());
      Grid.SetNewFileName(Entry.Position, {});
      break;
    case psUnchanged:
      Grid.RenamedFile(Entry.Position, Entry.Path());
      Grid.SetNewFileName(Entry.Position, {});
      break;
    case psSkipped:
      Grid.SetNewFileName(Entry.Position, {});
      break;
    case psNotFound:
      break;
    default:
      Grid.SetNewFileName(Entry.Position, Entry.NewName, PassReason(Result, Entry));
  }
}

void ClearPreview(TVmVirtualFileGrid& Grid) {
  Grid.BeginUpdate();
  for (int I = 0; I < Grid.FileCount(); ++I) Grid.SetNewFileName(I, {});
  Grid.EndUpdate();
}
