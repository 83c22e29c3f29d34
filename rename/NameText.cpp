#include "rename/NameText.h"

#include "base/Utf8.h"

#include <QChar>

namespace {

template <char32_t (*Map)(char32_t) noexcept>
std::string MapCase(std::string_view Name, char (*AsciiMap)(char)) {
  std::string Result;
  if (IsAsciiText(Name)) {
    Result.resize(Name.size());
    for (size_t I = 0; I < Name.size(); ++I) Result[I] = AsciiMap(Name[I]);
    return Result;
  }
  std::u32string Cps = DecodeUtf8(Name);
  for (char32_t& Cp : Cps)
    if (Cp < Utf8RawByteBase || Cp > Utf8RawByteBase + 0xFF) Cp = Map(Cp);
  EncodeUtf8(Cps, Result);
  return Result;
}

char AsciiUpper(char C) { return (C >= 'a' && C <= 'z') ? char(C - 'a' + 'A') : C; }
char AsciiLower(char C) { return (C >= 'A' && C <= 'Z') ? char(C - 'A' + 'a') : C; }
char32_t QtUpper(char32_t C) noexcept { return QChar::toUpper(C); }
char32_t QtLower(char32_t C) noexcept { return QChar::toLower(C); }

}  // namespace

std::string UpperCaseName(std::string_view Name) { return MapCase<QtUpper>(Name, AsciiUpper); }
std::string LowerCaseName(std::string_view Name) { return MapCase<QtLower>(Name, AsciiLower); }
