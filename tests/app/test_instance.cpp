// The local socket server with a real file list behind it, real clients,
// and the quorvane-send program. Each test has a runtime folder of its own.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QTimer>
#include <QThread>
#include <QCoreApplication>
#include <QFile>
#include <QFileSystemWatcher>
#include <QLocalSocket>
#include <QProcess>

#include <fstream>

#include "app/CopyData.h"
#include "app/InstanceFolder.h"
#include "app/InstanceSender.h"
#include "app/InstanceServer.h"
#include "filegrid/VirtualFileGrid.h"
#include "support/TempDir.h"
#include "support/WaitFor.h"

namespace {

// Sockets need an application and its event loop.
void EnsureApplication() {
  static int Argc = 1;
  static char Name[] = "instance_tests";
  static char* Argv[] = {Name, nullptr};
  static QCoreApplication* Application = new QCoreApplication(Argc, Argv);
  (void)Application;
}

std::string Begin() { return EncodeCopyDataMessage(cdBeginBatch); }
std::string End() { return EncodeCopyDataMessage(cdEndBatch); }

// A sender written by hand, so that it can misbehave.
class TClient {
 public:
  explicit TClient(const std::string& SocketPath) {
    FSocket.connectToServer(QString::fromStdString(SocketPath));
    EXPECT_TRUE(FSocket.waitForConnected(5000));
  }
  void Write(const std::string& Bytes) {
    FSocket.write(Bytes.data(), static_cast<qint64>(Bytes.size()));
    FSocket.flush();
  }
  // Sends Bytes and waits for Answers answers, each a 32-bit 0.
  bool Send(const std::string& Bytes, int Answers) {
    Write(Bytes);
    const qint64 Expected = Answers * static_cast<qint64>(CopyDataAnswerSize);
    if (!WaitFor([&] { return FSocket.bytesAvailable() >= Expected; })) return false;
    return FSocket.readAll() == QByteArray(Expected, '\0');
  }
  bool WaitUntilClosed() {
    return WaitFor([&] { return FSocket.state() == QLocalSocket::UnconnectedState; });
  }
  QLocalSocket FSocket;
};

// A running copy as the main window is one: a file list behind a server.
struct TCopy {
  explicit TCopy(const std::string& Folder) : Grid(Rows), Receiver(Grid), Server(Receiver) {
    EXPECT_TRUE(Server.Listen(Folder)) << Server.ErrorString();
  }
  std::vector<std::string> FileNames() const {
    std::vector<std::string> Names;
    for (int I = 0; I < Grid.FileCount(); ++I) Names.push_back(Grid.GetFileName(I));
    return Names;
  }
  TMemoryFileGridRows Rows;
  TVmVirtualFileGrid Grid;
  TFileGridCopyDataReceiver Receiver;
  TInstanceServer Server;
};

struct TRun {
  int ExitCode = -1;
  std::string Error;
};

// Runs Program (a quorvane-send) in Folder with Environment and keeps the event loop going meanwhile.
TRun RunSend(const QStringList& Args, const QProcessEnvironment& Environment, const QString& Folder = {},
             const QString& Program = QStringLiteral(QUORVANE_SEND_PROGRAM)) {
  QProcess Process;
  Process.setWorkingDirectory(Folder);
  Process.setProcessEnvironment(Environment);
  Process.start(Program, Args);
  TRun Run;
  if (!Process.waitForStarted(10000) ||
      !WaitFor([&] { return Process.state() == QProcess::NotRunning; }, 30000))
    return Run;
  Run.ExitCode = Process.exitStatus() == QProcess::NormalExit ? Process.exitCode() : -1;
  Run.Error = Process.readAllStandardError().toStdString();
  return Run;
}

// A socket file with nobody listening, as a crashed copy leaves it.
void MakeStaleSocket(const std::string& Path) {
  const int Fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un Address{};
  Address.sun_family = AF_UNIX;
  Path.copy(Address.sun_path, sizeof Address.sun_path - 1);
  ASSERT_EQ(::bind(Fd, reinterpret_cast<sockaddr*>(&Address), sizeof Address), 0);
  ::close(Fd);
}

bool Exists(const std::string& Path) {
  struct stat Info {};
  return ::lstat(Path.c_str(), &Info) == 0;
}

class Instance : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureApplication();
    Environment.insert("XDG_RUNTIME_DIR", QString::fromStdString(Runtime.Path));
  }

  std::string MakeFile(const std::string& Name) { return Files.Make(Name); }
  std::string Folder() const { return InstanceFolderPath(Runtime.Path, "", ""); }

  TTempDir Runtime;
  TTempDir Files;
  // What quorvane-send runs with: the runtime folder above.
  QProcessEnvironment Environment = QProcessEnvironment::systemEnvironment();
};

}  // namespace

