#include "shell/entry/chart_info_dialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <cstdio>

#include "astro/aspects/aspectarium.h"
#include "document/aspects_list_box.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "platform/qt/qt_text.h"
#include "shell/core/entry/chart_information.h"

namespace {

QTableWidget* MakeTable(QWidget* parent, const QStringList& headers, int rows) {
  auto* table = new QTableWidget(rows, static_cast<int>(headers.size()), parent);
  table->setHorizontalHeaderLabels(headers);
  table->verticalHeader()->hide();
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->horizontalHeader()->setStretchLastSection(true);
  return table;
}

void SetCell(QTableWidget* table, int row, int column, const std::string& cp1251) {
  table->setItem(row, column, new QTableWidgetItem(platform::ToQt(cp1251)));
}

QDialogButtonBox* CloseButton(platform::Dialog* dialog) {
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, dialog);
  buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
  QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &platform::Dialog::accept);
  return buttons;
}

// The chart's aspect system: the one it names when loaded, else the current one.
const AspectSystem* SystemOf(const Chart& chart) {
  Aspectarium& all = GetAspectarium();
  if (const AspectSystem* named = all.FindSystem(chart.definition.AspectSystemName())) return named;
  return all.GetCurrentSystem();
}

}  // namespace

DChartInfo::DChartInfo(const Chart& chart, QWidget* parent)
    : platform::Dialog(parent), chart_(chart) {
  setWindowTitle(QStringLiteral("Информация о гороскопе"));
  auto* layout = new QVBoxLayout(this);
  const std::vector<ChartInfoRow> rows = ChartInfoRows(chart);
  info_ = MakeTable(this, {QString(), QString()}, static_cast<int>(rows.size()));
  info_->horizontalHeader()->hide();
  for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
    SetCell(info_, r, 0, rows[static_cast<std::size_t>(r)].label);
    SetCell(info_, r, 1, rows[static_cast<std::size_t>(r)].value);
  }
  info_->resizeColumnToContents(0);
  layout->addWidget(info_);

  const std::vector<PointHouseRow> points = PointHouseRows(chart);
  const std::vector<ChartInfoRow> angles = AngleCuspRows(chart);
  points_ = MakeTable(this,
                      {QStringLiteral("Точка"), QStringLiteral("Долгота"), QStringLiteral("R"),
                       QStringLiteral("Дом")},
                      static_cast<int>(points.size() + angles.size()));
  for (int r = 0; r < static_cast<int>(points.size()); ++r) {
    const PointHouseRow& p = points[static_cast<std::size_t>(r)];
    SetCell(points_, r, 0, p.name);
    points_->item(r, 0)->setData(Qt::UserRole, p.point);
    SetCell(points_, r, 1, p.longitude);
    SetCell(points_, r, 2, p.status == 'R' ? "R" : "");
    SetCell(points_, r, 3, HouseNumeral(p.house));
  }
  // The angles and the cusps follow the points; they have no aspects to show.
  for (std::size_t k = 0; k < angles.size(); ++k) {
    const int r = static_cast<int>(points.size() + k);
    SetCell(points_, r, 0, angles[k].label);
    points_->item(r, 0)->setData(Qt::UserRole, -1);
    SetCell(points_, r, 1, angles[k].value);
  }
  points_->resizeColumnsToContents();
  points_->setToolTip(QStringLiteral("Двойной щелчок: аспекты точки"));
  connect(points_, &QTableWidget::cellDoubleClicked, this, &DChartInfo::OpenPlanetInfo);
  layout->addWidget(points_);
  layout->addWidget(CloseButton(this));
  resize(560, 640);
}

void DChartInfo::OpenPlanetInfo(int row) {
  const QTableWidgetItem* item = points_->item(row, 0);
  if (item == nullptr || item->data(Qt::UserRole).toInt() < 0) return;
  DPlanetInfo info(chart_, item->data(Qt::UserRole).toInt(), this);
  info.DoModal();
}

DPlanetInfo::DPlanetInfo(const Chart& chart, int point, QWidget* parent)
    : platform::Dialog(parent) {
  if (point >= 0) setWindowTitle(platform::ToQt(GetMessageText(kMsgPointNameFirst + point)));
  auto* layout = new QVBoxLayout(this);
  const PointRecord p = point >= 0 && point < kChartPointCount
                            ? chart.points[static_cast<std::size_t>(point)]
                            : PointRecord();
  char speed[32];
  std::snprintf(speed, sizeof speed, "%+.4f", p.speed);
  const int house = p.longitude.IsSet() ? chart.HouseOf(p.longitude.Get()) + 1 : 0;
  std::string header = LongitudeInSignText(p.longitude.Get());
  if (house > 0) header += "   " + HouseNumeral(house);
  header += std::string("   ") + speed + (p.status == 'R' ? "  R" : "");
  layout->addWidget(new QLabel(platform::ToQt(header), this));

  aspects_ = new CAspectsListBox(this);
  // Shown: both objects, the aspect, the motion, the arc and the orb.
  const std::array<int, kAspectListColumns> positions = {0, 1, 2, -1, 3, -1, -1, 4, 5, -1, -1};
  const std::array<double, kAspectListColumns> widths = {1.5, 1.5, 1.0, 1.5, 1.5, 1.5,
                                                         1.5, 4.0, 3.0, 8.0, 4.0};
  const AspectSystem* system = SystemOf(chart);
  aspects_->Init(kCapacity, positions, system, &widths);
  if (system != nullptr)
    for (const AspectListItem& item : PointAspects(chart, point, *system))
      if (!aspects_->InsertItem(item, 2)) break;
  aspects_->ShowItems();
  layout->addWidget(aspects_);
  layout->addWidget(CloseButton(this));
  resize(420, 360);
}
