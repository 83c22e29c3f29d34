// The recent-profile list: order, exact comparison, captions, and loading the stored entries.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "app/RecentFiles.h"
#include "support/TempDir.h"

namespace {

// The entries joined by blanks, each without the first Skip characters.
std::string Joined(const TRecentFiles& List, size_t Skip = 0) {
  std::string Text;
  for (const std::string& Path : List.Items()) Text += (Text.empty() ? "" : " ") + Path.substr(Skip);
  return Text;
}

}  // namespace

TEST(RecentFiles, AddingPutsTheFullPathOnTopAndKeepsThree) {
  const std::string Cwd = std::filesystem::current_path().string();
  const std::vector<std::pair<std::vector<std::string>, std::string>> Cases = {
      {{"/a", "/b", "/c", "/d"}, "/d /c /b"},       {{"/a", "/b", "/c", "/b"}, "/b /c /a"},
      {{"/p/A.prf", "/p/a.prf"}, "/p/a.prf /p/A.prf"},  // names differing in case are two files
      {{"/p/./q/../a.prf", "/p/a.prf"}, "/p/a.prf"}, {{"x.prf"}, Cwd + "/x.prf"},
      {{"/a", ""}, "/a"},
  };
  for (const auto& [Added, Expected] : Cases) {
    SCOPED_TRACE(Expected);
    TRecentFiles List;
    for (const std::string& Path : Added) List.Add(Path);
    EXPECT_EQ(Joined(List), Expected);
  }
}

// "&" would make the next letter an accelerator; the digit is the one meant.
TEST(RecentFiles, CaptionsCarryTheAcceleratorDigitAndTheNameOnly) {
  TRecentFiles List;
  for (const char* Path : {"/x/R&D.prf", "/z/a b.prf"}) List.Add(Path);
  EXPECT_EQ(List.Caption(0), "&1 a b.prf");
  EXPECT_EQ(List.Caption(1), "&2 R&&D.prf");
}

TEST(RecentFiles, LoadingKeepsTheFirstThreeExistingFilesInOrder) {
  TTempDir Dir;
  for (const char* Name : {"A", "B", "C", "D", "a"}) Dir.Make(Name);
  ASSERT_EQ(::mkdir((Dir / "folder").c_str(), 0700), 0);
  const std::vector<std::pair<std::vector<std::string>, std::string>> Cases = {
      {{"A", "B", "C", "D"}, "A B C"},              {{"gone", "B", "folder", "", "B", "D", "C"}, "B D C"},
      {{"A", "a"}, "A a"},                          {{"gone"}, ""},
  };
  for (const auto& [Names, Expected] : Cases) {
    SCOPED_TRACE(Expected);
    std::vector<std::string> Paths;
    for (const std::string& Name : Names) Paths.push_back(Name.empty() ? Name : Dir / Name);
    Paths.insert(Paths.begin(), Paths.front() + std::string(1, '\0') + "x");  // names no file
    TRecentFiles List;
    List.Add("/old");
    List.LoadExisting(Paths);
    EXPECT_EQ(Joined(List, Dir.Path.string().size() + 1), Expected);
  }
}
