#include "rename/Fields.h"

#include <QLocale>
#include <QString>

#include "base/Utf8.h"

const std::array<std::string_view, 10> DateFieldKeys = {
    "<datum,a,k>", "<datum,a,e>", "<datum,a,t>", "<datum,a,m>", "<datum,a,j>",
    "<datum,d,k>", "<datum,d,e>", "<datum,d,t>", "<datum,d,m>", "<datum,d,j>",
};
const std::array<std::string_view, 10> TimeFieldKeys = {
    "<zeit,a,ko>", "<zeit,a,ku>", "<zeit,a,se>", "<zeit,a,m>", "<zeit,a,st>",
    "<zeit,d,ko>", "<zeit,d,ku>", "<zeit,d,se>", "<zeit,d,m>", "<zeit,d,st>",
};

std::string DateSeparatorFromFormat(const QString& Format) {
  const auto IsPatternLetter = [](QChar C) { return C == u'd' || C == u'M' || C == u'y'; };
  qsizetype I = 0;
  while (I < Format.size() && !IsPatternLetter(Format[I])) ++I;
  while (I < Format.size() && IsPatternLetter(Format[I])) ++I;
  if (I >= Format.size()) return ".";
  const char32_t C = Format[I].unicode();
  // Letters, quotes (Qt's literal text) and characters a name cannot hold are
  // no usable separator.
  if (Format[I].isLetter() || Format[I].isSurrogate() || C == U'\'' || C == U'/' || C < 0x20 || C == 0x7F) return ".";
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

// Five fields of the clock, then the same five of the file date.
void AddFields(TItemList& Items, const std::array<std::string_view, 10>& Keys, TPicture FirstPicture,
               TDateTime FileDate, const TFieldContext& Context) {
  for (int I = 0; I < 5; ++I) {
    const TDateTimeParts Now = DecodeDateTime(Context.Clock->Now());
    Items.Add(Keys[size_t(I)], Format(Now, TPicture(FirstPicture + I), Context.DateSeparator));
  }
  const TDateTimeParts File = DecodeDateTime(FileDate);
  for (int I = 0; I < 5; ++I)
    Items.Add(Keys[size_t(I + 5)], Format(File, TPicture(FirstPicture + I), Context.DateSeparator));
}

}  // namespace

void AddDateFields(TItemList& Items, TDateTime FileDate, const TFieldContext& Context) {
  AddFields(Items, DateFieldKeys, pcDayMonthYear, FileDate, Context);
}

void AddTimeFields(TItemList& Items, TDateTime FileDate, const TFieldContext& Context) {
  AddFields(Items, TimeFieldKeys, pcHourMinSec, FileDate, Context);
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
