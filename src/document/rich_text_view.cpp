#include "document/rich_text_view.h"

#include <algorithm>
#include <cstdio>

#include "archive/comments/comment_pages.h"
#include "astro/chart/chart_header.h"
#include "document/chart_document.h"
#include "foundation/config/configuration.h"
#include "foundation/drawing/text_layout.h"
#include "foundation/lists/column_pages.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "platform/core/codepage.h"
#include "platform/qt/measuring_dc.h"
#include "platform/qt/qt_text.h"

namespace {

// Printed text is laid out as on a printer of this resolution (fonts measured unhinted).
constexpr double kPaperDpi = 1200.0;

bool Fits(QChar c) {
  unsigned char byte;
  return c == QChar::ParagraphSeparator || c == QChar::LineSeparator || c == u'\n' ||
         platform::Cp1251OfUnicode(c.unicode(), byte);
}

bool IsBreak(QChar c) {
  return c == QChar::ParagraphSeparator || c == QChar::LineSeparator || c == u'\n';
}

// The bytes of the stored form: one per character, two per line break.
long StoredBytes(const QString& text) {
  long bytes = 0;
  for (QChar c : text) bytes += IsBreak(c) ? 2 : 1;
  return bytes;
}

platform::Font PrintFont() {
  return platform::Font{std::string(platform::kTextFace), CRichTextCtrlView::kPrintTextSize, 0,
                        false, false};
}

}  // namespace

// --- RichTextControl ---

RichTextControl::RichTextControl(QWidget* parent) : QTextEdit(parent) {
  setAcceptRichText(false);
  setFont(QFont(QStringLiteral("DejaVu Sans"), 10));
  setLineWrapMode(QTextEdit::WidgetWidth);
  connect(document(), &QTextDocument::contentsChange, this, &RichTextControl::NoteChange);
  connect(this, &QTextEdit::textChanged, this, &RichTextControl::Enforce);
}

std::string RichTextControl::Text() const {
  QString text = toPlainText();
  text.replace(QChar::LineSeparator, u'\n');
  return platform::FromQt(text);
}

void RichTextControl::SetText(std::string_view cp1251) {
  setPlainText(platform::ToQt(cp1251));
  moveCursor(QTextCursor::Start);
}

void RichTextControl::NoteChange(int position, int, int added) {
  if (enforcing_) return;
  changeStart_ = position;
  changeEnd_ = position + added;
}

void RichTextControl::Enforce() {
  if (enforcing_) return;
  // The document ends in a paragraph mark that is not text.
  const int end = std::min(changeEnd_, document()->characterCount() - 1);
  const int start = std::min(changeStart_, end);
  if (start >= end) return;
  QTextCursor range(document());
  range.setPosition(start);
  range.setPosition(end, QTextCursor::KeepAnchor);
  const QString inserted = range.selectedText();  // line breaks as U+2029

  QString kept;
  kept.reserve(inserted.size());
  for (QChar c : inserted)
    if (Fits(c)) kept += c;
  if (limit_ > 0) {
    long room = limit_ - (StoredBytes(toPlainText()) - StoredBytes(inserted));
    qsizetype n = 0;
    for (; n < kept.size(); ++n) {
      room -= IsBreak(kept[n]) ? 2 : 1;
      if (room < 0) break;
    }
    kept.truncate(n);
  }
  if (kept.size() == inserted.size()) return;
  enforcing_ = true;
  kept.replace(QChar::ParagraphSeparator, u'\n');
  range.insertText(kept);
  enforcing_ = false;
  changeStart_ = changeEnd_ = 0;
}

// --- CRichTextCtrlView ---

CRichTextCtrlView::CRichTextCtrlView(QWidget* parent) : platform::View(parent) {
  // The control scrolls its own text; the view itself never scrolls.
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  SetScrollSizes(platform::MapMode::HiMetric, {0, 0});
}

CRichTextCtrlView::~CRichTextCtrlView() = default;

ChartDocument* CRichTextCtrlView::GetChartDocument() const {
  return dynamic_cast<ChartDocument*>(GetDocument());
}

void CRichTextCtrlView::CreateRichEdit() {
  if (control_ == nullptr) {
    control_ = new RichTextControl(viewport());
    control_->setObjectName(QStringLiteral("richEdit%1").arg(kControlId));
    // Activating the view puts the caret into the text.
    setFocusProxy(control_);
  }
  control_->SetLimit(textLimit_);
  control_->SetText(PageTextFromFile(buffer_));
  LayoutControl();
  control_->show();
  control_->setFocus();
}

void CRichTextCtrlView::LayoutControl() {
  if (control_ == nullptr) return;
  const QSize size = viewport()->size();
  const double share = std::clamp(textFraction_ - 0.01, 0.0, 1.0);
  control_->setGeometry(0, 0, size.width(), static_cast<int>(share * size.height()));
}

