// The calculation page of the planet-transit settings: its choices (transiting object, target,
// mode, aspect system, aspect, orbs, classes, events, period, precision), the rules that enable
// its controls, and the checks of its OK, over a copy of the transit settings block. Qt-free: the
// page's window (DTRANSCALC) shows this state and hands the user's actions to it.
#pragma once

#include <string>
#include <vector>

#include "conditions/core/wizard_pages.h"
#include "forecast/core/transit_calculation.h"
#include "forecast/core/transit_settings.h"
#include "foundation/datetime/fdate.h"

class Aspectarium;
class AspectSystem;
class Groups;

// What the command hands to the page: the chart's kind and the date its chart is computed for;
// its time factor and the table of longest periods, which decide how long a period the search
// covers.
struct TransitChartInput {
  int kind = 0;
  int day = 1, month = 1, year = 2000;
  char era = 'A';
  double timeFactor = 1.0;  // TransitTimeFactor of the chart
  TransitPeriodTable periods = ShippedTransitPeriods();
  bool typedPeriod = false;  // the stored period is the user's own entry (a sheet shown again)
};

class TransitCalcPage {
 public:
  static constexpr int kBodyEntries = 13;  // Sun .. Chiron, Black Moon, White Moon
  static constexpr int kMaxGivenAngle = 180, kMaxConstantOrb = 20;
  static constexpr int kMinOrbGroup = 1, kMaxOrbGroup = 5, kMaxYear = 3000;

  // One entry of the target list.
  struct TargetEntry {
    int code = 0;           // a body, 34 + house, 500 or 504
    std::string groupName;  // for 500 and 504
  };

  // The page as it opens (the window's first fill): the stored values, the chart's date as the
  // start, the modes the chart's kind allows, the lists of the groups and systems. The stored end
  // stays when the search covers the period up to it (or when it is the user's own entry and not
  // before the start); otherwise the period runs a year from the start, or as far as the search
  // covers when that is less, so that it is never cut.
  TransitCalcPage(const TransitSettings& stored, const TransitChartInput& chart,
                  const Groups& groups, const Aspectarium& systems);

  const TransitSettings& Values() const { return values_; }

  // The body of transiting-list entry i (0..12), and the entries' body order.
  static int BodyOfEntry(int i);
  static int EntryOfBody(int body);  // -1 for a code that is no entry

  // Lists and selections.
  int TransitingCount() const;  // the 13 bodies and the planet groups
  int TransitingIndex() const { return transitingIndex_; }
  void ChooseTransiting(int index);
  const std::vector<TargetEntry>& TargetEntries() const { return targets_; }
  int TargetIndex() const { return targetIndex_; }
  void ChooseTarget(int index);
  bool ModeEnabled(int mode) const { return modeEnabled_[mode == 1 ? 1 : 0]; }
  void ChooseMode(int mode);
  int SystemIndex() const { return systemIndex_; }
  // An aspect system by its position among the loaded ones; message 59 (returned) for a position
  // that holds none.
  int ChooseSystem(int index);
  // The aspect list: the system's aspects, then "любой" and "заданный" (only "заданный" for a
  // system without aspects); the entries' count and the selected one.
  int AspectEntryCount() const;
  int AspectIndex() const { return aspectIndex_; }
  bool IsAnyEntry(int index) const;
  bool IsGivenEntry(int index) const;
  void ChooseAspect(int index);
  void ChooseOrbSource(int source);  // 0 constant, 1 the system's
  // Switches a class bit (0..8); clearing the last of major and minor (or exact and inexact)
  // switches the other one on.
  void SetClassBit(int bit, bool on);

  // Plain fields the window edits directly.
  TransitSettings& Edit() { return values_; }

  // Enabling rules.
  bool ClassFilterEnabled() const { return classFilter_; }
  bool GivenAngleEnabled() const { return givenAngle_; }
  bool SystemOrbEnabled() const { return systemOrbEnabled_; }
  bool ConstantOrbEnabled() const { return values_.orbSource == 0; }
  bool HouseOrbGroupEnabled() const { return values_.orbSource == 1; }
  bool ExactClassesEnabled() const { return classFilter_ && values_.orbSource == 1; }

  // The checks of OK, in order; 0 when the values are accepted (they are then complete in
  // Values()), else the message to show. The values stored before the refusing step stay.
  int Accept();
  bool Accepted() const { return accepted_; }

 private:
  static void OpenEnd(TransitSettings& v, double longestDays);
  void FillTargets();
  void FillAspects(bool keepStored);
  int AspectCount() const;
  const AspectSystem* System() const;

  TransitSettings values_;
  const Groups& groups_;
  const Aspectarium& systems_;
  bool modeEnabled_[2] = {true, true};
  int transitingIndex_ = 0;
  std::vector<TargetEntry> targets_;
  int targetIndex_ = 0;
  int systemIndex_ = 0;
  int aspectIndex_ = 0;
  bool classFilter_ = false;
  bool givenAngle_ = false;
  bool systemOrbEnabled_ = true;
  bool accepted_ = false;
};
