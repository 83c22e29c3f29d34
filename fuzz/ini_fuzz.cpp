// INI files: the first line holds "Section|Key|Value|OtherSection|OtherKey",
// the rest is the file's text. The key is looked up and then set.
// Properties: no crash; a refused write changes nothing and happens only for
// names or values that cannot be stored; after a write the key reads back as
// written, the other key and the other section read as before, the text
// differs from the old one in one line's value or in added lines only, and
// writing the same value again changes nothing. On the same text read as a
// profile: Windows-1252 decoding gives UTF-8, and rules written into the text
// read back as written (the value above as the search text).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/Profile.h"
#include "base/IniFile.h"
#include "base/Utf8.h"

namespace {

void Require(bool Condition) {
  if (!Condition) std::abort();
}

std::string_view NextPart(std::string_view& Rest, char Separator) {
  const size_t Cut = Rest.find(Separator);
  const std::string_view Part = Rest.substr(0, Cut);
  Rest = Cut == std::string_view::npos ? std::string_view() : Rest.substr(Cut + 1);
  return Part;
}

void CheckProfile(const std::string& Text, std::string_view SearchString) {
  const std::string Utf8 = IsValidUtf8(Text) ? Text : Windows1252ToUtf8(Text);
  Require(IsValidUtf8(Utf8));
  TIniFile Profile(Utf8);
  TRenameSettings Rules = ReadProfileSettings(Profile);
  Rules.SearchString = SearchString;
  const bool Storable = IsValidUtf8(SearchString) && TIniFile::IsValidValue(SearchString);
  bool Stored = true;
  try {
    WriteProfileSettings(Profile, Rules);
  } catch (const EIniValueError&) {
    Stored = false;
  }
  Require(Stored == Storable);
  if (Storable) Require(ReadProfileSettings(Profile) == Rules);
}

void CheckIni(const std::string& Old, std::string_view Section, std::string_view Key, std::string_view Value,
              std::string_view OtherSection, std::string_view OtherKey) {
  TIniFile Ini{Old};
  const auto OldValue = Ini.ReadValue(Section, Key);
  const auto OtherKeyBefore = Ini.ReadValue(Section, OtherKey);
  const auto OtherSectionBefore = Ini.ReadValue(OtherSection, Key);
  const bool Storable =
      TIniFile::IsValidSectionName(Section) && TIniFile::IsValidKeyName(Key) && TIniFile::IsValidValue(Value);
  try {
    Ini.WriteString(Section, Key, Value);
  } catch (const EIniValueError&) {
    Require(!Storable && Ini.Text() == Old);
    return;
  }
  Require(Storable);
  Require(Ini.ReadValue(Section, Key) == Value);
  if (!TIniFile::SameName(OtherKey, Key)) Require(Ini.ReadValue(Section, OtherKey) == OtherKeyBefore);
  if (!TIniFile::SameName(OtherSection, Section)) Require(Ini.ReadValue(OtherSection, Key) == OtherSectionBefore);

  // Old and new text share everything but one stretch, and the old stretch
  // lies within one line: lines were only added, or one value replaced.
  const std::string& New = Ini.Text();
  size_t Prefix = 0;
  while (Prefix < Old.size() && Prefix < New.size() && Old[Prefix] == New[Prefix]) ++Prefix;
  size_t Suffix = 0;
  while (Suffix < Old.size() - Prefix && Suffix < New.size() - Prefix &&
         Old[Old.size() - 1 - Suffix] == New[New.size() - 1 - Suffix])
    ++Suffix;
  Require(Old.substr(Prefix, Old.size() - Prefix - Suffix).find('\n') == std::string::npos);
  if (OldValue) Require(New.size() == Old.size() - OldValue->size() + Value.size());

  const std::string Once = New;
  Ini.WriteString(Section, Key, Value);
  Require(Ini.Text() == Once);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  std::string_view Input(reinterpret_cast<const char*>(Data), Size);
  std::string_view Header = NextPart(Input, '\n');
  const std::string_view Section = NextPart(Header, '|');
  const std::string_view Key = NextPart(Header, '|');
  const std::string_view Value = NextPart(Header, '|');
  const std::string_view OtherSection = NextPart(Header, '|');
  const std::string Text(Input);
  CheckIni(Text, Section, Key, Value, OtherSection, Header);
  CheckProfile(Text, Value);
  return 0;
}
