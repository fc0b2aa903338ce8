#include "views/ui/ephem_view.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "astro/chart/chart_context.h"
#include "document/chart_document.h"
#include "foundation/config/configuration.h"
#include "foundation/config/settings_blocks.h"
#include "foundation/drawing/font_fitting.h"
#include "foundation/drawing/glyph_drawing.h"
#include "foundation/drawing/longitude_drawing.h"
#include "foundation/drawing/palette.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/messages/show_message.h"
#include "platform/core/prompter.h"
#include "platform/qt/dialog_controls.h"
#include "platform/qt/qt_dc.h"
#include "platform/qt/qt_text.h"
#include "settings/ui/color_dial.h"
#include "views/ui/view_kinds.h"

namespace {

using E = cfg::GraphicEphemerisSettings;

constexpr int kColourCount = 60;
constexpr int kGlyphColourButton = ephem::kBodies;
const char* const kBodyNames[ephem::kBodies] = {"СОЛНЦЕ", "ЛУНА",   "МЕРКУРИЙ", "ВЕНЕРА", "МАРС",
                                                "ЮПИТЕР", "САТУРН", "УРАН",     "НЕПТУН", "ПЛУТОН"};

int Orientation(const RGraphEphem& g) {
  return g.settings != nullptr && g.settings->Get(E::kOrientation) == 1 ? RGraph::kLayoutLandscape
                                                                        : RGraph::kLayoutPortrait;
}

QColor ToQColor(platform::Color c) { return QColor(c.r, c.g, c.b); }

}  // namespace

EphemView::EphemView(QWidget* parent) : ChartDocView(kDocViewGraphicEphemeris, parent) {}

void EphemView::OnInitialUpdate() {
  SetScrollByLines(platform::MapMode::HiMetric);
  CountOpen();
  LayOutScreen();
  Recalculate();
  platform::View::OnUpdate(nullptr);
}

void EphemView::LayOutScreen() {
  const int height = static_cast<int>(viewport()->height() * 2540.0 / logicalDpiY());
  graph_.SetUp(GetConfiguration(), ClientWidth(), -std::max(1, height));
}

void EphemView::Recalculate() { graph_.Calculate(GetEphemeris()); }

void EphemView::resizeEvent(QResizeEvent* event) {
  ChartDocView::resizeEvent(event);
  if (graph_.pointCount > 0) {
    const int height = static_cast<int>(viewport()->height() * 2540.0 / logicalDpiY());
    graph_.SetScreenMode();
    graph_.DefineArea(ClientWidth(), -std::max(1, height));
  }
}

std::string EphemView::GetFrameTitle() const {
  const ChartDocument* document = GetDocument();
  return (document ? document->GetTitle() : std::string()) + GetMessageText(kMsgEphemerisCaption);
}

void EphemView::OnDraw(platform::Dc& dc) {
  if (dc.IsPrinting()) return;
  const ChartDocument* document = GetDocument();
  if (document == nullptr || document->GetChart() == nullptr) return;
  dc.SetMapMode(platform::MapMode::HiMetric);
  dc.SetBkMode(platform::BkMode::Transparent);
  graph_.SetScreenMode();
  const GraphLayout& g = graph_.screen;
  FillBackground(dc, {0, 0, g.pageWidth, -g.pageHeight});
  Configuration& config = GetConfiguration();
  ephem::DrawFrame(dc, graph_, config);
  if (graph_.curveCount > 1) graph_.curveVisible[1] = graph_.moonFlag;
  ephem::DrawChartPositions(dc, graph_, *document->GetChart());
  graph_.DrawCurves(dc);
  if (config.graphicEphemeris.Get(E::kPlanetGlyphs) != 0) ephem::DrawCurveGlyphs(dc, graph_);
  ephem::DrawYear(dc, graph_);
  buttons_ = ephem::DrawScrollButtons(dc, graph_);
}

bool EphemView::OnPreparePrinting(platform::PrintInfo& info) {
  graph_.SetPrintMode(Orientation(graph_));
  graph_.DefineArea(0, 0);
  graph_.SetScreenMode();
  info.minPage = info.maxPage = 1;
  return true;
}

void EphemView::OnPrint(platform::Dc& dc, int) {
  const ChartDocument* document = GetDocument();
  if (document == nullptr || document->GetChart() == nullptr) return;
  Configuration& config = GetConfiguration();
  graph_.UsePrintSettings(config);
  graph_.SetPrintMode(Orientation(graph_));
  graph_.DefineArea(0, 0);
  dc.SetMapMode(platform::MapMode::HiMetric);
  dc.SetBkMode(platform::BkMode::Transparent);
  ephem::PrintHeading(dc, graph_, config, *document->GetChart());
  ephem::DrawFrame(dc, graph_, config);
  if (graph_.curveCount > 1) graph_.curveVisible[1] = graph_.moonFlag;
  graph_.DrawCurves(dc);
  if (config.graphicEphemeris.Get(E::kPlanetGlyphs) != 0) ephem::DrawCurveGlyphs(dc, graph_);
  ephem::DrawYear(dc, graph_);
  ephem::DrawChartPositions(dc, graph_, *document->GetChart());
  graph_.SetScreenMode();
  viewport()->update();
}

