#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "foundation/files/file_dialog.h"
#include "foundation/files/file_utils.h"
#include "support/test_support.h"

namespace {

namespace fs = std::filesystem;
using testing_support::ReadFile;
using testing_support::ScriptedPrompter;
using testing_support::TempFolder;
using testing_support::WriteFile;

int FilesIn(const fs::path& folder) {
  int n = 0;
  for (const auto& e : fs::directory_iterator(folder)) (void)e, ++n;
  return n;
}

TEST(FilePattern, StarAndQuestionMarkIgnoringCase) {
  struct Row {
    const char* pattern;
    const char* name;
    bool match;
  };
  const Row rows[] = {
      {"*.asp", "velm.ASP", true},
      {"*.ASP", "Natal.asp", true},
      {"*.asp", "velm.asp.bak", false},
      {"*.arc", "arc", false},
      {"v?lm.*", "velm.cfg", true},
      {"v?lm.*", "vlm.cfg", false},
      {"*", "", true},
      {"?", "", false},
      {"a*b*c", "aXbYbZc", true},
      {"a*b*c", "aXbYbZ", false},
      {"Velm???1.txt", "Velm0031.txt", true},
      {"Velm???1.txt", "Velm0030.txt", false},
      {"**.z", ".z", true},
      {"town.dat", "Town.DAT", true},
  };
  for (const Row& r : rows)
    EXPECT_EQ(MatchFilePattern(r.pattern, r.name), r.match) << r.pattern << " / " << r.name;
}

TEST(FileExists, NamesExactlyAndPatternsInTheFolder) {
  TempFolder dir;
  WriteFile(dir / "velm.asp", "x");
  WriteFile(dir / "Velm0031.txt", "x");
  fs::create_directory(dir / "maps.dir");
  const std::string d = dir.Path().native();
  struct Row {
    std::string query;
    int found;
  };
  const Row rows[] = {
      {d + "/velm.asp", 1}, {d + "/VELM.ASP", 0},  // a plain name is exact
      {d + "/*.ASP", 1},    {d + "/*.arc", 0},      {d + "/Velm???1.txt", 1},
      {d + "/maps.*", 0},  // folders are not files
      {d + "/maps.dir", 0}, {d + "/none/*.asp", 0}, {"", 0},
  };
  for (const Row& r : rows) EXPECT_EQ(FileExists(r.query), r.found) << r.query;
}

TEST(FileHelpers, LengthAndExtension) {
  TempFolder dir;
  WriteFile(dir / "empty", "");
  WriteFile(dir / "five", "12345");
  EXPECT_EQ(GetFileLength(dir / "empty"), 0);
  EXPECT_EQ(GetFileLength(dir / "five"), 5);
  EXPECT_EQ(GetFileLength(dir / "missing"), -1);

  const std::pair<const char*, int> extensions[] = {
      {"a/b.c/d", 0}, {"a/b/d.txt", 1}, {"name", 0}, {"name.", 1}, {"velm.cfg", 1}};
  for (const auto& [path, has] : extensions) EXPECT_EQ(HasFileExtension(path), has) << path;

  EXPECT_GT(GetFreeDiskSpace(dir.Path()), 0);
  // A path not yet there measures its nearest folder's disk. Other programs write to that disk
  // meanwhile, so the two figures agree only within a margin.
  const std::int64_t folder = GetFreeDiskSpace(dir.Path());
  const std::int64_t notYet = GetFreeDiskSpace(dir / "not" / "yet" / "there.arc");
  EXPECT_LT(std::llabs(notYet - folder), std::int64_t{256} << 20) << notYet << " " << folder;
}

TEST(InsertFile2File, SplicesTheInsertBetweenTheTwoParts) {
  struct Row {
    const char* name;
    std::int64_t a, b;
    bool withInsert;
    const char* expected;
  };
  const Row rows[] = {
      {"replace_stretch", 3, 5, true, "012abc56789"},
      {"no_head", -1, 5, true, "abc56789"},
      {"no_tail", 3, -1, true, "012abc"},
      {"insert_only", -1, -1, true, "abc"},
      {"pure_insert", 3, 3, true, "012abc3456789"},
      {"whole_file_replaced", 0, 10, true, "abc"},
      {"append", 10, 10, true, "0123456789abc"},
      {"cut_without_insert", 3, 5, false, "01256789"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    TempFolder dir;
    ScriptedPrompter prompts;
    WriteFile(dir / "texts.tlt", "0123456789");
    WriteFile(dir / "__edtxt_.tmp", "abc");
    ASSERT_EQ(InsertFile2File(dir / "texts.tlt", r.a, r.b,
                              r.withInsert ? dir / "__edtxt_.tmp" : fs::path()),
              0);
    EXPECT_EQ(ReadFile(dir / "texts.tlt"), r.expected);
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_EQ(FilesIn(dir.Path()), 2);  // no temporary file left
  }
}

TEST(InsertFile2File, AFailureReportsAndLeavesTheFileIntact) {
  struct Row {
    const char* name;
    std::int64_t a, b;
    const char* insert;  // relative to the folder
    int shown;           // the error report's number
  };
  const Row rows[] = {
      {"b_before_a", 5, 3, "ins", -107},
      {"a_past_the_end", 11, -1, "ins", -107},
      {"b_below_minus_one", 0, -2, "ins", -107},
      {"insert_missing", 3, 5, "missing", -102},
      {"insert_is_a_folder", 3, 5, "folder", -102},  // no regular file: never opened
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    TempFolder dir;
    ScriptedPrompter prompts;
    WriteFile(dir / "texts.tlt", "0123456789");
    WriteFile(dir / "ins", "abc");
    fs::create_directory(dir / "folder");
    EXPECT_EQ(InsertFile2File(dir / "texts.tlt", r.a, r.b, dir / r.insert), -1);
    EXPECT_TRUE(prompts.WasShown(r.shown));
    EXPECT_EQ(ReadFile(dir / "texts.tlt"), "0123456789");
    EXPECT_EQ(FilesIn(dir.Path()), 3);
  }
  TempFolder dir;
  ScriptedPrompter prompts;
  EXPECT_EQ(InsertFile2File(dir / "missing.tlt", -1, -1, fs::path()), -1);
  EXPECT_TRUE(prompts.WasShown(-102));
  EXPECT_FALSE(fs::exists(dir / "missing.tlt"));
}

TEST(FileCopy, CopiesWholeAndKeepsTheTargetWhenTheSourceIsMissing) {
  TempFolder dir;
  ScriptedPrompter prompts;
  const std::string bytes = std::string("ab\0cd\r\n", 7) + std::string(45000, 'z');
  WriteFile(dir / "a.arc", bytes);
  WriteFile(dir / "b.arc", "old");
  EXPECT_EQ(FileCopy(dir / "a.arc", dir / "b.arc"), 0);
  EXPECT_EQ(ReadFile(dir / "b.arc"), bytes);
  EXPECT_EQ(FileCopy(dir / "a.arc", dir / "a.arc"), 0);  // onto itself: unchanged
  EXPECT_EQ(ReadFile(dir / "a.arc"), bytes);
  EXPECT_TRUE(prompts.shown.empty());

  WriteFile(dir / "b.arc", "old");
  EXPECT_EQ(FileCopy(dir / "none.arc", dir / "b.arc"), -1);
  EXPECT_TRUE(prompts.WasShown(-102));
  EXPECT_EQ(ReadFile(dir / "b.arc"), "old");
}

TEST(FileCopy, HandlesCopyFromTheCurrentPositionsAcrossChunks) {
  TempFolder dir;
  ScriptedPrompter prompts;
  std::string bytes;
  for (int i = 0; i < 50000; ++i) bytes += static_cast<char>(i * 7 % 251);
  WriteFile(dir / "src", bytes);
  std::FILE* in = std::fopen((dir / "src").c_str(), "rb");
  std::FILE* out = std::fopen((dir / "dst").c_str(), "wb");
  ASSERT_TRUE(in && out);
  std::fputs("head", out);
  std::fseek(in, 1000, SEEK_SET);
  EXPECT_EQ(FileCopyHandles(in, out, 45000), 0);
  EXPECT_EQ(FileCopyHandles(in, out, 4001), -1);  // only 4000 bytes remain
  std::fclose(in);
  std::fclose(out);
  EXPECT_TRUE(prompts.WasShown(-103));
  const std::string copied = ReadFile(dir / "dst");
  ASSERT_GE(copied.size(), 45004u);
  EXPECT_EQ(copied.substr(0, 45004), "head" + bytes.substr(1000, 45000));
}

TEST(FileRead, ReadsExactlyOrReports) {
  TempFolder dir;
  ScriptedPrompter prompts;
  std::string bytes;
  for (int i = 0; i < 70001; ++i) bytes += static_cast<char>(i % 253);
  WriteFile(dir / "velm.sab", bytes);
  std::vector<char> buffer(70001);
  std::FILE* f = std::fopen((dir / "velm.sab").c_str(), "rb");
  ASSERT_TRUE(f);
  EXPECT_EQ(FileRead(f, buffer.data(), buffer.size()), 0);
  EXPECT_EQ(std::string(buffer.begin(), buffer.end()), bytes);
  std::rewind(f);
  buffer.resize(70002);
  EXPECT_EQ(FileRead(f, buffer.data(), buffer.size()), -1);  // the file ends first
  std::fclose(f);
  EXPECT_TRUE(prompts.WasShown(-103));
}

TEST(FileLoad, AtMostSizeMinusOneBytesAndANul) {
  TempFolder dir;
  ScriptedPrompter prompts;
  WriteFile(dir / "advice.txt", "abcdefg");
  char small[5] = {'x', 'x', 'x', 'x', 'x'};
  EXPECT_EQ(FileLoad(dir / "advice.txt", small, sizeof small), 0);
  EXPECT_STREQ(small, "abcd");
  char large[20];
  EXPECT_EQ(FileLoad(dir / "advice.txt", large, sizeof large), 0);
  EXPECT_STREQ(large, "abcdefg");
  EXPECT_TRUE(prompts.shown.empty());
  EXPECT_EQ(FileLoad(dir / "missing.txt", large, sizeof large), -1);
  EXPECT_TRUE(prompts.WasShown(-102));
}

// Records the file choice it is asked for and answers with a fixed path.
class ChoiceRecorder final : public platform::Prompter {
 public:
  ChoiceRecorder() { platform::SetPrompter(this); }
  ~ChoiceRecorder() override { platform::SetPrompter(nullptr); }
  void ShowMessage(int n, std::string_view, platform::Icon) override { messages.push_back(n); }
  platform::Answer AskYesNo(int, std::string_view) override { return platform::Answer::No; }
  platform::Answer AskYesNoCancel(int, std::string_view) override {
    return platform::Answer::Cancel;
  }
  platform::Answer AskOkCancel(int, std::string_view) override { return platform::Answer::Cancel; }
  bool ChooseFile(platform::FileChoice& choice) override {
    asked = choice;
    if (answer.empty()) return false;
    choice.path = answer;
    choice.filterIndex = answerFilter;
    return true;
  }
  bool InputText(int, std::string_view, std::string&) override { return false; }

  platform::FileChoice asked;
  std::string answer;
  int answerFilter = 1;
  std::vector<int> messages;
};

TEST(FileDialog, PassesTheFiltersAndTakesTheChoice) {
  ChoiceRecorder prompter;
  prompter.answer = "/home/u/export.txt";
  prompter.answerFilter = 2;
  // The export filter list: pairs ended by NULs, patterns of export formats in brackets.
  const std::string filters("Velm 4.* archive files (*.arc)\0*.arc\0Text(*.txt)\0(*.txt)\0\0", 58);
  std::string path = "velm.arc";
  int filter = 1;
  EXPECT_EQ(FileDialogEx(path, 0, filters, 0, filter), 1);
  EXPECT_EQ(path, "/home/u/export.txt");
  EXPECT_EQ(filter, 2);
  EXPECT_FALSE(prompter.asked.open);
  EXPECT_EQ(prompter.asked.path, "velm.arc");
  ASSERT_EQ(prompter.asked.filters.size(), 2u);
  EXPECT_EQ(prompter.asked.filters[0].description, "Velm 4.* archive files (*.arc)");
  EXPECT_EQ(prompter.asked.filters[0].pattern, "*.arc");
  EXPECT_EQ(prompter.asked.filters[1].pattern, "*.txt");

  prompter.answer.clear();  // cancelled
  EXPECT_EQ(FileDialog(path, 1, filters, 1), 0);
  EXPECT_TRUE(prompter.asked.open);
  EXPECT_TRUE(prompter.asked.mustExist);
  EXPECT_EQ(path, "/home/u/export.txt");
  EXPECT_TRUE(prompter.messages.empty());
}

TEST(FileDialog, RefusesAPathTooLongForTheCallersField) {
  ChoiceRecorder prompter;
  const std::string filters("Archives\0*.arc\0", 15);
  std::string path = "keep";
  prompter.answer = "/" + std::string(258, 'a');  // 259 bytes and the NUL fit 260
  EXPECT_EQ(FileDialog(path, 1, filters, 1), 1);
  EXPECT_EQ(path, prompter.answer);
  EXPECT_TRUE(prompter.messages.empty());

  path = "keep";
  prompter.answer = "/" + std::string(259, 'a');
  EXPECT_EQ(FileDialog(path, 1, filters, 1), 0);
  EXPECT_EQ(path, "keep");
  EXPECT_EQ(prompter.messages.size(), 1u);
  prompter.answer = "/" + std::string(30, 'a');
  EXPECT_EQ(FileDialog(path, 1, filters, 1, 30), 0);  // a field of 30
}

}  // namespace
