// The program's command line: velm [--data-dir DIR] [--nosplash] [FILE]
#pragma once

#include <string>
#include <vector>

struct CommandLine {
  std::string dataDir;  // empty when not given
  bool splash = true;   // --nosplash turns the splash window off
  std::string file;     // a chart file to open; empty when none
  std::string error;    // why the command line was refused; empty when it was accepted
};

CommandLine ParseCommandLine(const std::vector<std::string>& args);

inline constexpr const char* kUsage = "velm [--data-dir DIR] [--nosplash] [FILE]";
