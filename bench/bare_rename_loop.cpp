// The least work a rename of each file needs, as the yardstick for
// bench/cli_rename.sh: for every path of a NUL-separated list, statx,
// renameat2 with RENAME_NOREPLACE to the name whose two parts around the
// first " - " are swapped ("A - B" becomes "B - A"), and statx of the new path.
// Usage: bare_rename_loop LIST
#include <fcntl.h>
#include <sys/stat.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

int main(int argc, char* argv[]) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: bare_rename_loop LIST\n");
    return 2;
  }
  std::ifstream In(argv[1], std::ios::binary);
  const std::string List((std::istreambuf_iterator<char>(In)), std::istreambuf_iterator<char>());
  int Failed = 0;
  std::string NewPath;
  for (size_t Start = 0, End; Start < List.size(); Start = End + 1) {
    End = List.find('\0', Start);
    if (End == std::string::npos) End = List.size();
    const std::string Path = List.substr(Start, End - Start);
    const size_t NameStart = Path.rfind('/') + 1;  // npos + 1 is 0
    const size_t Dash = Path.find(" - ", NameStart);
    if (Dash == std::string::npos) continue;
    NewPath.assign(Path, 0, NameStart);
    NewPath.append(Path, Dash + 3).append(" - ").append(Path, NameStart, Dash - NameStart);
    struct statx Info {};
    if (::statx(AT_FDCWD, Path.c_str(), AT_SYMLINK_NOFOLLOW, STATX_BASIC_STATS, &Info) != 0 ||
        ::renameat2(AT_FDCWD, Path.c_str(), AT_FDCWD, NewPath.c_str(), RENAME_NOREPLACE) != 0 ||
        ::statx(AT_FDCWD, NewPath.c_str(), AT_SYMLINK_NOFOLLOW, STATX_BASIC_STATS, &Info) != 0)
      ++Failed;
  }
  if (Failed) std::fprintf(stderr, "bare_rename_loop: %d renames failed\n", Failed);
  return Failed ? 1 : 0;
}
