#include "rename/BuildName.h"

#include "base/VmBaseClasses.h"
#include "base/VmStringLib.h"
#include "rename/Matcher.h"
#include "rename/NameText.h"

namespace {

// Position of the dot that starts the last extension, or npos. Only "/"
// separates folders; "\" and ":" are ordinary characters of a name.
size_t ExtensionDot(std::string_view Name) {
  const size_t Found = Name.find_last_of("./");
  if (Found == std::string_view::npos || Name[Found] != '.') return std::string_view::npos;
  return Found;
}

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

std::string RemoveFileExt(std::string_view Name) {
  const size_t Dot = ExtensionDot(Name);
  return std::string(Dot == std::string_view::npos ? Name : Name.substr(0, Dot));
}

std::string GetFileExt(std::string_view Name) {
  const size_t Dot = ExtensionDot(Name);
  return Dot == std::string_view::npos ? std::string() : std::string(Name.substr(Dot + 1));
}

std::string AppendFileExt(std::string_view Name, std::string_view Ext) {
  std::string Result(Name);
  if (!Ext.starts_with('.')) Result += '.';
  Result += Ext;
  return Result;
}

std::string_view NamePart(std::string_view Path) {
  const size_t Slash = Path.rfind('/');
  return Slash == std::string_view::npos ? Path : Path.substr(Slash + 1);
}

std::string BuildNewFileName(std::string_view FileName, TDateTime FileDate, const TRenameSettings& Settings,
                             TUsedFields UsedFields, int32_t& CounterValue, const TFieldContext& Context,
                             const TFileMetadata* Metadata) {
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
  if (MetadataGroupsOf(UsedFields) != 0)
    AddMetadataFields(Items, UsedFields, Metadata ? *Metadata : TFileMetadata(), FileDate, Context);
  return Prepared(Settings).ApplyKeepingItems(Name, Items);
}
