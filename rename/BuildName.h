// The name pipeline: the fixed order in which the rules change one file name.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "rename/Clock.h"
#include "rename/Fields.h"
#include "rename/RenameSettings.h"

// Name without its last extension: everything before the last "." that comes
// after the last "/". Unchanged when there is no such dot (".profile" gives "").
std::string RemoveFileExt(std::string_view Name);
// The last extension without its dot; empty when there is none.
std::string GetFileExt(std::string_view Name);
// Name, a dot unless Ext begins with one, and Ext.
std::string AppendFileExt(std::string_view Name, std::string_view Ext);
// The part of a path after its last "/" (the whole text when there is none).
std::string_view NamePart(std::string_view Path);

// The new name of one file. FileName is the name part only. Runs, in this
// order: upper case, lower case (both set: lower case wins), removal of the
// extension, addition of FileExtension, then search and replace with the
// fields in UsedFields. While the counter is used, each call gives the name
// CounterValue and then advances it by the step (wrapping at 32 bits).
// Metadata holds what was read from inside the file for the photo and audio
// fields (nullptr: nothing was read).
// Settings must have passed CheckRenameSettings with this UsedFields; a
// counter number that is no integer throws EConvertError.
std::string BuildNewFileName(std::string_view FileName, TDateTime FileDate, const TRenameSettings& Settings,
                             TUsedFields UsedFields, int32_t& CounterValue, const TFieldContext& Context = {},
                             const TFileMetadata* Metadata = nullptr);
