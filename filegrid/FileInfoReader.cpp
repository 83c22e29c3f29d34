#include "filegrid/FileInfoReader.h"

#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <sys/stat.h>

#include <QStandardPaths>

#include <algorithm>
#include <ctime>
#include <fstream>

#include "base/Utf8.h"
#include "base/VmDateTime.h"

namespace {

constexpr size_t MaxDescriptionChars = 80;

TFileKind KindOf(uint16_t Mode) {
  switch (Mode & S_IFMT) {
    case S_IFREG: return fkRegular;
    case S_IFDIR: return fkDirectory;
    case S_IFLNK: return fkSymlink;
    case S_IFCHR: return fkCharDevice;
    case S_IFBLK: return fkBlockDevice;
    case S_IFIFO: return fkFifo;
    default: return fkSocket;
  }
}

// statx of Name relative to DirFd; a symbolic link whose target is missing
// (or loops) is read as the link itself.
bool StatFile(int DirFd, const char* Name, unsigned Mask, struct statx& Stx) {
  if (statx(DirFd, Name, AT_STATX_SYNC_AS_STAT, Mask, &Stx) == 0) return true;
  return statx(DirFd, Name, AT_STATX_SYNC_AS_STAT | AT_SYMLINK_NOFOLLOW, Mask, &Stx) == 0;
}

// What statx tells of a file: everything but its type.
TFileInfo StatusInfo(const struct statx& Stx, bool Hidden, bool WithCreation) {
  TFileInfo Info;
  const TFileKind Kind = KindOf(Stx.stx_mode);
  Info.Size = Stx.stx_size;
  if ((Stx.stx_mode & S_IWUSR) == 0 && Kind != fkSymlink) Info.Attributes |= faReadOnly;
  if (Hidden) Info.Attributes |= faHidden;
  if (Kind == fkRegular)
    Info.Attributes |= faArchive;
  else if (Kind == fkDirectory)
    Info.Attributes |= faDirectory;
  else
    Info.Attributes |= faSystem;
  Info.LastWriteDate = UnixTimeToDateTime(Stx.stx_mtime.tv_sec);
  if (WithCreation && (Stx.stx_mask & STATX_BTIME)) Info.CreationDate = UnixTimeToDateTime(Stx.stx_btime.tv_sec);
  return Info;
}

}  // namespace

bool MatchesNamePattern(const std::string& Pattern, const char* Name) {
  // fnmatch also knows bracket expressions and escapes; "[" is turned into
  // the one-character class "[[]" and escapes are switched off, so that only
  // "*" and "?" act as wildcards.
  std::string Escaped;
  Escaped.reserve(Pattern.size() + 4);
  for (char C : Pattern) {
    if (C == '[')
      Escaped += "[[]";
    else
      Escaped += C;
  }
  return fnmatch(Escaped.c_str(), Name, FNM_NOESCAPE) == 0;
}

// ---------------------------------------------------------------------------

TFileIconCache::TFileIconCache() { IndexOf("unknown", "text-x-generic"); }

int32_t TFileIconCache::IndexOf(const std::string& IconName, const std::string& GenericIconName) {
  const std::string Key = IconName + '\n' + GenericIconName;
  auto Found = FIndexByName.find(Key);
  if (Found != FIndexByName.end()) return Found->second;
  const auto Index = static_cast<int32_t>(FIcons.size());
  FIcons.push_back({IconName, GenericIconName});
  FIndexByName.emplace(Key, Index);
  return Index;
}

const std::string& TFileIconCache::IconName(int Index) const {
  static const std::string Empty;
  return Index >= 0 && Index < Count() ? FIcons[static_cast<size_t>(Index)].Name : Empty;
}

const std::string& TFileIconCache::GenericIconName(int Index) const {
  static const std::string Empty;
  return Index >= 0 && Index < Count() ? FIcons[static_cast<size_t>(Index)].Generic : Empty;
}

// ---------------------------------------------------------------------------

TFileTypeNames::TFileTypeNames(std::shared_ptr<TFileIconCache> Icons) : FIcons(std::move(Icons)) {}

const TFileTypeNames::TType& TFileTypeNames::TypeOfMime(const QMimeType& Mime) {
  const std::string MimeName = Mime.name().toStdString();
  auto Found = FByMimeName.find(MimeName);
  if (Found != FByMimeName.end()) return Found->second;
  TType Type;
  Type.Description = TruncateUtf8(Mime.comment().toStdString(), MaxDescriptionChars);
  Type.IconIndex = FIcons->IndexOf(Mime.iconName().toStdString(), Mime.genericIconName().toStdString());
  return FByMimeName.emplace(MimeName, std::move(Type)).first->second;
}

