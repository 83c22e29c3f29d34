#include "base/VmStringLib.h"

#include "base/VmBaseClasses.h"

uint32_t HexToInt(std::string_view HexString) {
  uint32_t Value = 0;
  for (const char C : HexString) {
    uint32_t Digit;
    if (C >= '0' && C <= '9')
      Digit = static_cast<uint32_t>(C - '0');
    else if (C >= 'A' && C <= 'F')
      Digit = static_cast<uint32_t>(C - 'A' + 10);
    else if (C >= 'a' && C <= 'f')
      Digit = static_cast<uint32_t>(C - 'a' + 10);
    else
      throw EConvertError("HexString contains invalid characters!");
    Value = Value * 16 + Digit;  // unsigned: wraps, so only the last eight digits count
  }
  return Value;
}

std::vector<std::string> Split(std::string_view Text, char Separator) {
  std::vector<std::string> Pieces;
  size_t Start = 0;
  for (size_t I = 0; I < Text.size(); ++I) {
    if (Text[I] == Separator) {
      Pieces.emplace_back(Text.substr(Start, I - Start));
      Start = I + 1;
    }
  }
  Pieces.emplace_back(Text.substr(Start));
  return Pieces;
}

std::optional<int32_t> TryStrToInt(std::string_view Text) {
  size_t I = 0;
  bool Negative = false;
  if (I < Text.size() && (Text[I] == '+' || Text[I] == '-')) {
    Negative = Text[I] == '-';
    ++I;
  }
  if (I == Text.size()) return std::nullopt;
  int64_t Value = 0;
  for (; I < Text.size(); ++I) {
    const char C = Text[I];
    if (C < '0' || C > '9') return std::nullopt;
    Value = Value * 10 + (C - '0');
    if (Value > int64_t{1} << 31) return std::nullopt;  // beyond any 32-bit magnitude
  }
  if (Negative) Value = -Value;
  if (Value > INT32_MAX || Value < INT32_MIN) return std::nullopt;
  return static_cast<int32_t>(Value);
}

bool SameTextIgnoringAsciiCase(std::string_view A, std::string_view B) {
  const auto Lower = [](char C) { return C >= 'A' && C <= 'Z' ? static_cast<char>(C + ('a' - 'A')) : C; };
  if (A.size() != B.size()) return false;
  for (size_t I = 0; I < A.size(); ++I)
    if (Lower(A[I]) != Lower(B[I])) return false;
  return true;
}

std::optional<bool> TryStrToBool(std::string_view Text) {
  if (const std::optional<int32_t> Number = TryStrToInt(Text)) return *Number != 0;
  if (SameTextIgnoringAsciiCase(Text, "true")) return true;
  if (SameTextIgnoringAsciiCase(Text, "false")) return false;
  return std::nullopt;
}

std::string_view TrimBlanks(std::string_view Text) {
  const auto IsBlank = [](char C) { return C == ' ' || C == '\t'; };
  while (!Text.empty() && IsBlank(Text.front())) Text.remove_prefix(1);
  while (!Text.empty() && IsBlank(Text.back())) Text.remove_suffix(1);
  return Text;
}
