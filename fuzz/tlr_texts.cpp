// The text file of a text base ".tlt": the index read from its headings, then every text.
#include "conditions/core/tlr_base.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes = fuzz::Bytes(data, size);
  fuzz::Remove("fuzz.tlg");
  fuzz::Put("fuzz.tlt", bytes);
  TLRBASE base;
  base.name = (fuzz::Folder() / "fuzz").string();
  if (base.ReadText4Index() != 0) return 0;
  for (int number : base.TextNumbers()) {
    TlrText text;
    (void)base.LoadTextFrom(bytes, number, text);
  }
  return 0;
}
