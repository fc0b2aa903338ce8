#include "shell/command_line.h"

namespace {

// "--name VALUE" or "--name=VALUE"; false when `arg` is not the option. An empty or missing value
// is refused with "после --name <missing>".
bool TakeValue(const std::vector<std::string>& args, std::size_t& i, const std::string& name,
               const char* missing, std::string& value, std::string& error) {
  const std::string& arg = args[i];
  if (arg == name) {
    if (i + 1 >= args.size() || args[i + 1].empty()) {
      error = "после " + name + " " + missing;
    } else {
      value = args[++i];
    }
    return true;
  }
  if (arg.rfind(name + "=", 0) == 0) {
    value = arg.substr(name.size() + 1);
    if (value.empty()) error = "после " + name + " " + missing;
    return true;
  }
  return false;
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
  CommandLine line;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size() && line.error.empty(); ++i) {
    const std::string& arg = args[i];
    if (!optionsEnded && arg == "--") {
      optionsEnded = true;
    } else if (!optionsEnded && TakeValue(args, i, "--data-dir", "не указана папка данных",
                                          line.dataDir, line.error)) {
    } else if (!optionsEnded &&
               TakeValue(args, i, "--out", "не указан файл PDF", line.out, line.error)) {
    } else if (!optionsEnded && arg == "--nosplash") {
      line.splash = false;
    } else if (!optionsEnded && (arg == "/p" || arg == "-p")) {
      line.print = true;
    } else if (!optionsEnded && arg.size() > 1 && arg[0] == '-') {
      line.error = "неизвестный параметр " + arg;
    } else if (!line.file.empty()) {
      line.error = "указано больше одного файла гороскопов";
    } else {
      line.file = arg;
    }
  }
  if (line.error.empty() && line.print && line.file.empty())
    line.error = "после /p не указан файл гороскопов";
  if (line.error.empty() && !line.out.empty() && !line.print)
    line.error = "--out задает файл PDF печати: он нужен только вместе с /p";
  if (line.print) line.splash = false;
  return line;
}

bool PrintsWithoutScreen(const std::vector<std::string>& args, const char* display,
                         const char* waylandDisplay) {
  const auto set = [](const char* value) { return value != nullptr && value[0] != '\0'; };
  if (set(display) || set(waylandDisplay)) return false;
  for (const std::string& arg : args) {
    if (arg == "--") return false;
    if (arg == "/p" || arg == "-p") return true;
  }
  return false;
}
