// File names and paths. Only "/" separates folders; "\" and ":" are
// ordinary characters of a name.
#pragma once

#include <string>
#include <string_view>

// Name without its last extension: everything before the last "." that comes
// after the last "/". Unchanged when there is no such dot (".profile" gives "").
std::string RemoveFileExt(std::string_view Name);
// The last extension without its dot; empty when there is none.
std::string GetFileExt(std::string_view Name);
// Name, a dot unless Ext begins with one, and Ext.
std::string AppendFileExt(std::string_view Name, std::string_view Ext);
// The part of a path after its last "/" (the whole text when there is none).
std::string_view NamePart(std::string_view Path);
