#include "filegrid/FileGridFile.h"

// Shown translated in context "FileGrid".
const std::array<const char*, FileGridColumnCount> FileGridColumnCaptions = {
    QT_TRANSLATE_NOOP("FileGrid", "Check"),         QT_TRANSLATE_NOOP("FileGrid", "Filename"),
    QT_TRANSLATE_NOOP("FileGrid", "New Filename"),  QT_TRANSLATE_NOOP("FileGrid", "Path"),
    QT_TRANSLATE_NOOP("FileGrid", "Extension"),     QT_TRANSLATE_NOOP("FileGrid", "Size"),
    QT_TRANSLATE_NOOP("FileGrid", "Description"),   QT_TRANSLATE_NOOP("FileGrid", "Attributes"),
    QT_TRANSLATE_NOOP("FileGrid", "Creation Date"), QT_TRANSLATE_NOOP("FileGrid", "Last Write Date")};

int SortKeySlot(int Column) {
  switch (Column) {
    case fcFileName: return 0;
    case fcNewFileName: return 1;
    case fcPath: return 2;
    case fcExtension: return 3;
    case fcDescription: return 4;
    default: return -1;
  }
}

void SetFileNameFields(TFileGridFile& Entry, std::string_view FileName) {
  // assign keeps the buffer of an entry that is read again; a path already
  // moved into FileName is only cut to length.
  if (FileName.data() == Entry.FileName.data())
    Entry.FileName.resize(FileName.size());
  else
    Entry.FileName.assign(FileName);
  const std::string& F = Entry.FileName;
  const size_t Slash = F.rfind('/');
  const size_t NameStart = Slash == std::string::npos ? 0 : Slash + 1;
  const size_t Dot = F.rfind('.');
  Entry.NameStart = static_cast<uint32_t>(NameStart);
  Entry.ExtensionStart = static_cast<uint32_t>(Dot == std::string::npos || Dot < NameStart ? F.size() : Dot);
  Entry.ClearSortKeys();
}
