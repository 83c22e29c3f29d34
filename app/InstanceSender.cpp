#include "app/InstanceSender.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QLocalSocket>
#include <QStandardPaths>

#include <algorithm>
#include <cstring>

#include "app/CopyData.h"
#include "app/InstanceFolder.h"
#include "base/Translation.h"

extern char** environ;

namespace {

enum TSendStep { ssNotConnected, ssRefused, ssDone, ssBroken };

bool IsExecutableFile(const std::string& Path) {
  struct stat Info {};
  return ::stat(Path.c_str(), &Info) == 0 && S_ISREG(Info.st_mode) && ::access(Path.c_str(), X_OK) == 0;
}

// Messages sent ahead of their answers. The receiver stops reading while
// 64 KiB of answers (16,384) wait for us, so the window stays well below that.
constexpr size_t MaxUnanswered = 4096;
// Bytes handed to the socket at a time.
constexpr size_t WriteChunk = 64 * 1024;

// Waits until at least one more answer has come and takes every complete
// one. False when the connection broke, no answer came in time, or one was
// not a 0.
bool TakeAnswers(QLocalSocket& Socket, size_t& Answered, int TimeoutMs) {
  // Waiting for answers also writes out what the socket still holds.
  while (Socket.bytesAvailable() < static_cast<qint64>(CopyDataAnswerSize))
    if (!Socket.waitForReadyRead(TimeoutMs)) return false;
  const qint64 Count = Socket.bytesAvailable() / static_cast<qint64>(CopyDataAnswerSize);
  const QByteArray Answers = Socket.read(Count * static_cast<qint64>(CopyDataAnswerSize));
  if (Answers.count('\0') != Answers.size()) return false;
  Answered += static_cast<size_t>(Count);
  return true;
}

// One attempt at the copy behind SocketPath: the whole batch streamed, at
// most MaxUnanswered messages ahead of the answers.
TSendStep SendTo(const std::string& SocketPath, const std::vector<std::string>& Paths, int TimeoutMs,
                 std::string& Error) {
  QLocalSocket Socket;
  Socket.connectToServer(QFile::decodeName(SocketPath.c_str()));
  if (!Socket.waitForConnected(TimeoutMs))
    return Socket.error() == QLocalSocket::ConnectionRefusedError ? ssRefused : ssNotConnected;
  // Message 0 begins the batch, message i carries Paths[i - 1], the last one ends it.
  const size_t Total = Paths.size() + 2;
  const auto Message = [&](size_t I) {
    if (I == 0) return EncodeCopyDataMessage(cdBeginBatch);
    return I < Total - 1 ? EncodeCopyDataPath(Paths[I - 1]) : EncodeCopyDataMessage(cdEndBatch);
  };
  size_t Sent = 0, Answered = 0;
  std::string Out;
  while (Answered < Total) {
    while (Sent < Total && Sent - Answered < MaxUnanswered) {
      Out.clear();
      while (Sent < Total && Sent - Answered < MaxUnanswered && Out.size() < WriteChunk) Out += Message(Sent++);
      if (Socket.write(Out.data(), static_cast<qint64>(Out.size())) != static_cast<qint64>(Out.size())) break;
    }
    Socket.flush();
    if (TakeAnswers(Socket, Answered, TimeoutMs)) continue;
    // A copy that answers nothing at all is passed over; one that took part
    // of the batch may hold some of the files.
    if (Answered == 0) return ssNotConnected;
    const std::string Why = Socket.errorString().toStdString();
    Error = Answered < Total - 1
                ? Filled(Tr("Instance", "the running copy (%1) did not take \"%2\": %3"),
                         {SocketPath, Paths[Answered - 1], Why})
                : Filled(Tr("Instance", "the running copy (%1) did not end the batch: %2"), {SocketPath, Why});
    return ssBroken;
  }
  Socket.disconnectFromServer();
  return ssDone;
}

}  // namespace

TSendResult SendToRunningCopy(const std::string& Folder, const std::vector<std::string>& Paths,
                              std::chrono::milliseconds AnswerTimeout) {
  for (const std::string& Path : Paths)
    if (Path.size() >= CopyDataMaxSize)
      return {soFailed, Filled(Tr("Instance", "the path \"%1...\" is too long"), {Path.substr(0, 100)})};
  struct stat Info {};
  if (::lstat(Folder.c_str(), &Info) != 0) return {soNoCopyRunning, {}};
  TSendResult Result;
  if (!CheckInstanceFolder(Folder, false, Result.Error)) return Result;
  const int TimeoutMs = static_cast<int>(AnswerTimeout.count());
  for (const std::string& SocketPath : InstanceSockets(Folder)) {
    switch (SendTo(SocketPath, Paths, TimeoutMs, Result.Error)) {
      case ssDone:
        return {soSent, {}};
      case ssBroken:
        return Result;
      case ssRefused:
        // Nobody listens: the copy that made it has crashed.
        ::unlink(SocketPath.c_str());
        break;
      case ssNotConnected:
        break;
    }
  }
  return {soNoCopyRunning, {}};
}

std::string AbsolutePath(std::string_view Path, std::string_view CurrentFolder) {
  std::string Joined;
  if (!Path.starts_with('/')) {
    Joined = CurrentFolder;
    Joined += '/';
  }
  Joined += Path;
  std::string Result;
  size_t Pos = 0;
  while (Pos < Joined.size()) {
    const size_t End = std::min(Joined.find('/', Pos), Joined.size());
    const std::string_view Part = std::string_view(Joined).substr(Pos, End - Pos);
    if (!Part.empty() && Part != ".") {
      Result += '/';
      Result += Part;
    }
    Pos = End + 1;
  }
  // A trailing slash (or "/.") says the path is a folder: keep saying so.
  const bool Folder = Joined.ends_with('/') || Joined.ends_with("/.");
  if (Result.empty() || Folder) Result += '/';
  return Result;
}

std::string FindProgram(const std::string& OwnFolder) {
  const std::string Beside = OwnFolder + "/quorvane";
  if (IsExecutableFile(Beside)) return Beside;
  return QFile::encodeName(QStandardPaths::findExecutable(QStringLiteral("quorvane"))).toStdString();
}

bool StartDetached(const std::string& Program, const std::vector<std::string>& Args, std::string& Error) {
  // Arguments go over as bytes: file names need not be valid text.
  std::vector<char*> Argv;
  Argv.push_back(const_cast<char*>(Program.c_str()));
  for (const std::string& Arg : Args) Argv.push_back(const_cast<char*>(Arg.c_str()));
  Argv.push_back(nullptr);

  posix_spawnattr_t Attributes;
  posix_spawnattr_init(&Attributes);
  // A session of its own: the program outlives this one and its terminal.
  posix_spawnattr_setflags(&Attributes, POSIX_SPAWN_SETSID);
  posix_spawn_file_actions_t Actions;
  posix_spawn_file_actions_init(&Actions);
  posix_spawn_file_actions_addopen(&Actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  pid_t Child = 0;
  const int Status = ::posix_spawn(&Child, Program.c_str(), &Actions, &Attributes, Argv.data(), environ);
  posix_spawn_file_actions_destroy(&Actions);
  posix_spawnattr_destroy(&Attributes);
  if (Status != 0) {
    Error = Filled(Tr("Instance", "cannot start \"%1\": %2"), {Program, std::strerror(Status)});
    return false;
  }
  return true;
}
