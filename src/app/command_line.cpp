#include "app/command_line.h"

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
  CommandLine line;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size() && line.error.empty(); ++i) {
    const std::string& arg = args[i];
    if (!optionsEnded && arg == "--") {
      optionsEnded = true;
    } else if (!optionsEnded && arg == "--data-dir") {
      if (i + 1 >= args.size() || args[i + 1].empty())
        line.error = "--data-dir needs a folder";
      else
        line.dataDir = args[++i];
    } else if (!optionsEnded && arg.rfind("--data-dir=", 0) == 0) {
      line.dataDir = arg.substr(11);
      if (line.dataDir.empty()) line.error = "--data-dir needs a folder";
    } else if (!optionsEnded && arg == "--nosplash") {
      line.splash = false;
    } else if (!optionsEnded && arg.size() > 1 && arg[0] == '-') {
      line.error = "unknown option " + arg;
    } else if (!line.file.empty()) {
      line.error = "more than one file given";
    } else {
      line.file = arg;
    }
  }
  return line;
}
