// A logic expression as typed: CFunc::SetLogic (every check), LogicNumbers and ReduceLogicText.
#include "conditions/core/cfunc.h"
#include "conditions/core/condition_logic.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes = fuzz::Bytes(data, size);
  CFunc set;
  (void)set.SetLogic(bytes);
  (void)LogicNumbers(bytes);
  int message = 0;
  (void)ReduceLogicText(std::string(bytes), message);
  return 0;
}