const TFileTypeNames::TType& TFileTypeNames::TypeOfMimeName(const std::string& MimeName) {
  const auto Found = FByMimeName.find(MimeName);
  return Found != FByMimeName.end() ? Found->second
                                    : TypeOfMime(FDatabase.mimeTypeForName(QString::fromStdString(MimeName)));
}

void TFileTypeNames::BuildGlobIndex() {
  FGlobIndexBuilt = true;
  // The shared MIME database's glob lists say all the index needs. Asking
  // the database for every type's globs instead would have it read every
  // type's whole description, each language's comment included, and keep
  // it all (megabytes) for as long as the program runs.
  std::vector<std::pair<std::string, std::string>> Globs;  // type, glob as spelled
  bool Complete = true;
  const QStringList Files =
      QStandardPaths::locateAll(QStandardPaths::GenericDataLocation, QStringLiteral("mime/globs2"));
  for (const QString& File : Files) {
    std::ifstream In(File.toStdString());
    std::string Line;
    while (Complete && std::getline(In, Line)) {
      // weight:type:glob[:flags]; a list that takes globs away is left to the database.
      if (Line.empty() || Line[0] == '#') continue;
      const size_t TypeStart = Line.find(':') + 1, GlobStart = Line.find(':', TypeStart) + 1;
      if (TypeStart == 0 || GlobStart == 0) continue;
      const size_t GlobEnd = std::min(Line.find(':', GlobStart), Line.size());
      std::string Glob = Line.substr(GlobStart, GlobEnd - GlobStart);
      Complete = Glob != "__NOGLOBS__";
      Globs.emplace_back(Line.substr(TypeStart, GlobStart - 1 - TypeStart), std::move(Glob));
    }
  }
  if (Files.isEmpty() || !Complete) {
    Globs.clear();
    for (const QMimeType& Type : FDatabase.allMimeTypes())
      for (const QString& Glob : Type.globPatterns()) Globs.emplace_back(Type.name().toStdString(), Glob.toStdString());
  }
  for (const auto& [MimeName, Spelled] : Globs) AddGlob(MimeName, Spelled);
}

namespace {

// The longest run of Pattern's characters that match only themselves: none
// of "*?" and nothing of a bracket expression ("[...]", a "]" right after
// "[" or "[!" belonging to it). Every name the pattern matches holds it.
std::string LongestPlainRun(std::string_view Pattern) {
  std::string_view Longest;
  size_t Start = 0;
  for (size_t I = 0; I <= Pattern.size(); ++I) {
    const bool Plain = I < Pattern.size() && Pattern[I] != '*' && Pattern[I] != '?' && Pattern[I] != '[';
    if (Plain) continue;
    if (I - Start > Longest.size()) Longest = Pattern.substr(Start, I - Start);
    if (I < Pattern.size() && Pattern[I] == '[') {
      size_t Close = I + 1;
      if (Close < Pattern.size() && (Pattern[Close] == '!' || Pattern[Close] == '^')) ++Close;
      if (Close < Pattern.size() && Pattern[Close] == ']') ++Close;
      Close = Pattern.find(']', Close);
      // An unclosed "[" stands for itself; leaving it out of every run is safe.
      if (Close != std::string_view::npos) I = Close;
    }
    Start = I + 1;
  }
  return std::string(Longest);
}

}  // namespace

void TFileTypeNames::AddGlob(const std::string& MimeName, const std::string& Spelled) {
  const std::string Pattern = QString::fromStdString(Spelled).toLower().toStdString();
  const size_t Wild = Pattern.find_first_of("*?[");
  const std::string_view Tail = std::string_view(Pattern).substr(std::min<size_t>(1, Pattern.size()));
  if (Wild == std::string::npos) {
    FLiteralNames.insert(Pattern);
  } else if (Pattern.size() > 1 && Pattern[0] == '*' && Tail.find_first_of("*?[") == std::string::npos) {
    if (Tail[0] != '.') {
      FNameSuffixes.emplace_back(Tail);  // such as "*~"
      return;
    }
    if (Tail.find('.', 1) != std::string::npos) FCompoundExtensions.emplace(Tail);  // such as "*.tar.gz"
    const auto [Known, New] = FGlobs.try_emplace(std::string(Tail), TGlob{MimeName, Spelled != Pattern});
    if (!New && (Known->second.MimeName != MimeName || Spelled != Pattern)) Known->second.Ask = true;
  } else if (Wild == Pattern.size() - 1 && Pattern.back() == '*') {
    FNamePrefixes.push_back(Pattern.substr(0, Wild));  // such as "README*"
  } else if (Pattern.starts_with("*.") && Tail.find_first_of("*.", 1) == std::string::npos) {
    FExtensionPatterns.push_back(Pattern);  // such as "*.[1-9]": the extension alone decides
  } else {
    FNamePatterns.push_back({Pattern, LongestPlainRun(Pattern)});
  }
}

