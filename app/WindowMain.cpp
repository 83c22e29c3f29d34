#include "app/WindowMain.h"

#include <atomic>
#include <cstdio>

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QThread>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

#include <unordered_map>

#include "app/FolderBrowser.h"
#include "app/InstanceServer.h"
#include "app/PassList.h"
#include "app/Profile.h"
#include "app/WindowInfo.h"
#include "filegrid/VmColorLib.h"
#include "base/FileNames.h"
#include "base/VmFileLib.h"
#include "rename/FrmCounter.h"
#include "ui/Anchors.h"
#include "ui/FitFont.h"
#include "ui/QtDialogs.h"

const std::array<std::string_view, 50> FieldTags = {
    "",  // tag 0 is not used
    "<1>", "<2>", "<3>", "<4>", "<5>", "<6>", "<7>", "<8>", "<9>",
    NameFieldKey, TypeFieldKey,
    DateFieldKeys[0], DateFieldKeys[1], DateFieldKeys[2], DateFieldKeys[3], DateFieldKeys[4],
    DateFieldKeys[5], DateFieldKeys[6], DateFieldKeys[7], DateFieldKeys[8], DateFieldKeys[9],
    TimeFieldKeys[0], TimeFieldKeys[1], TimeFieldKeys[2], TimeFieldKeys[3], TimeFieldKeys[4],
    TimeFieldKeys[5], TimeFieldKeys[6], TimeFieldKeys[7], TimeFieldKeys[8], TimeFieldKeys[9],
    CounterFieldKey,
    // The fields read from inside the file: photo date and time, camera, audio tags.
    PhotoDateFieldKeys[0], PhotoDateFieldKeys[1], PhotoDateFieldKeys[2], PhotoDateFieldKeys[3], PhotoDateFieldKeys[4],
    PhotoTimeFieldKeys[0], PhotoTimeFieldKeys[1], PhotoTimeFieldKeys[2], PhotoTimeFieldKeys[3], PhotoTimeFieldKeys[4],
    CameraFieldKey,
    AudioFieldKeys[0], AudioFieldKeys[1], AudioFieldKeys[2], AudioFieldKeys[3], AudioFieldKeys[4], AudioFieldKeys[5]};

namespace {

constexpr char Title[] = "Quorvane 2";
// The client area the positions of the controls are given for, and the
// height of the toolbar dock above the file selection panel.
constexpr QSize DesignClientSize(988, 602);
constexpr int DesignDockHeight = 39;

QString Text(const char* Value) { return QString::fromUtf8(Value); }
std::string Utf8(const QString& Value) { return Value.toUtf8().toStdString(); }
QString FromUtf8(const std::string& Value) { return QString::fromUtf8(Value.data(), static_cast<qsizetype>(Value.size())); }

QIcon Image(const char* Folder, int Index) {
  return QIcon(QStringLiteral(":/%1/%2.png").arg(QLatin1String(Folder)).arg(Index, 2, 10, QLatin1Char('0')));
}

// The local path of a dropped URL as the bytes of its name, so that names
// that are not valid UTF-8 arrive unchanged.
std::string LocalPath(const QUrl& Url) {
  return QByteArray::fromPercentEncoding(Url.path(QUrl::FullyEncoded).toLatin1()).toStdString();
}

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

}  // namespace

TWindowMain::TWindowMain(TWindowDialogs& Dialogs, TWindowMainOptions Options, QWidget* Parent)
    : QMainWindow(Parent), FDialogs(Dialogs), FOptions(std::move(Options)) {
  // The grid draws the icons that the reader finds.
  FIcons = std::make_shared<TFileIconCache>();
  if (FOptions.Reader) {
    FReader = FOptions.Reader;
  } else {
    auto Reader = std::make_shared<TLinuxFileInfoReader>(FIcons);
    // The files of the command line show at once; their type names, which
    // need the MIME database loaded, follow after the first paint.
    if (!FOptions.Files.empty()) {
      Reader->DeferTypes(true);
      FDeferredTypes = Reader;
      QTimer::singleShot(0, this, [this] { ReadDeferredTypes(0); });
    }
    FReader = std::move(Reader);
  }
  FFileSystem = FOptions.FileSystem ? FOptions.FileSystem : std::make_shared<TLinuxFileSystem>();
  setObjectName(QStringLiteral("WindowMain"));
  setWindowIcon(QIcon(QStringLiteral(":/pictures/quorvane.png")));
  CreateToolbars();
  CreateFileSelection();
  CreateFieldMenu();
  frmCounter = new TfrmCounter(FDialogs, this);
  TPassView& View = *this;
  FPasses = std::make_unique<TRenamePasses>(*FFileSystem, FDialogs, View, FOptions.FieldContext);
  if (!FOptions.JournalFolder.empty()) {
    FJournal = std::make_unique<TFileJournal>(FOptions.JournalFolder);
    FPasses->SetJournal(FJournal.get());
    QTimer::singleShot(0, this, &TWindowMain::AskAboutInterruptedPass);
  }
  UpdateUndoAction();
  FPreviewTimer = new QTimer(this);
  FPreviewTimer->setSingleShot(true);
  FPreviewTimer->setInterval(150);
  connect(FPreviewTimer, &QTimer::timeout, this, &TWindowMain::RefreshPreview);
  connect(gridFiles, &TFileGridView::ListChanged, this, &TWindowMain::PreviewMayBeStale);
  connect(gridFiles->model(), &QAbstractItemModel::dataChanged, this, &TWindowMain::PreviewMayBeStale);
  for (QCheckBox* Box : {checkboxUpperCase, checkboxLowerCase, checkboxDelExtension, checkboxAddExtension,
                         checkboxChangeFileName})
    connect(Box, &QCheckBox::toggled, this, &TWindowMain::PreviewMayBeStale);
  for (QLineEdit* Edit : {textboxFileExtension, textboxSearchString, textboxReplaceString})
    connect(Edit, &QLineEdit::textChanged, this, &TWindowMain::PreviewMayBeStale);
  UpdateTitle();
  resize(DesignClientSize);
  if (const QScreen* Screen = screen()) move(Screen->availableGeometry().center() - rect().center());
  setAcceptDrops(true);

  // The saved layout first, then the files of the command line in one bracket.
  LoadSettings();
  TVmVirtualFileGrid& Files = gridFiles->Grid();
  Files.BeginUpdate();
  for (const std::string& Path : FOptions.Files) Files.AddFile(Path, "", true);
  UpdateControlStates();
  Files.EndUpdate();

  if (!FOptions.SenderFolder.empty()) {
    // A batch runs under the busy cursor; the file commands follow the grid after it.
    FReceiver = std::make_unique<TFileGridCopyDataReceiver>(Files, [this](bool Begins) {
      if (Begins) {
        QApplication::setOverrideCursor(Qt::BusyCursor);
        return;
      }
      UpdateControlStates();
      QApplication::restoreOverrideCursor();
    });
    FServer = new TInstanceServer(*FReceiver, this);
    if (!FServer->Listen(FOptions.SenderFolder))
      std::fprintf(stderr, "quorvane: files cannot be handed over to this window: %s\n", FServer->ErrorString().c_str());
  }
}

