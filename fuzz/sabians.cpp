// The Sabian symbols "velm.sab": ALL_SABIANS::Load.
#include "views/core/sabians.h"

#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes = fuzz::Bytes(data, size);
  ALL_SABIANS sabians;
  if (!sabians.Load(fuzz::Put("velm.sab", bytes)).ok()) return 0;
  for (int degree = 0; degree < kSabianCount; ++degree) (void)sabians.Text(degree);
  return 0;
}
