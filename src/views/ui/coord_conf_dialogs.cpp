#include "views/ui/coord_conf_dialogs.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "foundation/config/configuration.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/messages/show_message.h"
#include "platform/core/prompter.h"
#include "platform/qt/dialog_controls.h"
#include "platform/qt/measuring_dc.h"
#include "platform/qt/qt_text.h"

namespace {

constexpr double kPaperDpi = 600.0;

void FillList(QListWidget* list, const std::vector<std::string>& names, int selected) {
  list->clear();
  for (const std::string& name : names) list->addItem(platform::ToQt(name));
  if (selected >= 0 && selected < list->count()) list->setCurrentRow(selected);
}

}  // namespace

CoordConfPage::CoordConfPage(const COORD_CONF& layout, bool screen, QWidget* parent)
    : platform::PropertyPage(parent), screen_(screen) {
  model_.layout = layout;
  model_.Clamp();
  auto* layoutBox = new QGridLayout(this);
  candidates_ = new QListWidget(this);
  rows_ = new QListWidget(this);
  show_ = new QPushButton(QStringLiteral(">>>>>"), this);
  hide_ = new QPushButton(QStringLiteral("Удалить"), this);
  up_ = new QPushButton(QStringLiteral("Вверх"), this);
  down_ = new QPushButton(QStringLiteral("Вниз"), this);
  font_ = platform::NumberBox(this, coords::kMinFontSize, coords::kMaxFontSize);
  step_ = platform::NumberBox(this, 0, coords::kMaxLineStep);

  auto* buttons = new QVBoxLayout;
  buttons->addStretch();
  for (QPushButton* button : {show_, hide_, up_, down_}) buttons->addWidget(button);
  buttons->addStretch();
  layoutBox->addWidget(candidates_, 0, 0);
  layoutBox->addLayout(buttons, 0, 1);
  layoutBox->addWidget(rows_, 0, 2);

  auto* fields = new QGridLayout;
  fields->addWidget(new QLabel(QStringLiteral("Размер шрифта"), this), 0, 0);
  fields->addWidget(font_, 0, 1);
  fields->addWidget(new QLabel(QStringLiteral("Интервал"), this), 1, 0);
  fields->addWidget(step_, 1, 1);
  if (screen_) {
    width_ = platform::NumberBox(this, coords::kMinWidth, coords::kMaxWidth);
    fields->addWidget(new QLabel(QStringLiteral("Ширина (число колонок)"), this), 2, 0);
    fields->addWidget(width_, 2, 1);
    auto* fitLayout = new QHBoxLayout;
    fit_ = platform::AddChoiceBox(this, fitLayout, "Размеры шрифта",
                                  {"Постоянные", "Зависят от размеров окна"});
    fields->addLayout(fitLayout, 0, 2, 3, 1);
  } else {
    check_ = new QPushButton(QStringLiteral("Проверить размеры"), this);
    fields->addWidget(check_, 0, 2);
    connect(check_, &QPushButton::clicked, this, [this] { CheckSize(); });
  }
  layoutBox->addLayout(fields, 1, 0, 1, 3);

  connect(show_, &QPushButton::clicked, this,
          [this] { Act(&coords::CoordConfPage::ShowSelected); });
  connect(hide_, &QPushButton::clicked, this,
          [this] { Act(&coords::CoordConfPage::HideSelected); });
  connect(up_, &QPushButton::clicked, this,
          [this] { Act(&coords::CoordConfPage::MoveSelectedUp); });
  connect(down_, &QPushButton::clicked, this,
          [this] { Act(&coords::CoordConfPage::MoveSelectedDown); });
  Refill();
}

void CoordConfPage::Refill() {
  FillList(candidates_, model_.CandidateNames(), model_.candidate);
  FillList(rows_, model_.RowNames(), model_.row);
}

void CoordConfPage::Act(bool (coords::CoordConfPage::*action)()) {
  model_.candidate = candidates_->currentRow();
  model_.row = rows_->currentRow();
  if ((model_.*action)()) Refill();
}

void CoordConfPage::CheckSize() {
  DoDataExchange(true);
  platform::MeasuringDc paper(kPaperDpi, true, platform::MapMode::HiMetric);
  const int message = model_.CheckPrintSize(paper.dc());
  ShowMessage(message,
              message == kMsgSizeFits ? platform::Icon::Information : platform::Icon::Warning);
}

bool CoordConfPage::DoDataExchange(bool save) {
  COORD_CONF& layout = model_.layout;
  if (!save) {
    font_->setValue(layout.fontSize);
    step_->setValue(layout.lineStep);
    if (screen_) {
      width_->setValue(layout.width);
      platform::Check(fit_, layout.fitToWindow);
    }
    return true;
  }
  layout.fontSize = font_->value();
  layout.lineStep = step_->value();
  if (screen_) {
    layout.width = static_cast<std::int16_t>(width_->value());
    layout.fitToWindow = static_cast<std::uint8_t>(platform::Checked(fit_, 0));
  }
  model_.Clamp();
  return true;
}

CoordConfSheet::CoordConfSheet(QWidget* parent)
    : platform::PropertySheet(QStringLiteral("Координаты"), parent) {}

bool RunCoordConfSheet(Configuration& config, QWidget* parent) {
  // The layouts as last entered: a sheet is built anew over them, and they reach the
  // configuration only after OK.
  COORD_CONF screen = config.screenCoords, print = config.printCoords;
  CoordConfSheet* shown = nullptr;
  const auto make = [&]() -> std::unique_ptr<platform::PropertySheet> {
    auto sheet = std::make_unique<CoordConfSheet>(parent);
    sheet->screen = new CoordConfPage(screen, true);
    sheet->print = new CoordConfPage(print, false);
    sheet->AddPage(sheet->screen, QStringLiteral("ЭКРАН"));
    sheet->AddPage(sheet->print, QStringLiteral("ПЕЧАТЬ"));
    shown = sheet.get();
    return sheet;
  };
  const auto check = [&](platform::PropertySheet&) {
    screen = shown->screen->Layout();
    print = shown->print->Layout();
    return true;
  };
  const auto commit = [&] {
    config.screenCoords = screen;
    config.printCoords = print;
  };
  return platform::RunSettingsSheet(make, check, commit) == platform::kIdOk;
}
