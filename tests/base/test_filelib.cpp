#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "base/VmFileLib.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

TEST(FileLib, WritesAndReadsBytesUnchanged) {
  TTempDir Dir;
  const std::string Bytes("a\0b\r\n\xff", 6);
  WriteFileAtomic(Dir / "f", Bytes);
  EXPECT_EQ(ReadWholeFile(Dir / "f"), Bytes);
  WriteFileAtomic(Dir / "f", "");
  EXPECT_EQ(ReadWholeFile(Dir / "f"), "");
  // Nothing but the target is left in the folder.
  EXPECT_EQ(Dir.EntryCount(), 1);
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

namespace {

// The folder's entries with their contents, to prove that nothing was lost.
std::map<std::string, std::string> Snapshot(const fs::path& Dir) {
  std::map<std::string, std::string> Files;
  for (const auto& Entry : fs::directory_iterator(Dir))
    if (Entry.is_regular_file()) Files[Entry.path().filename()] = ReadWholeFile(Entry.path());
  return Files;
}

}  // namespace

TEST(RenameNoReplace, RenamesWithinTheFolderAndRefusesEverythingElse) {
  struct Case {
    const char* Name;
    const char* NewName;
    bool Renamed;
    std::map<std::string, std::string> After;
  } Cases[] = {
      {"plain rename", "b.txt", true, {{"b.txt", "A"}, {"other", "O"}}},
      {"same name does nothing", "a.txt", true, {{"a.txt", "A"}, {"other", "O"}}},
      {"existing target is kept", "other", false, {{"a.txt", "A"}, {"other", "O"}}},
      {"empty name", "", false, {{"a.txt", "A"}, {"other", "O"}}},
      {"dot", ".", false, {{"a.txt", "A"}, {"other", "O"}}},
      {"dot dot", "..", false, {{"a.txt", "A"}, {"other", "O"}}},
      {"slash would move the file", "sub/a.txt", false, {{"a.txt", "A"}, {"other", "O"}}},
      {"backslash and colon are ordinary", "x\\y:z", true, {{"x\\y:z", "A"}, {"other", "O"}}},
      {"bytes that are not UTF-8", "\xff\xfe.txt", true, {{"\xff\xfe.txt", "A"}, {"other", "O"}}},
      {"case only on a case-sensitive system", "A.TXT", true, {{"A.TXT", "A"}, {"other", "O"}}},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    TTempDir Dir;
    WriteFileAtomic(Dir / "a.txt", "A");
    WriteFileAtomic(Dir / "other", "O");
    fs::create_directory(Dir / "sub");
    EXPECT_EQ(RenameNoReplace(Dir / "a.txt", C.NewName), C.Renamed);
    EXPECT_EQ(Snapshot(Dir.Path), C.After);
    EXPECT_TRUE(fs::is_empty(Dir / "sub"));
  }
}

TEST(RenameNoReplace, NulByteInTheNameIsRefused) {
  TTempDir Dir;
  WriteFileAtomic(Dir / "a", "A");
  EXPECT_FALSE(RenameNoReplace(Dir / "a", std::string_view("b\0c", 3)));
  EXPECT_EQ(errno, EINVAL);
  EXPECT_TRUE(fs::exists(Dir / "a"));
}

TEST(RenameNoReplace, MissingFileFailsAndLinksAreRenamedThemselves) {
  TTempDir Dir;
  EXPECT_FALSE(RenameNoReplace(Dir / "gone", "new"));
  EXPECT_EQ(errno, ENOENT);
  WriteFileAtomic(Dir / "target", "T");
  fs::create_symlink("target", Dir / "link");
  ASSERT_TRUE(RenameNoReplace(Dir / "link", "renamed-link"));
  EXPECT_TRUE(fs::is_symlink(Dir / "renamed-link"));
  EXPECT_EQ(fs::read_symlink(Dir / "renamed-link"), "target");
  EXPECT_EQ(ReadWholeFile(Dir / "target"), "T");
}

TEST(FileLib, ATargetNameOfTheFullLengthCanBeReplaced) {
  TTempDir Dir;
  const std::string Name(255, 'n');
  WriteFileAtomic(Dir / Name, "old");
  WriteFileAtomic(Dir / Name, "new");
  EXPECT_EQ(ReadWholeFile(Dir / Name), "new");
}
