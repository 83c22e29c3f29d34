// The main window's three toolbars: their buttons listed once, in a table,
// their look, the row they share, and whether they show captions.
#include <QGuiApplication>
#include <QImage>
#include <QLayout>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>
#include <functional>
#include <iterator>

#include "app/WindowMain.h"
#include "app/WindowParts.h"
#include "filegrid/VmColorLib.h"
#include "ui/DesignScale.h"

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

QIcon WindowParts::Image(TToolbarImage Index) {
  QIcon Icon = Image("toolbar", Index);
  constexpr TToolbarImage Symbolic[] = {tiMoveTop, tiMoveUp, tiMoveDown, tiMoveBottom, tiCheckAll, tiUncheckAll};
  if (std::find(std::begin(Symbolic), std::end(Symbolic), Index) == std::end(Symbolic)) return Icon;
  // The shape's coverage is kept, its faintest strokes made as strong as its
  // strongest (an empty box is drawn half transparent in the theme).
  QImage Shape = Icon.pixmap(24, 24).toImage().convertToFormat(QImage::Format_ARGB32);
  int Strongest = 1;
  for (int Y = 0; Y < Shape.height(); ++Y)
    for (int X = 0; X < Shape.width(); ++X) Strongest = std::max(Strongest, qAlpha(Shape.pixel(X, Y)));
  const QColor Text = QGuiApplication::palette().color(QPalette::WindowText);
  for (int Y = 0; Y < Shape.height(); ++Y)
    for (int X = 0; X < Shape.width(); ++X)
      Shape.setPixel(X, Y, qRgba(Text.red(), Text.green(), Text.blue(), qAlpha(Shape.pixel(X, Y)) * 255 / Strongest));
  return QIcon(QPixmap::fromImage(Shape));
}

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
    Bar->setIconSize(Scaled(QSize(16, 16), FScale));
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

  // Undo shows a short caption of its own (see UpdateUndoAction).
  UpdateUndoAction();
  FitToolbars();

  menuToolbarOptions = new QMenu(this);
  menuitemToolbarShowCaptions = menuToolbarOptions->addAction(tr("Show Captions"));
  menuitemToolbarShowCaptions->setObjectName(QStringLiteral("menuitemToolbarShowCaptions"));
  menuitemToolbarShowCaptions->setCheckable(true);
  menuitemToolbarShowCaptions->setChecked(true);
  connect(menuitemToolbarShowCaptions, &QAction::triggered, this, &TWindowMain::menuitemToolbarShowCaptionsClick);
}

namespace {

// A caption on two lines, split at the space that makes the longer line
// shortest; a single word stays as it is.
QString TwoLines(const QString& Caption, const QFontMetrics& Metrics) {
  QString Best = Caption;
  int BestWidth = Metrics.horizontalAdvance(Caption);
  for (qsizetype Space = Caption.indexOf(' '); Space >= 0; Space = Caption.indexOf(' ', Space + 1)) {
    const QString First = Caption.left(Space), Second = Caption.mid(Space + 1);
    const int Width = std::max(Metrics.horizontalAdvance(First), Metrics.horizontalAdvance(Second));
    if (Width < BestWidth) {
      Best = First + '\n' + Second;
      BestWidth = Width;
    }
  }
  return Best;
}

// A caption broken at spaces into lines no wider than Width; a longer word
// keeps a line of its own.
QString Wrapped(const QString& Caption, const QFontMetrics& Metrics, int Width) {
  QString Lines, Line;
  for (const QString& Word : Caption.split(' ')) {
    const QString Longer = Line.isEmpty() ? Word : Line + ' ' + Word;
    if (!Line.isEmpty() && Metrics.horizontalAdvance(Longer) > Width) {
      Lines += Line + '\n';
      Line = Word;
    } else {
      Line = Longer;
    }
  }
  return Lines + Line;
}

}  // namespace

void TWindowMain::FitToolbars() {
  // The three toolbars share one row of the window's width at the desktop
  // font. While it is too wide, step by step: the captions go on two lines;
  // the buttons drop the two spaces of room Qt gives a caption; the captions
  // take lines as wide as the widest word. Only then does the last toolbar
  // start a second row (rather than hiding buttons behind an overflow arrow).
  const std::array<QToolBar*, 3> Bars = Toolbars();
  int Limit = Scaled(DesignClientSize.width(), FScale);
  if (const QScreen* Screen = screen()) Limit = std::min(Limit, Screen->availableGeometry().width());
  auto RowWidth = [&] {
    int Width = 0;
    for (QToolBar* Bar : Bars) {
      Bar->layout()->invalidate();  // it keeps its hint across its buttons' size limits
      Width += Bar->sizeHint().width();
    }
    return Width;
  };
  const QFontMetrics Metrics = toolbarProfile->fontMetrics();
  auto Relabel = [this](const std::function<QString(const QString&)>& Caption) {
    for (const TToolButtonDesign& Design : ToolButtonDesigns)
      if (Design.Action && Design.Action != &TWindowMain::toolbuttonUndo)
        (this->*Design.Action)->setIconText(Caption(Text(Design.Caption)));
  };
  auto Button = [this](const TToolButtonDesign& Design) {
    return (this->*Design.Bar)->widgetForAction(this->*Design.Action);
  };
  auto Tighten = [&] {
    const int Room = 2 * Metrics.horizontalAdvance(QLatin1Char(' '));
    for (const TToolButtonDesign& Design : ToolButtonDesigns)
      if (Design.Action) {
        Button(Design)->setMaximumWidth(QWIDGETSIZE_MAX);
        Button(Design)->setMaximumWidth(Button(Design)->sizeHint().width() - Room);
      }
  };
  const std::function<void()> Steps[] = {
      [&] { Relabel([&](const QString& Caption) { return TwoLines(Caption, Metrics); }); },
      Tighten,
      [&] {
        int WidestWord = 0;
        for (const TToolButtonDesign& Design : ToolButtonDesigns)
          if (Design.Caption)
            for (const QString& Word : Text(Design.Caption).split(QLatin1Char(' ')))
              WidestWord = std::max(WidestWord, Metrics.horizontalAdvance(Word));
        Relabel([&](const QString& Caption) { return Wrapped(Caption, Metrics, WidestWord); });
        Tighten();
      },
      [&] { insertToolBarBreak(toolbarAbout); }};
  for (const std::function<void()>& Step : Steps)
    if (RowWidth() > Limit) Step();

  // Info and Exit of equal width.
  QWidget* const AboutButtons[] = {toolbarAbout->widgetForAction(toolButtonInfo),
                                   toolbarAbout->widgetForAction(toolbuttonExit)};
  int Widest = 0;
  for (QWidget* About : AboutButtons)
    Widest = std::max(Widest, std::min(About->sizeHint().width(), About->maximumWidth()));
  for (QWidget* About : AboutButtons) About->setMinimumWidth(Widest);
  for (QWidget* About : AboutButtons) About->setMaximumWidth(std::max(Widest, About->maximumWidth()));
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

