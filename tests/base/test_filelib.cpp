#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "base/VmFileLib.h"

namespace fs = std::filesystem;

namespace {

// A fresh folder for one test, removed afterwards.
struct TTempDir {
  TTempDir() {
    char Template[] = "/tmp/quorvane-test-XXXXXX";
    Path = ::mkdtemp(Template);
  }
  ~TTempDir() { fs::remove_all(Path); }
  std::string operator/(const std::string& Name) const { return (Path / Name).string(); }
  fs::path Path;
};

void ExpectFileErrorNaming(const std::string& Path, const std::function<void()>& Action) {
  try {
    Action();
    ADD_FAILURE() << "no error for " << Path;
  } catch (const EFileError& E) {
    EXPECT_NE(std::string(E.what()).find(Path), std::string::npos) << E.what();
  }
}

}  // namespace

TEST(FileLib, WritesAndReadsBytesUnchanged) {
  TTempDir Dir;
  const std::string Bytes("a\0b\r\n\xff", 6);
  WriteFileAtomic(Dir / "f", Bytes);
  EXPECT_EQ(ReadWholeFile(Dir / "f"), Bytes);
  WriteFileAtomic(Dir / "f", "");
  EXPECT_EQ(ReadWholeFile(Dir / "f"), "");
  // Nothing but the target is left in the folder.
  EXPECT_EQ(std::distance(fs::directory_iterator(Dir.Path), fs::directory_iterator()), 1);
}

TEST(FileLib, ReplacingKeepsPermissionsAndFollowsLinks) {
  TTempDir Dir;
  WriteFileAtomic(Dir / "target", "old");
  ::chmod((Dir / "target").c_str(), 0640);
  fs::create_symlink(Dir / "target", Dir / "link");
  WriteFileAtomic(Dir / "link", "new");
  EXPECT_TRUE(fs::is_symlink(Dir / "link"));
  EXPECT_EQ(ReadWholeFile(Dir / "target"), "new");
  struct stat Info {};
  ::stat((Dir / "target").c_str(), &Info);
  EXPECT_EQ(Info.st_mode & 0777, 0640u);
}

TEST(FileLib, ReadingMissingFoldersAndFifosFailsNamingTheFile) {
  TTempDir Dir;
  ::mkfifo((Dir / "fifo").c_str(), 0600);
  for (const std::string& Path : {Dir / "missing", Dir.Path.string(), Dir / "fifo"})
    ExpectFileErrorNaming(Path, [&] { ReadWholeFile(Path); });
}

TEST(FileLib, FailedWriteLeavesTheOldFile) {
  TTempDir Dir;
  WriteFileAtomic(Dir / "f", "old");
  if (::geteuid() != 0) {
    ::chmod(Dir.Path.c_str(), 0500);
    ExpectFileErrorNaming(Dir / "f", [&] { WriteFileAtomic(Dir / "f", "new"); });
    ::chmod(Dir.Path.c_str(), 0700);
    EXPECT_EQ(ReadWholeFile(Dir / "f"), "old");
  }
  // A folder in the way cannot be replaced either.
  fs::create_directory(Dir / "d");
  ExpectFileErrorNaming(Dir / "d", [&] { WriteFileAtomic(Dir / "d", "x"); });
  ExpectFileErrorNaming(Dir / "no/such/f", [&] { WriteFileAtomic(Dir / "no/such/f", "x"); });
}
