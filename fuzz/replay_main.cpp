// Replays the seed corpus of one harness, outside libFuzzer: every harness of fuzz/ is built into
// this one program (its entry point renamed, fuzz/CMakeLists.txt), so that the main test tree
// runs each corpus once under its own sanitizers as an ordinary test.
//
//   fuzz_replay HARNESS PATH...     (a path is an input file or a folder of input files)
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz_replay_table.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv);

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> Inputs(const fs::path& path) {
  std::vector<fs::path> files;
  if (fs::is_directory(path)) {
    for (const fs::directory_entry& e : fs::directory_iterator(path))
      if (e.is_regular_file()) files.push_back(e.path());
    std::sort(files.begin(), files.end());
  } else {
    files.push_back(path);
  }
  return files;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: fuzz_replay HARNESS PATH...\n");
    return 2;
  }
  const fuzz_replay::Harness* harness = nullptr;
  for (const fuzz_replay::Harness& h : fuzz_replay::kHarnesses)
    if (std::strcmp(h.name, argv[1]) == 0) harness = &h;
  if (harness == nullptr) {
    std::fprintf(stderr, "fuzz_replay: no harness %s\n", argv[1]);
    return 2;
  }
  (void)LLVMFuzzerInitialize(&argc, &argv);
  int replayed = 0;
  for (int i = 2; i < argc; ++i) {
    for (const fs::path& file : Inputs(argv[i])) {
      std::ifstream in(file, std::ios::binary);
      const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
      if (!in.good() && !in.eof()) {
        std::fprintf(stderr, "fuzz_replay: cannot read %s\n", file.c_str());
        return 1;
      }
      (void)harness->run(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
      ++replayed;
    }
  }
  if (replayed == 0) {
    std::fprintf(stderr, "fuzz_replay: no input for %s\n", argv[1]);
    return 1;
  }
  std::printf("%s: %d inputs replayed\n", argv[1], replayed);
  return 0;
}
