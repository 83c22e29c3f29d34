// The main window at 100,000 files, timed from outside as a user would see
// it: run under the offscreen platform (QT_QPA_PLATFORM=offscreen) or Xvfb.
//
//   window_driver start FILE...   milliseconds from main() to the window's first paint
//   window_driver run [FOLDER]    in FOLDER (default a new one under /dev/shm) 100,000 files:
//     Add Folder until the event loop answers again; Preview (the first one);
//     the first sort by Filename; Start Renaming until its result shows, with
//     the longest pause of the event loop during the pass and the bare loop of
//     statx + renameat2 + statx over the same files beside it; a second pass
//     cancelled after 300 ms, until the window is back; peak resident memory.
//   window_driver send            100,000 files under /dev/shm handed over by
//     quorvane-send to this window, until it exits and until the window
//     answers the next hand-over (of one file).
#include <fcntl.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "Spawn.h"
#include "app/InstanceFolder.h"
#include "app/WindowMain.h"
#include "ui/QtDialogs.h"

namespace {

QElapsedTimer Clock;

// Every box answered at once with its first button; the folder browser picks Folder.
class TDriverDialogs : public TWindowDialogs {
 public:
  std::string Folder;
  qint64 LastShown = 0;  // when the last box came
  TModalResult ShowMessage(const TMessage& Message) override {
    LastShown = Clock.nsecsElapsed();
    return Message.Buttons.front();
  }
  std::vector<std::string> OpenFiles(const TFileDialog&) override { return {}; }
  std::string SaveFile(const TFileDialog&) override { return {}; }
  std::string BrowseForFolder(const std::string&, const std::string&) override { return Folder; }
  int Exec(QDialog&) override { return QDialog::Rejected; }
};

// Milliseconds until the event loop has handled what is queued (repaints included).
double UntilIdle(qint64 Start) {
  QApplication::processEvents();
  return double(Clock.nsecsElapsed() - Start) / 1e6;
}

// The longest the event loop went without turning while Busy held.
double LongestPause(const std::function<bool()>& Busy) {
  qint64 Last = Clock.nsecsElapsed(), Longest = 0;
  QTimer Tick;
  Tick.setTimerType(Qt::PreciseTimer);
  QObject::connect(&Tick, &QTimer::timeout, [&] {
    const qint64 Now = Clock.nsecsElapsed();
    Longest = std::max(Longest, Now - Last);
    Last = Now;
  });
  Tick.start(1);
  while (Busy()) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
  // The work that ended it (the result and the grid) counts as well.
  return double(std::max(Longest, Clock.nsecsElapsed() - Last)) / 1e6;
}

double BareLoop(const std::vector<std::string>& From, const std::vector<std::string>& To) {
  const qint64 Start = Clock.nsecsElapsed();
  struct statx Info {};
  for (size_t I = 0; I < From.size(); ++I)
    if (::statx(AT_FDCWD, From[I].c_str(), AT_SYMLINK_NOFOLLOW, STATX_BASIC_STATS, &Info) != 0 ||
        ::renameat2(AT_FDCWD, From[I].c_str(), AT_FDCWD, To[I].c_str(), RENAME_NOREPLACE) != 0 ||
        ::statx(AT_FDCWD, To[I].c_str(), AT_SYMLINK_NOFOLLOW, STATX_BASIC_STATS, &Info) != 0)
      std::abort();
  return double(Clock.nsecsElapsed() - Start) / 1e6;
}

int Run(const std::string& Given) {
  constexpr int Count = 100000;
  const std::string Dir = Given.empty() ? "/dev/shm/quorvane-window-" + std::to_string(::getpid()) : Given;
  std::filesystem::create_directories(Dir);
  std::vector<std::string> Plain, Band;
  for (int I = 0; I < Count; ++I) {
    // Built by appending: GCC 12 warns falsely about overlapping copies in " " + Text.
    std::string Tail(1, ' ');
    Tail += std::to_string(I);
    Tail += " - Song ";
    Tail += std::to_string(I % 977);
    Tail += ".mp3";
    Plain.push_back(Dir + "/Artist" + Tail);
    Band.push_back(Dir + "/Band" + Tail);
    ::close(::open(Plain.back().c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644));
  }
  TDriverDialogs Dialogs;
  Dialogs.Folder = Dir;
  TWindowMain Window(Dialogs, {});
  Window.show();
  UntilIdle(Clock.nsecsElapsed());

  qint64 Start = Clock.nsecsElapsed();
  Window.toolbuttonAddFolderClick();
  std::printf("Add Folder of %d files: %.0f ms (%d listed)\n", Count, UntilIdle(Start), Window.Grid().FileCount());

  Window.checkboxChangeFileName->setChecked(true);
  Window.textboxSearchString->setText("<*> - <*>");
  Window.textboxReplaceString->setText("<2> - <1> <zaehler>");
  Start = Clock.nsecsElapsed();
  Window.buttonPreviewClick();
  std::printf("Preview, first time: %.0f ms\n", UntilIdle(Start));
  Start = Clock.nsecsElapsed();
  Window.Grid().HeaderClick(fcFileName);
  std::printf("First sort by Filename: %.0f ms\n", UntilIdle(Start));

  const double Bare = (BareLoop(Plain, Band) + BareLoop(Band, Plain)) / 2;
  // Artist -> Band, then the suffixes: each file a new one of its own.
  const struct {
    const char *Label, *Search, *Replace;
  } Passes[] = {{"to new names", "\"Artist", "Band"}, {"to a new suffix each", ".mp3\"", ".<zaehler>"}};
  for (const auto& Pass : Passes) {
    Window.textboxSearchString->setText(Pass.Search);
    Window.textboxReplaceString->setText(Pass.Replace);
    // As a user pauses before clicking: a preview shown follows the new rules first.
    QElapsedTimer Typed;
    Typed.start();
    while (Typed.elapsed() < 300) QApplication::processEvents();
    Start = Clock.nsecsElapsed();
    Window.buttonStartClick();
    const double Prepared = double(Clock.nsecsElapsed() - Start) / 1e6;
    const double Pause = LongestPause([&] { return Window.RenamingRunning(); });
    const double Took = UntilIdle(Start);
    std::printf("Start Renaming %s: %.0f ms = %.2f x the bare loop (%.0f ms); questions and plan (the window's "
                "thread) %.0f ms, then the longest pause of the window %.1f ms\n",
                Pass.Label, Took, Took / Bare, Bare, Prepared, Pause);
  }
  Window.textboxSearchString->setText(".<*>\"");
  Window.textboxReplaceString->setText(".mp3");
  Window.buttonStartClick();
  QElapsedTimer Wait;
  Wait.start();
  while (Wait.elapsed() < 300) QApplication::processEvents();
  Start = Clock.nsecsElapsed();
  Window.buttonCancel->click();
  LongestPause([&] { return Window.buttonCancel->isVisible(); });
  const double Stopped = double(Clock.nsecsElapsed() - Start) / 1e6;
  LongestPause([&] { return Window.RenamingRunning(); });
  const double Back = UntilIdle(Start);
  std::printf("Cancel until the disk work has stopped: %.1f ms; until the result box: %.1f ms; until the window "
              "is back: %.1f ms\n",
              Stopped, double(Dialogs.LastShown - Start) / 1e6, Back);

  rusage Usage {};
  ::getrusage(RUSAGE_SELF, &Usage);
  std::printf("Peak resident memory: %.0f MB\n", double(Usage.ru_maxrss) / 1024);
  if (Given.empty()) std::filesystem::remove_all(Dir);
  return 0;
}

// Milliseconds quorvane-send takes to hand its paths over (the event loop runs meanwhile).
double Send(TCommandLine& Command) {
  const qint64 Start = Clock.nsecsElapsed();
  if (!Command.Run()) std::fprintf(stderr, "quorvane-send failed\n");
  return double(Clock.nsecsElapsed() - Start) / 1e6;
}

int HandOver() {
  constexpr int Count = 100000;
  char Template[] = "/dev/shm/qwd-XXXXXX";
  const std::string Dir = ::mkdtemp(Template);
  std::vector<std::string> Paths;
  for (int I = 0; I < Count; ++I) {
    // Short names: Linux takes at most 6 MiB of arguments, whatever the stack.
    Paths.push_back(Dir + "/" + std::to_string(I) + ".jpg");
    ::close(::open(Paths.back().c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644));
  }
  rlimit Stack{};
  ::getrlimit(RLIMIT_STACK, &Stack);
  Stack.rlim_cur = std::min<rlim_t>(Stack.rlim_max, rlim_t{256} << 20);
  ::setrlimit(RLIMIT_STACK, &Stack);
  const std::string RuntimeDir = "XDG_RUNTIME_DIR=" + Dir;
  TCommandLine All(QUORVANE_SEND_PROGRAM, Paths, RuntimeDir), One(QUORVANE_SEND_PROGRAM, {Paths.front()}, RuntimeDir);
  TDriverDialogs Dialogs;
  TWindowMainOptions Options;
  Options.SenderFolder = InstanceFolderPath(Dir, "", "");
  TWindowMain Window(Dialogs, std::move(Options));
  Window.show();
  UntilIdle(Clock.nsecsElapsed());
  const double Took = Send(All);
  const double Next = Send(One);
  std::printf("quorvane-send of %d paths: %.0f ms (%d listed); the next hand-over: %.0f ms more\n", Count, Took,
              Window.Grid().FileCount(), Next);
  std::filesystem::remove_all(Dir);
  return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
  PrepareWindowProcess();  // as the program's main() does
  Clock.start();
  const std::string Mode = argc > 1 ? argv[1] : "";
  const std::vector<std::string> Files(argv + std::min(argc, 2), argv + argc);
  int QtArgc = 1;
  QApplication Application(QtArgc, argv);
  if (Mode == "run") return Run(Files.empty() ? std::string() : Files.front());
  if (Mode == "send") return HandOver();
  if (Mode != "start") return std::fprintf(stderr, "usage: window_driver start FILE... | run [FOLDER] | send\n"), 2;
  // As the program starts: the window with the files of the command line.
  TDriverDialogs Dialogs;
  TWindowMainOptions Options;
  Options.Files = Files;
  TWindowMain Window(Dialogs, std::move(Options));
  struct TFirstPaint : QObject {
    bool eventFilter(QObject*, QEvent* Event) override {
      if (Event->type() == QEvent::Paint) {
        std::printf("%.1f\n", double(Clock.nsecsElapsed()) / 1e6);
        std::exit(0);
      }
      return false;
    }
  } FirstPaint;
  Window.installEventFilter(&FirstPaint);
  Window.show();
  return QApplication::exec();
}
