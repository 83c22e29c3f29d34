#include <sys/stat.h>

#include <filesystem>

#include "XmlTestUtil.h"
#include "base/VmFileLib.h"
#include "support/TempDir.h"

using namespace xmltest;

TEST(XmlFile, LoadingKeepsTheTreeForAnEmptyUnreadableOrTooLargeFileAndWhatWasReadForABrokenOne) {
  TTempDir Dir;
  Dir.Make("empty.xml");
  Dir.Make("broken.xml", "<?xml version=\"1.0\"?>\r\n<a>\r\n\t<b/>\r\n\t<c>");
  TXmlFile File;
  File.Elements().AddNew<TXmlNode>("kept");
  EXPECT_FALSE(File.LoadFromFile(Dir / "empty.xml"));
  EXPECT_FALSE(File.LoadFromFile(""));
  ExpectFileErrorNaming(Dir / "missing.xml", [&] { File.LoadFromFile(Dir / "missing.xml"); });
  ExpectFileErrorNaming(Dir / "broken.xml", [&] { File.LoadFromFile(Dir / "broken.xml", 10); });
  EXPECT_EQ(Describe(File), "E(kept)");
  EXPECT_EQ(ErrorOf([&] { File.LoadFromFile(Dir / "broken.xml"); }), "Unexpected end of file! @4:4 \t<c>");
  EXPECT_EQ(Describe(File), "D(1.0,0,,yes) E(a)[E(b),E(c)]");
}

// Writing itself is WriteFileAtomic's, tested with it; here the tree is checked before the file is touched.
TEST(XmlFile, ATreeThatCannotBeWrittenLeavesTheOldFile) {
  TTempDir Dir;
  const std::string Path = Dir.Make("settings.xml", "old content");
  TXmlFile File;
  File.Elements().AddNew<TXmlNode>("root").Elements().AddNew<TXmlNode>("2bad");
  EXPECT_EQ(ErrorOf([&] { File.SaveToFile(Path); }), Unpositioned("Invalid start character for XML-element!"));
  EXPECT_EQ(ReadFile(Path), "old content");
  ExpectFileErrorNaming(Dir.Path, [&] { TXmlFile().SaveToFile(Dir.Path); });
  EXPECT_EQ(Dir.EntryCount(), 1);  // no temporary file left behind
}
