// The journal of a renaming pass: its whole plan, written and synced before
// the first rename, then progress marks and an end mark. Text, one record a
// line, fields separated by tabs:
//   Quorvane journal 2
//   pass <kind> <started, seconds since 1970> <steps>
//   step <ring> <device> <inode> <folder> <old name> <new name> <temporary name>
//   plan <check sum of every byte before this line, 16 hex digits>
//   done <files whose outcome is final>
//   end
// Names are byte-exact: "\\", tab, line end, other control bytes and bytes
// that are not UTF-8 are escaped (\\ \t \n \xHH); everything else is as on disk.
// The check sum is FNV-1a 64 over the little-endian 8-byte words of the text,
// then its length; version 1, still read, took FNV-1a 64 of each byte.
#pragma once

#include <chrono>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "rename/PassStages.h"

// One file a pass moves, in the order of the disk work. A file of a ring
// that steps aside first has its temporary name; the others have none.
struct TJournalStep {
  int Ring = -1;
  uint64_t Device = 0, Inode = 0;
  std::string Folder;  // absolute, ending in "/"
  std::string OldName, NewName, Temporary;
  bool operator==(const TJournalStep&) const = default;
};

struct TJournal {
  std::string Kind;  // "rename", "undo" or "finish"
  int64_t Started = 0;
  size_t Count = 0;  // the steps the plan holds
  std::vector<TJournalStep> Steps;
  int Done = 0;        // the last progress mark
  bool Ended = false;  // the pass came to its end (or was recovered since)
};

// A journal that cannot be used, and why; the message names the file when read from one.
class EJournalError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The header, steps and plan mark of a journal.
std::string JournalPlanText(const TJournal& Journal);
// Reads a journal's text. A damaged or truncated plan is refused (EJournalError
// saying at which line); a last line cut short after the plan is a progress
// mark the crash interrupted and is ignored.
TJournal ParseJournal(std::string_view Text);

// Where a pass keeps its journal: an object for the whole program, one file per pass.
class TPassJournal {
 public:
  virtual ~TPassJournal() = default;
  // Records a plan and makes it durable. Returns why that failed (then no
  // file may be renamed); empty when done.
  virtual std::string Begin(std::string_view Kind, const std::vector<TPassEntry>& Entries,
                            const std::vector<TPassStep>& Steps) = 0;
  // One more file's outcome is final.
  virtual void StepDone() = 0;
  // The pass came to its end.
  virtual void End() = 0;
};

// The journal folder: $XDG_STATE_HOME/Velmora/Quorvane/journal/ (when the
// variable holds an absolute path), else ~/.local/state/...; empty when neither is known.
std::string JournalFolder(const std::string& StateHome, const std::string& Home);

// A journal file per pass in a private folder, which it creates (0700, files
// 0600). Before each new journal the oldest beyond the last 50 and those
// older than 90 days are removed, interrupted ones excepted.
class TFileJournal : public TPassJournal {
 public:
  explicit TFileJournal(std::string Folder) : FFolder(std::move(Folder)) {}
  ~TFileJournal() override;
  TFileJournal(const TFileJournal&) = delete;
  TFileJournal& operator=(const TFileJournal&) = delete;

  std::string Begin(std::string_view Kind, const std::vector<TPassEntry>& Entries,
                    const std::vector<TPassStep>& Steps) override;
  void StepDone() override;
  void End() override;
  // The file of the last pass begun; empty before.
  const std::string& Path() const { return FPath; }

  static constexpr size_t KeepCount = 50;
  static constexpr int64_t KeepSeconds = 90 * 24 * 3600;
  // A progress mark, and its sync, follows no sooner than this many files and
  // this much time after the last one: each sync of a mark also commits the
  // renames before it, which costs on a journalling file system.
  static constexpr int MarkEvery = 1000;
  static constexpr std::chrono::milliseconds MarkInterval{100};

 private:
  void Close();
  void Mark(std::string_view Line);

  std::string FFolder, FPath;
  int FFd = -1;
  int FDone = 0, FMarked = 0;
  std::chrono::steady_clock::time_point FMarkedAt;
};

// The journal files of Folder, oldest first.
std::vector<std::string> ListJournals(const std::string& Folder);
// Whether a journal file ends with its end mark; reads its last bytes only.
bool JournalEnded(const std::string& Path);
// The newest journal of Folder that has no end mark; empty when there is none.
std::string FindInterruptedJournal(const std::string& Folder);
// A journal file, whole; EJournalError naming the file when it cannot be read or used.
TJournal ReadJournalFile(const std::string& Path);
// Only the kind, start and count of a journal file (Steps stays empty); EJournalError as above.
TJournal ReadJournalHeader(const std::string& Path);
// Gives a recovered journal its end mark; returns 0 or the errno.
int MarkJournalEnded(const std::string& Path);
