// Tab-separated text lines as the evaluation tools and fixture files read them.
#pragma once

#include <charconv>
#include <istream>
#include <ostream>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

// The fields of `line` between tabs; an empty line is one empty field.
inline std::vector<std::string_view> SplitTabs(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t start = 0;
  for (;;) {
    const std::size_t tab = line.find('\t', start);
    fields.push_back(line.substr(start, tab == std::string_view::npos ? tab : tab - start));
    if (tab == std::string_view::npos) return fields;
    start = tab + 1;
  }
}

// A whole field as a number: blanks around it and a carriage return after it are passed over,
// a leading '+' is allowed; anything else in the field refuses it.
template <typename T>
bool ParseField(std::string_view text, T& value) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\r')) text.remove_suffix(1);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return !text.empty() && error == std::errc() && end == text.data() + text.size();
}

// Reads the rows of a tab-separated input: every line of `in`, a carriage return at its end
// dropped; blank lines and lines starting with '#' are passed over. `row(line)` returns an empty
// text when it used the line, else why it could not: that goes to `errors` as "line N: why"
// (N counting every line from 1) and the line is skipped. Returns 0, or 1 when a line was refused.
template <typename Row>
int ForEachTabRow(std::istream& in, std::ostream& errors, Row row) {
  std::string line;
  long lineNumber = 0;
  int status = 0;
  while (std::getline(in, line)) {
    ++lineNumber;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line.front() == '#') continue;
    if (const std::string why = row(line); !why.empty()) {
      errors << "line " << lineNumber << ": " << why << '\n';
      status = 1;
    }
  }
  return status;
}
