// The chart information dialog (name, kind, moments, places, house and aspect systems, sidereal
// time, and each point with its house) and the planet information dialog DPlanetInfo (one point
// and its aspects in the aspects list box). A double click on a point opens its DPlanetInfo.
#pragma once

#include "astro/chart/chart.h"
#include "platform/qt/dialog.h"

class CAspectsListBox;
class QTableWidget;

class DChartInfo : public platform::Dialog {
  Q_OBJECT

 public:
  // The chart is read, never changed; it must outlive the dialog.
  explicit DChartInfo(const Chart& chart, QWidget* parent = nullptr);

  QTableWidget* InfoTable() const { return info_; }
  QTableWidget* PointTable() const { return points_; }

 private:
  void OpenPlanetInfo(int row);

  const Chart& chart_;
  QTableWidget* info_;
  QTableWidget* points_;
};

class DPlanetInfo : public platform::Dialog {
  Q_OBJECT

 public:
  static constexpr int kCapacity = 200;

  // Point 0..33 of the chart (any other number shows no aspects); the chart must outlive the
  // dialog.
  DPlanetInfo(const Chart& chart, int point, QWidget* parent = nullptr);

  CAspectsListBox* Aspects() const { return aspects_; }

 private:
  CAspectsListBox* aspects_;
};
