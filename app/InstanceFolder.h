// Where running copies of the program listen for files handed over by other
// processes: one local socket per copy, in a folder only this user can reach.
// Socket names sort by start time, so the newest copy's comes first.
#pragma once

#include <string>
#include <vector>

// "<RuntimeDir>/quorvane" when RuntimeDir ($XDG_RUNTIME_DIR) is an absolute
// path, else the user's own "<CacheHome or Home/.cache>/Velmora/Quorvane"
// ($XDG_CACHE_HOME, $HOME; relative values are ignored); "/tmp/quorvane-<uid>"
// only when there is no home either.
std::string InstanceFolderPath(const std::string& RuntimeDir, const std::string& CacheHome, const std::string& Home);

// Checks that Folder is private: a real folder (not a link) owned by this
// user that group and others cannot reach. With Create, a missing folder (and
// the missing folders above it) is made with mode 0700 first. False with a message in Error otherwise (also
// when Folder is missing and Create is false).
bool CheckInstanceFolder(const std::string& Folder, bool Create, std::string& Error);

// A name for this process's socket, "quorvane-" + 20-digit start time in
// nanoseconds of the monotonic clock + "-" + process id: a later start sorts after.
std::string NewInstanceSocketName();

// The paths of the sockets in Folder that carry such names, newest first.
std::vector<std::string> InstanceSockets(const std::string& Folder);
