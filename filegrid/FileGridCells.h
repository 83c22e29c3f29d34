// The texts the grid shows in its cells: sizes in KB, attribute letters and
// dates in the user's locale.
#pragma once

#include <QLocale>
#include <QString>

#include "filegrid/FileGridFile.h"

// The locale's date and time formats, looked up once for many cells.
class TFileGridCellFormat {
 public:
  explicit TFileGridCellFormat(const QLocale& Locale = QLocale::system());
  // The text of Column for File: empty for the check column, the size as
  // whole KB rounded up ("0 KB", "1 KB" for 1..1024 bytes), "rhsa" letters
  // with "-" for attributes not set, dates in the short date format and the
  // long time format (no time at midnight, nothing for a zero date).
  QString CellText(const TFileGridFile& File, int Column) const;
  QString SizeText(uint64_t Size) const;
  QString AttributeText(uint32_t Attributes) const;
  QString DateText(double DateTime) const;

 private:
  QLocale FLocale;
  QString FDateFormat;
  QString FTimeFormat;
};
