#include "platform/qt/qt_text.h"

#include <QByteArray>
#include <QFile>

#include "platform/core/codepage.h"

namespace platform {

QString ToQt(std::string_view cp1251) {
  QString out;
  out.reserve(static_cast<qsizetype>(cp1251.size()));
  for (char c : cp1251)
    out.append(QChar(static_cast<char16_t>(UnicodeOfCp1251(static_cast<unsigned char>(c)))));
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

QString PathToQt(std::string_view path) {
  return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
}

std::string PathFromQt(const QString& text) { return QFile::encodeName(text).toStdString(); }

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
