#include "archive/store/commit_shared.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "foundation/messages/messages.h"
#include "platform/core/prompter.h"

namespace fs = std::filesystem;

namespace commit_detail {

std::mutex& LiveMutex() {
  static std::mutex mutex;
  return mutex;
}

std::set<std::string>& LiveIntents() {
  static std::set<std::string> intents;
  return intents;
}

std::set<std::string>& LiveTemporaries() {
  static std::set<std::string> temporaries;
  return temporaries;
}

std::mutex& RecoverMutex() {
  static std::mutex mutex;
  return mutex;
}

fs::path FolderOf(const fs::path& path) {
  fs::path folder = path.parent_path();
  return folder.empty() ? fs::path(".") : folder;
}

void FlushFolder(const fs::path& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

unsigned long long InodeOf(const fs::path& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0 ? static_cast<unsigned long long>(st.st_ino) : 0;
}

unsigned long long StartTimeOf(long pid) {
  std::FILE* f = std::fopen(("/proc/" + std::to_string(pid) + "/stat").c_str(), "rb");
  if (!f) return 0;
  char buffer[1024];
  const std::size_t n = std::fread(buffer, 1, sizeof buffer - 1, f);
  std::fclose(f);
  buffer[n] = '\0';
  const std::string text(buffer);
  const std::size_t close = text.rfind(')');
  if (close == std::string::npos) return 0;
  std::istringstream fields(text.substr(close + 1));
  std::string field;
  for (int i = 3; i <= 22 && (fields >> field); ++i)
    if (i == 22) return std::strtoull(field.c_str(), nullptr, 10);
  return 0;
}

bool ProcessAlive(long pid) {
  if (pid <= 0 || pid > 0x3fffffff) return false;
  return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

void TellOnce(int number, const std::string& detail) {
  static std::mutex mutex;
  static std::set<std::string> told;
  std::string text = GetMessageText(number);
  if (!detail.empty()) text += "\n" + detail;
  {
    const std::lock_guard lock(mutex);
    if (!told.insert(text).second) return;
  }
  platform::GetPrompter().ShowMessage(number, text, platform::Icon::Warning);
}

}  // namespace commit_detail
