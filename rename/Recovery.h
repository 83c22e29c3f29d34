// Undo and recovery of a journalled pass. The disk is the truth: where each
// file is now is found from its names and its device and inode, never from
// the progress marks, so a lost mark costs nothing and no step runs twice.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "rename/Journal.h"

// The names under which a journalled file is found now (any of them).
enum TStepPlace : uint8_t {
  spOld = 1,        // its name before the pass
  spTemporary = 2,  // the temporary name of its ring
  spNew = 4,        // its name after the pass
};

struct TStepState {
  uint8_t Places = 0;  // TStepPlace bits; 0: under none of its names
  TFileStatus File;    // as found
};

// Where each step's file is. In a folder that ignores case the old and the
// new name may lead to one entry: it counts where PreferNew says.
std::vector<TStepState> LocateSteps(const TJournal& Journal, TFileSystem& Fs, bool PreferNew);
// "old", "temporary", "new", "old+new", ..., or "gone".
std::string StepPlaceText(uint8_t Places);

enum TRecoveryGoal { rgUndo, rgFinish };

// A file that a recovery left where it was, and why.
struct TRecoveryProblem {
  std::string Path;
  std::string Reason;
};

struct TRecoveryResult {
  TPassResult Pass;  // the files moved; Position is the step's index in the journal
  int Already = 0;   // files that were where the goal puts them already
  std::vector<TRecoveryProblem> Problems;
  std::string JournalError;  // the recovery's own journal could not be written: nothing moved
};

// Brings every file of a journal back under its old name, the last step
// first (undo), or on under its new name (finish): only files that are
// still the files the pass moved, never replacing, through the stages of a
// pass, so rings go through temporary names and no temporary name stays.
// The moves are journalled in Log (when given) as a pass of kind "undo" or "finish".
TRecoveryResult RecoverPass(const TJournal& Journal, TRecoveryGoal Goal, TFileSystem& Fs, TPassJournal* Log);
