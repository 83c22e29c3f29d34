// Reading a file's information from a real temporary folder: attributes,
// 64-bit sizes, dates, patterns, links, and type names.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>

#include "FileGridTestUtil.h"

namespace {

// Runs a test under a fixed time zone and puts the old one back afterwards.
class TimeZone {
 public:
  explicit TimeZone(const char* Zone) {
    if (const char* Old = std::getenv("TZ")) FOld = Old;
    setenv("TZ", Zone, 1);
    tzset();
  }
  ~TimeZone() {
    if (FOld.empty())
      unsetenv("TZ");
    else
      setenv("TZ", FOld.c_str(), 1);
    tzset();
  }

 private:
  std::string FOld;
};

class FileInfoTest : public ::testing::Test {
 protected:
  FileInfoTest() {
    char Template[] = "/tmp/quorvane-fileinfo-XXXXXX";
    Dir = std::string(mkdtemp(Template)) + "/";
  }
  ~FileInfoTest() override { std::filesystem::remove_all(Dir); }

  std::string Make(const std::string& Name, const std::string& Content = "") {
    std::ofstream(Dir + Name, std::ios::binary) << Content;
    return Dir + Name;
  }
  void SetModified(const std::string& Path, time_t Seconds, long Nanoseconds = 0) {
    const timespec Times[2] = {{Seconds, Nanoseconds}, {Seconds, Nanoseconds}};
    ASSERT_EQ(utimensat(AT_FDCWD, Path.c_str(), Times, AT_SYMLINK_NOFOLLOW), 0);
  }

  std::string Dir;
  TLinuxFileInfoReader Reader;
  TMemoryFileGridRows Rows;
  TVmVirtualFileGrid Grid{Rows};
};

}  // namespace

TEST(FileInfoTimes, BecomeLocalDateTimesWithEvenSeconds) {
  struct Case {
    const char* Zone;
    int64_t Seconds;
    double Days;          // whole days since 1899-12-30
    int SecondOfDay;
  } Cases[] = {
      {"UTC0", 0, 25569, 0},
      {"UTC0", 1, 25569, 0},                               // odd seconds round down
      {"UTC0", 1614834367, 44259, 5 * 3600 + 6 * 60 + 6},  // 2021-03-04 05:06:07
      {"XYZ-02", 1614834367, 44259, 7 * 3600 + 6 * 60 + 6},
      {"XYZ+06", 1614834367, 44258, 23 * 3600 + 6 * 60 + 6},
      {"UTC0", -1, 25568, 86398},                          // before 1980: kept as it is
      {"UTC0", 4354819200, 75972, 0},                      // 2108: after 2107: kept as it is
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(std::string(C.Zone) + " " + std::to_string(C.Seconds));
    TimeZone Zone(C.Zone);
    const double Value = UnixTimeToDateTime(C.Seconds);
    EXPECT_EQ(std::floor(Value), C.Days);
    EXPECT_NEAR((Value - C.Days) * 86400, C.SecondOfDay, 1e-3);
  }
}

TEST(FileInfoTimes, BeforeTheZeroDateCountDaysBackWithTheTimeOfDayForward) {
  TimeZone Zone("UTC0");
  EXPECT_DOUBLE_EQ(UnixTimeToDateTime(-2209226400), -1.25);  // 1899-12-29 06:00
  EXPECT_DOUBLE_EQ(UnixTimeToDateTime(-2209161600), 0);      // 1899-12-30 00:00
}

TEST(FileInfoText, CutsAtCharactersNeverInsideOne) {
  EXPECT_EQ(TruncateUtf8("abc", 80), "abc");
  EXPECT_EQ(TruncateUtf8("abcdef", 3), "abc");
  EXPECT_EQ(TruncateUtf8("\xC3\xA4\xC3\xB6\xC3\xBC", 2), "\xC3\xA4\xC3\xB6");
  EXPECT_EQ(TruncateUtf8("a\xF0\x9F\x98\x80z", 2), "a\xF0\x9F\x98\x80");
  EXPECT_EQ(TruncateUtf8(std::string(100, 'x'), 80).size(), 80u);
}

