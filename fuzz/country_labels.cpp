// The country labels of the maps "velm.lnd": AllMaps::LoadCountryNames.
#include "astrocarto/core/regional_maps.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes = fuzz::Bytes(data, size);
  AllMaps maps;
  std::vector<Status> failures;
  maps.LoadCountryNames(bytes, failures);
  return 0;
}
