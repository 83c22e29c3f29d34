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

}  // namespace

TNameBuilder::TNameBuilder(const TRenameSettings& Settings, TUsedFields UsedFields, TFieldContext Context)
    : FSettings(Settings), FUsedFields(UsedFields), FContext(std::move(Context)) {
  if (!Settings.SearchAndReplace) return;
  FSearch = TSearchReplace(Settings.SearchString, Settings.ReplaceString);
  if (UsedFields.Contains(ufCounter)) {
    FWidth = Settings.CounterSameWidth ? ToInt(Settings.CounterWidth) : 0;
    FStep = ToInt(Settings.CounterStepSize);
  }
}

bool TNameBuilder::UsesFileDate() const { return FUsedFields.Contains(ufDate) || FUsedFields.Contains(ufTime); }

bool TNameBuilder::UsesMetadata() const { return MetadataGroupsOf(FUsedFields) != 0; }

TFileMetadata TNameBuilder::ReadMetadata(const std::string& Path) const {
  const unsigned Groups = MetadataGroupsOf(FUsedFields);
  return Groups != 0 && FContext.Metadata ? FContext.Metadata->Read(Path, Groups) : TFileMetadata();
}

std::string TNameBuilder::Build(std::string_view FileName, TDateTime FileDate, int32_t& CounterValue,
                                const TFileMetadata* Metadata) const {
  const TRenameSettings& Settings = FSettings;
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
  if (FUsedFields.Contains(ufNameType)) {
    Items.Add(NameFieldKey, RemoveFileExt(Name));
    Items.Add(TypeFieldKey, GetFileExt(Name));
  }
  if (FUsedFields.Contains(ufCounter)) {
    Items.Add(CounterFieldKey, CounterText(CounterValue, Settings.CounterSameWidth, FWidth, Settings.CounterFillZeros));
    CounterValue = AdvanceCounter(CounterValue, FStep);
  }
  if (FUsedFields.Contains(ufDate)) AddDateFields(Items, FileDate, FContext);
  if (FUsedFields.Contains(ufTime)) AddTimeFields(Items, FileDate, FContext);
  if (MetadataGroupsOf(FUsedFields) != 0)
    AddMetadataFields(Items, FUsedFields, Metadata ? *Metadata : TFileMetadata(), FileDate, FContext);
  return FSearch.ApplyKeepingItems(Name, Items);
}

std::string BuildNewFileName(std::string_view FileName, TDateTime FileDate, const TRenameSettings& Settings,
                             TUsedFields UsedFields, int32_t& CounterValue, const TFieldContext& Context,
                             const TFileMetadata* Metadata) {
  return TNameBuilder(Settings, UsedFields, Context).Build(FileName, FileDate, CounterValue, Metadata);
}
