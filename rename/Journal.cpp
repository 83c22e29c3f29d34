#include "rename/Journal.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <functional>

#include "base/Translation.h"
#include "base/Utf8.h"
#include "base/VmFileLib.h"

namespace {

constexpr std::string_view Signature = "Quorvane journal ";
constexpr std::string_view Version = "2";
// Journals of version 1 differ only in their check sum (FNV-1a 64 of each
// byte); they are still read, so that a pass of an earlier release can be
// undone or recovered.
constexpr std::string_view ByteSumVersion = "1";
constexpr std::string_view Extension = ".journal";
constexpr std::string_view EndLine = "end\n";
// The largest journal read: a plan of a million files with long escaped names.
constexpr size_t MaxJournalBytes = size_t(1) << 30;

constexpr uint64_t SumStart = 0xcbf29ce484222325ULL;
constexpr uint64_t SumPrime = 0x100000001b3ULL;

// FNV-1a 64 of Text: the check sum of version 1.
uint64_t Fnv1a(std::string_view Text) {
  uint64_t Hash = SumStart;
  for (const unsigned char C : Text) Hash = (Hash ^ C) * SumPrime;
  return Hash;
}

// The check sum of a plan, fed the text in pieces of any size: FNV-1a taken
// eight bytes at a time, each little-endian word of the text (the last one
// padded with zeros) mixed in as Hash = (Hash ^ Word) * prime, then the
// length. Each step is one to one, so any one changed word changes the sum;
// at a word a step it costs an eighth of a byte-wise sum, which shows in a
// plan of 100,000 files.
class TPlanSum {
 public:
  void Add(std::string_view Text) {
    FLength += Text.size();
    size_t At = 0;
    while (FPending != 0 && At < Text.size()) Take(static_cast<unsigned char>(Text[At++]));
    for (; At + 8 <= Text.size(); At += 8) {
      uint64_t Word;
      std::memcpy(&Word, Text.data() + At, 8);
      if constexpr (std::endian::native == std::endian::big) Word = __builtin_bswap64(Word);
      FHash = (FHash ^ Word) * SumPrime;
    }
    while (At < Text.size()) Take(static_cast<unsigned char>(Text[At++]));
  }
  uint64_t Value() const {
    const uint64_t Hash = FPending != 0 ? (FHash ^ FWord) * SumPrime : FHash;
    return (Hash ^ FLength) * SumPrime;
  }

