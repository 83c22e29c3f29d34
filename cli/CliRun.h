// One run of quorvane-cli: the rules of a profile and the options, applied by
// the same passes as the window's Preview and Start Renaming to a list that
// holds the files in the order given.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "rename/Fields.h"

// The exit statuses.
enum TCliExitStatus {
  esDone = 0,
  esFailed = 1,  // the rules were refused, a file could not be found, renamed or undone, or nothing to undo
  esUsage = 2,   // the command line is wrong, or a journal is unreadable or damaged
};

// What a run reads and writes besides the files.
struct TCliEnvironment {
  std::istream& In;
  std::ostream& Out;
  std::ostream& Err;
  bool InIsTerminal = false;  // read-only questions are only asked on a terminal
  TFieldContext Fields;       // the clock, date separator and metadata reader of the fields
  bool ProcessEndsAfterRun = false;  // the program's main: the list is not freed
  // Where --apply, --undo and --finish keep their journals (see JournalFolder);
  // none: they keep none.
  std::optional<std::string> JournalFolder = std::nullopt;
};

// Runs the program with the arguments that follow its name; returns the exit status.
int RunCli(const std::vector<std::string>& Args, TCliEnvironment& Env);

// Text as a JSON string, quotes included. Bytes that are not UTF-8 become
// the escapes \udc80 to \udcff (the byte plus 0xDC00), so that a reader that
// knows this convention gets the original bytes back.
std::string JsonString(std::string_view Text);
