// The characters XML names are made of, shared by the reader and the writer
// so that whatever one writes the other reads.
#pragma once

// "A".."Z", "a".."z" and "_".
inline bool IsXmlNameStart(char C) { return (C >= 'A' && C <= 'Z') || (C >= 'a' && C <= 'z') || C == '_'; }
// A name start character, "0".."9", "-", "." or ":".
inline bool IsXmlNameChar(char C) {
  return IsXmlNameStart(C) || (C >= '0' && C <= '9') || C == '-' || C == '.' || C == ':';
}
