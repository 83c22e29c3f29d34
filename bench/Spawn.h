// Running a program from a benchmark as a shell would: its arguments and
// environment are made before the clock starts, so that the time is the
// program's own and not the conversion of 100,000 arguments.
#pragma once

#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QSocketNotifier>

#include <string>
#include <string_view>
#include <vector>

class TCommandLine {
 public:
  // Program with Args; the environment is ours with Variable (a "NAME=value") set.
  TCommandLine(const std::string& Program, const std::vector<std::string>& Args, const std::string& Variable) {
    FTexts.reserve(Args.size() + 2);  // no reallocation: the pointers below stay valid
    FTexts.push_back(Program);
    FTexts.insert(FTexts.end(), Args.begin(), Args.end());
    for (std::string& Text : FTexts) FArgv.push_back(Text.data());
    FArgv.push_back(nullptr);
    FTexts.push_back(Variable);
    FEnvp.push_back(FTexts.back().data());
    const std::string_view Name = std::string_view(Variable).substr(0, Variable.find('=') + 1);
    for (char** Existing = environ; *Existing; ++Existing)
      if (!std::string_view(*Existing).starts_with(Name)) FEnvp.push_back(*Existing);
    FEnvp.push_back(nullptr);
  }

  // Runs the program while the event loop turns; whether it exited with 0.
  bool Run() {
    pid_t Pid = 0;
    if (::posix_spawn(&Pid, FArgv[0], nullptr, nullptr, FArgv.data(), FEnvp.data()) != 0) return false;
    // The process handle becomes readable when the program ends: the loop
    // sleeps until then. Without one, the loop turns and asks.
    int Status = 0;
    const int Handle = static_cast<int>(::syscall(SYS_pidfd_open, Pid, 0));
    if (Handle >= 0) {
      QEventLoop Loop;
      QSocketNotifier Ended(Handle, QSocketNotifier::Read);
      QObject::connect(&Ended, &QSocketNotifier::activated, &Loop, &QEventLoop::quit);
      Loop.exec();
      ::close(Handle);
      ::waitpid(Pid, &Status, 0);
    } else {
      while (::waitpid(Pid, &Status, WNOHANG) == 0) QCoreApplication::processEvents();
    }
    return WIFEXITED(Status) && WEXITSTATUS(Status) == 0;
  }

 private:
  std::vector<std::string> FTexts;
  std::vector<char*> FArgv, FEnvp;
};
