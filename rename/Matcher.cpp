#include "rename/Matcher.h"

#include <algorithm>

#include "base/Utf8.h"
#include "rename/NameText.h"

void TItemList::Add(std::string_view Key, std::string_view Value) {
  for (TItemListObject& Item : FItems) {
    if (Item.Key == Key) {
      Item.Value.assign(Value);
      return;
    }
  }
  FItems.push_back({std::string(Key), std::string(Value)});
}

std::string_view TItemList::Find(std::string_view Key) const {
  for (const TItemListObject& Item : FItems)
    if (Item.Key == Key) return Item.Value;
  return {};
}

namespace {

const std::array<std::string_view, 9> BracketKeys = {"<1>", "<2>", "<3>", "<4>", "<5>", "<6>", "<7>", "<8>", "<9>"};

TMatchMark Known(int32_t Value) { return {mmSet, Value}; }
TMatchMark Pending(int32_t Count) { return {mmPending, Count}; }

// Copies the brackets in use, 1 to Count.
void CopyBrackets(TBracketState& To, const TBracketState& From, int32_t Count) {
  for (int32_t K = 0; K < Count; ++K) {
    To.BracketStart[size_t(K)] = From.BracketStart[size_t(K)];
    To.BracketLength[size_t(K)] = From.BracketLength[size_t(K)];
  }
}

constexpr char AsciiBoundaryMark = '\xFF';

// Appends a part of the working name to the new name.
void AppendPart(std::string_view Part, std::string& Out) { Out.append(Part); }
void AppendPart(std::u32string_view Part, std::string& Out) { EncodeUtf8(Part, Out); }

}  // namespace

TSearchReplace::TSearchReplace(std::string_view SearchString, std::string_view ReplaceString)
    : FSearchText(SearchString), FReplaceText(ReplaceString) {
  DecodeUtf8(SearchString, FSearch);
  // A double quote first or last stands for the start or end of the name. It
  // becomes a mark that no name holds, so quotes inside names stay ordinary
  // characters and an anchor never matches one.
  if (!FSearch.empty() && FSearch.front() == U'"') {
    FAnchorStart = true;
    FSearch.front() = NameBoundaryMark;
  }
  if (!FSearch.empty() && FSearch.back() == U'"') {
    FAnchorEnd = true;
    FSearch.back() = NameBoundaryMark;
  }
  if (FSearch.size() == 1 && FSearch.front() == NameBoundaryMark) FAnchorEnd = FAnchorStart = true;

  FSearchIsAscii = IsAsciiText(SearchString);
  if (FSearchIsAscii) {
    FSearchBytes.assign(SearchString);
    if (FAnchorStart) FSearchBytes.front() = AsciiBoundaryMark;
    if (FAnchorEnd) FSearchBytes.back() = AsciiBoundaryMark;
  }

  // 0: an ordinary character, 1: "?", 2: the others; runs are of kind 0 or 1.
  const auto Kind = [](char32_t C) { return C == U'?' ? 1 : (C == U'*' || C == U'<' || C == U'>') ? 2 : 0; };
  FRunEnd.resize(FSearch.size());
  for (size_t I = FSearch.size(); I-- > 0;) {
    const bool SameAsNext = I + 1 < FSearch.size() && Kind(FSearch[I]) == Kind(FSearch[I + 1]);
    FRunEnd[I] = SameAsNext ? FRunEnd[I + 1] : static_cast<int32_t>(I) + 2;
    if (FSearch[I] == U'<') ++FBracketCount;
  }
  FBracketCount = std::min(FBracketCount, 9);

  // The replacement text is split once into literal text and field keys.
  // "<" opens a field (dropping one already open), ">" closes it; a ">"
  // outside a field and a field left open at the end add nothing. The special
  // characters are ASCII, so the walk can run over bytes.
  TReplaceInfo Info;
  const auto FlushOutput = [&] {
    if (!Info.Output.empty()) FReplace.push_back({false, 0, std::move(Info.Output)});
    Info.Output.clear();
  };
  for (const char C : ReplaceString) {
    if (C == '<') {
      Info.InField = true;
      Info.FieldName.assign(1, '<');
    } else if (C == '>') {
      if (Info.InField) {
        Info.FieldName += '>';
        FlushOutput();
        int Bracket = 0;
        if (Info.FieldName.size() == 3 && Info.FieldName[1] >= '1' && Info.FieldName[1] <= '0' + FBracketCount)
          Bracket = Info.FieldName[1] - '0';
        FReplace.push_back({true, Bracket, std::move(Info.FieldName)});
        Info.FieldName.clear();
        Info.InField = false;
      }
    } else if (Info.InField) {
      Info.FieldName += C;
    } else {
      Info.Output += C;
    }
  }
  FlushOutput();
}