// A renaming pass whose disk work runs on a thread of its own; the window
// reads its count a few times a second.
struct TWindowMain::TRunningPass {
  explicit TRunningPass(TRenamingPlan Plan_) : Plan(std::move(Plan_)) {}
  TRenamingPlan Plan;
  std::atomic<int> Processed{0};
  std::atomic<bool> Stop{false};
  std::unique_ptr<QThread> Thread;
  QTimer Progress;
  size_t Shown = 0;  // entries shown in the grid so far
};

TWindowMain::~TWindowMain() {
  if (FRenaming) {
    // The disk work ends after its current rename; nobody is left to see the result.
    FRenaming->Stop = true;
    FRenaming->Thread->wait();
  }
  // Batches that senders left open end while the window is still whole.
  if (FServer) FServer->Close();
  SaveSettings();
}

bool TWindowMain::event(QEvent* Event) {
  if (Event->type() == QEvent::Paint) FPainted = true;
  return QMainWindow::event(Event);
}

void TWindowMain::ReadDeferredTypes(int Tries) {
  if (!FDeferredTypes) return;
  // Shown but not yet painted (for at most a second: a window that starts
  // minimised is not painted), or a pass holds the list: a little later.
  if ((isVisible() && !FPainted && Tries < 100) || FPassRunning) {
    QTimer::singleShot(10, this, [this, Tries] { ReadDeferredTypes(Tries + 1); });
    return;
  }
  FDeferredTypes->DeferTypes(false);
  FDeferredTypes.reset();
  Grid().BeginUpdate();
  Grid().RefreshFiles();
  Grid().EndUpdate();
}

// --- Building the window ------------------------------------------------------

QAction* TWindowMain::AddToolButton(QToolBar* Bar, const char* Name, const char* Caption, int Image) {
  QAction* Action = Bar->addAction(::Image("toolbar", Image), Text(Caption));
  Action->setObjectName(QLatin1String(Name));
  // The button shows the caption whole: Qt would drop a trailing "...".
  Action->setIconText(Text(Caption));
  return Action;
}

void TWindowMain::CreateToolbars() {
  auto NewToolBar = [this](const char* Name) {
    QToolBar* Bar = new TThemedToolBar(this);
    Bar->setObjectName(QLatin1String(Name));
    Bar->setWindowTitle(QLatin1String(Name));
    Bar->setFloatable(false);
    Bar->setMovable(true);
    Bar->setAllowedAreas(Qt::TopToolBarArea);
    Bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    Bar->setIconSize(QSize(16, 16));
    addToolBar(Qt::TopToolBarArea, Bar);
    return Bar;
  };
  toolbarProfile = NewToolBar("toolbarProfile");
  toolbuttonNewProfile = AddToolButton(toolbarProfile, "toolbuttonNewProfile", "New Profile", 0);
  toolbuttonOpenProfile = AddToolButton(toolbarProfile, "toolbuttonOpenProfile", "Open Profile...", 1);
  toolmenuMRU = new QMenu(this);
  toolbuttonOpenProfile->setMenu(toolmenuMRU);
  toolbuttonSaveProfile = AddToolButton(toolbarProfile, "toolbuttonSaveProfile", "Save Profile", 2);
  auto* SaveMenu = new QMenu(this);
  toolbuttonSaveProfileAs = SaveMenu->addAction(Image("toolbar", 3), Text("Save Profile as..."));
  toolbuttonSaveProfileAs->setObjectName(QStringLiteral("toolbuttonSaveProfileAs"));
  toolbuttonSaveProfile->setMenu(SaveMenu);
  for (QAction* Split : {toolbuttonOpenProfile, toolbuttonSaveProfile})
    if (auto* Button = qobject_cast<QToolButton*>(toolbarProfile->widgetForAction(Split)))
      Button->setPopupMode(QToolButton::MenuButtonPopup);

  toolbarFileGrid = NewToolBar("toolbarFileGrid");
  toolbuttonAddFiles = AddToolButton(toolbarFileGrid, "toolbuttonAddFiles", "Add Files...", 4);
  toolbuttonAddFolder = AddToolButton(toolbarFileGrid, "toolbuttonAddFolder", "Add Folder...", 5);
  toolbarFileGrid->addSeparator();
  toolbuttonRemoveFile = AddToolButton(toolbarFileGrid, "toolbuttonRemoveFile", "Remove selected File(s)", 6);
  toolbuttonRemoveAllFiles = AddToolButton(toolbarFileGrid, "toolbuttonRemoveAllFiles", "Remove all Files", 7);
  toolbarFileGrid->addSeparator();
  toolbuttonMoveTop = AddToolButton(toolbarFileGrid, "toolbuttonMoveTop", "Move to Top", 8);
  toolbuttonMoveUp = AddToolButton(toolbarFileGrid, "toolbuttonMoveUp", "Move up", 9);
  toolbuttonMoveDown = AddToolButton(toolbarFileGrid, "toolbuttonMoveDown", "Move down", 10);
  toolbuttonMoveBottom = AddToolButton(toolbarFileGrid, "toolbuttonMoveBottom", "Move to Bottom", 11);
  toolbarFileGrid->addSeparator();
  toolbuttonUncheckAll = AddToolButton(toolbarFileGrid, "toolbuttonUncheckAll", "Uncheck All", 14);
  toolbuttonInvertChecks = AddToolButton(toolbarFileGrid, "toolbuttonInvertChecks", "Invert Checks", 13);
  toolbuttonCheckAll = AddToolButton(toolbarFileGrid, "toolbuttonCheckAll", "Check All", 12);
  toolbarFileGrid->addSeparator();
  toolbuttonUndo = AddToolButton(toolbarFileGrid, "toolbuttonUndo", "Undo Renaming", 17);
  toolbuttonUndo->setShortcut(QKeySequence::Undo);

  toolbarAbout = NewToolBar("toolbarAbout");
  toolButtonInfo = AddToolButton(toolbarAbout, "toolButtonInfo", "Info...", 15);
  toolbuttonExit = AddToolButton(toolbarAbout, "toolbuttonExit", "Exit", 16);
  // Both buttons of equal width.
  const QList<QWidget*> AboutButtons = {toolbarAbout->widgetForAction(toolButtonInfo),
                                        toolbarAbout->widgetForAction(toolbuttonExit)};
  int Widest = 0;
  for (QWidget* Button : AboutButtons) Widest = std::max(Widest, Button->sizeHint().width());
  for (QWidget* Button : AboutButtons) Button->setMinimumWidth(Widest);

  FitToolbars();

  menuToolbarOptions = new QMenu(this);
  menuitemToolbarShowCaptions = menuToolbarOptions->addAction(Text("Show Captions"));
  menuitemToolbarShowCaptions->setObjectName(QStringLiteral("menuitemToolbarShowCaptions"));
  menuitemToolbarShowCaptions->setCheckable(true);
  menuitemToolbarShowCaptions->setChecked(true);
  connect(menuitemToolbarShowCaptions, &QAction::triggered, this, &TWindowMain::menuitemToolbarShowCaptionsClick);

  connect(toolbuttonNewProfile, &QAction::triggered, this, &TWindowMain::toolbuttonNewProfileClick);
  connect(toolbuttonOpenProfile, &QAction::triggered, this, &TWindowMain::toolbuttonOpenProfileClick);
  connect(toolbuttonSaveProfile, &QAction::triggered, this, &TWindowMain::toolbuttonSaveClick);
  connect(toolbuttonSaveProfileAs, &QAction::triggered, this, &TWindowMain::toolbuttonSaveAsClick);
  connect(toolbuttonAddFiles, &QAction::triggered, this, &TWindowMain::toolbuttonAddFilesClick);
  connect(toolbuttonAddFolder, &QAction::triggered, this, &TWindowMain::toolbuttonAddFolderClick);
  connect(toolbuttonRemoveFile, &QAction::triggered, this, &TWindowMain::toolbuttonRemoveFileClick);
  connect(toolbuttonRemoveAllFiles, &QAction::triggered, this, &TWindowMain::toolbuttonRemoveAllFilesClick);
  connect(toolbuttonMoveTop, &QAction::triggered, this, [this] { Grid().MoveSelectedFiles(mdTop); });
  connect(toolbuttonMoveUp, &QAction::triggered, this, [this] { Grid().MoveSelectedFiles(mdUp); });
  connect(toolbuttonMoveDown, &QAction::triggered, this, [this] { Grid().MoveSelectedFiles(mdDown); });
  connect(toolbuttonMoveBottom, &QAction::triggered, this, [this] { Grid().MoveSelectedFiles(mdBottom); });
  connect(toolbuttonUncheckAll, &QAction::triggered, this, [this] { Grid().CheckNone(); });
  connect(toolbuttonInvertChecks, &QAction::triggered, this, [this] { Grid().InvertChecks(); });
  connect(toolbuttonCheckAll, &QAction::triggered, this, [this] { Grid().CheckAll(); });
  connect(toolbuttonUndo, &QAction::triggered, this, &TWindowMain::toolbuttonUndoClick);
  connect(toolButtonInfo, &QAction::triggered, this, &TWindowMain::toolbuttonInfoClick);
  connect(toolbuttonExit, &QAction::triggered, this, &QWidget::close);
}

