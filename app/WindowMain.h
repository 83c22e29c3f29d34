// The program's main window.
#pragma once

#include <QMainWindow>
#include <string>

class TWindowMain : public QMainWindow {
  Q_OBJECT

 public:
  explicit TWindowMain(QWidget* Parent = nullptr);

  // The open profile's path; empty while no profile is open.
  const std::string& ProfileFileName() const { return FProfileFileName; }

 private:
  // Shows the application title and the open profile's file name.
  void UpdateTitle();

  std::string FProfileFileName;
};