bool TFileTypeNames::IsSpecialName(const std::string& LowerName) const {
  if (FLiteralNames.count(LowerName)) return true;
  for (const std::string& Prefix : FNamePrefixes)
    if (LowerName.starts_with(Prefix)) return true;
  for (const std::string& Suffix : FNameSuffixes)
    if (LowerName.ends_with(Suffix)) return true;
  for (const TNamePattern& Name : FNamePatterns)
    if (LowerName.find(Name.Plain) != std::string::npos &&
        fnmatch(Name.Pattern.c_str(), LowerName.c_str(), FNM_NOESCAPE) == 0)
      return true;
  return false;
}

std::optional<TFileTypeNames::TType> TFileTypeNames::TypeOfExtension(const std::string& Extension,
                                                                     const std::string& LowerExtension) {
  auto Found = FByExtension.find(Extension);
  if (Found != FByExtension.end()) return Found->second;
  // Many different extensions (a pass that numbers them) must not grow the cache without end.
  if (FByExtension.size() >= MaxCachedExtensions) FByExtension.clear();
  std::optional<TType> Type;
  const auto Glob = FGlobs.find(LowerExtension);
  bool Ask = Glob != FGlobs.end() && Glob->second.Ask;
  for (const std::string& Pattern : FExtensionPatterns)
    Ask = Ask || fnmatch(Pattern.c_str(), ("x" + LowerExtension).c_str(), FNM_NOESCAPE) == 0;
  if (Ask) {
    const QList<QMimeType> Types = FDatabase.mimeTypesForFileName(QString::fromUtf8("x" + Extension));
    if (!Types.isEmpty()) Type = TypeOfMime(Types.first());
  } else if (Glob != FGlobs.end()) {
    Type = TypeOfMimeName(Glob->second.MimeName);
  }
  return FByExtension.emplace(Extension, std::move(Type)).first->second;
}

std::optional<TFileTypeNames::TType> TFileTypeNames::TypeOfName(std::string_view Name) {
  if (!FGlobIndexBuilt) BuildGlobIndex();
  // One buffer for every name: a pass asks for each renamed file's type.
  std::string& Lower = FLowerName;
  Lower.assign(Name);
  for (char& C : Lower)
    if (C >= 'A' && C <= 'Z') C = static_cast<char>(C - 'A' + 'a');
  if (IsSpecialName(Lower)) {
    const QList<QMimeType> Types =
        FDatabase.mimeTypesForFileName(QString::fromUtf8(Name.data(), static_cast<qsizetype>(Name.size())));
    if (!Types.isEmpty()) return TypeOfMime(Types.first());
  }
  const size_t Dot = Name.rfind('.');
  if (Dot == std::string_view::npos) return std::nullopt;
  // The longest extension the database knows with several dots, else the
  // last one. Every name with that extension gets the type of the bare
  // extension, so the answer does not depend on which file came first.
  size_t Start = Dot;
  for (size_t Other = Lower.find('.'); Other < Dot; Other = Lower.find('.', Other + 1)) {
    if (FCompoundExtensions.count(Lower.substr(Other))) {
      Start = Other;
      break;
    }
  }
  return TypeOfExtension(std::string(Name.substr(Start)), Lower.substr(Start));
}

