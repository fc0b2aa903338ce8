// The star texts "Velm.int": AllStars::LoadInterpretations, then the text of every number.
#include "fuzz_support.h"
#include "views/core/fixed_stars.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes = fuzz::Bytes(data, size);
  AllStars stars;
  if (!stars.LoadInterpretations(fuzz::Put("Velm.int", bytes)).ok()) return 0;
  for (int n = 0; n <= 1000; ++n) (void)stars.FindInterpretation(n);
  return 0;
}
