// Whole-file reads and atomic whole-file writes.
#pragma once

#include <string>
#include <string_view>

#include "base/VmBaseClasses.h"

// Raised when a file cannot be opened, read or written; the message names the
// file. Code is the errno value of the failed call, 0 when none failed (a
// file too large, not a regular file, read-only).
class EFileError : public Exception {
 public:
  explicit EFileError(const std::string& Message, int Code = 0) : Exception(Message), Code(Code) {}
  int Code;
};

// The largest profile, INI or settings file the program reads: real ones
// hold a few dozen lines.
inline constexpr size_t MaxTextFileSize = 16 * 1024 * 1024;

// The bytes of the regular file at Path. Throws EFileError for a missing,
// unreadable or non-regular file (a fifo is never waited on) and for one
// larger than MaxSize bytes.
std::string ReadWholeFile(const std::string& Path, size_t MaxSize);

// Creates every missing level of Folder, each private to the user (0700).
// Throws EFileError naming the level that could not be made, with its errno
// (ENOTDIR when Folder ends up no folder).
void CreateFolders(const std::string& Folder);

// Replaces the file at Path with Data so that a reader sees either the old
// or the new content, never a mix: the bytes go to a new file in the same
// folder, are flushed to disk and then renamed over the target. An existing
// file keeps its permissions; a symbolic link is followed, not replaced.
// Throws EFileError, leaving an existing file as it was.
void WriteFileAtomic(const std::string& Path, std::string_view Data);

// Throws EFileError when Path is an existing regular file without write
// permission for its owner, or one this user may not write. WriteFileAtomic
// replaces a file by a rename, which such protection would not stop; writers
// that must honour it as writing in place would call this first.
void RefuseReadOnlyFile(const std::string& Path);
