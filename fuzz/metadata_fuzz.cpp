// Metadata reader: a byte that picks the extension (.jpg, .mp3 or .flac),
// then the file's bytes, saved to a private folder and read for every group.
// Properties: no crash or hang, and no value that goes into a name holds a
// "/" or a control character.
#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "filegrid/FileMetadataReader.h"
#include "rename/Fields.h"

namespace {

// A private folder for the one input file, removed when the process ends.
struct TFolder {
  TFolder() {
    char Template[] = "/tmp/quorvane-metadata-fuzz-XXXXXX";
    if (!::mkdtemp(Template)) std::abort();
    Path = std::string(Template) + "/";
  }
  ~TFolder() { ::rmdir(Path.c_str()); }
  std::string Path;
};

void CheckNameSafe(const std::string& Text) {
  for (const char C : Text)
    if (C == '/' || static_cast<unsigned char>(C) < 0x20 || C == 0x7F) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  if (Size == 0) return 0;
  static const char* const Extensions[] = {"jpg", "mp3", "flac"};
  static const TFolder Folder;
  const std::string Path = Folder.Path + "input." + Extensions[Data[0] % 3];
  std::FILE* File = std::fopen(Path.c_str(), "wb");
  if (!File) std::abort();
  if (Size > 1) std::fwrite(Data + 1, 1, Size - 1, File);
  std::fclose(File);

  static TLinuxFileMetadataReader Reader;
  const TFileMetadata Metadata = Reader.Read(Path, mgPhoto | mgAudio);
  for (const std::string* Value :
       {&Metadata.Camera, &Metadata.Artist, &Metadata.Title, &Metadata.Album, &Metadata.Year, &Metadata.Genre})
    CheckNameSafe(TagFieldText(*Value));
  CheckNameSafe(TrackFieldText(Metadata.Track));
  ::unlink(Path.c_str());
  return 0;
}
