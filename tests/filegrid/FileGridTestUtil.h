// A made-up file system for the list and sort tests, and a grid over
// in-memory rows with short ways to build, select and inspect it.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "filegrid/VirtualFileGrid.h"

namespace filegridtest {

// Files are whatever the test puts into Files; everything else is missing.
class TFakeFileInfoReader : public TFileInfoReader {
 public:
  std::optional<TFileInfo> Read(const std::string& Path) override {
    ++Reads;
    auto Found = Files.find(Path);
    if (Found == Files.end()) return std::nullopt;
    return Found->second;
  }
  TFileInfo& Put(const std::string& Path, uint64_t Size = 0) {
    TFileInfo& Info = Files[Path];
    Info.Size = Size;
    Info.Attributes = faArchive;
    Info.Description = "Document";
    return Info;
  }
  std::map<std::string, TFileInfo> Files;
  int Reads = 0;
};

class FileGridTest : public ::testing::Test {
 protected:
  FileGridTest() : Reader(std::make_shared<TFakeFileInfoReader>()), Grid(Rows, Reader) {}

  // Adds files named by the given paths (each given the size in Sizes when any).
  void AddFiles(const std::vector<std::string>& Paths, const std::vector<uint64_t>& Sizes = {}) {
    for (size_t I = 0; I < Paths.size(); ++I) {
      Reader->Put(Paths[I], I < Sizes.size() ? Sizes[I] : 0);
      Grid.AddFile(Paths[I]);
    }
  }
  // Display order as the files' paths joined by blanks.
  std::string Order() const {
    std::string Result;
    for (int I = 0; I < Grid.FileCount(); ++I) Result += (I ? " " : "") + Grid.GetFileName(I);
    return Result;
  }
  void Select(const std::set<int>& RowSet) {
    Rows.ClearSelection();
    for (int Row : RowSet) Rows.SetRowSelected(Row, true);
  }
  std::set<int> SelectedRows() const {
    std::set<int> Result;
    for (int Row = Rows.FirstSelectedRow(); Row >= 0; Row = Rows.NextSelectedRow(Row)) Result.insert(Row);
    return Result;
  }
  // The paths of the selected rows, in row order.
  std::string SelectedFiles() const {
    std::string Result;
    for (int Row : SelectedRows()) Result += (Result.empty() ? "" : " ") + Grid.GetFileName(Row);
    return Result;
  }

  TMemoryFileGridRows Rows;
  std::shared_ptr<TFakeFileInfoReader> Reader;
  TVmVirtualFileGrid Grid;
};

}  // namespace filegridtest
