#include <gtest/gtest.h>

#include "app/CopyData.h"
#include "filegrid/VirtualFileGrid.h"
#include "support/FakeFileReader.h"

namespace {

// Receiver calls written down as one text: "B" begin, "E" end, a path in brackets.
class TLogReceiver : public TCopyDataReceiver {
 public:
  void BeginBatch() override { Log += "B"; }
  void AddPath(std::string_view Path) override { Log += "[" + std::string(Path) + "]"; }
  void EndBatch() override { Log += "E"; }
  std::string Log;
};

std::string Begin() { return EncodeCopyDataMessage(cdBeginBatch); }
std::string End() { return EncodeCopyDataMessage(cdEndBatch); }
std::string File(std::string_view Path) { return EncodeCopyDataPath(Path); }

// The messages Bytes completes, each as its code and a copy of its data.
using TMessages = std::vector<std::pair<uint32_t, std::string>>;
TMessages Feed(TCopyDataParser& Parser, std::string_view Bytes) {
  TMessages Messages;
  const size_t Count = Parser.Feed(Bytes, [&](const TCopyDataMessage& M) { Messages.emplace_back(M.Code, M.Data); });
  EXPECT_EQ(Count, Messages.size());
  return Messages;
}

}  // namespace

TEST(CopyData, MessagesAreFramedLittleEndianAndComeOutTheSameWhereverTheStreamIsCut) {
  EXPECT_EQ(EncodeCopyDataMessage(0x01020304, "ab"), std::string("\x04\x03\x02\x01\x02\0\0\0ab", 10));
  EXPECT_EQ(File("/x"), std::string("\x10\0\0\0\x03\0\0\0/x\0", 11));
  const std::string Stream = Begin() + File("/a b") + EncodeCopyDataMessage(7, std::string(300, 'x')) +
                             EncodeCopyDataMessage(16) + End();
  const TMessages Expected = {
      {1, ""}, {16, std::string("/a b\0", 5)}, {7, std::string(300, 'x')}, {16, ""}, {15, ""}};
  for (size_t ChunkSize : {size_t{1}, size_t{3}, size_t{8}, size_t{9}, Stream.size()}) {
    SCOPED_TRACE(ChunkSize);
    TCopyDataParser Parser;
    TMessages Got;
    for (size_t Pos = 0; Pos < Stream.size(); Pos += ChunkSize)
      for (auto& M : Feed(Parser, std::string_view(Stream).substr(Pos, ChunkSize))) Got.push_back(M);
    EXPECT_EQ(Got, Expected);
    EXPECT_FALSE(Parser.InMessage());
    EXPECT_FALSE(Parser.Failed());
  }
}

TEST(CopyData, AByteCountAbove64KiBFailsTheStreamForGood) {
  TCopyDataParser Parser;
  const std::string Largest = EncodeCopyDataMessage(16, std::string(CopyDataMaxSize, 'x'));
  EXPECT_EQ(Feed(Parser, Largest).size(), 1u);
  std::string Oversized = EncodeCopyDataMessage(16, std::string(CopyDataMaxSize + 1, 'x'));
  // The message before the fault still counts; nothing after it does.
  EXPECT_EQ(Feed(Parser, Begin() + Oversized.substr(0, 8)), (TMessages{{1, ""}}));
  EXPECT_TRUE(Parser.Failed());
  EXPECT_TRUE(Feed(Parser, Oversized.substr(8) + Begin()).empty());
  EXPECT_LE(Parser.BufferedBytes(), CopyDataHeaderSize);
}

TEST(CopyData, OnlyAZeroTerminatedAbsolutePathIsTaken) {
  const std::pair<std::string, std::optional<std::string_view>> Cases[] = {
      {std::string("/a/b.jpg\0", 9), "/a/b.jpg"},
      {std::string("/a\0junk\0", 8), "/a"},  // the byte count may exceed the path
      {std::string("/\xe4\xff\0", 4), "/\xe4\xff"},  // bytes kept, valid text or not
      {"/no/zero", std::nullopt},                   {std::string("\0", 1), std::nullopt},
      {"", std::nullopt},                           {std::string("relative\0", 9), std::nullopt},
  };
  for (const auto& [Data, Expected] : Cases) {
    SCOPED_TRACE(Data);
    EXPECT_EQ(CopyDataPath(Data), Expected);
  }
}

