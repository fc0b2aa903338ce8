// The town atlas: "Town.cor", "Town.dat" and "Town.dst" (three parts), then every town asked for.
#include "foundation/atlas/towns.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes = fuzz::Bytes(data, size);
  const auto parts = fuzz::Parts(bytes, 3);
  TOWNS towns;
  if (!towns
           .Load(fuzz::Put("Town.cor", parts[0]), fuzz::Put("Town.dat", parts[1]),
                 fuzz::Put("Town.dst", parts[2]))
           .ok())
    return 0;
  for (int i = 0; i < towns.Count(); ++i) {
    TownCoords coords;
    (void)towns.GetTownCoords(i, coords);
    (void)towns.FormatTown(i);
    (void)towns.GetTownCode(i, i % 16);
    (void)towns.GetTownZoneName(i);
  }
  (void)towns.FindTownsByPrefix(parts[2].substr(0, 3), 20);
  return 0;
}