 private:
  void Take(unsigned char Byte) {
    FWord |= uint64_t(Byte) << (8 * FPending);
    if (++FPending == 8) {
      FHash = (FHash ^ FWord) * SumPrime;
      FWord = 0;
      FPending = 0;
    }
  }
  uint64_t FHash = SumStart;
  uint64_t FWord = 0;   // the bytes of a word not yet complete
  unsigned FPending = 0;  // how many
  uint64_t FLength = 0;
};

const char HexDigits[] = "0123456789abcdef";

std::string Hex64(uint64_t Value) {
  std::string Text(16, '0');
  for (int I = 15; I >= 0; --I, Value >>= 4) Text[size_t(I)] = HexDigits[Value & 0xF];
  return Text;
}

// The length of the well-formed UTF-8 sequence at Text[At]; 0 when there is none.
size_t Utf8SequenceAt(std::string_view Text, size_t At) {
  const unsigned char Lead = static_cast<unsigned char>(Text[At]);
  const size_t Length = Lead >= 0xF0 ? 4 : Lead >= 0xE0 ? 3 : Lead >= 0xC0 ? 2 : 0;
  return Length && IsValidUtf8(Text.substr(At, Length)) && At + Length <= Text.size() ? Length : 0;
}

bool NeedsEscape(unsigned char C) { return C < 0x20 || C == '\\' || C >= 0x7F; }

void AppendEscaped(std::string& Out, std::string_view Name) {
  if (std::none_of(Name.begin(), Name.end(), [](char C) { return NeedsEscape(static_cast<unsigned char>(C)); })) {
    Out += Name;
    return;
  }
  for (size_t I = 0; I < Name.size();) {
    const unsigned char C = static_cast<unsigned char>(Name[I]);
    if (C >= 0x80) {
      if (const size_t Length = Utf8SequenceAt(Name, I)) {
        Out.append(Name, I, Length);
        I += Length;
        continue;
      }
    }
    ++I;
    if (C == '\\') {
      Out += "\\\\";
    } else if (C == '\t') {
      Out += "\\t";
    } else if (C == '\n') {
      Out += "\\n";
    } else if (NeedsEscape(C)) {
      Out += "\\x";
      Out += HexDigits[C >> 4];
      Out += HexDigits[C & 0xF];
    } else {
      Out += static_cast<char>(C);
    }
  }
}

[[noreturn]] void Refuse(int Line, const std::string& What) {
  throw EJournalError(Filled(Tr("Journal", "line %1: %2"), {std::to_string(Line), What}));
}

int HexValue(char C) {
  if (C >= '0' && C <= '9') return C - '0';
  if (C >= 'a' && C <= 'f') return C - 'a' + 10;
  return -1;
}

std::string Unescaped(std::string_view Field, int Line) {
  std::string Text;
  Text.reserve(Field.size());
  for (size_t I = 0; I < Field.size(); ++I) {
    if (Field[I] != '\\') {
      // Everything up to the next escape as it is.
      const size_t Escape = std::min(Field.find('\\', I), Field.size());
      Text.append(Field, I, Escape - I);
      I = Escape - 1;
      continue;
    }
    const char Kind = I + 1 < Field.size() ? Field[++I] : '\0';
    if (Kind == '\\') {
      Text += '\\';
    } else if (Kind == 't') {
      Text += '\t';
    } else if (Kind == 'n') {
      Text += '\n';
    } else if (Kind == 'x' && I + 2 < Field.size() && HexValue(Field[I + 1]) >= 0 && HexValue(Field[I + 2]) >= 0) {
      Text += static_cast<char>(HexValue(Field[I + 1]) * 16 + HexValue(Field[I + 2]));
      I += 2;
    } else {
      Refuse(Line, Tr("Journal", "a broken escape in a name"));
    }
  }
  return Text;
}

template <class TNumber>
TNumber Number(std::string_view Field, int Line, TNumber Min, TNumber Max) {
  TNumber Value{};
  const auto [End, Error] = std::from_chars(Field.data(), Field.data() + Field.size(), Value);
  if (Field.empty() || Error != std::errc() || End != Field.data() + Field.size() || Value < Min || Value > Max)
    Refuse(Line, Filled(Tr("Journal", "\"%1\" is not a number in range"), {Field}));
  return Value;
}

// The tab-separated fields of a line; a line of more than MaxFields fields
// gives one more than MaxFields, the rest of the line being its last.
constexpr size_t MaxFields = 8;
struct TFields {
  std::array<std::string_view, MaxFields + 1> Parts;
  size_t Count = 0;
  size_t size() const { return Count; }
  std::string_view operator[](size_t I) const { return Parts[I]; }
};

TFields Fields(std::string_view Line) {
  TFields Result;
  for (size_t Start = 0;;) {
    const size_t Tab = Result.Count == MaxFields ? std::string_view::npos : Line.find('\t', Start);
    Result.Parts[Result.Count++] = Line.substr(Start, Tab - Start);
    if (Tab == std::string_view::npos) return Result;
    Start = Tab + 1;
  }
}

bool IsName(std::string_view Name) {
  return !Name.empty() && Name != "." && Name != ".." && Name.find_first_of(std::string_view("/\0", 2)) == Name.npos;
}

// The lines of a text, numbered from 1.
struct TLines {
  std::string_view Text;
  size_t At = 0;
  int Number = 0;
  // The next whole line; false at the end or before a last line without its line end.
  bool Next(std::string_view& Line) {
    const size_t End = Text.find('\n', At);
    if (End == std::string_view::npos) return false;
    Line = Text.substr(At, End - At);
    At = End + 1;
    ++Number;
    return true;
  }
};

// The signature and the pass line. Returns whether the plan's check sum is
// the byte-wise one of version 1.
bool ParseHeader(TLines& Lines, TJournal& Journal) {
  std::string_view Line;
  if (!Lines.Next(Line) || !Line.starts_with(Signature)) Refuse(1, Tr("Journal", "not a journal of this program"));
  const bool ByteSum = Line.substr(Signature.size()) == ByteSumVersion;
  if (Line.substr(Signature.size()) != Version && !ByteSum)
    Refuse(1, Filled(Tr("Journal", "written in another format (version %1)"), {Line.substr(Signature.size())}));
  if (!Lines.Next(Line)) Refuse(2, Tr("Journal", "cut short before the plan"));
  const TFields Parts = Fields(Line);
  if (Parts.size() != 4 || Parts[0] != "pass") Refuse(2, Tr("Journal", "no pass record"));
  if (Parts[1] != "rename" && Parts[1] != "undo" && Parts[1] != "finish")
    Refuse(2, Tr("Journal", "an unknown kind of pass"));
  Journal.Kind = Parts[1];
  Journal.Started = Number<int64_t>(Parts[2], 2, INT64_MIN, INT64_MAX);
  Journal.Count = Number<size_t>(Parts[3], 2, 0, size_t(INT32_MAX));
  return ByteSum;
}

std::string ReadBytes(const std::string& Path, size_t Limit, bool Whole) {
  const int Fd = open(Path.c_str(), O_RDONLY | O_CLOEXEC);
  struct stat Info {};
  if (Fd < 0 || fstat(Fd, &Info) != 0) {
    const int Error = errno;
    if (Fd >= 0) close(Fd);
    throw EJournalError(Filled(Tr("Journal", "the journal \"%1\" cannot be read: %2"), {Path, std::strerror(Error)}));
  }
  if (Whole && size_t(Info.st_size) > Limit) {
    close(Fd);
    throw EJournalError(Filled(Tr("Journal", "the journal \"%1\" cannot be used: it is larger than 1 GiB"), {Path}));
  }
  std::string Text(std::min(size_t(Info.st_size), Limit), '\0');
  size_t Got = 0;
  while (Got < Text.size()) {
    const ssize_t Part = read(Fd, Text.data() + Got, Text.size() - Got);
    if (Part <= 0) break;
    Got += size_t(Part);
  }
  close(Fd);
  Text.resize(Got);
  return Text;
}

// Writes all of Text; 0 or the errno.
int WriteAll(int Fd, std::string_view Text) {
  while (!Text.empty()) {
    const ssize_t Part = write(Fd, Text.data(), Text.size());
    if (Part < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    Text.remove_prefix(size_t(Part));
  }
  return 0;
}

int SyncFolder(const std::string& Folder) {
  const int Fd = open(Folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (Fd < 0) return errno;
  const int Error = fsync(Fd) == 0 ? 0 : errno;
  close(Fd);
  return Error;
}

std::string JournalFileName() {
  const auto Now = std::chrono::system_clock::now().time_since_epoch();
  const int64_t Ns = std::chrono::duration_cast<std::chrono::nanoseconds>(Now).count();
  const time_t Seconds = time_t(Ns / 1'000'000'000);
  std::tm Utc{};
  gmtime_r(&Seconds, &Utc);
  char Text[64];
  std::snprintf(Text, sizeof Text, "%04d%02d%02d-%02d%02d%02d.%09lld-%d", Utc.tm_year + 1900, Utc.tm_mon + 1,
                Utc.tm_mday, Utc.tm_hour, Utc.tm_min, Utc.tm_sec, static_cast<long long>(Ns % 1'000'000'000),
                static_cast<int>(getpid()));
  return Text;
}

std::string WithSlash(std::string Folder) {
  if (!Folder.empty() && Folder.back() != '/') Folder += '/';
  return Folder;
}

// One step's line; the folder is Base followed by Folder.
void AppendStep(std::string& Text, int Ring, uint64_t Device, uint64_t Inode, std::string_view Base,
                std::string_view Folder, std::string_view OldName, std::string_view NewName,
                std::string_view Temporary) {
  // Numbers written in place: a plan of 100,000 steps makes 300,000 of them.
  const auto AppendNumber = [&Text](auto Value) {
    char Digits[24];
    Text.append(Digits, size_t(std::to_chars(Digits, Digits + sizeof Digits, Value).ptr - Digits)) += '\t';
  };
  Text.append("step\t");
  AppendNumber(Ring);
  AppendNumber(Device);
  AppendNumber(Inode);
  AppendEscaped(Text, Base);
  for (const std::string_view Field : {Folder, OldName, NewName}) {
    AppendEscaped(Text, Field);
    Text += '\t';
  }
  AppendEscaped(Text, Temporary);
  Text += '\n';
}

// The header, the step lines AddSteps appends, and the plan mark, handed
// to Out a piece of about PieceBytes at a time, so that a plan of many files
// is never held whole. Returns the first error Out gave, or 0.
template <class TAddSteps>
int WritePlan(std::string_view Kind, int64_t Started, size_t Count, const TAddSteps& AddSteps,
              const std::function<int(std::string_view)>& Out) {
  constexpr size_t PieceBytes = size_t(1) << 20;
  std::string Text;
  Text.reserve(std::min(PieceBytes, Count * 112) + 4096);
  TPlanSum Sum;
  int Error = 0;
  const auto Flush = [&] {
    Sum.Add(Text);
    if (Error == 0) Error = Out(Text);
    Text.clear();
  };
  Text.append(Signature).append(Version) += '\n';
  Text.append("pass\t").append(Kind) += '\t';
  Text.append(std::to_string(Started)).append("\t").append(std::to_string(Count)) += '\n';
  AddSteps(Text, [&] {
    if (Text.size() >= PieceBytes) Flush();
  });
  Flush();
  Text.append("plan\t").append(Hex64(Sum.Value())) += '\n';
  if (Error == 0) Error = Out(Text);
  return Error;
}

// The plan of a pass as a journal's text, handed to Out as WritePlan does:
// each file the pass moves, in the order of the disk work, the last step of
// a ring (from the temporary name) recorded with its first. Relative folders
// are made absolute against CurrentFolder.
int WritePassPlan(std::string_view Kind, int64_t Started, const std::vector<TPassEntry>& Entries,
                  const std::vector<TPassStep>& Steps, const std::string& CurrentFolder,
                  const std::function<int(std::string_view)>& Out) {
  const size_t Count = size_t(std::count_if(Steps.begin(), Steps.end(),
                                            [](const TPassStep& Step) { return Step.Kind != TPassStep::skBack; }));
  const auto AddSteps = [&](std::string& Text, const auto& Written) {
    for (const TPassStep& Step : Steps) {
      if (Step.Kind == TPassStep::skBack) continue;
      const TPassEntry& Entry = Entries[size_t(Step.Entry)];
      AppendStep(Text, Step.Ring, Entry.File.Device, Entry.File.Inode,
                 Entry.Folder.starts_with('/') ? std::string_view() : CurrentFolder, Entry.Folder, Entry.Name,
                 Entry.NewName, Step.Temporary);
      Written();
    }
  };
  return WritePlan(Kind, Started, Count, AddSteps, Out);
}

}  // namespace

std::string JournalPlanText(const TJournal& Journal) {
  std::string Text;
  const auto AddSteps = [&](std::string& Piece, const auto& Written) {
    for (const TJournalStep& Step : Journal.Steps) {
      AppendStep(Piece, Step.Ring, Step.Device, Step.Inode, {}, Step.Folder, Step.OldName, Step.NewName,
                 Step.Temporary);
      Written();
    }
  };
  WritePlan(Journal.Kind, Journal.Started, Journal.Steps.size(), AddSteps, [&Text](std::string_view Piece) {
    Text += Piece;
    return 0;
  });
  return Text;
}

TJournal ParseJournal(std::string_view Text) {
  TJournal Journal;
  TLines Lines{Text};
  const bool ByteSum = ParseHeader(Lines, Journal);
  // Each step takes at least 16 bytes: a count beyond that is a lie, not a reason to reserve.
  Journal.Steps.reserve(std::min(Journal.Count, Text.size() / 16));
  std::string_view Line;
  for (size_t I = 0; I < Journal.Count; ++I) {
    if (!Lines.Next(Line))
      Refuse(Lines.Number + 1, Filled(Tr("Journal", "cut short: the plan ends after %1 of %2 steps"),
                                      {std::to_string(I), std::to_string(Journal.Count)}));
    const TFields Parts = Fields(Line);
    if (Parts.size() != 8 || Parts[0] != "step") {
      if (Line.starts_with("plan\t")) Refuse(Lines.Number, Tr("Journal", "the plan holds fewer steps than it says"));
      Refuse(Lines.Number, Tr("Journal", "not a step record"));
    }
    TJournalStep& Step = Journal.Steps.emplace_back();
    Step.Ring = Number<int>(Parts[1], Lines.Number, -1, INT32_MAX);
    Step.Device = Number<uint64_t>(Parts[2], Lines.Number, 0, UINT64_MAX);
    Step.Inode = Number<uint64_t>(Parts[3], Lines.Number, 0, UINT64_MAX);
    Step.Folder = Unescaped(Parts[4], Lines.Number);
    Step.OldName = Unescaped(Parts[5], Lines.Number);
    Step.NewName = Unescaped(Parts[6], Lines.Number);
    Step.Temporary = Unescaped(Parts[7], Lines.Number);
    if (!Step.Folder.starts_with('/') || !Step.Folder.ends_with('/') || Step.Folder.find('\0') != std::string::npos)
      Refuse(Lines.Number, Tr("Journal", "a folder that is not an absolute path"));
    if (!IsName(Step.OldName) || !IsName(Step.NewName) || !(Step.Temporary.empty() || IsName(Step.Temporary)))
      Refuse(Lines.Number, Tr("Journal", "a name that cannot name a file"));
    if (!Step.Temporary.empty() && Step.Ring < 0)
      Refuse(Lines.Number, Tr("Journal", "a temporary name outside a ring"));
  }
  const size_t PlanEnd = Lines.At;
  if (!Lines.Next(Line)) Refuse(Lines.Number + 1, Tr("Journal", "cut short: the plan has no end mark"));
  if (!Line.starts_with("plan\t")) Refuse(Lines.Number, Tr("Journal", "the plan holds more steps than it says"));
  TPlanSum Sum;
  if (!ByteSum) Sum.Add(Text.substr(0, PlanEnd));
  if (Line.substr(5) != Hex64(ByteSum ? Fnv1a(Text.substr(0, PlanEnd)) : Sum.Value()))
    Refuse(Lines.Number, Tr("Journal", "the plan does not match its check sum"));
  // Progress marks and the end; a last line without its line end is a
  // mark the crash cut short.
  while (Lines.Next(Line)) {
    const TFields Parts = Fields(Line);
    if (Parts.size() == 2 && Parts[0] == "done") {
      Journal.Done = Number<int>(Parts[1], Lines.Number, 0, static_cast<int>(Journal.Count));
    } else if (Parts.size() == 1 && Parts[0] == "end") {
      Journal.Ended = true;
    } else {
      Refuse(Lines.Number, Tr("Journal", "not a progress or end record"));
    }
  }
  return Journal;
}

std::string JournalFolder(const std::string& StateHome, const std::string& Home) {
  if (StateHome.starts_with('/')) return WithSlash(StateHome) + "Velmora/Quorvane/journal/";
  if (Home.empty()) return {};
  return WithSlash(Home) + ".local/state/Velmora/Quorvane/journal/";
}

TFileJournal::~TFileJournal() { Close(); }

void TFileJournal::Close() {
  if (FFd >= 0) close(FFd);
  FFd = -1;
}

std::string TFileJournal::Begin(std::string_view Kind, const std::vector<TPassEntry>& Entries,
                                const std::vector<TPassStep>& Steps) {
  Close();
  FPath.clear();
  const std::string Folder = WithSlash(FFolder);
  if (Folder.empty())
    return Tr("Journal", "The journal has no folder: neither XDG_STATE_HOME nor HOME is set. Nothing was renamed.");
  try {
    CreateFolders(Folder);
  } catch (const EFileError& Error) {
    return Filled(Tr("Journal", "The journal folder \"%1\" cannot be created: %2. Nothing was renamed."),
                  {Folder, std::strerror(Error.Code)});
  }

  // Housekeeping: the oldest journals beyond the last ones kept, and old ones, go.
  const std::vector<std::string> Old = ListJournals(Folder);
  const int64_t Now = std::chrono::duration_cast<std::chrono::seconds>(
                          std::chrono::system_clock::now().time_since_epoch()).count();
  for (size_t I = 0; I < Old.size(); ++I) {
    struct stat Info {};
    const bool TooMany = Old.size() - I >= KeepCount;
    const bool TooOld = stat(Old[I].c_str(), &Info) == 0 && Now - Info.st_mtime > KeepSeconds;
    if ((TooMany || TooOld) && JournalEnded(Old[I])) unlink(Old[I].c_str());
  }

  std::error_code Ignored;
  const std::string CurrentFolder = WithSlash(std::filesystem::current_path(Ignored).string());
  FPath = Folder + JournalFileName() + std::string(Extension);
  FFd = open(FPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_APPEND | O_CLOEXEC, 0600);
  int Error = FFd < 0 ? errno : WritePassPlan(Kind, Now, Entries, Steps, CurrentFolder, [this](std::string_view Piece) {
    return WriteAll(FFd, Piece);
  });
  if (Error == 0 && fsync(FFd) != 0) Error = errno;
  if (Error == 0) Error = SyncFolder(Folder);
  if (Error != 0) {
    if (FFd >= 0) unlink(FPath.c_str());
    Close();
    return Filled(Tr("Journal", "The journal \"%1\" cannot be written: %2. Nothing was renamed."),
                  {FPath, std::strerror(Error)});
  }
  FDone = FMarked = 0;
  FMarkedAt = std::chrono::steady_clock::now();
  return {};
}

void TFileJournal::Mark(std::string_view Line) {
  // A lost mark costs nothing: recovery reads the disk, not the marks.
  if (WriteAll(FFd, Line) == 0) fdatasync(FFd);
  FMarked = FDone;
  FMarkedAt = std::chrono::steady_clock::now();
}

void TFileJournal::StepDone() {
  if (FFd < 0) return;
  ++FDone;
  if (FDone - FMarked >= MarkEvery && std::chrono::steady_clock::now() - FMarkedAt >= MarkInterval)
    Mark("done\t" + std::to_string(FDone) + "\n");
}

void TFileJournal::End() {
  if (FFd < 0) return;
  Mark("done\t" + std::to_string(FDone) + "\n" + std::string(EndLine));
  Close();
}

std::vector<std::string> ListJournals(const std::string& Folder) {
  std::vector<std::string> Paths;
  DIR* Dir = opendir(Folder.c_str());
  if (!Dir) return Paths;
  while (const dirent* Entry = readdir(Dir)) {
    const std::string_view Name = Entry->d_name;
    if (!Name.starts_with('.') && Name.ends_with(Extension)) Paths.push_back(WithSlash(Folder) + std::string(Name));
  }
  closedir(Dir);
  std::sort(Paths.begin(), Paths.end());
  return Paths;
}

bool JournalEnded(const std::string& Path) {
  const int Fd = open(Path.c_str(), O_RDONLY | O_CLOEXEC);
  if (Fd < 0) return false;
  struct stat Info {};
  char Tail[8] = {};
  const size_t Want = EndLine.size() + 1;
  const bool Ended = fstat(Fd, &Info) == 0 && size_t(Info.st_size) >= Want &&
                     pread(Fd, Tail, Want, Info.st_size - off_t(Want)) == ssize_t(Want) &&
                     std::string_view(Tail, Want) == "\n" + std::string(EndLine);
  close(Fd);
  return Ended;
}

std::string FindInterruptedJournal(const std::string& Folder) {
  const std::vector<std::string> Paths = ListJournals(Folder);
  for (auto Path = Paths.rbegin(); Path != Paths.rend(); ++Path)
    if (!JournalEnded(*Path)) return *Path;
  return {};
}

namespace {

std::string Damaged(const std::string& Path, std::string_view Why) {
  return Filled(Tr("Journal", "the journal \"%1\" is damaged and was not used: %2"), {Path, Why});
}

}  // namespace

TJournal ReadJournalFile(const std::string& Path) {
  const std::string Text = ReadBytes(Path, MaxJournalBytes, true);
  try {
    return ParseJournal(Text);
  } catch (const EJournalError& Error) {
    throw EJournalError(Damaged(Path, Error.what()));
  }
}

TJournal ReadJournalHeader(const std::string& Path) {
  const std::string Text = ReadBytes(Path, 4096, false);
  TJournal Journal;
  TLines Lines{Text};
  try {
    ParseHeader(Lines, Journal);
  } catch (const EJournalError& Error) {
    throw EJournalError(Damaged(Path, Error.what()));
  }
  return Journal;
}

int MarkJournalEnded(const std::string& Path) {
  const int Fd = open(Path.c_str(), O_RDWR | O_CLOEXEC);
  if (Fd < 0) return errno;
  // A progress mark the crash cut short goes first, so that the end mark stands on a line of its own.
  struct stat Info {};
  int Error = fstat(Fd, &Info) == 0 ? 0 : errno;
  off_t End = Info.st_size;
  for (char C = 0; Error == 0 && End > 0 && pread(Fd, &C, 1, End - 1) == 1 && C != '\n';) --End;
  if (Error == 0 && End != Info.st_size && ftruncate(Fd, End) != 0) Error = errno;
  if (Error == 0 && lseek(Fd, 0, SEEK_END) < 0) Error = errno;
  if (Error == 0) Error = WriteAll(Fd, EndLine);
  if (Error == 0 && fsync(Fd) != 0) Error = errno;
  close(Fd);
  return Error;
}
