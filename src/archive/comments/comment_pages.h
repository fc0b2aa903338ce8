// The pages of a chart's comment as the comment view edits them: which page is current, loading
// a page from its page file and storing it back, and when the chart takes or gives up its comment
// slot. Page files hold code page 1251 text with CR LF line breaks, at most kCommentMaxLength
// bytes (the archive's comment limit, so that every page fits an archive record whole).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "archive/comments/comment_slots.h"
#include "astro/chart/chart.h"
#include "foundation/status.h"

// The text of a page file as an editor shows it: CR LF (and a lone CR) become LF; a NUL ends the
// text.
std::string PageTextFromFile(std::string_view file);
// The page file's form of an editor's text: every LF becomes CR LF.
std::string PageTextToFile(std::string_view text);
// The bytes the page file of an editor's text takes (a line break counts two).
std::size_t PageFileBytes(std::string_view text);

class CommentPages {
 public:
  explicit CommentPages(CommentSlotTable& slots, int page = 0) : slots_(slots) {
    SetCurrentPage(page);
  }

  int CurrentPage() const { return page_; }
  // Pages 0..9; another number is taken as page 0.
  void SetCurrentPage(int page);
  // True when the current page's file was written here or the page was read from a slot the
  // chart already held; false right after the chart took a fresh slot.
  bool PageSaved() const { return pageSaved_; }

  // Loads the current page into `text` (file form; empty when the page has no file). A chart
  // without a slot takes an unused one (message 503 when none is free: the chart keeps none). A
  // page file that cannot be opened or read gives error 102 or 103 and an empty text. At most
  // kCommentMaxLength bytes are read.
  Status Fill(Chart& chart, std::string& text);
  // Stores `text` (file form, cut to kCommentMaxLength) as the current page through the safe
  // rewrite. An empty text removes the page file; when the chart then has no page file left (or
  // had never saved one) it gives up its slot. A text for a chart without a slot takes an unused
  // one (message 503 when none is free). A failed write keeps the old file (error 104 or 105).
  Status Save(Chart& chart, std::string_view text);
  // The text is not to be kept: a fresh slot that never saved a page is given up.
  void Discard(Chart& chart);

  // 2 for the current page, 1 for a page with a file, else 0 (the tabs' states).
  int PageState(const Chart& chart, int page) const;

 private:
  void ReleaseSlot(Chart& chart);

  CommentSlotTable& slots_;
  int page_ = 0;
  bool pageSaved_ = false;
};
