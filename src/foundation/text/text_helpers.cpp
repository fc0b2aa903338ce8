#include "foundation/text/text_helpers.h"

#include <algorithm>

namespace {

constexpr unsigned char kSmallYo = 0xB8;    // ё
constexpr unsigned char kCapitalYo = 0xA8;  // Ё
constexpr unsigned char kSmallA = 0xE0;     // а; а..я are 0xE0..0xFF, А..Я 0x20 lower
constexpr unsigned char kCapitalIe = 0xC5;  // Е

constexpr std::string_view kEllipsis = "...";

}  // namespace

char CharToUpper(char c) {
  const auto u = static_cast<unsigned char>(c);
  if (u >= 'a' && u <= 'z') return static_cast<char>(u - 0x20);
  if (u >= kSmallA) return static_cast<char>(u - 0x20);
  if (u == kSmallYo) return static_cast<char>(kCapitalYo);
  return c;
}

void StringToUpper(std::string& text) {
  for (char& c : text) c = CharToUpper(c);
}

char CharToSearchKey(char c) {
  const char upper = CharToUpper(c);
  return static_cast<unsigned char>(upper) == kCapitalYo ? static_cast<char>(kCapitalIe) : upper;
}

std::string SearchKey(std::string_view text) {
  std::string key(text);
  for (char& c : key) c = CharToSearchKey(c);
  return key;
}

void TrimRight(std::string& text) {
  const std::size_t last = text.find_last_not_of(' ');
  text.erase(last == std::string::npos ? 0 : last + 1);
}

std::string TrimmedRight(std::string text) {
  TrimRight(text);
  return text;
}

void TrimRightUnderscore(std::string& text) {
  TrimRight(text);
  ReplaceChar(text, ' ', '_');
}

void RemoveAllBlanks(std::string& text) { std::erase(text, ' '); }

void ReplaceChar(std::string& text, char a, char b) {
  std::replace(text.begin(), text.end(), a, b);
}

bool AllDigits(std::string_view text) {
  return !text.empty() &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string CopyBeforeChar(std::string_view text, char c) {
  return std::string(text.substr(0, text.find(c)));
}

int CopyBetweenChars(std::string_view text, char c, std::string& out) {
  out.clear();
  const std::size_t first = text.find(c);
  if (first == std::string_view::npos) return -1;
  const std::size_t second = text.find(c, first + 1);
  if (second == std::string_view::npos) return -1;
  out.assign(text.substr(first + 1, second - first - 1));
  return static_cast<int>(second);
}

std::string TruncateText(std::string_view text, int n) {
  const std::size_t keep = static_cast<std::size_t>(std::max(n, 0));
  if (text.size() <= keep) return std::string(text);
  std::string result(text.substr(0, keep));
  result += kEllipsis;
  return result;
}

std::string ShortenTextToLength(std::string_view text, int n) {
  const std::size_t limit = static_cast<std::size_t>(std::max(n, 0));
  if (text.size() <= limit) return std::string(text);
  constexpr std::size_t kHead = 3;
  const std::size_t dots = kEllipsis.size();
  if (limit < dots) return std::string(text.substr(0, limit));
  std::string result;
  if (limit < kHead + dots) {
    result.assign(text.substr(0, limit - dots));
    result += kEllipsis;
    return result;
  }
  const std::size_t tail = limit - kHead - dots;
  result.assign(text.substr(0, kHead));
  result += kEllipsis;
  result += text.substr(text.size() - tail);
  return result;
}
