// The colour schemes "Velm.col": LoadSchemeFile with a limit of 3 and of 100.
#include "settings/core/colour_schemes.h"

#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes = fuzz::Bytes(data, size);
  const auto path = fuzz::Put("Velm.col", bytes);
  for (int limit : {3, 100}) {
    SchemeFile schemes;
    (void)LoadSchemeFile(path, limit, schemes, "fuzz");
  }
  return 0;
}
