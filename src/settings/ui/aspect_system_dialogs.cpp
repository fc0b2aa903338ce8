#include "settings/ui/aspect_system_dialogs.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include "foundation/drawing/palette.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "platform/core/prompter.h"
#include "platform/qt/dialog_controls.h"
#include "platform/qt/measuring_dc.h"
#include "platform/qt/qt_dc.h"
#include "platform/qt/qt_text.h"
#include "settings/core/aspect_list_drawing.h"
#include "settings/ui/color_dial.h"

namespace {

using platform::Check;
using platform::Checked;

constexpr int kListItemHeight = 22;
constexpr int kAspectColourCount = 16;

QColor ToQColor(platform::Color c) { return QColor(c.r, c.g, c.b); }

// The four line styles.
void FillStyles(QComboBox* box) {
  for (int m = 0; m < 4; ++m) box->addItem(platform::ToQt(GetMessageText(kMsgLineStyleFirst + m)));
}

QRadioButton* AddRadio(QButtonGroup* group, int id, const QString& text, QLayout* layout,
                       QWidget* parent) {
  auto* button = new QRadioButton(text, parent);
  group->addButton(button, id);
  layout->addWidget(button);
  return button;
}

// Paints one line of the aspect list.
class AspectLineDelegate : public QStyledItemDelegate {
 public:
  explicit AspectLineDelegate(CAspListBox* box) : QStyledItemDelegate(box), box_(box) {}

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    const AspectSystem* system = box_->System();
    if (system == nullptr || index.row() < 0 || index.row() >= system->Count()) return;
    const QColor base = option.palette.base().color();
    painter->save();
    painter->fillRect(option.rect, base);
    platform::QtDc dc(*painter, false);
    dc.SetMapMode(platform::MapMode::Text);
    const QRect r = option.rect;
    settings::DrawAspectListItem(
        dc, system->GetAspect(index.row()), {r.left(), r.top(), r.right(), r.bottom()},
        box_->Layout(), option.state & QStyle::State_Selected,
        {static_cast<std::uint8_t>(base.red()), static_cast<std::uint8_t>(base.green()),
         static_cast<std::uint8_t>(base.blue())});
    painter->restore();
  }
  QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
    return {100, kListItemHeight};
  }

 private:
  CAspListBox* box_;
};

// The column headings over the aspect list, lined up with its columns.
class AspectListHeading : public QWidget {
 public:
  explicit AspectListHeading(CAspListBox* box) : QWidget(box->parentWidget()), box_(box) {
    setFixedHeight(kListItemHeight);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    platform::QtDc dc(painter, false);
    dc.SetMapMode(platform::MapMode::Text);
    // The viewport's columns: the heading begins where the list's lines begin.
    const int left = box_->viewport()->mapTo(box_, QPoint(0, 0)).x();
    settings::DrawAspectListHeading(
        dc, {left, 0, left + box_->viewport()->width() - 1, height() - 1}, box_->Layout());
  }

 private:
  CAspListBox* box_;
};

// The line sample of the aspect dialog.
class LineSample : public QWidget {
 public:
  LineSample(QComboBox* style, QButtonGroup* thickness, QWidget* parent)
      : QWidget(parent), style_(style), thickness_(thickness) {
    setFixedSize(80, 20);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    platform::QtDc dc(painter, false);
    settings::DrawLineSample(dc, {0, 0, width(), height()}, style_->currentIndex(),
                             Checked(thickness_, 0));
  }

 private:
  QComboBox* style_;
  QButtonGroup* thickness_;
};

void PaintSwatch(QLabel* label, std::uint16_t colour) {
  label->setFixedSize(30, 16);
  label->setAutoFillBackground(true);
  QPalette palette = label->palette();
  palette.setColor(QPalette::Window, ToQColor(ColorByIndexShort(colour)));
  label->setPalette(palette);
}

}  // namespace

