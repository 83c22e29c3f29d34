#include "app/Profile.h"

#include <algorithm>
#include <optional>

#include "base/Translation.h"
#include "base/Utf8.h"
#include "base/VmFileLib.h"
#include "base/VmStringLib.h"

namespace {

// Where each key lives in the record (a boolean or a text), in the order
// the keys are written and read.
struct TProfileKey {
  const char* Key;
  bool TRenameSettings::*Bool = nullptr;
  std::string TRenameSettings::*Text = nullptr;
};

constexpr TProfileKey ProfileKeys[] = {
    {"UpperCase", &TRenameSettings::UpperCase},
    {"LowerCase", &TRenameSettings::LowerCase},
    {"DelExtension", &TRenameSettings::DelExtension},
    {"AddExtension", &TRenameSettings::AddExtension},
    {"FileExtension", nullptr, &TRenameSettings::FileExtension},
    {"SearchAndReplace", &TRenameSettings::SearchAndReplace},
    {"SearchString", nullptr, &TRenameSettings::SearchString},
    {"ReplaceString", nullptr, &TRenameSettings::ReplaceString},
    {"CounterStartValue", nullptr, &TRenameSettings::CounterStartValue},
    {"CounterStepSize", nullptr, &TRenameSettings::CounterStepSize},
    {"CounterSameWidth", &TRenameSettings::CounterSameWidth},
    {"CounterWidth", nullptr, &TRenameSettings::CounterWidth},
    {"CounterFillZeros", &TRenameSettings::CounterFillZeros},
};

// Whether a boolean's text is a non-zero integer; empty when it is no integer.
std::optional<bool> ParseProfileBool(std::string_view Text) {
  Text = TrimBlanks(Text);
  std::string_view Digits = Text;
  if (!Digits.empty() && (Digits.front() == '+' || Digits.front() == '-')) Digits.remove_prefix(1);
  size_t Prefix = 0;
  if (Digits.starts_with('$'))
    Prefix = 1;
  else if (Digits.starts_with("0x") || Digits.starts_with("0X"))
    Prefix = 2;
  if (Prefix == 0) {
    const std::optional<int32_t> Value = TryStrToInt(Text);
    if (!Value) return std::nullopt;
    return *Value != 0;
  }
  Digits.remove_prefix(Prefix);
  if (Digits.empty()) return std::nullopt;
  const std::string_view Significant = Digits.substr(std::min(Digits.find_first_not_of('0'), Digits.size()));
  if (Significant.size() > 8) return std::nullopt;  // beyond 32 bits
  try {
    return HexToInt(Digits) != 0;
  } catch (const EConvertError&) {
    return std::nullopt;
  }
}

}  // namespace

TRenameSettings ReadProfileSettings(const TIniFile& Ini) {
  TRenameSettings Settings;
  for (const TProfileKey& Entry : ProfileKeys) {
    const std::optional<std::string> Value = Ini.ReadValue(ProfileSection, Entry.Key);
    if (!Value) continue;
    if (Entry.Bool) {
      if (const std::optional<bool> Flag = ParseProfileBool(*Value)) Settings.*Entry.Bool = *Flag;
    } else {
      Settings.*Entry.Text = *Value;
    }
  }
  return Settings;
}

namespace {

// The profile file's text, in UTF-8 whatever encoding it was stored in.
TIniFile LoadProfileText(const std::string& FileName) {
  TIniFile Ini = TIniFile::Load(FileName);
  if (IsValidUtf8(Ini.Text())) return Ini;
  return TIniFile(Windows1252ToUtf8(Ini.Text()));
}

}  // namespace

TRenameSettings ReadProfileSettings(const std::string& FileName) {
  return ReadProfileSettings(LoadProfileText(FileName));
}

void WriteProfileSettings(TIniFile& Ini, const TRenameSettings& Settings) {
  for (const TProfileKey& Entry : ProfileKeys) {
    const std::string Value = Entry.Bool ? (Settings.*Entry.Bool ? "1" : "0") : Settings.*Entry.Text;
    // Bytes that are not UTF-8 would make the whole file read as Windows-1252.
    if (!IsValidUtf8(Value))
      throw EIniValueError(Filled(Tr("Profile", "Cannot store key \"%1\": the value is not UTF-8"), {Entry.Key}));
    Ini.WriteString(ProfileSection, Entry.Key, Value);
  }
}

void WriteProfileSettings(const std::string& FileName, const TRenameSettings& Settings) {
  // A file in Windows-1252 is rewritten in UTF-8 as a whole, so that its
  // other lines and the new values share one encoding.
  TIniFile Ini = LoadProfileText(FileName);
  WriteProfileSettings(Ini, Settings);
  Ini.Save(FileName);
}

std::string ProfileWriteErrorText(const std::string& FileName) {
  return Filled(Tr("Profile", "Kann Profil nicht in Datei \"%1\" speichern!\n\r( Datei schreibgeschützt? )"),
                {FileName});
}

std::string Windows1252ToUtf8(std::string_view Text) {
  // Only 0x80..0x9F differ from Latin-1, whose bytes are their own code points.
  static constexpr char16_t High[32] = {
      0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
      0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
      0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
  };
  std::u32string CodePoints;
  CodePoints.reserve(Text.size());
  for (const char C : Text) {
    const auto Byte = static_cast<unsigned char>(C);
    CodePoints.push_back(Byte >= 0x80 && Byte <= 0x9F ? High[Byte - 0x80] : Byte);
  }
  return EncodeUtf8(CodePoints);
}
