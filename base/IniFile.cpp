#include "base/IniFile.h"

#include <cerrno>

#include "base/Translation.h"
#include "base/VmFileLib.h"
#include "base/VmStringLib.h"

namespace {

bool HasLineBreak(std::string_view Text) { return Text.find_first_of("\r\n") != std::string_view::npos; }

// One line of the text: [Begin, End) is its content, [End, Next) its line ending.
struct TLine {
  size_t Begin = 0;
  size_t End = 0;
  size_t Next = 0;
};

enum TLineKind { lkBlank, lkComment, lkSection, lkKey, lkOther };

struct TParsedLine {
  TLineKind Kind = lkOther;
  std::string_view Name;  // section or key name
  size_t ValueBegin = 0;  // keys: offset of the value in the text
};

TLine LineAt(std::string_view Text, size_t Begin) {
  TLine Line;
  Line.Begin = Begin;
  const size_t Feed = Text.find('\n', Begin);
  Line.Next = Feed == std::string_view::npos ? Text.size() : Feed + 1;
  Line.End = Feed == std::string_view::npos ? Text.size() : Feed;
  // CRs before the LF, or at the end of the text, belong to the line ending.
  while (Line.End > Begin && Text[Line.End - 1] == '\r') --Line.End;
  return Line;
}

TParsedLine ParseLine(std::string_view Text, const TLine& Line) {
  const std::string_view Content = Text.substr(Line.Begin, Line.End - Line.Begin);
  const std::string_view Trimmed = TrimBlanks(Content);
  TParsedLine Parsed;
  if (Trimmed.empty()) {
    Parsed.Kind = lkBlank;
  } else if (Trimmed.front() == ';' || Trimmed.front() == '#') {
    Parsed.Kind = lkComment;
  } else if (Trimmed.front() == '[') {
    const size_t Close = Trimmed.find(']');
    if (Close != std::string_view::npos) {
      Parsed.Kind = lkSection;
      Parsed.Name = TrimBlanks(Trimmed.substr(1, Close - 1));
    }
  } else if (const size_t Equals = Content.find('='); Equals != std::string_view::npos) {
    const std::string_view Name = TrimBlanks(Content.substr(0, Equals));
    if (!Name.empty()) {
      Parsed.Kind = lkKey;
      Parsed.Name = Name;
      Parsed.ValueBegin = Line.Begin + Equals + 1;
    }
  }
  return Parsed;
}

// Where a key is, or where it would go.
struct TKeyPlace {
  bool SectionFound = false;
  bool KeyFound = false;
  TLine KeyLine;          // when found
  size_t ValueBegin = 0;  // when found
  TLine LastOfSection;    // the section's last non-blank line (its header at least)
  bool LastLineBlank = true;  // whether the text's last line is blank (or the text empty)
};

TKeyPlace FindKey(std::string_view Text, std::string_view Section, std::string_view Key) {
  TKeyPlace Place;
  bool InSection = false;
  size_t Begin = Text.starts_with("\xEF\xBB\xBF") ? 3 : 0;
  while (Begin < Text.size()) {
    const TLine Line = LineAt(Text, Begin);
    const TParsedLine Parsed = ParseLine(Text, Line);
    Begin = Line.Next;
    Place.LastLineBlank = Parsed.Kind == lkBlank;
    if (Parsed.Kind == lkSection) {
      if (InSection) return Place;  // the first section of that name ends here
      if (!Place.SectionFound && TIniFile::SameName(Parsed.Name, Section)) {
        Place.SectionFound = InSection = true;
        Place.LastOfSection = Line;
      }
      continue;
    }
    if (!InSection) continue;
    if (Parsed.Kind == lkKey && TIniFile::SameName(Parsed.Name, Key)) {
      Place.KeyFound = true;
      Place.KeyLine = Line;
      Place.ValueBegin = Parsed.ValueBegin;
      return Place;
    }
    if (Parsed.Kind != lkBlank) Place.LastOfSection = Line;
  }
  return Place;
}

// The line ending of the text's first line; LF when it has none.
std::string_view LineEndingOf(std::string_view Text) {
  const size_t Feed = Text.find('\n');
  return Feed != std::string_view::npos && Feed > 0 && Text[Feed - 1] == '\r' ? "\r\n" : "\n";
}

// What ends a last line that has no line ending yet: LF alone completes a
// trailing CR, which already counts as a line ending when reading.
std::string_view EndingToAdd(std::string_view Text, std::string_view LineEnding) {
  if (Text.empty() || Text.back() == '\n') return {};
  return Text.back() == '\r' ? "\n" : LineEnding;
}

}  // namespace

