// The rich-text view base: one editable text in a rich-text control over the upper part of the
// view, a strip of hot areas (tabs and buttons drawn by the view) under it, and printing of the
// text in pages under the common page head. Derived views say what text is shown, how it is
// stored (SaveText) and which hot areas exist; the comment view and the interpretation-text view
// are built on it.
//
// The control keeps its text across resizes, scrolls with its own scroll bar, and holds at most
// the view's text limit in bytes of the stored form (code page 1251, a line break two bytes).
#pragma once

#include <QTextEdit>
#include <string>
#include <string_view>

#include "foundation/drawing/hot_areas.h"
#include "platform/qt/view.h"

class Chart;
class ChartDocument;
class Configuration;

// The rich-text control: plain text only (pasted formatting is dropped), characters that code
// page 1251 cannot hold are refused, and an insertion beyond the limit is cut.
class RichTextControl : public QTextEdit {
  Q_OBJECT

 public:
  explicit RichTextControl(QWidget* parent = nullptr);
  // The most bytes the stored text may take; 0: no limit.
  void SetLimit(int bytes) { limit_ = bytes; }
  int Limit() const { return limit_; }
  // The text in code page 1251, line breaks as LF.
  std::string Text() const;
  void SetText(std::string_view cp1251);

 private:
  void NoteChange(int position, int removed, int added);
  void Enforce();

  int limit_ = 0;
  int changeStart_ = 0;
  int changeEnd_ = 0;
  bool enforcing_ = false;
};

class CRichTextCtrlView : public platform::View {
  Q_OBJECT

 public:
  static constexpr int kControlId = 1000;
  // The printed text: "Vudurez" at 2500 tenths of a point (an em of 3.3 mm).
  static constexpr int kPrintTextSize = 2500;

  explicit CRichTextCtrlView(QWidget* parent = nullptr);
  ~CRichTextCtrlView() override;

  ChartDocument* GetChartDocument() const;
  RichTextControl* Control() const { return control_; }

  // Stores the text; the base stores nothing. 0 when the text was stored.
  virtual int SaveText() { return 0; }
  // The message that titles the printed pages.
  virtual int PrintTitleMessage() const = 0;
  // Page `page` of the text under the page head titled with PrintTitleMessage.
  void OnPrint(platform::Dc& dc, int page) override;

  // Creates the control over the top (fraction - 0.01) of the view with the text limit and the
  // text of the buffer, and gives it the focus.
  void CreateRichEdit();
  // The view's client rectangle and the strip in logical units (MM_HIMETRIC, y upward).
  platform::Rect ClientRect() const;
  platform::Rect StripRect() const { return HotAreaStrip::StripRect(ClientRect(), textFraction_); }
  int FindHotArea(platform::Point point, const platform::Rect& strip) const {
    return hotAreas_.FindHotArea(point, strip);
  }
  const HotAreaStrip& HotAreas() const { return hotAreas_; }
  void DrawHotAreas(platform::Dc& dc);

  // Left, top (downwards from the paper's top edge), width and height of the printed text, from
  // the page margins.
  struct PrintArea {
    int left, top, width, height;
  };
  static PrintArea GetPrintArea(const Configuration& config);
  // The area under the page head of `chart` (none: GetPrintArea's) titled with `titleMessage`:
  // lowered, and shortened as much, where a long header and the title under it reach further
  // down. Measured in `dc` with the widest title the pages of `text` may show.
  static PrintArea GetPrintArea(platform::Dc& dc, const Configuration& config, const Chart* chart,
                                int titleMessage, std::string_view text);
  // The title of a printed page: the title message alone on page 1, "%s (%s %d)" with message 67
  // and the page number after it.
  static std::string PageTitle(int titleMessage, int page);
  // The head of printed page `page`: frame, the chart's identification block, the ornament and
  // the page title.
  static void PrintHead(platform::Dc& dc, const Chart& chart, const Configuration& config, int page,
                        int titleMessage);
  // The pages `text` takes in the print area under the head of `chart` titled `titleMessage`.
  static int CountPrintPages(std::string_view text, const Configuration& config,
                             const Chart* chart = nullptr, int titleMessage = 0);

  void OnDraw(platform::Dc& dc) override;
  // Stores the text first, then counts its pages.
  bool OnPreparePrinting(platform::PrintInfo& info) override;

 protected:
  // The window goes: the text is stored unless the save-on-close flag was cleared (then the flag
  // is set again). Derived views call it from their destructor, while SaveText is still theirs.
  void OnDestroy();
  void resizeEvent(QResizeEvent* event) override;

  std::string buffer_;       // the text as loaded and stored (code page 1251)
  bool saveOnClose_ = true;  // false: the text is not stored when the window goes
  HotAreaStrip hotAreas_;
  double textFraction_ = 0.0;  // the share of the height above the strip
  int textLimit_ = 0;          // bytes

 private:
  void LayoutControl();

  RichTextControl* control_ = nullptr;
};
