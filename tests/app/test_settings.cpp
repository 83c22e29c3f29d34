// The settings file: where it lives, the document written byte for byte and
// read back by its value rules, and the file's behaviour on bad input and
// failed writes.
#include <gtest/gtest.h>

#include <functional>

#include "app/Settings.h"
#include "support/TempDir.h"

namespace {

// Folders under a temporary one: "config" as the configuration home, "bin" as the executable's.
struct TSettingsFolders {
  TSettingsFolders() {
    Environment = {Dir / "config", Dir / "bin"};
    std::filesystem::create_directories(Dir.Path / "config");
    std::filesystem::create_directories(Dir.Path / "bin");
  }
  std::string UserFolder() const { return Dir / "config/Velmora/Quorvane/"; }
  void CreateUserFolder() const { std::filesystem::create_directories(UserFolder()); }
  std::string UserFile() const { return UserFolder() + "Quorvane.2.X.X.X.xml"; }
  std::string BinFile() const { return Dir / "bin/Quorvane.2.X.X.X.xml"; }

  TTempDir Dir;
  TSettingsEnvironment Environment;
};

// The state a window starts with before reading its settings.
TAppSettings Designed() {
  TAppSettings S;
  S.WindowWidth = 640;
  S.WindowHeight = 480;
  for (const char* Name : {"toolbarProfile", "toolbarFileGrid", "toolbarAbout"}) {
    TToolbarSettings Toolbar;
    Toolbar.Name = Name;
    Toolbar.DockedTo = Toolbar.LastDock = "dockWindowTop";
    S.Toolbars.push_back(Toolbar);
  }
  return S;
}

std::unique_ptr<TXmlFile> Parse(const std::string& Text) {
  auto File = std::make_unique<TXmlFile>();
  TXmlReader(xsDefault, false).Parse(Text, *File);
  return File;
}

const std::string kRoot = "<Quorvane settingsVersion=\"2.0.0.0\">";

}  // namespace

TEST(Settings, FileLivesInTheUserFolderUnlessAPortableCopyIsBesideTheProgram) {
  const std::vector<std::tuple<std::string, std::function<void(TSettingsFolders&)>, std::string, std::string>> Cases = {
      // Name, set-up, the name for writing, the name for reading ("user", "bin" or "" for none).
      {"user folder with file", [](TSettingsFolders& F) { F.CreateUserFolder(); WriteFileAtomic(F.UserFile(), "x"); },
       "user", "user"},
      {"a portable copy beside the program",
       [](TSettingsFolders& F) { F.CreateUserFolder(); WriteFileAtomic(F.BinFile(), "x"); }, "bin", "bin"},
      {"no user folder yet: made on writing", [](TSettingsFolders&) {}, "user", ""},
      {"a folder named like the file", [](TSettingsFolders& F) { std::filesystem::create_directory(F.BinFile()); },
       "user", ""},
      {"no configuration home", [](TSettingsFolders& F) { F.Environment.ConfigHome.clear(); }, "", ""},
  };
  for (const auto& [Name, SetUp, Writing, Reading] : Cases) {
    SCOPED_TRACE(Name);
    TSettingsFolders F;
    SetUp(F);
    const auto Expected = [&](const std::string& Where) {
      return Where == "user" ? F.UserFile() : Where == "bin" ? F.BinFile() : std::string();
    };
    EXPECT_EQ(GetSettingsFileName(true, F.Environment), Expected(Reading));
    EXPECT_EQ(GetSettingsFileName(false, F.Environment), Expected(Writing));
  }
  // The settings folder made for writing is the user's own.
  TSettingsFolders F;
  F.Environment.ExecutableFolder.clear();
  ASSERT_EQ(GetSettingsFileName(false, F.Environment), F.UserFile());
  EXPECT_EQ(std::filesystem::status(F.UserFolder()).permissions(), std::filesystem::perms::owner_all);
  // A folder that cannot be made is an error naming it, not a quiet "nowhere".
  WriteFileAtomic(F.Dir / "file", "x");
  F.Environment.ConfigHome = F.Dir / "file";
  ExpectFileErrorNaming(F.Dir / "file/", [&] { GetSettingsFileName(false, F.Environment); });
}

TEST(Settings, ConfigurationHomeFollowsTheXdgRulesAndIgnoresRelativeValues) {
  const std::tuple<const char*, const char*, const char*> Cases[] = {
      {"/cfg", "/home/u", "/cfg"}, {"", "/home/u", "/home/u/.config"}, {"cfg", "/home/u/", "/home/u/.config"},
      {"", "home/u", ""},          {"", "", ""}};
  for (const auto& [ConfigHome, Home, Expected] : Cases) {
    SCOPED_TRACE(std::string(ConfigHome) + " " + Home);
    const TSettingsEnvironment Environment =
        TSettingsEnvironment::From({ConfigHome, Home, "/run/user/7", "/opt/q", "", "", "", "", ""});
    EXPECT_EQ(Environment.ConfigHome, Expected);
    EXPECT_EQ(Environment.ExecutableFolder, "/opt/q");
  }
}

