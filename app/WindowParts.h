// What the sources of the main window share: text conversions, the
// pictures by name, the design the window's positions are given for, and
// the renaming pass that runs on its own thread.
#pragma once

#include <QIcon>
#include <QSize>
#include <QString>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <memory>
#include <string>

#include "app/WindowMain.h"

namespace WindowParts {

inline constexpr char Title[] = "Quorvane 2";
// The client area the positions of the controls are given for, and the
// height of the toolbar dock above the file selection panel.
inline constexpr QSize DesignClientSize(988, 602);
inline constexpr int DesignDockHeight = 39;

inline QString Text(const char* Value) { return QString::fromUtf8(Value); }
inline std::string Utf8(const QString& Value) { return Value.toUtf8().toStdString(); }
inline QString FromUtf8(const std::string& Value) {
  return QString::fromUtf8(Value.data(), static_cast<qsizetype>(Value.size()));
}

// The pictures in the order app/Images.cmake lists them.
enum TToolbarImage : int {
  tiNewProfile, tiOpenProfile, tiSaveProfile, tiSaveProfileAs, tiAddFiles, tiAddFolder, tiRemoveFile,
  tiRemoveAllFiles, tiMoveTop, tiMoveUp, tiMoveDown, tiMoveBottom, tiCheckAll, tiInvertChecks, tiUncheckAll,
  tiInfo, tiExit, tiUndo
};
enum TFieldImage : int { fiClock, fiCalendar, fiBrackets, fiBracket, fiCounter, fiInsertField };
enum TPicture : int { piFileSelection, piSettings, piAction };

inline QIcon Image(const char* Folder, int Index) {
  return QIcon(QStringLiteral(":/%1/%2.png").arg(QLatin1String(Folder)).arg(Index, 2, 10, QLatin1Char('0')));
}
// The symbolic toolbar pictures (shapes without colour of their own) are
// drawn in the palette's text colour, so that an enabled button stands out
// from a disabled, greyed one.
QIcon Image(TToolbarImage Index);
inline QIcon Image(TFieldImage Index) { return Image("fields", Index); }
inline QIcon Image(TPicture Index) { return Image("pictures", Index); }

}  // namespace WindowParts

// A renaming pass whose look-up, plan and disk work run on a thread of their
// own; the window reads its count and shows the entries done as it goes.
struct TWindowMain::TRunningPass {
  explicit TRunningPass(TRenamingPlan Plan_) : Plan(std::move(Plan_)) {}
  TRenamingPlan Plan;
  std::atomic<int> Processed{0};
  std::atomic<bool> Stop{false};
  std::atomic<bool> Planned{false};  // the names are built and the plan is on record
  bool Asked = false;                // the files are looked up and the questions answered
  std::unique_ptr<QThread> Thread;
  QTimer Progress;
  // The entries in the order their outcomes became final, the first
  // Processed of them written by the disk work; the grid shows the first
  // Shown of them, while the disk work goes on.
  std::vector<int> Final;
  int Shown = 0;
};
