// The file grid on screen: a flat QTreeView over a table model that reads the
// file list directly, with the check boxes, icons, header sorting, the grid's
// context menu and the column chooser.
#pragma once

#include <QAbstractTableModel>
#include <QIcon>
#include <QItemSelection>
#include <QTreeView>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "filegrid/FileGridCells.h"
#include "filegrid/FileGridLayout.h"
#include "filegrid/VirtualFileGrid.h"

class QMenu;

// The grid's context-menu commands by their command numbers.
enum TFileGridCommand : int {
  gcRemoveFiles = 1,
  gcRemoveAllFiles = 2,
  gcMoveUp = 3,
  gcMoveDown = 4,
  gcCheckAll = 5,
  gcCheckNone = 6,
  gcInvertChecks = 7,
  gcShowFileIcons = 8,
  gcVisibleColumns = 9,
  gcRefresh = 10,
  gcMoveToTop = 11,
  gcMoveToBottom = 12,
  gcCommandEnd  // one past the last command number
};

// Ten columns over the entries of a TVmVirtualFileGrid; the rows are those
// the grid's row interface has published. No entry data is copied.
class TFileGridModel final : public QAbstractTableModel {
  Q_OBJECT

 public:
  // Icons: the cache the reader fills, from which the file icons are drawn.
  explicit TFileGridModel(std::shared_ptr<const TFileIconCache> Icons, QObject* Parent = nullptr);
  void SetGrid(TVmVirtualFileGrid* Grid) { FGrid = Grid; }

  int rowCount(const QModelIndex& Parent = {}) const override;
  int columnCount(const QModelIndex& Parent = {}) const override;
  QVariant data(const QModelIndex& Index, int Role = Qt::DisplayRole) const override;
  bool setData(const QModelIndex& Index, const QVariant& Value, int Role = Qt::EditRole) override;
  Qt::ItemFlags flags(const QModelIndex& Index) const override;
  QVariant headerData(int Section, Qt::Orientation Orientation, int Role = Qt::DisplayRole) const override;

  // Makes the model show Count rows, announcing the rows added or removed.
  void PublishRows(int Count);
  void SetShowFileIcons(bool Show) { FShowIcons = Show; }
  bool ShowFileIcons() const { return FShowIcons; }
  // Colours that follow the palette: the "New Filename" background and grey text.
  void SetColors(const QColor& NewNameBackground, const QColor& GreyText, const QColor& ProblemText);
  const QColor& NewNameBackground() const { return FNewNameBackground; }

 private:
  const TFileGridFile* Entry(int Row) const;
  QIcon FileIcon(int IconIndex) const;

  std::shared_ptr<const TFileIconCache> FIconCache;
  TVmVirtualFileGrid* FGrid = nullptr;
  int FRows = 0;
  bool FShowIcons = true;
  TFileGridCellFormat FFormat;
  QColor FNewNameBackground;
  QColor FGreyText;
  QColor FProblemText;
  mutable std::vector<std::optional<QIcon>> FIcons;
};

class TFileGridView : public QTreeView, public TFileGridRows {
  Q_OBJECT

 public:
  // Opens a file with the desktop's default program; tests put in their own.
  using TFileOpener = std::function<void(const QUrl&)>;

  // Icons: the cache that Reader fills with the files' icons (one of the
  // view's own when empty). Reader: the file system; when empty, the disk
  // read through a TLinuxFileInfoReader over Icons.
  explicit TFileGridView(QWidget* Parent = nullptr, std::shared_ptr<TFileIconCache> Icons = nullptr,
                         std::shared_ptr<TFileInfoReader> Reader = nullptr);
  ~TFileGridView() override;

  TVmVirtualFileGrid& Grid() { return *FGrid; }
  const TVmVirtualFileGrid& Grid() const { return *FGrid; }
  TFileGridModel& Model() { return *FModel; }
  QMenu* GridMenu() const { return FGridMenu; }
  QMenu* ColumnChooser() const { return FColumnChooser; }
  QAction* CommandAction(TFileGridCommand Command) const { return FActions[static_cast<size_t>(Command)]; }
  void SetFileOpener(TFileOpener Opener) { FOpener = std::move(Opener); }

  // Runs a grid-menu command by its number.
  void RunCommand(int Command);
  // Gets the grid menu ready for a request from the mouse at Point (viewport
  // coordinates) or, without a point, from the keyboard: picks the target
  // row, sets the items' enabled states and returns where the menu opens.
  QPoint PrepareGridMenu(std::optional<QPoint> Point);
  // Fills the column chooser with the columns in display order.
  void FillColumnChooser();
  bool ShowFileIcons() const { return FModel->ShowFileIcons(); }
  void SetShowFileIcons(bool Show);
  // Shows or hides a column; a hidden column keeps its width for the layout.
  void SetColumnVisible(int Column, bool Visible);

  // The sort state and each column's width, display position and visibility.
  TFileGridLayout Layout() const;
  // Restores a layout exactly, inside one update bracket: the list is sorted
  // by the layout's sort column when the bracket closes.
  void LoadLayout(const TFileGridLayout& Layout);

 signals:
  // The list may have changed: entries, their order or their checks.
  void ListChanged();

 public:

  // --- Rows (TFileGridRows) --------------------------------------------------
  int RowCount() const override { return FRowCount; }
  void SetRowCount(int Count) override;
  void AppendRow() override;
  void RemoveAllRows() override;
  bool IsRowSelected(int Row) const override;
  void SetRowSelected(int Row, bool Selected) override;
  int FirstSelectedRow() const override { return NextSelectedRow(-1); }
  int NextSelectedRow(int Row) const override;
  int SelectedCount() const override;
  void ClearSelection() override;
  int FocusedRow() const override { return currentIndex().isValid() ? currentIndex().row() : -1; }
  void SetFocusedRow(int Row) override;
  void BeginUpdate() override;
  void EndUpdate() override;
  bool IsUpdating() const override { return FUpdateCount > 0; }
  void Repaint() override;

 protected:
  bool event(QEvent* Event) override;
  void keyPressEvent(QKeyEvent* Event) override;
  void contextMenuEvent(QContextMenuEvent* Event) override;
  void mouseDoubleClickEvent(QMouseEvent* Event) override;
  void changeEvent(QEvent* Event) override;

 private:
  void CreateColumns();
  void CreateMenus();
  QAction* ShortcutAction(const QKeyEvent& Event) const;
  void UpdateColors();
  void SyncSortIndicator();
  // Shows the rows and selection the grid has set while the view was not told.
  void Publish();
  void FlushSelection();
  const std::vector<char>& Selection() const;

  std::unique_ptr<TFileGridModel> FModel;
  std::unique_ptr<TVmVirtualFileGrid> FGrid;
  QMenu* FGridMenu = nullptr;
  QMenu* FColumnChooser = nullptr;
  std::array<QAction*, gcCommandEnd> FActions{};  // indexed by command number
  // The widths of hidden columns (the header reports 0 for them).
  std::array<int, FileGridColumnCount> FHiddenWidths{};
  TFileOpener FOpener;
  int FRowCount = 0;
  int FUpdateCount = 0;
  // Rows the grid selected that the selection model has not been told yet,
  // and the selection as one flag per row, rebuilt when the selection changes.
  QItemSelection FPendingSelection;
  int FPendingLastRow = -2;
  mutable std::vector<char> FSelection;
  mutable bool FSelectionValid = false;
  bool FFlushing = false;
};