TEST(Settings, DocumentIsWrittenInItsFixedLayoutAndReadsBackTheSame) {
  TTempDir Dir;
  Dir.Make("a.prf");
  TAppSettings S = Designed();
  S.WindowWidth = 800;
  S.WindowHeight = 600;
  S.ShowToolbarCaptions = false;
  S.Toolbars.resize(1);
  S.Toolbars[0] = {"toolbarAbout", false, "+", "", 1, 230, -5, 40, false};
  S.RecentFiles.Add(Dir / "a.prf");
  S.Grid.SortColumn = fcFileName;
  S.Grid.Columns[fcDescription].Visible = false;
  SetVisualOrder(S.Grid, {fcSize, 0, 1, 2, 3, 4, 6, 7, 8, 9});
  const std::unique_ptr<TXmlFile> Document = BuildSettingsDocument(S);
  const std::string Xml = Document->GetXml();
  std::string Columns;
  for (int I = 0; I < 10; ++I)  // Size moved to the front
    Columns += "\t\t\t<Column Index=\"" + std::to_string(I) + "\" Width=\"" +
               std::to_string(S.Grid.Columns[I].Width) + "\" Position=\"" + "1234506789"[I] + "\" Visible=\"" +
               (I == fcDescription ? "False" : "True") + "\"/>\r\n";
  EXPECT_EQ(Xml,
            "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
            "<Quorvane applicationVersion=\"" QUORVANE_VERSION "\" settingsVersion=\"2.0.0.0\">\r\n"
            "\t<FileGrid>\r\n"
            "\t\t<SortColumn>1</SortColumn>\r\n"
            "\t\t<SortDirection>Ascending</SortDirection>\r\n"
            "\t\t<Columns>\r\n" + Columns +
            "\t\t</Columns>\r\n"
            "\t</FileGrid>\r\n"
            "\t<Toolbars>\r\n"
            "\t\t<ShowToolbarCaptions>False</ShowToolbarCaptions>\r\n"
            "\t\t<toolbarAbout>\r\n"
            "\t\t\t<Rev>2000</Rev>\r\n"
            "\t\t\t<Visible>0</Visible>\r\n"
            "\t\t\t<DockedTo>+</DockedTo>\r\n"
            "\t\t\t<LastDock></LastDock>\r\n"
            "\t\t\t<DockRow>1</DockRow>\r\n"
            "\t\t\t<DockPos>230</DockPos>\r\n"
            "\t\t\t<FloatLeft>-5</FloatLeft>\r\n"
            "\t\t\t<FloatTop>40</FloatTop>\r\n"
            "\t\t</toolbarAbout>\r\n"
            "\t</Toolbars>\r\n"
            "\t<MRUFileList>\r\n"
            "\t\t<File>" + (Dir / "a.prf") + "</File>\r\n"
            "\t</MRUFileList>\r\n"
            "\t<Window>\r\n"
            "\t\t<WindowWidth>800</WindowWidth>\r\n"
            "\t\t<WindowHeight>600</WindowHeight>\r\n"
            "\t</Window>\r\n"
            "</Quorvane>\r\n");

  // Read onto a window in its designed state: every value comes back, and
  // writing again gives the same bytes.
  TAppSettings Read = Designed();
  Read.Toolbars.erase(Read.Toolbars.begin(), Read.Toolbars.begin() + 2);
  ASSERT_TRUE(ReadSettingsDocument(*Parse(Xml), Read));
  for (TToolbarSettings& Toolbar : S.Toolbars) Toolbar.Restored = true;
  EXPECT_EQ(Read, S);
  EXPECT_EQ(BuildSettingsDocument(Read)->GetXml(), Xml);

  S.Maximized = true;
  EXPECT_NE(BuildSettingsDocument(S)->GetXml().find(
                "<WindowHeight>600</WindowHeight>\r\n\t\t<WindowState>Maximized</WindowState>\r\n\t</Window>"),
            std::string::npos);
}

