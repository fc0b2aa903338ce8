// The session file "velm.sav": ReadSessionFile and ReadSessionRecords.
#include "shell/core/session.h"

#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes = fuzz::Bytes(data, size);
  const auto path = fuzz::Put("velm.sav", bytes);
  std::vector<Chart> charts;
  (void)ReadSessionFile(path, charts);
  (void)ReadSessionRecords(path, charts);
  return 0;
}
