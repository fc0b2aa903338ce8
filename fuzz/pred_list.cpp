// A forecast list "*.pls": PredList::Load, then the records sorted.
#include "forecast/core/pred_list_file.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes = fuzz::Bytes(data, size);
  PredList list;
  if (!list.Load(fuzz::Put("fuzz.pls", bytes)).ok()) return 0;
  list.SortByMoment();
  (void)list.Serialize();
  return 0;
}
