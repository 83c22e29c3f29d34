// The dialog that chooses files to add. Qt's own file dialog leaves out a
// name that is not valid UTF-8 and could not give its bytes back; this one
// lists every name a folder holds and returns the chosen paths byte for byte.
#pragma once

#include <QDialog>

#include <string>
#include <vector>

class QLineEdit;
class QListWidget;
class QListWidgetItem;

class TFileChooser : public QDialog {
 public:
  // Starts in Folder (an absolute path; the current folder when empty).
  TFileChooser(const QString& Title, std::string Folder, bool MultiSelect, QWidget* Parent = nullptr);
  // Lists Folder: its subfolders first, then its files, each in name order.
  // A folder that cannot be read leaves the list as it was; false then.
  bool ShowFolder(std::string Folder);
  const std::string& Folder() const { return FFolder; }
  // The selected files' paths, in list order.
  std::vector<std::string> ChosenPaths() const;
  QListWidget* List() const { return FList; }

 private:
  // OK or a double click: a folder is opened, files are taken.
  void Choose(QListWidgetItem* Item);

  QLineEdit* FPath;
  QListWidget* FList;
  std::string FFolder;  // ends with "/"
};
