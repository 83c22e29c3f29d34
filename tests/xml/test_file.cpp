#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>

#include "XmlTestUtil.h"
#include "base/VmFileLib.h"
#include "support/TempDir.h"
#include "xml/Xml.h"

using namespace xmltest;
namespace fs = std::filesystem;

namespace {

// A document holding only a root named Name.
void SetRoot(TXmlFile& File, const std::string& Name) {
  File.Elements().Clear();
  File.Elements().AddNew<TXmlNode>(Name);
}

}  // namespace

TEST(XmlFile, SavesTheSettingsFileAndLoadsItBack) {
  TTempDir Dir;
  TXmlFile File;
  BuildSettingsExample(File);
  File.SaveToFile(Dir / "Quorvane.xml");
  EXPECT_EQ(ReadWholeFile(Dir / "Quorvane.xml"), kSettingsExampleXml);

  TXmlFile Loaded;
  SetRoot(Loaded, "old");
  EXPECT_TRUE(Loaded.LoadFromFile(Dir / "Quorvane.xml"));
  EXPECT_EQ(Describe(Loaded), kSettingsExampleTree);
  EXPECT_EQ(Loaded.RootNode()->FindNode("FileGrid")->FindNode("SortColumn")->TextElement()->AsInteger(), 0);
  EXPECT_EQ(Loaded.GetXml(), kSettingsExampleXml);
}

TEST(XmlFile, EmptyFileOrEmptyNameLoadsNothingAndKeepsTheTree) {
  TTempDir Dir;
  WriteFileAtomic(Dir / "empty.xml", "");
  TXmlFile File;
  SetRoot(File, "kept");
  EXPECT_FALSE(File.LoadFromFile(Dir / "empty.xml"));
  EXPECT_FALSE(File.LoadFromFile(""));
  EXPECT_EQ(Describe(File), "E(kept)");
}

TEST(XmlFile, LoadingAFileThatCannotBeReadFailsNamingItAndKeepsTheTree) {
  TTempDir Dir;
  ::mkfifo((Dir / "fifo").c_str(), 0600);
  fs::create_directory(Dir / "folder");
  std::vector<std::string> Paths = {Dir / "missing.xml", Dir / "folder", Dir / "fifo"};
  if (::geteuid() != 0) {
    WriteFileAtomic(Dir / "secret.xml", "<a/>");
    ::chmod((Dir / "secret.xml").c_str(), 0);
    Paths.push_back(Dir / "secret.xml");
  }
  for (const auto& Path : Paths) {
    SCOPED_TRACE(Path);
    TXmlFile File;
    SetRoot(File, "kept");
    ExpectFileErrorNaming(Path, [&] { File.LoadFromFile(Path); });
    EXPECT_EQ(Describe(File), "E(kept)");
  }
}

TEST(XmlFile, LoadingABrokenFileKeepsWhatWasReadBeforeTheError) {
  TTempDir Dir;
  WriteFileAtomic(Dir / "broken.xml", "<?xml version=\"1.0\"?>\r\n<a>\r\n\t<b/>\r\n\t<c>");
  TXmlFile File;
  SetRoot(File, "old");
  try {
    File.LoadFromFile(Dir / "broken.xml");
    ADD_FAILURE() << "no error";
  } catch (const EXmlException& E) {
    EXPECT_STREQ(E.what(), "Unexpected end of file!");
    EXPECT_EQ(E.Line, 4);
    EXPECT_EQ(E.LineText, "\t<c>");
  }
  EXPECT_EQ(Describe(File), "D(1.0,0,,yes) E(a)[E(b),E(c)]");
}

TEST(XmlFile, AFailedSaveLeavesTheOldFileAsItWas) {
  TTempDir Dir;
  const std::string Path = Dir / "settings.xml";
  WriteFileAtomic(Path, "old content");
  TXmlFile File;
  File.Elements().AddNew<TXmlNode>("root").Elements().AddNew<TXmlNode>("2bad");
  ExpectXmlError([&] { File.SaveToFile(Path); }, "Invalid start character for XML-element!");
  EXPECT_EQ(ReadWholeFile(Path), "old content");

  SetRoot(File, "r");
  fs::create_directory(Dir / "folder");
  std::vector<std::string> Paths = {Dir / "folder", Dir / "missing/settings.xml"};
  if (::geteuid() != 0) {  // root may write anywhere
    WriteFileAtomic(Dir / "folder/settings.xml", "old content");
    ::chmod((Dir / "folder").c_str(), 0500);
    Paths.push_back(Dir / "folder/settings.xml");
  }
  for (const auto& Path : Paths) {
    SCOPED_TRACE(Path);
    ExpectFileErrorNaming(Path, [&] { File.SaveToFile(Path); });
  }
  ::chmod((Dir / "folder").c_str(), 0700);
  EXPECT_TRUE(fs::is_directory(Dir / "folder"));
  if (::geteuid() != 0) {
    EXPECT_EQ(ReadWholeFile(Dir / "folder/settings.xml"), "old content");
  }
  EXPECT_EQ(Dir.EntryCount(), 2);  // no temporary file left behind
}

TEST(XmlFile, SavingReplacesTheFileInsteadOfOverwritingIt) {
  TTempDir Dir;
  const std::string Path = Dir / "settings.xml";
  WriteFileAtomic(Path, "old content");
  // A second name for the old file still sees the old content afterwards:
  // the new text went to a new file that took the name over.
  fs::create_hard_link(Path, Dir / "second-name");
  TXmlFile File;
  SetRoot(File, "new");
  File.SaveToFile(Path);
  EXPECT_EQ(ReadWholeFile(Path), "<new/>\r\n");
  EXPECT_EQ(ReadWholeFile(Dir / "second-name"), "old content");
  EXPECT_EQ(Dir.EntryCount(), 2);
}
