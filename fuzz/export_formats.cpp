// The export formats "velm.exp": AllExpFormats::Load, then a chart's line in every format read.
#include "archive/export/export_formats.h"

#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  AllExpFormats formats;
  (void)formats.Load(fuzz::Put("velm.exp", fuzz::Bytes(data, size)));
  const Chart chart;
  for (int f = 0; f < formats.Count(); ++f) {
    std::string line;
    (void)formats.Convert(f, chart, line, 0, nullptr);
  }
  return 0;
}
