#include "app/InstanceServer.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QLocalSocket>
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <cstring>
#include <string_view>

#include "app/CopyData.h"
#include "app/InstanceFolder.h"
#include "base/Translation.h"

namespace {

// Bytes taken from a socket at a time, and the most Qt buffers for us.
constexpr qint64 ReadChunk = 64 * 1024;
// Answers waiting for a sender that does not read them: reading stops
// until they have gone out, so such a sender cannot make us buffer without end.
constexpr qint64 MaxWaitingAnswerBytes = 64 * 1024;

}  // namespace

// One sender's connection. It lives until the sender goes, its stream turns
// out broken, or it stays silent too long; then it ends its open batches.
class TInstanceConnection : public QObject {
 public:
  TInstanceConnection(TInstanceServer& Server, QLocalSocket* Socket)
      : QObject(&Server), FServer(Server), FSocket(Socket), FSession(Server.FReceiver) {
    FSocket->setParent(this);
    FSocket->setReadBufferSize(ReadChunk);
    FStall.setSingleShot(true);
    FStall.setInterval(Server.FStallTimeout);
    connect(FSocket, &QLocalSocket::readyRead, this, &TInstanceConnection::Read);
    connect(FSocket, &QLocalSocket::bytesWritten, this, &TInstanceConnection::Read);
    connect(FSocket, &QLocalSocket::disconnected, this, &TInstanceConnection::PeerGone);
    connect(&FStall, &QTimer::timeout, this, &TInstanceConnection::Stalled);
    FStall.start();
  }
  // No calls back from the socket while it goes down with us.
  ~TInstanceConnection() override { FSocket->disconnect(this); }

  // Handles the messages that have arrived.
  void Read() {
    if (FFinished) return;
    while (!FSession.Failed() && FSocket->bytesAvailable() > 0 &&
           (FPeerGone || FSocket->bytesToWrite() < MaxWaitingAnswerBytes)) {
      const QByteArray Chunk = FSocket->read(ReadChunk);
      const size_t Answers = FSession.Feed(std::string_view(Chunk.constData(), static_cast<size_t>(Chunk.size())));
      if (Answers > 0 && !FPeerGone)
        FSocket->write(QByteArray(static_cast<qsizetype>(Answers * CopyDataAnswerSize), '\0'));
    }
    if (FPeerGone || FSession.Failed())
      Finish();
    else
      FStall.start();
  }

  // Ends the connection now; the batches it left open are ended.
  void Finish() {
    if (FFinished) return;
    FFinished = true;
    FStall.stop();
    FSocket->disconnect(this);
    FSocket->abort();
    FSession.Close();
    FServer.Forget(this);
    deleteLater();
    emit FServer.ConnectionClosed();
  }

 private:
  // What the sender wrote before it went is still handled (unanswered).
  void PeerGone() {
    FPeerGone = true;
    Read();
  }

  void Stalled() {
    if (FFinished) return;
    // The timer may have come due while the event loop was busy elsewhere;
    // bytes that have arrived meanwhile are progress, not a stall.
    if (FSocket->bytesAvailable() == 0 && FSocket->state() == QLocalSocket::ConnectedState &&
        FSocket->waitForReadyRead(0))
      return;
    Finish();
  }

  TInstanceServer& FServer;
  QLocalSocket* FSocket;
  TCopyDataSession FSession;
  QTimer FStall;
  bool FPeerGone = false;
  bool FFinished = false;
};

TInstanceServer::TInstanceServer(TCopyDataReceiver& Receiver, QObject* Parent)
    : QObject(Parent), FReceiver(Receiver) {}

TInstanceServer::~TInstanceServer() {
  StopListening();
  RemoveSocketFile();
}

