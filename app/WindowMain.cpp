// The main window: building it, taking files in, the file commands, closing,
// and the window's own settings. The toolbars, the rules and the passes have
// files of their own (WindowToolbars, WindowRules, WindowPasses).
#include "app/WindowMain.h"

#include <malloc.h>

#include <cstdio>

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QToolBar>
#include <QUrl>

#include "app/FolderBrowser.h"
#include "app/InstanceServer.h"
#include "app/WindowInfo.h"
#include "app/WindowParts.h"
#include "base/FileNames.h"
#include "base/Translation.h"
#include "rename/FrmCounter.h"
#include "ui/Anchors.h"
#include "ui/DesignScale.h"
#include "ui/QtDialogs.h"

void PrepareWindowProcess() {
  // One malloc arena for every thread. The program has few threads (the
  // window's, Qt's own, a pass's worker) that seldom allocate at once, and
  // an arena of the worker's own would keep the memory of the last pass
  // resident beside the window's, where the window could not reuse it.
  mallopt(M_ARENA_MAX, 1);
  // Large blocks (a pass's list of 100,000 entries, a sort's buffers) stay
  // mapped on their own and go back to the system when freed. By default
  // the threshold rises to the largest block freed, after which such lists
  // come from the heap and leave holes that keep the largest pass resident.
  mallopt(M_MMAP_THRESHOLD, 128 * 1024);
}

using namespace WindowParts;

namespace {

// The local path of a dropped URL as the bytes of its name, so that names
// that are not valid UTF-8 arrive unchanged.
std::string LocalPath(const QUrl& Url) {
  return QByteArray::fromPercentEncoding(Url.path(QUrl::FullyEncoded).toLatin1()).toStdString();
}

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
  FScale = DesignScale(font());
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
  // The design's size at the font's scale, bounded by the screen.
  QSize Size = Scaled(DesignClientSize, FScale);
  if (const QScreen* Screen = screen()) Size = Size.boundedTo(Screen->availableGeometry().size());
  resize(Size);
  if (const QScreen* Screen = screen()) move(Screen->availableGeometry().center() - rect().center());
  setAcceptDrops(true);

  // The saved layout first, then the files of the command line.
  LoadSettings();
  TakeFiles(FOptions.Files);

  if (!FOptions.SenderFolder.empty()) {
    // A batch runs under the busy cursor; its files are taken in when it ends.
    FReceiver = std::make_unique<TFileGridCopyDataReceiver>(
        [this](std::vector<std::string> Paths) { TakeFiles(std::move(Paths)); },
        [](bool Begins) {
          if (Begins) QApplication::setOverrideCursor(Qt::BusyCursor);
          else QApplication::restoreOverrideCursor();
        });
    FServer = new TInstanceServer(*FReceiver, this);
    if (!FServer->Listen(FOptions.SenderFolder))
      std::fprintf(stderr, "quorvane: %s\n",
                   Filled(Tr("TWindowMain", "files cannot be handed over to this window: %1"), {FServer->ErrorString()})
                       .c_str());
  }
}

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