// Each case breaks one connection while another holds a batch open: the
// server closes the broken one, its own batch ends, and the other goes on.
TEST_F(Instance, ABrokenConnectionIsClosedAndEndsOnlyItsOwnBatch) {
  const std::string A = MakeFile("a"), B = MakeFile("b"), C = MakeFile("c");
  const std::pair<const char*, std::string> Cases[] = {
      {"oversized message", Begin() + EncodeCopyDataPath(A) + EncodeCopyDataMessage(16, std::string(65537, 'x'))},
      {"sender stalls inside a message", Begin() + EncodeCopyDataPath(A) + EncodeCopyDataPath(B).substr(0, 3)},
  };
  for (const auto& [Name, Bytes] : Cases) {
    SCOPED_TRACE(Name);
    TCopy Copy(Folder());
    Copy.Server.SetStallTimeout(std::chrono::milliseconds(300));
    TClient Good(Copy.Server.SocketPath());
    ASSERT_TRUE(Good.Send(Begin(), 1));
    {
      TClient Bad(Copy.Server.SocketPath());
      Bad.Write(Bytes);
      // The good sender keeps talking, so that only the bad one stalls.
      for (int Round = 0; Bad.FSocket.state() != QLocalSocket::UnconnectedState; ++Round)
        ASSERT_TRUE(Round < 100000 && Good.Send(EncodeCopyDataMessage(0), 1));
      ASSERT_TRUE(WaitFor([&] { return Copy.Server.ConnectionCount() == 1; }));
    }
    // Nothing shows while the good sender's batch is still open.
    EXPECT_EQ(Copy.Grid.FileCount(), 0);
    ASSERT_TRUE(Good.Send(EncodeCopyDataPath(C), 1));
    ASSERT_TRUE(Good.Send(End(), 1));
    EXPECT_FALSE(Copy.Rows.IsUpdating());
    EXPECT_EQ(Copy.FileNames(), (std::vector<std::string>{A, C}));
  }
}

TEST_F(Instance, BatchesEndWhenASenderLeavesWithoutWaitingOrMidBatchAndWhenTheServerCloses) {
  TCopy Copy(Folder());
  const std::string A = MakeFile("a"), B = MakeFile("b");
  {
    TClient Client(Copy.Server.SocketPath());
    Client.Write(Begin() + EncodeCopyDataPath(A) + EncodeCopyDataPath(B) + End());
    Client.FSocket.disconnectFromServer();
  }
  ASSERT_TRUE(WaitFor([&] { return Copy.Server.ConnectionCount() == 0 && Copy.Grid.FileCount() == 2; }));
  {
    TClient Gone(Copy.Server.SocketPath());
    Gone.Write(Begin() + EncodeCopyDataPath(A));
    ASSERT_TRUE(WaitFor([&] { return Copy.Receiver.WaitingCount() == 1; }));
    Gone.FSocket.abort();
  }
  ASSERT_TRUE(WaitFor([&] { return Copy.Server.ConnectionCount() == 0 && Copy.Grid.FileCount() == 3; }));
  EXPECT_FALSE(Copy.Rows.IsUpdating());
  TClient Client(Copy.Server.SocketPath());
  Client.Write(Begin() + EncodeCopyDataPath(A));
  ASSERT_TRUE(WaitFor([&] { return Client.FSocket.bytesAvailable() == 8; }));
  EXPECT_EQ(Copy.Grid.FileCount(), 3);
  Copy.Server.Close();
  EXPECT_EQ(Copy.Grid.FileCount(), 4);
  EXPECT_FALSE(Exists(Copy.Server.SocketPath()));
  EXPECT_TRUE(Client.WaitUntilClosed());
}

