// Rename engine: a flag byte, then a name, a search text, a replacement text
// and an extension separated by line feeds. Both checks run on the texts;
// when they accept, the matcher and the whole pipeline run on the name.
// Properties: no crash or hang, names survive the code-point round trip, case
// changes keep the length, valid UTF-8 in gives valid UTF-8 out, and the
// matcher agrees with a plain step-by-step walk.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "base/FileNames.h"
#include "base/Utf8.h"
#include "rename/BuildName.h"
#include "rename/Matcher.h"
#include "rename/NameText.h"
#include "rename/TextChecks.h"
#include "fuzz/ReferenceMatcher.h"

namespace {

class TFixedClock : public TClock {
 public:
  TDateTime Now() const override { return 45650.5859375; }
};

std::string_view NextPart(std::string_view& Rest) {
  const size_t Cut = Rest.find('\n');
  const std::string_view Part = Rest.substr(0, Cut);
  Rest = Cut == std::string_view::npos ? std::string_view() : Rest.substr(Cut + 1);
  return Part;
}

void Require(bool Condition) {
  if (!Condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  if (Size == 0) return 0;
  const uint8_t Flags = Data[0];
  std::string_view Rest(reinterpret_cast<const char*>(Data) + 1, Size - 1);
  const std::string_view Name = NextPart(Rest);
  const std::string_view Search = NextPart(Rest);
  const std::string_view Replace = NextPart(Rest);
  const std::string_view Extension = NextPart(Rest);

  Require(EncodeUtf8(DecodeUtf8(Name)) == Name);
  const size_t CodePoints = DecodeUtf8(Name).size();
  Require(DecodeUtf8(UpperCaseName(Name)).size() == CodePoints);
  Require(DecodeUtf8(LowerCaseName(Name)).size() == CodePoints);

  TRenameSettings Settings;
  Settings.UpperCase = Flags & 1;
  Settings.LowerCase = Flags & 2;
  Settings.DelExtension = Flags & 4;
  Settings.AddExtension = Flags & 8;
  Settings.CounterSameWidth = Flags & 16;
  Settings.CounterFillZeros = Flags & 32;
  Settings.CounterStartValue = (Flags & 64) ? "2147483646" : "-3";
  Settings.CounterStepSize = (Flags & 128) ? "7" : "-2147483648";
  Settings.CounterWidth = std::to_string(Flags % 23 - 3);
  Settings.FileExtension = Extension;
  Settings.SearchAndReplace = true;
  Settings.SearchString = Search;
  Settings.ReplaceString = Replace;

  TUsedFields Used;
  int32_t Counter = 0;
  if (!CheckRenameSettings(Settings, Used, Counter).empty()) return 0;

  const bool AllValid =
      IsValidUtf8(Name) && IsValidUtf8(Search) && IsValidUtf8(Replace) && IsValidUtf8(Extension);
  TItemList Items;
  Items.Add("<name>", RemoveFileExt(Name));
  const std::string Matched = MatchReplace(Name, Search, Replace, Items);
  Require(!AllValid || IsValidUtf8(Matched));
  const reference::TResult Expected = reference::MatchReplace(Name, Search, Replace, {{"<name>", RemoveFileExt(Name)}});
  Require(Matched == Expected.Name);
  for (const auto& [Key, Value] : Expected.Brackets) Require(Items.Find(Key) == Value);

  const TFixedClock Clock;
  const TFieldContext Context{&Clock, "."};
  // One builder for both names, as a pass builds many names from rules made ready once.
  const TNameBuilder Builder(Settings, Used, Context);
  for (int Round = 0; Round < 2; ++Round) {
    const std::string Built = Builder.Build(Name, 1.5, Counter);
    Require(!AllValid || IsValidUtf8(Built));
  }
  return 0;
}
