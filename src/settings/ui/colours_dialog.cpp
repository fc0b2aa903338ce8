#include "settings/ui/colours_dialog.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "foundation/drawing/palette.h"
#include "platform/qt/dialog_controls.h"
#include "platform/qt/qt_text.h"
#include "settings/core/color_swatch.h"
#include "settings/ui/color_dial.h"
#include "settings/ui/enter_name.h"

using settings::ColourColumn;

namespace {

constexpr int kSwatchWidth = 30;  // pixels, at the left of the swatch's control

const char* const kEntryLabels[DALLCOLORS::kEntries] = {"Фон",
                                                        "Окружности",
                                                        "Круг (внешний)",
                                                        "Значки планет",
                                                        "Риски положения планет",
                                                        "Углы гороскопа",
                                                        "Значки (внутренние)",
                                                        "Значки (внешние)",
                                                        "Круг с планетами",
                                                        "Центральный круг",
                                                        "Градусы"};

// Control numbers of the buttons and swatches of each entry: screen button, screen swatch, print
// button, print swatch.
constexpr int kEntryControls[DALLCOLORS::kEntries][4] = {
    {1162, 1163, 1166, 1194}, {1164, 1165, 1167, 1195}, {1168, 1169, 1186, 1196},
    {1170, 1171, 1189, 1197}, {1172, 1173, 1190, 1198}, {1174, 1175, 1191, 1199},
    {1176, 1177, 1192, 1201}, {1178, 1179, 1193, 1202}, {1180, 1181, 1187, 1203},
    {1182, 1183, 1188, 1204}, {1184, 1185, 1205, 1206}};

// The swatch of one entry: a rectangle 30 pixels wide at the left of the control, its full
// height, filled with the entry's colour.
class SwatchBox : public QWidget {
 public:
  SwatchBox(const std::uint16_t* colour, QWidget* parent) : QWidget(parent), colour_(colour) {
    setMinimumSize(kSwatchWidth, 20);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    const platform::Color c = ColorByIndexShort(*colour_);
    painter.fillRect(QRect(0, 0, kSwatchWidth, height()), QColor(c.r, c.g, c.b));
  }

 private:
  const std::uint16_t* colour_;
};

}  // namespace

DALLCOLORS::DALLCOLORS(QWidget* parent) : platform::Dialog(parent) {
  setWindowTitle(QStringLiteral("КОНФИГУРАЦИЯ - УСТАНОВКА ЦВЕТОВ"));
  auto* layout = new QVBoxLayout(this);
  auto* grid = new QGridLayout;
  layout->addLayout(grid);
  grid->addWidget(new QLabel(QStringLiteral("ЭКРАН"), this), 0, 1, 1, 2, Qt::AlignCenter);
  grid->addWidget(new QLabel(QStringLiteral("ПЕЧАТЬ"), this), 0, 3, 1, 2, Qt::AlignCenter);
  for (int entry = 0; entry < kEntries; ++entry) {
    const auto e = static_cast<std::size_t>(entry);
    grid->addWidget(new QLabel(QString::fromUtf8(kEntryLabels[entry]), this), entry + 1, 0);
    int gridColumn = 1;
    for (const ColourColumn column : {ColourColumn::kScreen, ColourColumn::kPrint}) {
      Column& c = column == ColourColumn::kScreen ? screen_ : print_;
      const int* ids = kEntryControls[entry] + (column == ColourColumn::kScreen ? 0 : 2);
      auto* button = new QPushButton(QStringLiteral("Цвет"), this);
      button->setObjectName(QStringLiteral("button%1").arg(ids[0]));
      connect(button, &QPushButton::clicked, this,
              [this, column, entry] { OnColourButton(column, entry); });
      auto* swatch = new SwatchBox(&page.Colours(column)[e], this);
      swatch->setObjectName(QStringLiteral("static%1").arg(ids[1]));
      c.buttons[e] = button;
      c.swatches[e] = swatch;
      grid->addWidget(button, entry + 1, gridColumn++);
      grid->addWidget(swatch, entry + 1, gridColumn++);
    }
  }

  auto* schemes = new QGridLayout;
  layout->addLayout(schemes);
  schemes->addWidget(new QLabel(QStringLiteral("Цветовые гаммы:"), this), 0, 0, 1, 2);
  int gridColumn = 0;
  for (const ColourColumn column : {ColourColumn::kScreen, ColourColumn::kPrint}) {
    const bool isScreen = column == ColourColumn::kScreen;
    Column& c = isScreen ? screen_ : print_;
    c.schemes = new QComboBox(this);
    c.schemes->setObjectName(
        QStringLiteral("combo%1").arg(isScreen ? kIdcScreenSchemes : kIdcPrintSchemes));
    c.schemes->setMinimumWidth(200);
    connect(c.schemes, &QComboBox::activated, this,
            [this, column](int index) { OnSchemeChosen(column, index); });
    c.save = new QPushButton(QStringLiteral("Сохранить"), this);
    c.save->setObjectName(
        QStringLiteral("button%1").arg(isScreen ? kIdcSaveScreenScheme : kIdcSavePrintScheme));
    connect(c.save, &QPushButton::clicked, this, [this, column] { OnSave(column); });
    c.remove = new QPushButton(QStringLiteral("Удалить"), this);
    c.remove->setObjectName(
        QStringLiteral("button%1").arg(isScreen ? kIdcDeleteScreenScheme : kIdcDeletePrintScheme));
    connect(c.remove, &QPushButton::clicked, this, [this, column] { OnDelete(column); });
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(c.save);
    buttons->addWidget(c.remove);
    schemes->addWidget(c.schemes, 1, gridColumn);
    schemes->addLayout(buttons, 2, gridColumn);
    ++gridColumn;
  }

  mode_ = platform::AddChoiceBox(this, layout, "Печать", {"Черно-белый", "Цветной"});
  mode_->button(0)->setObjectName(QStringLiteral("radio1208"));
  mode_->button(1)->setObjectName(QStringLiteral("radio1209"));
  layout->addWidget(platform::DialogButtons(this, "OK", "Отменить"));
}