std::string TSearchReplace::Apply(std::string_view Name, TItemList& Items) const {
  return Dispatch(Name, Items, &Items);
}

std::string TSearchReplace::ApplyKeepingItems(std::string_view Name, const TItemList& Items) const {
  return Dispatch(Name, Items, nullptr);
}

std::string TSearchReplace::Dispatch(std::string_view Name, const TItemList& Items, TItemList* Record) const {
  if (FSearch.empty()) return std::string(Name);
  if (IsAsciiText(Name)) {
    // A search text with other characters cannot match an ASCII name: each
    // of its characters must match one of the name's for a match to complete.
    if (!FSearchIsAscii) return std::string(Name);
    std::string& Buffer = FWorkingBytes;
    Buffer.clear();
    if (FAnchorStart) Buffer.push_back(AsciiBoundaryMark);
    Buffer.append(Name);
    if (FAnchorEnd) Buffer.push_back(AsciiBoundaryMark);
    return Run<char>(Buffer, FSearchBytes, Items, Record);
  }
  std::u32string& Buffer = FWorkingName;
  Buffer.clear();
  if (FAnchorStart) Buffer.push_back(NameBoundaryMark);
  DecodeUtf8(Name, Buffer);
  if (FAnchorEnd) Buffer.push_back(NameBoundaryMark);
  return Run<char32_t>(Buffer, FSearch, Items, Record);
}

