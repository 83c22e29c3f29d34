// The one QApplication that widget tests need, made on first use and kept
// to the end of the process (destroying it during exit crashes Qt).
#pragma once

#include <QApplication>

inline QApplication& TestApplication() {
  static int Argc = 1;
  static char Name[] = "quorvane-tests";
  static char* Argv[] = {Name, nullptr};
  static auto* Application = new QApplication(Argc, Argv);
  return *Application;
}
