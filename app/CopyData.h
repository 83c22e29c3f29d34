// Files handed over by another process: the message framing on a local
// socket, and the per-connection state that turns messages into batches of
// files for the grid. No sockets here: bytes go in, receiver calls come out.
//
// One message is a code (32-bit little-endian), a byte count (32-bit
// little-endian) and that many data bytes. Code 1 begins a batch, code 16
// carries one zero-terminated path, code 15 ends the batch; any other code is
// ignored. The receiving side answers every message with a 32-bit 0.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class TVmVirtualFileGrid;

enum TCopyDataCode : uint32_t { cdBeginBatch = 1, cdEndBatch = 15, cdFile = 16 };

// The largest byte count a message may carry; a larger one ends the connection.
inline constexpr uint32_t CopyDataMaxSize = 64 * 1024;
// Code and byte count.
inline constexpr size_t CopyDataHeaderSize = 8;
// The answer to every message: a 32-bit 0.
inline constexpr size_t CopyDataAnswerSize = 4;

// One message as the parser hands it on; Data lasts only for that call.
struct TCopyDataMessage {
  uint32_t Code = 0;
  std::string_view Data;
};

// One message as it goes over the socket.
std::string EncodeCopyDataMessage(uint32_t Code, std::string_view Data = {});
// A code-16 message for Path (the terminating zero added).
std::string EncodeCopyDataPath(std::string_view Path);

// The path a code-16 message carries: the bytes before the first zero. A
// message without a zero, with an empty path or with a relative one (which
// would name a file relative to the sender's folder, not ours) carries none.
std::optional<std::string_view> CopyDataPath(std::string_view Data);

// Cuts a byte stream, arriving in chunks split anywhere, into messages. It
// holds at most one unfinished message (header and up to CopyDataMaxSize
// bytes). After a byte count above CopyDataMaxSize it is failed for good and
// takes no more bytes.
class TCopyDataParser {
 public:
  // Hands the messages completed by Bytes to OnMessage, in order, and
  // returns how many there were. Messages before a fault are handed on;
  // nothing after it.
  size_t Feed(std::string_view Bytes, const std::function<void(const TCopyDataMessage&)>& OnMessage);
  bool Failed() const { return FFailed; }
  // Part of a message has arrived: a stream ending now is truncated.
  bool InMessage() const { return FHeaderLength > 0; }
  // Bytes of the unfinished message held.
  size_t BufferedBytes() const { return FHeaderLength + FData.size(); }

 private:
  unsigned char FHeader[CopyDataHeaderSize] = {};
  size_t FHeaderLength = 0;
  uint32_t FCode = 0;
  uint32_t FSize = 0;
  std::string FData;
  bool FFailed = false;
};

// What a connection's messages do.
class TCopyDataReceiver {
 public:
  virtual ~TCopyDataReceiver() = default;
  // Code 1: a batch begins (busy cursor, the grid's BeginUpdate). Batches nest.
  virtual void BeginBatch() = 0;
  // Code 16 with a valid path, inside or outside a batch: add the file now.
  virtual void AddPath(std::string_view Path) = 0;
  // Code 15, or the end of a connection that left its batch open.
  virtual void EndBatch() = 0;
};

// The receiver of the main window: adds the files to a file list, ticked,
// with no new name. The files of a batch wait until every open batch has
// ended and are then added in one update bracket, so the list never holds
// files it does not show; while the receiver is held (a pass runs), every
// file waits.
class TFileGridCopyDataReceiver : public TCopyDataReceiver {
 public:
  // How waiting files go into the list, all in one call.
  using TAddFiles = std::function<void(std::vector<std::string> Paths)>;
  // OnBatch, when given, is called with true when a first batch opens and
  // with false when the last one has ended and its files were added (the
  // window's busy cursor). The files go into Grid in one update bracket.
  explicit TFileGridCopyDataReceiver(TVmVirtualFileGrid& Grid, std::function<void(bool Begins)> OnBatch = {});
  // The files go to AddFiles: the window's one way of taking files in.
  explicit TFileGridCopyDataReceiver(TAddFiles AddFiles, std::function<void(bool Begins)> OnBatch = {})
      : FAddFiles(std::move(AddFiles)), FOnBatch(std::move(OnBatch)) {}
  void BeginBatch() override;
  void AddPath(std::string_view Path) override;
  void EndBatch() override;
  // Held, files wait; released, the waiting files are added.
  void SetHeld(bool Held);
  size_t WaitingCount() const { return FWaiting.size(); }

 private:
  void AddWaiting();

  TAddFiles FAddFiles;
  std::function<void(bool)> FOnBatch;
  std::vector<std::string> FWaiting;
  int FOpenBatches = 0;
  bool FHeld = false;
};

// One connection's messages. Every batch that this connection opens is
// closed exactly once: by its code 15, or by Close when the connection ends
// early (sender gone, bad frame, stall), so the grid never stays frozen in an
// update bracket. A code 15 without an open batch of its own closes nothing
// that another connection opened; it runs as an empty batch, so the receiver
// still does its end-of-batch work.
class TCopyDataSession {
 public:
  // Batches one connection may hold open at once; further code-1 messages
  // are answered and ignored (their code 15 then ends an empty batch).
  static constexpr int MaxOpenBatches = 64;

  explicit TCopyDataSession(TCopyDataReceiver& Receiver) : FReceiver(Receiver) {}
  TCopyDataSession(const TCopyDataSession&) = delete;
  TCopyDataSession& operator=(const TCopyDataSession&) = delete;

  // Handles the messages Bytes completes; returns how many to answer. After
  // a fault (Failed) or Close nothing more is handled.
  size_t Feed(std::string_view Bytes);
  // The stream broke: the connection must close.
  bool Failed() const { return FParser.Failed(); }
  // Part of a message has arrived and waits for the rest.
  bool InMessage() const { return FParser.InMessage(); }
  // Bytes of the unfinished message held (at most a header and CopyDataMaxSize).
  size_t BufferedBytes() const { return FParser.BufferedBytes(); }
  int OpenBatches() const { return FOpenBatches; }
  // The connection ends: closes the batches it left open. Later calls do nothing.
  void Close();
  bool Closed() const { return FClosed; }

 private:
  void Handle(const TCopyDataMessage& Message);

  TCopyDataReceiver& FReceiver;
  TCopyDataParser FParser;
  int FOpenBatches = 0;
  bool FClosed = false;
};
