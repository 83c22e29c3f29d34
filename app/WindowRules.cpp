// The main window's rules: the three rule groups and the field-insert
// menu, the rules moving between the controls and a TRenameSettings, and the
// profiles that keep them.
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QToolButton>

#include "app/Profile.h"
#include "app/WindowMain.h"
#include "app/WindowParts.h"
#include "base/FileNames.h"
#include "base/Translation.h"
#include "filegrid/VmColorLib.h"
#include "rename/FrmCounter.h"
#include "ui/Anchors.h"
#include "ui/DesignScale.h"
#include "ui/QtDialogs.h"

using namespace WindowParts;

const std::array<std::string_view, ftCount> FieldTags = {
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

// --- Building the rule groups ---------------------------------------------------

void TWindowMain::CreateRuleGroups(QWidget* Parent, TAnchors& Anchors) {
  auto Group = [&](const char* Name, const QString& Caption, QRect Place, int Anchor) {
    auto* Box = new QGroupBox(Caption, Parent);
    Box->setObjectName(QLatin1String(Name));
    Anchors.Place(Box, Place, Anchor);
    return Box;
  };
  const double Scale = Anchors.Scale();
  auto Check = [Scale](QWidget* Box, const char* Name, const QString& Caption, QRect Place) {
    auto* CheckBox = new QCheckBox(Caption, Box);
    CheckBox->setObjectName(QLatin1String(Name));
    CheckBox->setGeometry(Scaled(Place, Scale));
    return CheckBox;
  };
  auto Edit = [](QWidget* Box, const char* Name) {
    auto* LineEdit = new QLineEdit(Box);
    LineEdit->setObjectName(QLatin1String(Name));
    SetEditUnlocked(LineEdit, false);
    return LineEdit;
  };
  auto Label = [Scale](QWidget* Box, const QString& Caption, QPoint At, bool Centred = false, int Width = 0) {
    auto* Caption_ = new QLabel(Caption, Box);
    if (Centred) {
      Caption_->setGeometry(Scaled(QRect(At.x(), At.y(), Width, 21), Scale));
      Caption_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    } else {
      Caption_->move(Scaled(At, Scale));
      Caption_->adjustSize();
    }
    return Caption_;
  };

  QGroupBox* Spelling = Group("groupBoxSpelling", tr(" 1. Spelling "), {0, 0, 193, 140}, akLeft | akTop);
  checkboxUpperCase = Check(Spelling, "checkboxUpperCase", tr("Change to upper case"), {16, 24, 153, 17});
  checkboxLowerCase = Check(Spelling, "checkboxLowerCase", tr("Change to lower case"), {16, 48, 153, 17});

  QGroupBox* Extension = Group("groupBoxFileExtension", tr(" 2. File Extension "), {200, 0, 193, 140}, akLeft | akTop);
  checkboxDelExtension = Check(Extension, "checkboxDelExtension", tr("Remove current extension"), {16, 24, 169, 17});
  checkboxAddExtension = Check(Extension, "checkboxAddExtension", tr("Add extension:"), {16, 48, 169, 17});
  textboxFileExtension = Edit(Extension, "textboxFileExtension");
  textboxFileExtension->setGeometry(Scaled(QRect(40, 72, 137, 21), Scale));

  QGroupBox* Search = Group("groupboxSearchReplace", tr(" 3. Search and Replace "), {400, 0, 485, 140},
                            akLeft | akTop | akRight);
  auto* SearchAnchors = new TAnchors(Search, QSize(485, 140), Scale);
  checkboxChangeFileName = Check(Search, "checkboxChangeFileName", tr("Search and Replace"), {16, 24, 209, 17});
  Label(Search, tr("Search:"), {40, 48}, true, 81);
  textboxSearchString = Edit(Search, "textboxSearchString");
  SearchAnchors->Place(textboxSearchString, {120, 48, 357, 21}, akLeft | akTop | akRight);
  Label(Search, tr("Replace by:"), {40, 72}, true, 81);
  textboxReplaceString = Edit(Search, "textboxReplaceString");
  SearchAnchors->Place(textboxReplaceString, {120, 72, 333, 21}, akLeft | akTop | akRight);
  buttonPopmenu = new QToolButton(Search);
  buttonPopmenu->setObjectName(QStringLiteral("buttonPopmenu"));
  buttonPopmenu->setIcon(Image(fiInsertField));
  buttonPopmenu->setIconSize(Scaled(QSize(16, 16), Scale));
  buttonPopmenu->setToolTip(tr("Feld einfügen"));
  buttonPopmenu->setEnabled(false);
  SearchAnchors->Place(buttonPopmenu, {456, 72, 21, 21}, akTop | akRight);
  // The legend of the search text language, each explanation as wide as the
  // space up to the next column.
  auto Legend = [&](const char* Sign, QPoint SignAt, const QString& Meaning, QPoint MeaningAt, int Width) {
    Label(Search, Text(Sign), SignAt);
    Label(Search, Meaning, MeaningAt)->resize(Scaled(QSize(Width, 15), Scale));
  };
  Legend("*", {16, 104}, tr("replaces any numbers of characters"), {32, 103}, 192);
  Legend("?", {16, 119}, tr("replaces a single character"), {32, 119}, 192);
  Legend("\"", {232, 104}, tr("indicates the start/ending of a filename"), {248, 103}, 230);
  Legend("<>", {224, 120}, tr("copies a part from search text"), {248, 119}, 230);

  connect(checkboxAddExtension, &QCheckBox::toggled, this, &TWindowMain::checkboxAddExtensionClick);
  connect(checkboxChangeFileName, &QCheckBox::toggled, this, &TWindowMain::checkboxChangeFileNameClick);
  connect(buttonPopmenu, &QToolButton::clicked, this, &TWindowMain::buttonPopmenuClick);
}

void TWindowMain::CreateFieldMenu() {
  menuSearchAndReplace = new QMenu(this);
  auto Item = [this](QMenu* Menu, const QString& Caption, int Tag) {
    QAction* Action = Menu->addAction(Caption);
    connect(Action, &QAction::triggered, this, [this, Tag] { menuitemSearchReplaceClick(Tag); });
    return Action;
  };
  auto SubMenu = [this](const QString& Caption, TFieldImage Picture) {
    QMenu* Menu = menuSearchAndReplace->addMenu(Image(Picture), Caption);
    return Menu;
  };
  QMenu* Brackets = SubMenu(tr("From Search Text"), fiBrackets);
  for (int I = 0; I < 9; ++I)
    Item(Brackets, tr("Bracket %1").arg(I + 1), ftBracket + I)->setIcon(Image(fiBracket));
  Item(menuSearchAndReplace, tr("Filename"), ftFilename);
  Item(menuSearchAndReplace, tr("File Extension"), ftFileExtension);
  menuitemCounter = menuSearchAndReplace->addAction(Image(fiCounter), tr("Counter..."));
  connect(menuitemCounter, &QAction::triggered, this, &TWindowMain::menuitemSearchReplaceCounterClick);
  // The captions describe the fields; the keys the fields insert stay the same in every language.
  const char* const DateCaptions[] = {QT_TR_NOOP("German (dd.mm.yyyy)"), QT_TR_NOOP("English (yyyy.mm.dd)"),
                                      QT_TR_NOOP("Day"), QT_TR_NOOP("Month"), QT_TR_NOOP("Year")};
  const char* const TimeCaptions[] = {QT_TR_NOOP("Complete (hh:mm:ss)"), QT_TR_NOOP("Short (hh:mm)"),
                                      QT_TR_NOOP("Seconds"), QT_TR_NOOP("Minutes"), QT_TR_NOOP("Hours")};
  const char* const AudioCaptions[] = {QT_TR_NOOP("Artist"),       QT_TR_NOOP("Title"), QT_TR_NOOP("Album"),
                                       QT_TR_NOOP("Track Number"), QT_TR_NOOP("Year"),  QT_TR_NOOP("Genre")};
  const struct {
    const char* Caption;
    TFieldImage Picture;
    const char* const* Items;
    TFieldTag FirstTag;
  } Groups[] = {{QT_TR_NOOP("Current Date"), fiCalendar, DateCaptions, ftCurrentDate},
                {QT_TR_NOOP("File Date"), fiCalendar, DateCaptions, ftFileDate},
                {QT_TR_NOOP("Current Time"), fiClock, TimeCaptions, ftCurrentTime},
                {QT_TR_NOOP("File Time"), fiClock, TimeCaptions, ftFileTime},
                {QT_TR_NOOP("Photo Date"), fiCalendar, DateCaptions, ftPhotoDate},
                {QT_TR_NOOP("Photo Time"), fiClock, TimeCaptions, ftPhotoTime}};
  for (const auto& G : Groups) {
    QMenu* Menu = SubMenu(tr(G.Caption), G.Picture);
    for (int I = 0; I < 5; ++I) Item(Menu, tr(G.Items[I]), G.FirstTag + I);
  }
  Item(menuSearchAndReplace, tr("Camera Model"), ftCamera);
  QMenu* Audio = menuSearchAndReplace->addMenu(tr("Audio Tags"));
  for (int I = 0; I < 6; ++I) Item(Audio, tr(AudioCaptions[I]), ftAudio + I);
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

void TWindowMain::WriteRenameSettings(const TRenameSettings& Settings) {
  checkboxUpperCase->setChecked(Settings.UpperCase);
  checkboxLowerCase->setChecked(Settings.LowerCase);
  checkboxDelExtension->setChecked(Settings.DelExtension);
  checkboxAddExtension->setChecked(Settings.AddExtension);  // its click rule runs when the state changes
  textboxFileExtension->setText(FromUtf8(Settings.FileExtension));
  checkboxChangeFileName->setChecked(Settings.SearchAndReplace);
  textboxSearchString->setText(FromUtf8(Settings.SearchString));
  textboxReplaceString->setText(FromUtf8(Settings.ReplaceString));
  frmCounter->LoadCounterSettings(Settings);
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
  if (FDialogs.Exec(*frmCounter) == QDialog::Accepted) menuitemSearchReplaceClick(ftCounter);
}


// --- Profiles -----------------------------------------------------------------

namespace {

// The two profile dialogs. On Linux "*.*" would hide names without a dot, so
// "all files" lists every file.
TFileDialog ProfileDialog(bool Save) {
  TFileDialog Dialog;
  Dialog.Title = Save ? Tr("TWindowMain", "Profil speichern") : Tr("TWindowMain", "Profil öffnen");
  Dialog.Filter = Save ? Tr("TWindowMain", "Quorvane Profil (*.prf);;alle Dateien (*)")
                       : Tr("TWindowMain", "Quorvane Profile (*.prf);;alle Dateien (*)");
  Dialog.DefaultSuffix = Save ? "prf" : "";
  return Dialog;
}

}  // namespace

bool TWindowMain::ConfirmReplaceRules() {
  if (FProfileFileName.empty()) return true;
  const TMessage Question{
      Utf8(tr("Currently a Profile is opened. Possible changes are lost if you continue! Continue anyway?")), Title,
      mtConfirmation, {mrYes, mrNo}};
  return FDialogs.ShowMessage(Question) == mrYes;
}

void TWindowMain::LoadProfile(const std::string& FileName) {
  TRenameSettings Settings;
  if (FileName.empty()) {
    // New Profile: the rules go back to their defaults; the counter dialog keeps its settings.
    frmCounter->ReadCounterSettings(Settings);
    WriteRenameSettings(Settings);
    FProfileFileName.clear();
    UpdateTitle();
    return;
  }
  // A file that cannot be read gives the defaults and still becomes the open profile.
  try {
    Settings = ReadProfileSettings(FileName);
  } catch (const EFileError&) {
  }
  WriteRenameSettings(Settings);
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

