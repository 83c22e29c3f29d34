#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "base/VmFileLib.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

TEST(FileLib, WritesAndReadsBytesUnchanged) {
  TTempDir Dir;
  const std::string Bytes("a\0b\r\n\xff", 6);
  WriteFileAtomic(Dir / "f", Bytes);
  EXPECT_EQ(ReadFile(Dir / "f"), Bytes);
  WriteFileAtomic(Dir / "f", "");
  EXPECT_EQ(ReadFile(Dir / "f"), "");
  // A full-length name leaves no room for a suffix; the temporary name must not need one.
  const std::string Long(255, 'n');
  WriteFileAtomic(Dir / Long, "old");
  WriteFileAtomic(Dir / Long, "new");
  EXPECT_EQ(ReadFile(Dir / Long), "new");
  // Nothing but the targets is left in the folder.
  EXPECT_EQ(Dir.EntryCount(), 2);
}

TEST(FileLib, ReplacingKeepsPermissionsAndFollowsLinks) {
  TTempDir Dir;
  WriteFileAtomic(Dir / "target", "old");
  ::chmod((Dir / "target").c_str(), 0640);
  fs::create_symlink(Dir / "target", Dir / "link");
  WriteFileAtomic(Dir / "link", "new");
  EXPECT_TRUE(fs::is_symlink(Dir / "link"));
  EXPECT_EQ(ReadFile(Dir / "target"), "new");
  struct stat Info {};
  ::stat((Dir / "target").c_str(), &Info);
  EXPECT_EQ(Info.st_mode & 0777, 0640u);
}

TEST(FileLib, ReadingMissingFoldersFifosAndTooLargeFilesFailsNamingTheFileAndTheCause) {
  TTempDir Dir;
  ::mkfifo((Dir / "fifo").c_str(), 0600);
  WriteFileAtomic(Dir / "four", "1234");
  const std::tuple<std::string, size_t, int> Cases[] = {
      {Dir / "missing", 9, ENOENT}, {Dir / "four/x", 9, ENOTDIR}, {Dir.Path, 9, 0}, {Dir / "fifo", 9, 0},
      {Dir / "four", 3, 0}};
  for (const auto& [Path, MaxSize, Code] : Cases) {
    SCOPED_TRACE(Path);
    EXPECT_EQ(ExpectFileErrorNaming(Path, [&] { ReadWholeFile(Path, MaxSize); }), Code);
  }
  EXPECT_EQ(ReadWholeFile(Dir / "four", 4), "1234");
}

TEST(FileLib, FailedWriteLeavesTheOldFile) {
  TTempDir Dir;
  WriteFileAtomic(Dir / "f", "old");
  if (::geteuid() != 0) {
    ::chmod(Dir.Path.c_str(), 0500);
    ExpectFileErrorNaming(Dir / "f", [&] { WriteFileAtomic(Dir / "f", "new"); });
    ::chmod(Dir.Path.c_str(), 0700);
    EXPECT_EQ(ReadFile(Dir / "f"), "old");
  }
  // A folder in the way cannot be replaced either.
  fs::create_directory(Dir / "d");
  ExpectFileErrorNaming(Dir / "d", [&] { WriteFileAtomic(Dir / "d", "x"); });
  ExpectFileErrorNaming(Dir / "no/such/f", [&] { WriteFileAtomic(Dir / "no/such/f", "x"); });
}
