// Messages handed over by another process: an arbitrary byte stream, cut
// into chunks at arbitrary points, goes through one connection's session.
// Input: byte 0 gives K (0 to 7), the next K bytes the chunk lengths used in
// turn (0: the whole rest), the remaining bytes are the stream.
// Properties: no crash; the unfinished message held stays within one header
// and the largest byte count; the session answers exactly the complete
// messages before the first oversized byte count, and fails exactly when
// there is one; the receiver is given exactly the paths of the complete,
// well-formed file messages, in order, and nothing else; every batch begun
// is ended once the connection closes, and the nesting stays bounded.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "app/CopyData.h"

namespace {

void Require(bool Condition) {
  if (!Condition) std::abort();
}

class TRecordingReceiver : public TCopyDataReceiver {
 public:
  void BeginBatch() override {
    ++Begun;
    ++Depth;
    Require(Depth <= TCopyDataSession::MaxOpenBatches + 1);
  }
  void AddPath(std::string_view Path) override { Paths.emplace_back(Path); }
  void EndBatch() override {
    ++Ended;
    --Depth;
    Require(Depth >= 0);
  }
  std::vector<std::string> Paths;
  int Begun = 0, Ended = 0, Depth = 0;
};

uint32_t LittleEndian(std::string_view Bytes) {
  uint32_t Value = 0;
  for (int I = 3; I >= 0; --I) Value = Value << 8 | static_cast<unsigned char>(Bytes[static_cast<size_t>(I)]);
  return Value;
}

// The stream read in one piece, frame after frame.
struct TReference {
  explicit TReference(std::string_view Stream) {
    size_t Pos = 0;
    while (Stream.size() - Pos >= 8) {
      const uint32_t Code = LittleEndian(Stream.substr(Pos));
      const uint32_t Size = LittleEndian(Stream.substr(Pos + 4));
      if (Size > 65536) {
        Oversized = true;
        return;
      }
      if (Stream.size() - Pos - 8 < Size) break;
      const std::string_view Data = Stream.substr(Pos + 8, Size);
      ++Messages;
      const size_t Zero = Data.find('\0');
      if (Code == 16 && Zero != std::string_view::npos && Zero > 0 && Data[0] == '/')
        Paths.emplace_back(Data.substr(0, Zero));
      Pos += 8 + Size;
    }
    Unfinished = Pos < Stream.size();
  }
  size_t Messages = 0;
  std::vector<std::string> Paths;
  bool Oversized = false;
  bool Unfinished = false;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  std::string_view Input(reinterpret_cast<const char*>(Data), Size);
  if (Input.empty()) return 0;
  const size_t ChunkCount = static_cast<unsigned char>(Input[0]) % 8;
  if (Input.size() < 1 + ChunkCount) return 0;
  const std::string_view Lengths = Input.substr(1, ChunkCount);
  const std::string_view Stream = Input.substr(1 + ChunkCount);

  TRecordingReceiver Receiver;
  TCopyDataSession Session(Receiver);
  size_t Answers = 0;
  std::string_view Rest = Stream;
  for (size_t Turn = 0; !Rest.empty(); ++Turn) {
    size_t Length = Lengths.empty() ? 0 : static_cast<unsigned char>(Lengths[Turn % Lengths.size()]);
    if (Length == 0 || Length > Rest.size()) Length = Rest.size();
    Answers += Session.Feed(Rest.substr(0, Length));
    Rest.remove_prefix(Length);
    Require(Session.BufferedBytes() <= CopyDataHeaderSize + CopyDataMaxSize);
  }

  const TReference Expected(Stream);
  Require(Answers == Expected.Messages);
  Require(Session.Failed() == Expected.Oversized);
  Require(Expected.Oversized || Session.InMessage() == Expected.Unfinished);
  Require(Receiver.Paths == Expected.Paths);
  Require(Receiver.Depth == Session.OpenBatches());
  Session.Close();
  Require(Receiver.Begun == Receiver.Ended && Receiver.Depth == 0);
  Session.Close();
  Require(Receiver.Begun == Receiver.Ended);
  return 0;
}
