// The group file of a text base ".tlg": TLRBASE::LoadGroupsFromFile.
#include "conditions/core/tlr_base.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes = fuzz::Bytes(data, size);
  TLRBASE base;
  (void)base.LoadGroupsFromFile(fuzz::Put("fuzz.tlg", bytes));
  return 0;
}
