// Handing 100,000 files to a running copy in one batch, until its file list
// holds them all (the copy answers the batch's end only then): the copy's
// server and file list run on the main thread as in the program; the sender
// runs in a thread of its own (HandOver) or as the quorvane-send program,
// started anew each time (QuorvaneSend). The yardstick: quorvane-cli reading
// and previewing the same files (CliPreview). The files are real, in a folder
// under $TMPDIR (default /tmp) that is removed at the end.
#include <benchmark/benchmark.h>

#include <stdlib.h>
#include <sys/resource.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QProcess>
#include <QThread>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "Spawn.h"
#include "app/CopyData.h"
#include "app/InstanceFolder.h"
#include "app/InstanceSender.h"
#include "app/InstanceServer.h"
#include "filegrid/VirtualFileGrid.h"

namespace {

constexpr int PathCount = 100000;

// The files, and a runtime folder of our own for the socket.
class TBenchFolder {
 public:
  TBenchFolder() {
    const char* Base = std::getenv("TMPDIR");
    std::string Template = std::string(Base ? Base : "/tmp") + "/qsb-XXXXXX";
    if (!mkdtemp(Template.data())) std::abort();
    Dir = Template;
    // Short names: Linux takes at most 6 MiB of arguments, whatever the stack.
    std::filesystem::create_directory(Dir + "/f");
    for (int I = 0; I < PathCount; ++I) {
      Paths.push_back(Dir + "/f/" + std::to_string(I) + ".jpg");
      std::ofstream(Paths.back(), std::ios::binary) << I;
    }
  }
  ~TBenchFolder() { std::filesystem::remove_all(Dir); }

  std::string Dir;
  std::vector<std::string> Paths;
};

TBenchFolder& Folder() {
  static TBenchFolder Instance;
  return Instance;
}

// A running copy: a file list behind a listening server.
struct TCopy {
  TCopy() : Grid(Rows), Receiver(Grid), Server(Receiver) {
    if (!Server.Listen(InstanceFolderPath(Folder().Dir, "", ""))) std::abort();
  }
  TMemoryFileGridRows Rows;
  TVmVirtualFileGrid Grid;
  TFileGridCopyDataReceiver Receiver;
  TInstanceServer Server;
};

void Check(benchmark::State& State, const TCopy& Copy) {
  if (Copy.Grid.FileCount() != PathCount || Copy.Rows.IsUpdating()) State.SkipWithError("files went missing");
}

void BM_HandOver(benchmark::State& State) {
  TBenchFolder& Files = Folder();
  for (auto _ : State) {
    State.PauseTiming();
    TCopy Copy;
    TSendOutcome Outcome = soFailed;
    const std::string SocketFolder = InstanceFolderPath(Files.Dir, "", "");
    QThread* Sender = QThread::create([&] { Outcome = SendToRunningCopy(SocketFolder, Files.Paths).Outcome; });
    QEventLoop Loop;
    QObject::connect(Sender, &QThread::finished, &Loop, &QEventLoop::quit);
    State.ResumeTiming();
    Sender->start();
    Loop.exec();
    State.PauseTiming();
    delete Sender;
    if (Outcome != soSent) State.SkipWithError("not sent");
    Check(State, Copy);
    State.ResumeTiming();
  }
  State.SetItemsProcessed(State.iterations() * PathCount);
}
BENCHMARK(BM_HandOver)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_QuorvaneSend(benchmark::State& State) {
  TBenchFolder& Files = Folder();
  // quorvane-send finds the running copies through the runtime folder it is given.
  TCommandLine Send(QUORVANE_SEND_PROGRAM, Files.Paths, "XDG_RUNTIME_DIR=" + Files.Dir);
  for (auto _ : State) {
    State.PauseTiming();
    TCopy Copy;
    State.ResumeTiming();
    const bool Sent = Send.Run();
    State.PauseTiming();
    if (!Sent) State.SkipWithError("quorvane-send failed");
    Check(State, Copy);
    State.ResumeTiming();
  }
  State.SetItemsProcessed(State.iterations() * PathCount);
}
BENCHMARK(BM_QuorvaneSend)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_CliPreview(benchmark::State& State) {
  TBenchFolder& Files = Folder();
  const std::string List = Files.Dir + "/paths";
  {
    std::ofstream Out(List);
    for (const std::string& Path : Files.Paths) Out << Path << '\n';
  }
  const QStringList Args = {"--search", ".jpg", "--replace", ".jpeg", "--files-from", QString::fromStdString(List)};
  for (auto _ : State) {
    QProcess Cli;
    Cli.setStandardOutputFile(QProcess::nullDevice());
    Cli.start(QStringLiteral(QUORVANE_CLI_PROGRAM), Args);
    if (!Cli.waitForFinished(60000) || Cli.exitCode() != 0) State.SkipWithError("quorvane-cli failed");
  }
  State.SetItemsProcessed(State.iterations() * PathCount);
}
BENCHMARK(BM_CliPreview)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
  // 100,000 paths on quorvane-send's command line need more room for
  // arguments than a quarter of an 8 MiB stack.
  rlimit Stack{};
  ::getrlimit(RLIMIT_STACK, &Stack);
  Stack.rlim_cur = std::min<rlim_t>(Stack.rlim_max, rlim_t{256} << 20);
  ::setrlimit(RLIMIT_STACK, &Stack);
  QCoreApplication Application(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
