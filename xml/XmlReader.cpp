// The reader: one pass over the text in memory, one recursion per element
// level, errors positioned by line and column.
#include "base/VmStringLib.h"
#include "xml/Xml.h"
#include "xml/XmlChars.h"

namespace {

bool IsWhitespace(char C) { return C == ' ' || C == '\t' || C == '\n' || C == '\r'; }
bool IsLineBreak(char C) { return C == '\n' || C == '\r'; }

constexpr int NoInvalid = 256;  // matches no byte

// Errors go through Error() and carry their position, except the few thrown
// directly below (a stray character between attributes, an end tag that does
// not match or is not closed, and the declaration's own attribute checks):
// they are reported by message alone, as this format's reader always did, and
// callers only ever show the message.
}  // namespace

void TXmlReader::Error(const char* Message) const {
  // Each run of CR and LF counts as one line break; the line text is the
  // whole line that holds the position, line breaks in it shown as blanks.
  const size_t Pos = std::min(FPos, FText.size() - 1);
  int Line = 1;
  int Column = 0;
  size_t LineStart = 0;
  bool Break = false;
  for (size_t I = 0; I <= Pos; ++I) {
    if (IsLineBreak(FText[I])) {
      Break = true;
    } else if (Break) {
      ++Line;
      Column = 0;
      LineStart = I;
      Break = false;
    }
    ++Column;
  }
  std::string LineText(FText.substr(LineStart, Pos + 1 - LineStart));
  for (char& C : LineText)
    if (IsLineBreak(C)) C = ' ';
  if (!IsLineBreak(FText[Pos])) {
    size_t End = Pos + 1;
    while (End < FText.size() && !IsLineBreak(FText[End])) ++End;
    LineText.append(FText.substr(Pos + 1, End - Pos - 1));
  }
  throw EXmlException(Message, std::move(LineText), Column, Line);
}

void TXmlReader::Advance(size_t N) {
  FPos += N;
  if (FPos >= FText.size()) {
    FPos = FText.size() - 1;
    Error("Unexpected end of file!");
  }
}

void TXmlReader::NeedAvailable(size_t N) const {
  if (FText.size() - FPos < N) Error("Unexpected end of file!");
}

bool TXmlReader::LookingAt(std::string_view What) const {
  NeedAvailable(What.size());
  return FText.substr(FPos, What.size()) == What;
}

void TXmlReader::SkipWhitespace() {
  while (IsWhitespace(C())) Advance(1);
}

template <class TStop>
void TXmlReader::ReadUpTo(std::string& Out, TStop IsStop, int Invalid, bool Entities) {
  // Plain runs are copied whole; entities and normalised line breaks end a run.
  size_t Run = FPos;
  for (;;) {
    const char Ch = C();
    if (IsStop(Ch)) break;
    if (static_cast<unsigned char>(Ch) == Invalid) Error("Invalid character found!");
    if (Ch == '&' && Entities) {
      Out.append(FText.substr(Run, FPos - Run));
      Out += ReadEntity();
      Run = FPos + 1;
    } else if (Ch == '\r' && FNormalizeLineBreaks) {
      Out.append(FText.substr(Run, FPos - Run));
      Out += '\n';
      if (FPos + 1 < FText.size() && FText[FPos + 1] == '\n') ++FPos;
      Run = FPos + 1;
    }
    Advance(1);
  }
  Out.append(FText.substr(Run, FPos - Run));
}

void TXmlReader::ReadUpToTerminator(std::string& Out, std::string_view Terminator) {
  const size_t End = FText.find(Terminator, FPos);
  if (End == std::string_view::npos) {
    FPos = FText.size() - 1;
    Error("Unexpected end of file!");
  }
  if (FNormalizeLineBreaks) {
    for (size_t I = FPos; I < End; ++I) {
      if (FText[I] != '\r') {
        Out += FText[I];
      } else {
        Out += '\n';
        if (I + 1 < End && FText[I + 1] == '\n') ++I;
      }
    }
  } else {
    Out.append(FText.substr(FPos, End - FPos));
  }
  FPos = End + Terminator.size() - 1;
}

char TXmlReader::ReadEntity() {
  const auto IsSemicolon = [](char Ch) { return Ch == ';'; };
  std::string Digits;
  Advance(1);
  if (C() == '#') {
    Advance(1);
    uint32_t Code;
    if (C() == 'x') {
      Advance(1);
      ReadUpTo(Digits, IsSemicolon, NoInvalid, false);
      try {
        Code = HexToInt(Digits);
      } catch (const EConvertError&) {
        Error("Invalid entity!");
      }
    } else {
      ReadUpTo(Digits, IsSemicolon, NoInvalid, false);
      const std::optional<int32_t> Value = TryStrToInt(Digits);
      if (!Value) Error("Invalid entity!");
      Code = static_cast<uint32_t>(*Value);
    }
    return static_cast<char>(Code & 0xFF);  // the text is 8-bit: the low byte is kept
  }
  ReadUpTo(Digits, IsSemicolon, NoInvalid, false);
  if (Digits == "amp") return '&';
  if (Digits == "lt") return '<';
  if (Digits == "gt") return '>';
  if (Digits == "quot") return '"';
  if (Digits == "apos") return '\'';
  Error("Unknown entity!");
}

std::string TXmlReader::ReadName() {
  if (!IsXmlNameStart(C())) Error("Invalid start character in XML-element!");
  const size_t Start = FPos;
  while (IsXmlNameChar(C())) Advance(1);
  return std::string(FText.substr(Start, FPos - Start));
}

