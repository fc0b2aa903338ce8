// The aspect-graph lists "velm.agr": CAspGraphData::Load.
#include "fuzz_support.h"
#include "views/core/asp_graph_data.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes = fuzz::Bytes(data, size);
  CAspGraphData store;
  (void)store.Load(fuzz::Put("velm.agr", bytes));
  return 0;
}
