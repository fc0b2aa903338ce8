#include "views/ui/stars_views.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMdiArea>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

#include "astro/chart/chart.h"
#include "astro/chart/chart_header.h"
#include "astro/chart/published_settings.h"
#include "document/chart_document.h"
#include "document/workbench.h"
#include "foundation/config/configuration.h"
#include "foundation/drawing/page_frame.h"
#include "foundation/errors/error_report.h"
#include "foundation/files/data_file_names.h"
#include "foundation/files/settings.h"
#include "foundation/lists/column_pages.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/messages/show_message.h"
#include "platform/core/prompter.h"
#include "platform/qt/child_frame.h"
#include "platform/qt/dialog_controls.h"
#include "platform/qt/doc_template.h"
#include "platform/qt/measuring_dc.h"
#include "views/ui/view_kinds.h"

namespace {

// The screen list: rows from x = 50 under the title line.
constexpr int kScreenLeft = 50;
constexpr int kTitleSize = 3000;
// The printed rows: x = left margin + 150, the first 25 mm below the top margin.
constexpr int kPrintLeft = 150, kPrintTop = 2500;
// The text view's frame: its top at this share of the window area's height.
constexpr double kTextViewTop = 0.85;
// Rows a fifth of their height apart.
constexpr double kRowSpacing = 1.2;

std::string Title(const ChartDocument* document, int message) {
  return (document != nullptr ? document->GetTitle() : std::string()) + GetMessageText(message);
}

}  // namespace

// --- The catalogue ---

AllStars& FixedStars() {
  static AllStars stars;
  return stars;
}

void LoadStarsAtStart(Workbench&) {
  // Files the program reads but never writes: the data folder's copy, else the shipped one.
  const Settings& settings = GetSettings();
  const Status st = FixedStars().LoadStars(
      settings.FindProgramFile(g_DataFileNames[kDataFixedStars]),
      settings.FindProgramFile(g_DataFileNames[kDataStarTexts]), g_bRussianInterface);
  if (!st.ok()) ReportStatus(st, "AllStars::LoadStars");
}

void FreeStarsAtExit(Workbench&) { FixedStars().Free(); }

// --- CStarFilter ---

CStarFilter::CStarFilter(const StarAspectChoice& choice, QWidget* parent)
    : platform::Dialog(parent), choice_(choice) {
  setWindowTitle(QStringLiteral("ПАРАМЕТРЫ РАСЧЕТА АСПЕКТОВ  К  ЗВЕЗДАМ"));
  auto* layout = new QGridLayout(this);
  auto* left = new QVBoxLayout;
  kind_ = platform::AddChoiceBox(this, left, "Аспекты", {"ЭКЛИПТИЧЕСКИЕ", "МУНДАННЫЕ"});
  QBoxLayout* aspectBox = nullptr;
  left->addWidget(platform::Box(this, "Учитывать", aspectBox));
  const std::array<const char*, 5> aspectNames{"СОЕДИНЕНИЕ", "ОППОЗИЦИЯ", "КВАДРАТ", "ТРИН",
                                               "СЕКСТИЛЬ"};
  for (std::size_t i = 0; i < aspects_.size(); ++i) {
    aspects_[i] = new QCheckBox(QString::fromUtf8(aspectNames[i]), this);
    aspectBox->addWidget(aspects_[i]);
  }
  layout->addLayout(left, 0, 0);
  QBoxLayout* orbBox = nullptr;
  auto* orbs = platform::Box(this, "Орбис (в минутах)", orbBox);
  auto* grid = new QGridLayout;
  const std::array<const char*, 5> classes{"1 и ярче", "2", "3", "4 и слабее", "переменная"};
  for (std::size_t i = 0; i < orbs_.size(); ++i) {
    grid->addWidget(new QLabel(QString::fromUtf8(classes[i]), this), static_cast<int>(i), 0);
    orbs_[i] = platform::NumberBox(this, 0, kMaxOrb);
    grid->addWidget(orbs_[i], static_cast<int>(i), 1);
  }
  orbBox->addLayout(grid);
  layout->addWidget(orbs, 0, 1);
  showBefore_ = new QCheckBox(QStringLiteral("Вызывать перед расчетом"), this);
  layout->addWidget(showBefore_, 1, 0, 1, 2);
  layout->addWidget(platform::DialogButtons(this, "OK", "Отменить"), 2, 0, 1, 2);
}

