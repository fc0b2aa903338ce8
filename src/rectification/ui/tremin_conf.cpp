#include "rectification/ui/tremin_conf.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

#include "astro/aspects/aspectarium.h"
#include "forecast/ui/lunar_trans_pages.h"
#include "foundation/config/configuration.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/messages/show_message.h"
#include "platform/core/prompter.h"
#include "platform/qt/dialog_controls.h"
#include "platform/qt/qt_text.h"
#include "rectification/core/life_event_list.h"
#include "rectification/core/rect_setup_pages.h"

namespace {

using platform::AddChoices;
using platform::Box;
using platform::Check;
using platform::Checked;
using platform::NumberBox;

QComboBox* SystemBox(QWidget* owner, const std::vector<std::string>& names) {
  return platform::NameBox(owner, kSystemNameReadWidth, names);
}

}  // namespace

DTreminRectConf::DTreminRectConf(const TreminConfPage& page,
                                 const std::vector<std::string>& sortedNames,
                                 const TreminEventFiles& files, QWidget* parent)
    : platform::PropertyPage(parent), page_(page) {
  auto* grid = new QGridLayout(this);
  events_ = new TreminEventsPanel(files, 1, page_.sortByDate, page_.sortByText, this);
  grid->addWidget(events_, 0, 0, 1, 2);

  auto* interval = new QGroupBox(QStringLiteral("Возможный интервал рождения"), this);
  auto* rows = new QGridLayout(interval);
  // Day, month, year, hour, minute on the screen; the words are year, month, day, hour, minute.
  static constexpr std::array<int, 5> kWordOfColumn{2, 1, 0, 3, 4};
  static constexpr std::array<std::array<int, 2>, 5> kRange{
      {{TreminConfPage::kYearMin, TreminConfPage::kYearMax}, {1, 12}, {1, 31}, {0, 23}, {0, 59}}};
  for (int r = 0; r < 2; ++r) {
    rows->addWidget(new QLabel(r == 0 ? QStringLiteral("От") : QStringLiteral("До"), interval), r,
                    0);
    auto& boxes = r == 0 ? begin_ : end_;
    for (int c = 0; c < 5; ++c) {
      const auto w = static_cast<std::size_t>(kWordOfColumn[static_cast<std::size_t>(c)]);
      boxes[w] = NumberBox(interval, kRange[w][0], kRange[w][1]);
      rows->addWidget(boxes[w], r, c + 1);
    }
  }
  auto* stepRow = new QHBoxLayout;
  stepRow->addWidget(new QLabel(QStringLiteral("Точность расчета"), interval));
  step_ = new QComboBox(interval);
  for (int i = 0; i < kTreminStepCount; ++i)
    step_->addItem(platform::ToQt(GetMessageText(kMsgTreminStepFirst + i)));
  stepRow->addWidget(step_, 1);
  rows->addLayout(stepRow, 2, 0, 1, 6);
  grid->addWidget(interval, 1, 0);

  auto* systems = new QGroupBox(QStringLiteral("Системы аспектов"), this);
  auto* systemRows = new QGridLayout(systems);
  applying_ = SystemBox(systems, sortedNames);
  separating_ = SystemBox(systems, sortedNames);
  systemRows->addWidget(new QLabel(QStringLiteral("Для сходящихся аспектов"), systems), 0, 0);
  systemRows->addWidget(applying_, 0, 1);
  systemRows->addWidget(new QLabel(QStringLiteral("Для расходящихся аспектов"), systems), 1, 0);
  systemRows->addWidget(separating_, 1, 1);
  oneRuler_ = new QCheckBox(QStringLiteral("Учитывать только один управитель"), systems);
  oneRuler_->setVisible(false);
  oneRuler_->setEnabled(false);
  systemRows->addWidget(oneRuler_, 2, 0, 1, 2);
  grid->addWidget(systems, 1, 1);

  QBoxLayout* orderLayout = nullptr;
  QGroupBox* result = Box(this, "Упорядочить результат", orderLayout);
  order_ = AddChoices(this, orderLayout, {"по времени", "по баллам"});
  grid->addWidget(result, 2, 0);
  auto* scoreRow = new QHBoxLayout;
  scoreRow->addWidget(new QLabel(QStringLiteral("Показывать результат не менее"), this));
  minimumScore_ = NumberBox(this, 0, TreminConfPage::kMinimumScoreMax);
  scoreRow->addWidget(minimumScore_);
  scoreRow->addWidget(new QLabel(QStringLiteral("баллов"), this));
  scoreRow->addStretch();
  grid->addLayout(scoreRow, 2, 1);
}

