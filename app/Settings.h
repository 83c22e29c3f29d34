// The per-user settings file: window size or maximized state, toolbar
// captions and positions, the grid's layout and the recent profiles, kept in
// an XML document that is read once at start-up and written once at exit.
// This is the core without a window: the window fills a TAppSettings from its
// controls and applies one back; everything here runs without a display.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/Environment.h"
#include "app/RecentFiles.h"
#include "filegrid/FileGridLayout.h"
#include "xml/Xml.h"

// The settings file's name, the same for every version of the program.
inline constexpr std::string_view SettingsFileTitle = "Quorvane.2.X.X.X.xml";
// The folder below the user's configuration folder that holds the file.
inline constexpr std::string_view SettingsFolderName = "Velmora/Quorvane/";
// A file whose settingsVersion is not exactly this is ignored as a whole.
inline constexpr std::string_view SettingsVersion = "2.0.0.0";
// A stored toolbar is applied only when its Rev is this.
inline constexpr int ToolbarRevision = 2000;

// Where the settings file may live; tests make up their own.
struct TSettingsEnvironment {
  std::string ConfigHome;        // $XDG_CONFIG_HOME, else $HOME/.config; empty when neither is known
  std::string ExecutableFolder;  // the running program's folder; empty when unknown

  // The folders for a process with these environment values. Relative values
  // of XDG_CONFIG_HOME and HOME are ignored, as the XDG base directory rules say.
  static TSettingsEnvironment From(const TProcessEnvironment& Process);
};

// The settings file's full path: beside the executable when a settings file
// is there already (a portable copy), else in ConfigHome's "Velmora/Quorvane/".
// With MustExist the result is empty unless a regular file of that name
// exists. Without it a missing settings folder is created (mode 0700);
// EFileError when that fails. Empty when no folder is known at all.
std::string GetSettingsFileName(bool MustExist, const TSettingsEnvironment& Environment);

// One toolbar's place as stored under its own element of "Toolbars".
struct TToolbarSettings {
  std::string Name;  // the toolbar's component name, also its element name (must be an XML name)
  bool Visible = true;
  std::string DockedTo;  // the dock holding it, "+" when floating, empty when its dock allows no dragging
  std::string LastDock;  // the dock it was last docked to, or empty
  int DockRow = 0;       // row within the dock
  int DockPos = 0;       // position along the row, in pixels
  int FloatLeft = 0;
  int FloatTop = 0;
  bool Restored = false;  // set by reading: stored values were found and applied

  bool operator==(const TToolbarSettings&) const = default;
};

// Everything the settings file keeps. Reading changes only what it finds, so
// the window fills this with its designed state first.
struct TAppSettings {
  int WindowWidth = 0;
  int WindowHeight = 0;
  bool Maximized = false;  // when read as true, the stored width and height were not read
  std::optional<bool> ShowToolbarCaptions;  // written only when set; set by reading when stored
  std::vector<TToolbarSettings> Toolbars;   // written in this order; read by name
  TRecentFiles RecentFiles;
  TFileGridLayout Grid = DefaultFileGridLayout();

  bool operator==(const TAppSettings&) const = default;
};

// The whole settings document: a declaration saying "UTF-8", then the root
// "Quorvane" (attributes applicationVersion, settingsVersion) with "FileGrid",
// "Toolbars", "MRUFileList" and "Window". Recent paths that a UTF-8 document
// cannot carry back unchanged (not UTF-8, control characters) are left out.
std::unique_ptr<TXmlFile> BuildSettingsDocument(const TAppSettings& Settings);
// Reads a settings document onto Settings; values that are missing, have no
// text or do not read keep Settings' value. False, with nothing changed, when
// the document has no root element or its settingsVersion is not exactly SettingsVersion.
bool ReadSettingsDocument(const TXmlFile& Document, TAppSettings& Settings);

// Reads the settings file (GetSettingsFileName with MustExist) onto Settings.
// No file, an empty one or one of another version: nothing changes, no
// error. A file that cannot be read (or is larger than MaxTextFileSize) or
// parsed: nothing changes and EFileError carries the message for one error
// box, naming the file (and the line and column of a parse error).
void LoadSettings(TAppSettings& Settings, const TSettingsEnvironment& Environment);
// Replaces the settings file (GetSettingsFileName without MustExist) with
// Settings atomically. Throws EFileError when it was not written: no usable
// folder, a read-only file (left alone), or a failed write (the previous
// file stays whole).
void SaveSettings(const TAppSettings& Settings, const TSettingsEnvironment& Environment);

// Toolbar values under the "Toolbars" element. The writers find or append
// the toolbar's element and append a value element to it; the readers give
// Default unless both elements exist (and, for integers, the value's first
// text is an integer).
void WriteToolbarInt(const std::string& ToolbarName, const std::string& ValueName, int Value, TXmlNode& Toolbars);
void WriteToolbarString(const std::string& ToolbarName, const std::string& ValueName, const std::string& Value,
                        TXmlNode& Toolbars);
int ReadToolbarInt(const std::string& ToolbarName, const std::string& ValueName, int Default,
                   const TXmlNode& Toolbars);
std::string ReadToolbarString(const std::string& ToolbarName, const std::string& ValueName,
                              const std::string& Default, const TXmlNode& Toolbars);

// Writes one toolbar's values in their fixed order: Rev, Visible, DockedTo,
// LastDock, DockRow, DockPos, FloatLeft, FloatTop.
void SaveToolbarPosition(const TToolbarSettings& Toolbar, TXmlNode& Toolbars);
// Reads the values stored for Toolbar.Name onto Toolbar (missing ones keep
// theirs) when its Rev is ToolbarRevision; returns whether it did.
bool LoadToolbarPosition(TToolbarSettings& Toolbar, const TXmlNode& Toolbars);
