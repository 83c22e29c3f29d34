#include "filegrid/FileGridView.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QStyledItemDelegate>
#include <QUrl>

#include <algorithm>

#include "filegrid/VmColorLib.h"

namespace {

// A caption marked in context "FileGrid", in the user's language.
QString Caption(const char* Source) { return QCoreApplication::translate("FileGrid", Source); }

// Draws cells without the focus rectangle.
class TNoFocusDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

 protected:
  void initStyleOption(QStyleOptionViewItem* Option, const QModelIndex& Index) const override {
    QStyledItemDelegate::initStyleOption(Option, Index);
    Option->state &= ~QStyle::State_HasFocus;
  }
};

// File icons come from the desktop's icon theme; where it has none (no
// desktop session, or a theme without file-type icons) the Adwaita theme that
// the program depends on fills in.
void UseIconThemeFallback() {
  const QString Fallback = QIcon::fallbackThemeName();
  if (Fallback.isEmpty() || Fallback == QLatin1String("hicolor")) QIcon::setFallbackThemeName(QStringLiteral("Adwaita"));
}

// The themed icon for a file type, falling back to its generic icon and then
// to the plain file icon, so that no row shows an empty place.
QIcon ThemeIcon(const std::string& Name, const std::string& Generic) {
  QIcon Icon = QIcon::fromTheme(QString::fromStdString(Name));
  if (Icon.isNull()) Icon = QIcon::fromTheme(QString::fromStdString(Generic));
  if (Icon.isNull()) Icon = QIcon::fromTheme(QStringLiteral("text-x-generic"));
  return Icon;
}

}  // namespace

// --- Model -------------------------------------------------------------------

TFileGridModel::TFileGridModel(std::shared_ptr<const TFileIconCache> Icons, QObject* Parent)
    : QAbstractTableModel(Parent), FIconCache(std::move(Icons)) {}

int TFileGridModel::rowCount(const QModelIndex& Parent) const { return Parent.isValid() ? 0 : FRows; }

int TFileGridModel::columnCount(const QModelIndex& Parent) const { return Parent.isValid() ? 0 : FileGridColumnCount; }

const TFileGridFile* TFileGridModel::Entry(int Row) const {
  // While an update bracket is open the list may hold fewer entries than the
  // rows shown; such rows show nothing until the bracket closes.
  if (FGrid == nullptr || Row < 0 || Row >= FRows || Row >= FGrid->FileCount()) return nullptr;
  return &FGrid->File(Row);
}

QIcon TFileGridModel::FileIcon(int IconIndex) const {
  if (IconIndex < 0) return {};
  const auto Slot = static_cast<size_t>(IconIndex);
  if (Slot >= FIcons.size()) FIcons.resize(Slot + 1);
  if (!FIcons[Slot]) FIcons[Slot] = ThemeIcon(FIconCache->IconName(IconIndex), FIconCache->GenericIconName(IconIndex));
  return *FIcons[Slot];
}

QVariant TFileGridModel::data(const QModelIndex& Index, int Role) const {
  const TFileGridFile* File = Entry(Index.row());
  if (File == nullptr || Index.column() < 0 || Index.column() >= FileGridColumnCount) return {};
  const int Column = Index.column();
  switch (Role) {
    case Qt::DisplayRole:
      return Column == fcCheck ? QVariant() : QVariant(FFormat.CellText(*File, Column));
    case Qt::CheckStateRole:
      if (Column == fcCheck) return File->Checked ? Qt::Checked : Qt::Unchecked;
      return {};
    case Qt::DecorationRole:
      if (Column == fcFileName && FShowIcons) return FileIcon(File->IconIndex);
      return {};
    case Qt::ForegroundRole:
      if (Column == fcNewFileName && !File->NewNameProblem().empty()) return FProblemText;
      if (!File->Exists && FGreyText.isValid()) return FGreyText;
      return {};
    case Qt::ToolTipRole:
      if (Column == fcNewFileName && !File->NewNameProblem().empty()) return QString::fromStdString(File->NewNameProblem());
      return {};
    case Qt::BackgroundRole:
      if (Column == fcNewFileName && FNewNameBackground.isValid()) return FNewNameBackground;
      return {};
    default:
      return {};
  }
}

