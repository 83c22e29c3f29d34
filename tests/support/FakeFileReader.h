// A made-up file system for the file list: files are whatever a test puts
// in; every other path is missing.
#pragma once

#include <map>
#include <optional>
#include <string>

#include "filegrid/FileInfoReader.h"

struct TFakeReader : TFileInfoReader {
  std::optional<TFileInfo> Read(const std::string& Path) override {
    return Files.count(Path) ? std::optional(Files.at(Path)) : std::nullopt;
  }
  TFileInfo& Put(const std::string& Path, uint64_t Size = 0) { return Files[Path] = {Size, faArchive, 0, 0, "Doc", 0}; }
  std::map<std::string, TFileInfo> Files;
};