// Each case: the stream, what the receiver sees, and what it sees after the connection ends.
TEST(CopyDataSession, MessagesBecomeBatchesThatAreAlwaysClosed) {
  const struct { const char* Name; std::string Stream, Log, LogAfterClose; } Cases[] = {
      {"a batch of three in order", Begin() + File("/1") + File("/2") + File("/3") + End(), "B[/1][/2][/3]E", ""},
      {"a file outside a batch is added at once", File("/x"), "[/x]", ""},
      {"unknown codes and bad paths are ignored",
       Begin() + EncodeCopyDataMessage(0) + EncodeCopyDataMessage(17, "/y") + EncodeCopyDataMessage(16, "/z") +
           File("") + File("/ok"),
       "B[/ok]", "E"},
      {"an end without a begin is an empty batch", End() + End(), "BEBE", ""},
      {"nested batches each end", Begin() + Begin() + End(), "BBE", "E"},
      {"a sender gone mid-batch", Begin() + File("/a") + File("/b").substr(0, 10), "B[/a]", "E"},
      {"an oversized message stops the stream", Begin() + EncodeCopyDataMessage(16, std::string(70000, '/')) + End(),
       "B", "E"},
  };
  for (const auto& Case : Cases) {
    SCOPED_TRACE(Case.Name);
    TLogReceiver Receiver;
    TCopyDataSession Session(Receiver);
    Session.Feed(Case.Stream);
    EXPECT_EQ(Receiver.Log, Case.Log);
    Session.Close();
    Session.Close();
    EXPECT_EQ(Receiver.Log, Case.Log + Case.LogAfterClose);
    EXPECT_EQ(Session.Feed(File("/late")), 0u);
    EXPECT_EQ(Receiver.Log, Case.Log + Case.LogAfterClose);
  }
}

TEST(CopyDataReceiver, AddsTheFilesTickedInOneBracketWithTheWindowsWorkAroundIt) {
  TMemoryFileGridRows Rows;
  auto Reader = std::make_shared<TFakeReader>();
  Reader->Put("/a");
  TVmVirtualFileGrid Grid(Rows, Reader);
  std::string Log;
  TFileGridCopyDataReceiver Receiver(Grid, [&](bool Begins) {
    Log += Begins ? "(" : ")";
    Log += Rows.IsUpdating() ? "u" : "";
  });
  TCopyDataSession Session(Receiver);
  // A batch shows whole when it ends, never half.
  Session.Feed(Begin() + File("/a") + File("/gone"));
  EXPECT_EQ(Grid.FileCount(), 0);
  Session.Feed(End());
  EXPECT_EQ(Log, "()");  // around the bracket, not inside it
  EXPECT_FALSE(Rows.IsUpdating());
  ASSERT_EQ(Grid.FileCount(), 1);
  EXPECT_TRUE(Grid.IsChecked(0));
  // While a pass holds the receiver, files wait for it.
  Reader->Put("/b");
  Receiver.SetHeld(true);
  Session.Feed(File("/b"));
  EXPECT_EQ(Grid.FileCount(), 1);
  Receiver.SetHeld(false);
  EXPECT_EQ(Grid.FileCount(), 2);
}

TEST(CopyDataSession, EveryCompleteMessageIsAnsweredAndOpenBatchesAreBounded) {
  TLogReceiver Receiver;
  TCopyDataSession Session(Receiver);
  std::string Begins;
  for (int I = 0; I < TCopyDataSession::MaxOpenBatches + 10; ++I) Begins += Begin();
  EXPECT_EQ(Session.Feed(Begins + File("/a").substr(0, 4)), size_t(TCopyDataSession::MaxOpenBatches + 10));
  EXPECT_EQ(Session.OpenBatches(), TCopyDataSession::MaxOpenBatches);
  EXPECT_TRUE(Session.InMessage());
  Session.Close();
  EXPECT_EQ(Receiver.Log, std::string(TCopyDataSession::MaxOpenBatches, 'B') +
                              std::string(TCopyDataSession::MaxOpenBatches, 'E'));
}
