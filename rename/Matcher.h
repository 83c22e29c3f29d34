// The wildcard matcher: finds every match of a search text in a name, from
// left to right without overlaps, and puts the expanded replacement text in
// its place.
//
// Search text language: "*" any number of characters, "?" one character, a
// double quote as first or last character the start or end of the name, "<"
// and ">" capture the part between them as "<1>" to "<9>"; every other
// character stands for itself (case matters). The replacement text is copied,
// except that a run from "<" to the next ">" is a field replaced by its value.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// One field of a name's replacement: the key with its brackets ("<name>",
// "<1>") and its value.
struct TItemListObject {
  std::string Key;
  std::string Value;
};

// The field values from which one name's replacement text is expanded.
class TItemList {
 public:
  // Replaces the value of the entry with exactly this key, or appends a new entry.
  void Add(std::string_view Key, std::string_view Value);
  // The value of the entry with exactly this key (case-sensitive); empty when there is none.
  std::string_view Find(std::string_view Key) const;
  size_t Count() const { return FItems.size(); }
  const std::vector<TItemListObject>& Items() const { return FItems; }
  void Clear() { FItems.clear(); }

 private:
  std::vector<TItemListObject> FItems;
};

// State of the expansion of a replacement text.
struct TReplaceInfo {
  bool InField = false;   // between "<" and ">"
  std::string FieldName;  // collected so far, with its opening "<"
  std::string Output;     // text built so far
};

// A position or a length in the match state: not yet known, pending (a number
// of "?" passed outside a run; settled when the next run begins) or known.
enum TMatchMarkKind : uint8_t { mmUnset, mmPending, mmSet };
struct TMatchMark {
  TMatchMarkKind Kind = mmUnset;
  int32_t Value = 0;  // the position or length when set, the count when pending
};

// The state of one match attempt. Positions count from 1. The brackets are
// kept in a record of their own (TBracketState) so that this small part can
// live in registers while the matcher runs.
struct TMatchState {
  int32_t SearchPos = 1;  // next character of the search text
  int32_t NamePos = 1;    // next character of the working name; may run past its end
  TMatchMark MatchStart;
  int32_t MatchLength = 0;
  int32_t NextBracket = 1;   // number of the next bracket to open, 1 to 10
  int32_t PendingCount = 0;  // "?" passed while no run is active
  bool InRun = false;        // search characters are being matched one by one
};

// Where each bracket of the search text begins in the working name and how
// many characters it spans. Entries from NextBracket on are not in use.
struct TBracketState {
  std::array<TMatchMark, 9> BracketStart{};
  std::array<TMatchMark, 9> BracketLength{};
};

// A search text and a replacement text prepared once for many names.
class TSearchReplace {
 public:
  TSearchReplace() = default;
  TSearchReplace(std::string_view SearchString, std::string_view ReplaceString);

  // The new name for Name: every match replaced by the replacement text with
  // its fields: the brackets from that match, all others from Items. Items
  // then holds the brackets ("<1>" onwards) of the last match.
  std::string Apply(std::string_view Name, TItemList& Items) const;
  // The same, reading the fields from Items without adding the brackets to it.
  std::string ApplyKeepingItems(std::string_view Name, const TItemList& Items) const;

  const std::string& SearchString() const { return FSearchText; }
  const std::string& ReplaceString() const { return FReplaceText; }

 private:
  // A piece of the replacement text: literal text, a bracket of the search
  // text (Bracket 1 to 9), or another field looked up in the items.
  struct TSegment {
    bool IsField;
    int Bracket;       // 0 unless the field is a bracket this search text fills
    std::string Text;  // literal text, or the field key with its brackets
  };

  // Matches in the name held as bytes (ASCII) or as code points; adds the
  // brackets to Record when it is given.
  std::string Dispatch(std::string_view Name, const TItemList& Items, TItemList* Record) const;
  template <typename TChar>
  std::string Run(std::basic_string_view<TChar> Buffer, std::basic_string_view<TChar> Search, const TItemList& Items,
                  TItemList* Record) const;

  std::string FSearchText;
  std::string FReplaceText;

  std::u32string FSearch;  // code points; an anchoring quote is the boundary mark
  // The search text as bytes when it is ASCII (an anchor is then the byte
  // 0xFF, which no ASCII name holds): ASCII names are matched as bytes.
  std::string FSearchBytes;
  bool FSearchIsAscii = false;
  bool FAnchorStart = false;
  bool FAnchorEnd = false;
  // Scratch buffers for the working name, so that matching many names does
  // not allocate for each; one object therefore serves one thread.
  mutable std::u32string FWorkingName;
  mutable std::string FWorkingBytes;
  // For each search position (from 0), the position (from 1) just behind the
  // run of ordinary characters, or of "?", that it belongs to, so that such
  // runs are taken in one loop.
  std::vector<int32_t> FRunEnd;
  int32_t FBracketCount = 0;  // brackets every completed match fills
  std::vector<TSegment> FReplace;
};

// Replaces every match of SearchString in Name by the expanded ReplaceString.
std::string MatchReplace(std::string_view Name, std::string_view SearchString, std::string_view ReplaceString,
                         TItemList& Items);
