// The index of a text base ".tli" (with its text and group files, three parts):
// TLRBASE::LoadIndex, then every title.
#include "conditions/core/tlr_base.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes = fuzz::Bytes(data, size);
  const auto parts = fuzz::Parts(bytes, 3);
  fuzz::Put("fuzz.tli", parts[0]);
  fuzz::Put("fuzz.tlt", parts[1]);
  TLRBASE base;
  base.name = (fuzz::Folder() / "fuzz").string();
  (void)base.LoadGroupsFromFile(fuzz::Put("fuzz.tlg", parts[2]));
  if (base.LoadIndex() != 0) return 0;
  for (int number : base.TextNumbers()) (void)base.GetTextName(number);
  return 0;
}
