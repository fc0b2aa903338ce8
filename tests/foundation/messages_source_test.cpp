// The source form of the message catalogue: what the build step accepts, how it decodes it, and
// the clear error it gives for every kind of malformed catalogue.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "foundation/messages/catalogue_source.h"
#include "foundation/messages/messages.h"

namespace {

struct GoodCase {
  const char* name;
  std::string source;
  int number;
  std::string expected;  // code page 1251 bytes
};

TEST(MessageCatalogueSource, DecodesRowsEscapesAndCodePage) {
  const std::vector<GoodCase> cases = {
      {"cyrillic", "5\t\xD0\xB0\xD0\xB1\xD0\xB2\n", 5, "\xE0\xE1\xE2"},
      {"escapes", "7\ta\\nb\\tc\\\\d\n", 7, "a\nb\tc\\d"},
      {"comments, blank and CRLF lines", "# note\r\n\r\n0\tx\r\n2161\tz\r\n", 2161, "z"},
      {"no final line break", "3\tz", 3, "z"},
      {"spaces kept at both ends", "608\t  +  \n", 608, "  +  "},
      {"letters and marks of the code page",
       "10\t\xD0\x81\xD1\x91\xE2\x84\x96 \xC2\xAB\xC2\xBB \xE2\x80\x94 \xE2\x80\x93\n", 10,
       "\xA8\xB8\xB9 \xAB\xBB \x97 \x96"},
      {"leading zeros", "0042\tq\n", 42, "q"},
      {"backslash before n kept apart", "9\t\\\\n\n", 9, "\\n"},
  };
  for (const GoodCase& c : cases) {
    MessageCatalogueSource catalogue;
    std::string error;
    ASSERT_TRUE(ParseMessageCatalogue(c.source, catalogue, error)) << c.name << ": " << error;
    ASSERT_EQ(catalogue.texts.size(), static_cast<std::size_t>(kLastMessageNumber + 1)) << c.name;
    EXPECT_EQ(catalogue.texts[c.number], c.expected) << c.name;
  }
}

TEST(MessageCatalogueSource, AbsentNumbersAreEmpty) {
  MessageCatalogueSource catalogue;
  std::string error;
  ASSERT_TRUE(ParseMessageCatalogue("# only two\n1\ta\n3\tb\n", catalogue, error)) << error;
  EXPECT_EQ(catalogue.texts[0], "");
  EXPECT_EQ(catalogue.texts[2], "");
  EXPECT_EQ(catalogue.texts[4], "");
  EXPECT_EQ(catalogue.texts[kLastMessageNumber], "");
}

struct BadCase {
  const char* name;
  std::string source;
  std::string expectedError;  // a part of the error text
};

TEST(MessageCatalogueSource, RefusesMalformedCatalogues) {
  const std::vector<BadCase> cases = {
      {"no tab", "12 text\n", "line 1: malformed row"},
      {"no number", "\tabc\n", "line 1: malformed message number"},
      {"negative number", "-1\tx\n", "line 1: malformed message number \"-1\""},
      {"plus sign", "+5\tx\n", "malformed message number"},
      {"letters in the number", "12a\tx\n", "malformed message number \"12a\""},
      {"blank before the number", " 5\tx\n", "malformed message number"},
      {"number above the last", "2162\tx\n", "line 1: message number 2162 is outside 0..2161"},
      {"far above the last", "99999\tx\n", "outside 0..2161"},
      {"duplicate", "5\ta\n5\tb\n", "line 2: duplicate message number 5 (first at line 1)"},
      {"duplicate after others", "5\ta\n6\tb\n5\tc\n", "line 3: duplicate message number 5"},
      {"out of order", "6\ta\n5\tb\n", "line 2: message number 5 out of order (after 6)"},
      {"empty text", "5\t\n", "line 1: empty text for message 5"},
      {"unknown escape", "5\ta\\xb\n", "line 1: message 5: unknown escape \\x"},
      {"backslash at the end", "5\tab\\\n", "a backslash ends the text"},
      {"second tab", "5\ta\tb\n", "a second tab in the row"},
      {"outside the code page", "5\t\xE6\x97\xA5\n",
       "character U+65E5 cannot be held by code page 1251"},
      {"euro is held, but not the yen", "5\t\xE2\x82\xAC\xC2\xA5\n", "character U+00A5"},
      {"malformed UTF-8", "5\ta\xFF\n", "malformed UTF-8"},
      {"cut UTF-8 sequence", "5\t\xD0\n", "malformed UTF-8"},
      {"control character",
       "5\ta\x01"
       "b\n",
       "control character U+0001"},
      {"line numbers count comments and blanks", "# c\n\n5\tok\n7\tbad\\q\n", "line 4: message 7"},
  };
  for (const BadCase& c : cases) {
    MessageCatalogueSource catalogue;
    std::string error;
    EXPECT_FALSE(ParseMessageCatalogue(c.source, catalogue, error)) << c.name;
    EXPECT_NE(error.find(c.expectedError), std::string::npos)
        << c.name << ": got \"" << error << "\"";
  }
}

TEST(MessageCatalogueSource, TableSourceEscapesEveryAwkwardByte) {
  MessageCatalogueSource catalogue;
  catalogue.texts.assign(kLastMessageNumber + 1, std::string());
  catalogue.texts[1] = "\"?\\";
  catalogue.texts[2] =
      "\xC0"
      "1";  // an octal escape must not swallow the digit after it
  catalogue.texts[3] = "a\nb";
  catalogue.texts[kLastMessageNumber] = "end";
  const std::string table = WriteMessageTableSource(catalogue);

  const std::vector<std::string> expectedLines = {
      "/* 0 */ \"\"sv,",        "/* 1 */ \"\\\"\\?\\\\\"sv,", "/* 2 */ \"\\3001\"sv,",
      "/* 3 */ \"a\\012b\"sv,", "/* 2161 */ \"end\"sv,",
  };
  for (const std::string& line : expectedLines) {
    EXPECT_NE(table.find(line), std::string::npos) << line;
  }
  std::size_t entries = 0;
  for (std::size_t pos = table.find("sv,\n"); pos != std::string::npos;
       pos = table.find("sv,\n", pos + 1)) {
    ++entries;
  }
  EXPECT_EQ(entries, static_cast<std::size_t>(kLastMessageNumber + 1));
  // The generated file holds only ASCII: the code page bytes are all escaped.
  const auto nonAscii = std::find_if(
      table.begin(), table.end(), [](char ch) { return static_cast<unsigned char>(ch) >= 0x80; });
  EXPECT_EQ(nonAscii, table.end()) << "at offset " << (nonAscii - table.begin());
}

}  // namespace
