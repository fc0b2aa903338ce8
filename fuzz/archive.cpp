// An archive of any of the three layouts with its ten comment files (two parts: the archive, and
// the text every comment file holds): the index built, then every record read with its pages.
#include "archive/store/archive.h"

#include "archive/comments/comment_slots.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto parts = fuzz::Parts(fuzz::Bytes(data, size), 2);
  const auto path = fuzz::Put("fuzz.arc", parts[0]);
  for (int k = 0; k < kCommentPages; ++k)
    fuzz::Put(ArchiveCommentFileName(path, k).filename().string(), parts[1]);
  CommentSlotTable slots;
  Archive archive(slots);
  if (archive.SetPath(path.string()) < 0 || archive.CreateIndex() != 0) return 0;
  for (int n = 0; n < archive.RecordCount(); ++n) {
    Chart chart;
    (void)archive.LoadChart(chart, n, true);
    std::string text;
    for (int k = 0; k < kCommentPages; ++k) (void)archive.Comments().LoadComment(n, k, text);
  }
  return 0;
}
