#include "views/ui/bindhu_views.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollBar>
#include <QSpinBox>
#include <QVBoxLayout>

#include "astro/aspects/aspectarium.h"
#include "astro/chart/chart_context.h"
#include "astro/chart/derived_charts.h"
#include "document/chart_document.h"
#include "document/workbench.h"
#include "foundation/config/configuration.h"
#include "foundation/errors/error_report.h"
#include "foundation/files/data_file_names.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/messages/show_message.h"
#include "platform/core/prompter.h"
#include "platform/qt/dialog_controls.h"
#include "platform/qt/measuring_dc.h"
#include "platform/qt/qt_text.h"
#include "views/ui/view_kinds.h"

namespace {

constexpr double kPaperDpi = 600.0;

std::string Title(const platform::View& view, int message) {
  const auto* document = dynamic_cast<const ChartDocument*>(view.GetDocument());
  return (document ? document->GetTitle() : std::string()) + GetMessageText(message);
}

QComboBox* Combo(QWidget* owner, const std::vector<std::string>& texts) {
  auto* box = new QComboBox(owner);
  for (const std::string& t : texts) box->addItem(platform::ToQt(t));
  return box;
}

const std::initializer_list<const char*> kBodyChoices = {
    "Не учитывать", "Светила", "Солнце - Плутон", "Все, выводимые на гороскоп", "Все"};
const std::initializer_list<const char*> kHouseChoices = {"Не учитывать", "Асцендент",
                                                          "Асцендент и МС", "Угловые", "Все"};

}  // namespace

// --- CBindhuView ---