TFileTypeNames::TType TFileTypeNames::TypeOf(TFileKind Kind, std::string_view Name,
                                             const std::string& ContentPath) {
  const char* KindMime = nullptr;
  switch (Kind) {
    case fkRegular: break;
    case fkDirectory: KindMime = "inode/directory"; break;
    case fkSymlink: KindMime = "inode/symlink"; break;
    case fkCharDevice: KindMime = "inode/chardevice"; break;
    case fkBlockDevice: KindMime = "inode/blockdevice"; break;
    case fkFifo: KindMime = "inode/fifo"; break;
    case fkSocket: KindMime = "inode/socket"; break;
  }
  if (KindMime) {
    std::optional<TType>& Known = FByKind[Kind];
    if (!Known) Known = TypeOfMimeName(KindMime);
    return *Known;
  }

  std::optional<TType> ByName = TypeOfName(Name);
  if (ByName) return *ByName;
  return TypeOfMime(FDatabase.mimeTypeForFile(QString::fromUtf8(ContentPath), QMimeDatabase::MatchContent));
}

// ---------------------------------------------------------------------------

TLinuxFileInfoReader::TLinuxFileInfoReader(std::shared_ptr<TFileIconCache> Icons)
    : FTypes(Icons ? std::move(Icons) : std::make_shared<TFileIconCache>()) {}

TLinuxFileInfoReader::TLinuxFileInfoReader(TReadScope Scope)
    : FTypes(std::make_shared<TFileIconCache>()), FScope(Scope) {}

std::optional<TFileInfo> TLinuxFileInfoReader::Read(const std::string& Path) {
  // A NUL byte would cut the path short and name some other file.
  if (Path.empty() || Path.find('\0') != std::string::npos) return std::nullopt;
  const size_t NameStart = Path.rfind('/') + 1;  // npos + 1 is 0
  const std::string_view Name = std::string_view(Path).substr(NameStart);

  const unsigned Mask = FScope == rsGrid ? STATX_BASIC_STATS | STATX_BTIME : STATX_BASIC_STATS;
  struct statx Stx {};
  bool Found = StatFile(AT_FDCWD, Path.c_str(), Mask, Stx);
  bool Hidden = Name.starts_with('.');
  std::string FoundPath;  // the file actually read, when a pattern found it
  if (!Found && Name.find_first_of("*?") != std::string_view::npos) {
    const std::string Folder = Path.substr(0, NameStart);
    const std::string Pattern(Name);
    if (DIR* Dir = opendir(Folder.empty() ? "." : Folder.c_str())) {
      while (const dirent* Entry = readdir(Dir)) {
        const std::string_view EntryName = Entry->d_name;
        if (EntryName == "." || EntryName == "..") continue;
        if (MatchesNamePattern(Pattern, Entry->d_name) && StatFile(dirfd(Dir), Entry->d_name, Mask, Stx)) {
          Found = true;
          Hidden = EntryName.starts_with('.');
          FoundPath = Folder + Entry->d_name;
          break;
        }
      }
      closedir(Dir);
    }
  }
  if (!Found) return std::nullopt;

  TFileInfo Info = StatusInfo(Stx, Hidden, FScope == rsGrid);
  if (FScope == rsGrid && !FDeferTypes) {
    const std::lock_guard Lock(FTypesLock);
    TFileTypeNames::TType Type = FTypes.TypeOf(KindOf(Stx.stx_mode), Name, FoundPath.empty() ? Path : FoundPath);
    Info.Description = std::move(Type.Description);
    Info.IconIndex = Type.IconIndex;
  }
  return Info;
}

std::optional<TFileInfo> TLinuxFileInfoReader::ReadRenamed(const std::string& Path, const TFileInfo& Before) {
  if (Path.empty() || Path.find('\0') != std::string::npos) return std::nullopt;
  const std::string_view Name = std::string_view(Path).substr(Path.rfind('/') + 1);  // npos + 1 is 0
  struct statx Stx {};
  if (!StatFile(AT_FDCWD, Path.c_str(), FScope == rsGrid ? STATX_BASIC_STATS | STATX_BTIME : STATX_BASIC_STATS, Stx))
    return std::nullopt;
  TFileInfo Info = StatusInfo(Stx, Name.starts_with('.'), FScope == rsGrid);
  if (FScope != rsGrid) return Info;
  if (FDeferTypes) {
    Info.Description = Before.Description;
    Info.IconIndex = Before.IconIndex;
    return Info;
  }
  const TFileKind Kind = KindOf(Stx.stx_mode);
  const std::lock_guard Lock(FTypesLock);
  std::optional<TFileTypeNames::TType> Type;
  if (Kind != fkRegular)
    Type = FTypes.TypeOf(Kind, Name, Path);
  else
    Type = FTypes.TypeOfName(Name);
  Info.Description = Type ? std::move(Type->Description) : Before.Description;
  Info.IconIndex = Type ? Type->IconIndex : Before.IconIndex;
  return Info;
}
