// The history of logic expressions: LoadLogic.
#include "conditions/core/cfunc.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes = fuzz::Bytes(data, size);
  (void)LoadLogic(fuzz::Put("quelogic.lst", bytes));
  return 0;
}
