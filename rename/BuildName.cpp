#include "rename/BuildName.h"

#include "base/FileNames.h"
#include "base/VmBaseClasses.h"
#include "base/VmStringLib.h"
#include "rename/Matcher.h"
#include "rename/NameText.h"

namespace {

int32_t ToInt(const std::string& Text) {
  const std::optional<int32_t> Value = TryStrToInt(Text);
  if (!Value) throw EConvertError("'" + Text + "' is not a valid integer value");
  return *Value;
}

// The prepared search and replacement of the texts last used on this thread,
// so that a pass does not prepare them again for every name.
const TSearchReplace& Prepared(const TRenameSettings& Settings) {
  thread_local TSearchReplace Last;
  thread_local bool Valid = false;
  if (!Valid || Last.SearchString() != Settings.SearchString || Last.ReplaceString() != Settings.ReplaceString) {
    Last = TSearchReplace(Settings.SearchString, Settings.ReplaceString);
    Valid = true;
  }
  return Last;
}

}  // namespace

std::string BuildNewFileName(std::string_view FileName, TDateTime FileDate, const TRenameSettings& Settings,
                             TUsedFields UsedFields, int32_t& CounterValue, const TFieldContext& Context) {
  // Name is only copied when a rule changes it.
  std::string Changed;
  std::string_view Name = FileName;
  const auto Set = [&](std::string&& Text) {
    Changed = std::move(Text);
    Name = Changed;
  };
  if (Settings.UpperCase) Set(UpperCaseName(Name));
  if (Settings.LowerCase) Set(LowerCaseName(Name));
  if (Settings.DelExtension) Set(RemoveFileExt(Name));
  if (Settings.AddExtension) Set(AppendFileExt(Name, Settings.FileExtension));
  if (!Settings.SearchAndReplace) return std::string(Name);

  TItemList Items;
  if (UsedFields.Contains(ufNameType)) {
    Items.Add(NameFieldKey, RemoveFileExt(Name));
    Items.Add(TypeFieldKey, GetFileExt(Name));
  }
  if (UsedFields.Contains(ufCounter)) {
    const int32_t Width = Settings.CounterSameWidth ? ToInt(Settings.CounterWidth) : 0;
    const int32_t Step = ToInt(Settings.CounterStepSize);
    Items.Add(CounterFieldKey, CounterText(CounterValue, Settings.CounterSameWidth, Width, Settings.CounterFillZeros));
    CounterValue = AdvanceCounter(CounterValue, Step);
  }
  if (UsedFields.Contains(ufDate)) AddDateFields(Items, FileDate, Context);
  if (UsedFields.Contains(ufTime)) AddTimeFields(Items, FileDate, Context);
  return Prepared(Settings).ApplyKeepingItems(Name, Items);
}
