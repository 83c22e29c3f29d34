// Widget tests need one QApplication for the whole test program; the first
// call creates it (on the offscreen platform in the test build) and it lives
// until the program ends.
#pragma once

#include <QApplication>

inline QApplication& TestApplication() {
  static int Argc = 1;
  static char Name[] = "quorvane-tests";
  static char* Argv[] = {Name, nullptr};
  static QApplication* Application = new QApplication(Argc, Argv);
  return *Application;
}
