// The recent-archive list "velm.arn": Archive::LoadNames, then what each name's file is.
#include "archive/comments/comment_slots.h"
#include "archive/store/archive.h"
#include "foundation/files/data_file_names.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Put(g_DataFileNames[kDataRecentArchives], fuzz::Bytes(data, size));
  CommentSlotTable slots;
  Archive archive(slots);
  if (archive.Recent().LoadNames() != 0) return 0;
  for (int i = 0; i < static_cast<int>(archive.Recent().RecentNames().size()); ++i)
    (void)archive.Recent().RecentNameState(i);
  return 0;
}