bool TFileGridModel::setData(const QModelIndex& Index, const QVariant& Value, int Role) {
  if (Role != Qt::CheckStateRole || Index.column() != fcCheck || Entry(Index.row()) == nullptr) return false;
  FGrid->CheckBoxChanged(Index.row(), Value.value<Qt::CheckState>() == Qt::Checked);
  emit dataChanged(Index, Index, {Qt::CheckStateRole});
  return true;
}

Qt::ItemFlags TFileGridModel::flags(const QModelIndex& Index) const {
  if (!Index.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags Flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
  if (Index.column() == fcCheck) Flags |= Qt::ItemIsUserCheckable;
  return Flags;
}

QVariant TFileGridModel::headerData(int Section, Qt::Orientation Orientation, int Role) const {
  if (Orientation != Qt::Horizontal || Section < 0 || Section >= FileGridColumnCount) return {};
  if (Role == Qt::DisplayRole) return Caption(FileGridColumnCaptions[static_cast<size_t>(Section)]);
  if (Role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
  return {};
}

void TFileGridModel::PublishRows(int Count) {
  if (Count > FRows) {
    beginInsertRows({}, FRows, Count - 1);
    FRows = Count;
    endInsertRows();
  } else if (Count < FRows) {
    beginRemoveRows({}, Count, FRows - 1);
    FRows = Count;
    endRemoveRows();
  }
}

void TFileGridModel::SetColors(const QColor& NewNameBackground, const QColor& GreyText, const QColor& ProblemText) {
  FNewNameBackground = NewNameBackground;
  FGreyText = GreyText;
  FProblemText = ProblemText;
}

// --- View --------------------------------------------------------------------

TFileGridView::TFileGridView(QWidget* Parent, std::shared_ptr<TFileIconCache> Icons,
                             std::shared_ptr<TFileInfoReader> Reader)
    : QTreeView(Parent),
      // The model is made first and settles Icons, so that a reader of the
      // view's own fills the cache the model draws from.
      FModel(std::make_unique<TFileGridModel>(Icons ? Icons : (Icons = std::make_shared<TFileIconCache>()))),
      FGrid(std::make_unique<TVmVirtualFileGrid>(
          *this, Reader ? std::move(Reader) : std::make_shared<TLinuxFileInfoReader>(std::move(Icons)))),
      FOpener([](const QUrl& Url) { QDesktopServices::openUrl(Url); }) {
  UseIconThemeFallback();
  FModel->SetGrid(FGrid.get());
  setModel(FModel.get());
  setItemDelegate(new TNoFocusDelegate(this));
  // A flat list of uniform rows: the view then lays out and paints only the
  // rows on screen, however long the list is.
  setRootIsDecorated(false);
  setItemsExpandable(false);
  setExpandsOnDoubleClick(false);
  setUniformRowHeights(true);
  setAllColumnsShowFocus(true);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setDragEnabled(false);
  setSortingEnabled(false);  // the grid sorts itself on header clicks
  CreateColumns();
  CreateMenus();
  UpdateColors();
  connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
    if (!FFlushing) FSelectionValid = false;
  });
}

TFileGridView::~TFileGridView() {
  // The grid refers to this view as its rows; it goes first.
  FGrid.reset();
  setModel(nullptr);
}

void TFileGridView::CreateColumns() {
  QHeaderView* Header = header();
  Header->setStretchLastSection(false);
  Header->setSectionsMovable(true);
  Header->setSectionsClickable(true);
  Header->setFirstSectionMovable(true);
  Header->setSectionResizeMode(QHeaderView::Interactive);
  Header->setMinimumSectionSize(MinColumnWidth);
  Header->setMaximumSectionSize(MaxColumnWidth);
  Header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  Header->setSortIndicatorShown(true);
  Header->setSortIndicator(-1, Qt::AscendingOrder);
  for (int Column = 0; Column < FileGridColumnCount; ++Column)
    Header->resizeSection(Column, DesignedColumnWidths[static_cast<size_t>(Column)]);
  connect(Header, &QHeaderView::sectionClicked, this, [this](int Column) {
    FGrid->HeaderClick(Column, mbLeft);
    SyncSortIndicator();
  });
  Header->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(Header, &QWidget::customContextMenuRequested, this, [this, Header](const QPoint& Point) {
    FillColumnChooser();
    FColumnChooser->popup(Header->mapToGlobal(Point));
  });
}

