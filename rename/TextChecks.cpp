#include "rename/TextChecks.h"

#include "base/Translation.h"
#include "base/VmStringLib.h"
#include "rename/Fields.h"

// All characters these checks look at are ASCII, and no byte of a multi-byte
// UTF-8 sequence is ASCII, so walking bytes gives the same answers as walking
// characters.

std::string CheckSearchText(std::string_view SearchString) {
  int Opening = 0;
  int Closing = 0;
  bool OnlyPlaceholders = true;
  const size_t Length = SearchString.size();
  for (size_t I = 0; I < Length; ++I) {
    const char C = SearchString[I];
    if (C == '"') {
      OnlyPlaceholders = false;
      if (I != 0 && I + 1 != Length) return Tr("TextChecks", QuoteMessage.data());
    } else if (C == '<') {
      if (++Opening > 9) return Tr("TextChecks", BracketLimitMessage.data());
    } else if (C == '>') {
      ++Closing;
    } else if (C != '?' && C != '*') {
      OnlyPlaceholders = false;
    }
  }
  if (Opening != Closing) return Tr("TextChecks", BracketBalanceMessage.data());
  if (OnlyPlaceholders) return Tr("TextChecks", NoLiteralMessage.data());
  return {};
}

std::string CheckReplaceText(std::string_view ReplaceString, const TRenameSettings& Settings,
                             TUsedFields& UsedFields, int32_t& CounterValue) {
  bool InField = false;
  size_t FieldStart = 0;
  for (size_t I = 0; I < ReplaceString.size(); ++I) {
    const char C = ReplaceString[I];
    if (C == '<') {
      if (InField) return Tr("TextChecks", FieldOverlapMessage.data());
      InField = true;
      FieldStart = I + 1;
    } else if (C == '>') {
      if (!InField) return Tr("TextChecks", FieldOverlapMessage.data());
      InField = false;
      const std::string_view Name = ReplaceString.substr(FieldStart, I - FieldStart);
      // The fields read from inside the file are known by their whole key.
      // The photo date and time also switch on the file date's group below:
      // its date stands in when a file holds none.
      const std::string_view Key = ReplaceString.substr(FieldStart - 1, Name.size() + 2);
      if (const std::optional<TUsedField> Group = MetadataFieldGroup(Key)) UsedFields.Include(*Group);
      // Classified by the first one or two characters, case-sensitively.
      if (Name.starts_with('n') || Name.starts_with('t')) {
        UsedFields.Include(ufNameType);
      } else if (Name.starts_with("za")) {
        UsedFields.Include(ufCounter);
        const std::optional<int32_t> Start = TryStrToInt(Settings.CounterStartValue);
        if (!Start) return Tr("TextChecks", InvalidNumberMessage.data());
        CounterValue = *Start;
      } else if (Name.starts_with("ze")) {
        UsedFields.Include(ufTime);
      } else if (Name.starts_with('d')) {
        UsedFields.Include(ufDate);
      }
    }
  }
  return {};
}

std::string CheckCounterTexts(std::string_view Start, std::string_view Step, bool CheckWidth, std::string_view Width) {
  if (!TryStrToInt(Start) || !TryStrToInt(Step) || (CheckWidth && !TryStrToInt(Width)))
    return Tr("TextChecks", InvalidNumberMessage.data());
  return {};
}

std::string CheckCounterNumbers(const TRenameSettings& Settings, TUsedFields UsedFields) {
  if (!Settings.SearchAndReplace || !UsedFields.Contains(ufCounter)) return {};
  return CheckCounterTexts(Settings.CounterStartValue, Settings.CounterStepSize, Settings.CounterSameWidth,
                           Settings.CounterWidth);
}

std::string CheckRenameSettings(const TRenameSettings& Settings, TUsedFields& UsedFields, int32_t& CounterValue) {
  UsedFields.Clear();
  if (!Settings.SearchAndReplace) return {};
  std::string Message = CheckSearchText(Settings.SearchString);
  if (!Message.empty()) return Message;
  Message = CheckReplaceText(Settings.ReplaceString, Settings, UsedFields, CounterValue);
  if (!Message.empty()) return Message;
  return CheckCounterNumbers(Settings, UsedFields);
}
