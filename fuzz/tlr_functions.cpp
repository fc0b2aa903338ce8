// The function file of a text base ".tlf" (with its text file, two parts): the function offsets,
// then every function.
#include "conditions/core/tlr_base.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes = fuzz::Bytes(data, size);
  const auto parts = fuzz::Parts(bytes, 2);
  fuzz::Remove("fuzz.tlg");
  fuzz::Put("fuzz.tlf", parts[0]);
  fuzz::Put("fuzz.tlt", parts[1]);
  TLRBASE base;
  base.name = (fuzz::Folder() / "fuzz").string();
  if (base.ReadText4Index() != 0 || base.ReadFuncs4Index() != 0) return 0;
  for (int number : base.TextNumbers()) {
    CFunc set;
    (void)base.ReadFunction(number, set);
  }
  return 0;
}