void TFileGridView::CreateMenus() {
  FGridMenu = new QMenu(this);
  struct TItem {
    const char* Caption;
    QKeySequence Shortcut;
    int Command;  // 0 = separator
  };
  const TItem Items[] = {
      {QT_TRANSLATE_NOOP("FileGrid", "Move up"), QKeySequence(Qt::ALT | Qt::Key_Up), gcMoveUp},
      {QT_TRANSLATE_NOOP("FileGrid", "Move down"), QKeySequence(Qt::ALT | Qt::Key_Down), gcMoveDown},
      {QT_TRANSLATE_NOOP("FileGrid", "Move to Top"), QKeySequence(Qt::ALT | Qt::Key_Home), gcMoveToTop},
      {QT_TRANSLATE_NOOP("FileGrid", "Move to Bottom"), QKeySequence(Qt::ALT | Qt::Key_End), gcMoveToBottom},
      {nullptr, {}, 0},
      {QT_TRANSLATE_NOOP("FileGrid", "Remove file(s)"), QKeySequence(Qt::Key_Delete), gcRemoveFiles},
      {QT_TRANSLATE_NOOP("FileGrid", "Remove all files"), {}, gcRemoveAllFiles},
      {nullptr, {}, 0},
      {QT_TRANSLATE_NOOP("FileGrid", "Check All"), {}, gcCheckAll},
      {QT_TRANSLATE_NOOP("FileGrid", "Check None"), {}, gcCheckNone},
      {QT_TRANSLATE_NOOP("FileGrid", "Invert Checks"), {}, gcInvertChecks},
      {nullptr, {}, 0},
      {QT_TRANSLATE_NOOP("FileGrid", "Refresh"), QKeySequence(Qt::Key_F5), gcRefresh},
      {nullptr, {}, 0},
      {QT_TRANSLATE_NOOP("FileGrid", "Show File Icons"), {}, gcShowFileIcons},
      {QT_TRANSLATE_NOOP("FileGrid", "Visible Columns..."), {}, gcVisibleColumns},
  };
  for (const TItem& Item : Items) {
    if (Item.Caption == nullptr) {
      FGridMenu->addSeparator();
      continue;
    }
    QAction* Action = FGridMenu->addAction(Caption(Item.Caption));
    // The shortcut is shown in the menu; the view handles the key itself, so
    // that the key of a disabled item is taken and does nothing.
    Action->setShortcut(Item.Shortcut);
    Action->setShortcutContext(Qt::WidgetShortcut);
    const int Command = Item.Command;
    connect(Action, &QAction::triggered, this, [this, Command] { RunCommand(Command); });
    FActions[static_cast<size_t>(Command)] = Action;
  }
  QAction* Icons = FActions[gcShowFileIcons];
  Icons->setCheckable(true);
  Icons->setChecked(true);

  FColumnChooser = new QMenu(this);
  connect(FColumnChooser, &QMenu::aboutToShow, this, &TFileGridView::FillColumnChooser);
}

void TFileGridView::RunCommand(int Command) {
  switch (Command) {
    case gcRemoveFiles: FGrid->RemoveSelectedFiles(); break;
    case gcRemoveAllFiles: FGrid->RemoveAllFiles(); break;
    case gcMoveUp: FGrid->MoveSelectedFiles(mdUp); break;
    case gcMoveDown: FGrid->MoveSelectedFiles(mdDown); break;
    case gcMoveToTop: FGrid->MoveSelectedFiles(mdTop); break;
    case gcMoveToBottom: FGrid->MoveSelectedFiles(mdBottom); break;
    case gcCheckAll: FGrid->CheckAll(); break;
    case gcCheckNone: FGrid->CheckNone(); break;
    case gcInvertChecks: FGrid->InvertChecks(); break;
    case gcRefresh: FGrid->RefreshFiles(); break;
    // The action flips its own check mark when triggered from the menu.
    case gcShowFileIcons: SetShowFileIcons(FActions[gcShowFileIcons]->isChecked()); break;
    case gcVisibleColumns: FColumnChooser->popup(QCursor::pos()); break;
    default: break;
  }
}

