#include "rectification/ui/tremin_forecast_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "astro/aspects/aspectarium.h"
#include "foundation/config/configuration.h"
#include "foundation/datetime/present_moment.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/messages/show_message.h"
#include "platform/core/prompter.h"
#include "platform/qt/dialog_controls.h"
#include "platform/qt/qt_text.h"
#include "rectification/core/life_event_list.h"
#include "rectification/core/rect_setup_pages.h"
#include "rectification/core/tremin_conf_page.h"

namespace {

using P = TmForecastPage;
using platform::Check;
using platform::Checked;
using platform::NumberBox;

// The event dialog's kind in the forecast: no planets.
constexpr int kEventKind = 3;

}  // namespace

DTREMIN_PROG::DTREMIN_PROG(const TmForecastPage& page, const std::vector<std::string>& sortedNames,
                           const TreminEventFiles& files, QWidget* parent)
    : platform::Dialog(parent), page_(page), files_(files), names_(sortedNames) {
  setWindowTitle(QStringLiteral("Прогноз по методу Тремина"));
  auto* grid = new QGridLayout(this);
  const auto add = [&](int id, QWidget* w) {
    controls_.emplace_back(id, w);
    return w;
  };

  // The mode's choices and the controls of mode 1 are kept hidden.
  auto* modeRow = new QHBoxLayout;
  mode_ = new QButtonGroup(this);
  int id = 0;
  for (const char* text : {"Выбор наиболее вероятного события", "Вероятность события за период"}) {
    auto* radio = new QRadioButton(QString::fromUtf8(text), this);
    radio->setVisible(false);
    radio->setEnabled(false);
    mode_->addButton(radio, id++);
    modeRow->addWidget(radio);
  }
  grid->addLayout(modeRow, 0, 0, 1, 2);

  auto* yearRow = new QHBoxLayout;
  yearRow->addWidget(add(P::kYearLabel, new QLabel(QStringLiteral("Год"), this)));
  year_ = NumberBox(this, TmForecastSettings::kYearMin, TmForecastSettings::kYearMax);
  yearRow->addWidget(add(P::kYear, year_));
  auto* period = new QGroupBox(this);
  add(P::kPeriodGroup, period);
  auto* periodRow = new QHBoxLayout(period);
  periodRow->addWidget(add(P::kPeriodLabel, new QLabel(QStringLiteral("Интервал"), period)));
  periodFrom_ = NumberBox(period, TmForecastSettings::kYearMin, TmForecastSettings::kYearMax);
  periodTo_ = NumberBox(period, TmForecastSettings::kYearMin, TmForecastSettings::kYearMax);
  periodRow->addWidget(add(P::kPeriodFrom, periodFrom_));
  periodRow->addWidget(add(P::kPeriodTo, periodTo_));
  period->setVisible(false);
  yearRow->addWidget(period);
  yearRow->addStretch();
  grid->addLayout(yearRow, 1, 0);

  auto* eventRow = new QHBoxLayout;
  QWidget* eventLabel = add(P::kEventLabel, new QLabel(QStringLiteral("Событие"), this));
  event_ = platform::NameBox(this, kTmForecastEventWidth - 1);
  add(P::kEventChoice, event_);
  eventLabel->setVisible(false);
  event_->setVisible(false);
  eventRow->addWidget(eventLabel);
  eventRow->addWidget(event_, 1);
  grid->addLayout(eventRow, 2, 0, 1, 2);

  auto* orderBox = new QGroupBox(QStringLiteral("Упорядочивание"), this);
  add(P::kOrderGroup, orderBox);
  auto* orderLayout = new QVBoxLayout(orderBox);
  order_ = new QButtonGroup(this);
  const std::array<std::pair<int, const char*>, 3> orders{
      {{P::kOrderList, "Обычный порядок"},
       {P::kOrderText, "События по алфавиту"},
       {P::kOrderProbability, "По вероятности события"}}};
  for (std::size_t i = 0; i < orders.size(); ++i) {
    auto* radio = new QRadioButton(QString::fromUtf8(orders[i].second), orderBox);
    order_->addButton(radio, static_cast<int>(i));
    orderLayout->addWidget(add(orders[i].first, radio));
  }
  grid->addWidget(orderBox, 3, 0);

  auto* right = new QVBoxLayout;
  auto* fontRow = new QHBoxLayout;
  fontRow->addWidget(add(P::kFontLabel, new QLabel(QStringLiteral("Размер шрифта"), this)));
  font_ = NumberBox(this, TmForecastSettings::kFontMin, TmForecastSettings::kFontMax);
  fontRow->addWidget(add(P::kFont, font_));
  right->addLayout(fontRow);
  fill_ = new QCheckBox(QStringLiteral("Использовать заливку при печати"), this);
  right->addWidget(add(P::kFill, fill_));
  auto* systems = new QGridLayout;
  applying_ = platform::NameBox(this, kSystemNameReadWidth, sortedNames);
  separating_ = platform::NameBox(this, kSystemNameReadWidth, sortedNames);
  systems->addWidget(new QLabel(QStringLiteral("Для сходящихся аспектов"), this), 0, 0);
  systems->addWidget(applying_, 0, 1);
  systems->addWidget(new QLabel(QStringLiteral("Для расходящихся аспектов"), this), 1, 0);
  systems->addWidget(separating_, 1, 1);
  right->addLayout(systems);
  right->addStretch();
  grid->addLayout(right, 3, 1);

  events_ = new TreminEventsPanel(files, kEventKind, page_.values.sortByDate,
                                  page_.values.sortByText, this);
  events_->SetOnCountChanged([this] { ApplyMode(); });
  grid->addWidget(events_, 4, 0, 1, 2);
  grid->setRowStretch(4, 1);
  grid->addWidget(platform::DialogButtons(this, "OK", "Отмена"), 5, 0, 1, 2);
}

