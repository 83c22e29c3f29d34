#include "rename/Fields.h"

#include <QLocale>
#include <QString>
#include <algorithm>

#include "base/Utf8.h"

const std::array<std::string_view, 10> DateFieldKeys = {
    "<datum,a,k>", "<datum,a,e>", "<datum,a,t>", "<datum,a,m>", "<datum,a,j>",
    "<datum,d,k>", "<datum,d,e>", "<datum,d,t>", "<datum,d,m>", "<datum,d,j>",
};
const std::array<std::string_view, 10> TimeFieldKeys = {
    "<zeit,a,ko>", "<zeit,a,ku>", "<zeit,a,se>", "<zeit,a,m>", "<zeit,a,st>",
    "<zeit,d,ko>", "<zeit,d,ku>", "<zeit,d,se>", "<zeit,d,m>", "<zeit,d,st>",
};

const std::array<std::string_view, 5> PhotoDateFieldKeys = {"<datum,f,k>", "<datum,f,e>", "<datum,f,t>",
                                                            "<datum,f,m>", "<datum,f,j>"};
const std::array<std::string_view, 5> PhotoTimeFieldKeys = {"<zeit,f,ko>", "<zeit,f,ku>", "<zeit,f,se>",
                                                            "<zeit,f,m>", "<zeit,f,st>"};
const std::array<std::string_view, 6> AudioFieldKeys = {"<interpret>", "<titel>", "<album>",
                                                        "<nummer>",    "<jahr>",  "<genre>"};

std::string DateSeparatorFromFormat(const QString& Format) {
  const auto IsPatternLetter = [](QChar C) { return C == u'd' || C == u'M' || C == u'y'; };
  qsizetype I = 0;
  while (I < Format.size() && !IsPatternLetter(Format[I])) ++I;
  while (I < Format.size() && IsPatternLetter(Format[I])) ++I;
  if (I >= Format.size()) return ".";
  const char32_t C = Format[I].unicode();
  // Only a visible punctuation mark that a name may hold separates the parts
  // of a date: not a space (the C locale's "d MMM yyyy"), a letter, a quote
  // (Qt's literal text) or "/".
  if (!Format[I].isPunct() || C == U'\'' || C == U'/') return ".";
  return EncodeUtf8(std::u32string_view(&C, 1));
}

const std::string& SystemDateSeparator() {
  static const std::string Separator = DateSeparatorFromFormat(QLocale::system().dateFormat(QLocale::ShortFormat));
  return Separator;
}

namespace {

void AppendNumber(std::string& Out, int Value, int Digits) {
  char Buffer[8];
  for (int I = Digits - 1; I >= 0; --I) {
    Buffer[I] = static_cast<char>('0' + Value % 10);
    Value /= 10;
  }
  Out.append(Buffer, static_cast<size_t>(Digits));
}

enum TPicture { pcDayMonthYear, pcYearMonthDay, pcDay, pcMonth, pcYear, pcHourMinSec, pcHourMin, pcSec, pcMin, pcHour };

std::string Format(const TDateTimeParts& P, TPicture Picture, const std::string& Sep) {
  std::string Out;
  switch (Picture) {
    case pcDayMonthYear:
      AppendNumber(Out, P.Day, 2), Out += Sep, AppendNumber(Out, P.Month, 2), Out += Sep, AppendNumber(Out, P.Year, 4);
      break;
    case pcYearMonthDay:
      AppendNumber(Out, P.Year, 4), Out += Sep, AppendNumber(Out, P.Month, 2), Out += Sep, AppendNumber(Out, P.Day, 2);
      break;
    case pcDay: AppendNumber(Out, P.Day, 2); break;
    case pcMonth: AppendNumber(Out, P.Month, 2); break;
    case pcYear: AppendNumber(Out, P.Year, 4); break;
    case pcHourMinSec:
      AppendNumber(Out, P.Hour, 2), Out += Sep, AppendNumber(Out, P.Minute, 2), Out += Sep,
          AppendNumber(Out, P.Second, 2);
      break;
    case pcHourMin: AppendNumber(Out, P.Hour, 2), Out += Sep, AppendNumber(Out, P.Minute, 2); break;
    case pcSec: AppendNumber(Out, P.Second, 2); break;
    case pcMin: AppendNumber(Out, P.Minute, 2); break;
    case pcHour: AppendNumber(Out, P.Hour, 2); break;
  }
  return Out;
}

// The five fields from Keys on, in the five pictures from FirstPicture on, of Date.
void AddFiveFields(TItemList& Items, const std::string_view* Keys, TPicture FirstPicture, TDateTime Date,
                   const std::string& Separator) {
  const TDateTimeParts Parts = DecodeDateTime(Date);
  for (int I = 0; I < 5; ++I) Items.Add(Keys[I], Format(Parts, TPicture(FirstPicture + I), Separator));
}

// Five fields of the clock, then the same five of the file date.
void AddFields(TItemList& Items, const std::array<std::string_view, 10>& Keys, TPicture FirstPicture,
               TDateTime FileDate, const TFieldContext& Context) {
  for (int I = 0; I < 5; ++I) {
    const TDateTimeParts Now = DecodeDateTime(Context.Clock ? Context.Clock->Now() : 0);
    Items.Add(Keys[size_t(I)], Format(Now, TPicture(FirstPicture + I), Context.DateSeparator));
  }
  AddFiveFields(Items, Keys.data() + 5, FirstPicture, FileDate, Context.DateSeparator);
}

}  // namespace

