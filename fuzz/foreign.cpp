// The six foreign chart files: the first byte chooses the format (".cat", ".bda", ".zbs", ".ddd",
// ".mil", ".dat"), the rest is the file; ForeignImport::ConvertToArchive makes it a new archive.
#include "archive/comments/comment_slots.h"
#include "archive/import/foreign_import.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  static constexpr struct {
    const char* name;
    int type;
  } kFormats[] = {{"fuzz.cat", kFileCat}, {"fuzz.bda", kFileBda}, {"fuzz.zbs", kFileZbs},
                  {"fuzz.ddd", kFileDdd}, {"fuzz.mil", kFileMil}, {"fuzz.dat", kFileDat}};
  const auto& format = kFormats[data[0] % 6];
  const auto source = fuzz::Put(format.name, fuzz::Bytes(data + 1, size - 1));
  fuzz::Remove("fuzz.arc");
  CommentSlotTable slots;
  Archive archive(slots);
  ForeignImport import(archive);
  std::string made;
  (void)import.ConvertToArchive(source.string(), made, format.type);
  return 0;
}