void EphemView::Scroll(int direction) {
  if (!ephem::ApplyScroll(graph_, direction)) return;
  Recalculate();
  viewport()->update();
}

void EphemView::OnLButtonDown(platform::Point at) { Scroll(ephem::ScrollButtonAt(buttons_, at)); }

void EphemView::OnLButtonDblClk(platform::Point at) { ShowValuesAt(at.x); }

void EphemView::OnRButtonDown(platform::Point at) { ShowValuesAt(at.x); }

bool EphemView::ShowValuesAt(int x) {
  const ChartDocument* document = GetDocument();
  int index = ephem::SampleIndexAt(graph_, x);
  if (index < 0 || document == nullptr || document->GetChart() == nullptr) return false;
  // Each scroll the dialog asks for is made, and the values computed, before it opens again.
  for (int shown = 0; shown < 1000; ++shown) {
    DEphemData dialog(ephem::EphemDataPage(graph_, *document->GetChart(), index), this);
    dialog.DoModal();
    const int request = dialog.ScrollRequest();
    if (request == 0) break;
    Scroll(request);
    index = ephem::EphemDataPage::ReopenIndex(graph_.pointCount, request);
  }
  return true;
}

// --- DEphemData ---

DEphemData::DEphemData(const ephem::EphemDataPage& page, QWidget* parent)
    : platform::Dialog(parent), page_(page) {
  setWindowTitle(QStringLiteral("ЭФЕМЕРИДЫ"));
  setMinimumSize(300, 420);
  auto* layout = new QVBoxLayout(this);
  moment_ = new QLabel(platform::ToQt(page_.MomentText()), this);
  layout->addWidget(moment_);
  layout->addStretch(1);
  auto* row = new QHBoxLayout;
  auto* previous = new QPushButton(QStringLiteral("<<<"), this);
  auto* next = new QPushButton(QStringLiteral(">>>"), this);
  follow_ = new QCheckBox(QStringLiteral("Передвигать"), this);
  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  connect(previous, &QPushButton::clicked, this, &DEphemData::OnPrevious);
  connect(next, &QPushButton::clicked, this, &DEphemData::OnNext);
  connect(ok, &QPushButton::clicked, this, &DEphemData::accept);
  row->addWidget(previous);
  row->addWidget(next);
  row->addWidget(follow_);
  row->addWidget(ok);
  layout->addLayout(row);
}

void DEphemData::Step(int request) {
  if (request != 0) {
    scroll_ = request;
    accept();
    return;
  }
  moment_->setText(platform::ToQt(page_.MomentText()));
  update();
}

void DEphemData::OnNext() { Step(page_.Next()); }
void DEphemData::OnPrevious() { Step(page_.Previous()); }

void DEphemData::paintEvent(QPaintEvent* event) {
  platform::Dialog::paintEvent(event);
  QPainter painter(this);
  platform::QtDc dc(painter, false);
  dc.SetMapMode(platform::MapMode::Text);
  dc.SetBkMode(platform::BkMode::Transparent);
  const int top = moment_->geometry().bottom() + 8;
  const int rowHeight = std::max(12, (height() - top - 50) / 11);
  const int size = FitFontHeight(dc, platform::kGlyphFaceA, 10000, rowHeight);
  if (size <= 0) return;
  const int textSize = size * 7 / 10;
  for (int b = 0; b < ephem::kBodies; ++b) {
    const int y = top + b * rowHeight;
    DrawGlyphText(dc, 10, y, glyphs::Point(b), 'a', size, platform::BkMode::Transparent);
    dc.SelectFont(platform::Font{std::string(platform::kTextFace), textSize});
    DrawLongitude(dc, 60, y, page_.Value(b), 1);
    DrawLongitude(dc, 170, y, page_.ChartLongitude(b), 1);
  }
  if (follow_->isChecked() && parentWidget() != nullptr) {
    // Beside the point it shows, inside the view's window.
    const QWidget* view = parentWidget();
    const QPoint origin = view->mapToGlobal(QPoint(0, 0));
    PlaceAt(QPoint(page_.FollowX(origin.x(), view->width(), width()), pos().y()));
  }
}

// --- DEphemConf ---

