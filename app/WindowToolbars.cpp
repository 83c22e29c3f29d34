// The main window's three toolbars: their buttons listed once, in a table,
// their look, the row they share, and whether they show captions.
#include <QMenu>
#include <QPainter>
#include <QToolBar>
#include <QToolButton>

#include "app/WindowMain.h"
#include "app/WindowParts.h"
#include "filegrid/VmColorLib.h"

using namespace WindowParts;

namespace {

// The toolbars' own look: a soft vertical gradient from a light blend of
// the button-face colour down to the button face itself.
class TThemedToolBar : public QToolBar {
 public:
  using QToolBar::QToolBar;

 protected:
  void paintEvent(QPaintEvent* Event) override {
    QPainter Painter(this);
    const TColor Face = ResolveColor(clBtnFace, palette());
    DrawGradient(Painter, rect(), BlendColors(Face, clWhite, 60, palette()), 0, 3, Face, palette());
    Painter.end();
    QToolBar::paintEvent(Event);
  }
};


// The toolbars, left to right.
struct TToolbarDesign {
  QToolBar* TWindowMain::*Bar;
  const char* Name;
};
const TToolbarDesign ToolbarDesigns[] = {{&TWindowMain::toolbarProfile, "toolbarProfile"},
                                         {&TWindowMain::toolbarFileGrid, "toolbarFileGrid"},
                                         {&TWindowMain::toolbarAbout, "toolbarAbout"}};

// Every toolbar button in order: its toolbar, the window's member that holds
// it, its name, caption (translated where it is shown), picture and command.
// A row without a member is a separator.
struct TToolButtonDesign {
  QToolBar* TWindowMain::*Bar;
  QAction* TWindowMain::*Action = nullptr;
  const char* Name = nullptr;
  const char* Caption = nullptr;
  TToolbarImage Image = tiNewProfile;
  void (*Click)(TWindowMain&) = nullptr;
};
const TToolButtonDesign ToolButtonDesigns[] = {
    {&TWindowMain::toolbarProfile, &TWindowMain::toolbuttonNewProfile, "toolbuttonNewProfile",
     QT_TRANSLATE_NOOP("TWindowMain", "New Profile"), tiNewProfile,
     [](TWindowMain& W) { W.toolbuttonNewProfileClick(); }},
    {&TWindowMain::toolbarProfile, &TWindowMain::toolbuttonOpenProfile, "toolbuttonOpenProfile",
     QT_TRANSLATE_NOOP("TWindowMain", "Open Profile..."), tiOpenProfile,
     [](TWindowMain& W) { W.toolbuttonOpenProfileClick(); }},
    {&TWindowMain::toolbarProfile, &TWindowMain::toolbuttonSaveProfile, "toolbuttonSaveProfile",
     QT_TRANSLATE_NOOP("TWindowMain", "Save Profile"), tiSaveProfile,
     [](TWindowMain& W) { W.toolbuttonSaveClick(); }},
    {&TWindowMain::toolbarFileGrid, &TWindowMain::toolbuttonAddFiles, "toolbuttonAddFiles",
     QT_TRANSLATE_NOOP("TWindowMain", "Add Files..."), tiAddFiles,
     [](TWindowMain& W) { W.toolbuttonAddFilesClick(); }},
    {&TWindowMain::toolbarFileGrid, &TWindowMain::toolbuttonAddFolder, "toolbuttonAddFolder",
     QT_TRANSLATE_NOOP("TWindowMain", "Add Folder..."), tiAddFolder,
     [](TWindowMain& W) { W.toolbuttonAddFolderClick(); }},
    {&TWindowMain::toolbarFileGrid},
    {&TWindowMain::toolbarFileGrid, &TWindowMain::toolbuttonRemoveFile, "toolbuttonRemoveFile",
     QT_TRANSLATE_NOOP("TWindowMain", "Remove selected File(s)"), tiRemoveFile,
     [](TWindowMain& W) { W.toolbuttonRemoveFileClick(); }},
    {&TWindowMain::toolbarFileGrid, &TWindowMain::toolbuttonRemoveAllFiles, "toolbuttonRemoveAllFiles",
     QT_TRANSLATE_NOOP("TWindowMain", "Remove all Files"), tiRemoveAllFiles,
     [](TWindowMain& W) { W.toolbuttonRemoveAllFilesClick(); }},
    {&TWindowMain::toolbarFileGrid},
    {&TWindowMain::toolbarFileGrid, &TWindowMain::toolbuttonMoveTop, "toolbuttonMoveTop",
     QT_TRANSLATE_NOOP("TWindowMain", "Move to Top"), tiMoveTop,
     [](TWindowMain& W) { W.Grid().MoveSelectedFiles(mdTop); }},
    {&TWindowMain::toolbarFileGrid, &TWindowMain::toolbuttonMoveUp, "toolbuttonMoveUp",
     QT_TRANSLATE_NOOP("TWindowMain", "Move up"), tiMoveUp,
     [](TWindowMain& W) { W.Grid().MoveSelectedFiles(mdUp); }},
    {&TWindowMain::toolbarFileGrid, &TWindowMain::toolbuttonMoveDown, "toolbuttonMoveDown",
     QT_TRANSLATE_NOOP("TWindowMain", "Move down"), tiMoveDown,
     [](TWindowMain& W) { W.Grid().MoveSelectedFiles(mdDown); }},
    {&TWindowMain::toolbarFileGrid, &TWindowMain::toolbuttonMoveBottom, "toolbuttonMoveBottom",
     QT_TRANSLATE_NOOP("TWindowMain", "Move to Bottom"), tiMoveBottom,
     [](TWindowMain& W) { W.Grid().MoveSelectedFiles(mdBottom); }},
    {&TWindowMain::toolbarFileGrid},
    {&TWindowMain::toolbarFileGrid, &TWindowMain::toolbuttonUncheckAll, "toolbuttonUncheckAll",
     QT_TRANSLATE_NOOP("TWindowMain", "Uncheck All"), tiUncheckAll,
     [](TWindowMain& W) { W.Grid().CheckNone(); }},
    {&TWindowMain::toolbarFileGrid, &TWindowMain::toolbuttonInvertChecks, "toolbuttonInvertChecks",
     QT_TRANSLATE_NOOP("TWindowMain", "Invert Checks"), tiInvertChecks,
     [](TWindowMain& W) { W.Grid().InvertChecks(); }},
    {&TWindowMain::toolbarFileGrid, &TWindowMain::toolbuttonCheckAll, "toolbuttonCheckAll",
     QT_TRANSLATE_NOOP("TWindowMain", "Check All"), tiCheckAll,
     [](TWindowMain& W) { W.Grid().CheckAll(); }},
    {&TWindowMain::toolbarFileGrid},
    {&TWindowMain::toolbarFileGrid, &TWindowMain::toolbuttonUndo, "toolbuttonUndo",
     QT_TRANSLATE_NOOP("TWindowMain", "Undo Renaming"), tiUndo,
     [](TWindowMain& W) { W.toolbuttonUndoClick(); }},
    {&TWindowMain::toolbarAbout, &TWindowMain::toolButtonInfo, "toolButtonInfo",
     QT_TRANSLATE_NOOP("TWindowMain", "Info..."), tiInfo,
     [](TWindowMain& W) { W.toolbuttonInfoClick(); }},
    {&TWindowMain::toolbarAbout, &TWindowMain::toolbuttonExit, "toolbuttonExit",
     QT_TRANSLATE_NOOP("TWindowMain", "Exit"), tiExit,
     [](TWindowMain& W) { W.close(); }},
};

}  // namespace

