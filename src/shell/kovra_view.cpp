#include "shell/kovra_view.h"

#include <cstdio>

#include "foundation/datetime/place.h"
#include "foundation/messages/messages.h"
#include "shell/entry/chart_info_dialog.h"
#include "shell/kovra_doc.h"
#include "shell/wheel/wheel.h"

namespace {

constexpr int kMsgKindNameFirst = 100;

std::string DateTimeLine(const Source& source) {
  char text[64];
  std::snprintf(text, sizeof text, "%02d.%02d.%04d  ", source.moment.date.Day(),
                source.moment.date.Month(), source.moment.date.Year());
  std::string line = text;
  if (source.moment.date.Era() == 'B') line += GetMessageText(kMsgEraBc) + ' ';
  return line + source.moment.time.ToText() + "  " + source.zone.ToText();
}

}  // namespace

CKovraView::CKovraView(QWidget* parent) : platform::View(parent) {}

CKovraView::~CKovraView() = default;

CKovraDoc* CKovraView::GetDocument() const {
  return static_cast<CKovraDoc*>(platform::View::GetDocument());
}

void CKovraView::OnInitialUpdate() {
  SetScrollSizes(platform::MapMode::HiMetric, {21000, 29700});
  // Two charts when the document has an outer chart, else one chart with its aspects.
  wheel_ = std::make_unique<Wheel2>();
  platform::View::OnInitialUpdate();
}

std::vector<std::string> CKovraView::HeaderLines(const Chart& chart) {
  const SuperSource& definition = chart.definition;
  const Source* base = definition.GetBaseSource();
  const Source& named = base != nullptr ? *base : definition.sources[0];
  const Source& counted = definition.GetCountSrc();
  std::vector<std::string> lines;
  lines.push_back(named.Name());
  std::string title = definition.Title();
  const std::string& kindName = GetMessageText(kMsgKindNameFirst + definition.Kind());
  if (!kindName.empty() && title != kindName)
    title += title.empty() ? kindName : " (" + kindName + ')';
  lines.push_back(title);
  lines.push_back(DateTimeLine(counted));
  std::string place = counted.place.Town();
  if (!counted.place.Region().empty())
    place += (place.empty() ? "" : ", ") + counted.place.Region();
  lines.push_back(place);
  lines.push_back(counted.place.CoordText());
  return lines;
}

void CKovraView::OnDraw(platform::Dc& dc) {
  const CKovraDoc* document = GetDocument();
  if (document == nullptr || document->GetChart() == nullptr) return;
  platform::Font font;
  font.face = std::string(platform::kTextFace);
  font.pointSize = kHeaderFontSize;
  const platform::Font previousFont = dc.SelectFont(font);
  const unsigned previousAlign =
      dc.SetTextAlign(platform::TextAlign::kLeft | platform::TextAlign::kBaseline);
  int y = kHeaderTop;
  for (const std::string& line : HeaderLines(*document->GetChart())) {
    dc.TextOut(kHeaderLeft, y, line);
    y -= kHeaderLineStep;
  }
  dc.SetTextAlign(previousAlign);
  dc.SelectFont(previousFont);
  if (wheel_ != nullptr) {
    CKovraDoc* doc = GetDocument();
    wheel_->Draw(dc, *doc->GetChart(), doc->GetOuterChart(), kWheelArea);
  }
}

void CKovraView::OnLButtonDown(platform::Point point) {
  CKovraDoc* document = GetDocument();
  if (wheel_ == nullptr || document == nullptr || document->GetChart() == nullptr) return;
  const wheel::WheelHit hit = wheel_->HitTest(point);
  if (!hit.Found()) return;
  const Chart* chart = hit.chart == 1 ? document->GetOuterChart() : document->GetChart();
  if (chart == nullptr) return;
  DPlanetInfo dialog(*chart, hit.point, this);
  dialog.DoModal();
}
