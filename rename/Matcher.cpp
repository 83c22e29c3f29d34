#include "rename/Matcher.h"

#include <algorithm>

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

// Per-thread scratch buffer for the working name, so that matching many names
// does not allocate for each.
thread_local std::u32string WorkingName;

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

  // The replacement text is split once into literal text and field keys.
  // "<" opens a field (dropping one already open), ">" closes it; a ">"
  // outside a field and a field left open at the end add nothing. The special
  // characters are ASCII, so the walk can run over bytes.
  TReplaceInfo Info;
  const auto FlushOutput = [&] {
    if (!Info.Output.empty()) FReplace.push_back({false, std::move(Info.Output)});
    Info.Output.clear();
  };
  for (const char C : ReplaceString) {
    if (C == '<') {
      Info.InField = true;
      Info.FieldName = "<";
    } else if (C == '>') {
      if (Info.InField) {
        Info.FieldName += '>';
        FlushOutput();
        FReplace.push_back({true, std::move(Info.FieldName)});
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

void TSearchReplace::Expand(const TItemList& Items, std::string& Out) const {
  for (const TSegment& Segment : FReplace) Out.append(Segment.IsField ? Items.Find(Segment.Text) : Segment.Text);
}

std::string TSearchReplace::Apply(std::string_view Name, TItemList& Items) const {
  std::string R;
  if (FSearch.empty()) return std::string(Name);

  std::u32string& Buffer = WorkingName;
  Buffer.clear();
  if (FAnchorStart) Buffer.push_back(NameBoundaryMark);
  DecodeUtf8(Name, Buffer);
  if (FAnchorEnd) Buffer.push_back(NameBoundaryMark);
  R.reserve(Name.size() + 16);

  // The working name W is the part of Buffer from W on; each match cuts it
  // down to what follows the match.
  const char32_t* W = Buffer.data();
  int32_t LenW = static_cast<int32_t>(Buffer.size());
  const char32_t* Search = FSearch.data();
  const int32_t LenS = static_cast<int32_t>(FSearch.size());
  const TMatchState Initial;
  std::string Part;

  for (;;) {
    // One attempt: the search text from its start against W.
    TMatchState S = Initial;
    TMatchState Star;
    bool HasStar = false;
    bool Complete = false;
    for (;;) {
      const char32_t C = Search[S.SearchPos - 1];
      switch (C) {
        case U'*':
          if (!S.InRun && S.MatchStart.Kind != mmSet) {
            // Nothing has matched yet: the match is tied to the start of W and
            // the search text is read again inside a run from there.
            S = Initial;
            S.MatchStart = Known(1);
            S.InRun = true;
          } else {
            // Saved before moving on, so that a failure behind the star
            // reads the star again one character further on.
            Star = S;
            HasStar = true;
            S.InRun = false;
            ++S.SearchPos;
          }
          break;
        case U'?':
          if (S.MatchStart.Kind == mmUnset) S.MatchStart = Pending(0);
          ++S.SearchPos;
          ++S.NamePos;
          if (!S.InRun) ++S.PendingCount;
          break;
        case U'<':
          if (S.NextBracket <= 9) {
            S.BracketStart[S.NextBracket - 1] = S.InRun ? Known(S.NamePos) : Pending(S.PendingCount);
            ++S.NextBracket;
          }
          ++S.SearchPos;
          break;
        case U'>':
          // Closes the highest-numbered bracket that has begun and not ended.
          for (int32_t K = S.NextBracket - 1; K >= 1; --K) {
            if (S.BracketStart[K - 1].Kind != mmUnset && S.BracketLength[K - 1].Kind == mmUnset) {
              S.BracketLength[K - 1] =
                  S.InRun ? Known(S.NamePos - S.BracketStart[K - 1].Value) : Pending(S.PendingCount);
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
              if (S.MatchStart.Kind == mmPending) S.MatchStart = Known(Base);
              for (int32_t K = 0; K < S.NextBracket - 1; ++K) {
                TMatchMark& Start = S.BracketStart[K];
                TMatchMark& Length = S.BracketLength[K];
                if (Start.Kind == mmPending) Start = Known(Base + Start.Value);
                if (Length.Kind == mmPending) Length = Known(Base + Length.Value - Start.Value);
              }
              S.InRun = true;
              S.PendingCount = 0;
            }
            ++S.SearchPos;
            ++S.NamePos;
          } else if (S.MatchStart.Kind == mmUnset || !S.InRun) {
            ++S.NamePos;  // the start, or the text behind a star, moves on
          } else if (HasStar) {
            S = Star;  // try the text behind the last star one character further on
            ++S.NamePos;
          } else {
            const int32_t Next = S.MatchStart.Value + 1;
            S = Initial;
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
    if (!Complete) {
      EncodeUtf8(std::u32string_view(W, LenW), R);
      break;
    }

    // Only a search text without literal characters can complete without a
    // known start; such a match starts at the first character of W.
    const int32_t MatchStart = S.MatchStart.Kind == mmSet ? S.MatchStart.Value : 1;
    if (S.InRun) {
      S.MatchLength = S.NamePos - MatchStart;
    } else {
      // Ended outside a run: the match and any open bracket run to the end of W.
      S.MatchLength = LenW - MatchStart + 1;
      for (int32_t K = 0; K < S.NextBracket - 1; ++K) {
        if (S.BracketLength[K].Kind == mmPending) {
          const int32_t Start = S.BracketStart[K].Kind == mmSet ? S.BracketStart[K].Value : 1;
          S.BracketLength[K] = Known(LenW - Start + 1);
        }
      }
    }

    for (int32_t K = 0; K < S.NextBracket - 1; ++K) {
      Part.clear();
      const TMatchMark& Start = S.BracketStart[K];
      if (Start.Kind != mmUnset) {
        // A start still pending counts as the first character of W; a length
        // not known runs to the end of W.
        const int64_t First = Start.Kind == mmSet ? Start.Value : 1;
        const TMatchMark& Length = S.BracketLength[K];
        const int64_t End = Length.Kind == mmSet ? First + Length.Value : int64_t(LenW) + 1;
        const int64_t From = std::clamp<int64_t>(First, 1, int64_t(LenW) + 1);
        const int64_t To = std::clamp<int64_t>(End, From, int64_t(LenW) + 1);
        // The boundary marks never reach a captured part: encoding drops them.
        EncodeUtf8(std::u32string_view(W + From - 1, size_t(To - From)), Part);
      }
      Items.Add(BracketKeys[size_t(K)], Part);
    }

    const int32_t Before = std::clamp(MatchStart - 1, 0, LenW);
    EncodeUtf8(std::u32string_view(W, size_t(Before)), R);
    Expand(Items, R);

    const int32_t Consumed = std::clamp(Before + std::max(S.MatchLength, 0), 0, LenW);
    if (Consumed == 0 && LenW > 0) {
      // A match that takes nothing cannot occur for texts that pass the
      // checks; never loop on one.
      EncodeUtf8(std::u32string_view(W, LenW), R);
      break;
    }
    W += Consumed;
    LenW -= Consumed;
    if (LenW == 0) break;
  }
  return R;
}

std::string MatchReplace(std::string_view Name, std::string_view SearchString, std::string_view ReplaceString,
                         TItemList& Items) {
  return TSearchReplace(SearchString, ReplaceString).Apply(Name, Items);
}
