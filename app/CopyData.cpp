#include "app/CopyData.h"

#include <algorithm>

#include "filegrid/VirtualFileGrid.h"

namespace {

void AppendUInt32(std::string& Out, uint32_t Value) {
  for (int Shift = 0; Shift < 32; Shift += 8) Out += static_cast<char>((Value >> Shift) & 0xFF);
}

uint32_t ReadUInt32(const unsigned char* Bytes) {
  return static_cast<uint32_t>(Bytes[0]) | static_cast<uint32_t>(Bytes[1]) << 8 |
         static_cast<uint32_t>(Bytes[2]) << 16 | static_cast<uint32_t>(Bytes[3]) << 24;
}

}  // namespace

std::string EncodeCopyDataMessage(uint32_t Code, std::string_view Data) {
  std::string Out;
  Out.reserve(CopyDataHeaderSize + Data.size());
  AppendUInt32(Out, Code);
  AppendUInt32(Out, static_cast<uint32_t>(Data.size()));
  Out += Data;
  return Out;
}

std::string EncodeCopyDataPath(std::string_view Path) {
  std::string Data(Path);
  Data += '\0';
  return EncodeCopyDataMessage(cdFile, Data);
}

std::optional<std::string_view> CopyDataPath(std::string_view Data) {
  const size_t End = Data.find('\0');
  // Without its zero the path's end is unknown: the sender is broken, and
  // taking the bytes as they stand might name a different file.
  if (End == std::string_view::npos || End == 0 || Data[0] != '/') return std::nullopt;
  return Data.substr(0, End);
}

size_t TCopyDataParser::Feed(std::string_view Bytes, const std::function<void(const TCopyDataMessage&)>& OnMessage) {
  size_t Count = 0;
  while (!FFailed && !Bytes.empty()) {
    if (FHeaderLength < CopyDataHeaderSize) {
      const size_t Take = std::min(CopyDataHeaderSize - FHeaderLength, Bytes.size());
      std::copy_n(Bytes.begin(), Take, FHeader + FHeaderLength);
      FHeaderLength += Take;
      Bytes.remove_prefix(Take);
      if (FHeaderLength < CopyDataHeaderSize) break;
      FCode = ReadUInt32(FHeader);
      FSize = ReadUInt32(FHeader + 4);
      if (FSize > CopyDataMaxSize) {
        FFailed = true;
        break;
      }
    }
    std::string_view Data;
    if (FData.empty() && Bytes.size() >= FSize) {
      // The whole message is in Bytes: handed on where it lies.
      Data = Bytes.substr(0, FSize);
      Bytes.remove_prefix(FSize);
    } else {
      const size_t Take = std::min<size_t>(FSize - FData.size(), Bytes.size());
      FData.append(Bytes.substr(0, Take));
      Bytes.remove_prefix(Take);
      if (FData.size() < FSize) break;
      Data = FData;
    }
    FHeaderLength = 0;
    ++Count;
    OnMessage({FCode, Data});
    FData.clear();
  }
  return Count;
}

TFileGridCopyDataReceiver::TFileGridCopyDataReceiver(TVmVirtualFileGrid& Grid, std::function<void(bool Begins)> OnBatch)
    : TFileGridCopyDataReceiver(
          [&Grid](std::vector<std::string> Paths) {
            Grid.BeginUpdate();
            Grid.AddFiles(std::move(Paths));
            Grid.EndUpdate();
          },
          std::move(OnBatch)) {}

void TFileGridCopyDataReceiver::BeginBatch() {
  if (FOpenBatches++ == 0 && FOnBatch) FOnBatch(true);
}

void TFileGridCopyDataReceiver::AddPath(std::string_view Path) {
  FWaiting.emplace_back(Path);
  AddWaiting();
}

void TFileGridCopyDataReceiver::EndBatch() {
  // A code 15 without its batch still ends an (empty) batch.
  if (FOpenBatches > 0 && --FOpenBatches > 0) return;
  AddWaiting();
  if (FOnBatch) FOnBatch(false);
}

void TFileGridCopyDataReceiver::SetHeld(bool Held) {
  FHeld = Held;
  AddWaiting();
}

void TFileGridCopyDataReceiver::AddWaiting() {
  if (FHeld || FOpenBatches > 0 || FWaiting.empty()) return;
  std::vector<std::string> Paths = std::move(FWaiting);
  FWaiting.clear();
  FAddFiles(std::move(Paths));
}

size_t TCopyDataSession::Feed(std::string_view Bytes) {
  if (FClosed) return 0;
  return FParser.Feed(Bytes, [this](const TCopyDataMessage& Message) { Handle(Message); });
}

void TCopyDataSession::Handle(const TCopyDataMessage& Message) {
  switch (Message.Code) {
    case cdBeginBatch:
      if (FOpenBatches < MaxOpenBatches) {
        ++FOpenBatches;
        FReceiver.BeginBatch();
      }
      break;
    case cdFile:
      if (const std::optional<std::string_view> Path = CopyDataPath(Message.Data)) FReceiver.AddPath(*Path);
      break;
    case cdEndBatch:
      if (FOpenBatches > 0)
        --FOpenBatches;
      else
        FReceiver.BeginBatch();  // an end without a begin of its own: an empty batch
      FReceiver.EndBatch();
      break;
    default:
      break;
  }
}

void TCopyDataSession::Close() {
  if (FClosed) return;
  FClosed = true;
  for (; FOpenBatches > 0; --FOpenBatches) FReceiver.EndBatch();
}
