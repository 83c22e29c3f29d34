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

extern char** environ;

namespace {

enum TSendStep { ssNotConnected, ssRefused, ssDone, ssBroken };

bool IsExecutableFile(const std::string& Path) {
  struct stat Info {};
  return ::stat(Path.c_str(), &Info) == 0 && S_ISREG(Info.st_mode) && ::access(Path.c_str(), X_OK) == 0;
}

// Sends Message and waits for its 32-bit answer.
bool Exchange(QLocalSocket& Socket, const std::string& Message, int TimeoutMs) {
  if (Socket.write(Message.data(), static_cast<qint64>(Message.size())) != static_cast<qint64>(Message.size()))
    return false;
  Socket.flush();
  while (Socket.bytesAvailable() < static_cast<qint64>(CopyDataAnswerSize))
    if (!Socket.waitForReadyRead(TimeoutMs)) return false;
  char Answer[CopyDataAnswerSize];
  Socket.read(Answer, sizeof Answer);
  return std::memcmp(Answer, "\0\0\0\0", sizeof Answer) == 0;
}

// One attempt at the copy behind SocketPath.
TSendStep SendTo(const std::string& SocketPath, const std::vector<std::string>& Paths, int TimeoutMs,
                 std::string& Error) {
  QLocalSocket Socket;
  Socket.connectToServer(QFile::decodeName(SocketPath.c_str()));
  if (!Socket.waitForConnected(TimeoutMs))
    return Socket.error() == QLocalSocket::ConnectionRefusedError ? ssRefused : ssNotConnected;
  if (!Exchange(Socket, EncodeCopyDataMessage(cdBeginBatch), TimeoutMs)) return ssNotConnected;
  for (const std::string& Path : Paths) {
    if (!Exchange(Socket, EncodeCopyDataPath(Path), TimeoutMs)) {
      Error = "the running copy (" + SocketPath + ") did not take \"" + Path +
              "\": " + Socket.errorString().toStdString();
      return ssBroken;
    }
  }
  if (!Exchange(Socket, EncodeCopyDataMessage(cdEndBatch), TimeoutMs)) {
    Error = "the running copy (" + SocketPath + ") did not end the batch: " + Socket.errorString().toStdString();
    return ssBroken;
  }
  Socket.disconnectFromServer();
  return ssDone;
}

}  // namespace

TSendResult SendToRunningCopy(const std::string& Folder, const std::vector<std::string>& Paths,
                              std::chrono::milliseconds AnswerTimeout) {
  for (const std::string& Path : Paths)
    if (Path.size() >= CopyDataMaxSize) return {soFailed, "the path \"" + Path.substr(0, 100) + "...\" is too long"};
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
    Error = "cannot start \"" + Program + "\": " + std::strerror(Status);
    return false;
  }
  return true;
}
