// One regional map ".mf1", ".mf2", ".mf3" (three parts): ACMap::Load, then its points converted.
#include "astrocarto/core/regional_maps.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes = fuzz::Bytes(data, size);
  const auto parts = fuzz::Parts(bytes, 3);
  const char* const extensions[] = {".mf1", ".mf2", ".mf3"};
  for (int k = 0; k < 3; ++k)
    fuzz::Put(std::string("Fuzz") + extensions[k], parts[static_cast<std::size_t>(k)]);
  ACMap map("Fuzz", 10, 10);
  if (!map.Load([](const std::string& name) { return fuzz::Folder() / name; }).ok()) return 0;
  map.ConvertCoordinates();
  return 0;
}
