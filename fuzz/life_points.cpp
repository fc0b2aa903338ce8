// The life-point types "velm.lpn": LifePointAll::Parse.
#include "astro/lifepoint/life_point_all.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes = fuzz::Bytes(data, size);
  LifePointAll points;
  (void)points.Parse(bytes);
  return 0;
}