void DALLCOLORS::OnInitDialog() {
  DoDataExchange(false);
  page.LoadGamma();
  ShowSchemes();
}

bool DALLCOLORS::DoDataExchange(bool save) {
  if (save)
    page.colourMode = platform::Checked(mode_, 0);
  else
    platform::Check(mode_, page.colourMode == 1 ? 1 : 0);
  return true;
}

void DALLCOLORS::ShowSchemes() {
  for (const ColourColumn column : {ColourColumn::kScreen, ColourColumn::kPrint}) {
    const Column& c = Of(column);
    const QSignalBlocker block(c.schemes);
    c.schemes->clear();
    for (const ColourScheme& scheme : page.Schemes())
      c.schemes->addItem(platform::ToQt(scheme.name));
    c.schemes->setCurrentIndex(page.Selection(column));
    c.save->setEnabled(page.SaveEnabled());
  }
  update();
}

void DALLCOLORS::OnColourButton(ColourColumn column, int entry) {
  auto& colour = page.Colours(column)[static_cast<std::size_t>(entry)];
  const int chosen = RunColorDialog(colour, kColorChooserFullCount, this);
  if (chosen < 0) return;
  colour = static_cast<std::uint16_t>(chosen);
  Swatch(column, entry)->update();
}

void DALLCOLORS::OnSchemeChosen(ColourColumn column, int index) {
  page.ChooseScheme(column, index);
  for (QWidget* swatch : Of(column).swatches) swatch->update();
}

void DALLCOLORS::OnSave(ColourColumn column) {
  std::string name;
  if (!RunEnterName(name, {}, this)) return;
  if (page.SaveScheme(column, name)) ShowSchemes();
}

void DALLCOLORS::OnDelete(ColourColumn column) {
  if (page.DeleteScheme(column)) ShowSchemes();
}

QPushButton* DALLCOLORS::ColourButton(ColourColumn column, int entry) const {
  return Of(column).buttons.at(static_cast<std::size_t>(entry));
}
QWidget* DALLCOLORS::Swatch(ColourColumn column, int entry) const {
  return Of(column).swatches.at(static_cast<std::size_t>(entry));
}
QComboBox* DALLCOLORS::Schemes(ColourColumn column) const { return Of(column).schemes; }
QPushButton* DALLCOLORS::SaveButton(ColourColumn column) const { return Of(column).save; }
QPushButton* DALLCOLORS::DeleteButton(ColourColumn column) const { return Of(column).remove; }
