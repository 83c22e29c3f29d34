// Reading a file's information from a real temporary folder: attributes, sizes, dates, patterns, links, types.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>

#include "filegrid/VirtualFileGrid.h"
#include "support/TempDir.h"

namespace {

// Sets the time zone for one test and puts the old one back afterwards.
struct TTimeZone {
  explicit TTimeZone(const char* Zone) : Old(std::getenv("TZ") ? std::getenv("TZ") : "") { Set(Zone); }
  ~TTimeZone() { Set(Old.empty() ? nullptr : Old.c_str()); }
  static void Set(const char* Zone) { (Zone ? setenv("TZ", Zone, 1) : unsetenv("TZ")), tzset(); }
  std::string Old;
};

class FileInfoTest : public ::testing::Test {
 protected:
  TTempDir Dir;
  TLinuxFileInfoReader Reader;
  TMemoryFileGridRows Rows;
  TVmVirtualFileGrid Grid{Rows};
};

}  // namespace

TEST(FileInfoTimes, BecomeLocalDateTimesWithEvenSeconds) {
  struct Case { const char* Zone; int64_t Seconds; double Days; int SecondOfDay; } Cases[] = {  // days since 1899-12-30
      {"UTC0", 1, 25569, 0},                                // odd seconds round down
      {"UTC0", 1614834367, 44259, 5 * 3600 + 6 * 60 + 6},   // 2021-03-04 05:06:07
      {"XYZ+06", 1614834367, 44258, 23 * 3600 + 6 * 60 + 6},
      {"UTC0", -1, 25568, 86398},                           // before 1980: kept as it is
      {"UTC0", 4354819200, 75972, 0},                       // after 2107: kept as it is
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(std::string(C.Zone) + " " + std::to_string(C.Seconds));
    TTimeZone Zone(C.Zone);
    const double Value = UnixTimeToDateTime(C.Seconds);
    EXPECT_EQ(std::floor(Value), C.Days);
    EXPECT_NEAR((Value - C.Days) * 86400, C.SecondOfDay, 1e-3);
  }
  TTimeZone Zone("UTC0");  // before the zero date: days count back, the time of day forward
  EXPECT_DOUBLE_EQ(UnixTimeToDateTime(-2209226400), -1.25);  // 1899-12-29 06:00
  EXPECT_DOUBLE_EQ(UnixTimeToDateTime(-2209161600), 0);      // 1899-12-30 00:00
}

TEST(FileInfoPatterns, OnlyStarAndQuestionMarkAreWildcards) {
  struct Case { const char *Pattern, *Name; bool Matches; } Cases[] = {
      {"*.txt", "a.txt", true}, {"*.txt", "a.txt.bak", false}, {"?.txt", "ab.txt", false}, {"[a]*", "[a]b", true},
      {"[a]*", "ab", false},    {"a\\*", "a\\b", true},        {"*", ".hidden", true},       {"a?c", "a/c", true},
  };
  for (const Case& C : Cases) EXPECT_EQ(MatchesNamePattern(C.Pattern, C.Name), C.Matches) << C.Pattern << " " << C.Name;
}

TEST_F(FileInfoTest, AttributesFollowKindPermissionAndLeadingDotAndALinkShowsItsTarget) {
  Dir.Make("plain.txt", "x");
  Dir.Make(".hidden");
  chmod(Dir.Make("locked.txt").c_str(), 0444);
  mkdir((Dir / "folder").c_str(), 0755);
  ASSERT_EQ(mkfifo((Dir / "pipe").c_str(), 0644), 0);
  symlink("plain.txt", (Dir / "link").c_str());
  symlink("missing", (Dir / "dangling").c_str());
  const std::pair<std::string, uint32_t> Cases[] = {
      {"plain.txt", faArchive}, {".hidden", faArchive | faHidden}, {"locked.txt", faArchive | faReadOnly},
      {"folder", faDirectory},  {"pipe", faSystem},                {"link", faArchive},
      {"dangling", faSystem},   {"other.txt", 0},                  {std::string("plain.txt\0.evil", 15), 0},
  };
  for (const auto& [Name, Attributes] : Cases) {
    auto Info = Reader.Read(Dir / Name);
    EXPECT_EQ(Info ? Info->Attributes : 0, Attributes) << Name;  // 0: not found
  }
  EXPECT_FALSE(Reader.Read(""));
  Grid.AddFile(Dir / std::string("plain.txt\0", 10));
  EXPECT_EQ(Grid.FileCount(), 0);
}