TEST(FileInfoPatterns, OnlyStarAndQuestionMarkAreWildcards) {
  struct Case {
    const char* Pattern;
    const char* Name;
    bool Matches;
  } Cases[] = {
      {"*.txt", "a.txt", true},      {"*.txt", "a.txt.bak", false}, {"?.txt", "ab.txt", false},
      {"[a]*", "[a]b", true},        {"[a]*", "ab", false},         {"a\\*", "a\\b", true},
      {"*", ".hidden", true},        {"a?c", "a/c", true},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(std::string(C.Pattern) + " / " + C.Name);
    EXPECT_EQ(MatchesNamePattern(C.Pattern, C.Name), C.Matches);
  }
}

TEST_F(FileInfoTest, AttributesFollowKindPermissionAndLeadingDot) {
  Make("plain.txt", "x");
  Make(".hidden");
  chmod(Make("locked.txt").c_str(), 0444);
  std::filesystem::create_directory(Dir + "folder");
  ASSERT_EQ(mkfifo((Dir + "pipe").c_str(), 0644), 0);
  symlink("plain.txt", (Dir + "link").c_str());
  symlink("missing", (Dir + "dangling").c_str());
  struct Case {
    const char* Name;
    uint32_t Attributes;
  } Cases[] = {
      {"plain.txt", faArchive},
      {".hidden", faArchive | faHidden},
      {"locked.txt", faArchive | faReadOnly},
      {"folder", faDirectory},
      {"pipe", faSystem},
      {"link", faArchive},  // a link shows its target
      {"dangling", faSystem},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    auto Info = Reader.Read(Dir + C.Name);
    ASSERT_TRUE(Info.has_value());
    EXPECT_EQ(Info->Attributes, C.Attributes);
    EXPECT_LE(TruncateUtf8(Info->Description, 80).size(), Info->Description.size());
  }
}

TEST_F(FileInfoTest, SizesAreWholeSixtyFourBitNumbersAndLinksShowTheirTarget) {
  const std::string Big = Make("big.bin");
  const uint64_t FiveGiB = uint64_t{5} << 30;
  if (truncate(Big.c_str(), static_cast<off_t>(FiveGiB)) != 0) GTEST_SKIP() << "no sparse files here";
  symlink("big.bin", (Dir + "big-link").c_str());
  EXPECT_EQ(Reader.Read(Big)->Size, FiveGiB);
  EXPECT_EQ(Reader.Read(Dir + "big-link")->Size, FiveGiB);
}

TEST_F(FileInfoTest, ModificationTimesCarryEvenSecondsOnly) {
  TimeZone Zone("UTC0");
  const std::string Path = Make("a.txt");
  SetModified(Path, 1614834367, 999999999);
  auto Info = Reader.Read(Path);
  ASSERT_TRUE(Info);
  EXPECT_NEAR((Info->LastWriteDate - 44259) * 86400, 5 * 3600 + 6 * 60 + 6, 1e-3);
  // Birth times are optional; when present they are whole even seconds too.
  if (Info->CreationDate != 0) {
    const double Seconds = std::round((Info->CreationDate - std::floor(Info->CreationDate)) * 86400);
    EXPECT_EQ(std::fmod(Seconds, 2), 0);
  }
}

TEST_F(FileInfoTest, MissingFilesAndPathsWithNulBytesAreNotFound) {
  Make("a.txt");
  EXPECT_FALSE(Reader.Read(Dir + "b.txt"));
  EXPECT_FALSE(Reader.Read(""));
  EXPECT_FALSE(Reader.Read(Dir + std::string("a.txt\0.evil", 11)));
  Grid.AddFile(Dir + std::string("a.txt\0", 6));
  EXPECT_EQ(Grid.FileCount(), 0);
}

TEST_F(FileInfoTest, APatternIsListedUnderItselfWithTheFirstMatchsInformation) {
  Make("one.txt", "12345");
  Make("two.dat", "12");
  Grid.AddFile(Dir + "*.txt");
  ASSERT_EQ(Grid.FileCount(), 1);
  const TFileGridFile& Entry = Grid.File(0);
  EXPECT_EQ(Entry.FileName, Dir + "*.txt");
  EXPECT_EQ(Entry.Name, "*.txt");
  EXPECT_EQ(Entry.Extension, ".txt");
  EXPECT_EQ(Entry.Size, 5u);
  EXPECT_EQ(Entry.Attributes, uint32_t{faArchive});
  EXPECT_EQ(Entry.Description, Reader.Read(Dir + "one.txt")->Description);

  Grid.AddFile(Dir + "t?o.*");
  EXPECT_EQ(Grid.FileCount(), 2);
  EXPECT_EQ(Grid.File(1).Size, 2u);
  Grid.AddFile(Dir + "*.none");
  Grid.AddFile(Dir + "nosuchdir/*");
  EXPECT_EQ(Grid.FileCount(), 2);
}

