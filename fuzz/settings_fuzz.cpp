// Feeds arbitrary bytes to the settings reader as the content of a settings
// file: the parse, the version check, the window values, the toolbar
// callbacks, the grid's options and the recent-profile list. Parse errors are
// expected; crashes, hangs and sanitizer reports are not. What was read must
// be within its bounds, and writing it and reading it again must give the
// same settings.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/Settings.h"

namespace {

void Check(bool Condition) {
  if (!Condition) std::abort();
}

// A window's state before reading: its three toolbars, everything else at rest.
TAppSettings Designed() {
  TAppSettings S;
  for (const char* Name : {"toolbarProfile", "toolbarFileGrid", "toolbarAbout"}) {
    TToolbarSettings Toolbar;
    Toolbar.Name = Name;
    S.Toolbars.push_back(std::move(Toolbar));
  }
  return S;
}

bool IsBlank(const std::string& Text) {
  return !Text.empty() && Text.find_first_not_of(" \t\r\n") == std::string::npos;
}

void CheckBounds(const TAppSettings& S) {
  Check(S.Grid.SortColumn >= -1 && S.Grid.SortColumn < FileGridColumnCount);
  std::array<bool, FileGridColumnCount> Seen{};
  for (const TFileGridColumnLayout& Column : S.Grid.Columns) {
    Check(Column.Width >= MinColumnWidth && Column.Width <= MaxColumnWidth);
    Check(Column.Position >= 0 && Column.Position < FileGridColumnCount && !Seen[Column.Position]);
    Seen[Column.Position] = true;
  }
  const std::vector<std::string>& Recent = S.RecentFiles.Items();
  Check(Recent.size() <= TRecentFiles::MaxCount);
  for (size_t I = 0; I < Recent.size(); ++I)
    Check(std::count(Recent.begin(), Recent.end(), Recent[I]) == 1);
}

std::unique_ptr<TXmlFile> Parse(std::string_view Text) {
  auto Document = std::make_unique<TXmlFile>();
  try {
    TXmlReader(xsDefault, false).Parse(Text, *Document);
  } catch (const Exception&) {
    return nullptr;
  }
  return Document;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  const std::unique_ptr<TXmlFile> Document = Parse({reinterpret_cast<const char*>(Data), Size});
  if (!Document) return 0;

  TAppSettings Read = Designed();
  const bool Known = ReadSettingsDocument(*Document, Read);
  Check(Known || Read == Designed());
  CheckBounds(Read);
  // The grid's reader takes any element, not only a well-placed "FileGrid".
  if (const TXmlNode* Root = Document->RootNode()) {
    TFileGridLayout Layout = DefaultFileGridLayout();
    LoadOptions(*Root, Layout);
    for (const auto& Child : Root->Elements())
      if (const auto* Node = XmlAs<TXmlNode>(Child.get())) LoadOptions(*Node, Layout);
  }

  // Written and read again, the settings come back. Blank texts do not
  // survive the reader, which drops whitespace between elements; every
  // toolbar is stored with its revision, so all come back restored.
  TAppSettings Expected = Read;
  for (TToolbarSettings& Toolbar : Expected.Toolbars) {
    Toolbar.Restored = true;
    if (IsBlank(Toolbar.DockedTo)) Toolbar.DockedTo.clear();
    if (IsBlank(Toolbar.LastDock)) Toolbar.LastDock.clear();
  }
  const std::string Xml = BuildSettingsDocument(Read)->GetXml();
  const std::unique_ptr<TXmlFile> Again = Parse(Xml);
  Check(Again != nullptr);
  TAppSettings ReadAgain = Designed();
  Check(ReadSettingsDocument(*Again, ReadAgain));
  Check(ReadAgain == Expected);
  return 0;
}
