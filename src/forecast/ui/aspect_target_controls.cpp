#include "forecast/ui/aspect_target_controls.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>

#include "platform/qt/dialog_controls.h"

using platform::AddChoices;
using platform::Box;
using platform::NumberBox;

AspectTargetControls AddAspectTargets(QWidget* page, QGridLayout* grid, int row, int lowOrbGroup,
                                      int highOrbGroup) {
  AspectTargetControls c;
  QBoxLayout* layout = nullptr;
  QGroupBox* planetsBox = Box(page, "К планетам", layout);
  c.planets = AddChoices(
      page, layout, {"ни к каким", "Солнце - Плутон", "ко всем, выводимым на гороскоп", "ко всем"});
  c.nodes = new QCheckBox(QStringLiteral("В том числе к Лунным узлам"), page);
  layout->addWidget(c.nodes);
  grid->addWidget(planetsBox, row, 0);

  QGroupBox* housesBox = Box(page, "К домам", layout);
  c.houses = AddChoices(page, layout, {"ни к каким", "к Асценденту", "к МС", "к углам", "ко всем"});
  auto* houseOrbRow = new QHBoxLayout;
  houseOrbRow->addWidget(new QLabel(QStringLiteral("Группа орбисов для домов"), page));
  c.houseOrbGroup = NumberBox(page, lowOrbGroup, highOrbGroup);
  houseOrbRow->addWidget(c.houseOrbGroup);
  houseOrbRow->addStretch();
  layout->addLayout(houseOrbRow);
  grid->addWidget(housesBox, row, 1);
  return c;
}

AspectPhaseControls AddAspectPhases(QWidget* page, QGridLayout* grid, int row, int column) {
  AspectPhaseControls c;
  QBoxLayout* layout = nullptr;
  QGroupBox* phasesBox = Box(page, "Фазы", layout);
  c.entering = new QCheckBox(QStringLiteral("Вхождение в орбис"), page);
  c.exact = new QCheckBox(QStringLiteral("Точный аспект"), page);
  c.leaving = new QCheckBox(QStringLiteral("Выход из орбиса"), page);
  c.ingresses = new QCheckBox(QStringLiteral("Учитывать ингрессии"), page);
  for (QCheckBox* box : {c.entering, c.exact, c.leaving, c.ingresses}) layout->addWidget(box);
  grid->addWidget(phasesBox, row, column);
  return c;
}

AspectOrbControls AddAspectOrbChoices(QWidget* page, QBoxLayout* layout, const char* ownGroupText,
                                      int lowOrbGroup, int highOrbGroup) {
  AspectOrbControls c;
  c.aspects = AddChoices(page, layout, {"соединения", "мажорные", "все"});
  c.orbMode = new QButtonGroup(page);
  auto* orbRow = new QHBoxLayout;
  auto* fixed = new QRadioButton(QStringLiteral("всегда  по группе "), page);
  auto* own = new QRadioButton(QString::fromUtf8(ownGroupText), page);
  c.orbMode->addButton(fixed, 0);
  c.orbMode->addButton(own, 1);
  c.planetOrbGroup = NumberBox(page, lowOrbGroup, highOrbGroup);
  orbRow->addWidget(fixed);
  orbRow->addWidget(c.planetOrbGroup);
  orbRow->addStretch();
  layout->addLayout(orbRow);
  layout->addWidget(own);
  return c;
}
