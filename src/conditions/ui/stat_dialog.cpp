#include "conditions/ui/stat_dialog.h"

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <algorithm>

#include "astro/aspects/aspect_system.h"
#include "astro/chart/chart_context.h"
#include "conditions/core/stat_params.h"
#include "conditions/core/statistic.h"
#include "foundation/messages/messages.h"
#include "foundation/messages/show_message.h"
#include "platform/core/prompter.h"
#include "platform/qt/dialog_controls.h"
#include "platform/qt/qt_text.h"

DStat::DStat(std::vector<std::string> systems, QWidget* parent)
    : platform::Dialog(parent),
      object1_(new QComboBox(this)),
      object2_(new QComboBox(this)),
      system_(platform::NameBox(this, AspectSystem::kMaxNameLength, systems)),
      minor_(new QCheckBox(QStringLiteral("Учитывать минорные аспекты"), this)),
      nodes_(new QCheckBox(QStringLiteral("Включая Лунные узлы"), this)),
      selected_(new QCheckBox(QStringLiteral("Выделенные записи"), this)),
      fill_(new QCheckBox(QStringLiteral("Закрашивать столбцы"), this)) {
  setWindowTitle(QStringLiteral("СТАТИСТИКА - ПАРАМЕТРЫ"));
  auto* layout = new QHBoxLayout(this);
  auto* left = new QVBoxLayout;
  QBoxLayout* kindBox = nullptr;
  left->addWidget(platform::Box(this, "Тип статистического анализа", kindBox));
  kinds_ =
      platform::AddChoices(this, kindBox,
                           {"Планета в знаке", "Планета в доме", "Планета в знаке и доме",
                            "Куспид дома в знаке", "Аспект двух планет",
                            "Количество аспектов у планеты", "Количество планет в знаке или доме"});
  left->addWidget(selected_);
  left->addWidget(fill_);
  left->addStretch(1);

  auto* right = new QVBoxLayout;
  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("Планета 1"), object1_);
  form->addRow(QStringLiteral("Планета 2"), object2_);
  form->addRow(QStringLiteral("Система аспектов"), system_);
  right->addLayout(form);
  right->addWidget(minor_);
  QBoxLayout* setBox = nullptr;
  right->addWidget(platform::Box(this, "Планеты", setBox));
  planetSet_ =
      platform::AddChoices(this, setBox, {"Солнце - Плутон", "Все, выводимые на гороскоп", "Все"});
  right->addWidget(nodes_);
  right->addStretch(1);
  right->addWidget(platform::DialogButtons(this, "OK", "Отмена"));
  layout->addLayout(left);
  layout->addLayout(right);

  FillObjects(object2_, StatSecondObjectNames(), 0);
  connect(kinds_, &QButtonGroup::idClicked, this, [this](int kind) { OnKind(kind); });
}

void DStat::FillObjects(QComboBox* box, const std::vector<std::string>& names, int chosen) {
  box->clear();
  for (const std::string& name : names) box->addItem(platform::ToQt(name));
  box->setCurrentIndex(StatListSelection(chosen, box->count()));
}

void DStat::ApplyEnabling(int kind) {
  const StatEnabling on = StatEnablingOf(kind);
  object2_->setEnabled(on.planet2);
  system_->setEnabled(on.aspectSystem);
  minor_->setEnabled(on.minorAspects);
  for (QAbstractButton* button : planetSet_->buttons()) button->setEnabled(on.planetSet);
  nodes_->setEnabled(on.nodes);
}

void DStat::OnKind(int kind) {
  platform::Check(kinds_, kind);
  ApplyEnabling(kind);
  FillObjects(object1_, StatObjectNames(kind), 0);
}

bool DStat::DoDataExchange(bool save) {
  if (!save) {
    const int kind = std::clamp<int>(settings.kind, 0, kStatKindCount - 1);
    platform::Check(kinds_, kind);
    minor_->setChecked(settings.minorAspects != 0);
    nodes_->setChecked(settings.nodes != 0);
    platform::Check(planetSet_, std::clamp<int>(settings.planetSet, 0, 2));
    selected_->setChecked(settings.selectedRecords != 0);
    fill_->setChecked(settings.fill != 0);
    ApplyEnabling(kind);
    FillObjects(object1_, StatObjectNames(kind), settings.object1);
    object2_->setCurrentIndex(StatListSelection(settings.object2, object2_->count()));
    system_->setEditText(platform::ToQt(settings.aspectSystem));
    return true;
  }
  cfg::StatisticsRecord chosen = settings;
  chosen.kind = platform::Checked(kinds_, 0);
  chosen.object1 = std::max(0, object1_->currentIndex());
  chosen.object2 = std::max(0, object2_->currentIndex());
  chosen.minorAspects = minor_->isChecked() ? 1 : 0;
  chosen.nodes = nodes_->isChecked() ? 1 : 0;
  chosen.planetSet = platform::Checked(planetSet_, 0);
  chosen.selectedRecords = selected_->isChecked() ? 1 : 0;
  chosen.fill = fill_->isChecked() ? 1 : 0;
  chosen.aspectSystem = platform::FromQt(system_->currentText().trimmed());
  if (const int refusal = CheckStatParams(chosen, ChartContext::FromCurrentSettings())) {
    ShowMessage(refusal);
    system_->setFocus();
    return false;
  }
  settings = chosen;
  return true;
}
