// Between the file list and the passes: the checked entries a pass runs
// over, and what its result shows in the list.
#pragma once

#include <cstddef>
#include <vector>

#include "filegrid/VirtualFileGrid.h"
#include "rename/PassStages.h"

// The checked entries in list order, as CollectEntries makes them.
std::vector<TPassEntry> CheckedEntries(const TVmVirtualFileGrid& Grid);
// Every checked entry's new name with, where it will not be renamed, the
// reason; unchecked entries show none.
void ShowPreview(TVmVirtualFileGrid& Grid, const TPassResult& Result);
// After renaming, one entry, inside the caller's update bracket: a renamed
// or unchanged entry has its status read again under its path (its content,
// and a type it gave, stays) and shows no new name; a skipped entry shows
// none either; an entry not renamed for another reason keeps its new name
// and shows why; a missing one stays as it was.
void ShowRenamed(TVmVirtualFileGrid& Grid, const TPassResult& Result, const TPassEntry& Entry);
// Empties every entry's new name.
void ClearPreview(TVmVirtualFileGrid& Grid);
