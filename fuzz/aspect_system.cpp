// An aspect system ".ASP": AspectSystem::LoadSystem, then the matching of every aspect.
#include "astro/aspects/aspect_system.h"

#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes = fuzz::Bytes(data, size);
  AspectSystem system;
  if (!system.LoadSystem(fuzz::Put("fuzz.asp", bytes)).ok()) return 0;
  for (int i = 0; i < 12; ++i) (void)system.FindMajorAspect(i);
  return 0;
}
