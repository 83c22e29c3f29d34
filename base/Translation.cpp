#include "base/Translation.h"

std::string Tr(const char* Context, const char* Source, const char* Disambiguation, int N) {
  return QCoreApplication::translate(Context, Source, Disambiguation, N).toStdString();
}

std::string Filled(std::string_view Template, std::initializer_list<std::string_view> Values) {
  std::string Out;
  Out.reserve(Template.size());
  for (size_t I = 0; I < Template.size(); ++I) {
    const size_t Number = I + 1 < Template.size() ? size_t(Template[I + 1] - '0') : 0;
    if (Template[I] == '%' && Number >= 1 && Number <= Values.size()) {
      Out += Values.begin()[Number - 1];
      ++I;
    } else {
      Out += Template[I];
    }
  }
  return Out;
}
