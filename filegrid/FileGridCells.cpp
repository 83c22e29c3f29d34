#include "filegrid/FileGridCells.h"

#include <QDate>
#include <QTime>

#include "base/VmDateTime.h"

namespace {

QString Text(std::string_view Value) { return QString::fromUtf8(Value.data(), static_cast<qsizetype>(Value.size())); }

// The locale's long time format without the time zone: the grid's dates are
// local wall-clock times that carry no zone.
QString TimeFormatWithoutZone(const QLocale& Locale) {
  QString Format = Locale.timeFormat(QLocale::LongFormat);
  QString Result;
  bool Quoted = false;
  for (QChar C : Format) {
    if (C == u'\'') Quoted = !Quoted;
    if (!Quoted && C == u't') continue;
    Result += C;
  }
  return Result.trimmed();
}

}  // namespace

TFileGridCellFormat::TFileGridCellFormat(const QLocale& Locale)
    : FLocale(Locale), FDateFormat(Locale.dateFormat(QLocale::ShortFormat)), FTimeFormat(TimeFormatWithoutZone(Locale)) {}

QString TFileGridCellFormat::CellText(const TFileGridFile& File, int Column) const {
  switch (Column) {
    case fcFileName: return Text(File.Name());
    case fcNewFileName: return Text(File.NewFileName);
    case fcPath: return Text(File.Path());
    case fcExtension: return Text(File.Extension());
    case fcSize: return SizeText(File.Size);
    case fcDescription: return Text(File.Description);
    case fcAttributes: return AttributeText(File.Attributes);
    case fcCreationDate: return DateText(File.CreationDate);
    case fcLastWriteDate: return DateText(File.LastWriteDate);
    default: return {};
  }
}

QString TFileGridCellFormat::SizeText(uint64_t Size) const {
  const uint64_t Kilobytes = (Size >> 10) + ((Size & 1023) != 0 ? 1 : 0);
  return QString::number(Kilobytes) + QStringLiteral(" KB");
}

QString TFileGridCellFormat::AttributeText(uint32_t Attributes) const {
  QString Letters = QStringLiteral("----");
  if (Attributes & faReadOnly) Letters[0] = u'r';
  if (Attributes & faHidden) Letters[1] = u'h';
  if (Attributes & faSystem) Letters[2] = u's';
  if (Attributes & faArchive) Letters[3] = u'a';
  return Letters;
}

QString TFileGridCellFormat::DateText(double DateTime) const {
  if (DateTime == 0) return {};
  const TDateTimeParts Parts = DecodeDateTime(DateTime);
  QString Result = FLocale.toString(QDate(Parts.Year, Parts.Month, Parts.Day), FDateFormat);
  const QTime Time(Parts.Hour, Parts.Minute, Parts.Second);
  if (Time != QTime(0, 0)) Result += u' ' + FLocale.toString(Time, FTimeFormat);
  return Result;
}