QWidget* DTREMIN_PROG::Control(int id) const {
  for (const auto& [key, w] : controls_)
    if (key == id) return w;
  return nullptr;
}

void DTREMIN_PROG::ApplyMode() {
  for (const auto& [key, w] : controls_)
    w->setEnabled(page_.Enabled(static_cast<P::Control>(key), *files_.events));
  events_->EnableEventControls(page_.Enabled(P::kEventList, *files_.events));
}

void DTREMIN_PROG::FillEventChoice(int select) {
  event_->clear();
  for (const std::string& text : TmForecastPage::EventTexts(*files_.events))
    event_->addItem(platform::ToQt(text));
  event_->setCurrentIndex(event_->count() > 0 ? select : -1);
}

bool DTREMIN_PROG::DoDataExchange(bool save) {
  TmForecastSettings& v = page_.values;
  if (!save) {
    Check(mode_, v.mode);
    year_->setValue(v.year);
    periodFrom_->setValue(v.periodFrom);
    periodTo_->setValue(v.periodTo);
    FillEventChoice(TmForecastPage::ChosenEvent(*files_.events, page_.eventChoice));
    Check(order_, v.order);
    font_->setValue(v.fontSize);
    fill_->setChecked(v.fillWhenPrinting);
    applying_->setEditText(platform::ToQt(v.applying));
    separating_->setEditText(platform::ToQt(v.separating));
    ApplyMode();
    return true;
  }
  // The boxes hold only values of their ranges; the year 0 is refused by OK.
  v.mode = Checked(mode_, 0);
  v.year = year_->value();
  v.periodFrom = periodFrom_->value();
  v.periodTo = periodTo_->value();
  page_.eventChoice = platform::FromQt(event_->currentText());
  v.order = Checked(order_, 0);
  v.fontSize = font_->value();
  v.fillWhenPrinting = fill_->isChecked();
  v.applying = platform::FromQt(applying_->currentText()).substr(0, kSystemNameReadWidth);
  v.separating = platform::FromQt(separating_->currentText()).substr(0, kSystemNameReadWidth);
  v.sortByDate = events_->SortByDate();
  v.sortByText = events_->SortByText();
  return true;
}

bool DTREMIN_PROG::CheckOk() {
  std::vector<std::string> told;
  const bool usable = page_.CheckSystems(names_, told);
  for (const std::string& text : told)
    platform::GetPrompter().ShowMessage(kMsgAspectSystemNotFound, text, platform::Icon::Warning);
  applying_->setEditText(platform::ToQt(page_.values.applying));
  separating_->setEditText(platform::ToQt(page_.values.separating));
  if (!usable) return false;
  const int refused = page_.CheckOk(*files_.events);
  if (refused == 0) return true;
  ShowMessage(refused);
  if (refused == kMsgForecastEventMissing) FillEventChoice(0);
  return false;
}

bool RunTreminForecastDialog(Configuration& config, const Aspectarium& aspectarium,
                             const TreminEventFiles& files, const Chart& chart, QWidget* parent) {
  if (files.events == nullptr) return false;
  TmForecastSettings settings = ReadTmForecastSettings(config);
  // A forecast year never chosen (the shipped 0) is the present year; a chart moved to a date
  // gives that date's year all the same (TmForecastPage).
  if (config.treminForecast.Get(cfg::TreminForecast::kYear) == 0) {
    Source now;
    if (SetSourceToPresent(now, ReadSystemClock()).ok())
      settings.year =
          now.moment.date.Era() == 'B' ? -now.moment.date.Year() : now.moment.date.Year();
  }
  DTREMIN_PROG dialog(TmForecastPage(settings, chart), SortedSystemNames(aspectarium.Names()),
                      files, parent);
  if (dialog.DoModal() != platform::kIdOk) return false;
  dialog.Page().Store(config);
  return true;
}
