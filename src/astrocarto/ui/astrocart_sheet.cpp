#include "astrocarto/ui/astrocart_sheet.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "forecast/ui/lunar_trans_pages.h"
#include "foundation/config/configuration.h"
#include "foundation/drawing/palette.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "platform/qt/dialog_controls.h"
#include "platform/qt/qt_text.h"
#include "settings/ui/color_dial.h"

namespace {

using platform::AddChoiceBox;
using platform::Check;
using platform::Checked;
using platform::NumberBox;

}  // namespace

DACMAP_CONF::DACMAP_CONF(AstroCartPage& values, QWidget* parent)
    : platform::PropertyPage(parent), values_(values) {
  // Two columns, so the page fits a small screen: what is drawn at the left, the sizes and the
  // crossings at the right.
  auto* columns = new QHBoxLayout(this);
  auto* layout = new QVBoxLayout;
  auto* right = new QVBoxLayout;
  columns->addLayout(layout);
  columns->addLayout(right);
  lineChoice_ = AddChoiceBox(this, layout, "Линии планет",
                             {"никаких", "Солнце - Плутон", "выводимых на гороскоп"});
  nodes_ = new QCheckBox(QStringLiteral("В том числе Лунных узлов"), this);
  grid_ = new QCheckBox(QStringLiteral("Координатная сетка"), this);
  countryNames_ = new QCheckBox(QStringLiteral("Выводить названия стран"), this);
  showEveryTime_ = new QCheckBox(QStringLiteral("Показывать каждый раз при расчете"), this);
  for (QCheckBox* box : {nodes_, grid_, countryNames_, showEveryTime_}) layout->addWidget(box);
  speed_ = AddChoiceBox(this, layout, "Оптимизация по скорости",
                        {"Высокая", "Средняя", "Низкая", "Минимальная"});
  lineSystem_ = AddChoiceBox(this, layout, "Система расчета линий", {"Эклиптическая", "Реальная"});
  layout->addStretch();
  townFont_ = AddChoiceBox(this, right, "для названий городов", {"Крупный", "Средний", "Мелкий"});
  glyphFont_ = AddChoiceBox(this, right, "для значков планет", {"Крупный", "Средний", "Мелкий"});
  crossingBand_ = AddChoiceBox(this, right, "Пересечения", {"по широте", "по долготе"});
  // The crossings are always banded by latitude here: the choice is shown, not offered.
  for (QAbstractButton* b : crossingBand_->buttons()) b->setEnabled(false);
  auto* numbers = new QGridLayout;
  orb_ = NumberBox(this, AstroCartPage::kMinOrb, AstroCartPage::kMaxOrb);
  latitudeLimit_ =
      NumberBox(this, AstroCartPage::kMinLatitudeLimit, AstroCartPage::kMaxLatitudeLimit);
  numbers->addWidget(new QLabel(QStringLiteral("Орбис (мин)"), this), 0, 0);
  numbers->addWidget(orb_, 0, 1);
  numbers->addWidget(new QLabel(QStringLiteral("Предельная широта"), this), 1, 0);
  numbers->addWidget(latitudeLimit_, 1, 1);
  right->addLayout(numbers);
  right->addStretch();
  DoDataExchange(false);
}

bool DACMAP_CONF::DoDataExchange(bool save) {
  AstroCartPage& v = values_;
  if (!save) {
    grid_->setChecked(v.grid);
    nodes_->setChecked(v.nodes);
    showEveryTime_->setChecked(v.showEveryTime);
    countryNames_->setChecked(v.countryNames);
    Check(lineChoice_, v.lineChoice);
    Check(speed_, v.speed);
    Check(lineSystem_, v.lineSystem);
    Check(crossingBand_, v.crossingBand);
    Check(townFont_, v.townFontSize);
    Check(glyphFont_, v.glyphFontSize);
    orb_->setValue(v.crossingOrb);
    latitudeLimit_->setValue(v.crossingLatitudeLimit);
    return true;
  }
  v.grid = grid_->isChecked();
  v.nodes = nodes_->isChecked();
  v.showEveryTime = showEveryTime_->isChecked();
  v.countryNames = countryNames_->isChecked();
  v.lineChoice = Checked(lineChoice_, v.lineChoice);
  v.speed = Checked(speed_, v.speed);
  v.lineSystem = Checked(lineSystem_, v.lineSystem);
  v.townFontSize = Checked(townFont_, v.townFontSize);
  v.glyphFontSize = Checked(glyphFont_, v.glyphFontSize);
  v.crossingOrb = orb_->value();
  v.crossingLatitudeLimit = latitudeLimit_->value();
  return true;
}

