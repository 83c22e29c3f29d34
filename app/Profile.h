// Profiles: files that hold one complete set of rename rules, stored as the
// keys of one INI section. Writing sets each key in place and keeps every
// other section, key and line; the file is replaced atomically, so a failed
// write leaves the previous file as it was. Profiles are written in UTF-8; a
// file that is not valid UTF-8 (as written by older editions) is read as
// Windows-1252.
#pragma once

#include <string>
#include <string_view>

#include "base/IniFile.h"
#include "rename/RenameSettings.h"

// The section that holds the rules.
inline constexpr std::string_view ProfileSection = "Quorvane-Profile";

// The rules held by Ini's text. Keys that are missing, or booleans that are
// not integers, give the values of a default TRenameSettings. A boolean is
// any 32-bit integer, decimal or hexadecimal after "$", "0x" or "0X"
// (optionally signed, blanks around it allowed); non-zero is true.
TRenameSettings ReadProfileSettings(const TIniFile& Ini);
// The rules of the profile file FileName; a file that does not exist gives
// the defaults. Throws EFileError when it exists but cannot be read.
TRenameSettings ReadProfileSettings(const std::string& FileName);

// Sets the thirteen keys in Ini in their fixed order, booleans as "1" and
// "0", texts as they are. Throws EIniValueError when a text cannot be stored
// (one with a line break, or one that is not valid UTF-8); keys set before
// it stay set.
void WriteProfileSettings(TIniFile& Ini, const TRenameSettings& Settings);
// Writes the rules into the profile file FileName, creating it when missing.
// Throws EFileError when the file cannot be read or written and
// EIniValueError when a value cannot be stored; the file is then left as it was.
void WriteProfileSettings(const std::string& FileName, const TRenameSettings& Settings);

// The message shown when a profile cannot be saved to FileName.
std::string ProfileWriteErrorText(const std::string& FileName);

// Text in Windows-1252 converted to UTF-8. The five bytes that code page
// leaves undefined become the control characters of the same number.
std::string Windows1252ToUtf8(std::string_view Text);
