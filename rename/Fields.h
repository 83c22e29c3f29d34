// The values of the replacement fields: the file's name and extension, the
// current and the file's date and time, and the counter.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "rename/Clock.h"
#include "rename/Matcher.h"

class QString;

// The ten date keys and the ten time keys, in the order they are added.
extern const std::array<std::string_view, 10> DateFieldKeys;
extern const std::array<std::string_view, 10> TimeFieldKeys;
inline constexpr std::string_view NameFieldKey = "<name>";
inline constexpr std::string_view TypeFieldKey = "<typ>";
inline constexpr std::string_view CounterFieldKey = "<zaehler>";

// The separator between the parts of a date in a short date format written
// with Qt's pattern letters ("dd.MM.yyyy" gives "."). A "/", a character no
// file name may hold, or a format without separator gives ".".
std::string DateSeparatorFromFormat(const QString& Format);
// The separator of the system locale's short date format, as above.
const std::string& SystemDateSeparator();

// What the date and time fields are read from besides the file date.
struct TFieldContext {
  const TClock* Clock = &SystemClock();
  std::string DateSeparator = SystemDateSeparator();
};

// Adds the ten date fields ("dd/mm/yyyy", "yyyy/mm/dd", "dd", "mm", "yyyy",
// first of the clock's date, then of FileDate) to Items; the clock is read
// anew for each field. "/" stands for the context's separator.
void AddDateFields(TItemList& Items, TDateTime FileDate, const TFieldContext& Context);
// Adds the ten time fields ("hh/nn/ss", "hh/nn", "ss", "nn", "hh"), the same way.
void AddTimeFields(TItemList& Items, TDateTime FileDate, const TFieldContext& Context);

// The counter text of Value: its decimal text, or with SameWidth exactly
// Width characters of it (the leading ones cut off; up to ten fill characters,
// zeros or spaces, put in front).
std::string CounterText(int32_t Value, bool SameWidth, int32_t Width, bool FillZeros);

// Value plus Step, wrapping at 32 bits.
int32_t AdvanceCounter(int32_t Value, int32_t Step);
