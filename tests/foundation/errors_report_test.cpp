#include <gtest/gtest.h>

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

// The texts of the codes (docs/decisions.md) in the two layouts of a report.
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

TEST(ErrorReport, ShowsTheCodeTextTraceAndDetailAndGoesOn) {
  for (const ReportCase& c : kReports) {
    SCOPED_TRACE(c.name);
    ScriptedPrompter prompts;
    ReportError(c.code, c.trace, c.detail, 1);
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].number, -c.code);
    EXPECT_EQ(Utf8(prompts.shown[0].text), c.expectedUtf8);
  }
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
    // The file of the status (a UTF-8 path) is named after the trace, in code page 1251.
    ScriptedPrompter prompts;
    ReportStatus(Status::Error(kErrFormat, "/home/u/Архив.arc", 9), "Archive::Load");
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].number, -106);
    EXPECT_EQ(
        prompts.shown[0].text,
        Cp1251("Неправильный формат данных #9 \n in function Archive::Load (/home/u/Архив.arc) "));
  }
  {
    ScriptedPrompter prompts;
    ReportStatus(Status::Error(kErrRead, "velm.str", 2));
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].text, Cp1251("Ошибка чтения файла #2 \n in function velm.str "));
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
