#include "foundation/messages/catalogue_source.h"

#include <cstdio>

#include "foundation/messages/messages.h"
#include "platform/core/codepage.h"

namespace {

std::string LinePrefix(int line) { return "line " + std::to_string(line) + ": "; }

std::string CodePointName(char32_t u) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "U+%04X", static_cast<unsigned>(u));
  return buffer;
}

// The message number at the start of a row, up to the tab: 1 to 9 decimal digits, nothing else.
bool ParseNumber(std::string_view digits, int& number) {
  if (digits.empty() || digits.size() > 9) return false;
  number = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return false;
    number = number * 10 + (c - '0');
  }
  return true;
}

// Decodes the escapes of a row's text and converts it to code page 1251.
bool ConvertText(std::string_view text, std::string& out, std::string& problem) {
  out.clear();
  std::size_t pos = 0;
  while (pos < text.size()) {
    const unsigned char c = static_cast<unsigned char>(text[pos]);
    if (c == '\\') {
      const char next = pos + 1 < text.size() ? text[pos + 1] : '\0';
      if (next == 'n') {
        out += '\n';
      } else if (next == 't') {
        out += '\t';
      } else if (next == '\\') {
        out += '\\';
      } else {
        problem = next == '\0' ? "a backslash ends the text (write \\\\ for a backslash)"
                               : std::string("unknown escape \\") + next;
        return false;
      }
      pos += 2;
      continue;
    }
    if (c < 0x20 || c == 0x7F) {
      problem = c == '\t' ? "a second tab in the row (write \\t for a tab in the text)"
                          : "control character " + CodePointName(c) + " in the text";
      return false;
    }
    if (c < 0x80) {
      out += static_cast<char>(c);
      ++pos;
      continue;
    }
    const std::size_t start = pos;
    const char32_t u = platform::DecodeUtf8(text, pos);
    if (u == 0xFFFD) {
      problem = "malformed UTF-8 at byte " + std::to_string(start + 1) + " of the text";
      return false;
    }
    unsigned char byte = 0;
    if (!platform::Cp1251OfUnicode(u, byte)) {
      problem = "character " + CodePointName(u) + " cannot be held by code page 1251";
      return false;
    }
    out += static_cast<char>(byte);
  }
  return true;
}

}  // namespace

bool ParseMessageCatalogue(std::string_view source, MessageCatalogueSource& out,
                           std::string& error) {
  out.texts.assign(kLastMessageNumber + 1, std::string());
  std::vector<int> lineOf(kLastMessageNumber + 1, 0);
  int previous = -1;
  int line = 0;
  std::size_t start = 0;
  while (start < source.size()) {
    std::size_t end = source.find('\n', start);
    if (end == std::string_view::npos) end = source.size();
    std::string_view row = source.substr(start, end - start);
    start = end + 1;
    ++line;
    if (!row.empty() && row.back() == '\r') row.remove_suffix(1);
    if (row.empty() || row.front() == '#') continue;

    const std::size_t tab = row.find('\t');
    if (tab == std::string_view::npos) {
      error = LinePrefix(line) + "malformed row: expected \"number<TAB>text\"";
      return false;
    }
    int number = 0;
    if (!ParseNumber(row.substr(0, tab), number)) {
      error =
          LinePrefix(line) + "malformed message number \"" + std::string(row.substr(0, tab)) + "\"";
      return false;
    }
    if (number > kLastMessageNumber) {
      error = LinePrefix(line) + "message number " + std::to_string(number) + " is outside 0.." +
              std::to_string(kLastMessageNumber);
      return false;
    }
    if (lineOf[number] != 0) {
      error = LinePrefix(line) + "duplicate message number " + std::to_string(number) +
              " (first at line " + std::to_string(lineOf[number]) + ")";
      return false;
    }
    if (number < previous) {
      error = LinePrefix(line) + "message number " + std::to_string(number) +
              " out of order (after " + std::to_string(previous) + ")";
      return false;
    }
    const std::string_view text = row.substr(tab + 1);
    if (text.empty()) {
      error = LinePrefix(line) + "empty text for message " + std::to_string(number) +
              " (leave the number out instead)";
      return false;
    }
    std::string problem;
    if (!ConvertText(text, out.texts[number], problem)) {
      error = LinePrefix(line) + "message " + std::to_string(number) + ": " + problem;
      return false;
    }
    lineOf[number] = line;
    previous = number;
  }
  return true;
}

std::string WriteMessageTableSource(const MessageCatalogueSource& catalogue) {
  std::string out =
      "// Generated from resources/messages.tsv at build time; do not edit.\n"
      "#include \"foundation/messages/message_table.h\"\n\n"
      "namespace message_table {\n\n"
      "using namespace std::string_view_literals;\n\n"
      "const std::string_view kMessageTable[kLastMessageNumber + 1] = {\n";
  for (std::size_t n = 0; n < catalogue.texts.size(); ++n) {
    const std::string& text = catalogue.texts[n];
    out += "    /* " + std::to_string(n) + " */ \"";
    for (char ch : text) {
      const unsigned char c = static_cast<unsigned char>(ch);
      if (c == '"' || c == '\\') {
        out += '\\';
        out += static_cast<char>(c);
      } else if (c == '?') {
        out += "\\?";  // never part of a trigraph-like sequence
      } else if (c >= 0x20 && c < 0x7F) {
        out += static_cast<char>(c);
      } else {
        // Three octal digits always end the escape, whatever character follows.
        char octal[5];
        std::snprintf(octal, sizeof octal, "\\%03o", static_cast<unsigned>(c));
        out += octal;
      }
    }
    out += "\"sv,\n";
  }
  out += "};\n\n}  // namespace message_table\n";
  return out;
}
