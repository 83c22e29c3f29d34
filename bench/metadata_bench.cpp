// The metadata fields at their intended size, each Preview over 10,000 real
// files in a folder made under /tmp, with a warm page cache:
// - JPEGs carrying full Exif blocks, with the photo date and time fields;
// - MP3s carrying ID3v2.3 tags, with the artist and title fields;
// - the same JPEGs with the file date fields only, once with the metadata
//   reader in place and once without: equal times and no metadata read
//   ("reads" counts them) show that a pass without such a field pays nothing.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "filegrid/FileMetadataReader.h"
#include "bench/PassStubs.h"
#include "rename/RenamePasses.h"
#include "tests/support/MetadataFiles.h"

namespace {

constexpr int FileCountTotal = 10000;

// The real reader, counting its reads.
class TCountingReader : public TFileMetadataReader {
 public:
  TFileMetadata Read(const std::string& Path, unsigned Groups) override {
    ++Reads;
    return Real.Read(Path, Groups);
  }
  TLinuxFileMetadataReader Real;
  int64_t Reads = 0;
};

// A camera's Exif block: the tags a typical picture carries.
std::string CameraJpeg(int I) {
  const std::string Date = "2019:07:14 09:" + std::to_string(10 + I % 50) + ":05";
  return JpegWithExif({{"Exif.Image.Make", "Canon"},
                       {"Exif.Image.Model", "Canon EOS 5D Mark IV"},
                       {"Exif.Image.Orientation", "1"},
                       {"Exif.Image.XResolution", "72/1"},
                       {"Exif.Image.YResolution", "72/1"},
                       {"Exif.Image.ResolutionUnit", "2"},
                       {"Exif.Image.Software", "Firmware Version 1.0.4"},
                       {"Exif.Image.DateTime", Date},
                       {"Exif.Image.Artist", "Someone"},
                       {"Exif.Image.Copyright", "Someone 2019"},
                       {"Exif.Photo.ExposureTime", "1/125"},
                       {"Exif.Photo.FNumber", "28/10"},
                       {"Exif.Photo.ExposureProgram", "3"},
                       {"Exif.Photo.ISOSpeedRatings", "400"},
                       {"Exif.Photo.DateTimeOriginal", Date},
                       {"Exif.Photo.DateTimeDigitized", Date},
                       {"Exif.Photo.ShutterSpeedValue", "7/1"},
                       {"Exif.Photo.ApertureValue", "3/1"},
                       {"Exif.Photo.ExposureBiasValue", "0/1"},
                       {"Exif.Photo.MeteringMode", "5"},
                       {"Exif.Photo.Flash", "16"},
                       {"Exif.Photo.FocalLength", "50/1"},
                       {"Exif.Photo.ColorSpace", "1"},
                       {"Exif.Photo.PixelXDimension", "6720"},
                       {"Exif.Photo.PixelYDimension", "4480"},
                       {"Exif.Photo.LensModel", "EF50mm f/1.8 STM"},
                       {"Exif.Photo.BodySerialNumber", "012345678901"}}) +
         std::string(16384, '\x5A');  // stands for the picture data after the headers
}

std::string SongMp3(int I) {
  return Id3v2File(3, {{"TPE1", 1, "Artist " + std::to_string(I % 97)},
                       {"TIT2", 1, "Song " + std::to_string(I)},
                       {"TALB", 0, "Album"},
                       {"TRCK", 0, std::to_string(I % 13 + 1) + "/13"},
                       {"TYER", 0, "2019"},
                       {"TCON", 0, "Rock"}}) +
         std::string(2048, '\0') + MpegFrame() + MpegFrame();
}

// A folder of files made by Make, all checked, with the passes over them.
struct TRig {
  TRig(const char* Tag, const char* Extension, std::string (*Make)(int), bool WithReader) {
    Dir = std::string("/tmp/quorvane-bench-") + Tag + "-" + std::to_string(::getpid()) + "/";
    std::filesystem::create_directories(Dir);
    for (int I = 0; I < FileCountTotal; ++I) {
      const std::string Path = Dir + "IMG_" + std::to_string(I) + "." + Extension;
      std::ofstream(Path, std::ios::binary) << Make(I);
      Files.push_back({I, Path});
    }
    TFieldContext Context;
    if (WithReader) Context.Metadata = &Metadata;
    Passes = std::make_unique<TRenamePasses>(Fs, Dialogs, View, Context);
  }
  std::string FirstName(const TRenameSettings& Settings) {
    return Passes->Preview(Files, Settings, PassState)->Entries[0].NewName;
  }
  ~TRig() { std::filesystem::remove_all(Dir); }

  void Run(benchmark::State& State, const TRenameSettings& Settings, const std::string& FirstName) {
    Passes->Preview(Files, Settings, PassState);  // warms the page cache
    Metadata.Reads = 0;
    std::string Name;
    for (auto _ : State) Name = Passes->Preview(Files, Settings, PassState)->Entries[0].NewName;
    if (Name != FirstName) State.SkipWithError(("wrong preview " + Name).c_str());
    State.counters["reads"] = double(Metadata.Reads);
    State.SetItemsProcessed(State.iterations() * FileCountTotal);
  }

  std::string Dir;
  std::vector<TPassFile> Files;
  TLinuxFileSystem Fs;
  TQuietDialogs Dialogs;
  TNoView View;
  TCountingReader Metadata;
  std::unique_ptr<TRenamePasses> Passes;
  TPassState PassState;
};

void BM_PreviewPhotoDate(benchmark::State& State) {
  TRig Rig("photo", "jpg", CameraJpeg, true);
  Rig.Run(State, Rules("IMG_<*>.jpg", "<datum,f,e> <zeit,f,ko> <1>.jpg"), "2019.07.14 09.10.05 0.jpg");
}
BENCHMARK(BM_PreviewPhotoDate)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_PreviewAudioTags(benchmark::State& State) {
  TRig Rig("audio", "mp3", SongMp3, true);
  Rig.Run(State, Rules("IMG_<*>.mp3", "<nummer> <interpret> - <titel>.mp3"), "01 Artist 0 - Song 0.mp3");
}
BENCHMARK(BM_PreviewAudioTags)->Unit(benchmark::kMillisecond)->Iterations(5);

// File date fields only: with the reader in place (Arg 1) and without (Arg 0).
void BM_PreviewFileDateOnly(benchmark::State& State) {
  TRig Rig("filedate", "jpg", CameraJpeg, State.range(0) == 1);
  const TRenameSettings Settings = Rules("IMG_<*>.jpg", "<datum,d,j> <1>.jpg");
  Rig.Run(State, Settings, Rig.FirstName(Settings));
}
BENCHMARK(BM_PreviewFileDateOnly)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
