#include "ui/QtDialogs.h"

#include <QAbstractButton>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

#include <algorithm>

#include "ui/FileChooser.h"

namespace {

// Which answer a box button gives is kept on the button itself.
constexpr char ResultProperty[] = "quorvaneModalResult";

QString FromPath(const std::string& Path) { return QFile::decodeName(QByteArray::fromStdString(Path)); }
std::string ToPath(const QString& Path) { return QFile::encodeName(Path).toStdString(); }

QMessageBox::Icon IconOf(TMsgDlgType Type) {
  switch (Type) {
    case mtWarning: return QMessageBox::Warning;
    case mtError: return QMessageBox::Critical;
    case mtInformation: return QMessageBox::Information;
    case mtConfirmation: return QMessageBox::Question;
  }
  return QMessageBox::NoIcon;
}

bool Contains(const std::vector<TModalResult>& Buttons, TModalResult Result) {
  return std::find(Buttons.begin(), Buttons.end(), Result) != Buttons.end();
}

}  // namespace

std::unique_ptr<QMessageBox> CreateMessageBox(const TMessage& Message, QWidget* Owner,
                                              const std::vector<std::string>& Captions) {
  auto Box = std::make_unique<QMessageBox>(Owner);
  Box->setWindowTitle(QString::fromStdString(Message.Caption));
  // Messages may hold "<" and ">" (field names); never read them as markup.
  Box->setTextFormat(Qt::PlainText);
  // A line end written as LF and CR (or CR and LF) is one break, not two.
  QString Text = QString::fromStdString(Message.Text);
  Text.replace(QLatin1String("\n\r"), QLatin1String("\n")).replace(QLatin1String("\r\n"), QLatin1String("\n"));
  Box->setText(Text);
  Box->setIcon(IconOf(Message.Type));

  // One role for all buttons, so the box keeps the order given instead of
  // sorting them by the platform's button layout.
  const TModalResult DefaultResult = Contains(Message.Buttons, mrOk) ? mrOk : mrYes;
  const TModalResult EscapeResult = Contains(Message.Buttons, mrCancel) ? mrCancel
                                    : Contains(Message.Buttons, mrNo)   ? mrNo
                                                                        : mrOk;
  for (size_t I = 0; I < Message.Buttons.size(); ++I) {
    const TModalResult Result = Message.Buttons[I];
    const QString Caption = QString::fromStdString(I < Captions.size() ? Captions[I] : ModalResultCaption(Result));
    QPushButton* Button = Box->addButton(Caption, QMessageBox::ActionRole);
    Button->setProperty(ResultProperty, static_cast<int>(Result));
    if (Result == DefaultResult) Box->setDefaultButton(Button);
    if (Result == EscapeResult) Box->setEscapeButton(Button);
  }
  return Box;
}

TModalResult MessageBoxResult(const QMessageBox& Box) {
  const QAbstractButton* Clicked = Box.clickedButton();
  if (!Clicked) return mrNone;
  const QVariant Result = Clicked->property(ResultProperty);
  return Result.isValid() ? static_cast<TModalResult>(Result.toInt()) : mrNone;
}

