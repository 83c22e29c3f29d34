// Between the file list and the passes: the checked entries a pass runs
// over, and what its result shows in the list.
#pragma once

#include <vector>

#include "filegrid/VirtualFileGrid.h"
#include "rename/PassStages.h"

// The checked entries in list order.
std::vector<TPassFile> CheckedFiles(const TVmVirtualFileGrid& Grid);
// Every checked entry's new name with, where it will not be renamed, the
// reason; unchecked entries show none.
void ShowPreview(TVmVirtualFileGrid& Grid, const TPassResult& Result);
// After renaming: renamed and unchanged entries have their status read again
// under their paths (their content, and a type it gave, stays) and show no
// new name; a skipped entry shows none either; an entry
// not renamed for another reason keeps its new name and shows why; a missing
// one stays as it was.
void ShowRenaming(TVmVirtualFileGrid& Grid, const TPassResult& Result);
// Empties every entry's new name.
void ClearPreview(TVmVirtualFileGrid& Grid);
