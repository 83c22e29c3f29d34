#include "ui/FileChooser.h"

#include <dirent.h>
#include <sys/stat.h>

#include <QApplication>
#include <QCollator>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace {

// An item's name and kind, kept on the item.
constexpr int PathRole = Qt::UserRole;
constexpr int IsFolderRole = Qt::UserRole + 1;

QString Shown(const std::string& Bytes) {
  // Bytes that do not decode show as U+FFFD; the item keeps the bytes themselves.
  return QString::fromUtf8(Bytes.data(), static_cast<qsizetype>(Bytes.size()));
}

std::string ItemPath(const QListWidgetItem* Item) { return Item->data(PathRole).toByteArray().toStdString(); }

}  // namespace

TFileChooser::TFileChooser(const QString& Title, std::string Folder, bool MultiSelect, QWidget* Parent)
    : QDialog(Parent) {
  setWindowTitle(Title);
  setObjectName(QStringLiteral("FileChooser"));
  FPath = new QLineEdit(this);
  auto* Up = new QToolButton(this);
  Up->setIcon(style()->standardIcon(QStyle::SP_FileDialogToParent));
  FList = new QListWidget(this);
  FList->setSelectionMode(MultiSelect ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
  auto* Buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);

  auto* Top = new QHBoxLayout;
  Top->addWidget(FPath);
  Top->addWidget(Up);
  auto* Layout = new QVBoxLayout(this);
  Layout->addLayout(Top);
  Layout->addWidget(FList);
  Layout->addWidget(Buttons);
  const QFontMetrics Metrics(font());
  resize(Metrics.averageCharWidth() * 80, Metrics.height() * 30);

  connect(Up, &QToolButton::clicked, this, [this] {
    std::string Parent = FFolder.substr(0, FFolder.size() - 1);
    ShowFolder(Parent.substr(0, Parent.rfind('/') + 1));
  });
  connect(FPath, &QLineEdit::returnPressed, this, [this] {
    if (!ShowFolder(FPath->text().toUtf8().toStdString())) FPath->setText(Shown(FFolder));
  });
  connect(FList, &QListWidget::itemActivated, this, &TFileChooser::Choose);
  connect(Buttons, &QDialogButtonBox::accepted, this, [this] { Choose(FList->currentItem()); });
  connect(Buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  std::error_code Error;
  if (Folder.empty()) Folder = std::filesystem::current_path(Error).string();
  if (!ShowFolder(Folder)) ShowFolder("/");
}

bool TFileChooser::ShowFolder(std::string Folder) {
  if (Folder.empty() || Folder.back() != '/') Folder += '/';
  DIR* Entries = ::opendir(Folder.c_str());
  if (!Entries) return false;
  struct TEntry {
    std::string Name;
    bool IsFolder;
  };
  std::vector<TEntry> Found;
  while (const dirent* Entry = ::readdir(Entries)) {
    const std::string Name = Entry->d_name;
    if (Name == "." || Name == "..") continue;
    struct stat Info {};
    // A link to a folder is entered like the folder.
    const bool IsFolder = ::stat((Folder + Name).c_str(), &Info) == 0 && S_ISDIR(Info.st_mode);
    Found.push_back({Name, IsFolder});
  }
  ::closedir(Entries);
  QCollator Collator;
  Collator.setNumericMode(true);
  std::sort(Found.begin(), Found.end(), [&](const TEntry& A, const TEntry& B) {
    if (A.IsFolder != B.IsFolder) return A.IsFolder;
    return Collator.compare(Shown(A.Name), Shown(B.Name)) < 0;
  });

  FFolder = Folder;
  FPath->setText(Shown(FFolder));
  FList->clear();
  const QIcon FolderIcon = style()->standardIcon(QStyle::SP_DirIcon);
  const QIcon FileIcon = style()->standardIcon(QStyle::SP_FileIcon);
  for (const TEntry& Entry : Found) {
    auto* Item = new QListWidgetItem(Entry.IsFolder ? FolderIcon : FileIcon, Shown(Entry.Name), FList);
    Item->setData(PathRole, QByteArray::fromStdString(Folder + Entry.Name));
    Item->setData(IsFolderRole, Entry.IsFolder);
  }
  if (FList->count() > 0) FList->setCurrentRow(0, QItemSelectionModel::NoUpdate);
  return true;
}

std::vector<std::string> TFileChooser::ChosenPaths() const {
  std::vector<std::string> Paths;
  for (int Row = 0; Row < FList->count(); ++Row)
    if (const QListWidgetItem* Item = FList->item(Row); Item->isSelected() && !Item->data(IsFolderRole).toBool())
      Paths.push_back(ItemPath(Item));
  return Paths;
}

void TFileChooser::Choose(QListWidgetItem* Item) {
  if (Item && Item->data(IsFolderRole).toBool() && ChosenPaths().empty()) {
    ShowFolder(ItemPath(Item));
    return;
  }
  if (!ChosenPaths().empty()) accept();
}
