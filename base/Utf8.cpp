#include "base/Utf8.h"

namespace {

// Length of the well-formed sequence starting at Text[I], with its code point
// in Cp; 0 when the byte there does not start one.
size_t DecodeOne(std::string_view Text, size_t I, char32_t& Cp) {
  const auto Byte = [&](size_t K) { return static_cast<unsigned char>(Text[K]); };
  const unsigned char B0 = Byte(I);
  const size_t Left = Text.size() - I;
  const auto Cont = [&](size_t K) { return (Byte(I + K) & 0xC0) == 0x80; };
  if (B0 < 0x80) {
    Cp = B0;
    return 1;
  }
  if (B0 >= 0xC2 && B0 <= 0xDF) {
    if (Left < 2 || !Cont(1)) return 0;
    Cp = (char32_t(B0 & 0x1F) << 6) | (Byte(I + 1) & 0x3F);
    return 2;
  }
  if (B0 >= 0xE0 && B0 <= 0xEF) {
    if (Left < 3 || !Cont(1) || !Cont(2)) return 0;
    const unsigned char B1 = Byte(I + 1);
    if (B0 == 0xE0 && B1 < 0xA0) return 0;  // overlong
    if (B0 == 0xED && B1 >= 0xA0) return 0;  // surrogate
    Cp = (char32_t(B0 & 0x0F) << 12) | (char32_t(B1 & 0x3F) << 6) | (Byte(I + 2) & 0x3F);
    return 3;
  }
  if (B0 >= 0xF0 && B0 <= 0xF4) {
    if (Left < 4 || !Cont(1) || !Cont(2) || !Cont(3)) return 0;
    const unsigned char B1 = Byte(I + 1);
    if (B0 == 0xF0 && B1 < 0x90) return 0;  // overlong
    if (B0 == 0xF4 && B1 >= 0x90) return 0;  // above U+10FFFF
    Cp = (char32_t(B0 & 0x07) << 18) | (char32_t(B1 & 0x3F) << 12) | (char32_t(Byte(I + 2) & 0x3F) << 6) |
         (Byte(I + 3) & 0x3F);
    return 4;
  }
  return 0;
}

}  // namespace

bool IsAsciiText(std::string_view Text) {
  for (const char C : Text)
    if (static_cast<unsigned char>(C) >= 0x80) return false;
  return true;
}

bool IsValidUtf8(std::string_view Text) {
  char32_t Cp = 0;
  for (size_t I = 0; I < Text.size();) {
    const size_t Len = DecodeOne(Text, I, Cp);
    if (Len == 0) return false;
    I += Len;
  }
  return true;
}

void DecodeUtf8(std::string_view Text, std::u32string& Out) {
  // ASCII, the common case, one byte a code point.
  size_t I = 0;
  const size_t Old = Out.size();
  Out.resize(Old + Text.size());
  char32_t* Dest = Out.data() + Old;
  while (I < Text.size() && static_cast<unsigned char>(Text[I]) < 0x80) {
    Dest[I] = static_cast<unsigned char>(Text[I]);
    ++I;
  }
  Out.resize(Old + I);
  char32_t Cp = 0;
  while (I < Text.size()) {
    const size_t Len = DecodeOne(Text, I, Cp);
    if (Len == 0) {
      Out.push_back(Utf8RawByteBase + static_cast<unsigned char>(Text[I]));
      ++I;
    } else {
      Out.push_back(Cp);
      I += Len;
    }
  }
}

std::u32string DecodeUtf8(std::string_view Text) {
  std::u32string Out;
  DecodeUtf8(Text, Out);
  return Out;
}

void EncodeUtf8(std::u32string_view Text, std::string& Out) {
  size_t I = 0;
  const size_t Old = Out.size();
  Out.resize(Old + Text.size());
  char* Dest = Out.data() + Old;
  while (I < Text.size() && Text[I] < 0x80) {
    Dest[I] = static_cast<char>(Text[I]);
    ++I;
  }
  Out.resize(Old + I);
  for (char32_t Cp : Text.substr(I)) {
    if (Cp < 0x80) {
      Out.push_back(static_cast<char>(Cp));
    } else if (Cp < 0x800) {
      Out.push_back(static_cast<char>(0xC0 | (Cp >> 6)));
      Out.push_back(static_cast<char>(0x80 | (Cp & 0x3F)));
    } else if (Cp >= 0xD800 && Cp <= 0xDFFF) {
      if (Cp >= Utf8RawByteBase + 0x80 && Cp <= Utf8RawByteBase + 0xFF) {
        Out.push_back(static_cast<char>(Cp - Utf8RawByteBase));
      } else {
        Out.append("\xEF\xBF\xBD");
      }
    } else if (Cp < 0x10000) {
      Out.push_back(static_cast<char>(0xE0 | (Cp >> 12)));
      Out.push_back(static_cast<char>(0x80 | ((Cp >> 6) & 0x3F)));
      Out.push_back(static_cast<char>(0x80 | (Cp & 0x3F)));
    } else if (Cp <= 0x10FFFF) {
      Out.push_back(static_cast<char>(0xF0 | (Cp >> 18)));
      Out.push_back(static_cast<char>(0x80 | ((Cp >> 12) & 0x3F)));
      Out.push_back(static_cast<char>(0x80 | ((Cp >> 6) & 0x3F)));
      Out.push_back(static_cast<char>(0x80 | (Cp & 0x3F)));
    }
    // Anything above U+10FFFF leaves nothing.
  }
}

std::string EncodeUtf8(std::u32string_view Text) {
  std::string Out;
  EncodeUtf8(Text, Out);
  return Out;
}

std::string TruncateUtf8(std::string_view Text, size_t MaxChars) {
  size_t Chars = 0;
  for (size_t I = 0; I < Text.size(); ++I) {
    // Continuation bytes do not start a character.
    if ((static_cast<unsigned char>(Text[I]) & 0xC0) != 0x80 && Chars++ == MaxChars)
      return std::string(Text.substr(0, I));
  }
  return std::string(Text);
}
