// A comment page file of an open chart ("Velm0013.txt": slot 1, page 3): CommentPages::Fill, the
// text as the editor shows it, and the check of a chart's slot.
#include "archive/comments/comment_pages.h"

#include "archive/comments/chart_comments.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Chart chart;
  chart.commentSlot = 1;
  fuzz::Put(CommentFileName(chart, 3).filename().string(), fuzz::Bytes(data, size));
  CommentSlotTable slots;
  CheckCommentFiles(chart, slots);
  CommentPages pages(slots, 3);
  std::string text;
  if (!pages.Fill(chart, text).ok()) return 0;
  (void)PageTextToFile(PageTextFromFile(text));
  return 0;
}
