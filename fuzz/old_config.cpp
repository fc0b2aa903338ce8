// An older configuration "VELM.CFG": the first byte chooses the version (0..6), the rest is the
// file, repeated or cut to that version's length; Configuration::Import of every section.
// The bytes as they come are imported too, for the files of a wrong length.
#include <algorithm>

#include "foundation/config/configuration.h"
#include "foundation/config/old_configuration.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const int code = data[0] % 7;
  std::string file(fuzz::Bytes(data + 1, size - 1));
  oldcfg::SectionFlags all;
  all.fill(1);
  Configuration raw;
  (void)raw.Import(fuzz::Put("VELM.CFG", file), code, all);
  const auto length = static_cast<std::size_t>(oldcfg::LengthOfCode(code));
  if (file.empty()) file.assign(1, '\0');
  while (file.size() < length) file += file.substr(0, length - file.size());
  file.resize(length);
  Configuration config;
  (void)config.Import(fuzz::Put("VELM.CFG", file), code, all);
  return 0;
}