std::array<QToolBar*, 3> TWindowMain::Toolbars() const {
  static_assert(std::size(ToolbarDesigns) == 3);
  return {this->*ToolbarDesigns[0].Bar, this->*ToolbarDesigns[1].Bar, this->*ToolbarDesigns[2].Bar};
}

void TWindowMain::CreateToolbars() {
  for (const TToolbarDesign& Design : ToolbarDesigns) {
    QToolBar* Bar = new TThemedToolBar(this);
    Bar->setObjectName(QLatin1String(Design.Name));
    Bar->setWindowTitle(QLatin1String(Design.Name));
    Bar->setFloatable(false);
    Bar->setMovable(true);
    Bar->setAllowedAreas(Qt::TopToolBarArea);
    Bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    Bar->setIconSize(QSize(16, 16));
    addToolBar(Qt::TopToolBarArea, Bar);
    this->*Design.Bar = Bar;
  }
  for (const TToolButtonDesign& Design : ToolButtonDesigns) {
    QToolBar* Bar = this->*Design.Bar;
    if (!Design.Action) {
      Bar->addSeparator();
      continue;
    }
    QAction* Action = Bar->addAction(Image(Design.Image), tr(Design.Caption));
    Action->setObjectName(QLatin1String(Design.Name));
    // The button shows the caption whole: Qt would drop a trailing "...".
    Action->setIconText(Action->text());
    connect(Action, &QAction::triggered, this, [this, Click = Design.Click] { Click(*this); });
    this->*Design.Action = Action;
  }
  toolbuttonUndo->setShortcut(QKeySequence::Undo);

  // Open Profile drops down the recent profiles, Save Profile holds Save Profile as.
  toolmenuMRU = new QMenu(this);
  toolbuttonOpenProfile->setMenu(toolmenuMRU);
  auto* SaveMenu = new QMenu(this);
  toolbuttonSaveProfileAs = SaveMenu->addAction(Image(tiSaveProfileAs), tr("Save Profile as..."));
  toolbuttonSaveProfileAs->setObjectName(QStringLiteral("toolbuttonSaveProfileAs"));
  connect(toolbuttonSaveProfileAs, &QAction::triggered, this, &TWindowMain::toolbuttonSaveAsClick);
  toolbuttonSaveProfile->setMenu(SaveMenu);
  for (QAction* Split : {toolbuttonOpenProfile, toolbuttonSaveProfile})
    if (auto* Button = qobject_cast<QToolButton*>(toolbarProfile->widgetForAction(Split)))
      Button->setPopupMode(QToolButton::MenuButtonPopup);

  // Both buttons of equal width.
  const QList<QWidget*> AboutButtons = {toolbarAbout->widgetForAction(toolButtonInfo),
                                        toolbarAbout->widgetForAction(toolbuttonExit)};
  int Widest = 0;
  for (QWidget* Button : AboutButtons) Widest = std::max(Widest, Button->sizeHint().width());
  for (QWidget* Button : AboutButtons) Button->setMinimumWidth(Widest);

  FitToolbars();

  menuToolbarOptions = new QMenu(this);
  menuitemToolbarShowCaptions = menuToolbarOptions->addAction(tr("Show Captions"));
  menuitemToolbarShowCaptions->setObjectName(QStringLiteral("menuitemToolbarShowCaptions"));
  menuitemToolbarShowCaptions->setCheckable(true);
  menuitemToolbarShowCaptions->setChecked(true);
  connect(menuitemToolbarShowCaptions, &QAction::triggered, this, &TWindowMain::menuitemToolbarShowCaptionsClick);
}

