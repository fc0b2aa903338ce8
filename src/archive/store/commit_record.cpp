#include "archive/store/commit_record.h"

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <sstream>

#include "foundation/files/leftover_names.h"

namespace {

constexpr std::string_view kHeader = "velm-commit 2";
constexpr std::string_view kSuffix = ".commit";

std::uint64_t Checksum(std::string_view bytes) {
  std::uint64_t h = 14695981039346656037ull;  // FNV-1a
  for (unsigned char c : bytes) {
    h ^= c;
    h *= 1099511628211ull;
  }
  return h;
}

bool Digits(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text)
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  return true;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

// A name of this folder that the record may name: no folder part, not "." or "..".
bool Bare(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  for (char c : name)
    if (c == '/' || c == '\0') return false;
  return true;
}

// Paths in the record: '%', tab and line breaks escaped.
std::string Escape(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c == '%' || c == '\t' || c == '\n' || c == '\r') {
      char hex[4];
      std::snprintf(hex, sizeof hex, "%%%02X", static_cast<unsigned char>(c));
      out += hex;
    } else {
      out += c;
    }
  }
  return out;
}

bool Unescape(std::string_view text, std::string& out) {
  out.clear();
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      out += text[i];
      continue;
    }
    if (i + 2 >= text.size() || !std::isxdigit(static_cast<unsigned char>(text[i + 1])) ||
        !std::isxdigit(static_cast<unsigned char>(text[i + 2])))
      return false;
    out += static_cast<char>(std::strtol(std::string(text.substr(i + 1, 2)).c_str(), nullptr, 16));
    i += 2;
  }
  return true;
}

// One item's line: "R|D <new> <backup> <old>\t<target>\t<temp>\t<backup>".
bool ReadItem(std::string_view line, CommitRecordItem& item) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  for (std::size_t tab; (tab = line.find('\t', start)) != std::string_view::npos; start = tab + 1)
    parts.push_back(line.substr(start, tab - start));
  parts.push_back(line.substr(start));
  if (parts.size() != 4) return false;
  std::istringstream head{std::string(parts[0])};
  std::string kind, rest;
  if (!(head >> kind >> item.newInode >> item.backupInode >> item.oldInode) || (head >> rest) ||
      (kind != "R" && kind != "D"))
    return false;
  item.rewrite = kind == "R";
  return Unescape(parts[1], item.target) && Unescape(parts[2], item.temp) &&
         Unescape(parts[3], item.backup);
}

// Whether the item names only files of its own commit: its target in the family, its temporary
// file and backup of the form a commit makes (the file they belong to is the target or, for a
// target that is a link, the file it leads to: checked where the record is acted on).
bool OwnItem(const CommitRecordItem& item, std::string_view anchor) {
  if (!Bare(item.target) || !InCommitFamily(anchor, item.target)) return false;
  const LeftoverName temp = ParseLeftoverName(item.temp);
  const LeftoverName backup = ParseLeftoverName(item.backup);
  if (item.rewrite) {
    if (!Bare(item.temp) || temp.kind != LeftoverKind::kTemporary) return false;
    if (!item.backup.empty() && (backup.kind != LeftoverKind::kBackup || backup.of != temp.of))
      return false;
  } else {
    if (!item.temp.empty()) return false;
    if (!item.backup.empty() && (backup.kind != LeftoverKind::kBackup || backup.of != item.target))
      return false;
  }
  return item.backup.empty() || Bare(item.backup);
}

}  // namespace

std::string FormatCommitRecord(const CommitRecord& record) {
  std::string text = std::string(kHeader) + "\nowner " + std::to_string(record.pid) + " " +
                     std::to_string(record.started) + "\n";
  for (const CommitRecordItem& item : record.items) {
    text += (item.rewrite ? "R " : "D ") + std::to_string(item.newInode) + " " +
            std::to_string(item.backupInode) + " " + std::to_string(item.oldInode) + "\t" +
            Escape(item.target) + "\t" + Escape(item.temp) + "\t" + Escape(item.backup) + "\n";
  }
  char sum[32];
  std::snprintf(sum, sizeof sum, "end %016llx\n", static_cast<unsigned long long>(Checksum(text)));
  return text + sum;
}

CommitRecordCheck ReadCommitRecord(std::string_view text, std::string_view anchor,
                                   CommitRecord& out) {
  out = CommitRecord{};
  if (text.size() > kCommitRecordBytes) return CommitRecordCheck::kNotWhole;
  // The last line: "end <checksum of everything before it>".
  if (text.size() < 22 || text.back() != '\n') return CommitRecordCheck::kNotWhole;
  const std::size_t last = text.rfind('\n', text.size() - 2);
  if (last == std::string_view::npos) return CommitRecordCheck::kNotWhole;
  const std::string_view body = text.substr(0, last + 1);
  const std::string_view end = text.substr(last + 1, text.size() - last - 2);
  char expected[32];
  std::snprintf(expected, sizeof expected, "end %016llx",
                static_cast<unsigned long long>(Checksum(body)));
  if (end != expected) return CommitRecordCheck::kNotWhole;

  std::vector<std::string_view> lines;
  for (std::size_t start = 0; start < body.size();) {
    const std::size_t next = body.find('\n', start);
    lines.push_back(body.substr(start, next - start));
    start = next + 1;
  }
  if (lines.size() < 3 || lines[0] != kHeader) return CommitRecordCheck::kNotWhole;
  {
    std::istringstream owner{std::string(lines[1])};
    std::string word, rest;
    if (!(owner >> word >> out.pid >> out.started) || word != "owner" || (owner >> rest))
      return CommitRecordCheck::kNotWhole;
  }
  if (lines.size() - 2 > kCommitRecordItems) return CommitRecordCheck::kForeign;
  std::set<std::string> targets;
  for (std::size_t i = 2; i < lines.size(); ++i) {
    CommitRecordItem item;
    if (!ReadItem(lines[i], item)) return CommitRecordCheck::kNotWhole;
    if (!OwnItem(item, anchor) || !targets.insert(item.target).second)
      return CommitRecordCheck::kForeign;
    out.items.push_back(std::move(item));
  }
  return CommitRecordCheck::kWhole;
}

std::string CommitRecordName(std::string_view anchor) {
  return "." + std::string(anchor) + std::string(kSuffix);
}

std::string CommitRecordAnchor(std::string_view name) {
  if (name.size() < 2 + kSuffix.size() || name[0] != '.') return {};
  const std::size_t at = name.rfind(kSuffix);
  if (at == std::string_view::npos || at < 2) return {};
  const std::string_view tail = name.substr(at + kSuffix.size());
  if (!tail.empty() &&
      !(tail.substr(0, 4) == ".bad" && (tail.size() == 4 || Digits(tail.substr(4)))))
    return {};
  return std::string(name.substr(1, at - 1));
}

bool InCommitFamily(std::string_view anchor, std::string_view name) {
  if (name == anchor) return true;
  if (anchor.size() >= 4 && EqualNoCase(anchor.substr(anchor.size() - 4), ".arc"))
    return name.size() == anchor.size() &&
           name.substr(0, name.size() - 1) == anchor.substr(0, anchor.size() - 1) &&
           std::isdigit(static_cast<unsigned char>(name.back()));
  if (IsCommentPageName(anchor))
    return IsCommentPageName(name) && name.substr(0, 7) == anchor.substr(0, 7);
  return false;
}

bool IsCommentPageName(std::string_view name) {
  return name.size() == 12 && name.substr(0, 4) == "Velm" && Digits(name.substr(4, 4)) &&
         name.substr(8) == ".txt";
}
