// The list of text bases "tlr.bas": TLRDATA::LoadBases.
#include "conditions/core/tlr_base.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes = fuzz::Bytes(data, size);
  fuzz::Put(TLRDATA::kListName, bytes);
  TLRDATA bases;
  (void)bases.LoadBases();
  return 0;
}
