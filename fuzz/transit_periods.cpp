// The transit periods "velm.tri": LoadTransitPeriods.
#include "forecast/core/transit_calculation.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes = fuzz::Bytes(data, size);
  TransitPeriodTable table{};
  (void)LoadTransitPeriods(fuzz::Put("velm.tri", bytes), table);
  return 0;
}
