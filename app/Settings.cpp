#include "app/Settings.h"

#include <sys/stat.h>

#include <algorithm>

#include "base/Translation.h"
#include "base/Utf8.h"
#include "base/VmFileLib.h"

namespace {

bool IsRegularFile(const std::string& Path) {
  struct stat Info {};
  return ::stat(Path.c_str(), &Info) == 0 && S_ISREG(Info.st_mode);
}

// Folder with exactly one trailing '/'.
std::string WithSlash(std::string Folder) {
  if (Folder.empty()) return Folder;
  while (Folder.size() > 1 && Folder.back() == '/') Folder.pop_back();
  if (Folder.back() != '/') Folder += '/';
  return Folder;
}

// The first text of Parent's child Name; nullptr when either is missing.
const TXmlText* ValueText(const TXmlNode* Parent, std::string_view Name) {
  const TXmlNode* Value = Parent ? Parent->FindNode(Name) : nullptr;
  return Value ? Value->TextElement() : nullptr;
}

void ReadInteger(const TXmlNode* Parent, std::string_view Name, int& Value) {
  const TXmlText* Text = ValueText(Parent, Name);
  if (Text && Text->IsInteger()) Value = Text->AsInteger();
}

// Whether Text comes back unchanged from a document declared as UTF-8.
bool IsStorableText(std::string_view Text) {
  return IsValidUtf8(Text) &&
         std::none_of(Text.begin(), Text.end(), [](char C) { return static_cast<unsigned char>(C) < 0x20; });
}

TXmlNode& ToolbarNode(const std::string& ToolbarName, TXmlNode& Toolbars) {
  if (TXmlNode* Found = Toolbars.FindNode(ToolbarName)) return *Found;
  return Toolbars.Elements().AddNew<TXmlNode>(ToolbarName);
}

}  // namespace

TSettingsEnvironment TSettingsEnvironment::From(const TProcessEnvironment& Process) {
  TSettingsEnvironment Environment;
  if (Process.ConfigHome.starts_with('/'))
    Environment.ConfigHome = Process.ConfigHome;
  else if (Process.Home.starts_with('/'))
    Environment.ConfigHome = WithSlash(Process.Home) + ".config";
  Environment.ExecutableFolder = Process.ExecutableFolder;
  return Environment;
}

std::string GetSettingsFileName(bool MustExist, const TSettingsEnvironment& Environment) {
  const std::string Title(SettingsFileTitle);
  // A settings file beside the program is a portable copy: it stays there.
  if (!Environment.ExecutableFolder.empty()) {
    const std::string Portable = WithSlash(Environment.ExecutableFolder) + Title;
    if (IsRegularFile(Portable)) return Portable;
  }
  if (Environment.ConfigHome.empty()) return {};
  const std::string UserFolder = WithSlash(Environment.ConfigHome) + std::string(SettingsFolderName);
  if (MustExist) return IsRegularFile(UserFolder + Title) ? UserFolder + Title : std::string();
  CreateFolders(UserFolder);
  return UserFolder + Title;
}

// ---- Toolbars -------------------------------------------------------------

void WriteToolbarInt(const std::string& ToolbarName, const std::string& ValueName, int Value, TXmlNode& Toolbars) {
  ToolbarNode(ToolbarName, Toolbars).Elements().AddNew<TXmlNode>(ValueName).Elements().AddNew<TXmlText>(int32_t{Value});
}

void WriteToolbarString(const std::string& ToolbarName, const std::string& ValueName, const std::string& Value,
                        TXmlNode& Toolbars) {
  ToolbarNode(ToolbarName, Toolbars).Elements().AddNew<TXmlNode>(ValueName, Value);
}

int ReadToolbarInt(const std::string& ToolbarName, const std::string& ValueName, int Default,
                   const TXmlNode& Toolbars) {
  ReadInteger(Toolbars.FindNode(ToolbarName), ValueName, Default);
  return Default;
}

