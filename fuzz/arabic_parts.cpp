// The Arabic parts "velm.arb": AllArabParts::Load.
#include "views/core/arabic_parts.h"

#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes = fuzz::Bytes(data, size);
  AllArabParts parts;
  (void)parts.Load(fuzz::Put("velm.arb", bytes));
  return 0;
}
