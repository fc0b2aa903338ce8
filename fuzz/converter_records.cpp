// The intermediate records the sibling converter writes (136 bytes each) as the foreign import
// reads them back: the first byte chooses the source's type (".db" or ".cfg"), the rest is the
// converter's output; ForeignImport::Calculate makes them a new archive with its comment files.
#include "archive/comments/comment_slots.h"
#include "archive/import/foreign_import.h"
#include "foundation/files/safe_rewrite.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const char* const source = data[0] % 2 == 0 ? "fuzz.db" : "fuzz.cfg";
  // Read back from its file, as the import reads the converter's output.
  std::string records;
  if (!ReadWholeFile(fuzz::Put("converted.tmp", fuzz::Bytes(data + 1, size - 1)), records).ok())
    return 0;
  fuzz::Remove("fuzz.arc");
  CommentSlotTable slots;
  Archive archive(slots);
  ForeignImport import(archive);
  (void)import.Calculate((fuzz::Folder() / source).string(), (fuzz::Folder() / "fuzz.arc").string(),
                         records);
  return 0;
}
