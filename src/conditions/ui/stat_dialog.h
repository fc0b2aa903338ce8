// The statistics parameters dialog DStat ("СТАТИСТИКА - ПАРАМЕТРЫ"): the analysis kind, its one or
// two objects, the aspect system and the options; OK stores them in the statistics settings.
#pragma once

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <array>
#include <string>
#include <vector>

#include "foundation/config/configuration.h"
#include "platform/qt/dialog.h"

class DStat : public platform::Dialog {
  Q_OBJECT

 public:
  // `systems`: the names of the program's aspect systems (code page 1251).
  DStat(std::vector<std::string> systems, QWidget* parent = nullptr);

  // In: the settings shown; out after OK: the settings chosen.
  cfg::StatisticsRecord settings;

  // Members to controls; controls to members, refused with message 59 when kind 4 or 5 names no
  // aspect system of the program.
  bool DoDataExchange(bool save) override;
  // A kind radio: its enabling applied, the first object list refilled and its first entry
  // chosen.
  void OnKind(int kind);

  // --- For the tests ---
  QButtonGroup* Kinds() const { return kinds_; }
  QComboBox* Object1() const { return object1_; }
  QComboBox* Object2() const { return object2_; }
  QComboBox* System() const { return system_; }
  QCheckBox* Minor() const { return minor_; }
  QCheckBox* Nodes() const { return nodes_; }
  QButtonGroup* PlanetSet() const { return planetSet_; }
  QCheckBox* Selected() const { return selected_; }
  QCheckBox* Fill() const { return fill_; }

 private:
  void ApplyEnabling(int kind);
  void FillObjects(QComboBox* box, const std::vector<std::string>& names, int chosen);

  QButtonGroup* kinds_;
  QComboBox* object1_;
  QComboBox* object2_;
  QComboBox* system_;
  QCheckBox* minor_;
  QCheckBox* nodes_;
  QButtonGroup* planetSet_;
  QCheckBox* selected_;
  QCheckBox* fill_;
};
