#include "app/Language.h"

#include <QCoreApplication>
#include <QFile>
#include <QTranslator>

#include "app/Environment.h"

std::string CatalogueLanguage(std::string_view LcAll, std::string_view LcMessages, std::string_view Lang) {
  const std::string_view Locale = !LcAll.empty() ? LcAll : !LcMessages.empty() ? LcMessages : Lang;
  // "de_DE.UTF-8@euro": the language is the part before territory, codeset and modifier.
  const std::string_view Name = Locale.substr(0, Locale.find_first_of("_.@"));
  if (Name.empty() || Name == "C" || Name == "POSIX" || Name == "de") return "";
  return "en";
}

bool InstallCatalogue(QCoreApplication& Application, const TProcessEnvironment& Environment) {
  const std::string Language = CatalogueLanguage(Environment.LcAll, Environment.LcMessages, Environment.Lang);
  if (Language.empty()) return false;
  const QString Name = QStringLiteral("quorvane_") + QString::fromStdString(Language);
  auto* Translator = new QTranslator(&Application);
  for (const QString& Folder : {QFile::decodeName(QByteArray::fromStdString(Environment.ExecutableFolder)) +
                                    QStringLiteral("/../share/quorvane/translations"),
                                QStringLiteral(QUORVANE_TRANSLATIONS_DIR)})
    if (Translator->load(Name, Folder)) return QCoreApplication::installTranslator(Translator);
  delete Translator;
  return false;
}
