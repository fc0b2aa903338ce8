#include "archive/store/commit_record.h"

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <sstream>

#include "foundation/files/leftover_names.h"
#include "foundation/text/text_helpers.h"

namespace {

constexpr std::string_view kHeader = "velm-commit 3";
constexpr std::string_view kFirstHeader = "velm-commit 1";
constexpr std::string_view kSecondHeader = "velm-commit 2";
constexpr std::string_view kSuffix = ".commit";
// The last line of a sealed record: "end <16 hex digits>\n".
constexpr std::size_t kSealBytes = 21;

std::uint64_t Checksum(std::string_view bytes) { return Fnv1a(kFnv1aStart, bytes); }

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

// The fields of an item's line, tab-separated.
std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  for (std::size_t tab; (tab = line.find('\t', start)) != std::string_view::npos; start = tab + 1)
    parts.push_back(line.substr(start, tab - start));
  parts.push_back(line.substr(start));
  return parts;
}

// One item's line: "R|D\t<target>\t<temp>\t<backup>\t<created>".
bool ReadItem(std::string_view line, CommitRecordItem& item) {
  const std::vector<std::string_view> parts = Fields(line);
  if (parts.size() != 5 || (parts[0] != "R" && parts[0] != "D")) return false;
  item.rewrite = parts[0] == "R";
  return Unescape(parts[1], item.target) && Unescape(parts[2], item.temp) &&
         Unescape(parts[3], item.backup) && Unescape(parts[4], item.created);
}

// "<size>-<16 hex digits>", or empty.
bool CreatedForm(std::string_view created) {
  if (created.empty()) return true;
  const std::size_t bar = created.find('-');
  if (bar == std::string_view::npos || !AllDigits(created.substr(0, bar)) ||
      created.size() - bar - 1 != 16)
    return false;
  for (char c : created.substr(bar + 1))
    if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
  return true;
}

// The earlier versions' line: "R|D <new> <backup> <old>\t<target>\t<temp>\t<backup>" (inode
// numbers, which are not used).
bool ReadEarlierItem(std::string_view line, CommitRecordItem& item) {
  const std::vector<std::string_view> parts = Fields(line);
  if (parts.size() != 4) return false;
  std::istringstream head{std::string(parts[0])};
  std::string kind, rest;
  unsigned long long inode = 0;
  if (!(head >> kind >> inode >> inode >> inode) || (head >> rest) || (kind != "R" && kind != "D"))
    return false;
  item.rewrite = kind == "R";
  return Unescape(parts[1], item.target) && Unescape(parts[2], item.temp) &&
         Unescape(parts[3], item.backup);
}

// The earlier version's leftover names: ".NAME.XXXXXX" (six letters or digits) and
// ".NAME.old<pid>_<n>". The NAME, or empty for any other name.
std::string FirstFormatTemporaryOf(std::string_view name) {
  if (name.size() < 9 || name[0] != '.' || name[name.size() - 7] != '.') return {};
  for (std::size_t i = name.size() - 6; i < name.size(); ++i)
    if (!std::isalnum(static_cast<unsigned char>(name[i]))) return {};
  return std::string(name.substr(1, name.size() - 8));
}

std::string FirstFormatBackupOf(std::string_view name) {
  const std::size_t old = name.rfind(".old");
  if (name.empty() || name[0] != '.' || old == std::string_view::npos || old < 2) return {};
  const std::string_view tail = name.substr(old + 4);
  const std::size_t bar = tail.find('_');
  if (bar == std::string_view::npos || !AllDigits(tail.substr(0, bar)) ||
      !AllDigits(tail.substr(bar + 1)))
    return {};
  return std::string(name.substr(1, old - 1));
}