bool CStarFilter::DoDataExchange(bool save) {
  StarAspectChoice& c = choice_;
  if (!save) {
    platform::Check(kind_, c.kind);
    for (std::size_t i = 0; i < orbs_.size(); ++i)
      orbs_[i]->setValue(std::clamp(c.orbs[i], 0, kMaxOrb));
    for (std::size_t i = 0; i < aspects_.size(); ++i) aspects_[i]->setChecked(c.aspects[i] != 0);
    showBefore_->setChecked(c.showDialog != 0);
    return true;
  }
  c.kind = platform::Checked(kind_, c.kind);
  for (std::size_t i = 0; i < orbs_.size(); ++i) c.orbs[i] = orbs_[i]->value();
  for (std::size_t i = 0; i < aspects_.size(); ++i) c.aspects[i] = aspects_[i]->isChecked();
  c.showDialog = showBefore_->isChecked();
  return true;
}

bool RunStarFilter(QWidget* parent) {
  CStarFilter dialog(StarAspectChoice::Read(GetConfiguration()), parent);
  if (dialog.DoModal() != platform::kIdOk) return false;
  ChangeSettings([&dialog](Configuration& config, Aspectarium&) { dialog.Choice().Write(config); });
  return true;
}

// --- CStarsListView ---

CStarsListView::CStarsListView(QWidget* parent)
    : platform::LineListView(lists::ScrollLimit::kLastLine, parent) {}

CStarsListView::~CStarsListView() {
  if (ChartDocument* document = Document(); document != nullptr && counted_)
    document->ViewClosed(kDocViewFixedStars);
}

ChartDocument* CStarsListView::Document() const {
  return dynamic_cast<ChartDocument*>(GetDocument());
}

void CStarsListView::OnInitialUpdate() {
  ChartDocument* document = Document();
  if (document == nullptr || document->GetChart() == nullptr) return;
  if (!counted_) {
    document->ViewOpened(kDocViewFixedStars);
    counted_ = true;
  }
  const Configuration& config = GetConfiguration();
  list_.SelectStars(FixedStars(), *document->GetChart(), StarAspectChoice::Read(config), config);
  SetLineCount(list_.Count());
  // The window opens as wide as its table.
  WidenFrameToLines();
  UpdateFrameTitle();
}

std::string CStarsListView::GetFrameTitle() const {
  return Title(Document(), kMsgStarsListCaption);
}

platform::ScreenLines CStarsListView::MeasureScreen(platform::Dc& dc) {
  screen_ = list_.Measure(dc, FixedStars(), kScreenFontSize);
  // The title line, then a blank half line.
  const platform::DcState saved(dc);
  dc.SelectFont(platform::Font{std::string(platform::kTextFace), kTitleSize});
  titleHeight_ = dc.GetTextExtent("W").cy;
  // The title line, half a row, the column titles as on paper, then the rows.
  return {kScreenLeft, titleHeight_ + screen_.rowHeight / 2 + 2 * screen_.rowHeight,
          screen_.rowHeight * kRowSpacing, 0, screen_.width};
}

void CStarsListView::DrawHead(platform::Dc& dc) {
  const platform::DcState saved(dc);
  dc.SetBkMode(platform::BkMode::Transparent);
  dc.SetTextColor(platform::kBlack);
  dc.SetTextAlign(platform::TextAlign::kLeft | platform::TextAlign::kTop);
  dc.SelectFont(platform::Font{std::string(platform::kTextFace), kTitleSize});
  dc.TextOut(kScreenLeft, 0, GetMessageText(kMsgStarsTitle));
  CStarsListBox::DrawColumnTitles(dc, screen_,
                                  {kScreenLeft, -(titleHeight_ + screen_.rowHeight / 2)});
}

platform::PrintedLines CStarsListView::MeasurePrint(platform::Dc& dc) {
  const cfg::PrintSettings& p = GetConfiguration().print;
  const int width = 20800 - p.marginLeft - p.marginRight;
  paper_ = list_.Measure(dc, FixedStars(),
                         list_.FitFontSize(dc, FixedStars(), width - kPrintLeft, kPrintFontSize));
  // The column titles stand a row and a half over the rows, under the page head however far
  // down a long header and the title under it reach (the title of the last page at the most).
  const int titlesRise = paper_.rowHeight + paper_.rowHeight / 2;
  printTop_ = p.marginTop + kPrintTop;
  if (const Chart* chart = Document() != nullptr ? Document()->GetChart() : nullptr) {
    const std::string title =
        lists::PageTitle(GetMessageText(kMsgStarsTitle), std::max(1, list_.Count()));
    const PageTitlePlace head = PlacePrintedPageTitle(dc, *chart, GetConfiguration(), title);
    printTop_ = titlesRise - PageContentTop(head, titlesRise - printTop_);
  }
  const int rows =
      lists::FitCount(kA4Height - printTop_ - p.marginBottom, paper_.rowHeight * kRowSpacing);
  return {lists::ColumnPageLayout(rows, 1, lists::ColumnOrder::kAcross), p.marginLeft + kPrintLeft,
          printTop_, paper_.rowHeight * kRowSpacing, 0.0};
}

