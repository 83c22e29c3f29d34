#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>

#include "filegrid/FileMetadataReader.h"
#include "base/FileNames.h"
#include "rename/BuildName.h"
#include "rename/TextChecks.h"
#include "support/MetadataFiles.h"
#include "support/TempDir.h"

// Each file is read by the real reader and named as a pass names it: "in"
// replaced by the text, the file date 3 February 2001, 04:05:06.
TEST(MetadataReader, FilesGiveTheirFieldsOrWhatStandsInForThem) {
  const std::string Exif = JpegWithExif({{"Exif.Image.Model", " Canon EOS 5D  "}, {"Exif.Image.DateTime", "2017:01:02 03:04:05"},
      {"Exif.Photo.DateTimeOriginal", "2019:07:14 09:30:05"}, {"Exif.Photo.DateTimeDigitized", "2018:01:01 00:00:00"}});
  const struct { const char *Case, *Extension; std::string Bytes; const char *Replace, *Expected; } Cases[] = {
      {"the original date wins", "jpg", Exif, "<datum,f,e> <zeit,f,ko> <kamera>",
       "2019.07.14 09.30.05 Canon EOS 5D.jpg"},
      {"DateTime stands in", "jpg", JpegWithExif({{"Exif.Image.DateTime", "2017:01:02 03:04:05"}}),
       "<datum,f,k> <zeit,f,ku>", "02.01.2017 03.04.jpg"},
      {"an unset date gives the file date", "jpg", JpegWithExif({{"Exif.Photo.DateTimeOriginal", "0000:00:00 00:00:00"}}),
       "<datum,f,j>-<zeit,f,se>", "2001-06.jpg"},
      {"no calendar date gives the file date", "jpg", JpegWithExif({{"Exif.Image.DateTime", "2023:02:29 10:00:00"}}),
       "<datum,f,j>", "2001.jpg"},
      {"no Exif gives the file date", "jpg", "\xFF\xD8\xFF\xD9", "<datum,f,t>.<datum,f,m>[<kamera>]", "03.02[].jpg"},
      {"a damaged Exif block gives the file date", "jpg", Exif.substr(0, Exif.size() / 2), "<zeit,f,st><kamera>",
       "04.jpg"},
      {"a song is no picture", "mp3", Id3v2File(4, {{"TIT2", 3, "x"}}), "<datum,f,j><kamera>", "2001.mp3"},
      {"ID3v2.3 in Latin-1", "mp3",
       Id3v2File(3, {{"TPE1", 0, "Café Tacuba"}, {"TIT2", 0, "Eres"}, {"TRCK", 0, "3/13"}, {"TALB", 0, "Cuatro"},
                     {"TYER", 0, "2003"}, {"TCON", 0, "Rock"}}),
       "<nummer> <interpret> - <titel> (<album>, <jahr>, <genre>)", "03 Café Tacuba - Eres (Cuatro, 2003, Rock).mp3"},
      {"ID3v2.3 in UTF-16, a slash becomes a dot", "mp3", Id3v2File(3, {{"TPE1", 1, "Ärzte"}, {"TIT2", 1, "AC/DC"}}),
       "<interpret> - <titel>", "Ärzte - AC.DC.mp3"},
      {"ID3v2.4 in UTF-8", "mp3",
       Id3v2File(4, {{"TPE1", 3, "Sigur Rós"}, {"TIT2", 3, "Hoppípolla"}, {"TRCK", 3, "7"}, {"TDRC", 3, "2005-09-12"}}),
       "<nummer> <interpret> - <titel> <jahr>", "07 Sigur Rós - Hoppípolla 2005.mp3"},
      {"ID3v2.4 in UTF-16", "mp3", Id3v2File(4, {{"TIT2", 1, "東京 ../x"}}), "<titel>", "東京 ...x.mp3"},
      {"ID3v1 only", "mp3", Id3v1File("Title", "Artist", "Album", "1999", 5, 17),
       "<nummer> <interpret> - <titel> <album> <jahr> <genre>", "05 Artist - Title Album 1999 Rock.mp3"},
      {"FLAC with Vorbis comments", "flac",
       FlacFile({"ARTIST=Björk", "TITLE=Jóga", "TRACKNUMBER=3/13", "ALBUM=Homogenic", "DATE=1997", "GENRE=Pop"}),
       "<nummer> <interpret> - <titel> <album> <jahr> <genre>", "03 Björk - Jóga Homogenic 1997 Pop.flac"},
      {"a picture has no tags", "jpg", Exif, "[<interpret><titel><nummer>]", "[].jpg"},
  };
  TTempDir Dir;
  TLinuxFileMetadataReader Reader;
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Case);
    const std::string Path = Dir / (std::string("in.") + C.Extension);
    std::ofstream(Path, std::ios::binary) << C.Bytes;
    TRenameSettings Settings;
    Settings.SearchAndReplace = true, Settings.SearchString = "in", Settings.ReplaceString = C.Replace;
    TUsedFields Used;
    int32_t Counter = 0;
    ASSERT_EQ(CheckRenameSettings(Settings, Used, Counter), "");
    const TFileMetadata Metadata = Reader.Read(Path, MetadataGroupsOf(Used));
    EXPECT_EQ(BuildNewFileName(NamePart(Path), EncodeDateTime({2001, 2, 3, 4, 5, 6}), Settings, Used, Counter,
                               {&SystemClock(), "."}, &Metadata), C.Expected);
  }
}

TEST(MetadataReader, NeverOpensAFifo) {
  TTempDir Dir;
  TLinuxFileMetadataReader Reader;
  ASSERT_EQ(::mkfifo((Dir / "fifo.mp3").c_str(), 0600), 0);
  EXPECT_EQ(Reader.Read(Dir / "fifo.mp3", mgPhoto | mgAudio).Title, "");  // would block if opened
}
