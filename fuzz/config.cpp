// The configuration "velm.cfg": Configuration::Load.
#include "foundation/config/configuration.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes = fuzz::Bytes(data, size);
  Configuration config;
  (void)config.Load(fuzz::Put("velm.cfg", bytes));
  return 0;
}
