// Files with metadata, made byte by byte (ID3, FLAC) or with Exiv2's own Exif
// encoder, for the metadata tests and benchmarks.
#pragma once

#include <QString>
#include <exiv2/exiv2.hpp>
#include <string>
#include <utility>
#include <vector>

namespace metadata_files {

inline std::string BigEndian(uint32_t Value, int Bytes) {
  std::string Out;
  for (int I = Bytes - 1; I >= 0; --I) Out += char((Value >> (8 * I)) & 0xFF);
  return Out;
}
inline std::string LittleEndian32(uint32_t Value) {
  const std::string Big = BigEndian(Value, 4);
  return std::string(Big.rbegin(), Big.rend());
}
inline std::string SyncSafe(uint32_t Value) {
  return {char((Value >> 21) & 0x7F), char((Value >> 14) & 0x7F), char((Value >> 7) & 0x7F), char(Value & 0x7F)};
}

// A JPEG whose APP1 segment holds these Exif tags (keys such as
// "Exif.Image.Model"), then a few bytes standing for the picture.
inline std::string JpegWithExif(const std::vector<std::pair<std::string, std::string>>& Tags) {
  Exiv2::ExifData Exif;
  for (const auto& [Key, Value] : Tags) Exif[Key] = Value;
  Exiv2::Blob Blob;
  Exiv2::ExifParser::encode(Blob, Exiv2::littleEndian, Exif);
  const std::string App1 = std::string("Exif\0\0", 6) + std::string(Blob.begin(), Blob.end());
  return "\xFF\xD8\xFF\xE1" + BigEndian(uint32_t(App1.size() + 2), 2) + App1 +
         "\xFF\xDA\x00\x08\x01\x01\x00\x00\x3F\x00" + std::string(64, '\x55') + "\xFF\xD9";
}

// One MPEG audio frame (MPEG-1 layer III, 128 kbit/s, 44.1 kHz) of silence.
inline std::string MpegFrame() { return "\xFF\xFB\x90\x00" + std::string(413, '\0'); }

// A text frame of an ID3v2 tag: Encoding 0 Latin-1, 1 UTF-16 with byte
// order mark, 3 UTF-8; Text is given in UTF-8.
struct TId3Frame {
  std::string Id;
  int Encoding;
  std::string Text;
};

// An MP3 file: an ID3v2.Version tag (3 or 4) with Frames, then audio.
inline std::string Id3v2File(int Version, const std::vector<TId3Frame>& Frames) {
  std::string Body;
  for (const TId3Frame& Frame : Frames) {
    const QString Text = QString::fromStdString(Frame.Text);
    std::string Payload(1, char(Frame.Encoding));
    if (Frame.Encoding == 0) Payload += Text.toLatin1().toStdString();
    if (Frame.Encoding == 3) Payload += Frame.Text;
    if (Frame.Encoding == 1) {
      Payload += "\xFF\xFE";
      for (const QChar C : Text) Payload += {char(C.unicode() & 0xFF), char(C.unicode() >> 8)};
    }
    const auto Size = uint32_t(Payload.size());
    Body += Frame.Id + (Version == 4 ? SyncSafe(Size) : BigEndian(Size, 4)) + std::string(2, '\0') + Payload;
  }
  return "ID3" + std::string{char(Version), 0, 0} + SyncSafe(uint32_t(Body.size())) + Body + MpegFrame();
}

// An MP3 file with only an ID3v1.1 tag at its end.
inline std::string Id3v1File(const std::string& Title, const std::string& Artist, const std::string& Album,
                             const std::string& Year, int Track, int Genre) {
  const auto Field = [](const std::string& Text, size_t Size) {
    return (Text + std::string(Size, '\0')).substr(0, Size);
  };
  return MpegFrame() + "TAG" + Field(Title, 30) + Field(Artist, 30) + Field(Album, 30) + Field(Year, 4) +
         std::string(29, '\0') + char(Track) + char(Genre);
}

// A FLAC file: an empty stream information block and Vorbis comments ("ARTIST=...").
inline std::string FlacFile(const std::vector<std::string>& Comments) {
  std::string Vorbis = LittleEndian32(6) + "vendor" + LittleEndian32(uint32_t(Comments.size()));
  for (const std::string& Comment : Comments) Vorbis += LittleEndian32(uint32_t(Comment.size())) + Comment;
  std::string StreamInfo = BigEndian(4096, 2) + BigEndian(4096, 2) + std::string(6, '\0') +
                           BigEndian((44100u << 12) | (1u << 9) | (15u << 4), 4) + std::string(20, '\0');
  return "fLaC" + std::string(1, '\0') + BigEndian(uint32_t(StreamInfo.size()), 3) + StreamInfo + "\x84" +
         BigEndian(uint32_t(Vorbis.size()), 3) + Vorbis + "\xFF\xF8" + std::string(16, '\0');
}

}  // namespace metadata_files
