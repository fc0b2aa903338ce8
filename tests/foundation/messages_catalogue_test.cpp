// The compiled message catalogue: the texts it must hold word for word, in code page 1251, and the
// numbers and states for which it gives nothing.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/text/cp1251.h"
#include "support/test_support.h"

namespace {

struct QuotedText {
  int number;
  std::string utf8;  // escapes decoded
};

// Reads tests/fixtures/messages-quoted.tsv: "number<TAB>text" rows, '\n' and '\\' escapes.
std::vector<QuotedText> LoadQuotedTexts() {
  std::vector<QuotedText> rows;
  std::istringstream in(
      testing_support::ReadFile(testing_support::FixturePath("messages-quoted.tsv")));
  std::string line;
  while (std::getline(in, line)) {
    const std::size_t tab = line.find('\t');
    if (line.empty() || line[0] < '0' || line[0] > '9' || tab == std::string::npos) continue;
    std::string text;
    for (std::size_t i = tab + 1; i < line.size(); ++i) {
      if (line[i] == '\\' && i + 1 < line.size()) {
        const char e = line[++i];
        text += e == 'n' ? '\n' : e == 't' ? '\t' : e;
      } else {
        text += line[i];
      }
    }
    rows.push_back({std::stoi(line.substr(0, tab)), text});
  }
  return rows;
}

// Restores the interface-language flag when a test ends, however it ends.
class InterfaceFlagGuard {
 public:
  InterfaceFlagGuard() : saved_(g_bRussianInterface) {}
  ~InterfaceFlagGuard() { g_bRussianInterface = saved_; }

 private:
  int saved_;
};

TEST(MessageCatalogue, EveryQuotedTextComesOutExactly) {
  const std::vector<QuotedText> quoted = LoadQuotedTexts();
  ASSERT_GE(quoted.size(), 400u) << "the fixture of quoted texts was not read";
  std::vector<std::string> wrong;
  for (const QuotedText& q : quoted) {
    if (GetMessageText(q.number) != Cp1251(q.utf8)) {
      wrong.push_back(std::to_string(q.number) + ": expected \"" + q.utf8 + "\", got \"" +
                      Utf8(GetMessageText(q.number)) + "\"");
    }
  }
  EXPECT_TRUE(wrong.empty()) << wrong.size() << " texts differ, the first: " << wrong.front();
}

TEST(MessageCatalogue, TextsAreCodePage1251Bytes) {
  // Bytes written out by hand from the code page table.
  const std::vector<std::pair<int, std::string>> cases = {
      {29, "\xCE\xC3\xCE\xCD\xDC"},  // ОГОНЬ
      {67, "\xF1\xF2\xF0."},         // стр.
      {643, "\xE4\xEE \xED.\xFD."},  // до н.э.
      {2161, "\xEE\xE1\xF0"},        // обр
      {110, "Local Space"},
      {608, "  +  "},
      {42,
       "\xCA \xF1\xEE\xE6\xE0\xEB\xE5\xED\xE8\xFE, \xE4\xEB\xFF \xE2\xFB\xF1\xEE\xEA\xE8\xF5 "
       "\xF8\xE8\xF0\xEE\xF2 \xEF\xEB\xE0\xED\xE5\xF2\xED\xFB\xE5 \xF7\xE0\xF1\xFB,\n"
       "\xEB\xF3\xED\xED\xFB\xE9 \xE4\xE5\xED\xFC \xE8 \xE2\xEE\xF1\xF5\xEE\xE4\xFB "
       "\xEF\xEB\xE0\xED\xE5\xF2 \xED\xE5 "
       "\xF0\xE0\xF1\xF1\xF7\xE8\xF2\xFB\xE2\xE0\xFE\xF2\xF1\xFF"},
  };
  for (const auto& [number, bytes] : cases) {
    EXPECT_EQ(GetMessageText(number), bytes) << "message " << number;
  }
}

TEST(MessageCatalogue, NamedSeriesStartWhereTheirCallersAddTheIndex) {
  // Callers compute the number as base + index: the first and last member of each series.
  const std::vector<std::pair<int, const char*>> cases = {
      {300, "Солнце"},
      {309, "Плутон"},
      {329, "Посейдон"},
      {333, "Вертекс"},
      {360, "1 дом"},
      {371, "12 дом"},
      {160, "Овен"},
      {171, "Рыбы"},
      {100, "Натальный"},
      {109, "Фаза Луны"},
      {1025, "понедельник"},
      {2100, "нат"},
      {2110, "loc"},
      {2150, "втор"},
      {2160, "свои"},
      {800, "120-120-120 (Большой трин)"},
      {841, "180-108-72 (Угольник)"},
  };
  for (const auto& [number, utf8] : cases) {
    EXPECT_EQ(Utf8(GetMessageText(number)), utf8) << "message " << number;
  }
}

TEST(MessageCatalogue, EmptyOutsideTheCatalogueAndForUnusedNumbers) {
  for (int number : {-2161, -1, kLastMessageNumber + 1, 100000, 0, 2119, 2149}) {
    EXPECT_EQ(GetMessageText(number), "") << "message " << number;
  }
  EXPECT_FALSE(GetMessageText(kLastMessageNumber).empty());
}

TEST(MessageCatalogue, EveryTextIsEmptyWhileTheInterfaceFlagIsZero) {
  InterfaceFlagGuard guard;
  g_bRussianInterface = 0;
  for (int number : {8, 300, 2161}) {
    EXPECT_EQ(GetMessageText(number), "") << "message " << number;
  }
  g_bRussianInterface = 1;
  EXPECT_EQ(Utf8(GetMessageText(kMsgChartSaved)), "Гороскоп успешно сохранен.");
}

}  // namespace