void CRichTextCtrlView::resizeEvent(QResizeEvent* event) {
  platform::View::resizeEvent(event);
  LayoutControl();
}

platform::Rect CRichTextCtrlView::ClientRect() const {
  const QSize size = viewport()->size();
  const platform::Point topLeft = DeviceToLogical({0, 0});
  const platform::Point bottomRight = DeviceToLogical({size.width(), size.height()});
  return {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
}

void CRichTextCtrlView::DrawHotAreas(platform::Dc& dc) {
  hotAreas_.Draw(dc, ClientRect(), textFraction_);
}

void CRichTextCtrlView::OnDraw(platform::Dc& dc) {
  // Pages are drawn by OnPrint alone.
  if (dc.IsPrinting()) return;
  DrawHotAreas(dc);
}

CRichTextCtrlView::PrintArea CRichTextCtrlView::GetPrintArea(const Configuration& config) {
  const cfg::PrintSettings& p = config.print;
  return {p.marginLeft + 300, p.marginTop + 1500, 20300 - p.marginRight - p.marginLeft,
          27700 - p.marginTop - p.marginBottom};
}

CRichTextCtrlView::PrintArea CRichTextCtrlView::GetPrintArea(platform::Dc& dc,
                                                             const Configuration& config,
                                                             const Chart* chart, int titleMessage,
                                                             std::string_view text) {
  PrintArea area = GetPrintArea(config);
  if (chart == nullptr) return area;
  const std::string title =
      lists::WidestPageTitle(GetMessageText(titleMessage), static_cast<int>(text.size()));
  const int top = -PageContentTop(PlacePrintedPageTitle(dc, *chart, config, title), -area.top);
  area.height -= top - area.top;
  area.top = top;
  return area;
}

std::string CRichTextCtrlView::PageTitle(int titleMessage, int page) {
  const std::string& title = GetMessageText(titleMessage);
  if (page <= 1) return title;
  return title + " (" + GetMessageText(kMsgPageWord) + ' ' + std::to_string(page) + ')';
}

void CRichTextCtrlView::PrintHead(platform::Dc& dc, const Chart& chart, const Configuration& config,
                                  int page, int titleMessage) {
  DrawPrintedPageHead(dc, chart, config, PageTitle(titleMessage, page));
}

int CRichTextCtrlView::CountPrintPages(std::string_view text, const Configuration& config,
                                       const Chart* chart, int titleMessage) {
  // Laid out as on paper: the fonts are measured unhinted, so a small picture at a printer's
  // resolution counts the lines exactly as the printer will place them.
  platform::MeasuringDc paper(kPaperDpi, true, platform::MapMode::HiMetric);
  platform::Dc& dc = paper.dc();
  const PrintArea area = GetPrintArea(dc, config, chart, titleMessage, text);
  dc.SelectFont(PrintFont());
  return PrintTextPages(dc, 1, text, area.left, -area.top, std::max(1, area.width),
                        std::max(1, area.height), false);
}

bool CRichTextCtrlView::OnPreparePrinting(platform::PrintInfo& info) {
  SaveText();
  info.minPage = 1;
  const ChartDocument* document = GetChartDocument();
  info.maxPage =
      CountPrintPages(buffer_, GetConfiguration(),
                      document != nullptr ? document->GetChart() : nullptr, PrintTitleMessage());
  return true;
}

void CRichTextCtrlView::OnPrint(platform::Dc& dc, int page) {
  const Configuration& config = GetConfiguration();
  const ChartDocument* document = GetChartDocument();
  // The views open on chart documents only; a result document has no chart to head the page.
  const Chart* chart = document != nullptr ? document->GetChart() : nullptr;
  if (chart != nullptr) PrintHead(dc, *chart, config, page, PrintTitleMessage());
  // The area as CountPrintPages measured it, so that the pages hold the lines it counted.
  platform::MeasuringDc paper(kPaperDpi, true, platform::MapMode::HiMetric);
  const PrintArea area = GetPrintArea(paper.dc(), config, chart, PrintTitleMessage(), buffer_);
  const platform::Font oldFont = dc.SelectFont(PrintFont());
  const platform::Color oldColour = dc.SetTextColor(platform::kBlack);
  PrintTextPages(dc, page, buffer_, area.left, -area.top, std::max(1, area.width),
                 std::max(1, area.height), true);
  dc.SetTextColor(oldColour);
  dc.SelectFont(oldFont);
}

void CRichTextCtrlView::OnDestroy() {
  if (saveOnClose_)
    SaveText();
  else
    saveOnClose_ = true;
}