void CStarsListView::OnPrint(platform::Dc& dc, int page) {
  printing_ = true;
  platform::LineListView::OnPrint(dc, page);
  printing_ = false;
}

void CStarsListView::DrawLine(platform::Dc& dc, int line, platform::Point at, bool selected) {
  const bool paper = printing_ || dc.IsPrinting();
  const CStarsListBox::Columns& c = paper ? paper_ : screen_;
  if (selected && !paper) {
    dc.FillRect(platform::Rect{at.x - 20, at.y + 10, at.x + c.width, at.y - c.rowHeight - 10},
                platform::Color{220, 220, 235});
  }
  list_.DrawRow(dc, FixedStars(), c, line, at, !paper);
}

void CStarsListView::DrawPageHead(platform::Dc& dc, int page, int, int) {
  const ChartDocument* document = Document();
  if (document == nullptr || document->GetChart() == nullptr) return;
  const Configuration& config = GetConfiguration();
  DrawPrintedPageHead(dc, *document->GetChart(), config,
                      lists::PageTitle(GetMessageText(kMsgStarsTitle), page));
  CStarsListBox::DrawColumnTitles(
      dc, paper_,
      {config.print.marginLeft + kPrintLeft, -printTop_ + paper_.rowHeight + paper_.rowHeight / 2});
}

void CStarsListView::OnOpenLine(int line) {
  ChartDocument* document = Document();
  if (document == nullptr || line < 0 || line >= list_.Count()) return;
  ShowStarInterpretation(*document, list_.Hits()[static_cast<std::size_t>(line)].star);
}

// --- CStarsView ---

CStarsView::CStarsView(QWidget* parent) : CRichTextCtrlView(parent) {}

CStarsView::~CStarsView() {
  if (counted_ != nullptr) counted_->ViewClosed(kDocViewStarText);
}

void CStarsView::OnInitialUpdate() {
  textFraction_ = 1.0;
  ChartDocument* document = GetChartDocument();
  if (document != nullptr && counted_ == nullptr) {
    document->ViewOpened(kDocViewStarText);
    counted_ = document;
  }
  CRichTextCtrlView::OnInitialUpdate();
  buffer_ = std::string(FixedStars().Interpretation(star_));
  saveOnClose_ = false;
  // At the left edge, as wide as the window area and half as high, its top at 0.85 of the area's
  // height but never so low that the window leaves the area.
  if (platform::ChildFrame* frame = Frame(); frame != nullptr && frame->mdiArea() != nullptr) {
    const QSize area = frame->mdiArea()->viewport()->size();
    const int height = area.height() / 2;
    const int top =
        std::min(static_cast<int>(area.height() * kTextViewTop), area.height() - height);
    frame->setGeometry(QRect(0, std::max(0, top), area.width(), height));
  }
  CreateRichEdit();
  if (Control() != nullptr) Control()->setReadOnly(true);
  UpdateFrameTitle();
}

std::string CStarsView::GetFrameTitle() const {
  return Title(GetChartDocument(), kMsgStarTextCaption);
}

int CStarsView::PrintTitleMessage() const { return kMsgStarsTitle; }

CStarsView* ShowStarInterpretation(ChartDocument& document, int index) {
  if (!FixedStars().HasInterpretation(index)) {
    ShowMessage(kMsgNoStarInterpretation, platform::Icon::Information);
    return nullptr;
  }
  platform::DocTemplate* text = document.GetWorkbench().GetTemplate(kTemplateStarText);
  if (text == nullptr) return nullptr;
  platform::ChildFrame* frame = text->CreateNewFrame(document);
  auto* view = dynamic_cast<CStarsView*>(frame->GetView());
  if (view != nullptr) view->SetStar(index);
  text->InitialUpdateFrame(*frame, document);
  return view;
}
