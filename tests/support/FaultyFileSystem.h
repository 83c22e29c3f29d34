// The real file system with faults on request, for tests of the passes, the
// journal and recovery.
#pragma once

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/FileSystem.h"

// Thrown where a test stops the process dead.
struct TStopDead {};

// The real file system with faults on request: the call number FailAt of
// those that change the disk fails with FailErrno; with RefuseNoReplace the
// no-replace flag is unknown (and Intruder, if set, is created at the target
// at that moment, as another program might); with RefuseLinks no links exist.
// With StopAt, the call of that number throws TStopDead before it changes
// anything: the process as if killed there.
class TFaultyFileSystem : public TLinuxFileSystem {
 public:
  int FailAt = -1, FailErrno = EIO, Calls = 0, StopAt = -1;
  bool RefuseNoReplace = false, RefuseLinks = false, IgnoreCase = false, CutListings = false;
  std::string Intruder;
  std::vector<std::string> Renames;  // "from -> to", names only

  int Rename(const std::string& From, const std::string& To, bool NoReplace) override {
    if (NoReplace && RefuseNoReplace) {
      if (!Intruder.empty() && !std::filesystem::exists(To)) std::ofstream(To) << Intruder;
      return EINVAL;
    }
    if (const int Error = Fault()) return Error;
    Renames.push_back(std::filesystem::path(From).filename().string() + " -> " +
                      std::filesystem::path(To).filename().string());
    return TLinuxFileSystem::Rename(From, To, NoReplace);
  }
  int Link(const std::string& From, const std::string& To) override {
    if (RefuseLinks) return EPERM;
    if (const int Error = Fault()) return Error;
    return TLinuxFileSystem::Link(From, To);
  }
  int Unlink(const std::string& Path) override { return Fault() ? EIO : TLinuxFileSystem::Unlink(Path); }
  int Reserve(const std::string& Path, bool Directory) override {
    if (const int Error = Fault()) return Error;
    return TLinuxFileSystem::Reserve(Path, Directory);
  }
  bool IgnoresCase(const std::string&, const std::string&) override { return IgnoreCase; }
  // CutListings: a listing gives its first name, then fails as a read error half-way would.
  bool ListFolder(const std::string& Folder, const TEachName& Each) override {
    if (!CutListings) return TLinuxFileSystem::ListFolder(Folder, Each);
    bool First = true;
    TLinuxFileSystem::ListFolder(Folder, [&](std::string_view Name, uint64_t Inode, bool MaybeFolder) {
      if (std::exchange(First, false)) Each(Name, Inode, MaybeFolder);
    });
    return false;
  }
  // Faults are counted in one thread.
  std::unique_ptr<TFileSystem> Twin() override { return nullptr; }

 private:
  int Fault() {
    if (Calls == StopAt) throw TStopDead{};
    return Calls++ == FailAt ? FailErrno : 0;
  }
};
