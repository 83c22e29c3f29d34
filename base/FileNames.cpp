#include "base/FileNames.h"

namespace {

// Position of the dot that starts the last extension, or npos. Only "/"
// separates folders; "\" and ":" are ordinary characters of a name.
size_t ExtensionDot(std::string_view Name) {
  const size_t Found = Name.find_last_of("./");
  if (Found == std::string_view::npos || Name[Found] != '.') return std::string_view::npos;
  return Found;
}

}  // namespace

std::string RemoveFileExt(std::string_view Name) {
  const size_t Dot = ExtensionDot(Name);
  return std::string(Dot == std::string_view::npos ? Name : Name.substr(0, Dot));
}

std::string GetFileExt(std::string_view Name) {
  const size_t Dot = ExtensionDot(Name);
  return Dot == std::string_view::npos ? std::string() : std::string(Name.substr(Dot + 1));
}

std::string AppendFileExt(std::string_view Name, std::string_view Ext) {
  std::string Result(Name);
  if (!Ext.starts_with('.')) Result += '.';
  Result += Ext;
  return Result;
}

std::string_view NamePart(std::string_view Path) {
  const size_t Slash = Path.rfind('/');
  return Slash == std::string_view::npos ? Path : Path.substr(Slash + 1);
}
