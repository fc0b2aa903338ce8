#include "foundation/errors/error_report.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <mutex>

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

// What the user can do about each code, in the plain text of a report.
struct CodeAdvice {
  int code;
  const char* withFile;  // the sentence's subject names the file: "<text> <file>."
  const char* advice;
};

constexpr CodeAdvice kAdvice[] = {
    {kErrNoMemory, "Недостаточно памяти", "Закройте лишние окна и повторите действие."},
    {kErrCannotOpen, "Не удается открыть файл",
     "Проверьте, что файл есть и что у вас есть право его читать."},
    {kErrRead, "Ошибка чтения файла",
     "Файл недоступен или поврежден: проверьте его и повторите действие."},
    {kErrWrite, "Ошибка записи в файл",
     "Проверьте, что на диске есть место и что у вас есть право писать в его папку."},
    {kErrCannotCreate, "Не удается создать файл",
     "Проверьте, что его папка есть, что это имя не занято папкой и что у вас есть право писать "
     "в нее."},
    {kErrFormat, "Неправильный формат данных в файле",
     "Файл поврежден или это файл другого рода: выберите другой файл или восстановите этот из "
     "копии."},
    {kErrParameter, "Неправильный параметр", "Проверьте введенные значения и повторите действие."},
};

// A place that names a file: a path, or a name with an extension; not a function ("A::B"), nor
// a phrase ("line 5").
bool IsFileName(std::string_view where) {
  if (where.find('/') != std::string_view::npos) return true;
  return where.find('.') != std::string_view::npos && where.find("::") == std::string_view::npos &&
         where.find(' ') == std::string_view::npos;
}

std::mutex g_logMutex;
std::filesystem::path g_logFile;
constexpr off_t kLogLimit = 1 << 20;

// The log file opened for appending, the one before it kept aside once it has grown past the
// limit; -1 when it cannot be opened. Both are bare names acted on through their folder's handle
// and never followed through a link.
int OpenLog() {
  if (g_logFile.empty()) return -1;
  const std::string folder =
      g_logFile.parent_path().empty() ? "." : g_logFile.parent_path().string();
  const std::string name = g_logFile.filename().string();
  const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir < 0) return -1;
  struct stat st {};
  if (::fstatat(dir, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode) &&
      st.st_size > kLogLimit)
    (void)::renameat(dir, name.c_str(), dir, (name + ".old").c_str());
  const int fd =
      ::openat(dir, name.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
  ::close(dir);
  return fd;
}

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

std::string PlainErrorText(int code, std::string_view file) {
  for (const CodeAdvice& a : kAdvice) {
    if (a.code != code) continue;
    std::string text = Cp1251(a.withFile);
    if (!file.empty()) text += " " + std::string(file);
    return text + ".\n" + Cp1251(a.advice);
  }
  std::string text = ErrorCodeText(code);
  if (!file.empty()) text += ": " + std::string(file);
  return text + ".";
}

void SetErrorLogFile(std::filesystem::path file) {
  const std::lock_guard<std::mutex> lock(g_logMutex);
  g_logFile = std::move(file);
}

void LogErrorTrace(std::string_view cp1251Line) {
  const std::time_t now = std::time(nullptr);
  std::tm utc{};
  char stamp[32] = {};
  if (gmtime_r(&now, &utc) != nullptr)
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", &utc);
  std::string line = std::string(stamp) + " UTC velm[" + std::to_string(::getpid()) +
                     "]: " + platform::Cp1251ToUtf8(cp1251Line);
  // One line per report: the report's own line breaks become blanks.
  for (char& c : line)
    if (c == '\n' || c == '\r') c = ' ';
  line += '\n';
  const std::lock_guard<std::mutex> lock(g_logMutex);
  const int fd = OpenLog();
  if (fd < 0) {
    std::fputs(line.c_str(), stderr);
    return;
  }
  [[maybe_unused]] const ssize_t written = ::write(fd, line.data(), line.size());
  ::close(fd);
}

void ReportError(int code, std::string_view trace, int detail, int continueFlag) {
  LogErrorTrace(FormatErrorReport(code, trace, detail));
  platform::GetPrompter().ShowMessage(ErrorReportNumber(code), PlainErrorText(code),
                                      platform::Icon::Error);
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
    LogErrorTrace(FormatErrorReport(status.ErrorCode(), fullTrace, status.Detail()));
    platform::GetPrompter().ShowMessage(
        ErrorReportNumber(status.ErrorCode()),
        PlainErrorText(status.ErrorCode(), IsFileName(where) ? where : std::string()),
        platform::Icon::Error);
    return;
  }
  std::string text = GetMessageText(status.MessageNumber());
  if (!where.empty()) {
    if (!text.empty()) text += '\n';
    text += where;
  }
  platform::GetPrompter().ShowMessage(status.MessageNumber(), text, platform::Icon::Warning);
}
