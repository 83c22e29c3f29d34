// What the metadata fields read from inside a file: a photo's capture date and
// camera model, a song's tags. The rename engine sees only this record and the
// reader interface; the reader that opens files with the metadata libraries
// lives in its own library (quorvane_metadata), so the engine and its tests
// never link them.
#pragma once

#include <optional>
#include <string>

#include "base/VmDateTime.h"

// The groups of values a read is asked for, as bits.
enum TMetadataGroup : unsigned {
  mgPhoto = 1,  // capture date and camera model (Exif)
  mgAudio = 2,  // artist, title, album, track, year, genre
};

// The values found in one file; what is absent stays empty. The values are as
// stored (trimmed); the fields decide how they appear in a name and what
// stands in for an absent one.
struct TFileMetadata {
  std::optional<TDateTime> PhotoDate;  // Exif DateTimeOriginal, else DateTimeDigitized, else DateTime, as written
  std::string Camera;                  // Exif Model
  std::string Artist, Title, Album;
  std::string Track;  // "3", or "3/13" as some tags store it
  std::string Year, Genre;
};

// Reads the metadata of a file.
class TFileMetadataReader {
 public:
  virtual ~TFileMetadataReader() = default;
  // The values of the groups in Groups (TMetadataGroup bits) that the file at
  // Path holds. An unreadable, damaged or foreign file gives an empty record; never throws.
  virtual TFileMetadata Read(const std::string& Path, unsigned Groups) = 0;
};
