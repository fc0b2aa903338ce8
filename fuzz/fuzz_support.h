// What the readers' fuzzing harnesses share: a data folder of the process's own, a prompter that
// declines every question silently, and the input cut into the files a reader takes together.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace fuzz {

// Between the files of one input (the atlas's three files, an archive and its comment files).
inline constexpr std::string_view kPartMarker = "\n~~~~part~~~~\n";

inline std::string_view Bytes(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// The data folder of this process, made before the first input (LLVMFuzzerInitialize): a new
// temporary folder, with the silent prompter installed. Removed at exit.
const std::filesystem::path& Folder();
// Writes `bytes` as the file `name` of the data folder; its path.
std::filesystem::path Put(std::string_view name, std::string_view bytes);
// Removes the file `name` of the data folder when it is there.
void Remove(std::string_view name);
// The input cut at kPartMarker into `n` parts: the last holds the rest, missing parts are empty.
std::vector<std::string_view> Parts(std::string_view bytes, std::size_t n);

}  // namespace fuzz
