// The command line of quorvane-cli: rules, paths and how to run, read from
// the arguments. Options come before the paths; "--" ends them early.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "rename/RenameSettings.h"

// How read-only files are treated when renaming.
enum TReadOnlyAnswer { roAsk, roYes, roNo };

// One rule option as given, applied over the profile's rules in the order given.
struct TRuleOverride {
  std::string Option;  // as listed in the help, "--upper"
  std::string Value;   // empty for options without a value
  bool operator==(const TRuleOverride&) const = default;
};

struct TCliOptions {
  std::string ProfileFile;              // empty: start from the default rules
  std::vector<TRuleOverride> Overrides;
  bool Apply = false;                   // rename; otherwise only show the new names
  bool Names = false;                   // names from standard input instead of files
  bool Json = false;                    // one JSON object per file
  TReadOnlyAnswer ReadOnly = roAsk;
  std::string FilesFrom;                // a file of paths ("-" for standard input)
  bool NullSeparated = false;           // paths and names end in NUL bytes, not line ends
  bool Undo = false;                    // undo the last pass, or the journal given as the one path
  bool Finish = false;                  // finish an interrupted pass (the last, or the journal given)
  bool Recover = false;                 // show the interrupted pass and where its files are
  bool Help = false;
  bool Version = false;
  std::vector<std::string> Paths;
};

// The outcome of reading the arguments: Error is empty when they were usable.
struct TCliParseResult {
  TCliOptions Options;
  std::string Error;
};

// Reads the arguments that follow the program's name.
TCliParseResult ParseCliOptions(const std::vector<std::string>& Args);

// Rules with the overrides applied in order over them. Overrides must come
// from ParseCliOptions.
TRenameSettings ApplyOverrides(TRenameSettings Settings, const std::vector<TRuleOverride>& Overrides);

// The text of --help.
std::string CliHelpText();
