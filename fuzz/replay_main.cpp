// Feeds every file of the given folders (or the given files) once to the
// fuzz entry point, so stored inputs run as an ordinary test.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size);

int main(int argc, char** argv) {
  std::vector<std::filesystem::path> Files;
  for (int I = 1; I < argc; ++I) {
    const std::filesystem::path Path(argv[I]);
    if (std::filesystem::is_directory(Path)) {
      for (const auto& Entry : std::filesystem::recursive_directory_iterator(Path))
        if (Entry.is_regular_file()) Files.push_back(Entry.path());
    } else {
      Files.push_back(Path);
    }
  }
  for (const auto& File : Files) {
    std::ifstream In(File, std::ios::binary);
    const std::string Data((std::istreambuf_iterator<char>(In)), std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(Data.data()), Data.size());
  }
  std::printf("%zu passed, 0 failed\n", Files.size());
  return Files.empty() ? 1 : 0;
}