// Whether the item names only files of its own commit, all in the record's folder: its target in
// the family, its temporary file and backup of the form a commit makes for that target.
bool OwnItem(const CommitRecordItem& item, std::string_view anchor, bool firstFormat) {
  if (!Bare(item.target) || !InCommitFamily(anchor, item.target)) return false;
  if (item.rewrite != !item.temp.empty()) return false;
  if (!CreatedForm(item.created) ||
      (!item.created.empty() && (!item.rewrite || !item.backup.empty())))
    return false;
  // A leftover name of the target's: empty, or bare and of the form `kind` takes for the target.
  const auto leftoverOf = [&](const std::string& name, LeftoverKind kind,
                              std::string (*earlier)(std::string_view)) {
    if (name.empty()) return true;
    const LeftoverName parsed = ParseLeftoverName(name);
    const std::string of =
        firstFormat ? earlier(name) : (parsed.kind == kind ? parsed.of : std::string());
    return Bare(name) && of == item.target;
  };
  return leftoverOf(item.temp, LeftoverKind::kTemporary, FirstFormatTemporaryOf) &&
         leftoverOf(item.backup, LeftoverKind::kBackup, FirstFormatBackupOf);
}

std::vector<std::string_view> Lines(std::string_view body) {
  std::vector<std::string_view> lines;
  for (std::size_t start = 0; start < body.size();) {
    const std::size_t next = body.find('\n', start);
    if (next == std::string_view::npos) {
      lines.push_back(body.substr(start));
      break;
    }
    lines.push_back(body.substr(start, next - start));
    start = next + 1;
  }
  return lines;
}

// The items of `lines` (from `first` on), each checked.
template <typename Read>
CommitRecordCheck ReadItems(const std::vector<std::string_view>& lines, std::size_t first,
                            std::size_t last, std::string_view anchor, bool firstFormat, Read read,
                            CommitRecord& out) {
  if (last <= first) return CommitRecordCheck::kNotWhole;
  if (last - first > kCommitRecordItems) return CommitRecordCheck::kForeign;
  // A foreign record's items are read on, to be named in a message; none is acted on.
  std::set<std::string> targets;
  bool foreign = false;
  for (std::size_t i = first; i < last; ++i) {
    CommitRecordItem item;
    if (!read(lines[i], item)) return CommitRecordCheck::kNotWhole;
    if (!OwnItem(item, anchor, firstFormat) || !targets.insert(item.target).second) foreign = true;
    out.items.push_back(std::move(item));
  }
  return foreign ? CommitRecordCheck::kForeign : CommitRecordCheck::kWhole;
}

CommitRecordCheck ReadFirstFormat(std::string_view text, std::string_view anchor,
                                  CommitRecord& out) {
  // "velm-commit 1", "owner <pid> <start>", the items, "end".
  if (text.size() < 5 || text.substr(text.size() - 5) != "\nend\n")
    return CommitRecordCheck::kNotWhole;
  const std::vector<std::string_view> lines = Lines(text);
  if (lines.size() < 4 || !lines[1].starts_with("owner ")) return CommitRecordCheck::kNotWhole;
  out.earlierFormat = true;
  return ReadItems(lines, 2, lines.size() - 1, anchor, true, ReadEarlierItem, out);
}

// The second format: "velm-commit 2", "owner <pid> <start>", the items as the first format's
// with the leftover names of today, sealed by its checksum.
CommitRecordCheck ReadSecondFormat(std::string_view body, std::string_view anchor,
                                   CommitRecord& out) {
  const std::vector<std::string_view> lines = Lines(body);
  if (lines.size() < 3 || !lines[1].starts_with("owner ")) return CommitRecordCheck::kNotWhole;
  out.earlierFormat = true;
  return ReadItems(lines, 2, lines.size(), anchor, false, ReadEarlierItem, out);
}

}  // namespace

std::uint64_t Fnv1a(std::uint64_t hash, std::string_view bytes) {
  for (unsigned char c : bytes) {
    hash ^= c;
    hash *= 1099511628211ull;
  }
  return hash;
}

std::string SealCommitRecord(std::string_view body) {
  char sum[32];
  std::snprintf(sum, sizeof sum, "end %016llx\n", static_cast<unsigned long long>(Checksum(body)));
  return std::string(body) + sum;
}

std::string FormatCommitRecord(const CommitRecord& record) {
  std::string text =
      std::string(kHeader) + "\ndirection " + (record.back ? "back" : "forward") + "\n";
  for (const CommitRecordItem& item : record.items)
    text += std::string(item.rewrite ? "R" : "D") + "\t" + Escape(item.target) + "\t" +
            Escape(item.temp) + "\t" + Escape(item.backup) + "\t" + Escape(item.created) + "\n";
  return SealCommitRecord(text);
}

