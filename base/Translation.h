// Texts in the user's language through Qt's translation system. With no
// catalogue loaded (German and C/POSIX locales, and every test) each text is
// its source text, byte for byte.
#pragma once

#include <QCoreApplication>

#include <initializer_list>
#include <string>
#include <string_view>

// QCoreApplication::translate as UTF-8: Source in the user's language, with
// every "%n" replaced by N when N >= 0. lupdate reads Tr as translate, so its
// calls with literal texts land in the catalogue.
std::string Tr(const char* Context, const char* Source, const char* Disambiguation = nullptr, int N = -1);

// Template with %1 to %9 replaced by Values in one scan, byte for byte: a
// file name that is not UTF-8 goes in whole, and a "%1" inside a value is
// never replaced again.
std::string Filled(std::string_view Template, std::initializer_list<std::string_view> Values);
