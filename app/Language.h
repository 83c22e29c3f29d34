// The language of the program's messages: Qt's translation system with one
// catalogue, English. The texts as written are German messages and English
// captions; they stay as they are under a German or the C/POSIX locale.
#pragma once

#include <string>
#include <string_view>

class QCoreApplication;
struct TProcessEnvironment;

// The catalogue the user's locale asks for: "" (none: the texts as written)
// for C, POSIX, an unset locale and German, "en" for every other language.
// The locale is the first non-empty one of LC_ALL, LC_MESSAGES and LANG.
std::string CatalogueLanguage(std::string_view LcAll, std::string_view LcMessages, std::string_view Lang);

// Loads the catalogue the locale variables of Environment ask for and
// installs it in Application. Looks in ../share/quorvane/translations from
// the program's folder (the build tree and any installed prefix), then in
// the folder of the installation. False when no catalogue was installed.
bool InstallCatalogue(QCoreApplication& Application, const TProcessEnvironment& Environment);
