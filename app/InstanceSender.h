// The sending end: hands paths to the newest running copy of the program as
// one batch, or starts the program with them when no copy runs.
#pragma once

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

enum TSendOutcome { soSent, soNoCopyRunning, soFailed };

struct TSendResult {
  TSendOutcome Outcome = soFailed;
  std::string Error;  // with soFailed: what went wrong
};

// Hands Paths, in order, to the newest copy listening in Folder (see InstanceFolderPath):
// a begin message, one file message per path, an end message, streamed
// without waiting for each answer (a few thousand may be outstanding); it
// has succeeded once every message has been answered. A socket that refuses the
// connection was left by a crashed copy: it is removed and the next older
// one is tried. A copy that closes the connection before answering the
// first message is passed over too; one that fails later gives soFailed, as
// it may already hold some of the files. A path too long for one message
// gives soFailed before anything is sent.
TSendResult SendToRunningCopy(const std::string& Folder, const std::vector<std::string>& Paths,
                              std::chrono::milliseconds AnswerTimeout = std::chrono::seconds(60));

// Path made absolute against CurrentFolder (itself absolute), with "." parts
// and repeated slashes dropped. ".." parts stay, since a link before them
// decides where they lead. The bytes are kept as they are.
std::string AbsolutePath(std::string_view Path, std::string_view CurrentFolder);

// The program to start when no copy runs: "quorvane" in OwnFolder, else the
// first one on PATH; empty when there is none.
std::string FindProgram(const std::string& OwnFolder);

// Starts Program with Args in a session of its own, not waited for. False
// with a message in Error when it cannot be started.
bool StartDetached(const std::string& Program, const std::vector<std::string>& Args, std::string& Error);
