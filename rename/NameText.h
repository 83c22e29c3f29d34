// File names as code points. Names are UTF-8 bytes in std::string; the rename
// engine counts and compares code points. Linux allows any bytes in a name, so
// every byte that does not start or belong to a well-formed UTF-8 sequence
// becomes one code point U+DC80..U+DCFF (the byte plus 0xDC00) and turns back
// into that same byte on encoding: such names rename without damage.
#pragma once

#include <string>
#include <string_view>

// A value no name can hold (above U+10FFFF). The matcher puts it in front of or
// behind a name to stand for the start or the end; encoding drops it.
inline constexpr char32_t NameBoundaryMark = 0x110000;

// True when every byte is ASCII, so a byte is a code point.
bool IsAsciiText(std::string_view Text);

// True when Text is well-formed UTF-8 (no overlong forms, no surrogates, at most U+10FFFF).
bool IsValidUtf8(std::string_view Text);

// Appends the code points of Text to Out (see the header comment for bytes that do not decode).
void DecodeUtf8(std::string_view Text, std::u32string& Out);
std::u32string DecodeUtf8(std::string_view Text);

// Appends the UTF-8 form of the code points to Out. U+DC80..U+DCFF become their
// single byte again; the boundary mark and any other value that is no
// character leave nothing (other lone surrogates become U+FFFD).
void EncodeUtf8(std::u32string_view Text, std::string& Out);
std::string EncodeUtf8(std::u32string_view Text);

// Simple case mapping of every code point (one code point to one, so the name
// keeps its length in code points: "straße" becomes "STRAßE").
std::string UpperCaseName(std::string_view Name);
std::string LowerCaseName(std::string_view Name);
