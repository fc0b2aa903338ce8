#include "platform/qt/qt_text.h"

#include "platform/core/codepage.h"

namespace platform {

QString ToQt(std::string_view cp1251) {
  QString out;
  out.reserve(static_cast<qsizetype>(cp1251.size()));
  for (char c : cp1251) out.append(QChar(static_cast<char16_t>(UnicodeOfCp1251(static_cast<unsigned char>(c)))));
  return out;
}

std::string FromQt(const QString& text) {
  std::string out;
  out.reserve(static_cast<std::size_t>(text.size()));
  for (QChar ch : text) {
    unsigned char c = '?';
    if (!Cp1251OfUnicode(ch.unicode(), c)) c = '?';
    out += static_cast<char>(c);
  }
  return out;
}

bool FitsCp1251(const QString& text) {
  for (QChar ch : text) {
    unsigned char c;
    if (!Cp1251OfUnicode(ch.unicode(), c)) return false;
  }
  return true;
}

QValidator::State Cp1251Validator::validate(QString& input, int&) const {
  return FitsCp1251(input) ? Acceptable : Invalid;
}

}  // namespace platform
