#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "foundation/errors/error_report.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/text/cp1251.h"
#include "support/test_support.h"

namespace {

using testing_support::ScriptedPrompter;

struct ReportCase {
  const char* name;
  int code;
  const char* trace;
  int detail;
  const char* expectedUtf8;
};

// The texts of the codes (docs/decisions.md) in the two layouts of a report's line in the log.
const ReportCase kReports[] = {
    {"no_memory", 2, "Archive::LoadNames", 0,
     "Недостаточно памяти #0 \n in function Archive::LoadNames "},
    {"cannot_open", 102, "AllStars::LoadStars", 0,
     "Не удается открыть файл #0 \n in function AllStars::LoadStars "},
    {"read_error", 103, "FileRead", 7, "Ошибка чтения файла #7 \n in function FileRead "},
    {"write_error", 104, "COORD_CONF::Save", 5,
     "Ошибка записи в файл #5 \n in function COORD_CONF::Save "},
    {"cannot_create", 105, "InsertFile2File", 0,
     "Не удается создать файл #0 \n in function InsertFile2File "},
    {"wrong_format", 106, "Groups::LoadGroups", -3,
     "Неправильный формат данных #-3 \n in function Groups::LoadGroups "},
    {"wrong_parameter", 107, "x", 12, "Неправильный параметр #12 \n in function x "},
    {"empty_trace_two_blanks", 102, "", 4, "Не удается открыть файл  #4"},
    {"unknown_code", 55, "", 1, "Ошибка  #1"},
};

// Whether the log's last line ends in the report `utf8`, its line breaks made blanks.
bool LoggedLast(const std::filesystem::path& log, std::string utf8) {
  std::replace(utf8.begin(), utf8.end(), '\n', ' ');
  return testing_support::ReadFile(log).ends_with("]: " + utf8 + "\n");
}

TEST(ErrorReport, TellsAPlainTextAndLogsTheTraceAndDetailAndGoesOn) {
  testing_support::TempFolder folder;
  SetErrorLogFile(folder / "velm.log");
  for (const ReportCase& c : kReports) {
    SCOPED_TRACE(c.name);
    ScriptedPrompter prompts;
    ReportError(c.code, c.trace, c.detail, 1);
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].number, -c.code);
    EXPECT_EQ(prompts.shown[0].text, PlainErrorText(c.code));
    EXPECT_EQ(Utf8(FormatErrorReport(c.code, c.trace, c.detail)), c.expectedUtf8);
    EXPECT_TRUE(LoggedLast(folder / "velm.log", c.expectedUtf8));
  }
  SetErrorLogFile({});
}

TEST(ErrorReport, OnlyMemoryExhaustionWithoutContinueEndsTheProgram) {
  // Data never ends the program: every code but 2 returns even with the continue flag 0.
  for (int code : {102, 103, 104, 105, 106, 107}) {
    ScriptedPrompter prompts;
    ReportError(code, "Loader::Load", 1, 0);
    EXPECT_TRUE(prompts.WasShown(-code)) << code;
  }
  {
    ScriptedPrompter prompts;
    ReportError(kErrNoMemory, "Archive::LoadNames", 0, 1);  // continue flag 1: goes on
    EXPECT_TRUE(prompts.WasShown(-2));
  }
  EXPECT_EXIT(
      {
        ScriptedPrompter prompts;
        ReportError(kErrNoMemory, "Archive::LoadNames", 0, 0);
      },
      ::testing::ExitedWithCode(1), "");
}

TEST(ErrorReport, FatalErrorShowsTextAndFunctionAndReturns) {
  ScriptedPrompter prompts;
  FatalError("Case error!", "Wheel::DrawSigns");
  ASSERT_EQ(prompts.shown.size(), 1u);
  EXPECT_EQ(prompts.shown[0].number, kFatalReportNumber);
  EXPECT_EQ(prompts.shown[0].text, "Case error!\n in function Wheel::DrawSigns");
}

TEST(ErrorReport, ReportStatusTellsErrorsAndMessagesAndNothingForSuccess) {
  {
    ScriptedPrompter prompts;
    ReportStatus(Status::Ok(), "Anything");
    EXPECT_TRUE(prompts.shown.empty());
  }
  {
    // The place of the status is named when it is a file (a UTF-8 path, told in code page 1251,
    // or a name with an extension), never when it is a function or a phrase; the log has both.
    testing_support::TempFolder folder;
    SetErrorLogFile(folder / "velm.log");
    const struct {
      Status status;
      const char* shownPlace;  // UTF-8; empty: no place told
      const char* loggedUtf8;
    } cases[] = {
        {Status::Error(kErrFormat, "/home/u/Архив.arc", 9), "/home/u/Архив.arc",
         "Неправильный формат данных #9 \n in function Archive::Load (/home/u/Архив.arc) "},
        {Status::Error(kErrRead, "velm.str", 2), "velm.str",
         "Ошибка чтения файла #2 \n in function Archive::Load (velm.str) "},
        {Status::Error(kErrRead, "COORD_CONF::Load"), "",
         "Ошибка чтения файла #0 \n in function Archive::Load (COORD_CONF::Load) "},
        {Status::Error(kErrFormat, "line 5"), "",
         "Неправильный формат данных #0 \n in function Archive::Load (line 5) "},
    };
    for (const auto& c : cases) {
      ScriptedPrompter prompts;
      ReportStatus(c.status, "Archive::Load");
      ASSERT_EQ(prompts.shown.size(), 1u);
      EXPECT_EQ(prompts.shown[0].number, -c.status.ErrorCode());
      EXPECT_EQ(prompts.shown[0].text, PlainErrorText(c.status.ErrorCode(), Cp1251(c.shownPlace)));
      EXPECT_TRUE(LoggedLast(folder / "velm.log", c.loggedUtf8)) << c.loggedUtf8;
    }
    SetErrorLogFile({});
  }
  {
    ScriptedPrompter prompts;
    ReportStatus(Status::Message(kMsgReplaceFile));
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].number, kMsgReplaceFile);
    EXPECT_EQ(prompts.shown[0].text, GetMessageText(kMsgReplaceFile));
    EXPECT_EQ(Utf8(prompts.shown[0].text), "Такой файл уже существует! Перезаписать заново?");
  }
  {
    ScriptedPrompter prompts;
    ReportStatus(Status::Message(kMsgCommentFileMissing, "Velm0031.txt"));
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(Utf8(prompts.shown[0].text), "Не найден файл с комментарием у карты:\nVelm0031.txt");
  }
}

}  // namespace
