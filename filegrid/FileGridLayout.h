// The grid's layout as the settings file keeps it: sort column and direction,
// and each column's width, display position and visibility. This is the core
// without a view: the grid view turns its header into a TFileGridLayout and
// back, and these functions turn the layout into an XML element and back.
#pragma once

#include <array>
#include <memory>
#include <optional>

#include "filegrid/FileGridFile.h"
#include "filegrid/VirtualFileGrid.h"
#include "xml/Xml.h"

// A column's width is kept within these limits when it is loaded.
inline constexpr int MinColumnWidth = 10;
inline constexpr int MaxColumnWidth = 10000;
// Each column's width in a new grid, by column number.
inline constexpr std::array<int, FileGridColumnCount> DesignedColumnWidths = {
    20, 150, 150, 150, 40, 70, 120, 35, 120, 120};

// One column, by column number.
struct TFileGridColumnLayout {
  int Width = 0;
  int Position = 0;  // display position, 0 = leftmost
  bool Visible = true;

  bool operator==(const TFileGridColumnLayout&) const = default;
};

struct TFileGridLayout {
  int SortColumn = -1;  // -1 when unsorted, else a column number (TFileGridColumn)
  TSortDirection SortDirection = sdAscending;
  std::array<TFileGridColumnLayout, FileGridColumnCount> Columns{};

  bool operator==(const TFileGridLayout&) const = default;
};

// The column at each display position, left to right.
using TFileGridColumnOrder = std::array<int, FileGridColumnCount>;

// The layout of a new grid: unsorted, ascending, the columns in creation
// order with their designed widths, all visible.
TFileGridLayout DefaultFileGridLayout();

// A new "FileGridOptions" element holding Layout: "SortColumn",
// "SortDirection" and "Columns" with one "Column" per column number, whose
// attributes are Index, Width, Position and Visible in that order.
std::unique_ptr<TXmlNode> SaveOptions(const TFileGridLayout& Layout);

// Applies a stored options element (whatever its name) onto Layout. Every
// value that is missing or does not read leaves its part of Layout as it was;
// "Column" children whose Index is not a column number are skipped. The sort
// column is kept within -1..9 and widths within the limits above. When any
// position was read, the columns are arranged anew (see ArrangeColumns) and
// Layout's positions afterwards name each place 0..9 exactly once. Returns true.
bool LoadOptions(const TXmlNode& Element, TFileGridLayout& Layout);

// The arrangement Layout's positions describe. Positions that name every
// place once are used exactly as they are; see ArrangeColumns for the rest.
TFileGridColumnOrder VisualOrder(const TFileGridLayout& Layout);

// Arranges the columns from requested positions (-1 or any other value out of
// 0..9 means the last place; nullopt means no request). A column that asks
// for a place takes it, the lower column number first when two ask for the
// same one. The other columns fill the free places from the left in the
// order they have in Previous, those asking for the last place at the end.
// The result names each column once, whatever Previous holds.
TFileGridColumnOrder ArrangeColumns(const TFileGridColumnOrder& Previous,
                                    const std::array<std::optional<int>, FileGridColumnCount>& Requested);

// Sets each column's Position from Order (which should name each column once).
void SetVisualOrder(TFileGridLayout& Layout, const TFileGridColumnOrder& Order);
