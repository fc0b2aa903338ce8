// The star catalogue "Velm.est": AllStars::DecodeCatalogue in both languages, every star named.
#include "fuzz_support.h"
#include "views/core/fixed_stars.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes = fuzz::Bytes(data, size);
  for (int language : {0, 1}) {
    AllStars stars;
    stars.DecodeCatalogue(bytes, language);
    for (int i = 0; i < stars.Count(); ++i) (void)stars.FindInterpretation(stars.Star(i).number);
  }
  return 0;
}