void TFileGridView::SetShowFileIcons(bool Show) {
  FActions[gcShowFileIcons]->setChecked(Show);
  FModel->SetShowFileIcons(Show);
  viewport()->update();
}

void TFileGridView::FillColumnChooser() {
  FColumnChooser->clear();
  QHeaderView* Header = header();
  const int Visible = Header->count() - Header->hiddenSectionCount();
  for (int Position = 0; Position < Header->count(); ++Position) {
    const int Column = Header->logicalIndex(Position);
    QAction* Action = FColumnChooser->addAction(Caption(FileGridColumnCaptions[static_cast<size_t>(Column)]));
    Action->setCheckable(true);
    Action->setChecked(!Header->isSectionHidden(Column));
    // The last visible column cannot be hidden.
    Action->setEnabled(!(Visible == 1 && Action->isChecked()));
    connect(Action, &QAction::triggered, this,
            [this, Header, Column] { SetColumnVisible(Column, Header->isSectionHidden(Column)); });
  }
}

void TFileGridView::SetColumnVisible(int Column, bool Visible) {
  if (Column < 0 || Column >= FileGridColumnCount || header()->isSectionHidden(Column) == !Visible) return;
  if (!Visible) FHiddenWidths[static_cast<size_t>(Column)] = header()->sectionSize(Column);
  header()->setSectionHidden(Column, !Visible);
  if (Visible) header()->resizeSection(Column, FHiddenWidths[static_cast<size_t>(Column)]);
}

TFileGridLayout TFileGridView::Layout() const {
  TFileGridLayout Result;
  Result.SortColumn = FGrid->SortColumn();
  Result.SortDirection = FGrid->SortDirection();
  for (int Column = 0; Column < FileGridColumnCount; ++Column) {
    TFileGridColumnLayout& C = Result.Columns[static_cast<size_t>(Column)];
    C.Visible = !header()->isSectionHidden(Column);
    C.Width = C.Visible ? header()->sectionSize(Column) : FHiddenWidths[static_cast<size_t>(Column)];
    C.Position = header()->visualIndex(Column);
  }
  return Result;
}

void TFileGridView::LoadLayout(const TFileGridLayout& Layout) {
  FGrid->BeginUpdate();
  FGrid->SetSortState(Layout.SortColumn, Layout.SortDirection);
  QHeaderView* Header = header();
  // Every column is placed at its position in one pass from the left, which
  // gives back exactly the saved arrangement.
  const TFileGridColumnOrder Order = VisualOrder(Layout);
  for (int Position = 0; Position < FileGridColumnCount; ++Position)
    Header->moveSection(Header->visualIndex(Order[static_cast<size_t>(Position)]), Position);
  for (int Column = 0; Column < FileGridColumnCount; ++Column) {
    const TFileGridColumnLayout& C = Layout.Columns[static_cast<size_t>(Column)];
    const int Width = std::clamp(C.Width, MinColumnWidth, MaxColumnWidth);
    SetColumnVisible(Column, true);
    Header->resizeSection(Column, Width);
    SetColumnVisible(Column, C.Visible);
  }
  FGrid->EndUpdate();
  SyncSortIndicator();
}

QPoint TFileGridView::PrepareGridMenu(std::optional<QPoint> Point) {
  bool Target = false;
  QPoint At(0, 0);
  if (Point) {
    At = *Point;
    const QModelIndex Under = indexAt(At);
    if (Under.isValid()) {
      Target = true;
      if (!IsRowSelected(Under.row())) {
        ClearSelection();
        SetRowSelected(Under.row(), true);
        SetFocusedRow(Under.row());
      }
    }
  } else if (SelectedCount() > 0) {
    Target = true;
    const auto& Rows = Selection();
    const int Last = static_cast<int>(std::find(Rows.rbegin(), Rows.rend(), 1).base() - Rows.begin()) - 1;
    // The first visible column in display order.
    int FirstColumn = header()->logicalIndex(0);
    for (int Position = 0; Position < header()->count(); ++Position) {
      const int Column = header()->logicalIndex(Position);
      if (!header()->isSectionHidden(Column)) {
        FirstColumn = Column;
        break;
      }
    }
    At = visualRect(FModel->index(Last, FirstColumn)).center();
    if (At.y() < 0) At.setY(-5);
    else if (At.y() > viewport()->height()) At.setY(viewport()->height() + 5);
  }
  for (int Command : {gcMoveUp, gcMoveDown, gcMoveToTop, gcMoveToBottom, gcRemoveFiles})
    FActions[static_cast<size_t>(Command)]->setEnabled(Target);
  const bool HasFiles = FGrid->FileCount() > 0;
  for (int Command : {gcRemoveAllFiles, gcCheckAll, gcCheckNone, gcInvertChecks, gcRefresh})
    FActions[static_cast<size_t>(Command)]->setEnabled(HasFiles);
  return At;
}

