// One chart record of version 4000 and of version 4200: Chart::Load.
#include "astro/chart/chart.h"
#include "foundation/files/binary_io.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes = fuzz::Bytes(data, size);
  for (int version : {4000, 4200}) {
    BinaryReader in(bytes);
    Chart chart;
    (void)chart.Load(in, version);
  }
  return 0;
}
