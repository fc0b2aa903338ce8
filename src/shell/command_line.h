// The program's command line:
//   velm [--data-dir DIR] [--nosplash] [FILE]
//   velm [--data-dir DIR] /p FILE [--out PATH.pdf]
// FILE holds charts in the session-file form; /p prints them without showing the window, to
// PATH.pdf when given, else to the default printer, else to a PDF file beside FILE. A print run
// asks nothing: its messages go to standard error, and a run that printed nothing ends with a
// non-zero status.
#pragma once

#include <string>
#include <vector>

struct CommandLine {
  std::string dataDir;  // empty when not given
  bool splash = true;   // --nosplash turns the splash window off
  std::string file;     // a chart file to open or print; empty when none
  bool print = false;   // /p
  std::string out;      // --out: the PDF file of /p
  std::string error;    // why the command line was refused (UTF-8); empty when it was accepted
};

CommandLine ParseCommandLine(const std::vector<std::string>& args);

// True when the arguments (as the program received them, before the windowing system takes its
// own) ask for /p and neither display is set (the values of DISPLAY and WAYLAND_DISPLAY, nullptr
// when unset): printing then runs on the offscreen platform, which needs no screen.
bool PrintsWithoutScreen(const std::vector<std::string>& args, const char* display,
                         const char* waylandDisplay);

// How the program is started, for a refused command line (UTF-8, as standard error shows it).
inline constexpr const char* kUsage =
    "Запуск: velm [--data-dir ПАПКА] [--nosplash] [ФАЙЛ]\n"
    "        velm [--data-dir ПАПКА] /p ФАЙЛ [--out ФАЙЛ.pdf]\n"
    "  --data-dir ПАПКА  папка данных программы\n"
    "  --nosplash        без заставки\n"
    "  ФАЙЛ              файл гороскопов (например, velm.sav), открываемый при запуске\n"
    "  /p ФАЙЛ           напечатать гороскопы файла, не показывая окна программы\n"
    "  --out ФАЙЛ.pdf    печатать в этот файл PDF, а не на принтер";
