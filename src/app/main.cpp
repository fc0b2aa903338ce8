// The program's entry. Until the main window exists the program chooses and prepares its data
// folder, takes the folder's lock and reports which folder it uses and which data files it holds.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "foundation/errors/error_report.h"
#include "foundation/files/data_file_names.h"
#include "foundation/files/data_folder.h"
#include "foundation/files/file_utils.h"
#include "foundation/files/settings.h"

namespace fs = std::filesystem;

namespace {

// The shipped defaults: beside the installed program, or the source tree's data/ when the program
// runs from its build folder.
std::vector<fs::path> ShippedDefaultFolders(const fs::path& executableFolder) {
  std::vector<fs::path> folders;
  if (executableFolder.empty()) return folders;
  folders.push_back((executableFolder / VELM_SHARE_FROM_BIN).lexically_normal());
  const fs::path build = fs::path(VELM_BUILD_DIR).lexically_normal();
  const fs::path inside = executableFolder.lexically_normal().lexically_relative(build);
  if (!inside.empty() && *inside.begin() != "..") folders.push_back(VELM_SOURCE_DATA_DIR);
  return folders;
}

const char* OriginText(DataFolderOrigin origin) {
  switch (origin) {
    case DataFolderOrigin::CommandLine:
      return "задана в командной строке";
    case DataFolderOrigin::Environment:
      return "задана переменной VELM_DATA_DIR";
    case DataFolderOrigin::ExecutableFolder:
      return "папка программы";
    case DataFolderOrigin::UserData:
      return "папка пользователя";
  }
  return "";
}

void PrintDataFiles(const Settings& settings) {
  int present = 0;
  for (const char* name : g_DataFileNames) {
    if (name == g_DataFileNames[kDataLock]) continue;
    const FoundFile found = FindFileIgnoringCase(settings.Folder(), name);
    if (found.match == NameMatch::Exact) {
      std::printf("  %-14s %lld\n", name, static_cast<long long>(GetFileLength(found.path)));
    } else if (found.match == NameMatch::IgnoringCase) {
      std::printf("  %-14s %lld (%s)\n", name, static_cast<long long>(GetFileLength(found.path)),
                  found.path.filename().c_str());
    } else {
      continue;
    }
    ++present;
  }
  std::printf("Файлов данных: %d из %zu\n", present, g_DataFileNames.size() - 1);
}

}  // namespace

int main(int argc, char** argv) {
  const CommandLine line = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  if (!line.error.empty()) {
    std::fprintf(stderr, "velm: %s\nusage: %s\n", line.error.c_str(), kUsage);
    return 2;
  }

  DataFolderCandidates candidates;
  candidates.commandLine = line.dataDir;
  if (const char* env = std::getenv("VELM_DATA_DIR")) candidates.environment = env;
  candidates.executableFolder = ExecutableFolder();
  candidates.userDataHome = UserDataHome(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
  candidates.shippedDefaults = ShippedDefaultFolders(candidates.executableFolder);

  const DataFolderChoice choice = ChooseDataFolder(candidates);
  GetSettings().SetFolder(choice.folder);

  // The folder is created before it is locked and seeded after: seeding writes into it.
  ReportStatus(CreateDataFolder(choice.folder), "CreateDataFolder");
  DataFolderLock lock;
  if (!LockDataFolderOrTell(lock, choice.folder)) return 1;
  std::vector<std::string> copied;
  ReportStatus(PrepareDataFolder(choice, candidates, &copied), "PrepareDataFolder");

  std::printf("Папка данных: %s (%s)\n", choice.folder.c_str(), OriginText(choice.origin));
  if (!copied.empty()) std::printf("Скопировано файлов по умолчанию: %zu\n", copied.size());
  PrintDataFiles(GetSettings());
  if (!line.file.empty()) std::printf("Файл для открытия: %s\n", line.file.c_str());
  return 0;
}
