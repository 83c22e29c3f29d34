// A plain step-by-step matcher, one step per search character and no
// shortcuts, that the optimised matcher is compared against. It reads the
// fields from a map and returns the new name and the brackets of the last match.
#pragma once

#include <algorithm>
#include <array>
#include <map>
#include <string>
#include <string_view>

#include "base/Utf8.h"
#include "rename/NameText.h"

namespace reference {

struct TMark {
  int Kind = 0;  // 0 unset, 1 pending, 2 set
  int Value = 0;
};

struct TState {
  int SearchPos = 1, NamePos = 1;
  TMark MatchStart;
  int MatchLength = 0, NextBracket = 1, PendingCount = 0;
  std::array<TMark, 9> Start{}, Length{};
  bool InRun = false;
};

struct TResult {
  std::string Name;
  std::map<std::string, std::string> Brackets;
};

inline std::string Expand(std::string_view Replace, const std::map<std::string, std::string>& Fields) {
  bool InField = false;
  std::string Field, Out;
  for (char C : Replace) {
    if (C == '<') {
      InField = true;
      Field = "<";
    } else if (C == '>') {
      if (InField) {
        Field += '>';
        if (auto It = Fields.find(Field); It != Fields.end()) Out += It->second;
      }
      InField = false;
    } else if (InField) {
      Field += C;
    } else {
      Out += C;
    }
  }
  return Out;
}

inline TResult MatchReplace(std::string_view Name, std::string_view SearchText, std::string_view Replace,
                            std::map<std::string, std::string> Fields) {
  TResult Result;
  std::u32string Search = DecodeUtf8(SearchText);
  if (Search.empty()) return {std::string(Name), {}};
  const bool AnchorStart = Search.front() == U'"', AnchorEnd = Search.back() == U'"';
  if (AnchorStart) Search.front() = NameBoundaryMark;
  if (AnchorEnd) Search.back() = NameBoundaryMark;
  std::u32string W = DecodeUtf8(Name);
  if (AnchorStart) W.insert(W.begin(), NameBoundaryMark);
  if (AnchorEnd) W.push_back(NameBoundaryMark);
  const int LenS = int(Search.size());
  std::u32string R;
  for (;;) {
    const int LenW = int(W.size());
    TState S, Star;
    bool HasStar = false, Complete = false;
    for (;;) {
      const char32_t C = Search[size_t(S.SearchPos - 1)];
      if (C == U'*') {
        if (!S.InRun && S.MatchStart.Kind != 2) {
          S = TState();
          S.MatchStart = {2, 1};
          S.InRun = true;
        } else {
          Star = S;
          HasStar = true;
          S.InRun = false;
          ++S.SearchPos;
        }
      } else if (C == U'?') {
        if (S.MatchStart.Kind == 0) S.MatchStart = {1, 0};
        ++S.SearchPos, ++S.NamePos;
        if (!S.InRun) ++S.PendingCount;
      } else if (C == U'<') {
        if (S.NextBracket <= 9) {
          S.Start[size_t(S.NextBracket - 1)] = S.InRun ? TMark{2, S.NamePos} : TMark{1, S.PendingCount};
          ++S.NextBracket;
        }
        ++S.SearchPos;
      } else if (C == U'>') {
        for (int K = S.NextBracket - 1; K >= 1; --K) {
          if (S.Start[size_t(K - 1)].Kind != 0 && S.Length[size_t(K - 1)].Kind == 0) {
            S.Length[size_t(K - 1)] =
                S.InRun ? TMark{2, S.NamePos - S.Start[size_t(K - 1)].Value} : TMark{1, S.PendingCount};
            break;
          }
        }
        ++S.SearchPos;
      } else if (S.NamePos <= LenW && W[size_t(S.NamePos - 1)] == C) {
        if (S.MatchStart.Kind == 0) S.MatchStart = {2, S.NamePos};
        if (!S.InRun) {
          const int Base = S.NamePos - S.PendingCount;
          if (S.MatchStart.Kind == 1) S.MatchStart = {2, Base};
          for (int K = 0; K < S.NextBracket - 1; ++K) {
            if (S.Start[size_t(K)].Kind == 1) S.Start[size_t(K)] = {2, Base + S.Start[size_t(K)].Value};
            if (S.Length[size_t(K)].Kind == 1)
              S.Length[size_t(K)] = {2, Base + S.Length[size_t(K)].Value - S.Start[size_t(K)].Value};
          }
          S.InRun = true;
          S.PendingCount = 0;
        }
        ++S.SearchPos, ++S.NamePos;
      } else if (S.MatchStart.Kind == 0 || !S.InRun) {
        ++S.NamePos;
      } else if (HasStar) {
        S = Star;
        ++S.NamePos;
      } else {
        const int Next = S.MatchStart.Value + 1;
        S = TState();
        S.NamePos = Next;
      }
      if (S.SearchPos > LenS) {
        Complete = true;
        break;
      }
      if (S.NamePos > LenW) break;
    }
    if (!Complete) {
      R += W;
      break;
    }
    const int MatchStart = S.MatchStart.Kind == 2 ? S.MatchStart.Value : 1;
    if (S.InRun) {
      S.MatchLength = S.NamePos - MatchStart;
    } else {
      S.MatchLength = LenW - MatchStart + 1;
      for (int K = 0; K < S.NextBracket - 1; ++K) {
        if (S.Length[size_t(K)].Kind == 1) {
          const int Start = S.Start[size_t(K)].Kind == 2 ? S.Start[size_t(K)].Value : 1;
          S.Length[size_t(K)] = {2, LenW - Start + 1};
        }
      }
    }
    for (int K = 0; K < S.NextBracket - 1; ++K) {
      std::u32string Part;
      if (S.Start[size_t(K)].Kind != 0) {
        const long First = S.Start[size_t(K)].Kind == 2 ? S.Start[size_t(K)].Value : 1;
        const long End = S.Length[size_t(K)].Kind == 2 ? First + S.Length[size_t(K)].Value : long(LenW) + 1;
        const long From = std::clamp<long>(First, 1, long(LenW) + 1);
        const long To = std::clamp<long>(End, From, long(LenW) + 1);
        Part = W.substr(size_t(From - 1), size_t(To - From));
      }
      Fields["<" + std::to_string(K + 1) + ">"] = Result.Brackets["<" + std::to_string(K + 1) + ">"] =
          EncodeUtf8(Part);
    }
    const int Before = std::clamp(MatchStart - 1, 0, LenW);
    R += W.substr(0, size_t(Before));
    R += DecodeUtf8(Expand(Replace, Fields));
    const int Consumed = std::clamp(Before + std::max(S.MatchLength, 0), 0, LenW);
    if (Consumed == 0 && LenW > 0) {
      R += W;
      break;
    }
    W.erase(0, size_t(Consumed));
    if (W.empty()) break;
  }
  Result.Name = EncodeUtf8(R);
  return Result;
}

}  // namespace reference