// --- CAspListBox ---

CAspListBox::CAspListBox(QWidget* parent) : QListWidget(parent) {
  setItemDelegate(new AspectLineDelegate(this));
  setUniformItemSizes(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setMinimumWidth(760);
  heading_ = new AspectListHeading(this);
}

void CAspListBox::SetSystem(const AspectSystem* system) {
  system_ = system;
  clear();
  rows_.clear();
  const int count = system != nullptr ? system->Count() : 0;
  for (int i = 0; i < count; ++i) {
    addItem(QString());
    rows_.push_back(system->GetAspect(i).GetTexts());
  }
  platform::MeasuringDc measure(logicalDpiX(), false, platform::MapMode::Text);
  const int columns = settings::AspectListWidth(measure.dc(), rows_, kListItemHeight);
  // The frame and the vertical scroll bar; the viewport's own width means nothing before the
  // list is laid out (it took the unlaid width of 100 pixels and made the list 1463 wide).
  const int chrome = 2 * frameWidth() + verticalScrollBar()->sizeHint().width();
  setMinimumWidth(std::max(760, columns + chrome));
  viewport()->update();
  heading_->update();
}

settings::AspectListLayout CAspListBox::Layout() const {
  platform::MeasuringDc measure(logicalDpiX(), false, platform::MapMode::Text);
  return settings::LayoutAspectList(measure.dc(), rows_, viewport()->width(), kListItemHeight);
}

void CAspListBox::resizeEvent(QResizeEvent* event) {
  QListWidget::resizeEvent(event);
  heading_->update();
}

// --- CEDIT_ASPECT ---

CEDIT_ASPECT::CEDIT_ASPECT(QWidget* parent) : platform::Dialog(parent) {
  setWindowTitle(QStringLiteral("АСПЕКТ"));
  auto* layout = new QVBoxLayout(this);
  auto* grid = new QGridLayout;
  layout->addLayout(grid);
  abbreviation_ = new QLineEdit(this);
  abbreviation_->setMaxLength(static_cast<int>(Aspect::kAbbreviationLength));
  abbreviation_->setValidator(new platform::Cp1251Validator(abbreviation_));
  grid->addWidget(new QLabel(QStringLiteral("Имя"), this), 0, 0);
  grid->addWidget(abbreviation_, 0, 1);
  const QString labels[7] = {QStringLiteral("Дуга"),  QStringLiteral("Орб-1"),
                             QStringLiteral("Орб-2"), QStringLiteral("Орб-3"),
                             QStringLiteral("Орб-4"), QStringLiteral("Орб-5"),
                             QStringLiteral("Точн")};
  for (int i = 0; i < 7; ++i) {
    numbers_[static_cast<std::size_t>(i)] = new QLineEdit(this);
    grid->addWidget(new QLabel(labels[i], this), i + 1, 0);
    grid->addWidget(numbers_[static_cast<std::size_t>(i)], i + 1, 1);
  }

  // Colours: the chooser offers the 16 colours; the swatches show the choice.
  auto* colours = new QHBoxLayout;
  auto* colourButton = new QPushButton(QStringLiteral("ЦВЕТ АСПЕКТА"), this);
  auto* exactButton = new QPushButton(QStringLiteral("ЦВЕТ ТОЧНОГО АСПЕКТА"), this);
  swatch_ = new QLabel(this);
  exactSwatch_ = new QLabel(this);
  connect(colourButton, &QPushButton::clicked, this, [this] { OnColour(false); });
  connect(exactButton, &QPushButton::clicked, this, [this] { OnColour(true); });
  colours->addWidget(colourButton);
  colours->addWidget(swatch_);
  colours->addWidget(exactButton);
  colours->addWidget(exactSwatch_);
  layout->addLayout(colours);

  auto* typeBox = new QGroupBox(QStringLiteral("Тип"), this);
  auto* typeLayout = new QVBoxLayout(typeBox);
  types_ = new QButtonGroup(this);
  const QString typeNames[5] = {QStringLiteral("ГАРМОНИЧНЫЙ"), QStringLiteral("НАПРЯЖЕННЫЙ"),
                                QStringLiteral("ТВОРЧЕСКИЙ"), QStringLiteral("КАРМИЧЕСКИЙ"),
                                QStringLiteral("ПРОЧИЙ")};
  for (int t = 0; t < 5; ++t) AddRadio(types_, t, typeNames[t], typeLayout, typeBox);
  auto* strengthBox = new QGroupBox(QStringLiteral("Сила"), this);
  auto* strengthLayout = new QVBoxLayout(strengthBox);
  strength_ = new QButtonGroup(this);
  AddRadio(strength_, 0, QStringLiteral("МАЖОРНЫЙ"), strengthLayout, strengthBox);
  AddRadio(strength_, 1, QStringLiteral("МИНОРНЫЙ"), strengthLayout, strengthBox);
  auto* groups = new QHBoxLayout;
  groups->addWidget(typeBox);
  groups->addWidget(strengthBox);
  layout->addLayout(groups);

  auto* lineRow = new QHBoxLayout;
  style_ = new QComboBox(this);
  FillStyles(style_);
  thickness_ = new QButtonGroup(this);
  lineRow->addWidget(new QLabel(QStringLiteral("Линия"), this));
  lineRow->addWidget(style_);
  sample_ = new LineSample(style_, thickness_, this);
  lineRow->addWidget(sample_);
  AddRadio(thickness_, 0, QStringLiteral("Тонкая"), lineRow, this);
  AddRadio(thickness_, 1, QStringLiteral("Толстая"), lineRow, this);
  layout->addLayout(lineRow);
  connect(style_, &QComboBox::currentIndexChanged, sample_, qOverload<>(&QWidget::update));
  connect(thickness_, &QButtonGroup::idClicked, sample_, qOverload<>(&QWidget::update));

  layout->addWidget(platform::DialogButtons(this, "OK", "Отменить"));
}

void CEDIT_ASPECT::OnInitDialog() {
  abbreviation_->setText(
      platform::ToQt(aspect.abbreviation.substr(0, Aspect::kAbbreviationLength)));
  numbers_[0]->setText(QString::number(aspect.angle, 'g', 10));
  for (int k = 0; k < 6; ++k)
    numbers_[static_cast<std::size_t>(k + 1)]->setText(
        QString::number(aspect.orbs[static_cast<std::size_t>(k)], 'g', 10));
  Check(types_, aspect.type <= 4 ? aspect.type : 4);
  Check(strength_, aspect.IsMajor() ? 0 : 1);
  style_->setCurrentIndex(aspect.lineStyle <= 3 ? aspect.lineStyle : 0);
  Check(thickness_, aspect.thickness == 1 ? 1 : 0);
  PaintSwatch(swatch_, aspect.color);
  PaintSwatch(exactSwatch_, aspect.exactColor);
}

void CEDIT_ASPECT::OnColour(bool exact) {
  std::uint16_t& colour = exact ? aspect.exactColor : aspect.color;
  const int chosen = RunColorDialog(colour, kAspectColourCount, this);
  if (chosen < 0) return;
  colour = static_cast<std::uint16_t>(chosen);
  PaintSwatch(exact ? exactSwatch_ : swatch_, colour);
}

bool CEDIT_ASPECT::DoDataExchange(bool save) {
  if (!save) return true;
  std::array<double, 7> values{};
  for (std::size_t i = 0; i < values.size(); ++i) {
    bool ok = false;
    values[i] =
        numbers_[i]->text().trimmed().replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
    if (!ok) {
      ShowAspectMessage(kAspMsgBadValue);
      numbers_[i]->setFocus();
      return false;
    }
  }
  const std::string abbreviation = platform::FromQt(abbreviation_->text());
  if (abbreviation.size() > Aspect::kAbbreviationLength) {
    abbreviation_->setFocus();
    return false;
  }
  aspect.abbreviation = abbreviation;
  aspect.angle = values[0];
  for (std::size_t k = 0; k < 6; ++k) aspect.orbs[k] = values[k + 1];
  aspect.type = static_cast<std::uint8_t>(Checked(types_, 0));
  aspect.major = Checked(strength_, 0) == 0 ? 1 : 0;
  aspect.lineStyle = static_cast<std::uint8_t>(std::max(0, style_->currentIndex()));
  aspect.thickness = static_cast<std::uint8_t>(Checked(thickness_, 0));
  return true;
}

// --- CASPSYS ---

CASPSYS::CASPSYS(Aspectarium& aspects, Configuration& config, QWidget* parent)
    : platform::Dialog(parent), aspects_(aspects), config_(config), editor_(aspects, config) {
  setWindowTitle(QStringLiteral("СИСТЕМА  АСПЕКТОВ"));
  auto* layout = new QVBoxLayout(this);
  systemBox_ = platform::NameBox(this, AspectSystem::kMaxNameLength);
  systemBox_->setInsertPolicy(QComboBox::NoInsert);
  layout->addWidget(systemBox_);
  list_ = new CAspListBox(this);
  layout->addWidget(list_->Heading());
  layout->addWidget(list_);

  auto* row = new QHBoxLayout;
  const auto button = [this, row](const QString& text, void (CASPSYS::*slot)()) {
    auto* b = new QPushButton(text, this);
    b->setAutoDefault(false);
    connect(b, &QPushButton::clicked, this, slot);
    row->addWidget(b);
  };
  button(QStringLiteral("Изменить"), &CASPSYS::OnEdit);
  button(QStringLiteral("Добавить"), &CASPSYS::OnAdd);
  button(QStringLiteral("Удалить"), &CASPSYS::OnDelete);
  button(QStringLiteral("Сохранить"), &CASPSYS::OnSave);
  button(QStringLiteral("Уничтожить"), &CASPSYS::OnDestroy);
  button(QStringLiteral("Соответствия "), &CASPSYS::OnCorrespondences);
  button(QStringLiteral("Задать типы линий"), &CASPSYS::OnLineTypes);
  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  connect(ok, &QPushButton::clicked, this, &CASPSYS::accept);
  row->addWidget(ok);
  layout->addLayout(row);

  connect(list_, &QListWidget::currentRowChanged, this,
          [this](int row) { editor_.selection = row; });
  connect(list_, &QListWidget::itemDoubleClicked, this, [this] { OnEdit(); });
  connect(systemBox_, &QComboBox::textActivated, this, &CASPSYS::OnSystemChosen);
}

void CASPSYS::OnInitDialog() {
  editor_.Open();
  Refill();
  Rebuild();
}

void CASPSYS::Refill() {
  const QSignalBlocker block(systemBox_);
  systemBox_->clear();
  for (const std::string& name : editor_.SystemNames()) systemBox_->addItem(platform::ToQt(name));
  systemBox_->setEditText(editor_.Edited() != nullptr ? platform::ToQt(editor_.Edited()->GetName())
                                                      : QString());
}

void CASPSYS::Rebuild() {
  const int selection = editor_.selection;
  list_->SetSystem(editor_.Edited());
  if (selection >= 0 && selection < list_->count()) list_->setCurrentRow(selection);
  editor_.selection = list_->currentRow();
}

bool CASPSYS::EditAspect(Aspect& aspect) {
  CEDIT_ASPECT dialog(this);
  dialog.aspect = aspect;
  if (dialog.DoModal() != platform::kIdOk) return false;
  aspect = dialog.aspect;
  return true;
}

void CASPSYS::OnEdit() {
  if (editor_.EditSelected([this](Aspect& a) { return EditAspect(a); }))
    list_->viewport()->update();
}

void CASPSYS::OnAdd() {
  if (editor_.Add([this](Aspect& a) { return EditAspect(a); })) Rebuild();
}

void CASPSYS::OnDelete() {
  if (editor_.DeleteSelected()) Rebuild();
}

void CASPSYS::OnSystemChosen(const QString& name) {
  if (editor_.SwitchTo(platform::FromQt(name))) Rebuild();
}

void CASPSYS::OnSave() {
  if (editor_.Save(platform::FromQt(systemBox_->currentText()))) {
    Refill();
    Rebuild();
  }
}

void CASPSYS::OnDestroy() {
  if (editor_.Destroy()) {
    Refill();
    Rebuild();
  }
}

void CASPSYS::OnCorrespondences() {
  CASPSYS_CORRESP dialog(aspects_, this);
  dialog.page = settings::CorrespondencePage::From(config_);
  if (dialog.DoModal() == platform::kIdOk) dialog.page.To(config_, aspects_);
}

void CASPSYS::OnLineTypes() {
  std::array<std::uint8_t, Configuration::kLineTypeCount> table = config_.lineTypes;
  DLINETYPES_CONF dialog(this);
  dialog.page = settings::LineTypesPage::From(table);
  if (dialog.DoModal() != platform::kIdOk) return;
  dialog.page.To(config_.lineTypes);
  editor_.ApplyLineTypes(config_.lineTypes, dialog.page.applyToAll);
  list_->viewport()->update();
}

void CASPSYS::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Insert) {
    OnAdd();
    return;
  }
  if (event->key() == Qt::Key_Delete) {
    OnDelete();
    return;
  }
  platform::Dialog::keyPressEvent(event);
}

