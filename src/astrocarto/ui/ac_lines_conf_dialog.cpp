#include "astrocarto/ui/ac_lines_conf_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

#include "foundation/config/configuration.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/messages/show_message.h"
#include "platform/core/prompter.h"
#include "platform/qt/dialog_controls.h"
#include "platform/qt/qt_text.h"

namespace {

QDoubleSpinBox* IntervalBox(QWidget* owner) {
  auto* box = new QDoubleSpinBox(owner);
  box->setDecimals(3);
  box->setRange(ACLinesListPage::kMinInterval, ACLinesListPage::kMaxInterval);
  box->setSingleStep(0.1);
  return box;
}

}  // namespace

DACLINES_CONF::DACLINES_CONF(QWidget* parent) : platform::Dialog(parent) {
  setWindowTitle(QStringLiteral("СПИСОК ГОРОДОВ - КОНФИГУРАЦИЯ"));
  auto* layout = new QVBoxLayout(this);
  auto* bodyRow = new QHBoxLayout;
  bodyRow->addWidget(new QLabel(QStringLiteral("Планета"), this));
  body_ = new QComboBox(this);
  for (int i = 0; i < ACLinesListPage::kBodyCount; ++i)
    body_->addItem(platform::ToQt(GetMessageText(kMsgPointNameFirst + i)));
  bodyRow->addWidget(body_, 1);
  layout->addLayout(bodyRow);

  auto* lineRow = new QHBoxLayout;
  const char* names[] = {"ASC", "IC", "DSC", "MC"};
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    lines_[i] = new QCheckBox(QString::fromUtf8(names[i]), this);
    lineRow->addWidget(lines_[i]);
  }
  layout->addLayout(lineRow);

  auto* grid = new QGridLayout;
  orbBefore_ = platform::NumberBox(this, ACLinesListPage::kMinOrb, ACLinesListPage::kMaxOrb);
  orbAfter_ = platform::NumberBox(this, ACLinesListPage::kMinOrb, ACLinesListPage::kMaxOrb);
  grid->addWidget(new QLabel(QStringLiteral("Орбис (до куспида)"), this), 0, 0);
  grid->addWidget(orbBefore_, 0, 1);
  grid->addWidget(new QLabel(QStringLiteral("Орбис (после куспида)"), this), 1, 0);
  grid->addWidget(orbAfter_, 1, 1);
  grid->addWidget(new QLabel(QStringLiteral("экран"), this), 2, 1);
  grid->addWidget(new QLabel(QStringLiteral("печать"), this), 2, 2);
  screenFont_ =
      platform::NumberBox(this, ACLinesListPage::kMinFontSize, ACLinesListPage::kMaxFontSize);
  printFont_ =
      platform::NumberBox(this, ACLinesListPage::kMinFontSize, ACLinesListPage::kMaxFontSize);
  screenInterval_ = IntervalBox(this);
  printInterval_ = IntervalBox(this);
  grid->addWidget(new QLabel(QStringLiteral("Размер шрифта"), this), 3, 0);
  grid->addWidget(screenFont_, 3, 1);
  grid->addWidget(printFont_, 3, 2);
  grid->addWidget(new QLabel(QStringLiteral("Интервал"), this), 4, 0);
  grid->addWidget(screenInterval_, 4, 1);
  grid->addWidget(printInterval_, 4, 2);
  layout->addLayout(grid);
  layout->addWidget(platform::DialogButtons(this, "OK", "Отменить"));
}

bool DACLINES_CONF::DoDataExchange(bool save) {
  ACLinesListPage& v = values;
  if (!save) {
    body_->setCurrentIndex(v.body);
    for (std::size_t i = 0; i < lines_.size(); ++i) lines_[i]->setChecked(v.lines[i]);
    orbBefore_->setValue(v.orbBefore);
    orbAfter_->setValue(v.orbAfter);
    screenFont_->setValue(v.screenFontSize);
    printFont_->setValue(v.printFontSize);
    screenInterval_->setValue(v.screenInterval);
    printInterval_->setValue(v.printInterval);
    return true;
  }
  v.body = std::max(0, body_->currentIndex());
  for (std::size_t i = 0; i < lines_.size(); ++i) v.lines[i] = lines_[i]->isChecked();
  v.orbBefore = orbBefore_->value();
  v.orbAfter = orbAfter_->value();
  v.screenFontSize = screenFont_->value();
  v.printFontSize = printFont_->value();
  v.screenInterval = screenInterval_->value();
  v.printInterval = printInterval_->value();
  return true;
}

bool DACLINES_CONF::CheckOk() {
  const int refusal = values.Check();
  if (refusal == 0) return true;
  ShowMessage(refusal);
  return false;
}

bool RunACLinesConf(QWidget* parent) {
  Configuration& config = GetConfiguration();
  DACLINES_CONF dialog(parent);
  dialog.values = ReadACLinesListPage(config.acLinesList);
  if (dialog.DoModal() != platform::kIdOk) return false;
  WriteACLinesListPage(dialog.values, config.acLinesList);
  return true;
}