TEST_F(FileInfoTest, AStarNeverMatchesTheFolderItselfOrItsParent) {
  std::filesystem::create_directory(Dir + "empty");
  EXPECT_FALSE(Reader.Read(Dir + "empty/*"));
  EXPECT_FALSE(Reader.Read(Dir + "empty/.*"));
}

TEST_F(FileInfoTest, AFileNamedLikeThePatternIsTakenBeforeOtherMatches) {
  Make("a1b", "1");
  Make("a2b", "22");
  Make("a*b", "333");
  EXPECT_EQ(Reader.Read(Dir + "a*b")->Size, 3u);
}

TEST_F(FileInfoTest, TypeNamesComeFromTheNameAndAreSharedPerExtension) {
  const std::string First = Make("first.txt", "hello");
  const std::string Second = Make("second.txt", "\x89PNG\r\n\x1a\n");  // content is not looked at
  auto A = Reader.Read(First);
  auto B = Reader.Read(Second);
  ASSERT_TRUE(A && B);
  EXPECT_FALSE(A->Description.empty());
  EXPECT_EQ(A->Description, B->Description);
  EXPECT_EQ(A->IconIndex, B->IconIndex);
  EXPECT_GT(A->IconIndex, 0);
  EXPECT_EQ(Reader.Icons().IconName(A->IconIndex), "text-plain");

  auto Png = Reader.Read(Make("picture.png"));
  EXPECT_NE(Png->IconIndex, A->IconIndex);
  EXPECT_EQ(Png->Description, QMimeDatabase().mimeTypeForName("image/png").comment().toStdString());
}

TEST_F(FileInfoTest, WholeNamesAndLongExtensionsTheDatabaseKnowsWinOverTheLastExtension) {
  struct Case {
    const char* Name;
    const char* Mime;
  } Cases[] = {
      {"backup.tar.gz", "application/x-compressed-tar"},
      {"BACKUP.TAR.GZ", "application/x-compressed-tar"},
      {"notes.gz", "application/gzip"},
      {"Makefile", "text/x-makefile"},
      {"CMakeLists.txt", "text/x-cmake"},
      {"other.txt", "text/plain"},
      {"file~", "application/x-trash"},
  };
  QMimeDatabase Db;
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    const QMimeType Expected = Db.mimeTypeForName(C.Mime);
    if (!Expected.isValid()) continue;  // not in this machine's database
    auto Info = Reader.Read(Make(C.Name, "\x7f\x45LF"));
    ASSERT_TRUE(Info);
    EXPECT_EQ(Info->Description, Expected.comment().toStdString());
  }
}

TEST_F(FileInfoTest, ContentDecidesOnlyWhenTheNameSaysNothing) {
  const std::string Pdf = Make("document", "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n");
  const std::string Unknown = Make("data.qvunknownext", "%PDF-1.4\n");
  const std::string Expected = QMimeDatabase().mimeTypeForName("application/pdf").comment().toStdString();
  EXPECT_EQ(Reader.Read(Pdf)->Description, Expected);
  EXPECT_EQ(Reader.Read(Unknown)->Description, Expected);
}

TEST_F(FileInfoTest, SpecialFilesAreNamedByTheirKindWithoutBeingOpened) {
  ASSERT_EQ(mkfifo((Dir + "pipe.txt").c_str(), 0644), 0);  // reading it would block
  std::filesystem::create_directory(Dir + "folder.txt");
  QMimeDatabase Db;
  EXPECT_EQ(Reader.Read(Dir + "pipe.txt")->Description, Db.mimeTypeForName("inode/fifo").comment().toStdString());
  EXPECT_EQ(Reader.Read(Dir + "folder.txt")->Description,
            Db.mimeTypeForName("inode/directory").comment().toStdString());
}