DEphemConf::DEphemConf(const cfg::ByteBlock& block, QWidget* parent)
    : platform::Dialog(parent), page_(ephem::EphemConfPage::Read(block)) {
  setWindowTitle(QStringLiteral("ГРАФИЧЕСКИЕ ЭФЕМЕРИДЫ - КОНФИГУРАЦИЯ"));
  auto* layout = new QGridLayout(this);

  QBoxLayout* start = nullptr;
  layout->addWidget(platform::Box(this, "Начало расчета", start), 0, 0);
  auto* dateRow = new QHBoxLayout;
  const char* dateLabels[] = {"День", "Месяц", "Год"};
  const int low[] = {1, 1, -3000}, high[] = {31, 12, 3000};
  for (std::size_t k = 0; k < 3; ++k) {
    dateRow->addWidget(new QLabel(QString::fromUtf8(dateLabels[k]), this));
    date_[k] = platform::NumberBox(this, low[k], high[k]);
    dateRow->addWidget(date_[k]);
  }
  start->addLayout(dateRow);
  auto* left = new QVBoxLayout;
  period_ = platform::AddChoiceBox(
      this, left, "Период", {"1 месяц", "2 месяца", "3 месяца", "6 месяцев", "1 год", "2 года"});
  const char* switches[] = {"Разграфка по знакам", "Разграфка по времени", "Рисовать значки планет",
                            "Отметить планеты гороскопа"};
  for (std::size_t k = 0; k < switches_.size(); ++k) {
    switches_[k] = new QCheckBox(QString::fromUtf8(switches[k]), this);
    left->addWidget(switches_[k]);
  }
  orientation_ = platform::AddChoiceBox(this, left, "Печать", {"Книжная", "Альбомная"});
  rotation_ = new QCheckBox(QStringLiteral("Коррекция поворота значков"), this);
  heading_ = new QCheckBox(QStringLiteral("Печатать заголовок"), this);
  left->addWidget(rotation_);
  left->addWidget(heading_);
  connect(orientation_, &QButtonGroup::idClicked, this,
          [this](int id) { rotation_->setEnabled(id == 1); });
  layout->addLayout(left, 1, 0);

  auto* colours = new QGridLayout;
  for (int i = 0; i <= ephem::kBodies; ++i) {
    const QString name =
        i < ephem::kBodies ? QString::fromUtf8(kBodyNames[i]) : QStringLiteral("ЗНАЧКИ ГОРОСКОПА");
    colours->addWidget(new QLabel(name, this), i, 0);
    auto* swatch = new QLabel(this);
    swatch->setFixedSize(30, 16);
    swatch->setAutoFillBackground(true);
    swatches_[static_cast<std::size_t>(i)] = swatch;
    colours->addWidget(swatch, i, 1);
    auto* change = new QPushButton(QStringLiteral("ИЗМЕНИТЬ"), this);
    connect(change, &QPushButton::clicked, this, [this, i] { ChooseColour(i); });
    colours->addWidget(change, i, 2);
  }
  layout->addLayout(colours, 0, 1, 2, 1);
  layout->addWidget(platform::DialogButtons(this, "OK", "Отменить"), 2, 0, 1, 2);
}

void DEphemConf::ShowSwatch(int which) {
  const int colour = which < ephem::kBodies ? page_.curveColours[static_cast<std::size_t>(which)]
                                            : page_.glyphColour;
  QLabel* swatch = swatches_[static_cast<std::size_t>(which)];
  QPalette palette = swatch->palette();
  palette.setColor(QPalette::Window, ToQColor(ColorByIndex(colour)));
  swatch->setPalette(palette);
}

void DEphemConf::ChooseColour(int which) {
  if (which < 0 || which > kGlyphColourButton) return;
  int& colour = which < ephem::kBodies ? page_.curveColours[static_cast<std::size_t>(which)]
                                       : page_.glyphColour;
  const int chosen = RunColorDialog(colour, kColourCount, this);
  if (chosen < 0) return;
  colour = chosen;
  ShowSwatch(which);
}

bool DEphemConf::DoDataExchange(bool save) {
  int* date[] = {&page_.day, &page_.month, &page_.year};
  bool* flags[] = {&page_.signGrid, &page_.timeGrid, &page_.planetGlyphs, &page_.markChart};
  if (!save) {
    for (std::size_t k = 0; k < 3; ++k) date_[k]->setValue(*date[k]);
    platform::Check(period_, page_.period);
    for (std::size_t k = 0; k < switches_.size(); ++k) switches_[k]->setChecked(*flags[k]);
    platform::Check(orientation_, page_.orientation);
    rotation_->setChecked(page_.rotationCorrection);
    rotation_->setEnabled(page_.RotationEnabled());
    heading_->setChecked(page_.printHeading);
    for (int i = 0; i <= ephem::kBodies; ++i) ShowSwatch(i);
    return true;
  }
  for (std::size_t k = 0; k < 3; ++k) *date[k] = date_[k]->value();
  page_.period = platform::Checked(period_, page_.period);
  for (std::size_t k = 0; k < switches_.size(); ++k) *flags[k] = switches_[k]->isChecked();
  page_.orientation = platform::Checked(orientation_, 0);
  page_.rotationCorrection = rotation_->isChecked();
  page_.printHeading = heading_->isChecked();
  if (const int message = page_.CheckOk(); message != 0) {
    ShowMessage(message);
    return false;
  }
  return true;
}