// --- CASPSYS_CORRESP ---

CASPSYS_CORRESP::CASPSYS_CORRESP(const Aspectarium& aspects, QWidget* parent)
    : platform::Dialog(parent), aspects_(aspects) {
  setWindowTitle(QStringLiteral("СООТВЕТСТВИЯ СИСТЕМ АСПЕКТОВ"));
  auto* layout = new QVBoxLayout(this);
  auto* grid = new QGridLayout;
  layout->addLayout(grid);
  const QString kinds[Configuration::kChartKindCount] = {
      QStringLiteral("НАТАЛЬНЫЙ"),      QStringLiteral("ХОРАРНЫЙ"),
      QStringLiteral("ДРАКОНИЧЕСКИЙ"),  QStringLiteral("ТРАНЗИТНЫЙ"),
      QStringLiteral("ПРОГРЕССИВНЫЙ"),  QStringLiteral("ДИРЕКЦИОННЫЙ"),
      QStringLiteral("СИНАСТРИЧЕСКИЙ"), QStringLiteral("ГАРМОНИЧЕСКИЙ"),
      QStringLiteral("РЕВОЛЮЦИИ"),      QStringLiteral("ЛУННЫЕ ФАЗЫ")};
  for (int k = 0; k < Configuration::kChartKindCount; ++k) {
    QComboBox* box = platform::NameBox(this, Configuration::kSystemNameWidth);
    box->setInsertPolicy(QComboBox::NoInsert);
    boxes_[static_cast<std::size_t>(k)] = box;
    grid->addWidget(new QLabel(kinds[k], this), k, 0);
    grid->addWidget(box, k, 1);
  }
  // Esc and the window's close button leave every kind as it was.
  layout->addWidget(platform::DialogButtons(this, "OK", "Отменить"));
}

