// Checks of the search text, the replacement text and the counter numbers
// before a pass uses them. Each returns the empty string when the text is
// accepted, else the message the pass shows in its error box.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include <QtGlobal>

#include "rename/RenameSettings.h"

// The messages as written; the checks return them translated (context "TextChecks").
inline constexpr std::string_view QuoteMessage = QT_TRANSLATE_NOOP(
    "TextChecks",
    "Doppelte Anführungszeichen zur Kennzeichnung des Anfangs oder des Endes des Dateinamens dürfen nur an "
    "erster oder letzter Stelle im Suchtext stehen!");
inline constexpr std::string_view BracketLimitMessage =
    QT_TRANSLATE_NOOP("TextChecks", "Es sind nur 9 Klammern im Suchtext erlaubt!");
inline constexpr std::string_view BracketBalanceMessage = QT_TRANSLATE_NOOP(
    "TextChecks", "Klammerfehler im Suchtext! Alle geöffneten Klammern müssen auch wieder geschlossen werden!");
inline constexpr std::string_view NoLiteralMessage = QT_TRANSLATE_NOOP(
    "TextChecks",
    "Der Suchtext muss mindestens ein erkennbares Zeichen enthalten! Dazu zählen keine Platzhalter (?*).");
inline constexpr std::string_view FieldOverlapMessage =
    QT_TRANSLATE_NOOP("TextChecks", "Klammerfehler im Ersetzungstext! Zwei Felder überschneiden sich!");
inline constexpr std::string_view InvalidNumberMessage =
    QT_TRANSLATE_NOOP("TextChecks", "In alle Felder dürfen nur gültige Zahlenwerte eingegeben werden!");

// Refuses search texts the matcher cannot use: a double quote anywhere but
// first or last, more than nine opening brackets, unequal counts of "<" and
// ">", or nothing but placeholders.
std::string CheckSearchText(std::string_view SearchString);

// Refuses a replacement text in which a field opens inside another or a ">"
// closes no field. While walking it adds the groups of the fields it meets to
// UsedFields (the caller empties the set first) and, at each counter field,
// sets CounterValue to the start value. A start value that is no integer is
// refused with InvalidNumberMessage and leaves CounterValue as it was.
std::string CheckReplaceText(std::string_view ReplaceString, const TRenameSettings& Settings,
                             TUsedFields& UsedFields, int32_t& CounterValue);

// Checks that the counter's start value and step, and the width when
// CheckWidth, are integers. Returns InvalidNumberMessage or the empty string.
// The counter dialog's OK runs this very check.
std::string CheckCounterTexts(std::string_view Start, std::string_view Step, bool CheckWidth, std::string_view Width);

// Checks that every counter number the pass will convert is an integer: start
// and step when the counter is used, the width as well when same width is on.
// Returns InvalidNumberMessage or the empty string.
std::string CheckCounterNumbers(const TRenameSettings& Settings, TUsedFields UsedFields);

// Everything a pass checks before it touches a file, in the pass's order:
// nothing when search and replace is off; else the search text, then the
// replacement text (which fills UsedFields, emptied here first, and resets
// the counter), then the counter numbers. Returns the first message.
std::string CheckRenameSettings(const TRenameSettings& Settings, TUsedFields& UsedFields, int32_t& CounterValue);
