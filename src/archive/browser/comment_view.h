// CCommentView: the comment of a chart, one of its ten pages at a time. The page tabs and the
// buttons "НЕ СОХРАНЯТЬ" and "ИЗМЕНИТЬ ИМЕНА" lie in the strip under the text; a double click on
// a tab stores the page shown and loads the chosen one. The chart takes a comment slot when the
// view opens on it without one, and gives it up when its last page is emptied or a page that was
// never stored is not to be kept.
#pragma once

#include <string>

#include "archive/comments/comment_pages.h"
#include "document/rich_text_view.h"
#include "foundation/status.h"

class CCommentView : public CRichTextCtrlView {
  Q_OBJECT

 public:
  static constexpr int kHelpContext = 131307;
  static constexpr double kTextFraction = 0.8;
  // Hot areas: pages 0..9, then the two buttons.
  static constexpr int kDontSaveArea = 10;
  static constexpr int kChangeNamesArea = 11;

  // `slots`: the application's table of comment slots.
  explicit CCommentView(CommentSlotTable& slots, QWidget* parent = nullptr);
  ~CCommentView() override;

  void OnInitialUpdate() override;
  std::string GetFrameTitle() const override;
  int HelpContext() const override { return kHelpContext; }
  int PrintTitleMessage() const override;

  // Stores the control's text as the current page: 0 when stored, -1 when the page was emptied
  // (or the store failed, which is reported).
  int SaveText() override;
  // Loads the current page into the buffer (`reload` false: the first time). False when the chart
  // could get no slot: the view has then detached from its document and closes.
  bool FillText(bool reload);
  void BuildHotAreas();

  // The double-click actions of the strip.
  void SwitchToPage(int page);
  void ChangeNames();
  void DontSave();

  int CurrentPage() const { return pages_.CurrentPage(); }
  // Stores the page unless "НЕ СОХРАНЯТЬ" was chosen (the document asks before it closes).
  void SaveIfKept();

 protected:
  void OnLButtonDblClk(platform::Point point) override;

 private:
  // Stores the page; the failure is reported and returned.
  Status StorePage();
  void Detach();

  CommentPages pages_;
  bool attached_ = false;
};