std::string TXmlReader::ReadTagName() {
  std::string Name = ReadName();
  const char Ch = C();
  if (!IsWhitespace(Ch) && Ch != '/' && Ch != '>') Error("Invalid character in XML tag name!");
  return Name;
}

std::string TXmlReader::ReadAttributeName() {
  std::string Name = ReadName();
  SkipWhitespace();
  if (C() != '=') Error("Invalid character in XML attribute!");
  Advance(1);
  return Name;
}

std::string TXmlReader::ReadAttributeValue() {
  SkipWhitespace();
  const char Quote = C();
  if (Quote != '"' && Quote != '\'') Error("Invalid character in XML attribute value!");
  Advance(1);
  std::string Value;
  ReadUpTo(Value, [Quote](char Ch) { return Ch == Quote; }, '<', true);
  Advance(1);
  return Value;
}

void TXmlReader::ReadAttribute(TVmHashtable& Attributes) {
  std::string Name = ReadAttributeName();
  std::string Value = ReadAttributeValue();
  Attributes.Add(std::move(Name), std::move(Value));
}

void TXmlReader::Parse(std::string_view Text, TXmlElementContainer& Container) {
  FText = Text;
  // Elements read here never set their own whitespace mode, so all of them
  // inherit the one in force at Container.
  FMode = FDefaultXmlSpace;
  for (const TXmlElement* Level = &Container; Level; Level = Level->Parent()) {
    const auto& Above = static_cast<const TXmlElementContainer&>(*Level);
    if (Above.XmlSpace != xsNone) {
      FMode = Above.XmlSpace;
      break;
    }
  }
  for (;;) {
    const size_t Next = FText.find('<', FPos);
    if (Next == std::string_view::npos) break;
    FPos = Next;  // text outside markup at this level is skipped
    ParseMarkup(Container, 0);
  }
}

void TXmlReader::ParseMarkup(TXmlElementContainer& Container, int Depth) {
  // On entry the position is on "<"; on return it is on the markup's last character.
  Advance(1);
  const char Kind = C();
  if (Kind == '!') {
    const std::string_view Rest = FText.substr(FPos);
    if (Rest.starts_with("!--")) {
      Advance(3);
      auto& Comment = Container.Elements().AddNew<TXmlComment>();
      ReadUpToTerminator(Comment.Text, "-->");
    } else if (Rest.starts_with("![CDATA[")) {
      Advance(8);
      auto& Text = Container.Elements().AddNew<TXmlText>();
      Text.IsCData = true;
      ReadUpToTerminator(Text.Text, "]]>");
    } else {
      Error("Unknown or invalid node type!");
    }
  } else if (Kind == '?') {
    Advance(1);
    ParseInstruction(Container);
  } else if (IsXmlNameStart(Kind)) {
    ParseElement(Container, Depth + 1);
  } else {
    Error("Unknown tag found!");
  }
}

void TXmlReader::ParseInstruction(TXmlElementContainer& Container) {
  std::string Target = ReadTagName();
  TXmlInstruction* Instruction;
  TVmHashtable* Attributes = nullptr;
  if (Target == "xml") {
    auto& Declaration = Container.Elements().AddNew<TXmlDeclaration>();
    Attributes = &Declaration.Attributes;
    Instruction = &Declaration;
  } else if (Target == "xml-stylesheet") {
    auto& Stylesheet = Container.Elements().AddNew<TXmlStylesheetReference>();
    Attributes = &Stylesheet.Attributes;
    Instruction = &Stylesheet;
  } else {
    auto& Generic = Container.Elements().AddNew<TXmlProcessingInstruction>();
    Generic.Target = std::move(Target);
    Instruction = &Generic;
  }
  for (;;) {
    SkipWhitespace();
    if (LookingAt("?>")) {
      Advance(1);
      return;
    }
    if (Attributes) {
      if (!IsXmlNameStart(C())) throw EXmlException("Unexpected/invalid character found!");
      ReadAttribute(*Attributes);
    } else {
      ReadUpToTerminator(static_cast<TXmlProcessingInstruction*>(Instruction)->Data, "?>");
      return;
    }
  }
}

void TXmlReader::ParseElement(TXmlElementContainer& Container, int Depth) {
  if (Depth > MaxDepth) Error("Maximum nesting depth of XML-elements exceeded!");
  auto& Node = Container.Elements().AddNew<TXmlNode>(ReadTagName());
  for (;;) {
    SkipWhitespace();
    const char Ch = C();
    if (IsXmlNameStart(Ch)) {
      ReadAttribute(Node.Attributes);
    } else if (Ch == '>') {
      Advance(1);
      break;
    } else if (LookingAt("/>")) {  // also reports the end of the text inside the tag, with its position
      Advance(1);
      return;  // an empty element
    } else {
      throw EXmlException("Unexpected/invalid character found!");
    }
  }

  // Content, up to and including the end tag.
  for (;;) {
    std::string Text;
    ReadUpTo(Text, [](char Ch) { return Ch == '<'; }, '>', true);
    const bool Blank = FMode == xsDefault &&
                       std::all_of(Text.begin(), Text.end(), [](char Ch) { return IsWhitespace(Ch); });
    if (!Text.empty() && !Blank) Node.Elements().AddNew<TXmlText>(std::move(Text));
    // The position is on "<".
    NeedAvailable(2);
    if (FText[FPos + 1] != '/') {
      ParseMarkup(Node, Depth);
      Advance(1);
      continue;
    }
    Advance(2);
    if (ReadTagName() != Node.Name)
      throw EXmlException("Identifier of closing tag does not match identifier of opening tag!");
    SkipWhitespace();
    if (C() != '>') throw EXmlException("Invalid character found! Expected \">\".");
    return;
  }
}