CommitRecordCheck ReadCommitRecord(std::string_view text, std::string_view anchor,
                                   CommitRecord& out) {
  out = CommitRecord{};
  if (text.size() > kCommitRecordBytes) return CommitRecordCheck::kNotWhole;
  if (!CanAnchorCommit(anchor)) return CommitRecordCheck::kForeign;
  if (text.starts_with(std::string(kFirstHeader) + "\n")) return ReadFirstFormat(text, anchor, out);
  // The last line: "end <checksum of everything before it>".
  if (text.size() <= kSealBytes || text.back() != '\n') return CommitRecordCheck::kNotWhole;
  const std::size_t last = text.rfind('\n', text.size() - 2);
  if (last == std::string_view::npos) return CommitRecordCheck::kNotWhole;
  const std::string_view body = text.substr(0, last + 1);
  if (SealCommitRecord(body) != text) return CommitRecordCheck::kNotWhole;

  if (body.starts_with(std::string(kSecondHeader) + "\n"))
    return ReadSecondFormat(body, anchor, out);
  const std::vector<std::string_view> lines = Lines(body);
  if (lines.size() < 3 || lines[0] != kHeader) return CommitRecordCheck::kNotWhole;
  if (lines[1] != "direction forward" && lines[1] != "direction back")
    return CommitRecordCheck::kNotWhole;
  out.back = lines[1] == "direction back";
  return ReadItems(lines, 2, lines.size(), anchor, false, ReadItem, out);
}

std::string CommitRecordName(std::string_view anchor) {
  return "." + std::string(anchor) + std::string(kSuffix);
}

std::string CommitRecordAnchor(std::string_view name) {
  if (name.size() < 2 + kSuffix.size() || name[0] != '.' || !FitsSystemCalls(name) ||
      name.find('/') != std::string_view::npos)
    return {};
  const std::size_t at = name.rfind(kSuffix);
  if (at == std::string_view::npos || at < 2) return {};
  const std::string_view tail = name.substr(at + kSuffix.size());
  if (!tail.empty() &&
      !(tail.substr(0, 4) == ".bad" && (tail.size() == 4 || AllDigits(tail.substr(4)))))
    return {};
  return std::string(name.substr(1, at - 1));
}

std::string CommitBackupOf(std::string_view name) {
  const LeftoverName parsed = ParseLeftoverName(name);
  if (parsed.kind == LeftoverKind::kBackup) return parsed.of;
  return FirstFormatBackupOf(name);
}

bool FitsSystemCalls(std::string_view path) {
  return !path.empty() && path.find('\0') == std::string_view::npos;
}

bool InCommitFamily(std::string_view anchor, std::string_view name) {
  if (IsArchiveName(anchor))
    return name == anchor ||
           (name.size() == anchor.size() &&
            name.substr(0, name.size() - 1) == anchor.substr(0, anchor.size() - 1) &&
            std::isdigit(static_cast<unsigned char>(name.back())));
  if (IsCommentPageName(anchor))
    return IsCommentPageName(name) && name.substr(0, 7) == anchor.substr(0, 7);
  return false;
}

bool IsArchiveName(std::string_view name) {
  return name.size() >= 4 && EqualNoCase(name.substr(name.size() - 4), ".arc");
}

bool IsArchiveFamilyName(std::string_view name) {
  if (name.size() <= 4) return false;
  const std::string_view tail = name.substr(name.size() - 4);
  return EqualNoCase(tail.substr(0, 3), ".ar") &&
         (std::tolower(static_cast<unsigned char>(tail[3])) == 'c' ||
          std::isdigit(static_cast<unsigned char>(tail[3])));
}

bool IsCommentPageName(std::string_view name) {
  return name.size() == 12 && name.substr(0, 4) == "Velm" && AllDigits(name.substr(4, 4)) &&
         name.substr(8) == ".txt";
}

bool CanAnchorCommit(std::string_view name) {
  return IsArchiveName(name) || IsCommentPageName(name);
}
