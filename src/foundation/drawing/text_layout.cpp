#include "foundation/drawing/text_layout.h"

#include <algorithm>
#include <vector>

#include "foundation/text/cp1251.h"

namespace {

int Width(platform::Dc& dc, std::string_view text) { return dc.GetTextExtent(text).cx; }

// Splits one paragraph (no line feeds) into lines no wider than `width`.
void WrapParagraph(platform::Dc& dc, std::string_view para, int width,
                   std::vector<std::string>& lines) {
  std::string line;
  std::size_t pos = 0;
  if (para.empty()) {
    lines.emplace_back();
    return;
  }
  while (pos < para.size()) {
    std::size_t end = para.find(' ', pos);
    if (end == std::string_view::npos) end = para.size();
    std::string_view word = para.substr(pos, end - pos);
    const std::string candidate = line.empty() ? std::string(word) : line + " " + std::string(word);
    if (Width(dc, candidate) <= width) {
      line = candidate;
    } else {
      if (!line.empty()) lines.push_back(line);
      line.clear();
      // A word wider than the line is broken between characters; a single character wider
      // than the line stands on a line of its own.
      while (word.size() > 1 && Width(dc, word) > width) {
        std::size_t n = word.size() - 1;
        while (n > 1 && Width(dc, word.substr(0, n)) > width) --n;
        lines.emplace_back(word.substr(0, n));
        word.remove_prefix(n);
      }
      line = std::string(word);
    }
    pos = end + 1;
  }
  lines.push_back(line);
}

}  // namespace

int PrintTextPages(platform::Dc& dc, int page, std::string_view text, int left, int top, int width,
                   int height, bool draw) {
  platform::Font font = dc.GetFont();
  font.face = std::string(platform::kTextFace);
  font.escapement = 0;
  const platform::Font old = dc.SelectFont(font);

  std::string clean;
  clean.reserve(text.size());
  for (char c : text)
    if (c != '\r') clean += c;
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start <= clean.size()) {
    std::size_t nl = clean.find('\n', start);
    if (nl == std::string::npos) nl = clean.size();
    WrapParagraph(dc, std::string_view(clean).substr(start, nl - start), width, lines);
    start = nl + 1;
  }

  const int lineHeight = std::max(1, dc.GetTextMetrics().height);
  const int perPage = std::max(1, height / lineHeight);
  const int pages = std::max(1, static_cast<int>((lines.size() + perPage - 1) / perPage));
  if (draw && page >= 1 && page <= pages) {
    const int down = dc.YUp() ? -lineHeight : lineHeight;
    const std::size_t first = static_cast<std::size_t>(page - 1) * perPage;
    const std::size_t last = std::min(lines.size(), first + static_cast<std::size_t>(perPage));
    const unsigned oldAlign =
        dc.SetTextAlign(platform::TextAlign::kLeft | platform::TextAlign::kTop);
    for (std::size_t i = first; i < last; ++i)
      dc.TextOut(left, top + static_cast<int>(i - first) * down, lines[i]);
    dc.SetTextAlign(oldAlign);
  }
  dc.SelectFont(old);
  return pages;
}

std::string ShortenPathToWidth(platform::Dc& dc, std::string_view pathBytes, int width) {
  const std::string text = PathText(pathBytes);
  const std::string_view path = text;
  if (Width(dc, path) <= width) return std::string(path);
  const std::string head =
      std::string(path.substr(0, std::min<std::size_t>(3, path.size()))) + "...";
  // Tails from the longest to the shortest, each starting at a separator after the head.
  for (std::size_t pos = path.find('/', 3); pos != std::string_view::npos;
       pos = path.find('/', pos + 1)) {
    const std::string candidate = head + std::string(path.substr(pos));
    if (Width(dc, candidate) <= width) return candidate;
  }
  const std::size_t slash = path.rfind('/');
  const std::size_t nameStart = slash == std::string_view::npos ? 0 : slash + 1;
  std::string_view name = path.substr(std::min(path.size(), std::max<std::size_t>(nameStart, 3)));
  while (!name.empty() && Width(dc, head + std::string(name)) > width) name.remove_prefix(1);
  return head + std::string(name);
}

std::string FitTextToWidth(platform::Dc& dc, std::string_view text, int width) {
  if (Width(dc, text) <= width) return std::string(text);
  for (std::size_t n = text.size(); n-- > 0;) {
    const std::string candidate = std::string(text.substr(0, n)) + "...";
    if (Width(dc, candidate) <= width) return candidate;
  }
  return {};
}

std::string AngleLineName(char code, bool lowerCase) {
  const char* name = "MC";
  switch (code) {
    case 'A':
      name = "AS";
      break;
    case 'D':
      name = "DS";
      break;
    case 'I':
      name = "IC";
      break;
    default:
      break;
  }
  std::string out = name;
  if (lowerCase)
    for (char& c : out) c = static_cast<char>(c - 'A' + 'a');
  return out;
}
