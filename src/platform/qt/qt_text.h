// The widget boundary: Qt sees only Unicode; the program's text is code page 1251.
#pragma once

#include <QString>
#include <QValidator>
#include <string>
#include <string_view>

namespace platform {

QString ToQt(std::string_view cp1251);
// Characters that code page 1251 cannot hold become '?'.
std::string FromQt(const QString& text);
// A file-system path (the system's bytes) as a widget shows it, and back.
QString PathToQt(std::string_view path);
std::string PathFromQt(const QString& text);
// True when every character of `text` can be held in code page 1251.
bool FitsCp1251(const QString& text);

// The validator of every input field: refuses text that code page 1251 cannot hold.
class Cp1251Validator : public QValidator {
 public:
  using QValidator::QValidator;
  State validate(QString& input, int& pos) const override;
};

}  // namespace platform
