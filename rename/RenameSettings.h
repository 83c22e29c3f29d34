// The rule set of one pass and the groups of replacement fields it uses.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

// The rules of the three groups and of the counter. Field names are the profile
// keys; a pass reads the controls into this record when it starts.
struct TRenameSettings {
  bool UpperCase = false;
  bool LowerCase = false;
  bool DelExtension = false;
  bool AddExtension = false;
  std::string FileExtension;
  bool SearchAndReplace = false;
  std::string SearchString;
  std::string ReplaceString;
  // The counter numbers are kept as typed and converted when they are used.
  std::string CounterStartValue = "1";
  std::string CounterStepSize = "1";
  bool CounterSameWidth = false;
  std::string CounterWidth;
  bool CounterFillZeros = true;  // false: fill with spaces

  bool operator==(const TRenameSettings&) const = default;
};

// The groups of fields that a replacement text uses; only these are computed.
// The photo and audio groups are read from inside the file (eight groups
// fill the set's eight bits).
enum TUsedField : uint8_t { ufDate, ufTime, ufCounter, ufNameType, ufPhotoDate, ufPhotoTime, ufCamera, ufAudio };

// A set of TUsedField values.
class TUsedFields {
 public:
  TUsedFields() = default;
  TUsedFields(std::initializer_list<TUsedField> Fields) {
    for (TUsedField F : Fields) Include(F);
  }
  void Include(TUsedField Field) { Bits |= uint8_t(1u << Field); }
  bool Contains(TUsedField Field) const { return (Bits >> Field) & 1u; }
  bool Empty() const { return Bits == 0; }
  void Clear() { Bits = 0; }
  bool operator==(const TUsedFields&) const = default;

 private:
  uint8_t Bits = 0;
};
