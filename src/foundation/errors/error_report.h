// The error reporter: every failure of a file or a resource is shown to the user through the prompt
// service, and the caller goes on. Only memory exhaustion (code 2) with the continue flag 0 ends
// the program; data never does.
//
// The user is told in a plain sentence what went wrong, with which file when it is known, and
// what to do; the report's trace (the reporting function and the detail number) goes to the error
// log only (SetErrorLogFile).
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "foundation/status.h"

// Reports are shown with these prompter message numbers, so that tests can tell them apart from
// catalogue messages: an error report with -code (-102 for "cannot open"), a fatal report with -1.
inline constexpr int ErrorReportNumber(int code) { return -code; }
inline constexpr int kFatalReportNumber = -1;

// The code page 1251 text of an error code; a general text for a code the reporter does not know.
const std::string& ErrorCodeText(int code);

// "<code text> #<detail> \n in function <trace> ", or "<code text>  #<detail>" with an empty trace:
// the line the error log keeps of a report.
std::string FormatErrorReport(int code, std::string_view trace, int detail);

// What the user is told of error `code` (code page 1251): the code's text, naming `file` (cp1251)
// when it is not empty, and on a line of its own what to do.
std::string PlainErrorText(int code, std::string_view file = {});

// Shows the report's plain text and logs the full report (cp1251 trace: the reporting class and
// method, or a place). With continueFlag 0 and code 2 the program ends with exit code 1 after the
// message; every other report returns.
void ReportError(int code, std::string_view trace, int detail, int continueFlag = 1);

// The error log: a file the reports' traces are appended to, one dated line each (UTF-8), with
// the previous log kept as "<name>.old" once it has grown past a megabyte; empty (the default)
// or a file that cannot be opened: standard error.
// The program keeps it in the data folder under this name.
inline constexpr const char* kErrorLogName = "velm.log";
void SetErrorLogFile(std::filesystem::path file);
void LogErrorTrace(std::string_view cp1251Line);

// "<text>\n in function <function>": an internal inconsistency. Shown, then returns.
std::string FormatFatalError(std::string_view text, std::string_view function);
void FatalError(std::string_view text, std::string_view function);

// Tells the user about a failed status and returns; nothing for success. An error code is told as
// ReportError tells it, the plain text naming the status's place when that is a file (a path, or
// a name with an extension); the log line has the trace and the place in brackets. A message
// number shows that catalogue text, followed on a new line by the status's place when given.
void ReportStatus(const Status& status, std::string_view trace = {});
