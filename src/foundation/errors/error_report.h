// The error reporter: every failure of a file or a resource is shown to the user through the prompt
// service, and the caller goes on. Only memory exhaustion (code 2) with the continue flag 0 ends
// the program; data never does.
#pragma once

#include <string>
#include <string_view>

#include "foundation/status.h"

// Reports are shown with these prompter message numbers, so that tests can tell them apart from
// catalogue messages: an error report with -code (-102 for "cannot open"), a fatal report with -1.
inline constexpr int ErrorReportNumber(int code) { return -code; }
inline constexpr int kFatalReportNumber = -1;

// The code page 1251 text of an error code; a general text for a code the reporter does not know.
const std::string& ErrorCodeText(int code);

// "<code text> #<detail> \n in function <trace> ", or "<code text>  #<detail>" with an empty trace.
std::string FormatErrorReport(int code, std::string_view trace, int detail);

// Shows the report (cp1251 trace: the reporting class and method, or a place). With continueFlag 0
// and code 2 the program ends with exit code 1 after the message; every other report returns.
void ReportError(int code, std::string_view trace, int detail, int continueFlag = 1);

// "<text>\n in function <function>": an internal inconsistency. Shown, then returns.
std::string FormatFatalError(std::string_view text, std::string_view function);
void FatalError(std::string_view text, std::string_view function);

// Tells the user about a failed status and returns; nothing for success. An error code goes to
// ReportError (trace: `trace`, and the status's place or file in brackets when it has one); a
// message number shows that catalogue text, followed on a new line by the status's place when
// given.
void ReportStatus(const Status& status, std::string_view trace = {});
