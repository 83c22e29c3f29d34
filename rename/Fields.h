// The values of the replacement fields: the file's name and extension, the
// current and the file's date and time, the counter, and the values read from
// inside the file (photo date and time, camera model, audio tags).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "filegrid/FileMetadata.h"
#include "rename/Clock.h"
#include "rename/Matcher.h"
#include "rename/RenameSettings.h"

class QString;

// The ten date keys and the ten time keys, in the order they are added.
extern const std::array<std::string_view, 10> DateFieldKeys;
extern const std::array<std::string_view, 10> TimeFieldKeys;
inline constexpr std::string_view NameFieldKey = "<name>";
inline constexpr std::string_view TypeFieldKey = "<typ>";
inline constexpr std::string_view CounterFieldKey = "<zaehler>";
// The five photo date keys and the five photo time keys ("f": from the
// picture's Exif; the file date stands in when there is none), the camera
// model, and the audio tags: artist, title, album, track, year, genre.
extern const std::array<std::string_view, 5> PhotoDateFieldKeys;
extern const std::array<std::string_view, 5> PhotoTimeFieldKeys;
inline constexpr std::string_view CameraFieldKey = "<kamera>";
extern const std::array<std::string_view, 6> AudioFieldKeys;

// The separator between the parts of a date in a short date format written
// with Qt's pattern letters ("dd.MM.yyyy" gives "."). A "/", a character no
// file name may hold, or a format without separator gives ".".
std::string DateSeparatorFromFormat(const QString& Format);
// The separator of the system locale's short date format, as above.
const std::string& SystemDateSeparator();

// What the date and time fields are read from besides the file date. The
// programs pass System(); without a clock the current date and time are
// the zero date.
struct TFieldContext {
  const TClock* Clock = nullptr;
  std::string DateSeparator = ".";
  // Reads the photo and audio fields; nullptr leaves them empty (the photo
  // date and time then give the file date).
  TFileMetadataReader* Metadata = nullptr;

  // The system's clock and the locale's date separator.
  static TFieldContext System() { return {&SystemClock(), SystemDateSeparator(), nullptr}; }
};

// Adds the ten date fields ("dd/mm/yyyy", "yyyy/mm/dd", "dd", "mm", "yyyy",
// first of the clock's date, then of FileDate) to Items; the clock is read
// anew for each field. "/" stands for the context's separator.
void AddDateFields(TItemList& Items, TDateTime FileDate, const TFieldContext& Context);
// Adds the ten time fields ("hh/nn/ss", "hh/nn", "ss", "nn", "hh"), the same way.
void AddTimeFields(TItemList& Items, TDateTime FileDate, const TFieldContext& Context);

// The group of a field read from inside the file, for its key with the
// brackets ("<kamera>" gives ufCamera); nothing for every other text.
std::optional<TUsedField> MetadataFieldGroup(std::string_view Key);
// The TMetadataGroup bits a pass reads for the groups in Used (0 for none).
unsigned MetadataGroupsOf(TUsedFields Used);

// A tag value as it goes into a name: "/" becomes "." and control characters
// (U+0000 to U+001F, U+007F) are dropped, so a tag never adds a folder to a
// name nor hides a character; spaces at either end are trimmed.
std::string TagFieldText(std::string_view Value);
// A track number as it goes into a name: the part before a "/" ("3/13" gives
// "3"), with at least two digits when it is a number ("03"); other text as
// TagFieldText gives it.
std::string TrackFieldText(std::string_view Value);

// Adds the fields of the metadata groups in Used: the five photo date fields
// and the five photo time fields (pictures as the file date's, of the photo
// date or, without one, of FileDate), the camera model, then the six audio
// tags; absent values give empty texts.
void AddMetadataFields(TItemList& Items, TUsedFields Used, const TFileMetadata& Metadata, TDateTime FileDate,
                       const TFieldContext& Context);

// The counter text of Value: its decimal text, or with SameWidth exactly
// Width characters of it (the leading ones cut off; up to ten fill characters,
// zeros or spaces, put in front).
std::string CounterText(int32_t Value, bool SameWidth, int32_t Width, bool FillZeros);

// Value plus Step, wrapping at 32 bits.
int32_t AdvanceCounter(int32_t Value, int32_t Step);