AstroCartColourPage::AstroCartColourPage(std::vector<int*> colours,
                                         const std::vector<const char*>& labels,
                                         ColourChooser chooser, QWidget* parent)
    : platform::PropertyPage(parent), colours_(std::move(colours)), chooser_(std::move(chooser)) {
  if (!chooser_)
    chooser_ = [this](int current) {
      return RunColorDialog(current, kColorChooserFullCount, this);
    };
  auto* grid = new QGridLayout(this);
  for (std::size_t i = 0; i < colours_.size(); ++i) {
    const int row = static_cast<int>(i);
    auto* button = new QPushButton(QStringLiteral("ИЗМЕНИТЬ"), this);
    auto* swatch = new QLabel(this);
    swatch->setFixedSize(30, 16);
    swatch->setAutoFillBackground(true);
    grid->addWidget(button, row, 0);
    grid->addWidget(new QLabel(QString::fromUtf8(labels.at(i)), this), row, 1);
    grid->addWidget(swatch, row, 2);
    buttons_.push_back(button);
    swatches_.push_back(swatch);
    connect(button, &QPushButton::clicked, this, [this, i] {
      // Cancel (-1) leaves the colour; a choice changes the pending values only.
      const int chosen = chooser_(*colours_[i]);
      if (chosen >= 0) *colours_[i] = chosen;
      ShowSwatches();
    });
  }
  grid->setRowStretch(static_cast<int>(colours_.size()), 1);
  ShowSwatches();
}

void AstroCartColourPage::ShowSwatches() {
  for (std::size_t i = 0; i < colours_.size(); ++i) {
    const platform::Color c = ColorByIndex(*colours_[i]);
    QPalette palette = swatches_[i]->palette();
    palette.setColor(QPalette::Window, QColor(c.r, c.g, c.b));
    swatches_[i]->setPalette(palette);
  }
}

namespace {

template <std::size_t N>
std::vector<int*> Pointers(std::array<int, N>& values) {
  std::vector<int*> out;
  for (int& v : values) out.push_back(&v);
  return out;
}

}  // namespace

DACMAP_MAPCOL_CONF::DACMAP_MAPCOL_CONF(AstroCartPage& values, ColourChooser chooser,
                                       QWidget* parent)
    : AstroCartColourPage(Pointers(values.mapColours),
                          {"Суша", "Море", "Границы", "Названия стран", "Города",
                           "Названия городов", "Координатная сетка", "Градусы сетки"},
                          std::move(chooser), parent),
      values_(values) {
  auto* grid = static_cast<QGridLayout*>(layout());
  auto* holder = new QWidget(this);
  auto* column = new QVBoxLayout(holder);
  column->setContentsMargins(0, 0, 0, 0);
  background_ =
      AddChoiceBox(holder, column, "Фон при печати", {"Цветной", "Белый для суши", "Белый всегда"});
  grid->addWidget(holder, ColourCount() + 1, 0, 1, 3);
  DoDataExchange(false);
}

bool DACMAP_MAPCOL_CONF::DoDataExchange(bool save) {
  if (save)
    values_.printBackground = Checked(background_, values_.printBackground);
  else
    Check(background_, values_.printBackground);
  return true;
}

DACMAP_LINECOL::DACMAP_LINECOL(AstroCartPage& values, ColourChooser chooser, QWidget* parent)
    : AstroCartColourPage(Pointers(values.lineColours),
                          {"Солнце", "Луна", "Меркурий", "Венера", "Марс", "Юпитер", "Сатурн",
                           "Уран", "Нептун", "Плутон", "Лунные узлы", "Прочие"},
                          std::move(chooser), parent) {}

AstroCartSheet::AstroCartSheet(QWidget* parent)
    : platform::PropertySheet(platform::ToQt(GetMessageText(kMsgAstrocartConfTitle)), parent) {}

bool RunAstroCartSheet(Configuration& config, ColourChooser chooser, QWidget* parent) {
  AstroCartPage pending = ReadAstroCartPage(config.astroCart);
  cfg::ByteBlock pendingDisplay = config.tablesInterface;
  DLunarTransInterf* display = nullptr;
  const auto make = [&]() -> std::unique_ptr<platform::PropertySheet> {
    auto sheet = std::make_unique<AstroCartSheet>(parent);
    sheet->AddPage(new DACMAP_CONF(pending), QStringLiteral("РАСЧЕТЫ"));
    sheet->AddPage(new DACMAP_MAPCOL_CONF(pending, chooser), QStringLiteral("ЦВЕТА КАРТ"));
    sheet->AddPage(new DACMAP_LINECOL(pending, chooser), QStringLiteral("ЦВЕТА ЛИНИЙ"));
    display = new DLunarTransInterf(DisplayBlock::kAstroCartography, pendingDisplay);
    sheet->AddPage(display, QStringLiteral("ИНТЕРФЕЙС"));
    return sheet;
  };
  const auto check = [&](platform::PropertySheet&) {
    display->Store(pendingDisplay);
    return true;
  };
  const auto commit = [&] {
    WriteAstroCartPage(pending, config.astroCart);
    config.tablesInterface = pendingDisplay;
  };
  return platform::RunSettingsSheet(make, check, commit) == platform::kIdOk;
}
