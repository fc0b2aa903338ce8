#include "conditions/ui/conf_page_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "astro/aspects/aspectarium.h"
#include "conditions/core/cfunc.h"
#include "foundation/messages/messages.h"
#include "foundation/messages/show_message.h"
#include "platform/core/prompter.h"
#include "platform/qt/dialog_controls.h"
#include "platform/qt/qt_text.h"

namespace {

void Fill(QComboBox* box, const std::vector<std::string>& names) {
  box->clear();
  for (const std::string& name : names) box->addItem(platform::ToQt(name));
}

}  // namespace

DQWIZCONFIG::DQWIZCONFIG(const CFunc& set, const QueryCondition& staged, QWidget* parent)
    : platform::Dialog(parent),
      model_(set.groups, set.Aspects().Names()),
      row_(new QComboBox(this)),
      objectSet_(new QComboBox(this)),
      houses_(new QComboBox(this)),
      apex_(new QCheckBox(QStringLiteral("в вершине"), this)),
      others_(new QCheckBox(QStringLiteral("остальные - также"), this)),
      nodes_(new QCheckBox(QStringLiteral("В том числе Лунные узлы"), this)),
      ownOrb_(new QRadioButton(QStringLiteral("постоянный"), this)),
      systemOrb_(new QRadioButton(QStringLiteral("по системе аспектов"), this)),
      orbDegrees_(new QSpinBox(this)),
      orbMinutes_(new QSpinBox(this)),
      system_(new QComboBox(this)),
      orbClass_(new QSpinBox(this)) {
  setWindowTitle(QStringLiteral("Функция \"Конфигурации аспектов\""));
  model_.Preset(staged);

  Fill(row_, model_.RowNames());
  objectSet_->addItems({QStringLiteral("Солнце - Плутон"),
                        QStringLiteral("Все, выводимые на гороскоп"), QStringLiteral("Все")});
  houses_->addItems({QStringLiteral("Никакие"), QStringLiteral("Угловые"), QStringLiteral("Все")});
  Fill(system_, model_.SystemNames());
  orbDegrees_->setRange(0, 20);
  orbMinutes_->setRange(0, 59);
  orbClass_->setRange(1, 5);

  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("Тип конфигурации"), row_);
  form->addRow(QStringLiteral("Планеты в конфигурациях"), objectSet_);
  form->addRow(QStringLiteral("Дома"), houses_);

  auto* membersBox = new QGroupBox(QStringLiteral("Планеты в вершинах"), this);
  auto* grid = new QGridLayout(membersBox);
  for (int k = 0; k < ConfPageModel::kMembers; ++k) {
    auto* box = new QComboBox(membersBox);
    Fill(box, model_.MemberNames(k));
    members_[static_cast<std::size_t>(k)] = box;
    grid->addWidget(new QLabel(QString::number(k + 1), membersBox), k, 0);
    grid->addWidget(box, k, 1);
  }
  grid->addWidget(apex_, 0, 2);
  grid->addWidget(others_, 1, 2);

  auto* orbBox = new QGroupBox(QStringLiteral("Орбис"), this);
  auto* orbGrid = new QGridLayout(orbBox);
  orbGrid->addWidget(ownOrb_, 0, 0);
  orbGrid->addWidget(orbDegrees_, 0, 1);
  orbGrid->addWidget(new QLabel(QStringLiteral(":"), orbBox), 0, 2);
  orbGrid->addWidget(orbMinutes_, 0, 3);
  orbGrid->addWidget(systemOrb_, 1, 0);
  orbGrid->addWidget(system_, 1, 1, 1, 3);
  orbGrid->addWidget(new QLabel(QStringLiteral("Группа орбисов для домов"), orbBox), 2, 0);
  orbGrid->addWidget(orbClass_, 2, 1);

  auto* buttons = platform::DialogButtons(this, "Закончить", "< Обратно");

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(membersBox);
  layout->addWidget(nodes_);
  layout->addWidget(orbBox);
  layout->addWidget(buttons);

  const auto update = [this] { UpdateEnabling(); };
  connect(row_, &QComboBox::currentIndexChanged, this, update);
  connect(others_, &QCheckBox::toggled, this, update);
  connect(ownOrb_, &QRadioButton::toggled, this, update);
}

bool DQWIZCONFIG::DoDataExchange(bool save) {
  if (save) {
    model_.row = row_->currentIndex();
    model_.objectSet = objectSet_->currentIndex();
    model_.houses = houses_->currentIndex();
    for (int k = 0; k < ConfPageModel::kMembers; ++k)
      model_.member[static_cast<std::size_t>(k)] =
          std::max(0, members_[static_cast<std::size_t>(k)]->currentIndex());
    model_.apex = apex_->isChecked();
    model_.othersToo = others_->isChecked();
    model_.nodes = nodes_->isChecked();
    model_.orbSource = ownOrb_->isChecked() ? 0 : 1;
    model_.orbDegrees = orbDegrees_->value();
    model_.orbMinutes = orbMinutes_->value();
    model_.system = system_->currentIndex();
    model_.orbClass = orbClass_->value();
    return true;
  }
  // The enabling follows the controls once they all show the model.
  loading_ = true;
  row_->setCurrentIndex(model_.row);
  objectSet_->setCurrentIndex(model_.objectSet);
  houses_->setCurrentIndex(model_.houses);
  for (int k = 0; k < ConfPageModel::kMembers; ++k)
    members_[static_cast<std::size_t>(k)]->setCurrentIndex(
        model_.member[static_cast<std::size_t>(k)]);
  apex_->setChecked(model_.apex);
  others_->setChecked(model_.othersToo);
  nodes_->setChecked(model_.nodes);
  (model_.orbSource == 0 ? ownOrb_ : systemOrb_)->setChecked(true);
  orbDegrees_->setValue(model_.orbDegrees);
  orbMinutes_->setValue(model_.orbMinutes);
  system_->setCurrentIndex(model_.system);
  orbClass_->setValue(model_.orbClass);
  loading_ = false;
  UpdateEnabling();
  return true;
}

void DQWIZCONFIG::UpdateEnabling() {
  if (loading_) return;
  model_.row = std::max(0, row_->currentIndex());
  model_.othersToo = others_->isChecked();
  model_.orbSource = ownOrb_->isChecked() ? 0 : 1;
  apex_->setEnabled(model_.ApexEnabled());
  for (int k = 0; k < ConfPageModel::kMembers; ++k)
    members_[static_cast<std::size_t>(k)]->setEnabled(model_.MemberEnabled(k));
  orbDegrees_->setEnabled(model_.OwnOrbEnabled());
  orbMinutes_->setEnabled(model_.OwnOrbEnabled());
  system_->setEnabled(model_.SystemEnabled());
  orbClass_->setEnabled(model_.SystemEnabled());
}

bool DQWIZCONFIG::CheckOk() {
  if (const int message = model_.Check(); message != 0) {
    ShowMessage(message);
    return false;
  }
  words = model_.Words();
  return true;
}