std::unique_ptr<QFileDialog> CreateFileDialog(const TFileDialog& Dialog, bool Save, QWidget* Owner) {
  auto FileDialog = std::make_unique<QFileDialog>(Owner, QString::fromStdString(Dialog.Title));
  if (!Dialog.Filter.empty()) {
    FileDialog->setNameFilter(QString::fromStdString(Dialog.Filter));
  } else {
    // No filter: every file is listed, and there is no type to choose.
    for (const char* Name : {"fileTypeCombo", "fileTypeLabel"})
      if (auto* Child = FileDialog->findChild<QWidget*>(QLatin1String(Name))) Child->hide();
  }
  FileDialog->setDefaultSuffix(QString::fromStdString(Dialog.DefaultSuffix));
  if (Save) {
    FileDialog->setAcceptMode(QFileDialog::AcceptSave);
    FileDialog->setFileMode(QFileDialog::AnyFile);
    FileDialog->setOption(QFileDialog::DontConfirmOverwrite, false);
  } else {
    FileDialog->setAcceptMode(QFileDialog::AcceptOpen);
    FileDialog->setFileMode(Dialog.MultiSelect ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
  }
  if (!Dialog.InitialPath.empty()) {
    const QString Initial = FromPath(Dialog.InitialPath);
    if (QFileInfo(Initial).isDir())
      FileDialog->setDirectory(Initial);
    else
      FileDialog->selectFile(Initial);
  }
  return FileDialog;
}

std::unique_ptr<QFileDialog> CreateFolderDialog(const std::string& Title, const std::string& InitialFolder,
                                                QWidget* Owner) {
  auto FileDialog = std::make_unique<QFileDialog>(Owner, QString::fromStdString(Title));
  FileDialog->setAcceptMode(QFileDialog::AcceptOpen);
  FileDialog->setFileMode(QFileDialog::Directory);
  FileDialog->setOption(QFileDialog::ShowDirsOnly, true);
  // A folder reached through a link is added under the link's path.
  FileDialog->setOption(QFileDialog::DontResolveSymlinks, true);
  if (!InitialFolder.empty()) FileDialog->setDirectory(FromPath(InitialFolder));
  return FileDialog;
}

std::string FolderPath(const QString& Chosen) {
  if (Chosen.isEmpty()) return {};
  // cleanPath drops a trailing "/" and doubled ones, and keeps the root as "/".
  return ToPath(QDir::cleanPath(QFileInfo(Chosen).absoluteFilePath()));
}

TModalResult TQtDialogs::ShowMessage(const TMessage& Message) {
  const std::unique_ptr<QMessageBox> Box = CreateMessageBox(Message, FOwner);
  Box->exec();
  return MessageBoxResult(*Box);
}

TModalResult TQtDialogs::ShowQuestion(const TMessage& Message, const std::vector<std::string>& Captions) {
  const std::unique_ptr<QMessageBox> Box = CreateMessageBox(Message, FOwner, Captions);
  Box->exec();
  return MessageBoxResult(*Box);
}

std::vector<std::string> TQtDialogs::OpenFiles(const TFileDialog& Dialog) {
  if (Dialog.Filter.empty()) {
    // No filter: every file, whatever bytes its name holds (Qt's dialog leaves
    // out names that are not UTF-8).
    TFileChooser Chooser(QString::fromStdString(Dialog.Title), Dialog.InitialPath, Dialog.MultiSelect, FOwner);
    return Chooser.exec() == QDialog::Accepted ? Chooser.ChosenPaths() : std::vector<std::string>();
  }
  const std::unique_ptr<QFileDialog> FileDialog = CreateFileDialog(Dialog, false, FOwner);
  std::vector<std::string> Paths;
  if (FileDialog->exec() != QDialog::Accepted) return Paths;
  for (const QString& Path : FileDialog->selectedFiles()) Paths.push_back(ToPath(QFileInfo(Path).absoluteFilePath()));
  return Paths;
}

std::string TQtDialogs::SaveFile(const TFileDialog& Dialog) {
  const std::unique_ptr<QFileDialog> FileDialog = CreateFileDialog(Dialog, true, FOwner);
  if (FileDialog->exec() != QDialog::Accepted || FileDialog->selectedFiles().isEmpty()) return {};
  return ToPath(QFileInfo(FileDialog->selectedFiles().front()).absoluteFilePath());
}

std::string TQtDialogs::BrowseForFolder(const std::string& Title, const std::string& InitialFolder) {
  const std::unique_ptr<QFileDialog> FileDialog = CreateFolderDialog(Title, InitialFolder, FOwner);
  if (FileDialog->exec() != QDialog::Accepted || FileDialog->selectedFiles().isEmpty()) return {};
  const std::string Folder = FolderPath(FileDialog->selectedFiles().front());
  return QFileInfo(FromPath(Folder)).isDir() ? Folder : std::string();
}

int TQtDialogs::Exec(QDialog& Dialog) { return Dialog.exec(); }
