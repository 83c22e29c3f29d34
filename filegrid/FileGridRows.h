// What the file list needs of the list control that shows it: rows without
// data of their own, their selection, focus, an update bracket and repaint.
// The Qt view implements it; TMemoryFileGridRows stands in without a display.
#pragma once

#include <vector>

class TFileGridRows {
 public:
  virtual ~TFileGridRows() = default;

  virtual int RowCount() const = 0;
  // Sets the number of rows; rows beyond the new count lose their selection.
  virtual void SetRowCount(int Count) = 0;
  virtual void AppendRow() = 0;
  // Removes every row, the selection and the focus.
  virtual void RemoveAllRows() = 0;

  virtual bool IsRowSelected(int Row) const = 0;
  virtual void SetRowSelected(int Row, bool Selected) = 0;
  // The lowest selected row, or -1.
  virtual int FirstSelectedRow() const = 0;
  // The next selected row after Row, or -1.
  virtual int NextSelectedRow(int Row) const = 0;
  virtual int SelectedCount() const = 0;
  virtual void ClearSelection() = 0;
  // The row with the keyboard focus (the current row), or -1.
  virtual int FocusedRow() const = 0;
  virtual void SetFocusedRow(int Row) = 0;

  // Update bracket with a nesting count: while open, no repaint.
  virtual void BeginUpdate() = 0;
  virtual void EndUpdate() = 0;
  virtual bool IsUpdating() const = 0;
  virtual void Repaint() = 0;
};

// Rows kept in memory: for tests, benchmarks and headless use.
class TMemoryFileGridRows : public TFileGridRows {
 public:
  int RowCount() const override { return static_cast<int>(FSelected.size()); }
  void SetRowCount(int Count) override;
  void AppendRow() override { FSelected.push_back(false); }
  void RemoveAllRows() override;
  bool IsRowSelected(int Row) const override;
  void SetRowSelected(int Row, bool Selected) override;
  int FirstSelectedRow() const override { return NextSelectedRow(-1); }
  int NextSelectedRow(int Row) const override;
  int SelectedCount() const override;
  void ClearSelection() override;
  int FocusedRow() const override { return FFocusedRow; }
  void SetFocusedRow(int Row) override { FFocusedRow = Row; }
  void BeginUpdate() override { ++FUpdateCount; }
  void EndUpdate() override;
  bool IsUpdating() const override { return FUpdateCount > 0; }
  void Repaint() override { ++FRepaintCount; }

  int RepaintCount() const { return FRepaintCount; }

 private:
  std::vector<bool> FSelected;
  int FFocusedRow = -1;
  int FUpdateCount = 0;
  int FRepaintCount = 0;
};