// More files than the sender sends ahead of their answers, while the copy is
// busy (a pass holds its files): all arrive in order once it is free again.
TEST_F(Instance, AStreamedBatchArrivesWholeAndInOrderWithoutMissingFilesAlsoWhileTheCopyIsBusy) {
  TCopy Copy(Folder());
  std::vector<std::string> Paths;
  for (int I = 0; I < 4500; ++I) Paths.push_back(MakeFile(std::to_string(I) + ".txt"));
  Paths.insert(Paths.begin() + 3000, Paths.front() + ".gone");  // not found: left out
  Copy.Receiver.SetHeld(true);
  TSendOutcome Outcome = soFailed;
  std::unique_ptr<QThread> Sender(QThread::create([&] { Outcome = SendToRunningCopy(Folder(), Paths).Outcome; }));
  Sender->start();
  ASSERT_TRUE(WaitFor([&] { return Sender->isFinished(); }, 60000));
  EXPECT_EQ(Outcome, soSent);
  EXPECT_EQ(Copy.Grid.FileCount(), 0);
  Copy.Receiver.SetHeld(false);
  Paths.erase(Paths.begin() + 3000);
  EXPECT_EQ(Copy.FileNames(), Paths);
}

TEST_F(Instance, TheSocketIsForThisUserOnlyAndGoesWithTheCopy) {
  std::string SocketPath;
  {
    TCopy Copy(Folder());
    SocketPath = Copy.Server.SocketPath();
    struct stat Info {};
    ASSERT_EQ(::lstat(SocketPath.c_str(), &Info), 0);
    EXPECT_TRUE(S_ISSOCK(Info.st_mode));
    EXPECT_EQ(Info.st_mode & 0777, 0600u);
    ASSERT_EQ(::lstat(Folder().c_str(), &Info), 0);
    EXPECT_EQ(Info.st_mode & 0777, 0700u);
    EXPECT_EQ(InstanceSockets(Folder()), std::vector<std::string>{SocketPath});
  }
  EXPECT_FALSE(Exists(SocketPath));
  EXPECT_TRUE(InstanceSockets(Folder()).empty());
}

TEST_F(Instance, TheFolderComesFromXdgRuntimeDirElseIsMadePrivateUnderTheUsersCacheHome) {
  struct Case { const char *Runtime, *Cache, *Home; std::string Folder; } Cases[] = {
      {"/run/user/7", "/c", "/h", "/run/user/7/quorvane"}, {"relative/dir", "/c", "/h", "/c/Velmora/Quorvane"},
      {"", "cache", "/h", "/h/.cache/Velmora/Quorvane"}, {"", "", "home", "/tmp/quorvane-" + std::to_string(::getuid())}};
  for (const Case& C : Cases) EXPECT_EQ(InstanceFolderPath(C.Runtime, C.Cache, C.Home), C.Folder) << C.Folder;
  TCopy Copy(InstanceFolderPath("", "", Runtime / "home"));  // the missing levels are made, private
  struct stat Info {};
  for (const char* Level : {"home/.cache", "home/.cache/Velmora/Quorvane"}) {
    ASSERT_EQ(::lstat((Runtime / Level).c_str(), &Info), 0);
    EXPECT_EQ(Info.st_mode & 0777, 0700u) << Level;
  }
}

