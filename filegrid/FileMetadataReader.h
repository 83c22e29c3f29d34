// The metadata reader over Exiv2 (Exif of pictures: JPEG, TIFF, PNG, WebP,
// camera raw formats) and TagLib (ID3v1/ID3v2, FLAC and Ogg comments, MP4).
#pragma once

#include <optional>
#include <string_view>

#include "filegrid/FileMetadata.h"

// Reads regular files only (a FIFO or device would block or never end);
// whatever either library throws counts as "absent".
class TLinuxFileMetadataReader : public TFileMetadataReader {
 public:
  TLinuxFileMetadataReader();
  TFileMetadata Read(const std::string& Path, unsigned Groups) override;
};

// An Exif date-time "YYYY:MM:DD HH:MM:SS" (":" or "-" between the date's
// parts) as a date-time value, taken as written; nothing when malformed or no
// calendar date ("0000:00:00 00:00:00" marks an unset date).
std::optional<TDateTime> ParseExifDateTime(std::string_view Text);
