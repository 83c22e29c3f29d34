// Character sets and fixed names shared by the model, the reader and the
// writer, so that whatever one writes the others read.
#pragma once

// "A".."Z", "a".."z" and "_".
inline bool IsXmlNameStart(char C) { return (C >= 'A' && C <= 'Z') || (C >= 'a' && C <= 'z') || C == '_'; }
// A name start character, "0".."9", "-", "." or ":".
inline bool IsXmlNameChar(char C) {
  return IsXmlNameStart(C) || (C >= '0' && C <= '9') || C == '-' || C == '.' || C == ':';
}

// The type attribute's text of stCss, stXsl and stXml, by ordinal.
inline constexpr const char* XmlStylesheetTypeNames[] = {"text/css", "text/xsl", "text/xml"};
