// The name pipeline: the fixed order in which the rules change one file name.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "rename/Clock.h"
#include "rename/Fields.h"
#include "rename/Matcher.h"
#include "rename/RenameSettings.h"

// The rules of one pass made ready once: the search text prepared for the
// matcher and the counter numbers converted. One builder serves one thread.
class TNameBuilder {
 public:
  // Settings must have passed CheckRenameSettings with this UsedFields; a
  // counter number that is no integer throws EConvertError.
  TNameBuilder(const TRenameSettings& Settings, TUsedFields UsedFields, TFieldContext Context = {});

  // The new name of one file. FileName is the name part only. Runs, in this
  // order: upper case, lower case (both set: lower case wins), removal of the
  // extension, addition of FileExtension, then search and replace with the
  // fields in UsedFields. While the counter is used, each call gives the name
  // CounterValue and then advances it by the step (wrapping at 32 bits).
  // Metadata holds what was read from inside the file for the photo and
  // audio fields (nullptr: nothing was read).
  std::string Build(std::string_view FileName, TDateTime FileDate, int32_t& CounterValue,
                    const TFileMetadata* Metadata = nullptr) const;
  // What the photo and audio fields in use need of the file at Path; nothing
  // without such a field or without a reader.
  TFileMetadata ReadMetadata(const std::string& Path) const;
  TUsedFields UsedFields() const { return FUsedFields; }
  // What of a file besides its name the names need: its date (date and time
  // fields), and what is inside it (photo and audio fields).
  bool UsesFileDate() const;
  bool UsesMetadata() const;

 private:
  TRenameSettings FSettings;
  TUsedFields FUsedFields;
  TFieldContext FContext;
  TSearchReplace FSearch;
  int32_t FWidth = 0, FStep = 0;
};

// One name with rules made ready for it alone (see TNameBuilder).
std::string BuildNewFileName(std::string_view FileName, TDateTime FileDate, const TRenameSettings& Settings,
                             TUsedFields UsedFields, int32_t& CounterValue, const TFieldContext& Context = {},
                             const TFileMetadata* Metadata = nullptr);
