// A condition list (quefuncs.lst): CFunc::LoadFuncs, then the text of every condition.
#include "conditions/core/cfunc.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes = fuzz::Bytes(data, size);
  CFunc set;
  if (set.LoadFuncs(fuzz::Put("quefuncs.lst", bytes), CFunc::kCapacity) <= 0) return 0;
  for (int i = 0; i < set.Count(); ++i) (void)set.QueryConditionText(i, true);
  return 0;
}
