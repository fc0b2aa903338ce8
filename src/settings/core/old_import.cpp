#include "settings/core/old_import.h"

#include <algorithm>
#include <optional>
#include <system_error>

#include "archive/store/archive_layout.h"
#include "astro/aspects/aspect_system.h"
#include "astro/aspects/aspectarium.h"
#include "foundation/errors/error_report.h"
#include "foundation/files/data_file_names.h"
#include "foundation/files/file_utils.h"
#include "foundation/files/safe_rewrite.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/text/text_helpers.h"
#include "platform/core/prompter.h"
#include "settings/core/colour_schemes.h"
#include "settings/core/file_name_check.h"

namespace fs = std::filesystem;

namespace settings {

namespace {

constexpr std::size_t kCopyNameLength = 8;
constexpr int kMaxNameAttempts = 100;

platform::Prompter& Prompter() { return platform::GetPrompter(); }

void Show(int message, platform::Icon icon = platform::Icon::Information) {
  Prompter().ShowMessage(message, GetMessageText(message), icon);
}

// "<text a> <name> <text b>", the question about a file whose name is taken.
std::string NameQuestion(int before, const std::string& name, int after) {
  return GetMessageText(before) + " " + name + " " + GetMessageText(after);
}

// True when both paths name the same file or folder (links and ".." resolved).
bool SamePlace(const fs::path& a, const fs::path& b) {
  std::error_code ec;
  return fs::equivalent(a, b, ec);
}

// The files of `folder` whose names match `pattern` regardless of case, sorted by name.
std::vector<fs::path> OldFiles(const fs::path& folder, std::string_view pattern) {
  std::vector<fs::path> files;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    if (it->is_regular_file(ec) && MatchFilePattern(pattern, it->path().filename().string()))
      files.push_back(it->path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

bool ExistsIn(const fs::path& folder, std::string_view name) {
  return FindFileIgnoringCase(folder, name).match != NameMatch::Missing;
}

// A free file name "<name>.<extension>" of the data folder asked for with the name dialog; empty
// when the user cancels (the file is then skipped).
std::string AskCopyName(const ImportPlaces& places, std::string_view extension) {
  for (int attempt = 0; attempt < kMaxNameAttempts; ++attempt) {
    std::string typed;
    if (!places.askName || !places.askName(typed)) return {};
    const std::string name = CopyNameOf(typed);
    const bool isSystem = extension == "asp";
    if (!IsSafeFileName(name) || (isSystem && !IsValidSystemName(name))) {
      Show(kMsgBadFileName, platform::Icon::Warning);
      continue;
    }
    const std::string file = name + "." + std::string(extension);
    if (ExistsIn(places.programFolder, file)) {
      Show(kMsgNameExists, platform::Icon::Warning);
      continue;
    }
    return file;
  }
  return {};
}

// Copies an archive and its comment files; comment files of the target's name that the source
// does not have are removed, so they cannot be taken for its texts. On a failure whatever was
// copied is removed again (FileCopy has reported it).
bool CopyArchive(const fs::path& source, const fs::path& target) {
  std::vector<fs::path> written;
  auto undo = [&written] {
    std::error_code ec;
    for (const fs::path& file : written) fs::remove(file, ec);
    return false;
  };
  if (FileCopy(source, target) != 0) return false;
  written.push_back(target);
  for (int k = 0; k < 10; ++k) {
    const FoundFile comment = FindFileIgnoringCase(
        source.parent_path(), ArchiveCommentFileName(source.filename(), k).string());
    const fs::path copy = ArchiveCommentFileName(target, k);
    std::error_code ec;
    if (comment.match == NameMatch::Missing) {
      fs::remove(copy, ec);
      continue;
    }
    if (FileCopy(comment.path, copy) != 0) return undo();
    written.push_back(copy);
  }
  return true;
}

}  // namespace

std::string CopyNameOf(std::string_view typed) {
  std::string name(typed.substr(0, kCopyNameLength));
  TrimRight(name);
  if (const std::size_t dot = name.find('.'); dot != std::string::npos) name.resize(dot);
  return name;
}

bool ImportPage::Choose(const fs::path& chosen, const fs::path& ownConfig) {
  fileChosen = false;
  versionCode = -1;
  const std::int64_t length = GetFileLength(chosen);
  std::string bytes;
  if (length < 0 || (length == oldcfg::kLength42to51 && !ReadWholeFile(chosen, bytes).ok())) {
    ReportError(kErrCannotOpen, "DImport::OnImpFile", 0);
    return false;
  }
  const std::uint16_t version =
      bytes.size() >= 2 ? static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[0]) |
                                                     static_cast<unsigned char>(bytes[1]) << 8)
                        : 0;
  const oldcfg::Recognition r =
      oldcfg::RecogniseOldConfiguration(length, version, SamePlace(chosen, ownConfig));
  if (!r.ok()) {
    Show(r.message, platform::Icon::Warning);
    return false;
  }
  path = chosen.string();
  versionCode = r.versionCode;
  fileChosen = true;
  return true;
}

bool ImportPage::Enabled(int check) const {
  return fileChosen && oldcfg::SectionAvailable(check - oldcfg::kFirstSectionCheck, versionCode);
}

void ImportOldColourSchemes(const fs::path& oldFolder, const ImportPlaces& places) {
  const FoundFile old = FindFileIgnoringCase(oldFolder, g_DataFileNames[kDataOldColours]);
  if (old.match == NameMatch::Missing || old.match == NameMatch::Ambiguous) return;
  std::error_code ec;
  const fs::path current =
      fs::exists(places.schemesFile, ec) ? places.schemesFile : places.shippedSchemes;
  if (current.empty() || !fs::exists(current, ec)) return;
  if (Prompter().AskYesNo(kMsgAddOldSchemes, GetMessageText(kMsgAddOldSchemes)) !=
      platform::Answer::Yes)
    return;
  const Status st =
      MergeSchemeFiles(old.path, current, places.schemesFile, [](const std::string& name) {
        const std::string question =
            GetMessageText(kMsgOldSchemeMissing) + "  " + name + ".\n" + GetMessageText(kMsgAddIt);
        return Prompter().AskYesNo(kMsgOldSchemeMissing, question) == platform::Answer::Yes;
      });
  ReportStatus(st);
}

int ImportOldAspectSystems(const fs::path& oldFolder, const ImportPlaces& places) {
  const std::vector<fs::path> files = OldFiles(oldFolder, "*.asp");
  if (files.empty()) return 0;
  if (Prompter().AskYesNo(kMsgTakeOldSystems, GetMessageText(kMsgTakeOldSystems)) !=
      platform::Answer::Yes)
    return 0;
  int copied = 0;
  for (const fs::path& file : files) {
    const std::string name = file.filename().string();
    const FoundFile present = FindFileIgnoringCase(places.programFolder, name);
    fs::path target = places.programFolder / name;
    if (present.match != NameMatch::Missing) {
      const platform::Answer answer = Prompter().AskYesNoCancel(
          kMsgFileWord, NameQuestion(kMsgFileWord, name, kMsgSystemExists));
      if (answer == platform::Answer::Cancel) continue;
      if (answer == platform::Answer::Yes) {
        target = present.path;  // replaced under its present spelling
      } else {
        const std::string copyName = AskCopyName(places, "asp");
        if (copyName.empty()) continue;
        target = places.programFolder / copyName;
      }
    }
    if (FileCopy(file, target) == 0) ++copied;
  }
  Show(kMsgSystemsTaken);
  return copied;
}

int ImportOldArchives(const fs::path& oldFolder, const ImportPlaces& places) {
  const std::vector<fs::path> files = OldFiles(oldFolder, "*.arc");
  if (files.empty()) return 0;
  if (Prompter().AskYesNo(kMsgTakeOldArchives, GetMessageText(kMsgTakeOldArchives)) !=
      platform::Answer::Yes)
    return 0;
  int copied = 0;
  for (const fs::path& file : files) {
    const std::string name = file.filename().string();
    fs::path target = places.programFolder / name;
    if (ExistsIn(places.programFolder, name)) {
      if (Prompter().AskOkCancel(kMsgOldArchiveWord,
                                 NameQuestion(kMsgOldArchiveWord, name, kMsgArchiveExists)) !=
          platform::Answer::Ok)
        continue;
      const std::string copyName = AskCopyName(places, "arc");
      if (copyName.empty()) continue;
      target = places.programFolder / copyName;
    }
    if (CopyArchive(file, target)) ++copied;
  }
  Show(kMsgArchivesTaken);
  return copied;
}

bool ImportOldConfiguration(const ImportPage& page, Configuration& config, Aspectarium& systems,
                            const ImportPlaces& places) {
  std::optional<oldcfg::TipOfTheDay> tips;
  if (Status st = config.Import(page.path, page.versionCode, page.flags, &tips); !st.ok()) {
    ReportStatus(st, "Configuration::Import");
    return false;
  }
  if (tips && places.keepTips) places.keepTips(*tips);
  fs::path oldFolder = fs::path(page.path).parent_path();
  if (oldFolder.empty()) oldFolder = ".";
  if (!SamePlace(oldFolder, places.programFolder)) {
    ImportOldColourSchemes(oldFolder, places);
    if (ImportOldAspectSystems(oldFolder, places) > 0) {
      for (const Status& skipped : systems.LoadAll(places.programFolder))
        ReportStatus(skipped, "Configuration::Import");
    }
    ImportOldArchives(oldFolder, places);
  }
  systems.SetCurrentSystemName(config.GetSystemName(Configuration::kDisplaySystemSlot));
  Show(kMsgImportDone);
  return true;
}

}  // namespace settings