bool DTreminRectConf::DoDataExchange(bool save) {
  if (!save) {
    for (std::size_t w = 0; w < 5; ++w) {
      begin_[w]->setValue(page_.interval.start[w]);
      end_[w]->setValue(page_.interval.end[w]);
    }
    step_->setCurrentIndex(page_.step);
    applying_->setEditText(platform::ToQt(page_.applying));
    separating_->setEditText(platform::ToQt(page_.separating));
    oneRuler_->setChecked(page_.oneRulerOnly);
    Check(order_, page_.resultOrder);
    minimumScore_->setValue(page_.minimumScore);
    return true;
  }
  // The boxes hold only values of their ranges; the dates are checked by OK.
  for (std::size_t w = 0; w < 5; ++w) {
    page_.interval.start[w] = begin_[w]->value();
    page_.interval.end[w] = end_[w]->value();
  }
  page_.step = std::max(0, step_->currentIndex());
  page_.applying = platform::FromQt(applying_->currentText()).substr(0, kSystemNameReadWidth);
  page_.separating = platform::FromQt(separating_->currentText()).substr(0, kSystemNameReadWidth);
  page_.oneRulerOnly = oneRuler_->isChecked();
  page_.resultOrder = Checked(order_, 0);
  page_.minimumScore = minimumScore_->value();
  page_.sortByDate = events_->SortByDate();
  page_.sortByText = events_->SortByText();
  return true;
}

TreminSheet::TreminSheet(QWidget* parent)
    : CheckedSheet(platform::ToQt(GetMessageText(kMsgTreminSheetTitle)), parent) {}

bool RunTreminRectSheet(Configuration& config, const Aspectarium& aspectarium,
                        const TreminEventFiles& files, const Moment& birth, QWidget* parent) {
  if (files.events == nullptr) return false;
  const std::vector<std::string> names = SortedSystemNames(aspectarium.Names());
  TreminConfPage pendingPage(config, birth);
  cfg::ByteBlock pendingBlock = config.treminSettings;
  DTreminRectConf* page = nullptr;
  DLunarTransInterf* display = nullptr;
  const auto make = [&]() -> std::unique_ptr<CheckedSheet> {
    auto sheet = std::make_unique<TreminSheet>(parent);
    page = new DTreminRectConf(pendingPage, names, files);
    display = new DLunarTransInterf(DisplayBlock::kTremin, pendingBlock);
    sheet->AddPage(page, QStringLiteral("РАСЧЕТЫ"));
    sheet->AddPage(display, QStringLiteral("ИНТЕРФЕЙС"));
    return sheet;
  };
  const auto check = [&](platform::PropertySheet&) {
    pendingPage = page->Page();
    display->Store(pendingBlock);
    platform::Prompter& prompter = platform::GetPrompter();
    std::vector<std::string> told;
    const bool usable = pendingPage.CheckSystems(names, told);
    // The open sheet shows the names put in place of those typed.
    page->Page().applying = pendingPage.applying;
    page->Page().separating = pendingPage.separating;
    page->DoDataExchange(false);
    for (const std::string& text : told)
      prompter.ShowMessage(kMsgAspectSystemNotFound, text, platform::Icon::Warning);
    if (!usable) return false;
    const int refused = pendingPage.CheckRun(*files.events, birth);
    if (refused != 0 && refused != TreminConfPage::kAskEventsBeforeBirth) {
      ShowMessage(refused);
      return false;
    }
    if (const LifeEvent* e = TreminConfPage::EventWithoutHouses(*files.events))
      prompter.ShowMessage(kMsgTreminEventWithoutHouses, TreminConfPage::WithoutHousesText(*e),
                           platform::Icon::Warning);
    return refused != TreminConfPage::kAskEventsBeforeBirth ||
           prompter.AskYesNo(kMsgTreminEventsBeforeBirth,
                             GetMessageText(kMsgTreminEventsBeforeBirth)) == platform::Answer::Yes;
  };
  const auto commit = [&] {
    config.treminSettings = pendingBlock;
    pendingPage.Store(config);
  };
  return RunCheckedSheet(make, check, commit) == platform::kIdOk;
}
