// Byte-string helpers: hexadecimal texts, splitting, and strict integer texts.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The value of a hexadecimal text without prefix or sign, wrapping at 32 bits.
// An empty text gives 0; any other character throws EConvertError.
uint32_t HexToInt(std::string_view HexString);

// Cuts Text at every Separator. Always one piece more than separators, empty
// pieces included: "" gives one empty piece, "a." gives "a" and "".
std::vector<std::string> Split(std::string_view Text, char Separator);

// A 32-bit signed decimal: an optional sign followed by ASCII digits, nothing
// else (no blanks, no prefix). Empty when the text is anything else or out of range.
std::optional<int32_t> TryStrToInt(std::string_view Text);

// A Boolean: a text that TryStrToInt reads (0 false, anything else true), or
// "True" or "False" with ASCII letters in any case. Empty for anything else.
std::optional<bool> TryStrToBool(std::string_view Text);

// Whether A and B are equal when ASCII letters are compared without case.
bool SameTextIgnoringAsciiCase(std::string_view A, std::string_view B);

// Text without the blanks and tabs at either end.
std::string_view TrimBlanks(std::string_view Text);
