// The tips of the day "advice.txt": ReadTips.
#include "fuzz_support.h"
#include "shell/core/tips.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes = fuzz::Bytes(data, size);
  (void)ReadTips(std::string(bytes));
  return 0;
}
