// Tab-separated text lines as the evaluation tools and fixture files read them.
#pragma once

#include <charconv>
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