TEST_F(FileInfoTest, SizesAreSixtyFourBitAlsoThroughALinkAndTimesCarryEvenSeconds) {
  TTimeZone Zone("UTC0");
  const std::string Big = Dir.Make("big.bin");
  const timespec Times[2] = {{1614834367, 999999999}, {1614834367, 999999999}};
  ASSERT_EQ(utimensat(AT_FDCWD, Big.c_str(), Times, 0), 0);
  auto Info = Reader.Read(Big);
  ASSERT_TRUE(Info);
  EXPECT_NEAR((Info->LastWriteDate - 44259) * 86400, 5 * 3600 + 6 * 60 + 6, 1e-3);
  const double Born = std::round((Info->CreationDate - std::floor(Info->CreationDate)) * 86400);
  EXPECT_EQ(std::fmod(Born, 2), 0);  // birth times are optional (0), and even too
  const uint64_t FiveGiB = uint64_t{5} << 30;
  if (truncate(Big.c_str(), static_cast<off_t>(FiveGiB)) != 0) GTEST_SKIP() << "no sparse files here";
  symlink("big.bin", (Dir / "big-link").c_str());
  EXPECT_EQ(Reader.Read(Big)->Size, FiveGiB);
  EXPECT_EQ(Reader.Read(Dir / "big-link")->Size, FiveGiB);
}

TEST_F(FileInfoTest, APatternFindsAFileOfItsOwnNameFirstThenTheFirstMatch) {
  for (const auto& [Name, Content] : {std::pair{"one.txt", "12345"}, {"two.dat", "12"}, {"a1b", "1"}, {"a*b", "333"}})
    Dir.Make(Name, Content);
  mkdir((Dir / "empty").c_str(), 0755);
  const std::pair<const char*, int> Cases[] = {
      {"*.txt", 5},        {"t?o.*", 2},    {"a*b", 3},      {"*.none", -1},
      {"nosuchdir/*", -1}, {"empty/*", -1}, {"empty/.*", -1},  // never the folder itself or its parent
  };
  for (const auto& [Pattern, Size] : Cases) {
    auto Info = Reader.Read(Dir / Pattern);
    EXPECT_EQ(Info ? static_cast<int>(Info->Size) : -1, Size) << Pattern;
  }
  Grid.AddFile(Dir / "*.txt");  // listed under the pattern itself
  ASSERT_EQ(Grid.FileCount(), 1);
  EXPECT_EQ(Grid.File(0).FileName + " " + std::to_string(Grid.File(0).Size), Dir / "*.txt 5");
}

TEST_F(FileInfoTest, TypeNamesComeFromTheWholeNameOrExtensionAndFromContentOnlyWhenTheNameSaysNothing) {
  mkfifo((Dir / "pipe.txt").c_str(), 0644);  // reading it would block
  mkdir((Dir / "folder.txt").c_str(), 0755);
  const char* const Pdf = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
  // Which type a name means is the MIME database's; here: the name first, content only when it says nothing.
  struct Case { const char *Name, *Content, *Mime; } Cases[] = {  // no content: made beforehand
      {"first.txt", "hello", "text/plain"},       {"second.txt", "\x89PNG\r\n\x1a\n", "text/plain"},
      {"picture.png", "", "image/png"},           {"backup.tar.gz", Pdf, "application/x-compressed-tar"},
      {"document", Pdf, "application/pdf"},       {"data.qvunknownext", Pdf, "application/pdf"},
      {"pipe.txt", nullptr, "inode/fifo"},        {"folder.txt", nullptr, "inode/directory"},
      {"libz.so.1", Pdf, "application/x-sharedlib"},  // a pattern over the whole name
  };
  for (const Case& C : Cases) {
    const QMimeType Mime = QMimeDatabase().mimeTypeForName(C.Mime);
    if (!Mime.isValid()) continue;  // not in this machine's database
    auto Info = Reader.Read(C.Content ? Dir.Make(C.Name, C.Content) : Dir / C.Name);
    ASSERT_TRUE(Info) << C.Name;
    EXPECT_EQ(Info->Description, Mime.comment().toStdString()) << C.Name;
  }
  auto First = Reader.Read(Dir / "first.txt"), Second = Reader.Read(Dir / "second.txt");
  EXPECT_EQ(First->IconIndex, Second->IconIndex);  // one look-up per extension
  EXPECT_EQ(Reader.Icons().IconName(First->IconIndex), "text-plain");
  EXPECT_NE(Reader.Read(Dir / "picture.png")->IconIndex, First->IconIndex);

  // A renamed entry keeps the type its content gave, without reading it again, until a new name tells another.
  Grid.AddFile(Dir / "document");
  Dir.Make("document", "hello");
  for (const auto& [Name, Mime] : {std::pair{"renamed", "application/pdf"}, {"renamed.txt", "text/plain"}}) {
    std::filesystem::rename(Grid.GetFileName(0), Dir / Name);
    Grid.RenamedFile(0, Dir / Name);
    EXPECT_EQ(Grid.File(0).Description, QMimeDatabase().mimeTypeForName(Mime).comment().toStdString()) << Name;
  }
}