void TWindowMain::FitToolbars() {
  // The three toolbars share one row of the window's design width: a large
  // desktop font is made smaller on them, down to 7 points.
  const QList<QToolBar*> Bars = {toolbarProfile, toolbarFileGrid, toolbarAbout};
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

void TWindowMain::CreateFileSelection() {
  panelFileSelection = new QWidget(this);
  panelFileSelection->setObjectName(QStringLiteral("panelFileSelection"));
  setCentralWidget(panelFileSelection);
  const QSize PanelSize(DesignClientSize.width(), DesignClientSize.height() - DesignDockHeight);
  panelFileSelection->resize(PanelSize);
  auto* Anchors = new TAnchors(panelFileSelection, PanelSize);

  auto Picture = [&](const char* Name, int Index, QRect Place, int Anchor) {
    auto* Label = new QLabel(panelFileSelection);
    Label->setObjectName(QLatin1String(Name));
    Label->setPixmap(Image("pictures", Index).pixmap(96, 96));
    Label->setAttribute(Qt::WA_TranslucentBackground);
    Anchors->Place(Label, Place, Anchor);
  };
  Picture("imageFileSelection", 0, {0, 8, 96, 96}, akLeft | akTop);
  Picture("imageSettings", 1, {0, 298, 96, 96}, akLeft | akBottom);
  Picture("imageAction", 2, {0, 460, 96, 96}, akLeft | akBottom);

  gridFiles = new TFileGridView(panelFileSelection, FIcons, FReader);
  gridFiles->setObjectName(QStringLiteral("gridFiles"));
  Anchors->Place(gridFiles, {96, 8, 885, 268}, akLeft | akTop | akRight | akBottom);

  panelSettings = new QWidget(panelFileSelection);
  panelSettings->setObjectName(QStringLiteral("panelSettings"));
  Anchors->Place(panelSettings, {96, 297, 885, 140}, akLeft | akRight | akBottom);
  auto* SettingsAnchors = new TAnchors(panelSettings, QSize(885, 140));
  CreateRuleGroups(panelSettings, *SettingsAnchors);
  // The positions are made for a small font; a larger desktop font shrinks here.
  ShrinkFontToFit(*panelSettings);

  progressbarExecution = new QProgressBar(panelFileSelection);
  progressbarExecution->setObjectName(QStringLiteral("progressbarExecution"));
  progressbarExecution->setTextVisible(false);
  progressbarExecution->hide();
  Anchors->Place(progressbarExecution, {96, 531, 886, 21}, akLeft | akRight | akBottom);

  buttonPreview = new QPushButton(Text("Preview"), panelFileSelection);
  buttonPreview->setObjectName(QStringLiteral("buttonPreview"));
  Anchors->Place(buttonPreview, {572, 529, 201, 25}, akRight | akBottom);
  buttonStart = new QPushButton(Text("Start Renaming"), panelFileSelection);
  buttonStart->setObjectName(QStringLiteral("buttonStart"));
  Anchors->Place(buttonStart, {780, 529, 201, 25}, akRight | akBottom);
  buttonCancel = new QPushButton(Text("Cancel"), panelFileSelection);
  buttonCancel->setObjectName(QStringLiteral("buttonCancel"));
  buttonCancel->hide();
  Anchors->Place(buttonCancel, {780, 529, 201, 25}, akRight | akBottom);
  connect(buttonPreview, &QPushButton::clicked, this, &TWindowMain::buttonPreviewClick);
  connect(buttonStart, &QPushButton::clicked, this, &TWindowMain::buttonStartClick);
  connect(buttonCancel, &QPushButton::clicked, this, &TWindowMain::buttonCancelClick);
  // Under the grid: how many of the previewed names will not be taken.
  labelPreviewSummary = new QLabel(panelFileSelection);
  labelPreviewSummary->setObjectName(QStringLiteral("labelPreviewSummary"));
  Anchors->Place(labelPreviewSummary, {96, 278, 885, 17}, akLeft | akRight | akBottom);

  // Tab order: Start, Preview, the grid, the rule groups.
  setTabOrder(buttonStart, buttonPreview);
  setTabOrder(buttonPreview, gridFiles);
  setTabOrder(gridFiles, checkboxUpperCase);
}

void TWindowMain::CreateRuleGroups(QWidget* Parent, TAnchors& Anchors) {
  auto Group = [&](const char* Name, const char* Caption, QRect Place, int Anchor) {
    auto* Box = new QGroupBox(Text(Caption), Parent);
    Box->setObjectName(QLatin1String(Name));
    Anchors.Place(Box, Place, Anchor);
    return Box;
  };
  auto Check = [](QWidget* Box, const char* Name, const char* Caption, QRect Place) {
    auto* CheckBox = new QCheckBox(Text(Caption), Box);
    CheckBox->setObjectName(QLatin1String(Name));
    CheckBox->setGeometry(Place);
    return CheckBox;
  };
  auto Edit = [](QWidget* Box, const char* Name) {
    auto* LineEdit = new QLineEdit(Box);
    LineEdit->setObjectName(QLatin1String(Name));
    SetEditUnlocked(LineEdit, false);
    return LineEdit;
  };
  auto Label = [](QWidget* Box, const char* Caption, QPoint At, bool Centred = false, int Width = 0) {
    auto* Caption_ = new QLabel(Text(Caption), Box);
    if (Centred) {
      Caption_->setGeometry(At.x(), At.y(), Width, 21);
      Caption_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    } else {
      Caption_->move(At);
      Caption_->adjustSize();
    }
    return Caption_;
  };

  QGroupBox* Spelling = Group("groupBoxSpelling", " 1. Spelling ", {0, 0, 193, 140}, akLeft | akTop);
  checkboxUpperCase = Check(Spelling, "checkboxUpperCase", "Change to upper case", {16, 24, 153, 17});
  checkboxLowerCase = Check(Spelling, "checkboxLowerCase", "Change to lower case", {16, 48, 153, 17});

  QGroupBox* Extension = Group("groupBoxFileExtension", " 2. File Extension ", {200, 0, 193, 140}, akLeft | akTop);
  checkboxDelExtension = Check(Extension, "checkboxDelExtension", "Remove current extension", {16, 24, 169, 17});
  checkboxAddExtension = Check(Extension, "checkboxAddExtension", "Add extension:", {16, 48, 169, 17});
  textboxFileExtension = Edit(Extension, "textboxFileExtension");
  textboxFileExtension->setGeometry(40, 72, 137, 21);

  QGroupBox* Search = Group("groupboxSearchReplace", " 3. Search and Replace ", {400, 0, 485, 140},
                            akLeft | akTop | akRight);
  auto* SearchAnchors = new TAnchors(Search, QSize(485, 140));
  checkboxChangeFileName = Check(Search, "checkboxChangeFileName", "Search and Replace", {16, 24, 209, 17});
  Label(Search, "Search:", {40, 48}, true, 81);
  textboxSearchString = Edit(Search, "textboxSearchString");
  SearchAnchors->Place(textboxSearchString, {120, 48, 357, 21}, akLeft | akTop | akRight);
  Label(Search, "Replace by:", {40, 72}, true, 81);
  textboxReplaceString = Edit(Search, "textboxReplaceString");
  SearchAnchors->Place(textboxReplaceString, {120, 72, 333, 21}, akLeft | akTop | akRight);
  buttonPopmenu = new QToolButton(Search);
  buttonPopmenu->setObjectName(QStringLiteral("buttonPopmenu"));
  buttonPopmenu->setIcon(Image("fields", 5));
  buttonPopmenu->setToolTip(QString::fromUtf8("Feld einfügen"));
  buttonPopmenu->setEnabled(false);
  SearchAnchors->Place(buttonPopmenu, {456, 72, 21, 21}, akTop | akRight);
  // The legend of the search text language, each explanation as wide as the
  // space up to the next column.
  auto Legend = [&](const char* Sign, QPoint SignAt, const char* Meaning, QPoint MeaningAt, int Width) {
    Label(Search, Sign, SignAt);
    Label(Search, Meaning, MeaningAt)->resize(Width, 15);
  };
  Legend("*", {16, 104}, "replaces any numbers of characters", {32, 103}, 192);
  Legend("?", {16, 119}, "replaces a single character", {32, 119}, 192);
  Legend("\"", {232, 104}, "indicates the start/ending of a filename", {248, 103}, 230);
  Legend("<>", {224, 120}, "copies a part from search text", {248, 119}, 230);

  connect(checkboxAddExtension, &QCheckBox::toggled, this, &TWindowMain::checkboxAddExtensionClick);
  connect(checkboxChangeFileName, &QCheckBox::toggled, this, &TWindowMain::checkboxChangeFileNameClick);
  connect(buttonPopmenu, &QToolButton::clicked, this, &TWindowMain::buttonPopmenuClick);
}

void TWindowMain::CreateFieldMenu() {
  menuSearchAndReplace = new QMenu(this);
  auto Item = [this](QMenu* Menu, const char* Caption, int Tag, int ImageIndex = -1) {
    QAction* Action = Menu->addAction(Text(Caption));
    if (ImageIndex >= 0) Action->setIcon(Image("fields", ImageIndex));
    connect(Action, &QAction::triggered, this, [this, Tag] { menuitemSearchReplaceClick(Tag); });
    return Action;
  };
  auto SubMenu = [this](const char* Caption, int ImageIndex) {
    QMenu* Menu = menuSearchAndReplace->addMenu(Image("fields", ImageIndex), Text(Caption));
    return Menu;
  };
  QMenu* Brackets = SubMenu("From Search Text", 2);
  for (int Tag = 1; Tag <= 9; ++Tag) Item(Brackets, ("Bracket " + std::to_string(Tag)).c_str(), Tag, 3);
  Item(menuSearchAndReplace, "Filename", 10);
  Item(menuSearchAndReplace, "File Extension", 11);
  menuitemCounter = menuSearchAndReplace->addAction(Image("fields", 4), Text("Counter..."));
  connect(menuitemCounter, &QAction::triggered, this, &TWindowMain::menuitemSearchReplaceCounterClick);
  const char* const DateCaptions[] = {"German (dd.mm.yyyy)", "English (yyyy.mm.dd)", "Day", "Month", "Year"};
  const char* const TimeCaptions[] = {"Complete (hh:mm:ss)", "Short (hh:mm)", "Seconds", "Minutes", "Hours"};
  const char* const AudioCaptions[] = {"Artist", "Title", "Album", "Track Number", "Year", "Genre"};
  const struct {
    const char* Caption;
    int Image;
    const char* const* Items;
    int FirstTag;
  } Groups[] = {{"Current Date", 1, DateCaptions, 12},
                {"File Date", 1, DateCaptions, 17},
                {"Current Time", 0, TimeCaptions, 22},
                {"File Time", 0, TimeCaptions, 27},
                {"Photo Date", 1, DateCaptions, 33},
                {"Photo Time", 0, TimeCaptions, 38}};
  for (const auto& G : Groups) {
    QMenu* Menu = SubMenu(G.Caption, G.Image);
    for (int I = 0; I < 5; ++I) Item(Menu, G.Items[I], G.FirstTag + I);
  }
  Item(menuSearchAndReplace, "Camera Model", 43);
  QMenu* Audio = menuSearchAndReplace->addMenu(Text("Audio Tags"));
  for (int I = 0; I < 6; ++I) Item(Audio, AudioCaptions[I], 44 + I);
}

// --- Rules on controls --------------------------------------------------------

void TWindowMain::SetEditUnlocked(QLineEdit* Edit, bool Unlocked) {
  Edit->setEnabled(Unlocked);
  QPalette Colors = Edit->palette();
  // The window colour while unlocked, the button face while locked.
  const QColor Background = ToQColor(Unlocked ? clWindow : clBtnFace, Edit->parentWidget()->palette());
  for (QPalette::ColorGroup Group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
    Colors.setColor(Group, QPalette::Base, Background);
  Edit->setPalette(Colors);
}

void TWindowMain::checkboxAddExtensionClick() { SetEditUnlocked(textboxFileExtension, checkboxAddExtension->isChecked()); }

void TWindowMain::checkboxChangeFileNameClick() {
  const bool Unlocked = checkboxChangeFileName->isChecked();
  SetEditUnlocked(textboxSearchString, Unlocked);
  SetEditUnlocked(textboxReplaceString, Unlocked);
  buttonPopmenu->setEnabled(Unlocked);
}

void TWindowMain::UpdateControlStates() {
  const bool HasFiles = Grid().FileCount() > 0;
  for (QAction* Action : {toolbuttonRemoveFile, toolbuttonRemoveAllFiles, toolbuttonMoveBottom, toolbuttonMoveDown,
                          toolbuttonMoveUp, toolbuttonMoveTop, toolbuttonCheckAll, toolbuttonUncheckAll,
                          toolbuttonInvertChecks})
    Action->setEnabled(HasFiles);
  buttonPreview->setEnabled(HasFiles);
  buttonStart->setEnabled(HasFiles);
}

void TWindowMain::UpdateTitle() {
  setWindowTitle(QStringLiteral("%1 [%2]").arg(Text(Title), FromUtf8(std::string(NamePart(FProfileFileName)))));
}

// --- Files arriving -----------------------------------------------------------

void TWindowMain::AddDroppedFiles(const std::vector<std::string>& Paths) {
  QApplication::setOverrideCursor(Qt::BusyCursor);
  Grid().BeginUpdate();
  for (const std::string& Path : Paths) Grid().AddFile(Path, "", true);
  Grid().EndUpdate();
  UpdateControlStates();
  QApplication::restoreOverrideCursor();
}

void TWindowMain::dragEnterEvent(QDragEnterEvent* Event) {
  if (Event->mimeData()->hasUrls()) Event->acceptProposedAction();
}

void TWindowMain::dropEvent(QDropEvent* Event) {
  std::vector<std::string> Paths;
  for (const QUrl& Url : Event->mimeData()->urls())
    if (Url.isLocalFile()) Paths.push_back(LocalPath(Url));
  Event->acceptProposedAction();
  if (!Paths.empty()) AddDroppedFiles(Paths);
}

void TWindowMain::toolbuttonAddFilesClick() {
  TFileDialog Dialog;
  Dialog.Title = "Add Files";
  Dialog.MultiSelect = true;
  for (const std::string& Path : FDialogs.OpenFiles(Dialog)) Grid().AddFile(Path, "", true);
  UpdateControlStates();
}

void TWindowMain::toolbuttonAddFolderClick() {
  TFolderBrowser Browser("Select the folder whose files shall be added.", "", false, false);
  Browser.StatusText = false;
  if (Browser.Execute(FDialogs) && !Browser.Folder.empty()) {
    Grid().BeginUpdate();
    Grid().AddFolder(Browser.Folder);
    Grid().EndUpdate();
  }
  UpdateControlStates();
}

// --- Other commands -----------------------------------------------------------

void TWindowMain::toolbuttonRemoveFileClick() {
  Grid().RemoveSelectedFiles();
  UpdateControlStates();
}

void TWindowMain::toolbuttonRemoveAllFilesClick() {
  Grid().RemoveAllFiles();
  UpdateControlStates();
}

void TWindowMain::toolbuttonInfoClick() {
  TWindowInfo Info(this);
  FDialogs.Exec(Info);
}

void TWindowMain::menuitemToolbarShowCaptionsClick() {
  const Qt::ToolButtonStyle Style =
      menuitemToolbarShowCaptions->isChecked() ? Qt::ToolButtonTextUnderIcon : Qt::ToolButtonIconOnly;
  for (QToolBar* Bar : {toolbarProfile, toolbarFileGrid, toolbarAbout}) Bar->setToolButtonStyle(Style);
}

void TWindowMain::buttonPopmenuClick() {
  menuSearchAndReplace->popup(buttonPopmenu->mapToGlobal(QPoint(0, buttonPopmenu->height())));
}

void TWindowMain::menuitemSearchReplaceClick(int Tag) {
  if (Tag <= 0 || Tag >= static_cast<int>(FieldTags.size())) return;
  const std::string_view Key = FieldTags[static_cast<size_t>(Tag)];
  // Replaces the selection, or goes in at the caret.
  textboxReplaceString->insert(QString::fromUtf8(Key.data(), static_cast<qsizetype>(Key.size())));
}

void TWindowMain::menuitemSearchReplaceCounterClick() {
  if (FDialogs.Exec(*frmCounter) == QDialog::Accepted) menuitemSearchReplaceClick(32);
}

// --- Profiles -----------------------------------------------------------------

namespace {

// The two profile dialogs. On Linux "*.*" would hide names without a dot, so
// "all files" lists every file.
TFileDialog ProfileDialog(bool Save) {
  TFileDialog Dialog;
  Dialog.Title = Save ? "Profil speichern" : "Profil öffnen";
  Dialog.Filter = Save ? "Quorvane Profil (*.prf);;alle Dateien (*)" : "Quorvane Profile (*.prf);;alle Dateien (*)";
  Dialog.DefaultSuffix = Save ? "prf" : "";
  return Dialog;
}

}  // namespace

bool TWindowMain::ConfirmReplaceRules() {
  if (FProfileFileName.empty()) return true;
  const TMessage Question{"Currently a Profile is opened. Possible changes are lost if you continue! Continue anyway?",
                          Title, mtConfirmation, {mrYes, mrNo}};
  return FDialogs.ShowMessage(Question) == mrYes;
}

void TWindowMain::LoadProfile(const std::string& FileName) {
  if (FileName.empty()) {
    checkboxUpperCase->setChecked(false);
    checkboxLowerCase->setChecked(false);
    checkboxDelExtension->setChecked(false);
    textboxFileExtension->clear();
    checkboxAddExtension->setChecked(false);
    textboxSearchString->clear();
    textboxReplaceString->clear();
    checkboxChangeFileName->setChecked(false);
    FProfileFileName.clear();
    UpdateTitle();
    return;
  }
  // A file that cannot be read gives the defaults and still becomes the open profile.
  TRenameSettings Settings;
  try {
    Settings = ReadProfileSettings(FileName);
  } catch (const EFileError&) {
  }
  checkboxUpperCase->setChecked(Settings.UpperCase);
  checkboxLowerCase->setChecked(Settings.LowerCase);
  checkboxDelExtension->setChecked(Settings.DelExtension);
  checkboxAddExtension->setChecked(Settings.AddExtension);  // its click rule runs when the state changes
  textboxFileExtension->setText(FromUtf8(Settings.FileExtension));
  checkboxChangeFileName->setChecked(Settings.SearchAndReplace);
  textboxSearchString->setText(FromUtf8(Settings.SearchString));
  textboxReplaceString->setText(FromUtf8(Settings.ReplaceString));
  frmCounter->LoadCounterSettings(Settings);
  SetOpenProfile(FileName);
}

void TWindowMain::SaveProfile(const std::string& FileName) {
  // The file is replaced whole or not at all; a failure leaves it, the
  // title and the recent list as they were.
  try {
    WriteProfileSettings(FileName, ReadRenameSettings());
  } catch (const Exception&) {
    ShowErrorBox(FDialogs, ProfileWriteErrorText(FileName));
    return;
  }
  SetOpenProfile(FileName);
}

void TWindowMain::SetOpenProfile(const std::string& FileName) {
  FProfileFileName = FileName;
  UpdateTitle();
  FRecentFiles.Add(FileName);
  FillRecentMenu();
}

void TWindowMain::FillRecentMenu() {
  toolmenuMRU->clear();
  for (int Index = 0; Index < FRecentFiles.Count(); ++Index) {
    const std::string Path = FRecentFiles.Items()[static_cast<size_t>(Index)];
    QAction* Item = toolmenuMRU->addAction(FromUtf8(FRecentFiles.Caption(Index)));
    Item->setToolTip(FromUtf8(Path));
    connect(Item, &QAction::triggered, this, [this, Path] { toolbarlistMRUClick(Path); });
  }
}

void TWindowMain::toolbuttonNewProfileClick() {
  if (ConfirmReplaceRules()) LoadProfile("");
}

void TWindowMain::toolbuttonOpenProfileClick() {
  if (!ConfirmReplaceRules()) return;
  const std::vector<std::string> Chosen = FDialogs.OpenFiles(ProfileDialog(false));
  if (!Chosen.empty()) LoadProfile(Chosen.front());
}

void TWindowMain::toolbarlistMRUClick(const std::string& FileName) {
  if (ConfirmReplaceRules()) LoadProfile(FileName);
}

void TWindowMain::toolbuttonSaveClick() {
  if (!FProfileFileName.empty()) {
    SaveProfile(FProfileFileName);
    return;
  }
  toolbuttonSaveAsClick();
}

void TWindowMain::toolbuttonSaveAsClick() {
  const std::string Chosen = FDialogs.SaveFile(ProfileDialog(true));
  if (!Chosen.empty()) SaveProfile(Chosen);
}

// --- Closing ------------------------------------------------------------------

bool TWindowMain::FormCloseQuery() {
  if (FProfileFileName.empty()) return true;
  const TMessage Question{
      "Currently a Profile is opened. Possible changes are lost if you close the Quorvane 2! Continue?", Title,
      mtConfirmation, {mrYes, mrNo}};
  return FDialogs.ShowMessage(Question) == mrYes;
}

void TWindowMain::closeEvent(QCloseEvent* Event) {
  if (FRenaming) {
    FRenaming->Stop = true;
    WaitForRenaming();
  }
  if (FormCloseQuery()) Event->accept();
  else Event->ignore();
}

// --- The passes ---------------------------------------------------------------

TRenameSettings TWindowMain::ReadRenameSettings() const {
  TRenameSettings Settings;
  Settings.UpperCase = checkboxUpperCase->isChecked();
  Settings.LowerCase = checkboxLowerCase->isChecked();
  Settings.DelExtension = checkboxDelExtension->isChecked();
  Settings.AddExtension = checkboxAddExtension->isChecked();
  Settings.FileExtension = Utf8(textboxFileExtension->text());
  Settings.SearchAndReplace = checkboxChangeFileName->isChecked();
  Settings.SearchString = Utf8(textboxSearchString->text());
  Settings.ReplaceString = Utf8(textboxReplaceString->text());
  frmCounter->ReadCounterSettings(Settings);
  return Settings;
}

void TWindowMain::buttonPreviewClick() {
  RunPreview({});
  ReleaseHandedOverFiles();
}

bool TWindowMain::RunPreview(TRenamePasses::TPreviewOptions Options) {
  TPassState State{FUsedFields, frmCounter->CounterValue()};
  const std::optional<TPassResult> Result = FPasses->Preview(CheckedFiles(Grid()), ReadRenameSettings(), State, Options);
  FUsedFields = State.UsedFields;
  frmCounter->SetCounterValue(State.CounterValue);
  if (!Result) return false;
  ShowPreview(Grid(), *Result);
  ShowPassResult(*Result);
  FPreviewKey = PreviewKey();
  return true;
}

void TWindowMain::buttonStartClick() {
  if (FRenaming) return;
  // A preview waiting for its refresh is brought up to date first, so that
  // the pass compares the files with what the grid shows.
  if (FPreviewKey && *FPreviewKey != PreviewKey()) RefreshPreview();
  FPreviewTimer->stop();
  TPassState State{FUsedFields, frmCounter->CounterValue()};
  std::optional<TRenamingPlan> Plan = FPasses->PrepareRenaming(CheckedFiles(Grid()), ReadRenameSettings(), State);
  FUsedFields = State.UsedFields;
  frmCounter->SetCounterValue(State.CounterValue);
  if (!Plan) {
    FPreviewKey.reset();
    FPasses->ForgetPreview();
    ReleaseHandedOverFiles();
    return;
  }
  // The questions are answered; the disk work runs on its own thread while
  // the window repaints, answers and offers Cancel.
  FRenaming = std::make_unique<TRunningPass>(std::move(*Plan));
  TRunningPass& Pass = *FRenaming;
  Pass.Thread.reset(QThread::create([this, &Pass] {
    FPasses->CommitRenaming(Pass.Plan, [&Pass](const TPassEntry&) {
      Pass.Processed.fetch_add(1, std::memory_order_relaxed);
      return !Pass.Stop.load(std::memory_order_relaxed);
    });
  }));
  connect(Pass.Thread.get(), &QThread::finished, this, [this] { FinishRenamingPass(); });
  connect(&Pass.Progress, &QTimer::timeout, this,
          [this, &Pass] { progressbarExecution->setValue(Pass.Processed.load(std::memory_order_relaxed)); });
  Pass.Progress.start(40);
  buttonCancel->setEnabled(true);
  buttonCancel->show();
  Pass.Thread->start();
}

void TWindowMain::buttonCancelClick() {
  if (!FRenaming) return;
  FRenaming->Stop = true;
  buttonCancel->setEnabled(false);
}

void TWindowMain::WaitForRenaming() {
  if (!FRenaming) return;
  FRenaming->Thread->wait();
  FinishRenamingPass(true);
}

void TWindowMain::FinishRenamingPass(bool AllAtOnce) {
  // A finished signal may still be queued from a pass already finished here.
  if (!FRenaming || !FRenaming->Thread->isFinished()) return;
  TRunningPass& Pass = *FRenaming;
  const size_t Count = Pass.Plan.Result.Entries.size();
  if (Pass.Shown == 0) {
    Pass.Progress.stop();
    progressbarExecution->setValue(Pass.Processed);
    buttonCancel->hide();
    Grid().BeginUpdate();
  }
  // Each slice reads a few thousand files again; between slices the window
  // answers, with the list still held as during the disk work.
  constexpr size_t Slice = 4000;
  const size_t Last = AllAtOnce ? Count : std::min(Count, Pass.Shown + Slice);
  ShowRenaming(Grid(), Pass.Plan.Result, Pass.Shown, Last);
  Pass.Shown = Last;
  if (Pass.Shown < Count) {
    QTimer::singleShot(0, this, [this] { FinishRenamingPass(); });
    return;
  }
  Grid().EndUpdate();
  const std::unique_ptr<TRunningPass> Done = std::move(FRenaming);
  const TPassResult Result = FPasses->FinishRenaming(std::move(Done->Plan));
  ShowPassResult(Result);
  // What stays in the grid are the names that were not taken, with their
  // reasons; they are no preview to follow the rules.
  FPreviewKey.reset();
  FPasses->ForgetPreview();
  ReleaseHandedOverFiles();
  UpdateUndoAction();
}

// --- Undo and recovery ----------------------------------------------------------

void TWindowMain::UpdateUndoAction() {
  std::string Caption = "Undo Renaming";
  TJournal Last;
  const std::vector<std::string> Journals = ListJournals(FOptions.JournalFolder);
  try {
    if (!Journals.empty()) Last = ReadJournalHeader(Journals.back());
  } catch (const EJournalError&) {
    // Undo then says why it cannot.
    Last.Count = 1;
  }
  if (Last.Count > 0)
    Caption = "Undo renaming of " + GroupedNumber(Last.Count) + (Last.Count == 1 ? " file" : " files");
  // Under the icon the caption stays short, so that the toolbar keeps its
  // row; the whole caption is the button's tooltip.
  toolbuttonUndo->setText(FromUtf8(Caption));
  toolbuttonUndo->setIconText(Text("Undo"));
  toolbuttonUndo->setEnabled(Last.Count > 0 && !FPassRunning);
}

void TWindowMain::toolbuttonUndoClick() {
  const std::vector<std::string> Journals = ListJournals(FOptions.JournalFolder);
  if (!Journals.empty() && !FPassRunning) RecoverJournal(Journals.back(), rgUndo);
}

void TWindowMain::AskAboutInterruptedPass() {
  const std::string Path = FindInterruptedJournal(FOptions.JournalFolder);
  if (Path.empty()) return;
  try {
    const TJournal Journal = ReadJournalFile(Path);
    size_t Renamed = 0;
    for (const TStepState& State : LocateSteps(Journal, *FFileSystem, false)) Renamed += State.Places == spNew;
    const TModalResult Answer = FDialogs.ShowQuestion(
        {"The renaming of " + GroupedNumber(Journal.Steps.size()) + " files was interrupted; " +
             GroupedNumber(Renamed) + " of them have their new names.\n\nFinish the renaming, undo it, or decide later?",
         "Interrupted Renaming", mtConfirmation, {mrYes, mrNo, mrCancel}},
        {"&Finish", "&Undo", "Decide &Later"});
    if (Answer == mrYes || Answer == mrNo) RecoverJournal(Path, Answer == mrYes ? rgFinish : rgUndo);
  } catch (const EJournalError& Error) {
    ShowErrorBox(FDialogs, Error.what());
  }
}

void TWindowMain::RecoverJournal(const std::string& Path, TRecoveryGoal Goal) {
  TJournal Journal;
  try {
    Journal = ReadJournalFile(Path);
  } catch (const EJournalError& Error) {
    ShowErrorBox(FDialogs, Error.what());
    return;
  }
  QApplication::setOverrideCursor(Qt::BusyCursor);
  const TRecoveryResult Result = RecoverPass(Journal, Goal, *FFileSystem, FJournal.get());
  if (Result.JournalError.empty() && !Journal.Ended) MarkJournalEnded(Path);
  // The entries of moved files take their paths; what a preview showed is gone.
  std::unordered_map<std::string, int> Listed;
  for (int I = 0; I < Grid().FileCount(); ++I) Listed.emplace(Grid().GetFileName(I), I);
  Grid().BeginUpdate();
  for (const TPassEntry& Entry : Result.Pass.Entries)
    if (const auto Found = Listed.find(Entry.Path()); Entry.Status == psRenamed && Found != Listed.end()) {
      Grid().UpdateFile(Found->second, Entry.NewPath());
      Grid().SetNewFileName(Found->second, {});
    }
  Grid().EndUpdate();
  FPreviewKey.reset();
  FPasses->ForgetPreview();
  QApplication::restoreOverrideCursor();
  UpdateUndoAction();
  if (!Result.JournalError.empty()) {
    ShowErrorBox(FDialogs, Result.JournalError);
    return;
  }

  std::string Text = std::to_string(Result.Pass.Renamed) + (Goal == rgUndo ? " file(s) renamed back." : " file(s) renamed.");
  if (!Result.Problems.empty())
    Text += "\n\n" + std::to_string(Result.Problems.size()) +
            (Goal == rgUndo ? " file(s) could not be undone:" : " file(s) could not be renamed:");
  for (size_t I = 0; I < Result.Problems.size() && I < 10; ++I)
    Text += "\n" + Result.Problems[I].Path + ": " + Result.Problems[I].Reason;
  if (Result.Problems.size() > 10) Text += "\n...";
  FDialogs.ShowMessage({Text, "Quorvane 2", Result.Problems.empty() ? mtInformation : mtWarning, {mrOk}});
}

void TWindowMain::ReleaseHandedOverFiles() {
  if (!FReceiver || FPassRunning) return;
  FReceiver->SetHeld(false);
  UpdateControlStates();
}

void TWindowMain::ShowPassResult(const TPassResult& Result) {
  labelPreviewSummary->setText(QString::fromStdString(PassSummary(Result)));
}

size_t TWindowMain::PreviewKey() const {
  const TRenameSettings Settings = ReadRenameSettings();
  size_t Key = 0;
  const auto Mix = [&Key](size_t Value) { Key ^= Value + 0x9e3779b97f4a7c15ULL + (Key << 6) + (Key >> 2); };
  const std::hash<std::string> Hash;
  for (const std::string* Text : {&Settings.FileExtension, &Settings.SearchString, &Settings.ReplaceString,
                                  &Settings.CounterStartValue, &Settings.CounterStepSize, &Settings.CounterWidth})
    Mix(Hash(*Text));
  Mix(size_t(Settings.UpperCase) | size_t(Settings.LowerCase) << 1 | size_t(Settings.DelExtension) << 2 |
      size_t(Settings.AddExtension) << 3 | size_t(Settings.SearchAndReplace) << 4 |
      size_t(Settings.CounterSameWidth) << 5 | size_t(Settings.CounterFillZeros) << 6);
  const TVmVirtualFileGrid& Files = gridFiles->Grid();
  for (int I = 0; I < Files.FileCount(); ++I) Mix(Files.IsChecked(I) ? Hash(Files.GetFileName(I)) : 1);
  return Key;
}

void TWindowMain::PreviewMayBeStale() {
  if (FPreviewKey && !FPassRunning && !FPreviewTimer->isActive()) FPreviewTimer->start();
}

void TWindowMain::RefreshPreview() {
  if (!FPreviewKey || FPassRunning || *FPreviewKey == PreviewKey()) return;
  if (RunPreview({.Quiet = true})) return;
  // Rules that are being typed may not pass their checks yet: no preview then.
  ClearPreview(Grid());
  labelPreviewSummary->clear();
  FPreviewKey.reset();
}

void TWindowMain::SetPreviewRunning(bool Running) {
  // Files handed over meanwhile wait: the message boxes of a pass must not
  // let the list change under it.
  FPassRunning = Running;
  if (FReceiver && Running) FReceiver->SetHeld(true);
  for (QWidget* Control : {static_cast<QWidget*>(buttonPreview), static_cast<QWidget*>(buttonStart), panelSettings,
                           panelFileSelection})
    Control->setEnabled(!Running);
}

void TWindowMain::SetRenamingRunning(bool Running) {
  FPassRunning = Running;
  if (Running) toolbuttonUndo->setEnabled(false);
  if (FReceiver && Running) FReceiver->SetHeld(true);
  buttonPreview->setVisible(!Running);
  buttonStart->setVisible(!Running);
  // The window stays live while the disk work runs: everything that could
  // change the list or the rules waits, Cancel does not.
  for (QWidget* Control : {static_cast<QWidget*>(panelSettings), static_cast<QWidget*>(gridFiles),
                           static_cast<QWidget*>(toolbarProfile), static_cast<QWidget*>(toolbarFileGrid)})
    Control->setEnabled(!Running);
  setAcceptDrops(!Running);
}

void TWindowMain::ShowProgress(int Maximum) {
  progressbarExecution->setRange(0, std::max(Maximum, 0));
  progressbarExecution->setValue(0);
  progressbarExecution->show();
}

void TWindowMain::SetProgress(int Position) { progressbarExecution->setValue(Position); }

void TWindowMain::HideProgress() { progressbarExecution->hide(); }

// --- Settings -----------------------------------------------------------------

namespace {

// The dock that holds the toolbars, as the settings file names it.
constexpr char DockName[] = "dockWindowTop";

}  // namespace

TAppSettings TWindowMain::CurrentSettings() const {
  TAppSettings Settings;
  // Linux window managers size a window by its client area, so that is the
  // size kept (the frame is theirs).
  Settings.WindowWidth = width();
  Settings.WindowHeight = height();
  Settings.Maximized = isMaximized();
  Settings.ShowToolbarCaptions = menuitemToolbarShowCaptions->isChecked();
  // A toolbar's row is the rank of its top edge among the rows of the dock.
  const QList<QToolBar*> Bars = {toolbarProfile, toolbarFileGrid, toolbarAbout};
  std::vector<int> RowTops;
  for (QToolBar* Bar : Bars) RowTops.push_back(Bar->geometry().top());
  std::sort(RowTops.begin(), RowTops.end());
  RowTops.erase(std::unique(RowTops.begin(), RowTops.end()), RowTops.end());
  for (QToolBar* Bar : Bars) {
    TToolbarSettings Toolbar;
    Toolbar.Name = Bar->objectName().toStdString();
    Toolbar.Visible = !Bar->isHidden();
    Toolbar.DockedTo = DockName;
    Toolbar.LastDock = DockName;
    Toolbar.DockRow = static_cast<int>(std::find(RowTops.begin(), RowTops.end(), Bar->geometry().top()) - RowTops.begin());
    Toolbar.DockPos = Bar->geometry().left();
    Settings.Toolbars.push_back(Toolbar);
  }
  Settings.RecentFiles = FRecentFiles;
  Settings.Grid = gridFiles->Layout();
  return Settings;
}

void TWindowMain::ApplySettings(const TAppSettings& Settings) {
  if (Settings.Maximized) {
    setWindowState(windowState() | Qt::WindowMaximized);
  } else if (Settings.WindowWidth > 0 && Settings.WindowHeight > 0) {
    // A stored size never makes the window larger than the screen it opens on.
    QSize Size(Settings.WindowWidth, Settings.WindowHeight);
    if (const QScreen* Screen = screen()) Size = Size.boundedTo(Screen->availableGeometry().size());
    resize(Size);
    if (const QScreen* Screen = screen()) move(Screen->availableGeometry().center() - rect().center());
  }
  if (Settings.ShowToolbarCaptions) {
    menuitemToolbarShowCaptions->setChecked(*Settings.ShowToolbarCaptions);
    menuitemToolbarShowCaptionsClick();
  }
  // The stored toolbars go back into the dock row by row, left to right.
  std::vector<std::pair<const TToolbarSettings*, QToolBar*>> Stored;
  for (const TToolbarSettings& Toolbar : Settings.Toolbars)
    if (auto* Bar = findChild<QToolBar*>(QString::fromStdString(Toolbar.Name)); Bar && Toolbar.Restored)
      Stored.emplace_back(&Toolbar, Bar);
  if (!Stored.empty()) {
    std::stable_sort(Stored.begin(), Stored.end(), [](const auto& A, const auto& B) {
      return std::pair(A.first->DockRow, A.first->DockPos) < std::pair(B.first->DockRow, B.first->DockPos);
    });
    for (QToolBar* Bar : {toolbarProfile, toolbarFileGrid, toolbarAbout}) removeToolBarBreak(Bar);
    for (const auto& [Toolbar, Bar] : Stored) removeToolBar(Bar);
    for (size_t I = 0; I < Stored.size(); ++I) {
      if (I > 0 && Stored[I].first->DockRow != Stored[I - 1].first->DockRow) addToolBarBreak(Qt::TopToolBarArea);
      addToolBar(Qt::TopToolBarArea, Stored[I].second);
      Stored[I].second->setVisible(Stored[I].first->Visible);
    }
  }
  FRecentFiles = Settings.RecentFiles;
  FillRecentMenu();
  gridFiles->LoadLayout(Settings.Grid);
}

void TWindowMain::LoadSettings() {
  if (!FOptions.Settings) return;
  TAppSettings Settings = CurrentSettings();
  Settings.ShowToolbarCaptions.reset();
  try {
    ::LoadSettings(Settings, *FOptions.Settings);
  } catch (const Exception& Error) {
    // The window starts as designed; the file is replaced when it closes.
    FDialogs.ShowMessage({Error.what(), Title, mtError, {mrOk}});
    return;
  }
  ApplySettings(Settings);
}

void TWindowMain::SaveSettings() {
  if (!FOptions.Settings) return;
  try {
    ::SaveSettings(CurrentSettings(), *FOptions.Settings);
  } catch (const Exception&) {
    // A file that cannot be written is left as it was, without a message:
    // the window is closing and there is nobody left to tell.
  }
}
