#include "views/ui/midpoints_dialogs.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "document/aspects_list_box.h"
#include "foundation/drawing/font_fitting.h"
#include "foundation/drawing/glyph_drawing.h"
#include "foundation/drawing/longitude_drawing.h"
#include "platform/qt/dialog_controls.h"
#include "platform/qt/qt_dc.h"
#include "views/core/aspect_table.h"

namespace {

constexpr int kHeadingHeight = 44;  // pixels above the list
constexpr int kHeadingFirstSize = 5000;

// The glyph of a table point: a chart point, or the cusp of houses X..XII, I..III.
char TablePointGlyph(int point) {
  if (point < AspectTable::kFirstCuspPoint) return glyphs::Point(point);
  return glyphs::Cusp((point - AspectTable::kFirstCuspPoint + 9) % 12);
}

}  // namespace

DMPAList::DMPAList(QWidget* parent) : platform::Dialog(parent) {
  setWindowTitle(QStringLiteral("АСПЕКТЫ К МИДПОЙНТУ"));
  auto* layout = new QVBoxLayout(this);
  layout->addSpacing(kHeadingHeight);
  list_ = new CAspectsListBox(this);
  list_->setObjectName(QString::number(kIdcMidpointAspectList));
  layout->addWidget(list_);
  auto* ok = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  connect(ok, &QDialogButtonBox::accepted, this, &DMPAList::accept);
  layout->addWidget(ok);
  resize(260, 320);
}

void DMPAList::OnInitDialog() {
  list_->ShowItems();
  const tables::Spot at = tables::PlaceAtClick({click.x() - area.left(), click.y() - area.top()},
                                               width(), height(), area.width(), area.height());
  PlaceAt(QPoint(area.left() + at.x, area.top() + at.y));
}

void DMPAList::paintEvent(QPaintEvent* event) {
  platform::Dialog::paintEvent(event);
  QPainter painter(this);
  platform::QtDc dc(painter, false);
  dc.SetMapMode(platform::MapMode::Text);
  const int size = FitFontHeight(dc, platform::kTextFace, kHeadingFirstSize, kHeadingHeight - 8);
  if (size <= 0) return;
  dc.SetTextColor(platform::kBlack);
  dc.SetBkMode(platform::BkMode::Transparent);
  dc.SetTextAlign(platform::TextAlign::kLeft | platform::TextAlign::kTop);
  const int y = 6;
  int x = 12;
  x +=
      DrawGlyphText(dc, x, y, TablePointGlyph(point1), 'a', size, platform::BkMode::Transparent).cx;
  const platform::Font old = dc.SelectFont({std::string(platform::kTextFace), size});
  dc.TextOut(x, y, " + ");
  x += dc.GetTextExtent(" + ").cx;
  const int space = dc.GetTextExtent(" ").cx;
  dc.SelectFont(old);
  x +=
      DrawGlyphText(dc, x, y, TablePointGlyph(point2), 'a', size, platform::BkMode::Transparent).cx;
  DrawLongitudeGlyph(dc, size, longitude, x + space, y, longitudeLayout);
}

DMIDPOINTS_PRINT::DMIDPOINTS_PRINT(QWidget* parent) : platform::Dialog(parent) {
  setWindowTitle(QStringLiteral("Печать мидпойнтов - конфигурация"));
  auto* layout = new QVBoxLayout(this);
  auto* forms = new QButtonGroup(this);
  grid_ = new QRadioButton(QStringLiteral("Печатать в виде таблицы"), this);
  list_ = new QRadioButton(QStringLiteral("Печатать в виде списка"), this);
  forms->addButton(grid_, tables::kPrintAsGrid);
  forms->addButton(list_, tables::kPrintAsList);
  layout->addWidget(grid_);

  auto* frame = new QGroupBox(QStringLiteral(" На той же странице печатать "), this);
  auto* frameLayout = new QVBoxLayout(frame);
  auto* same = new QButtonGroup(this);
  const QString labels[3] = {QStringLiteral("Таблицу аспектов"),
                             QStringLiteral("Планетные часы и пр."),
                             QStringLiteral("Ничего не надо")};
  for (int i = 0; i < 3; ++i) {
    same_[static_cast<std::size_t>(i)] = new QRadioButton(labels[i], frame);
    same->addButton(same_[static_cast<std::size_t>(i)], i);
    frameLayout->addWidget(same_[static_cast<std::size_t>(i)]);
  }
  layout->addWidget(frame);
  layout->addWidget(list_);

  const auto spin = [this, layout](const QString& label, int low, int high) {
    layout->addWidget(new QLabel(label, this));
    auto* box = new QSpinBox(this);
    box->setRange(low, high);
    layout->addWidget(box);
    return box;
  };
  fontSize_ = spin(QStringLiteral("Размер шрифта"), tables::kMidpointListFontMin,
                   tables::kMidpointListFontMax);
  interval_ = spin(QStringLiteral("Интервал"), tables::kMidpointListIntervalMin,
                   tables::kMidpointListIntervalMax);
  auto* charts = new QButtonGroup(this);
  chart_[0] = new QRadioButton(QStringLiteral("аспекты к планетам данного гороскопа"), this);
  chart_[1] = new QRadioButton(QStringLiteral("аспекты к планетам внешнего гороскопа"), this);
  for (int i = 0; i < 2; ++i) {
    charts->addButton(chart_[static_cast<std::size_t>(i)], i);
    layout->addWidget(chart_[static_cast<std::size_t>(i)]);
  }
  layout->addWidget(platform::DialogButtons(this, "OK", "Отменить"));
  connect(forms, &QButtonGroup::idClicked, this, [this](int form) {
    model.printForm = form;
    Enable();
  });
}

void DMIDPOINTS_PRINT::OnInitDialog() {
  DoDataExchange(false);
  Enable();
}

void DMIDPOINTS_PRINT::Enable() {
  for (QRadioButton* r : same_) r->setEnabled(model.SamePageEnabled());
  fontSize_->setEnabled(model.ListFieldsEnabled());
  interval_->setEnabled(model.ListFieldsEnabled());
  for (QRadioButton* r : chart_) r->setEnabled(model.ListChartEnabled());
}

bool DMIDPOINTS_PRINT::DoDataExchange(bool save) {
  if (!save) {
    Form(model.printForm)->setChecked(true);
    SamePage(model.samePage)->setChecked(true);
    fontSize_->setValue(model.fontSize);
    interval_->setValue(model.interval);
    ListChart(model.listChart)->setChecked(true);
    return true;
  }
  model.printForm = list_->isChecked() ? tables::kPrintAsList : tables::kPrintAsGrid;
  for (int i = 0; i < 3; ++i)
    if (SamePage(i)->isChecked()) model.samePage = i;
  model.fontSize = fontSize_->value();
  model.interval = interval_->value();
  model.listChart = ListChart(1)->isChecked() ? 1 : 0;
  return true;
}
