// The glyph outlines "velm.gly": ParseGlyphSet.
#include "foundation/drawing/glyph_file.h"
#include "fuzz_support.h"
#include "platform/core/glyph_set.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes = fuzz::Bytes(data, size);
  platform::GlyphSet glyphs;
  (void)ParseGlyphSet(bytes, "velm.gly", glyphs);
  return 0;
}
