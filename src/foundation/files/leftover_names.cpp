#include "foundation/files/leftover_names.h"

#include <unistd.h>

#include <cctype>
#include <cstdlib>

#include "foundation/text/text_helpers.h"

namespace {

constexpr std::string_view kTemporaryMark = ".velm-tmp-";
constexpr std::string_view kBackupMark = ".velm-old-";

// A process number or a count: digits, few enough for a long.
bool Number(std::string_view text) { return text.size() <= 18 && AllDigits(text); }

}  // namespace

LeftoverName ParseLeftoverName(std::string_view name) {
  LeftoverName out;
  if (name.size() < 2 || name[0] != '.' || name.find('/') != std::string_view::npos ||
      name == kFolderLockName)
    return out;
  for (const auto& [mark, kind] : {std::pair{kTemporaryMark, LeftoverKind::kTemporary},
                                   std::pair{kBackupMark, LeftoverKind::kBackup}}) {
    const std::size_t at = name.rfind(mark);
    if (at == std::string_view::npos || at < 2) continue;
    // "<pid>-<six letters or digits>" or "<pid>-<count>"
    const std::string_view tail = name.substr(at + mark.size());
    const std::size_t dash = tail.find('-');
    if (dash == std::string_view::npos || !Number(tail.substr(0, dash))) continue;
    const std::string_view last = tail.substr(dash + 1);
    if (kind == LeftoverKind::kTemporary) {
      if (last.size() != 6) continue;
      bool letters = true;
      for (char c : last) letters = letters && std::isalnum(static_cast<unsigned char>(c));
      if (!letters) continue;
    } else if (!Number(last)) {
      continue;
    }
    out.kind = kind;
    out.of = std::string(name.substr(1, at - 1));
    out.pid = std::strtol(std::string(tail.substr(0, dash)).c_str(), nullptr, 10);
    return out;
  }
  return out;
}

std::string TemporaryNamePattern(const std::string& of) {
  return "." + of + std::string(kTemporaryMark) + std::to_string(::getpid()) + "-XXXXXX";
}

std::string BackupNameOf(const std::string& of, unsigned n) {
  return "." + of + std::string(kBackupMark) + std::to_string(::getpid()) + "-" + std::to_string(n);
}
