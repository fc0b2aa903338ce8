// The ephemeris tables "velm.str": Ephemeris::LoadBytes, then every point the tables hold at the
// ends and the middle of their span (the other points come from the theories, which read no file).
#include "astro/ephemeris/ephemeris.h"

#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes = fuzz::Bytes(data, size);
  Ephemeris ephemeris;
  if (!ephemeris.LoadBytes(bytes, "velm.str").ok()) return 0;
  const double first = ephemeris.FirstJdTt(), last = ephemeris.LastJdTt();
  for (double day : {first, (first + last) / 2, last})
    for (int point = 0; point < 30; ++point)
      if (ephemeris.HasTable(TableIdOfPoint(point, LunarVariant::True)))
        (void)ephemeris.Position(point, JdTt{day});
  return 0;
}
