// The receiving end for files handed over by other processes: a local socket
// of this running copy in the private instance folder. Each connection's
// messages go through its own TCopyDataSession to the receiver; every
// message is answered with a 32-bit 0. A connection that sends an oversized
// message, ends inside a message or stays silent too long is closed, and
// the batch it left open is ended, so the grid never stays frozen.
#pragma once

#include <QObject>

#include <chrono>
#include <string>
#include <vector>

class QSocketNotifier;
class TCopyDataReceiver;
class TInstanceConnection;

class TInstanceServer : public QObject {
  Q_OBJECT

 public:
  // Receiver must outlive the server (or its Close).
  explicit TInstanceServer(TCopyDataReceiver& Receiver, QObject* Parent = nullptr);
  // Drops the connections without calling the receiver, which may be half
  // destroyed by now, and removes the socket file. Call Close first to end
  // the batches they left open.
  ~TInstanceServer() override;
  TInstanceServer(const TInstanceServer&) = delete;
  TInstanceServer& operator=(const TInstanceServer&) = delete;

  // Starts listening on a new socket in Folder (see InstanceFolderPath),
  // creating the folder when missing. False, with ErrorString, when the
  // folder is not private or the socket cannot be made. A connection that
  // comes while the process has no descriptor left is refused; listening goes on.
  bool Listen(const std::string& Folder);
  // Ends every connection, ending the batches they left open, stops
  // listening and removes the socket file.
  void Close();
  bool IsListening() const { return !FSocketPath.empty(); }
  // The socket's path while listening.
  const std::string& SocketPath() const { return FSocketPath; }
  // Why Listen failed.
  const std::string& ErrorString() const { return FErrorString; }

  // How long a connection may stay silent before it is closed (5 s unless
  // set); applies to connections made after the call.
  void SetStallTimeout(std::chrono::milliseconds Timeout) { FStallTimeout = Timeout; }
  std::chrono::milliseconds StallTimeout() const { return FStallTimeout; }
  int ConnectionCount() const { return static_cast<int>(FConnections.size()); }

 signals:
  // A connection has ended; batches it left open are ended by now.
  void ConnectionClosed();

 private:
  friend class TInstanceConnection;
  void Accept();
  void Forget(TInstanceConnection* Connection);
  void StopListening();
  void RemoveSocketFile();

  TCopyDataReceiver& FReceiver;
  // The listening socket is ours, not a QLocalServer's: that one stops
  // listening for good when an accept fails, as it does when the process
  // has run out of descriptors.
  int FListenFd = -1;
  // Held for the moment descriptors run out: given up to take a waiting
  // connection and refuse it, so that it does not wait in the queue.
  int FSpareFd = -1;
  QSocketNotifier* FNotifier = nullptr;
  std::vector<TInstanceConnection*> FConnections;
  std::string FSocketPath;
  std::string FErrorString;
  std::chrono::milliseconds FStallTimeout{5000};
};