bool TInstanceServer::Listen(const std::string& Folder) {
  FErrorString.clear();
  if (IsListening()) return true;
  if (!CheckInstanceFolder(Folder, true, FErrorString)) return false;
  const std::string Name = NewInstanceSocketName();
  const std::string Path = Folder + "/" + Name;
  // The socket is made under a name senders do not look at and moved into
  // place once it listens and only this user may use it: a sender never
  // meets a socket that refuses it because it is still being set up, and
  // takes it for one left behind by a crashed copy.
  const std::string Temporary = Folder + "/.new-" + Name;
  sockaddr_un Address{};
  Address.sun_family = AF_UNIX;
  const char* Failed = nullptr;
  if (Temporary.size() >= sizeof Address.sun_path) {
    errno = ENAMETOOLONG;
    Failed = QT_TRANSLATE_NOOP("Instance", "Cannot listen on the socket \"%1\": %2");
  } else {
    Temporary.copy(Address.sun_path, sizeof Address.sun_path - 1);
    FListenFd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (FListenFd < 0 || ::bind(FListenFd, reinterpret_cast<sockaddr*>(&Address), sizeof Address) != 0 ||
        ::listen(FListenFd, SOMAXCONN) != 0)
      Failed = QT_TRANSLATE_NOOP("Instance", "Cannot listen on the socket \"%1\": %2");
    else if (::chmod(Temporary.c_str(), 0600) != 0 || ::rename(Temporary.c_str(), Path.c_str()) != 0)
      Failed = QT_TRANSLATE_NOOP("Instance", "Cannot set up the socket \"%1\": %2");
  }
  if (Failed) {
    const std::string Why = std::strerror(errno);
    FErrorString = Filled(Tr("Instance", Failed), {Path, Why});
    StopListening();
    ::unlink(Temporary.c_str());
    return false;
  }
  FSpareFd = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
  FNotifier = new QSocketNotifier(FListenFd, QSocketNotifier::Read, this);
  connect(FNotifier, &QSocketNotifier::activated, this, &TInstanceServer::Accept);
  FSocketPath = Path;
  return true;
}

void TInstanceServer::Close() {
  for (TInstanceConnection* Connection : std::vector<TInstanceConnection*>(FConnections)) Connection->Finish();
  StopListening();
  RemoveSocketFile();
}

void TInstanceServer::StopListening() {
  delete FNotifier;
  FNotifier = nullptr;
  for (int* Fd : {&FListenFd, &FSpareFd}) {
    if (*Fd >= 0) ::close(*Fd);
    *Fd = -1;
  }
}

void TInstanceServer::Accept() {
  while (FListenFd >= 0) {
    const int Fd = ::accept4(FListenFd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (Fd < 0 && errno == EINTR) continue;
    if (Fd < 0 && (errno == EMFILE || errno == ENFILE) && FSpareFd >= 0) {
      // Out of descriptors: the spare one makes room to take the connection
      // and close it, so its sender hears at once and the queue moves on.
      // (Without a free descriptor accept fails even when none is waiting.)
      ::close(FSpareFd);
      const int Refused = ::accept4(FListenFd, nullptr, nullptr, SOCK_CLOEXEC);
      if (Refused >= 0) ::close(Refused);
      FSpareFd = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
      if (Refused >= 0) continue;
      return;
    }
    if (Fd < 0) {
      // Nothing waiting, or no spare to refuse with: look again a little later
      // rather than spin on a connection that cannot be taken.
      if (errno != EAGAIN && errno != EWOULDBLOCK) {
        FNotifier->setEnabled(false);
        QTimer::singleShot(100, this, [this] {
          if (FNotifier) FNotifier->setEnabled(true);
        });
      }
      return;
    }
    auto* Socket = new QLocalSocket;
    if (!Socket->setSocketDescriptor(Fd)) {
      ::close(Fd);
      delete Socket;
      continue;
    }
    auto* Connection = new TInstanceConnection(*this, Socket);
    FConnections.push_back(Connection);
    Connection->Read();  // bytes may have come with the connection
  }
}

void TInstanceServer::Forget(TInstanceConnection* Connection) {
  std::erase(FConnections, Connection);
}

void TInstanceServer::RemoveSocketFile() {
  if (FSocketPath.empty()) return;
  ::unlink(FSocketPath.c_str());
  FSocketPath.clear();
}
