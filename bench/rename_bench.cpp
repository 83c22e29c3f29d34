// Rename engine throughput over 100,000 realistic names, the same swap with
// std::regex for comparison, and the slowest inputs of names and search texts
// up to 255 characters that the checks accept.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <regex>
#include <string>
#include <vector>

#include "rename/BuildName.h"
#include "rename/Matcher.h"
#include "rename/TextChecks.h"

namespace {

const std::vector<std::string>& Names() {
  static const std::vector<std::string> List = [] {
    std::vector<std::string> Out;
    Out.reserve(100000);
    const char* Artists[] = {"Die Ärzte", "Motörhead", "Björk", "The Band", "Sigur Rós"};
    const char* Songs[] = {"Schrei nach Liebe", "Ace of Spades", "Jóga", "The Weight", "Hoppípolla"};
    char Buffer[128];
    for (int I = 0; I < 100000; ++I) {
      switch (I % 5) {
        case 0: std::snprintf(Buffer, sizeof Buffer, "IMG_%04d.JPG", I % 10000); break;
        case 1: std::snprintf(Buffer, sizeof Buffer, "Holiday %d.jpg", 1990 + I % 35); break;
        case 2: std::snprintf(Buffer, sizeof Buffer, "%s - %s.mp3", Songs[I % 5], Artists[(I / 5) % 5]); break;
        case 3: std::snprintf(Buffer, sizeof Buffer, "Grüße aus München %d.txt", I); break;
        default: std::snprintf(Buffer, sizeof Buffer, "song %d - artist %d.mp3", I % 97, I % 13); break;
      }
      Out.emplace_back(Buffer);
    }
    return Out;
  }();
  return List;
}

void RunPipeline(benchmark::State& State, const TRenameSettings& Settings) {
  const std::vector<std::string>& List = Names();
  TUsedFields Used;
  int32_t Counter = 0;
  if (!CheckRenameSettings(Settings, Used, Counter).empty()) {
    State.SkipWithError("settings refused");
    return;
  }
  // The rules are made ready once, as a pass does.
  const TNameBuilder Builder(Settings, Used, TFieldContext());
  size_t Bytes = 0;
  for (auto _ : State) {
    for (const std::string& Name : List) {
      const std::string NewName = Builder.Build(Name, 0, Counter);
      Bytes += NewName.size();
    }
  }
  benchmark::DoNotOptimize(Bytes);
  State.SetItemsProcessed(int64_t(State.iterations()) * int64_t(List.size()));
}

void BM_CaseAndExtension(benchmark::State& State) {
  TRenameSettings S;
  S.LowerCase = true;
  S.DelExtension = true;
  S.AddExtension = true;
  S.FileExtension = "jpeg";
  RunPipeline(State, S);
}
BENCHMARK(BM_CaseAndExtension)->Unit(benchmark::kMillisecond);

void BM_SwapParts(benchmark::State& State) {
  TRenameSettings S;
  S.SearchAndReplace = true;
  S.SearchString = "<*> - <*>";
  S.ReplaceString = "<2> - <1>";
  RunPipeline(State, S);
}
BENCHMARK(BM_SwapParts)->Unit(benchmark::kMillisecond);

void BM_PhotoCounter(benchmark::State& State) {
  TRenameSettings S;
  S.SearchAndReplace = true;
  S.SearchString = "IMG_<*>.JPG";
  S.ReplaceString = "Photo <zaehler>.jpg";
  S.CounterSameWidth = true;
  S.CounterWidth = "5";
  RunPipeline(State, S);
}
BENCHMARK(BM_PhotoCounter)->Unit(benchmark::kMillisecond);

// The same swap as BM_SwapParts: the first part as short as possible, the
// second to the end of the name.
void BM_SwapPartsStdRegex(benchmark::State& State) {
  const std::vector<std::string>& List = Names();
  const std::regex Pattern("^(.*?) - (.*)$");
  size_t Bytes = 0;
  for (auto _ : State) {
    for (const std::string& Name : List) Bytes += std::regex_replace(Name, Pattern, "$2 - $1").size();
  }
  benchmark::DoNotOptimize(Bytes);
  State.SetItemsProcessed(int64_t(State.iterations()) * int64_t(List.size()));
}
BENCHMARK(BM_SwapPartsStdRegex)->Unit(benchmark::kMillisecond);

// Adversarial inputs: long runs of one character where a match almost
// succeeds at every position, before and behind stars, with brackets.
struct TWorstCase {
  const char* Label;
  std::string Name;
  std::string Search;
  std::string Replace;
};

std::string Repeat(const std::string& Text, int Count) {
  std::string Out;
  for (int I = 0; I < Count; ++I) Out += Text;
  return Out;
}

const std::vector<TWorstCase>& WorstCases() {
  static const std::vector<TWorstCase> Cases = [] {
    const std::string A255(255, 'a');
    std::vector<TWorstCase> Out = {
        {"substring", A255, std::string(127, 'a') + "b", "X"},
        {"behind a leading star", A255, "*" + std::string(127, 'a') + "b", "X"},
        {"behind an inner star", A255, "a*" + std::string(126, 'a') + "b", "X"},
        {"question marks behind a star", A255, "a*" + std::string(126, '?') + "ab", "X"},
        {"brackets behind a star", A255, "a*<<<<<<<<<?>>>>>>>>>" + std::string(100, 'a') + "b", "X"},
        {"many stars", A255, [] {
           std::string S;
           for (int I = 0; I < 63; ++I) S += "a*";
           return S + std::string(120, 'a') + "b";
         }(), "X"},
        {"every character a match", A255, "<a>", "<1><1><1><1><1><1><1><1><1><1>"},
        {"every character two brackets", A255, "<?><?>a", "<2><1>"},
        {"anchored both ends", A255, "\"*" + std::string(125, 'a') + "b\"", "X"},
        {"umlauts, substring", Repeat("ä", 255), Repeat("ä", 127) + "b", "X"},
        {"umlauts, brackets behind a star", Repeat("ä", 255),
         "ä*<<<<<<<<<?>>>>>>>>>" + Repeat("ä", 100) + "b", "X"},
    };
    return Out;
  }();
  return Cases;
}

void BM_WorstCase(benchmark::State& State) {
  const TWorstCase& Case = WorstCases()[size_t(State.range(0))];
  State.SetLabel(Case.Label);
  if (!CheckSearchText(Case.Search).empty()) {
    State.SkipWithError("search text refused");
    return;
  }
  for (auto _ : State) {
    TItemList Items;
    benchmark::DoNotOptimize(MatchReplace(Case.Name, Case.Search, Case.Replace, Items));
  }
}
BENCHMARK(BM_WorstCase)->DenseRange(0, 10)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