void CASPSYS_CORRESP::OnInitDialog() {
  for (int k = 0; k < Configuration::kChartKindCount; ++k) {
    QComboBox* box = Box(k);
    box->clear();
    for (int i = 0; i < aspects_.Count(); ++i)
      box->addItem(platform::ToQt(aspects_.GetSystem(i).GetName()));
    box->setEditText(platform::ToQt(page.names[static_cast<std::size_t>(k)]));
  }
}

bool CASPSYS_CORRESP::DoDataExchange(bool save) {
  if (save) {
    for (int k = 0; k < Configuration::kChartKindCount; ++k)
      page.names[static_cast<std::size_t>(k)] =
          platform::FromQt(Box(k)->currentText()).substr(0, Configuration::kSystemNameWidth);
  }
  return true;
}

// --- DLINETYPES_CONF ---

DLINETYPES_CONF::DLINETYPES_CONF(QWidget* parent) : platform::Dialog(parent) {
  setWindowTitle(QStringLiteral("Установка типов линий аспектов"));
  auto* layout = new QVBoxLayout(this);
  auto* grid = new QGridLayout;
  layout->addLayout(grid);
  grid->addWidget(new QLabel(QStringLiteral("МАЖОРНЫЕ"), this), 0, 1, 1, 3);
  grid->addWidget(new QLabel(QStringLiteral("МИНОРНЫЕ"), this), 0, 4, 1, 3);
  const QString types[5] = {QStringLiteral("ГАРМОНИЧНЫЕ"), QStringLiteral("НАПРЯЖЕННЫЕ"),
                            QStringLiteral("ТВОРЧЕСКИЕ"), QStringLiteral("КАРМИЧЕСКИЕ"),
                            QStringLiteral("ПРОЧИЕ")};
  for (int type = 0; type < 5; ++type) {
    grid->addWidget(new QLabel(types[type], this), type + 1, 0);
    for (int strength = 0; strength < 2; ++strength) {
      const std::size_t entry = static_cast<std::size_t>(5 * strength + type);
      auto* box = new QComboBox(this);
      FillStyles(box);
      styles_[entry] = box;
      thick_[entry] = new QButtonGroup(this);
      auto* thin = new QRadioButton(QStringLiteral("Тонкая"), this);
      auto* thick = new QRadioButton(QStringLiteral("Толстая"), this);
      thick_[entry]->addButton(thin, 0);
      thick_[entry]->addButton(thick, 1);
      grid->addWidget(box, type + 1, 1 + 3 * strength);
      grid->addWidget(thin, type + 1, 2 + 3 * strength);
      grid->addWidget(thick, type + 1, 3 + 3 * strength);
    }
  }
  apply_ = new QButtonGroup(this);
  AddRadio(apply_, 0, QStringLiteral("Применить к текущей системе аспектов"), layout, this);
  AddRadio(apply_, 1, QStringLiteral("Применить ко всем системам аспектов"), layout, this);
  layout->addWidget(platform::DialogButtons(this, "OK", "Отменить"));
}