CBindhuView::CBindhuView(QWidget* parent) : ChartDocView(kDocViewBindhu, parent) {
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

void CBindhuView::OnInitialUpdate() {
  SetScrollByLines(platform::MapMode::HiMetric);
  CountOpen();
  QScrollBar* bar = verticalScrollBar();
  bar->setRange(0, BINDHU::kRows - 1);
  bar->setSingleStep(1);
  bar->setPageStep(5);
  connect(bar, &QScrollBar::valueChanged, this, [this](int value) {
    first_ = std::clamp(value, 0, BINDHU::kRows - 1);
    viewport()->update();
  });
  const ChartDocument* document = GetDocument();
  choice_ = BindhuChoice::Read(GetConfiguration());
  if (document != nullptr && document->GetChart() != nullptr) {
    const Chart& chart = *document->GetChart();
    const ChartContext ctx = ChartContext::FromCurrentSettings();
    table_.Calculate(chart, ctx.SystemOrCurrent(chart.definition.AspectSystemName()), choice_,
                     GetConfiguration());
  }
  platform::View::OnUpdate(nullptr);
}

std::string CBindhuView::GetFrameTitle() const { return Title(*this, kMsgBindhuCaption); }

void CBindhuView::OnDraw(platform::Dc& dc) {
  if (dc.IsPrinting()) return;
  dc.SetMapMode(platform::MapMode::HiMetric);
  const BINDHU::Layout l = table_.ScreenLayout(dc, ClientWidth());
  const int height = static_cast<int>(viewport()->height() * 2540.0 / logicalDpiY());
  table_.Draw(dc, l, first_, BINDHU::kRows - 1, -height, choice_.minutes != 0);
}

bool CBindhuView::OnPreparePrinting(platform::PrintInfo& info) {
  choice_ = BindhuChoice::Read(GetConfiguration());
  platform::MeasuringDc measure(kPaperDpi, true, platform::MapMode::HiMetric);
  paper_ = table_.PaperLayout(measure.dc(), GetConfiguration(), choice_);
  pageStarts_ = table_.PageStarts(paper_, GetConfiguration(), choice_);
  info.minPage = 1;
  info.maxPage = static_cast<int>(pageStarts_.size());
  return true;
}

void CBindhuView::OnPrint(platform::Dc& dc, int page) {
  const ChartDocument* document = GetDocument();
  if (document == nullptr || document->GetChart() == nullptr) return;
  if (page < 1 || page > static_cast<int>(pageStarts_.size())) return;
  dc.SetMapMode(platform::MapMode::HiMetric);
  BINDHU::DrawPageHead(dc, GetConfiguration(), *document->GetChart());
  const auto k = static_cast<std::size_t>(page - 1);
  const int last = k + 1 < pageStarts_.size() ? pageStarts_[k + 1] - 1 : BINDHU::kRows - 1;
  table_.Draw(dc, paper_, pageStarts_[k], last, 0, choice_.minutes != 0);
}

// --- C_BINDHU_CONF ---

C_BINDHU_CONF::C_BINDHU_CONF(const BindhuChoice& choice, QWidget* parent)
    : platform::Dialog(parent), choice_(choice) {
  setWindowTitle(QStringLiteral("ТАБЛИЦА БИНДХУ - КОНФИГУРАЦИЯ"));
  auto* layout = new QGridLayout(this);
  auto* left = new QVBoxLayout;
  bodies_ = platform::AddChoiceBox(this, left, "Планеты", kBodyChoices);
  nodes_ = new QCheckBox(QStringLiteral("В том числе Лунные узлы"), this);
  left->addWidget(nodes_);
  layout->addLayout(left, 0, 0);
  auto* middle = new QVBoxLayout;
  houses_ = platform::AddChoiceBox(this, middle, "Дома", kHouseChoices);
  aspects_ = platform::AddChoiceBox(this, middle, "Аспекты", {"Соединения", "Мажорные", "Все"});
  layout->addLayout(middle, 0, 1);
  auto* right = new QVBoxLayout;
  every_ = new QCheckBox(QStringLiteral("Показывать каждый раз при расчете"), this);
  minutes_ = new QCheckBox(QStringLiteral("Для нецелых аспектов указывать минуты"), this);
  onePage_ = new QCheckBox(QStringLiteral("При печати выводить на одну страницу"), this);
  right->addWidget(every_);
  right->addWidget(minutes_);
  right->addWidget(onePage_);
  layout_ = platform::AddChoiceBox(this, right, "Вид", {"Таблица", "Список"});
  for (QAbstractButton* b : layout_->buttons()) b->setEnabled(false);
  auto* size = new QHBoxLayout;
  auto* sizeLabel = new QLabel(QStringLiteral("Размер шрифта (печать)"), this);
  printSize_ = platform::NumberBox(this, 100, 10000);
  size->addWidget(sizeLabel);
  size->addWidget(printSize_);
  right->addLayout(size);
  connect(onePage_, &QCheckBox::toggled, this, [this, sizeLabel](bool on) {
    printSize_->setEnabled(!on);
    sizeLabel->setEnabled(!on);
  });
  layout->addLayout(right, 0, 2);
  layout->addWidget(platform::DialogButtons(this, "OK", "Отменить"), 1, 0, 1, 3);
}

bool C_BINDHU_CONF::DoDataExchange(bool save) {
  BindhuChoice& c = choice_;
  if (!save) {
    platform::Check(bodies_, c.bodies);
    platform::Check(houses_, c.houses);
    platform::Check(aspects_, c.aspects);
    platform::Check(layout_, c.layout);
    nodes_->setChecked(c.nodes != 0);
    every_->setChecked(c.showEveryTime != 0);
    minutes_->setChecked(c.minutes != 0);
    onePage_->setChecked(c.onePage != 0);
    printSize_->setValue(c.printFontSize);
    printSize_->setEnabled(c.onePage == 0);
    return true;
  }
  c.bodies = platform::Checked(bodies_, c.bodies);
  c.houses = platform::Checked(houses_, c.houses);
  c.aspects = platform::Checked(aspects_, c.aspects);
  c.nodes = nodes_->isChecked();
  c.showEveryTime = every_->isChecked();
  c.minutes = minutes_->isChecked();
  c.onePage = onePage_->isChecked();
  c.printFontSize = printSize_->value();
  return true;
}

// --- Sabian symbols ---

ALL_SABIANS& SabianSymbols() {
  static ALL_SABIANS sabians;
  return sabians;
}

void LoadSabiansAtStart(Workbench& workbench) {
  // The symbols are the user's own file: without one the command stays disabled, silently.
  const std::filesystem::path file = workbench.GetPath(g_DataFileNames[kDataSabianSymbols]);
  std::error_code ec;
  if (!std::filesystem::exists(file, ec)) {
    SabianSymbols().Free();
    return;
  }
  if (const Status st = SabianSymbols().Load(file); !st.ok()) ReportStatus(st, "ALL_SABIANS::Load");
}

CSabiansView::CSabiansView(QWidget* parent) : CRichTextCtrlView(parent) {}

CSabiansView::~CSabiansView() {
  if (counted_ != nullptr) counted_->ViewClosed(kDocViewSabian);
}

void CSabiansView::OnInitialUpdate() {
  textFraction_ = 1.0;
  ChartDocument* document = GetChartDocument();
  if (document != nullptr) {
    document->ViewOpened(kDocViewSabian);
    counted_ = document;
  }
  SabianChoice choice = SabianChoice::Read(GetConfiguration());
  if (choice.showEveryTime != 0) {
    CD_Sabian dialog(choice, this);
    if (dialog.DoModal() == platform::kIdOk) {
      choice = dialog.Choice();
      choice.Write(GetConfiguration());
    }
  }
  CRichTextCtrlView::OnInitialUpdate();
  if (document != nullptr && document->GetChart() != nullptr)
    buffer_ = SabianText(*document->GetChart(), choice, GetConfiguration(), SabianSymbols());
  saveOnClose_ = false;
  CreateRichEdit();
  if (Control() != nullptr) Control()->setReadOnly(true);
}

std::string CSabiansView::GetFrameTitle() const { return Title(*this, kMsgSabianCaption); }

int CSabiansView::PrintTitleMessage() const { return kMsgSabianTitle; }

CD_Sabian::CD_Sabian(const SabianChoice& choice, QWidget* parent)
    : platform::Dialog(parent), choice_(choice) {
  setWindowTitle(QStringLiteral("САБИАНСКИЕ СИМВОЛЫ - КОНФИГУРАЦИЯ"));
  auto* layout = new QGridLayout(this);
  auto* left = new QVBoxLayout;
  bodies_ = platform::AddChoiceBox(this, left, "Планеты", kBodyChoices);
  nodes_ = new QCheckBox(QStringLiteral("В том числе Лунные узлы"), this);
  left->addWidget(nodes_);
  layout->addLayout(left, 0, 0);
  auto* right = new QVBoxLayout;
  houses_ = platform::AddChoiceBox(this, right, "Дома", kHouseChoices);
  every_ = new QCheckBox(QStringLiteral("Показывать каждый раз при расчете"), this);
  right->addWidget(every_);
  layout->addLayout(right, 0, 1);
  layout->addWidget(platform::DialogButtons(this, "OK", "Отменить"), 1, 0, 1, 2);
}

bool CD_Sabian::DoDataExchange(bool save) {
  if (!save) {
    platform::Check(bodies_, choice_.bodies);
    platform::Check(houses_, choice_.houses);
    nodes_->setChecked(choice_.nodes != 0);
    every_->setChecked(choice_.showEveryTime != 0);
    return true;
  }
  choice_.bodies = platform::Checked(bodies_, choice_.bodies);
  choice_.houses = platform::Checked(houses_, choice_.houses);
  choice_.nodes = nodes_->isChecked();
  choice_.showEveryTime = every_->isChecked();
  return true;
}

// --- Thematic charts ---

DTemat::DTemat(const TematPage& page, const Chart& chart, QWidget* parent)
    : platform::Dialog(parent), page_(page), chart_(chart) {
  setWindowTitle(QStringLiteral("ТЕМАТИЧЕСКИЕ КАРТЫ"));
  auto* layout = new QGridLayout(this);
  auto* kinds = new QVBoxLayout;
  kind_ = platform::AddChoiceBox(
      this, kinds, "Вид карты",
      {"Одной планеты (реальная)", "Одной планеты (символическая)", "Двух планет"});
  layout->addLayout(kinds, 0, 0, 3, 1);
  layout->addWidget(new QLabel(QStringLiteral("Планета"), this), 0, 1);
  planet_ = Combo(this, TematPage::PlanetNames());
  layout->addWidget(planet_, 0, 2);
  layout->addWidget(new QLabel(QStringLiteral("Планета 2"), this), 1, 1);
  planet2_ = Combo(this, TematPage::SecondPlanetNames());
  layout->addWidget(planet2_, 1, 2);
  layout->addWidget(new QLabel(QStringLiteral("Угловой дом"), this), 2, 1);
  houses_ = new QComboBox(this);
  layout->addWidget(houses_, 2, 2);
  auto* directions = new QHBoxLayout;
  direction_ = platform::AddChoices(this, directions, {"Прибавлять", "Вычитать"});
  layout->addLayout(directions, 3, 1, 1, 2);
  layout->addWidget(platform::DialogButtons(this, "OK", "Отменить"), 4, 0, 1, 3);
  connect(kind_, &QButtonGroup::idClicked, this, &DTemat::OnKind);
}

void DTemat::OnKind(int kind) {
  page_.SetKind(kind);
  houses_->clear();
  for (const std::string& h : page_.HouseNames()) houses_->addItem(platform::ToQt(h));
  houses_->setCurrentIndex(page_.HouseIndex());
  houses_->setEnabled(page_.HouseEnabled());
  planet2_->setEnabled(page_.SecondPlanetEnabled());
  for (QAbstractButton* b : direction_->buttons()) b->setEnabled(page_.SecondPlanetEnabled());
}

bool DTemat::DoDataExchange(bool save) {
  ThematicChoice& c = page_.Choice();
  if (!save) {
    platform::Check(kind_, c.kind);
    const int house = page_.HouseIndex();
    OnKind(c.kind);
    houses_->setCurrentIndex(house);
    planet_->setCurrentIndex(c.planet);
    planet2_->setCurrentIndex(c.planet2);
    platform::Check(direction_, c.direction);
    return true;
  }
  c.kind = platform::Checked(kind_, c.kind);
  c.planet = planet_->currentIndex();
  c.planet2 = planet2_->currentIndex();
  c.house = std::max(0, houses_->currentIndex());
  c.direction = platform::Checked(direction_, 0);
  if (const int message = page_.CheckOk(chart_); message != 0) {
    ShowMessage(message);
    return false;
  }
  if (page_.NeedsPoint()) {
    DEnterPoint point(c.point, this);
    if (point.DoModal() == platform::kIdOk) c.point = point.Page().ToPoint();
  }
  return true;
}

DEnterPoint::DEnterPoint(int point, QWidget* parent)
    : platform::Dialog(parent), page_(EnterPointPage::FromPoint(point)) {
  setWindowTitle(QStringLiteral("ВВОД КООРДИНАТЫ"));
  auto* layout = new QGridLayout(this);
  std::vector<std::string> signs;
  for (int s = 0; s < 12; ++s) signs.push_back(GetMessageText(kMsgSignNameFirst + s));
  layout->addWidget(new QLabel(QStringLiteral("Знак"), this), 0, 0);
  sign_ = Combo(this, signs);
  layout->addWidget(sign_, 0, 1);
  layout->addWidget(new QLabel(QStringLiteral("Градусы"), this), 1, 0);
  degrees_ = platform::NumberBox(this, 0, 29);
  layout->addWidget(degrees_, 1, 1);
  layout->addWidget(new QLabel(QStringLiteral("Минуты"), this), 2, 0);
  minutes_ = platform::NumberBox(this, 0, 59);
  layout->addWidget(minutes_, 2, 1);
  layout->addWidget(platform::DialogButtons(this, "OK", "Отменить"), 3, 0, 1, 2);
}

bool DEnterPoint::DoDataExchange(bool save) {
  if (!save) {
    sign_->setCurrentIndex(page_.sign);
    degrees_->setValue(page_.degrees);
    minutes_->setValue(page_.minutes);
    return true;
  }
  page_.sign = sign_->currentIndex();
  page_.degrees = degrees_->value();
  page_.minutes = minutes_->value();
  if (const int message = page_.CheckOk(); message != 0) {
    ShowMessage(message);
    return false;
  }
  return true;
}

ChartDocument* RunThematicChart(ChartDocument& document, Workbench& workbench) {
  const Chart* chart = document.GetChart();
  if (chart == nullptr) return nullptr;
  Configuration& config = GetConfiguration();
  DTemat dialog(TematPage::Read(config), *chart, workbench.MainWindow());
  if (dialog.DoModal() != platform::kIdOk) return nullptr;
  dialog.Page().Write(config);
  Chart made;
  const Status st =
      MakeThematicChart(ChartContext::FromCurrentSettings(), made, *chart, dialog.Page().Choice());
  if (!st.ok()) {
    ReportStatus(st, "VelmDoc::OnTemat");
    return nullptr;
  }
  return workbench.OpenChartDocument(DocCreation::DerivedChart(std::move(made)));
}

CPlanEnergyView::CPlanEnergyView(QWidget* parent) : ChartDocView(kDocViewPlanetEnergy, parent) {}
std::string CPlanEnergyView::GetFrameTitle() const { return Title(*this, kMsgPlanEnergyCaption); }

CPlanetView::CPlanetView(QWidget* parent) : ChartDocView(kDocViewPlanet, parent) {}
std::string CPlanetView::GetFrameTitle() const { return Title(*this, kMsgPlanetCaption); }