void TWindowMain::CreateFileSelection() {
  panelFileSelection = new QWidget(this);
  panelFileSelection->setObjectName(QStringLiteral("panelFileSelection"));
  setCentralWidget(panelFileSelection);
  const QSize PanelSize(DesignClientSize.width(), DesignClientSize.height() - DesignDockHeight);
  panelFileSelection->resize(Scaled(PanelSize, FScale));
  auto* Anchors = new TAnchors(panelFileSelection, PanelSize, FScale);

  auto Picture = [&](const char* Name, TPicture Index, QRect Place, int Anchor) {
    auto* Label = new QLabel(panelFileSelection);
    Label->setObjectName(QLatin1String(Name));
    Label->setPixmap(Image(Index).pixmap(Scaled(QSize(96, 96), FScale)));
    Label->setAttribute(Qt::WA_TranslucentBackground);
    Anchors->Place(Label, Place, Anchor);
  };
  Picture("imageFileSelection", piFileSelection, {0, 8, 96, 96}, akLeft | akTop);
  Picture("imageSettings", piSettings, {0, 298, 96, 96}, akLeft | akBottom);
  Picture("imageAction", piAction, {0, 460, 96, 96}, akLeft | akBottom);

  gridFiles = new TFileGridView(panelFileSelection, FIcons, FReader);
  gridFiles->setObjectName(QStringLiteral("gridFiles"));
  Anchors->Place(gridFiles, {96, 8, 885, 268}, akLeft | akTop | akRight | akBottom);
  // The columns take their designed widths at the desktop's font, each at
  // least as wide as its caption; the check column stays as narrow as its
  // check box. A stored layout replaces them when the settings are read.
  for (int Column = 0; Column < FileGridColumnCount; ++Column) {
    const int Width = Scaled(DesignedColumnWidths[static_cast<size_t>(Column)], FScale);
    gridFiles->header()->resizeSection(
        Column, Column == fcCheck ? Width : std::max(Width, gridFiles->header()->sectionSizeHint(Column)));
  }

  panelSettings = new QWidget(panelFileSelection);
  panelSettings->setObjectName(QStringLiteral("panelSettings"));
  Anchors->Place(panelSettings, {96, 297, 885, 140}, akLeft | akRight | akBottom);
  auto* SettingsAnchors = new TAnchors(panelSettings, QSize(885, 140), FScale);
  CreateRuleGroups(panelSettings, *SettingsAnchors);

  progressbarExecution = new QProgressBar(panelFileSelection);
  progressbarExecution->setObjectName(QStringLiteral("progressbarExecution"));
  progressbarExecution->setTextVisible(false);
  progressbarExecution->hide();
  Anchors->Place(progressbarExecution, {96, 531, 886, 21}, akLeft | akRight | akBottom);

  buttonPreview = new QPushButton(tr("Preview"), panelFileSelection);
  buttonPreview->setObjectName(QStringLiteral("buttonPreview"));
  Anchors->Place(buttonPreview, {572, 529, 201, 25}, akRight | akBottom);
  buttonStart = new QPushButton(tr("Start Renaming"), panelFileSelection);
  buttonStart->setObjectName(QStringLiteral("buttonStart"));
  Anchors->Place(buttonStart, {780, 529, 201, 25}, akRight | akBottom);
  buttonCancel = new QPushButton(tr("Cancel"), panelFileSelection);
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

void TWindowMain::TakeFiles(std::vector<std::string> Paths) {
  QApplication::setOverrideCursor(Qt::BusyCursor);
  Grid().BeginUpdate();
  Grid().AddFiles(std::move(Paths));
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
  if (!Paths.empty()) TakeFiles(std::move(Paths));
}

void TWindowMain::toolbuttonAddFilesClick() {
  TFileDialog Dialog;
  Dialog.Title = Utf8(tr("Add Files"));
  Dialog.MultiSelect = true;
  TakeFiles(FDialogs.OpenFiles(Dialog));
}

void TWindowMain::toolbuttonAddFolderClick() {
  TFolderBrowser Browser(Utf8(tr("Select the folder whose files shall be added.")), "", false, false);
  Browser.StatusText = false;
  if (!Browser.Execute(FDialogs) || Browser.Folder.empty()) return;
  if (std::optional<std::vector<std::string>> Files = Grid().FolderFiles(Browser.Folder)) TakeFiles(std::move(*Files));
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

// --- Closing ------------------------------------------------------------------

bool TWindowMain::FormCloseQuery() {
  if (FProfileFileName.empty()) return true;
  const TMessage Question{
      Utf8(tr("Currently a Profile is opened. Possible changes are lost if you close the Quorvane 2! Continue?")),
      Title, mtConfirmation, {mrYes, mrNo}};
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
  const std::array<QToolBar*, 3> Bars = Toolbars();
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
    for (QToolBar* Bar : Toolbars()) removeToolBarBreak(Bar);
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
