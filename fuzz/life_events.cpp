// The life events "velm.lev" and the test events "velm.tev": LifeEventList::Load, then the list
// written out.
#include "fuzz_support.h"
#include "rectification/core/life_event_list.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes = fuzz::Bytes(data, size);
  LifeEventList list;
  Status problem;
  if (list.Load(fuzz::Put("velm.lev", bytes), problem) < 0) return 0;
  (void)list.Serialize();
  return 0;
}
