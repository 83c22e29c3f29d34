// Files with metadata, made byte by byte (ID3, FLAC) or with Exiv2's own Exif
// encoder, for the metadata tests and benchmarks.
#pragma once

#include <QString>
#include <exiv2/exiv2.hpp>
#include <string>
#include <utility>
#include <vector>

// Value in Bytes bytes, most significant first; with Shift 7 in seven-bit
// groups (ID3's "synchsafe" sizes); with Little, least significant first.
inline std::string Number(uint32_t Value, int Bytes, int Shift = 8, bool Little = false) {
  std::string Out;
  for (int I = 0; I < Bytes; ++I) Out += char((Value >> (Shift * (Little ? I : Bytes - 1 - I))) & ((1u << Shift) - 1));
  return Out;
}

// A JPEG whose APP1 segment holds these Exif tags ("Exif.Image.Model", ...), then a picture's start and end.
inline std::string JpegWithExif(const std::vector<std::pair<std::string, std::string>>& Tags) {
  Exiv2::ExifData Exif;
  for (const auto& [Key, Value] : Tags) Exif[Key] = Value;
  Exiv2::Blob Blob;
  Exiv2::ExifParser::encode(Blob, Exiv2::littleEndian, Exif);
  const std::string App1 = std::string("Exif\0\0", 6) + std::string(Blob.begin(), Blob.end());
  return "\xFF\xD8\xFF\xE1" + Number(uint32_t(App1.size() + 2), 2) + App1 + "\xFF\xDA\x00\x02\xFF\xD9";
}

// One MPEG audio frame (layer III, 128 kbit/s, 44.1 kHz) of silence.
inline std::string MpegFrame() { return "\xFF\xFB\x90\x00" + std::string(413, '\0'); }

// A text frame of an ID3v2 tag: Encoding 0 Latin-1, 1 UTF-16 with byte order mark, 3 UTF-8; Text in UTF-8.
struct TId3Frame { std::string Id; int Encoding; std::string Text; };

// An MP3 file: an ID3v2.Version tag (3 or 4) with Frames, then audio.
inline std::string Id3v2File(int Version, const std::vector<TId3Frame>& Frames) {
  std::string Body;
  for (const TId3Frame& Frame : Frames) {
    const QString Text = QString::fromStdString(Frame.Text);
    std::string Payload(1, char(Frame.Encoding));
    if (Frame.Encoding == 0) Payload += Text.toLatin1().toStdString();
    if (Frame.Encoding == 1) Payload += "\xFF\xFE" + std::string(reinterpret_cast<const char*>(Text.utf16()), 2 * Text.size());
    if (Frame.Encoding == 3) Payload += Frame.Text;
    Body += Frame.Id + Number(uint32_t(Payload.size()), 4, Version == 4 ? 7 : 8) + std::string(2, '\0') + Payload;
  }
  return "ID3" + std::string{char(Version), 0, 0} + Number(uint32_t(Body.size()), 4, 7) + Body + MpegFrame();
}

// An MP3 file with only an ID3v1.1 tag at its end.
inline std::string Id3v1File(const std::string& Title, const std::string& Artist, const std::string& Album,
                             const std::string& Year, int Track, int Genre) {
  const auto Field = [](const std::string& Text, size_t Size) { return (Text + std::string(Size, '\0')).substr(0, Size); };
  return MpegFrame() + "TAG" + Field(Title, 30) + Field(Artist, 30) + Field(Album, 30) + Field(Year, 4) +
         std::string(29, '\0') + char(Track) + char(Genre);
}

// A FLAC file: a stream information block (44.1 kHz, stereo, 16 bits) and Vorbis comments ("ARTIST=...").
inline std::string FlacFile(const std::vector<std::string>& Comments) {
  std::string Vorbis = Number(6, 4, 8, true) + "vendor" + Number(uint32_t(Comments.size()), 4, 8, true);
  for (const std::string& Comment : Comments) Vorbis += Number(uint32_t(Comment.size()), 4, 8, true) + Comment;
  const std::string StreamInfo = Number(4096, 2) + Number(4096, 2) + std::string(6, '\0') +
                                 Number((44100u << 12) | (1u << 9) | (15u << 4), 4) + std::string(20, '\0');
  return "fLaC" + Number(uint32_t(StreamInfo.size()), 4) + StreamInfo + "\x84" + Number(uint32_t(Vorbis.size()), 3) +
         Vorbis + "\xFF\xF8" + std::string(16, '\0');
}