TEST(Settings, ValuesAreReadByTheirRulesAndOthersKeepTheirState) {
  using TEdit = std::function<void(TAppSettings&)>;
  const TEdit Nothing = [](TAppSettings&) {};
  const TEdit Size = [](TAppSettings& S) { S.WindowWidth = 900, S.WindowHeight = 700; };
  const std::string Window = "<Window><WindowWidth>900</WindowWidth><WindowHeight>700</WindowHeight>";
  const std::vector<std::tuple<std::string, std::string, TEdit>> Cases = {
      {"maximized", kRoot + Window + "<WindowState>Maximized</WindowState></Window></Quorvane>",
       [](TAppSettings& S) { S.Maximized = true; }},
      {"maximized in lower case", kRoot + Window + "<WindowState>maximized</WindowState></Window></Quorvane>", Size},
      {"another version", "<Quorvane settingsVersion=\"2.0.0.1\">" + Window + "</Window></Quorvane>", Nothing},
      {"a root of any name", "<Other settingsVersion=\"2.0.0.0\">" + Window + "</Window></Other>", Size},
      {"captions false", kRoot + "<Toolbars><ShowToolbarCaptions>false</ShowToolbarCaptions></Toolbars></Quorvane>",
       [](TAppSettings& S) { S.ShowToolbarCaptions = false; }},
      // Only a toolbar of the current revision is restored; a value without
      // text reads as empty for texts and as missing for numbers.
      {"toolbars", kRoot + "<Toolbars><toolbarProfile><Rev>1999</Rev><DockRow>5</DockRow></toolbarProfile>"
       "<toolbarAbout><Rev>2000</Rev><Visible>0</Visible><LastDock/><DockRow/><DockPos>x</DockPos>"
       "<FloatTop>12</FloatTop></toolbarAbout></Toolbars></Quorvane>",
       [](TAppSettings& S) {
         S.Toolbars[2].Visible = false, S.Toolbars[2].LastDock = "", S.Toolbars[2].FloatTop = 12;
         S.Toolbars[2].Restored = true;
       }},
  };
  for (const auto& [Name, Xml, Edit] : Cases) {
    SCOPED_TRACE(Name);
    TAppSettings Expected = Designed();
    Expected.RecentFiles.Add("/before.prf");
    TAppSettings Read = Expected;
    Edit(Expected);
    ReadSettingsDocument(*Parse(Xml), Read);
    EXPECT_EQ(Read, Expected);
  }
}

// LoadSettings' error message; empty when it succeeded.
static std::string LoadMessage(TAppSettings& Settings, const TSettingsEnvironment& Environment) {
  try {
    LoadSettings(Settings, Environment);
    return "";
  } catch (const EFileError& Error) {
    return Error.what();
  }
}

TEST(Settings, BadFilesReportOneErrorAndAreReplacedOnExit) {
  TSettingsFolders F;
  F.CreateUserFolder();
  TAppSettings S = Designed();
  EXPECT_EQ(LoadMessage(S, F.Environment), "");  // no file
  WriteFileAtomic(F.UserFile(), "");
  EXPECT_EQ(LoadMessage(S, F.Environment), "");
  EXPECT_EQ(S, Designed());

  // Valid up to a broken line: nothing read so far counts.
  WriteFileAtomic(F.UserFile(), kRoot + "\r\n<Window><WindowWidth>900</WindowWidth></Window>\r\n<MRUFileList><File>");
  EXPECT_EQ(LoadMessage(S, F.Environment),
            "Cannot read file \"" + F.UserFile() + "\": Unexpected end of file! (line 3, column 19)");
  EXPECT_EQ(S, Designed());
  WriteFileAtomic(F.UserFile(), kRoot + "</Quorvane><Second/>");  // refused by the tree, not the reader
  EXPECT_NE(LoadMessage(S, F.Environment).find(F.UserFile()), std::string::npos);
  EXPECT_EQ(S, Designed());

  S.WindowWidth = 1000;
  SaveSettings(S, F.Environment);
  TAppSettings Read = Designed();
  EXPECT_EQ(LoadMessage(Read, F.Environment), "");
  EXPECT_EQ(Read.WindowWidth, 1000);
}

TEST(Settings, SavingLeavesReadOnlyAndUnwritableFilesAlone) {
  TSettingsFolders F;
  F.CreateUserFolder();
  const std::string Before = kRoot + "</Quorvane>";
  WriteFileAtomic(F.UserFile(), Before);
  ::chmod(F.UserFile().c_str(), 0444);
  ExpectFileErrorNaming(F.UserFile(), [&] { SaveSettings(Designed(), F.Environment); });
  EXPECT_EQ(ReadFile(F.UserFile()), Before);

  // A recent path that a UTF-8 document cannot carry is left out.
  ::chmod(F.UserFile().c_str(), 0644);
  TAppSettings Odd = Designed();
  Odd.RecentFiles.Add(F.Dir.Make("\xff.prf"));
  Odd.RecentFiles.Add(F.Dir.Make("ok.prf"));
  SaveSettings(Odd, F.Environment);
  TAppSettings Read = Designed();
  EXPECT_EQ(LoadMessage(Read, F.Environment), "");
  EXPECT_EQ(Read.RecentFiles.Items(), std::vector<std::string>{F.Dir / "ok.prf"});
}