TIniFile TIniFile::Load(const std::string& Path) {
  try {
    return TIniFile(ReadWholeFile(Path, MaxTextFileSize));
  } catch (const EFileError& Error) {
    if (Error.Code == ENOENT || Error.Code == ENOTDIR) return TIniFile();
    throw;
  }
}

void TIniFile::Save(const std::string& Path) const {
  RefuseReadOnlyFile(Path);
  WriteFileAtomic(Path, FText);
}

std::optional<std::string> TIniFile::ReadValue(std::string_view Section, std::string_view Key) const {
  const TKeyPlace Place = FindKey(FText, Section, Key);
  if (!Place.KeyFound) return std::nullopt;
  return FText.substr(Place.ValueBegin, Place.KeyLine.End - Place.ValueBegin);
}

std::string TIniFile::ReadString(std::string_view Section, std::string_view Key, std::string_view Default) const {
  std::optional<std::string> Value = ReadValue(Section, Key);
  return Value ? std::move(*Value) : std::string(Default);
}

void TIniFile::WriteString(std::string_view Section, std::string_view Key, std::string_view Value) {
  const auto Refuse = [&](const std::string& What) {
    throw EIniValueError(Filled(Tr("Ini", "Cannot store key \"%1\" in section \"%2\": %3"), {Key, Section, What}));
  };
  if (!IsValidSectionName(Section)) Refuse(Tr("Ini", "invalid section name"));
  if (!IsValidKeyName(Key)) Refuse(Tr("Ini", "invalid key name"));
  if (!IsValidValue(Value)) Refuse(Tr("Ini", "the value holds a line break"));
  const TKeyPlace Place = FindKey(FText, Section, Key);
  if (Place.KeyFound) {
    FText.replace(Place.ValueBegin, Place.KeyLine.End - Place.ValueBegin, Value);
    return;
  }
  const std::string LineEnding(LineEndingOf(FText));
  const std::string KeyLine = std::string(Key) + "=" + std::string(Value) + LineEnding;
  if (Place.SectionFound) {
    const TLine& After = Place.LastOfSection;
    const std::string_view Before = std::string_view(FText).substr(0, After.Next);
    FText.insert(After.Next, std::string(EndingToAdd(Before, LineEnding)) + KeyLine);
    return;
  }
  std::string Added(EndingToAdd(FText, LineEnding));
  if (!Place.LastLineBlank) Added += LineEnding;  // a blank line between sections
  Added.append("[").append(Section).append("]").append(LineEnding).append(KeyLine);
  FText += Added;
}

bool TIniFile::SameName(std::string_view A, std::string_view B) { return SameTextIgnoringAsciiCase(A, B); }

bool TIniFile::IsValidSectionName(std::string_view Name) {
  return !Name.empty() && TrimBlanks(Name) == Name && !HasLineBreak(Name) &&
         Name.find(']') == std::string_view::npos;
}

bool TIniFile::IsValidKeyName(std::string_view Name) {
  return !Name.empty() && TrimBlanks(Name) == Name && !HasLineBreak(Name) &&
         Name.find('=') == std::string_view::npos && Name.front() != '[' && Name.front() != ';' &&
         Name.front() != '#';
}

bool TIniFile::IsValidValue(std::string_view Value) {
  return Value.find('\n') == std::string_view::npos && !Value.ends_with('\r');
}