// A connection that comes when the process has no descriptor left is
// refused, and the server still takes the next one.
TEST_F(Instance, RunningOutOfDescriptorsRefusesTheConnectionAndListeningGoesOn) {
  TCopy Copy(Folder());
  // One connection first, so that the sanitizers have checked the code on
  // the way (their checks need descriptors of their own).
  TClient Before(Copy.Server.SocketPath());
  ASSERT_TRUE(Before.Send(Begin() + End(), 2));
  const int Client = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_un Address{};
  Address.sun_family = AF_UNIX;
  Copy.Server.SocketPath().copy(Address.sun_path, sizeof Address.sun_path - 1);
  ASSERT_EQ(::connect(Client, reinterpret_cast<sockaddr*>(&Address), sizeof Address), 0);
  rlimit Saved {};
  ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &Saved), 0);
  rlimit Exhausted = Saved;
  Exhausted.rlim_cur = static_cast<rlim_t>(::dup(Client));  // every lower descriptor is taken
  ::close(static_cast<int>(Exhausted.rlim_cur));
  ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &Exhausted), 0);
  const bool Refused = WaitFor([&] { char Byte; return ::recv(Client, &Byte, 1, MSG_DONTWAIT) == 0; }, 5000);
  ::setrlimit(RLIMIT_NOFILE, &Saved);
  ::close(Client);
  EXPECT_TRUE(Refused);
  TClient After(Copy.Server.SocketPath());
  EXPECT_TRUE(After.Send(Begin() + End(), 2));
}

TEST_F(Instance, AFolderOthersCouldReachIsRefused) {
  std::string Error;
  const std::string Fresh = Runtime / "fresh";
  EXPECT_FALSE(CheckInstanceFolder(Fresh, false, Error));
  ASSERT_TRUE(CheckInstanceFolder(Fresh, true, Error)) << Error;
  ASSERT_EQ(::mkdir((Runtime / "open").c_str(), 0700), 0);
  ::chmod((Runtime / "open").c_str(), 0755);
  ASSERT_EQ(::symlink(Fresh.c_str(), (Runtime / "link").c_str()), 0);
  std::ofstream(Runtime / "file") << "x";
  ASSERT_EQ(::mkdir((Runtime / "other").c_str(), 0700), 0);
  const bool CanGiveAway = ::chown((Runtime / "other").c_str(), 12345, 12345) == 0;  // root only
  const std::pair<std::string, std::string> Cases[] = {
      {"open", "other users can reach it (mode 0755)"}, {"link", "it is a symbolic link"},
      {"file", "it is not a folder"}, {"other", "it belongs to user 12345"}};
  for (const auto& [Name, Why] : Cases) {
    if (Name == "other" && !CanGiveAway) continue;
    SCOPED_TRACE(Name);
    EXPECT_FALSE(CheckInstanceFolder(Runtime / Name, true, Error));
    EXPECT_EQ(Error, "The folder \"" + Runtime / Name + "\" is not safe for handing over files: " + Why + ".");
  }

  // Neither end uses such a folder.
  ASSERT_EQ(::mkdir(Folder().c_str(), 0777), 0);
  ::chmod(Folder().c_str(), 0777);
  TMemoryFileGridRows Rows;
  TVmVirtualFileGrid Grid(Rows);
  TFileGridCopyDataReceiver Receiver(Grid);
  TInstanceServer Server(Receiver);
  EXPECT_FALSE(Server.Listen(Folder()));
  EXPECT_NE(Server.ErrorString().find("mode 0777"), std::string::npos) << Server.ErrorString();
  const TRun Run = RunSend({"/x"}, Environment);
  EXPECT_EQ(Run.ExitCode, 1);
  EXPECT_NE(Run.Error.find("is not safe for handing over files"), std::string::npos) << Run.Error;
}

