// Case mapping of file names, code point by code point (see base/Utf8.h for
// how bytes that do not decode are kept).
#pragma once

#include <string>
#include <string_view>

// A value no name can hold (above U+10FFFF). The matcher puts it in front of or
// behind a name to stand for the start or the end; encoding drops it.
inline constexpr char32_t NameBoundaryMark = 0x110000;

// Simple case mapping of every code point (one code point to one, so the name
// keeps its length in code points: "straße" becomes "STRAßE").
std::string UpperCaseName(std::string_view Name);
std::string LowerCaseName(std::string_view Name);
