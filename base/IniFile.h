// INI files: "[Section]" headers followed by "Key=Value" lines. Section and
// key names compare without regard to ASCII letter case. Setting a key edits
// the text in place: an existing key gets its new value on its own line, a
// missing key or section is added, and every other byte of the text (other
// sections, keys, comments, blank lines, line endings) stays as it was.
//
// Reading rules:
// - A line whose first non-blank character is '[' and that holds a ']' is a
//   section header; the name is what lies between them, without blanks
//   around it. A '[' line without ']' belongs to no key and ends nothing.
// - Lines starting with ';' or '#' are comments.
// - Any other line with '=' is a key: the key is the text before the first
//   '=' without blanks around it; the value is everything after that '=' up
//   to the line's end, kept exactly (blanks and quotation marks included),
//   however long it is.
// - Lines end with LF; CRs right before it (or at the end of the text) are
//   part of the line ending, a CR inside a line is an ordinary byte.
// - When a section or a key appears twice, the first one counts.
// - A UTF-8 byte order mark at the start is skipped.
// The text is bytes; this module neither checks nor converts its encoding.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "base/VmBaseClasses.h"

// Raised when a section, key or value cannot be stored so that it reads back
// the same; the message says which and why.
class EIniValueError : public Exception {
 public:
  using Exception::Exception;
};

class TIniFile {
 public:
  TIniFile() = default;
  explicit TIniFile(std::string Text) : FText(std::move(Text)) {}

  // The text of the file at Path; a file that does not exist gives an empty
  // text. Throws EFileError when the file exists but cannot be read or is
  // larger than MaxTextFileSize.
  static TIniFile Load(const std::string& Path);
  // Replaces the file at Path with the text atomically (the previous file
  // stays whole when this fails). A file without write permission for its
  // owner, or one this user may not write, is refused. Throws EFileError.
  void Save(const std::string& Path) const;

  const std::string& Text() const { return FText; }

  // The value of Key in the first section named Section; empty when either is missing.
  std::optional<std::string> ReadValue(std::string_view Section, std::string_view Key) const;
  // The value, or Default when the key is missing.
  std::string ReadString(std::string_view Section, std::string_view Key, std::string_view Default) const;

  // Sets Key in Section to Value. An existing key keeps its line and only its
  // value changes; a missing key goes behind the section's last non-blank
  // line; a missing section is appended at the end. New lines use the line
  // ending of the text's first line (LF for a text without one).
  // Throws EIniValueError and changes nothing when the names or the value
  // cannot be stored so that they read back the same (the three checks below).
  void WriteString(std::string_view Section, std::string_view Key, std::string_view Value);

  // Whether two section or key names are the same (ASCII letters compare without case).
  static bool SameName(std::string_view A, std::string_view B);
  // A section name: not empty, no line break or ']', no blank at either end.
  static bool IsValidSectionName(std::string_view Name);
  // A key name: not empty, no line break or '=', no blank at either end, and
  // not starting with '[', ';' or '#'.
  static bool IsValidKeyName(std::string_view Name);
  // A value: any bytes but LF, and not ending in CR.
  static bool IsValidValue(std::string_view Value);

 private:
  std::string FText;
};
