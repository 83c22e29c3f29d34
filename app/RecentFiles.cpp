#include "app/RecentFiles.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "base/FileNames.h"

void TRecentFiles::Add(const std::string& FileName) {
  if (FileName.empty()) return;
  std::error_code Error;
  const std::filesystem::path Full = std::filesystem::absolute(FileName, Error);
  const std::string Path = Error ? FileName : Full.lexically_normal().string();
  std::erase(FItems, Path);
  FItems.insert(FItems.begin(), Path);
  if (Count() > MaxCount) FItems.resize(MaxCount);
}

void TRecentFiles::LoadExisting(const std::vector<std::string>& Paths) {
  FItems.clear();
  for (const std::string& Path : Paths) {
    if (Count() == MaxCount) break;
    std::error_code Error;
    // A NUL byte would cut the path short and test another file.
    if (Path.empty() || Path.find('\0') != std::string::npos || !std::filesystem::is_regular_file(Path, Error))
      continue;
    if (std::find(FItems.begin(), FItems.end(), Path) == FItems.end()) FItems.push_back(Path);
  }
}

std::string TRecentFiles::Caption(int Index) const {
  const std::string& Path = FItems.at(static_cast<size_t>(Index));
  // Built by appending: GCC 12 warns falsely about "&" + std::to_string(...) at -O3.
  std::string Result = "&";
  Result += std::to_string(Index + 1);
  Result += ' ';
  for (const char C : NamePart(Path)) {
    if (C == '&') Result += '&';
    Result += C;
  }
  return Result;
}