void TFileGridView::contextMenuEvent(QContextMenuEvent* Event) {
  const bool Keyboard = Event->reason() == QContextMenuEvent::Keyboard;
  const QPoint At = PrepareGridMenu(Keyboard ? std::nullopt : std::optional<QPoint>(Event->pos()));
  setState(QAbstractItemView::NoState);  // ends a drag-select in progress
  Event->accept();
  FGridMenu->popup(viewport()->mapToGlobal(At));
}

QAction* TFileGridView::ShortcutAction(const QKeyEvent& Event) const {
  const QKeySequence Pressed(QKeyCombination(Event.modifiers() & ~Qt::KeypadModifier, Qt::Key(Event.key())));
  for (QAction* Action : FActions)
    if (Action != nullptr && !Action->shortcut().isEmpty() && Action->shortcut() == Pressed) return Action;
  return nullptr;
}

bool TFileGridView::event(QEvent* Event) {
  // Keys of the grid menu win over the window's shortcuts while the grid has
  // the focus.
  if (Event->type() == QEvent::ShortcutOverride) {
    auto* Key = static_cast<QKeyEvent*>(Event);
    if (ShortcutAction(*Key) != nullptr || Key->key() == Qt::Key_F5) {
      Event->accept();
      return true;
    }
  }
  return QTreeView::event(Event);
}

void TFileGridView::keyPressEvent(QKeyEvent* Event) {
  if (QAction* Action = ShortcutAction(*Event)) {
    if (Action->isEnabled()) Action->trigger();
    Event->accept();
    return;
  }
  if (Event->key() == Qt::Key_F5) {
    FGrid->RefreshFiles();
    Event->accept();
    return;
  }
  QTreeView::keyPressEvent(Event);
}

void TFileGridView::mouseDoubleClickEvent(QMouseEvent* Event) {
  QTreeView::mouseDoubleClickEvent(Event);
  if (FGrid->FileCount() == 0 || SelectedCount() == 0) return;
  const int Row = FirstSelectedRow();
  if (Row < FGrid->FileCount() && FOpener) FOpener(QUrl::fromLocalFile(QString::fromStdString(FGrid->GetFileName(Row))));
}

void TFileGridView::changeEvent(QEvent* Event) {
  QTreeView::changeEvent(Event);
  if (Event->type() == QEvent::PaletteChange) UpdateColors();
}

void TFileGridView::UpdateColors() {
  const QPalette Colors = palette();
  // "New Filename" stands out: the window colour with its luminance lowered by 10.
  // A new name that will not be taken is drawn in red, dark on a light
  // background and light on a dark one.
  const QColor Problem = Colors.color(QPalette::Base).lightness() >= 128 ? QColor(0xC0, 0x1C, 0x28) : QColor(0xFF, 0x7B, 0x72);
  FModel->SetColors(ToQColor(ChangeLuminance(clWindow, -10, Colors), Colors), ToQColor(clGrayText, Colors), Problem);
  viewport()->update();
}

void TFileGridView::SyncSortIndicator() {
  const int Column = FGrid->SortColumn();
  const Qt::SortOrder Order = FGrid->SortDirection() == sdDescending ? Qt::DescendingOrder : Qt::AscendingOrder;
  if (header()->sortIndicatorSection() != Column || header()->sortIndicatorOrder() != Order)
    header()->setSortIndicator(Column, Order);
}

// --- Rows --------------------------------------------------------------------

void TFileGridView::Publish() {
  if (FModel->rowCount() != FRowCount) {
    FModel->PublishRows(FRowCount);
    FSelectionValid = false;
  }
}

void TFileGridView::SetRowCount(int Count) {
  FlushSelection();
  FRowCount = std::max(Count, 0);
  if (!IsUpdating() || FRowCount < FModel->rowCount()) Publish();
}

