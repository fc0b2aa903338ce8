#include "foundation/errors/error_report.h"

#include <array>
#include <cstdio>
#include <cstdlib>

#include "foundation/messages/messages.h"
#include "foundation/text/cp1251.h"
#include "platform/core/codepage.h"
#include "platform/core/prompter.h"

namespace {

struct CodeText {
  int code;
  const char* utf8;
};

constexpr CodeText kCodeTexts[] = {
    {kErrNoMemory, "Недостаточно памяти"},
    {kErrCannotOpen, "Не удается открыть файл"},
    {kErrRead, "Ошибка чтения файла"},
    {kErrWrite, "Ошибка записи в файл"},
    {kErrCannotCreate, "Не удается создать файл"},
    {kErrFormat, "Неправильный формат данных"},
    {kErrParameter, "Неправильный параметр"},
};

constexpr const char* kUnknownCodeText = "Ошибка";

std::string Printf(const char* format, const std::string& a, int n, const std::string& b) {
  const int size = std::snprintf(nullptr, 0, format, a.c_str(), n, b.c_str());
  std::string out(static_cast<std::size_t>(size) + 1, '\0');
  std::snprintf(out.data(), out.size(), format, a.c_str(), n, b.c_str());
  out.resize(static_cast<std::size_t>(size));
  return out;
}

}  // namespace

const std::string& ErrorCodeText(int code) {
  static const std::array<std::string, std::size(kCodeTexts) + 1> texts = [] {
    std::array<std::string, std::size(kCodeTexts) + 1> t;
    for (std::size_t i = 0; i < std::size(kCodeTexts); ++i) t[i] = Cp1251(kCodeTexts[i].utf8);
    t.back() = Cp1251(kUnknownCodeText);
    return t;
  }();
  for (std::size_t i = 0; i < std::size(kCodeTexts); ++i)
    if (kCodeTexts[i].code == code) return texts[i];
  return texts.back();
}

std::string FormatErrorReport(int code, std::string_view trace, int detail) {
  const std::string& text = ErrorCodeText(code);
  if (trace.empty()) return Printf("%s  #%i", text, detail, std::string());
  return Printf("%s #%i \n in function %s ", text, detail, std::string(trace));
}

void ReportError(int code, std::string_view trace, int detail, int continueFlag) {
  platform::GetPrompter().ShowMessage(
      ErrorReportNumber(code), FormatErrorReport(code, trace, detail), platform::Icon::Error);
  if (continueFlag == 0 && code == kErrNoMemory) std::exit(1);
}

std::string FormatFatalError(std::string_view text, std::string_view function) {
  std::string out(text);
  out += "\n in function ";
  out += function;
  return out;
}

void FatalError(std::string_view text, std::string_view function) {
  platform::GetPrompter().ShowMessage(kFatalReportNumber, FormatFatalError(text, function),
                                      platform::Icon::Error);
}

void ReportStatus(const Status& status, std::string_view trace) {
  if (status.ok()) return;
  // The place of a status is a path (UTF-8 bytes) or an ASCII name; the report is code page 1251.
  const std::string where = platform::Utf8ToCp1251(status.Where());
  if (status.ErrorCode() != 0) {
    std::string fullTrace(trace);
    if (!where.empty()) fullTrace = fullTrace.empty() ? where : fullTrace + " (" + where + ")";
    ReportError(status.ErrorCode(), fullTrace, status.Detail(), 1);
    return;
  }
  std::string text = GetMessageText(status.MessageNumber());
  if (!where.empty()) {
    if (!text.empty()) text += '\n';
    text += where;
  }
  platform::GetPrompter().ShowMessage(status.MessageNumber(), text, platform::Icon::Warning);
}
