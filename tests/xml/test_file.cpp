#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "XmlTestUtil.h"
#include "base/VmFileLib.h"
#include "support/TempDir.h"

using namespace xmltest;
namespace fs = std::filesystem;

TEST(XmlFile, SavesTheSettingsFileAndLoadsItBackReplacingTheTree) {
  TTempDir Dir;
  TXmlFile File;
  BuildSettingsExample(File);
  File.SaveToFile(Dir / "Quorvane.xml");
  EXPECT_EQ(ReadFile(Dir / "Quorvane.xml"), kSettingsExampleXml);
  TXmlFile Loaded;
  Loaded.Elements().AddNew<TXmlComment>("old");
  EXPECT_TRUE(Loaded.LoadFromFile(Dir / "Quorvane.xml"));
  EXPECT_EQ(Loaded.RootNode()->FindNode("FileGrid")->FindNode("SortDirection")->Text(), "Ascending");
  EXPECT_EQ(Loaded.GetXml(), kSettingsExampleXml);
}

TEST(XmlFile, LoadingKeepsTheTreeForAnEmptyOrUnreadableFileAndWhatWasReadForABrokenOne) {
  TTempDir Dir;
  WriteFileAtomic(Dir / "empty.xml", "");
  WriteFileAtomic(Dir / "broken.xml", "<?xml version=\"1.0\"?>\r\n<a>\r\n\t<b/>\r\n\t<c>");
  ::mkfifo((Dir / "fifo").c_str(), 0600);
  fs::create_directory(Dir / "folder");
  TXmlFile File;
  File.Elements().AddNew<TXmlNode>("kept");
  EXPECT_FALSE(File.LoadFromFile(Dir / "empty.xml"));
  EXPECT_FALSE(File.LoadFromFile(""));
  for (const std::string& Path : {Dir / "missing.xml", Dir / "folder", Dir / "fifo"}) {
    SCOPED_TRACE(Path);
    ExpectFileErrorNaming(Path, [&] { File.LoadFromFile(Path); });
  }
  EXPECT_EQ(Describe(File), "E(kept)");
  EXPECT_EQ(ErrorOf([&] { File.LoadFromFile(Dir / "broken.xml"); }), "Unexpected end of file! @4:4 \t<c>");
  EXPECT_EQ(Describe(File), "D(1.0,0,,yes) E(a)[E(b),E(c)]");
}

TEST(XmlFile, SavingReplacesTheFileAtomicallyAndAFailedSaveLeavesTheOldOne) {
  TTempDir Dir;
  const std::string Path = Dir / "settings.xml";
  WriteFileAtomic(Path, "old content");
  fs::create_hard_link(Path, Dir / "second-name");  // keeps the old content when the name gets a new file
  TXmlFile File;
  File.Elements().AddNew<TXmlNode>("root").Elements().AddNew<TXmlNode>("2bad");
  EXPECT_EQ(ErrorOf([&] { File.SaveToFile(Path); }), Unpositioned("Invalid start character for XML-element!"));
  EXPECT_EQ(ReadFile(Path), "old content");
  File.Elements().Clear();
  File.Elements().AddNew<TXmlNode>("new");
  File.SaveToFile(Path);
  EXPECT_EQ(ReadFile(Path) + ReadFile(Dir / "second-name"), "<new/>\r\nold content");
  fs::create_directory(Dir / "folder");
  std::vector<std::string> Failing = {Dir / "folder", Dir / "missing/settings.xml"};
  if (::geteuid() != 0) {  // root may write anywhere
    WriteFileAtomic(Dir / "folder/settings.xml", "old content");
    ::chmod((Dir / "folder").c_str(), 0500);
    Failing.push_back(Dir / "folder/settings.xml");
  }
  for (const auto& Target : Failing) {
    SCOPED_TRACE(Target);
    ExpectFileErrorNaming(Target, [&] { File.SaveToFile(Target); });
  }
  ::chmod((Dir / "folder").c_str(), 0700);
  EXPECT_TRUE(fs::is_directory(Dir / "folder"));
  EXPECT_EQ(Dir.EntryCount(), 3);  // no temporary file left behind
  if (::geteuid() != 0) {
    EXPECT_EQ(ReadFile(Dir / "folder/settings.xml"), "old content");
  }
}
