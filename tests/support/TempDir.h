// File helpers for tests that work on real folders.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <functional>
#include <string>

#include "base/VmFileLib.h"

// A fresh folder under /tmp for one test, removed with everything in it afterwards.
struct TTempDir {
  TTempDir() {
    char Template[] = "/tmp/quorvane-test-XXXXXX";
    Path = ::mkdtemp(Template);
  }
  ~TTempDir() { std::filesystem::remove_all(Path); }
  TTempDir(const TTempDir&) = delete;
  TTempDir& operator=(const TTempDir&) = delete;

  std::string operator/(const std::string& Name) const { return (Path / Name).string(); }
  // Writes a file of that name holding Content and gives its path.
  std::string Make(const std::string& Name, const std::string& Content = "") const {
    WriteFileAtomic(*this / Name, Content);
    return *this / Name;
  }
  int EntryCount() const {
    return static_cast<int>(
        std::distance(std::filesystem::directory_iterator(Path), std::filesystem::directory_iterator()));
  }
  std::filesystem::path Path;
};

// The bytes of a file a test wrote.
inline std::string ReadFile(const std::string& Path) { return ReadWholeFile(Path, MaxTextFileSize); }

// Checks that Action raises EFileError and that its message names Path; gives the error's code (-1: none).
inline int ExpectFileErrorNaming(const std::string& Path, const std::function<void()>& Action) {
  try {
    Action();
    ADD_FAILURE() << "no error for " << Path;
  } catch (const EFileError& E) {
    EXPECT_NE(std::string(E.what()).find(Path), std::string::npos) << E.what();
    return E.Code;
  }
  return -1;
}