bool DLINETYPES_CONF::DoDataExchange(bool save) {
  for (std::size_t e = 0; e < styles_.size(); ++e) {
    if (!save) {
      styles_[e]->setCurrentIndex(page.style[e] >= 0 && page.style[e] <= 3 ? page.style[e] : 0);
      Check(thick_[e], page.thickness[e] == 1 ? 1 : 0);
    } else {
      page.style[e] = std::max(0, styles_[e]->currentIndex());
      page.thickness[e] = Checked(thick_[e], 0);
    }
  }
  if (!save)
    Check(apply_, page.applyToAll ? 1 : 0);
  else
    page.applyToAll = Checked(apply_, 0) == 1;
  return true;
}

// --- ASPECT_FILTER ---

ASPECT_FILTER::ASPECT_FILTER(QWidget* parent) : platform::Dialog(parent) {
  setWindowTitle(QStringLiteral("ФИЛЬТР АСПЕКТОВ"));
  auto* layout = new QVBoxLayout(this);
  const QString names[settings::kFilterSwitchCount] = {
      QStringLiteral("ГАРМОНИЧНЫЕ"), QStringLiteral("НАПРЯЖЕННЫЕ"), QStringLiteral("ТВОРЧЕСКИЕ"),
      QStringLiteral("КАРМИЧЕСКИЕ"), QStringLiteral("ПРОЧИЕ"),      QStringLiteral("МАЖОРНЫЕ"),
      QStringLiteral("МИНОРНЫЕ"),    QStringLiteral("ТОЧНЫЕ"),      QStringLiteral("НЕТОЧНЫЕ")};
  auto* grid = new QGridLayout;
  layout->addLayout(grid);
  for (int i = 0; i < settings::kFilterSwitchCount; ++i) {
    shows_[static_cast<std::size_t>(i)] = new QCheckBox(names[i], this);
    grid->addWidget(shows_[static_cast<std::size_t>(i)], i < 5 ? i : i - 5, i < 5 ? 0 : 1);
  }
  auto* overlayBox = new QGroupBox(QStringLiteral("Наложение гороскопов"), this);
  auto* overlayLayout = new QVBoxLayout(overlayBox);
  overlay_ = new QButtonGroup(this);
  AddRadio(overlay_, 0, QStringLiteral("ДЛЯ ВНУТРЕННЕГО ГОРОСКОПА"), overlayLayout, overlayBox);
  AddRadio(overlay_, 1, QStringLiteral("ДЛЯ ВНЕШНЕГО ГОРОСКОПА"), overlayLayout, overlayBox);
  AddRadio(overlay_, 2, QStringLiteral("МЕЖДУ ДВУМЯ ГОРОСКОПАМИ"), overlayLayout, overlayBox);
  alwaysAsk_ = new QCheckBox(QStringLiteral("Всегда запрос на выбор"), overlayBox);
  overlayLayout->addWidget(alwaysAsk_);
  layout->addWidget(overlayBox);

  auto* lines = new QGridLayout;
  layout->addLayout(lines);
  lines->addWidget(new QLabel(QStringLiteral("Использовать пунктирные линии аспектов"), this), 0,
                   0);
  lines->addWidget(new QLabel(QStringLiteral("Использовать утолщенные линии аспектов"), this), 1,
                   0);
  dashedScreen_ = new QCheckBox(QStringLiteral("на экране"), this);
  dashedPrinter_ = new QCheckBox(QStringLiteral("при печати"), this);
  thickScreen_ = new QCheckBox(QStringLiteral("на экране"), this);
  thickPrinter_ = new QCheckBox(QStringLiteral("при печати"), this);
  lines->addWidget(dashedScreen_, 0, 1);
  lines->addWidget(dashedPrinter_, 0, 2);
  lines->addWidget(thickScreen_, 1, 1);
  lines->addWidget(thickPrinter_, 1, 2);
  layout->addWidget(platform::DialogButtons(this, "OK", "Отменить"));
}

bool ASPECT_FILTER::DoDataExchange(bool save) {
  if (!save) {
    for (int i = 0; i < settings::kFilterSwitchCount; ++i)
      Show(i)->setChecked(page.shows[static_cast<std::size_t>(i)]);
    Check(overlay_, page.overlay);
    alwaysAsk_->setChecked(page.alwaysAsk);
    dashedScreen_->setChecked(page.dashedScreen);
    dashedPrinter_->setChecked(page.dashedPrinter);
    thickScreen_->setChecked(page.thickScreen);
    thickPrinter_->setChecked(page.thickPrinter);
    return true;
  }
  for (int i = 0; i < settings::kFilterSwitchCount; ++i)
    page.shows[static_cast<std::size_t>(i)] = Show(i)->isChecked();
  page.overlay = Checked(overlay_, 2);
  page.alwaysAsk = alwaysAsk_->isChecked();
  page.dashedScreen = dashedScreen_->isChecked();
  page.dashedPrinter = dashedPrinter_->isChecked();
  page.thickScreen = thickScreen_->isChecked();
  page.thickPrinter = thickPrinter_->isChecked();
  return true;
}