std::string ReadToolbarString(const std::string& ToolbarName, const std::string& ValueName,
                              const std::string& Default, const TXmlNode& Toolbars) {
  // An empty value is written as an element without text and must read back
  // as empty, not as the default.
  const TXmlNode* Toolbar = Toolbars.FindNode(ToolbarName);
  const TXmlNode* Value = Toolbar ? Toolbar->FindNode(ValueName) : nullptr;
  return Value ? Value->Text() : Default;
}

void SaveToolbarPosition(const TToolbarSettings& Toolbar, TXmlNode& Toolbars) {
  WriteToolbarInt(Toolbar.Name, "Rev", ToolbarRevision, Toolbars);
  WriteToolbarInt(Toolbar.Name, "Visible", Toolbar.Visible ? 1 : 0, Toolbars);
  WriteToolbarString(Toolbar.Name, "DockedTo", Toolbar.DockedTo, Toolbars);
  WriteToolbarString(Toolbar.Name, "LastDock", Toolbar.LastDock, Toolbars);
  WriteToolbarInt(Toolbar.Name, "DockRow", Toolbar.DockRow, Toolbars);
  WriteToolbarInt(Toolbar.Name, "DockPos", Toolbar.DockPos, Toolbars);
  WriteToolbarInt(Toolbar.Name, "FloatLeft", Toolbar.FloatLeft, Toolbars);
  WriteToolbarInt(Toolbar.Name, "FloatTop", Toolbar.FloatTop, Toolbars);
}

bool LoadToolbarPosition(TToolbarSettings& Toolbar, const TXmlNode& Toolbars) {
  if (ReadToolbarInt(Toolbar.Name, "Rev", 0, Toolbars) != ToolbarRevision) return false;
  Toolbar.Visible = ReadToolbarInt(Toolbar.Name, "Visible", Toolbar.Visible ? 1 : 0, Toolbars) != 0;
  Toolbar.DockedTo = ReadToolbarString(Toolbar.Name, "DockedTo", Toolbar.DockedTo, Toolbars);
  Toolbar.LastDock = ReadToolbarString(Toolbar.Name, "LastDock", Toolbar.LastDock, Toolbars);
  Toolbar.DockRow = ReadToolbarInt(Toolbar.Name, "DockRow", Toolbar.DockRow, Toolbars);
  Toolbar.DockPos = ReadToolbarInt(Toolbar.Name, "DockPos", Toolbar.DockPos, Toolbars);
  Toolbar.FloatLeft = ReadToolbarInt(Toolbar.Name, "FloatLeft", Toolbar.FloatLeft, Toolbars);
  Toolbar.FloatTop = ReadToolbarInt(Toolbar.Name, "FloatTop", Toolbar.FloatTop, Toolbars);
  return true;
}

// ---- The document ---------------------------------------------------------

std::unique_ptr<TXmlFile> BuildSettingsDocument(const TAppSettings& Settings) {
  auto Document = std::make_unique<TXmlFile>();
  Document->Elements().AddNew<TXmlDeclaration>(xeCustom, "UTF-8");
  auto& Root = Document->Elements().AddNew<TXmlNode>("Quorvane");
  Root.Attributes.Add("applicationVersion", QUORVANE_VERSION);
  Root.Attributes.Add("settingsVersion", std::string(SettingsVersion));

  std::unique_ptr<TXmlNode> Grid = SaveOptions(Settings.Grid);
  Grid->Name = "FileGrid";
  Root.Elements().Add(std::move(Grid));

  auto& Toolbars = Root.Elements().AddNew<TXmlNode>("Toolbars");
  if (Settings.ShowToolbarCaptions)
    Toolbars.Elements().AddNew<TXmlNode>("ShowToolbarCaptions", *Settings.ShowToolbarCaptions ? "True" : "False");
  for (const TToolbarSettings& Toolbar : Settings.Toolbars) SaveToolbarPosition(Toolbar, Toolbars);

  auto& Recent = Root.Elements().AddNew<TXmlNode>("MRUFileList");
  for (const std::string& Path : Settings.RecentFiles.Items())
    if (IsStorableText(Path)) Recent.Elements().AddNew<TXmlNode>("File", Path);

  auto& Window = Root.Elements().AddNew<TXmlNode>("Window");
  Window.Elements().AddNew<TXmlNode>("WindowWidth").Elements().AddNew<TXmlText>(int32_t{Settings.WindowWidth});
  Window.Elements().AddNew<TXmlNode>("WindowHeight").Elements().AddNew<TXmlText>(int32_t{Settings.WindowHeight});
  if (Settings.Maximized) Window.Elements().AddNew<TXmlNode>("WindowState", "Maximized");
  return Document;
}