void TWindowMain::FitToolbars() {
  // The three toolbars share one row of the window's design width: a large
  // desktop font is made smaller on them, down to 7 points.
  const std::array<QToolBar*, 3> Bars = Toolbars();
  QFont Font = toolbarProfile->font();
  auto RowWidth = [&] {
    int Width = 0;
    for (QToolBar* Bar : Bars) Width += Bar->sizeHint().width();
    return Width;
  };
  while (RowWidth() > DesignClientSize.width() && Font.pointSizeF() > 7.0) {
    Font.setPointSizeF(Font.pointSizeF() - 0.5);
    for (QToolBar* Bar : Bars) Bar->setFont(Font);
  }
  // Still too wide: the last toolbar starts a second row rather than hiding
  // buttons behind the toolbar's overflow arrow.
  if (RowWidth() > DesignClientSize.width()) insertToolBarBreak(toolbarAbout);
}

QMenu* TWindowMain::createPopupMenu() {
  // The main window frees the menu it asks for after showing it; the item
  // itself stays with the window.
  auto* Menu = new QMenu(this);
  Menu->addAction(menuitemToolbarShowCaptions);
  return Menu;
}

void TWindowMain::menuitemToolbarShowCaptionsClick() {
  const Qt::ToolButtonStyle Style =
      menuitemToolbarShowCaptions->isChecked() ? Qt::ToolButtonTextUnderIcon : Qt::ToolButtonIconOnly;
  for (QToolBar* Bar : Toolbars()) Bar->setToolButtonStyle(Style);
}

