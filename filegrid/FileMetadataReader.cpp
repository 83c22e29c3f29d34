#include "filegrid/FileMetadataReader.h"

#include <sys/stat.h>
#include <taglib/fileref.h>
#include <taglib/tag.h>

#include <algorithm>
#include <exiv2/exiv2.hpp>
#include <exiv2/webpimage.hpp>
#include <mutex>

namespace {

std::string Trimmed(std::string_view Text) {
  const auto IsSpace = [](char C) { return C == ' ' || C == '\0' || (C >= '\t' && C <= '\r'); };
  while (!Text.empty() && IsSpace(Text.front())) Text.remove_prefix(1);
  while (!Text.empty() && IsSpace(Text.back())) Text.remove_suffix(1);
  return std::string(Text);
}

// The picture formats whose Exif is read. Exiv2's video readers (ASF, RIFF,
// Matroska, QuickTime) are left out: a short damaged ASF file sends one into
// an endless loop, and videos are no photos.
bool IsPictureType(int Type) {
  namespace T = Exiv2::ImageType;
  static constexpr int Pictures[] = {T::jpeg, T::tiff, T::png, T::webp, T::bmff, T::cr2, T::crw,
                                     T::mrw,  T::orf,  T::raf, T::rw2,  T::psd,  T::jp2};
  return std::find(std::begin(Pictures), std::end(Pictures), Type) != std::end(Pictures);
}

void ReadExif(const std::string& Path, TFileMetadata& Metadata) {
  // Through a file object, so that a name such as "-" or "http://..." is never
  // taken as standard input or a download. Exiv2 0.27 hands its objects over
  // in std::auto_ptr, which newer compilers mark deprecated.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  Exiv2::BasicIo::AutoPtr File(new Exiv2::FileIo(Path));
  if (!IsPictureType(Exiv2::ImageFactory::getType(*File))) return;
  const Exiv2::Image::AutoPtr Image = Exiv2::ImageFactory::open(std::move(File));
#pragma GCC diagnostic pop
  if (Image.get() == nullptr) return;  // no picture format it knows
  Image->readMetadata();
  const Exiv2::ExifData& Exif = Image->exifData();
  for (const char* Key : {"Exif.Photo.DateTimeOriginal", "Exif.Photo.DateTimeDigitized", "Exif.Image.DateTime"}) {
    const auto Found = Exif.findKey(Exiv2::ExifKey(Key));
    if (Found == Exif.end()) continue;
    Metadata.PhotoDate = ParseExifDateTime(Found->toString());
    if (Metadata.PhotoDate) break;
  }
  const auto Model = Exif.findKey(Exiv2::ExifKey("Exif.Image.Model"));
  if (Model != Exif.end()) Metadata.Camera = Trimmed(Model->toString());
}

void ReadAudio(const std::string& Path, TFileMetadata& Metadata) {
  // Audio properties are not needed; skipping them saves a scan of the stream.
  const TagLib::FileRef File(Path.c_str(), false);
  const TagLib::Tag* Tag = File.isNull() ? nullptr : File.tag();
  if (!Tag) return;
  const auto Text = [](const TagLib::String& Value) { return Trimmed(Value.to8Bit(true)); };
  Metadata.Artist = Text(Tag->artist());
  Metadata.Title = Text(Tag->title());
  Metadata.Album = Text(Tag->album());
  Metadata.Genre = Text(Tag->genre());
  if (Tag->track() > 0) Metadata.Track = std::to_string(Tag->track());
  if (Tag->year() > 0) Metadata.Year = std::to_string(Tag->year());
}

// What Read finds in the file at Path; nothing when it throws, whatever it throws.
TFileMetadata Guarded(void (*Read)(const std::string&, TFileMetadata&), const std::string& Path) {
  TFileMetadata Metadata;
  try {
    Read(Path, Metadata);
  } catch (...) {
    return {};
  }
  return Metadata;
}

}  // namespace

TLinuxFileMetadataReader::TLinuxFileMetadataReader() {
  static std::once_flag Once;
  std::call_once(Once, [] {
    // Damaged files are normal input here: no warnings on standard error.
    Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
    Exiv2::XmpParser::initialize();
  });
}

TFileMetadata TLinuxFileMetadataReader::Read(const std::string& Path, unsigned Groups) {
  TFileMetadata Metadata;
  struct stat Info;
  if (::stat(Path.c_str(), &Info) != 0 || !S_ISREG(Info.st_mode)) return Metadata;
  // Each group is read into a record of its own, so a damaged file never
  // gives half of a group's values.
  if (Groups & mgAudio) Metadata = Guarded(ReadAudio, Path);
  if (Groups & mgPhoto) {
    TFileMetadata Photo = Guarded(ReadExif, Path);
    Metadata.PhotoDate = Photo.PhotoDate;
    Metadata.Camera = std::move(Photo.Camera);
  }
  return Metadata;
}

std::optional<TDateTime> ParseExifDateTime(std::string_view Text) {
  // "YYYY:MM:DD HH:MM:SS": digits at fixed places.
  if (Text.size() < 19) return std::nullopt;
  const auto Number = [&](size_t At, size_t Digits) {
    int Value = 0;
    for (size_t I = At; I < At + Digits; ++I) {
      if (Text[I] < '0' || Text[I] > '9') return -1;
      Value = Value * 10 + (Text[I] - '0');
    }
    return Value;
  };
  const auto DateSep = [](char C) { return C == ':' || C == '-'; };
  if (!DateSep(Text[4]) || !DateSep(Text[7]) || (Text[10] != ' ' && Text[10] != 'T') || Text[13] != ':' ||
      Text[16] != ':')
    return std::nullopt;
  const TDateTimeParts Parts{Number(0, 4), Number(5, 2), Number(8, 2), Number(11, 2), Number(14, 2), Number(17, 2)};
  static constexpr int DaysIn[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (Parts.Year < 1 || Parts.Month < 1 || Parts.Month > 12 || Parts.Day < 1 || Parts.Day > DaysIn[Parts.Month - 1] ||
      Parts.Hour < 0 || Parts.Hour > 23 || Parts.Minute < 0 || Parts.Minute > 59 || Parts.Second < 0 ||
      Parts.Second > 59)
    return std::nullopt;
  const bool Leap = (Parts.Year % 4 == 0 && Parts.Year % 100 != 0) || Parts.Year % 400 == 0;
  if (Parts.Month == 2 && Parts.Day == 29 && !Leap) return std::nullopt;
  return EncodeDateTime(Parts);
}