void AddDateFields(TItemList& Items, TDateTime FileDate, const TFieldContext& Context) {
  AddFields(Items, DateFieldKeys, pcDayMonthYear, FileDate, Context);
}

void AddTimeFields(TItemList& Items, TDateTime FileDate, const TFieldContext& Context) {
  AddFields(Items, TimeFieldKeys, pcHourMinSec, FileDate, Context);
}

std::optional<TUsedField> MetadataFieldGroup(std::string_view Key) {
  const auto In = [Key](const auto& Keys) { return std::find(Keys.begin(), Keys.end(), Key) != Keys.end(); };
  if (In(PhotoDateFieldKeys)) return ufPhotoDate;
  if (In(PhotoTimeFieldKeys)) return ufPhotoTime;
  if (Key == CameraFieldKey) return ufCamera;
  if (In(AudioFieldKeys)) return ufAudio;
  return std::nullopt;
}

unsigned MetadataGroupsOf(TUsedFields Used) {
  unsigned Groups = 0;
  if (Used.Contains(ufPhotoDate) || Used.Contains(ufPhotoTime) || Used.Contains(ufCamera)) Groups |= mgPhoto;
  if (Used.Contains(ufAudio)) Groups |= mgAudio;
  return Groups;
}

std::string TagFieldText(std::string_view Value) {
  std::string Text;
  Text.reserve(Value.size());
  for (const char C : Value) {
    if (C == '/') Text += '.';
    else if (static_cast<unsigned char>(C) >= 0x20 && C != 0x7F) Text += C;
  }
  const size_t First = Text.find_first_not_of(' ');
  if (First == std::string::npos) return {};
  return Text.substr(First, Text.find_last_not_of(' ') - First + 1);
}

std::string TrackFieldText(std::string_view Value) {
  std::string Text = TagFieldText(Value.substr(0, Value.find('/')));
  if (Text.empty() || Text.find_first_not_of("0123456789") != std::string::npos) return Text;
  Text.erase(0, std::min(Text.find_first_not_of('0'), Text.size() - 1));  // "007" gives "7", "0" stays
  return Text.size() < 2 ? "0" + Text : Text;
}

void AddMetadataFields(TItemList& Items, TUsedFields Used, const TFileMetadata& Metadata, TDateTime FileDate,
                       const TFieldContext& Context) {
  const TDateTime PhotoDate = Metadata.PhotoDate.value_or(FileDate);
  if (Used.Contains(ufPhotoDate))
    AddFiveFields(Items, PhotoDateFieldKeys.data(), pcDayMonthYear, PhotoDate, Context.DateSeparator);
  if (Used.Contains(ufPhotoTime))
    AddFiveFields(Items, PhotoTimeFieldKeys.data(), pcHourMinSec, PhotoDate, Context.DateSeparator);
  if (Used.Contains(ufCamera)) Items.Add(CameraFieldKey, TagFieldText(Metadata.Camera));
  if (Used.Contains(ufAudio)) {
    Items.Add(AudioFieldKeys[0], TagFieldText(Metadata.Artist));
    Items.Add(AudioFieldKeys[1], TagFieldText(Metadata.Title));
    Items.Add(AudioFieldKeys[2], TagFieldText(Metadata.Album));
    Items.Add(AudioFieldKeys[3], TrackFieldText(Metadata.Track));
    Items.Add(AudioFieldKeys[4], TagFieldText(Metadata.Year));
    Items.Add(AudioFieldKeys[5], TagFieldText(Metadata.Genre));
  }
}

std::string CounterText(int32_t Value, bool SameWidth, int32_t Width, bool FillZeros) {
  std::string Text = std::to_string(Value);
  if (!SameWidth) return Text;
  const auto Length = static_cast<int64_t>(Text.size());
  if (Width <= 0) return {};
  if (Width < Length) return Text.substr(size_t(Length - Width));
  if (Width == Length) return Text;
  // At most ten fill characters are put in front.
  const int64_t Fill = std::min<int64_t>(Width - Length, 10);
  return std::string(size_t(Fill), FillZeros ? '0' : ' ') + Text;
}

int32_t AdvanceCounter(int32_t Value, int32_t Step) {
  return static_cast<int32_t>(static_cast<uint32_t>(Value) + static_cast<uint32_t>(Step));
}