bool ReadSettingsDocument(const TXmlFile& Document, TAppSettings& Settings) {
  const TXmlNode* Root = Document.RootNode();
  if (!Root || !Root->Attributes.ContainsKey("settingsVersion") ||
      Root->Attributes.GetValue("settingsVersion") != SettingsVersion)
    return false;

  if (const TXmlNode* Window = Root->FindNode("Window")) {
    const TXmlText* State = ValueText(Window, "WindowState");
    if (State && State->Text == "Maximized") Settings.Maximized = true;
    // A maximized window keeps its designed size for when it is restored.
    if (!Settings.Maximized) {
      ReadInteger(Window, "WindowWidth", Settings.WindowWidth);
      ReadInteger(Window, "WindowHeight", Settings.WindowHeight);
    }
  }
  if (const TXmlNode* Toolbars = Root->FindNode("Toolbars")) {
    const TXmlText* Captions = ValueText(Toolbars, "ShowToolbarCaptions");
    if (Captions && Captions->IsBoolean()) Settings.ShowToolbarCaptions = Captions->AsBoolean();
    for (TToolbarSettings& Toolbar : Settings.Toolbars) Toolbar.Restored = LoadToolbarPosition(Toolbar, *Toolbars);
  }
  if (const TXmlNode* Grid = Root->FindNode("FileGrid")) LoadOptions(*Grid, Settings.Grid);
  if (const TXmlNode* Recent = Root->FindNode("MRUFileList")) {
    std::vector<std::string> Paths;
    for (const auto& Child : Recent->Elements()) {
      const auto* File = XmlAs<TXmlNode>(Child.get());
      if (File && File->Name == "File") Paths.push_back(File->Text());
    }
    Settings.RecentFiles.LoadExisting(Paths);
  }
  return true;
}

// ---- The file -------------------------------------------------------------

void LoadSettings(TAppSettings& Settings, const TSettingsEnvironment& Environment) {
  const std::string FileName = GetSettingsFileName(true, Environment);
  if (FileName.empty()) return;
  try {
    TXmlFile Document;
    if (!Document.LoadFromFile(FileName)) return;
    // The whole file is parsed before anything is read from it, so a broken
    // file changes nothing.
    ReadSettingsDocument(Document, Settings);
  } catch (const EFileError&) {
    throw;  // it names the file already
  } catch (const EXmlException& Error) {
    if (Error.Line > 0)
      throw EFileError(Filled(Tr("Settings", "Cannot read file \"%1\": %2 (line %3, column %4)"),
                              {FileName, Error.what(), std::to_string(Error.Line), std::to_string(Error.Column)}));
    throw EFileError(Filled(Tr("Settings", "Cannot read file \"%1\": %2"), {FileName, Error.what()}));
  } catch (const Exception& Error) {
    throw EFileError(Filled(Tr("Settings", "Cannot read file \"%1\": %2"), {FileName, Error.what()}));
  }
}

void SaveSettings(const TAppSettings& Settings, const TSettingsEnvironment& Environment) {
  const std::string FileName = GetSettingsFileName(false, Environment);
  if (FileName.empty())
    throw EFileError(
        Tr("Settings", "Cannot write the settings file: no configuration folder and no writable program folder"));
  RefuseReadOnlyFile(FileName);
  BuildSettingsDocument(Settings)->SaveToFile(FileName);
}
