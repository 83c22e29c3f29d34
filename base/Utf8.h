// UTF-8 text as code points. Text is UTF-8 bytes in std::string; Linux allows
// any bytes in a file name, so every byte that does not start or belong to a
// well-formed UTF-8 sequence becomes one code point U+DC80..U+DCFF (the byte
// plus 0xDC00) and turns back into that same byte on encoding: such names
// survive a round trip without damage.
#pragma once

#include <string>
#include <string_view>

// Added to a byte that does not decode to give its code point.
inline constexpr char32_t Utf8RawByteBase = 0xDC00;

// True when every byte is ASCII, so a byte is a code point.
bool IsAsciiText(std::string_view Text);

// True when Text is well-formed UTF-8 (no overlong forms, no surrogates, at most U+10FFFF).
bool IsValidUtf8(std::string_view Text);

// Appends the code points of Text to Out (see the header comment for bytes that do not decode).
void DecodeUtf8(std::string_view Text, std::u32string& Out);
std::u32string DecodeUtf8(std::string_view Text);

// Appends the UTF-8 form of the code points to Out. U+DC80..U+DCFF become their
// single byte again; any value above U+10FFFF leaves nothing (other lone
// surrogates become U+FFFD).
void EncodeUtf8(std::u32string_view Text, std::string& Out);
std::string EncodeUtf8(std::u32string_view Text);

// The first MaxChars code points of a UTF-8 text.
std::string TruncateUtf8(std::string_view Text, size_t MaxChars);