void TFileGridView::AppendRow() {
  ++FRowCount;
  // Rows added inside an update bracket are announced once, when it closes.
  if (!IsUpdating()) Publish();
}

void TFileGridView::RemoveAllRows() {
  FPendingSelection.clear();
  FPendingLastRow = -2;
  FRowCount = 0;
  Publish();
  FSelection.clear();
  FSelectionValid = true;
}

const std::vector<char>& TFileGridView::Selection() const {
  if (!FSelectionValid) {
    FSelection.assign(static_cast<size_t>(FRowCount), 0);
    auto Mark = [this](const QItemSelection& Ranges) {
      for (const QItemSelectionRange& Range : Ranges)
        for (int Row = std::max(Range.top(), 0); Row <= Range.bottom() && Row < FRowCount; ++Row)
          FSelection[static_cast<size_t>(Row)] = 1;
    };
    Mark(selectionModel()->selection());
    Mark(FPendingSelection);
    FSelectionValid = true;
  }
  return FSelection;
}

bool TFileGridView::IsRowSelected(int Row) const {
  const auto& Rows = Selection();
  return Row >= 0 && static_cast<size_t>(Row) < Rows.size() && Rows[static_cast<size_t>(Row)] != 0;
}

int TFileGridView::NextSelectedRow(int Row) const {
  const auto& Rows = Selection();
  const auto From = Rows.begin() + std::clamp(Row + 1, 0, static_cast<int>(Rows.size()));
  const auto Found = std::find(From, Rows.end(), 1);
  return Found == Rows.end() ? -1 : static_cast<int>(Found - Rows.begin());
}

int TFileGridView::SelectedCount() const {
  const auto& Rows = Selection();
  return static_cast<int>(std::count(Rows.begin(), Rows.end(), 1));
}

void TFileGridView::SetRowSelected(int Row, bool Selected) {
  if (Row < 0 || Row >= FRowCount) return;
  if (!Selected) {
    FlushSelection();
    Publish();
    selectionModel()->select(FModel->index(Row, 0), QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
    return;
  }
  // Rows selected one after another are gathered into ranges and handed to
  // the selection model at once: one signal instead of one per row.
  Publish();
  if (Row == FPendingLastRow + 1 && !FPendingSelection.isEmpty()) {
    QItemSelectionRange& Last = FPendingSelection.last();
    Last = QItemSelectionRange(Last.topLeft(), FModel->index(Row, FileGridColumnCount - 1));
  } else {
    FPendingSelection.append(QItemSelectionRange(FModel->index(Row, 0), FModel->index(Row, FileGridColumnCount - 1)));
  }
  FPendingLastRow = Row;
  if (FSelectionValid) FSelection[static_cast<size_t>(Row)] = 1;
  if (!IsUpdating()) FlushSelection();
}

void TFileGridView::FlushSelection() {
  if (FPendingSelection.isEmpty()) return;
  Publish();
  FFlushing = true;
  selectionModel()->select(FPendingSelection, QItemSelectionModel::Select | QItemSelectionModel::Rows);
  FFlushing = false;
  FPendingSelection.clear();
  FPendingLastRow = -2;
}

void TFileGridView::ClearSelection() {
  FPendingSelection.clear();
  FPendingLastRow = -2;
  selectionModel()->clearSelection();
  FSelection.assign(static_cast<size_t>(FRowCount), 0);
  FSelectionValid = true;
}

void TFileGridView::SetFocusedRow(int Row) {
  FlushSelection();
  Publish();
  if (Row >= 0 && Row < FRowCount)
    selectionModel()->setCurrentIndex(FModel->index(Row, std::max(currentIndex().column(), 0)),
                                      QItemSelectionModel::NoUpdate);
}

void TFileGridView::BeginUpdate() {
  if (FUpdateCount++ == 0) viewport()->setUpdatesEnabled(false);
}

void TFileGridView::EndUpdate() {
  if (FUpdateCount == 0 || --FUpdateCount > 0) return;
  Publish();
  FlushSelection();
  viewport()->setUpdatesEnabled(true);
  Repaint();
}

void TFileGridView::Repaint() {
  Publish();
  FlushSelection();
  SyncSortIndicator();
  viewport()->update();
  emit ListChanged();
}
