#include "settings/core/colour_schemes.h"

#include <charconv>
#include <cstring>

#include "foundation/errors/error_report.h"
#include "foundation/files/safe_rewrite.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/messages/show_message.h"
#include "foundation/text/collation.h"
#include "foundation/text/text_helpers.h"
#include "platform/core/prompter.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

// The blank-separated words of one line.
std::vector<std::string_view> Words(std::string_view line) {
  std::vector<std::string_view> words;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && IsBlank(line[i])) ++i;
    const std::size_t start = i;
    while (i < line.size() && !IsBlank(line[i])) ++i;
    if (i > start) words.push_back(line.substr(start, i - start));
  }
  return words;
}

bool ParseColour(std::string_view word, std::uint16_t& value) {
  unsigned number = 0;
  const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), number);
  if (ec != std::errc() || end != word.data() + word.size() || number > 0xFFFF) return false;
  value = static_cast<std::uint16_t>(number);
  return true;
}

// One line as a scheme; false for a damaged line.
bool ParseLine(std::string_view line, ColourScheme& scheme) {
  const std::vector<std::string_view> words = Words(line);
  if (words.size() != 1 + kSchemeColourCount) return false;
  for (std::size_t k = 0; k < scheme.colours.size(); ++k)
    if (!ParseColour(words[k + 1], scheme.colours[k])) return false;
  scheme.name = std::string(words[0].substr(0, kSchemeNameWidth));
  return true;
}

}  // namespace

SchemeFile ParseSchemes(std::string_view text, int limit) {
  SchemeFile file;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;
    if (Words(line).empty()) continue;
    ColourScheme scheme;
    if (!ParseLine(line, scheme)) {
      ++file.skippedLines;
      continue;
    }
    auto& into = static_cast<int>(file.schemes.size()) >= limit ? file.beyond : file.schemes;
    into.push_back(std::move(scheme));
  }
  return file;
}

std::string SerializeSchemes(const std::vector<ColourScheme>& schemes) {
  std::string text;
  for (const ColourScheme& scheme : schemes) {
    text += scheme.name;
    for (const std::uint16_t c : scheme.colours) text += ' ' + std::to_string(c);
    text += '\n';
  }
  return text;
}

Status LoadSchemeFile(const std::filesystem::path& path, int limit, SchemeFile& out,
                      std::string_view trace) {
  out = SchemeFile{};
  std::error_code ec;
  if (!std::filesystem::exists(path, ec) && !ec) return Status::Ok();
  std::string text;
  if (Status st = ReadWholeFile(path, text); !st.ok())
    return Status::Error(st.ErrorCode(), std::string(trace), st.Detail());
  out = ParseSchemes(text, limit);
  return Status::Ok();
}

Status SaveSchemeFile(const std::filesystem::path& path, const std::vector<ColourScheme>& schemes,
                      bool keepOld) {
  if (!keepOld) return RewriteFile(path, SerializeSchemes(schemes));
  std::filesystem::path kept;
  if (Status st = RewriteKeepingOld(path, SerializeSchemes(schemes), kept); !st.ok()) return st;
  if (!kept.empty()) ReportStatus(Status::Message(kMsgUnreadLinesKept, kept.string()));
  return Status::Ok();
}

std::string SchemeNameOf(std::string_view typed) {
  std::string name(typed);
  TrimRight(name);
  ReplaceChar(name, ' ', '_');
  if (name.size() > static_cast<std::size_t>(kSchemeNameWidth)) name.resize(kSchemeNameWidth);
  return name;
}

int FindScheme(const std::vector<ColourScheme>& schemes, std::string_view name,
               bool caseInsensitive) {
  for (std::size_t i = 0; i < schemes.size(); ++i) {
    const bool same = caseInsensitive ? CompareStrings(schemes[i].name, name, kSchemeNameWidth + 1,
                                                       true, Collation::kLatinFirst) == '='
                                      : schemes[i].name == name;
    if (same) return static_cast<int>(i);
  }
  return -1;
}

int FindSchemeWithColours(const std::vector<ColourScheme>& schemes, const std::uint16_t* colours) {
  for (std::size_t i = 0; i < schemes.size(); ++i)
    if (std::memcmp(schemes[i].colours.data(), colours, sizeof(schemes[i].colours)) == 0)
      return static_cast<int>(i);
  return -1;
}

Status MergeSchemeFiles(const std::filesystem::path& older, const std::filesystem::path& current,
                        const std::filesystem::path& target,
                        const std::function<bool(const std::string& name)>& askAdd) {
  constexpr const char* kTrace = "DALLCOLORS::CompareGammas";
  std::error_code ec;
  if (!std::filesystem::exists(older, ec)) return Status::Error(kErrCannotOpen, kTrace);
  constexpr int kAll = 1 << 20;
  SchemeFile old;
  if (Status st = LoadSchemeFile(older, kAll, old, kTrace); !st.ok()) return st;
  SchemeFile list;
  if (Status st = LoadSchemeFile(current, kAll, list, kTrace); !st.ok()) return st;
  if (old.skippedLines > 0 || list.skippedLines > 0) ShowMessage(kMsgDamagedSchemes);
  for (const ColourScheme& scheme : old.schemes) {
    if (FindScheme(list.schemes, scheme.name, false) >= 0) continue;
    if (!askAdd(scheme.name)) continue;
    if (static_cast<int>(list.schemes.size()) >= kSchemesMerged) {
      ShowMessage(kMsgTooManySchemes);
      break;
    }
    list.schemes.push_back(scheme);
  }
  const bool keepOld = list.skippedLines > 0 && current == target;
  if (Status st = SaveSchemeFile(target, list.schemes, keepOld); !st.ok())
    return Status::Error(st.ErrorCode() == kErrCannotOpen ? kErrCannotCreate : st.ErrorCode(),
                         kTrace, st.Detail());
  return Status::Ok();
}
