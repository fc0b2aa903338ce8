// The controls the lunar-transit and the life-point calculation pages share: which planets and
// houses the aspects go to, which phases of an aspect are listed, which aspects are taken and
// with what orb group for the planets. Each builder creates the controls on `page` and adds them
// to the layout it is given; the values stay with the page's own exchange.
#pragma once

class QBoxLayout;
class QButtonGroup;
class QCheckBox;
class QGridLayout;
class QSpinBox;
class QWidget;

struct AspectTargetControls {
  QButtonGroup* planets = nullptr;  // none, Sun - Pluto, those on the chart, all
  QCheckBox* nodes = nullptr;       // the lunar nodes as well
  QButtonGroup* houses = nullptr;   // none, Ascendant, MC, the angles, all
  QSpinBox* houseOrbGroup = nullptr;
};
// The boxes "К планетам" and "К домам", at (row, 0) and (row, 1) of `grid`; the house orb group
// limited to lowOrbGroup..highOrbGroup.
AspectTargetControls AddAspectTargets(QWidget* page, QGridLayout* grid, int row, int lowOrbGroup,
                                      int highOrbGroup);

struct AspectPhaseControls {
  QCheckBox* entering = nullptr;
  QCheckBox* exact = nullptr;
  QCheckBox* leaving = nullptr;
  QCheckBox* ingresses = nullptr;
};
// The box "Фазы" at (row, column) of `grid`.
AspectPhaseControls AddAspectPhases(QWidget* page, QGridLayout* grid, int row, int column);

struct AspectOrbControls {
  QButtonGroup* aspects = nullptr;  // conjunctions, major, all
  QButtonGroup* orbMode = nullptr;  // 0 one group for every planet, 1 each planet its own
  QSpinBox* planetOrbGroup = nullptr;
};
// The aspect choice and the planets' orb mode added to `layout`; `ownGroupText` (UTF-8) names
// the choice "each planet its own group".
AspectOrbControls AddAspectOrbChoices(QWidget* page, QBoxLayout* layout, const char* ownGroupText,
                                      int lowOrbGroup, int highOrbGroup);