TEST_F(Instance, QuorvaneSendHandsFilesToTheNewestLiveCopyAndRemovesStaleSockets) {
  TCopy Older(Folder());
  TCopy Newer(Folder());
  // A crashed copy's socket that sorts after both.
  const std::string Stale = Folder() + "/quorvane-99999999999999999999-1";
  MakeStaleSocket(Stale);
  const std::string A = MakeFile("a"), B = MakeFile("b");
  TRun Run = RunSend({"a", "./b"}, Environment, QString::fromStdString(Files.Path));
  EXPECT_EQ(Run.ExitCode, 0) << Run.Error;
  EXPECT_EQ(Newer.FileNames(), (std::vector<std::string>{A, B}));
  EXPECT_EQ(Older.Grid.FileCount(), 0);
  EXPECT_FALSE(Newer.Rows.IsUpdating());
  EXPECT_FALSE(Exists(Stale));

  Newer.Server.Close();
  Run = RunSend({QString::fromStdString(A)}, Environment);
  EXPECT_EQ(Run.ExitCode, 0) << Run.Error;
  EXPECT_EQ(Older.FileNames(), std::vector<std::string>{A});
}

TEST_F(Instance, QuorvaneSendStartsTheProgramBesideItWhenNoCopyRuns) {
  // quorvane-send copied beside a stand-in program that writes down its arguments.
  TTempDir Bin;
  ASSERT_TRUE(QFile::copy(QStringLiteral(QUORVANE_SEND_PROGRAM), QString::fromStdString(Bin / "quorvane-send")));
  const QString Send = QString::fromStdString(Bin / "quorvane-send");
  ::chmod((Bin / "quorvane-send").c_str(), 0755);
  Environment.insert("PATH", QString::fromStdString(Bin.Path));
  const QString Here = QString::fromStdString(Files.Path);

  TRun Run = RunSend({QString(70000, 'a')}, Environment, Here, Send);
  EXPECT_EQ(Run.ExitCode, 1);
  EXPECT_NE(Run.Error.find("is too long"), std::string::npos) << Run.Error;

  std::ofstream(Bin / "quorvane")
      << "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$0.tmp\" && /bin/mv \"$0.tmp\" \"$0.args\"\n";
  ::chmod((Bin / "quorvane").c_str(), 0755);
  ASSERT_TRUE(CheckInstanceFolder(Folder(), true, Run.Error));
  const std::string Stale = Folder() + "/quorvane-00000000000000000001-1";
  MakeStaleSocket(Stale);
  // The stand-in writes its arguments file whole, by a rename, and the
  // folder's watcher wakes the wait for it.
  QFileSystemWatcher Watcher({QString::fromStdString(Bin.Path)});
  Run = RunSend({"a b", "", "sub/../c", "/abs/d"}, Environment, Here, Send);
  EXPECT_EQ(Run.ExitCode, 0) << Run.Error;
  ASSERT_TRUE(WaitFor([&] { return Exists(Bin / "quorvane.args"); }));
  EXPECT_EQ(ReadFile(Bin / "quorvane.args"), Files / "a b" + "\n" + Files / "sub/../c" + "\n/abs/d\n");
  EXPECT_FALSE(Exists(Stale));
}

TEST(InstanceSender, PathsAreMadeAbsoluteWithoutDotParts) {
  const std::pair<std::string, std::string> Cases[] = {
      {"a.jpg", "/home/u/a.jpg"},        {"./a.jpg", "/home/u/a.jpg"},   {"x//y/./z", "/home/u/x/y/z"},
      {"../a", "/home/u/../a"},          {"/abs/./b", "/abs/b"},         {"dir/", "/home/u/dir/"},
      {".", "/home/u/"},                 {"/", "/"},                     {"\xff\xfe", "/home/u/\xff\xfe"},
  };
  for (const auto& [Path, Expected] : Cases) {
    SCOPED_TRACE(Path);
    EXPECT_EQ(AbsolutePath(Path, "/home/u"), Expected);
  }
  EXPECT_EQ(AbsolutePath("a", "/"), "/a");
}