template <typename TChar>
std::string TSearchReplace::Run(std::basic_string_view<TChar> Buffer, std::basic_string_view<TChar> SearchText,
                                const TItemList& Items, TItemList* Record) const {
  std::string R;
  R.reserve(Buffer.size() + 16);
  // The marks stand only at the two ends of the buffer; every part copied to
  // the new name is cut to the part between them, so no mark reaches it.
  const int32_t NameFrom = FAnchorStart ? 1 : 0;
  const int32_t NameTo = static_cast<int32_t>(Buffer.size()) - (FAnchorEnd ? 1 : 0);
  const auto Append = [&](int32_t From, int32_t To) {
    From = std::max(From, NameFrom);
    To = std::min(To, NameTo);
    if (From < To) AppendPart(Buffer.substr(size_t(From), size_t(To - From)), R);
  };

  // The working name W is the part of Buffer from W on; each match cuts it
  // down to what follows the match.
  const TChar* W = Buffer.data();
  int32_t LenW = static_cast<int32_t>(Buffer.size());
  const TChar* Search = SearchText.data();
  const int32_t* RunEnd = FRunEnd.data();
  const int32_t LenS = static_cast<int32_t>(FSearch.size());
  // The captured parts of the last completed match, as offsets into Buffer.
  std::array<std::pair<int32_t, int32_t>, 9> Captures{};
  bool Matched = false;
  TMatchState S;
  TMatchState Star;
  TBracketState B;
  TBracketState StarB;

  for (;;) {
    // One attempt: the search text from its start against W.
    S = TMatchState();
    bool HasStar = false;
    int32_t RunBase = 0;  // where the last run began, with the "?" before it
    bool Complete = false;
    for (;;) {
      const TChar C = Search[S.SearchPos - 1];
      switch (C) {
        case '*':
          if (!S.InRun && S.MatchStart.Kind != mmSet) {
            // Nothing has matched yet: the match is tied to the start of W and
            // the search text is read again inside a run from there.
            S = TMatchState();
            S.MatchStart = Known(1);
            S.InRun = true;
          } else {
            // Saved before moving on, so that a failure behind the star
            // reads the star again one character further on.
            Star = S;
            CopyBrackets(StarB, B, S.NextBracket - 1);
            HasStar = true;
            S.InRun = false;
            ++S.SearchPos;
          }
          break;
        case '?': {
          // A run of "?" in one go: each takes one character, and the walk
          // stops where the name is used up, as it would step by step.
          if (S.MatchStart.Kind == mmUnset) S.MatchStart = Pending(0);
          const int32_t Count = std::min(RunEnd[S.SearchPos - 1] - S.SearchPos, std::max(1, LenW + 1 - S.NamePos));
          S.SearchPos += Count;
          S.NamePos += Count;
          if (!S.InRun) S.PendingCount += Count;
          break;
        }
        case '<':
          if (S.NextBracket <= 9) {
            B.BracketStart[S.NextBracket - 1] = S.InRun ? Known(S.NamePos) : Pending(S.PendingCount);
            B.BracketLength[S.NextBracket - 1] = {};
            ++S.NextBracket;
          }
          ++S.SearchPos;
          break;
        case '>':
          // Closes the highest-numbered bracket that has begun and not ended.
          for (int32_t K = S.NextBracket - 1; K >= 1; --K) {
            if (B.BracketStart[K - 1].Kind != mmUnset && B.BracketLength[K - 1].Kind == mmUnset) {
              B.BracketLength[K - 1] =
                  S.InRun ? Known(S.NamePos - B.BracketStart[K - 1].Value) : Pending(S.PendingCount);
              break;
            }
          }
          ++S.SearchPos;
          break;
        default:
          if (S.NamePos <= LenW && W[S.NamePos - 1] == C) {
            if (S.MatchStart.Kind == mmUnset) S.MatchStart = Known(S.NamePos);
            if (!S.InRun) {
              // A run begins: the "?" passed before it take the characters
              // right before it, and brackets among them fall on those.
              const int32_t Base = S.NamePos - S.PendingCount;
              RunBase = Base;
              if (S.MatchStart.Kind == mmPending) S.MatchStart = Known(Base);
              for (int32_t K = 0; K < S.NextBracket - 1; ++K) {
                TMatchMark& Start = B.BracketStart[K];
                TMatchMark& Length = B.BracketLength[K];
                if (Start.Kind == mmPending) Start = Known(Base + Start.Value);
                if (Length.Kind == mmPending) Length = Known(Base + Length.Value - Start.Value);
              }
              S.InRun = true;
              S.PendingCount = 0;
            }
            ++S.SearchPos;
            ++S.NamePos;
            // The following ordinary characters of the run, one step each,
            // in a tight loop; a mismatch is left to the next step.
            const int32_t End = RunEnd[S.SearchPos - 2];
            while (S.SearchPos < End && S.NamePos <= LenW && Search[S.SearchPos - 1] == W[S.NamePos - 1]) {
              ++S.SearchPos;
              ++S.NamePos;
            }
          } else if (S.MatchStart.Kind == mmUnset || !S.InRun) {
            // The start, or the text behind a star, moves on one character
            // per step until this character matches: skip to that place.
            int32_t P = S.NamePos + 1;
            while (P <= LenW && W[P - 1] != C) ++P;
            S.NamePos = P;
          } else if (HasStar) {
            // Try the text behind the last star one character further on.
            // The tries that would start before the place where the failed
            // run began find that same place again and fail the same way,
            // so they are passed over.
            S = Star;
            CopyBrackets(B, StarB, S.NextBracket - 1);
            S.NamePos = std::max(S.NamePos + 1, RunBase + 1);
          } else {
            const int32_t Next = S.MatchStart.Value + 1;
            S = TMatchState();
            S.NamePos = Next;
          }
          break;
      }
      if (S.SearchPos > LenS) {
        Complete = true;
        break;
      }
      if (S.NamePos > LenW) break;
    }
    const int32_t Offset = static_cast<int32_t>(W - Buffer.data());
    if (!Complete) {
      Append(Offset, Offset + LenW);
      break;
    }

    // Only a search text without ordinary characters can complete without a
    // known start; such a match starts at the first character of W.
    const int32_t MatchStart = S.MatchStart.Kind == mmSet ? S.MatchStart.Value : 1;
    if (S.InRun) {
      S.MatchLength = S.NamePos - MatchStart;
    } else {
      // Ended outside a run: the match and any open bracket run to the end of W.
      S.MatchLength = LenW - MatchStart + 1;
      for (int32_t K = 0; K < S.NextBracket - 1; ++K) {
        if (B.BracketLength[K].Kind == mmPending) {
          const int32_t Start = B.BracketStart[K].Kind == mmSet ? B.BracketStart[K].Value : 1;
          B.BracketLength[K] = Known(LenW - Start + 1);
        }
      }
    }

    for (int32_t K = 0; K < S.NextBracket - 1; ++K) {
      Captures[size_t(K)] = {0, 0};
      const TMatchMark& Start = B.BracketStart[K];
      if (Start.Kind == mmUnset) continue;
      // A start still pending counts as the first character of W; a length
      // not known runs to the end of W; nothing reaches past either end.
      const int64_t First = Start.Kind == mmSet ? Start.Value : 1;
      const TMatchMark& Length = B.BracketLength[K];
      const int64_t End = Length.Kind == mmSet ? First + Length.Value : int64_t(LenW) + 1;
      const int64_t From = std::clamp<int64_t>(First, 1, int64_t(LenW) + 1);
      const int64_t To = std::clamp<int64_t>(End, From, int64_t(LenW) + 1);
      Captures[size_t(K)] = {Offset + int32_t(From) - 1, Offset + int32_t(To) - 1};
    }
    Matched = true;

    const int32_t Before = std::clamp(MatchStart - 1, 0, LenW);
    Append(Offset, Offset + Before);
    for (const TSegment& Segment : FReplace) {
      if (!Segment.IsField) {
        R += Segment.Text;
      } else if (Segment.Bracket > 0) {
        const auto [From, To] = Captures[size_t(Segment.Bracket - 1)];
        Append(From, To);
      } else {
        R += Items.Find(Segment.Text);
      }
    }

    const int32_t Consumed = std::clamp(Before + std::max(S.MatchLength, 0), 0, LenW);
    if (Consumed == 0 && LenW > 0) {
      // A match that takes nothing cannot occur for texts that pass the
      // checks; never loop on one.
      Append(Offset, Offset + LenW);
      break;
    }
    W += Consumed;
    LenW -= Consumed;
    if (LenW == 0) break;
  }

  // The items hold the brackets of the last match; the expansion above read
  // each match's own.
  if (Matched && Record != nullptr) {
    for (int32_t K = 0; K < FBracketCount; ++K) {
      const auto [From, To] = Captures[size_t(K)];
      const size_t Before = R.size();
      Append(From, To);
      Record->Add(BracketKeys[size_t(K)], std::string_view(R).substr(Before));
      R.resize(Before);
    }
  }
  return R;
}

std::string MatchReplace(std::string_view Name, std::string_view SearchString, std::string_view ReplaceString,
                         TItemList& Items) {
  return TSearchReplace(SearchString, ReplaceString).Apply(Name, Items);
}
