#include "filegrid/FileGridRows.h"

#include <algorithm>

void TMemoryFileGridRows::SetRowCount(int Count) {
  FSelected.resize(static_cast<size_t>(std::max(Count, 0)), false);
  if (FFocusedRow >= RowCount()) FFocusedRow = -1;
}

void TMemoryFileGridRows::RemoveAllRows() {
  FSelected.clear();
  FFocusedRow = -1;
}

bool TMemoryFileGridRows::IsRowSelected(int Row) const {
  return Row >= 0 && Row < RowCount() && FSelected[static_cast<size_t>(Row)];
}

void TMemoryFileGridRows::SetRowSelected(int Row, bool Selected) {
  if (Row >= 0 && Row < RowCount()) FSelected[static_cast<size_t>(Row)] = Selected;
}

int TMemoryFileGridRows::NextSelectedRow(int Row) const {
  for (int R = std::max(Row + 1, 0); R < RowCount(); ++R)
    if (FSelected[static_cast<size_t>(R)]) return R;
  return -1;
}

int TMemoryFileGridRows::SelectedCount() const {
  return static_cast<int>(std::count(FSelected.begin(), FSelected.end(), true));
}

void TMemoryFileGridRows::ClearSelection() { std::fill(FSelected.begin(), FSelected.end(), false); }

void TMemoryFileGridRows::EndUpdate() {
  if (FUpdateCount > 0) --FUpdateCount;
}
