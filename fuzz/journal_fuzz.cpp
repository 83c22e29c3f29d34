// Journal reader: arbitrary bytes as a journal file.
// Properties: no crash and no unbounded allocation; what is accepted names
// only files inside absolute folders (no "/", ".", ".." or empty names), a
// temporary name only in a ring, progress within the plan; and written
// again it reads back as the same plan.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "rename/Journal.h"

namespace {

void Require(bool Condition) {
  if (!Condition) std::abort();
}

bool IsName(const std::string& Name) {
  return !Name.empty() && Name != "." && Name != ".." && Name.find('/') == std::string::npos &&
         Name.find('\0') == std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  TJournal Journal;
  try {
    Journal = ParseJournal(std::string_view(reinterpret_cast<const char*>(Data), Size));
  } catch (const EJournalError&) {
    return 0;
  }
  Require(Journal.Steps.size() == Journal.Count);
  Require(Journal.Done >= 0 && size_t(Journal.Done) <= Journal.Count);
  for (const TJournalStep& Step : Journal.Steps) {
    Require(Step.Folder.starts_with('/') && Step.Folder.ends_with('/'));
    Require(IsName(Step.OldName) && IsName(Step.NewName));
    Require(Step.Temporary.empty() || (IsName(Step.Temporary) && Step.Ring >= 0));
  }
  const std::string Text = JournalPlanText(Journal);
  const TJournal Again = ParseJournal(Text);
  Require(Again.Steps == Journal.Steps && Again.Kind == Journal.Kind && Again.Started == Journal.Started);
  Require(JournalPlanText(Again) == Text);
  return 0;
}
