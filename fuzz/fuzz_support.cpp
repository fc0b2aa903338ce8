#include "fuzz_support.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <system_error>

#include "foundation/files/settings.h"
#include "platform/core/prompter.h"

namespace fuzz {
namespace {

namespace fs = std::filesystem;

// The harnesses look for crashes, not for messages.
platform::SilentPrompter g_silent;
fs::path g_folder;

void RemoveFolder() {
  std::error_code ec;
  fs::remove_all(g_folder, ec);
}

}  // namespace

const fs::path& Folder() {
  if (g_folder.empty()) {
    std::string pattern = (fs::temp_directory_path() / "velm-fuzz-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    g_folder = pattern;
    GetSettings().SetFolder(g_folder);
    platform::SetPrompter(&g_silent);
    std::atexit(RemoveFolder);
  }
  return g_folder;
}

fs::path Put(std::string_view name, std::string_view bytes) {
  const fs::path path = Folder() / name;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return path;
}

void Remove(std::string_view name) {
  std::error_code ec;
  fs::remove(Folder() / name, ec);
}

std::vector<std::string_view> Parts(std::string_view bytes, std::size_t n) {
  std::vector<std::string_view> parts;
  while (parts.size() + 1 < n) {
    const std::size_t at = bytes.find(kPartMarker);
    if (at == std::string_view::npos) break;
    parts.push_back(bytes.substr(0, at));
    bytes.remove_prefix(at + kPartMarker.size());
  }
  parts.push_back(bytes);
  parts.resize(n);
  return parts;
}

}  // namespace fuzz

// Called by libFuzzer before the first input: every harness runs with the silent prompter and its
// data folder, whether or not it writes a file.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  (void)fuzz::Folder();
  return 0;
}
