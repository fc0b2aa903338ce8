#include "views/ui/asp_graph_dialogs.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QStyledItemDelegate>
#include <QVBoxLayout>
#include <algorithm>
#include <array>

#include "astro/aspects/aspectarium.h"
#include "foundation/config/configuration.h"
#include "foundation/files/data_file_names.h"
#include "foundation/files/data_folder.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/messages/show_message.h"
#include "platform/core/prompter.h"
#include "platform/qt/dialog_controls.h"
#include "platform/qt/measuring_dc.h"
#include "platform/qt/qt_dc.h"
#include "platform/qt/qt_text.h"
#include "views/core/asp_graph_calc.h"
#include "views/core/asp_graph_layout.h"

namespace {

using platform::AddChoices;
using platform::Box;
using platform::Check;
using platform::Checked;
using platform::NumberBox;
using platform::ToQt;

QPushButton* AddButton(QWidget* owner, QBoxLayout* into, const char* text) {
  auto* button = new QPushButton(QString::fromUtf8(text), owner);
  into->addWidget(button);
  return button;
}

constexpr std::array<const char*, 3> kCaptions{"Аспект", "Дуга", "Орбис"};

platform::Color FromQColor(const QColor& c) {
  return {static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
          static_cast<std::uint8_t>(c.blue())};
}

}  // namespace

// --- D_ASPGRAPHSET -------------------------------------------------------------------------------

D_ASPGRAPHSET::D_ASPGRAPHSET(AspGraphSetModel m, const CAspGraphData& data, QWidget* parent)
    : platform::Dialog(parent), model(std::move(m)), data_(data) {
  setWindowTitle(QStringLiteral("Список аспектов"));
  auto* layout = new QVBoxLayout(this);
  auto* nameRow = new QHBoxLayout;
  nameRow->addWidget(new QLabel(QStringLiteral("Название"), this));
  name_ = new QLineEdit(this);
  name_->setMaxLength(aspgraph::kMaxNameLength);
  name_->setValidator(new platform::Cp1251Validator(name_));
  nameRow->addWidget(name_, 1);
  layout->addLayout(nameRow);

  QBoxLayout* periods = nullptr;
  layout->addWidget(Box(this, "Период", periods));
  auto* grid = new QGridLayout;
  periods->addLayout(grid);
  period_ = new QButtonGroup(this);
  const char* texts[] = {"1 месяц", "2 месяца", "3 месяца", "6 месяцев", "9 месяцев", "1 год",
                         "2 года",  "3 года",   "5 лет",    "10 лет",    "50 лет"};
  for (int k = 0; k < aspgraph::kPeriodCount; ++k) {
    auto* button = new QRadioButton(QString::fromUtf8(texts[k]), this);
    period_->addButton(button, k);
    grid->addWidget(button, k % 6, k / 6);
  }

  auto* orbRow = new QHBoxLayout;
  orbRow->addWidget(new QLabel(QStringLiteral("группа орбисов для аспектов к домам"), this));
  houseOrb_ = NumberBox(this, aspgraph::kMinHouseOrbClass, aspgraph::kMaxHouseOrbClass);
  orbRow->addWidget(houseOrb_);
  layout->addLayout(orbRow);
  layout->addWidget(platform::DialogButtons(this, "OK", "Отмена"));
}

bool D_ASPGRAPHSET::DoDataExchange(bool save) {
  if (!save) {
    name_->setText(ToQt(model.name));
    Check(period_, model.period);
    houseOrb_->setValue(model.houseOrbClass);
    return true;
  }
  model.name = platform::FromQt(name_->text());
  model.period = Checked(period_, model.period);
  model.houseOrbClass = houseOrb_->value();
  return true;
}

bool D_ASPGRAPHSET::CheckOk() {
  if (const int message = model.Accept(data_); message != 0) {
    ShowMessage(message, platform::Icon::Information);
    return false;
  }
  return true;
}

// --- DASPGRPH_ASP --------------------------------------------------------------------------------

DASPGRPH_ASP::DASPGRPH_ASP(AspGraphPairModel m, QWidget* parent)
    : platform::Dialog(parent), model(std::move(m)) {
  setWindowTitle(QStringLiteral("Ввод аспекта"));
  auto* layout = new QVBoxLayout(this);
  const auto member = [this, layout](const char* title, QComboBox*& body, QComboBox*& technique,
                                     QCheckBox*& converse) {
    QBoxLayout* box = nullptr;
    layout->addWidget(Box(this, title, box));
    auto* row = new QHBoxLayout;
    body = new QComboBox(this);
    technique = new QComboBox(this);
    converse = new QCheckBox(QStringLiteral("Обратные"), this);
    row->addWidget(body, 1);
    row->addWidget(technique, 1);
    row->addWidget(converse);
    box->addLayout(row);
  };
  member(" От ", firstBody_, firstTechnique_, firstConverse_);
  member(" К ", secondBody_, secondTechnique_, secondConverse_);
  for (int code = 0; code < AspGraphPairModel::kFirstBodyCount; ++code)
    firstBody_->addItem(ToQt(aspgraph::MemberName(code, true)));
  for (int t = 1; t < aspgraph::kTechniqueCount; ++t)
    firstTechnique_->addItem(ToQt(GetMessageText(kMsgFirstLongTechnique + t)));
  for (int t = 0; t < aspgraph::kTechniqueCount; ++t)
    secondTechnique_->addItem(ToQt(GetMessageText(kMsgFirstLongTechnique + t)));

  auto* systemRow = new QHBoxLayout;
  systemRow->addWidget(new QLabel(QStringLiteral("Система аспектов"), this));
  system_ = new QComboBox(this);
  for (const std::string& name : model.SystemNames()) system_->addItem(ToQt(name));
  systemRow->addWidget(system_, 1);
  layout->addLayout(systemRow);
  layout->addWidget(platform::DialogButtons(this, "OK", "Отмена"));

  const auto changed = [this](auto apply) {
    return [this, apply](auto value) {
      if (refreshing_) return;
      apply(value);
      Refresh();
    };
  };
  connect(firstBody_, &QComboBox::currentIndexChanged, this,
          changed([this](int i) { model.ChooseFirstBody(i); }));
  connect(firstTechnique_, &QComboBox::currentIndexChanged, this,
          changed([this](int i) { model.ChooseFirstTechnique(i + 1); }));
  connect(firstConverse_, &QCheckBox::toggled, this,
          changed([this](bool on) { model.SetFirstConverse(on); }));
  connect(secondBody_, &QComboBox::currentIndexChanged, this,
          changed([this](int i) { model.ChooseSecondBody(i); }));
  connect(secondTechnique_, &QComboBox::currentIndexChanged, this,
          changed([this](int i) { model.ChooseSecondTechnique(i); }));
  connect(secondConverse_, &QCheckBox::toggled, this,
          changed([this](bool on) { model.SetSecondConverse(on); }));
  connect(system_, &QComboBox::currentIndexChanged, this,
          changed([this](int i) { model.ChooseSystem(i); }));
}

void DASPGRPH_ASP::Refresh() {
  refreshing_ = true;
  const AspGraphPair& pair = model.Pair();
  firstBody_->setCurrentIndex(pair.fromBody);
  firstTechnique_->setCurrentIndex(pair.fromTechnique - 1);
  firstConverse_->setChecked(pair.fromConverse == 1);
  firstTechnique_->setEnabled(model.FirstTechniqueEnabled());
  firstConverse_->setEnabled(model.FirstConverseEnabled());
  if (secondBody_->count() != model.SecondBodyCount()) {
    secondBody_->clear();
    for (int code = 0; code < model.SecondBodyCount(); ++code)
      secondBody_->addItem(ToQt(aspgraph::MemberName(code, false, true)));
  }
  secondBody_->setCurrentIndex(pair.toBody);
  secondTechnique_->setCurrentIndex(pair.toTechnique);
  secondConverse_->setChecked(pair.toConverse == 1);
  secondTechnique_->setEnabled(model.SecondTechniqueEnabled());
  secondConverse_->setEnabled(model.SecondConverseEnabled());
  system_->setCurrentIndex(model.SystemIndex());
  refreshing_ = false;
}

bool DASPGRPH_ASP::DoDataExchange(bool save) {
  // The model follows every control as it changes; loading shows it.
  if (!save) Refresh();
  return true;
}

bool DASPGRPH_ASP::CheckOk() {
  if (const int message = model.Accept(); message != 0) {
    ShowMessage(message, platform::Icon::Information);
    return false;
  }
  return true;
}

// --- DASPGRAPH_CALC ------------------------------------------------------------------------------

DASPGRAPH_CALC::DASPGRAPH_CALC(AspGraphCalcPage& page, const Aspectarium& systems, QWidget* parent)
    : platform::PropertyPage(parent), page_(page), systems_(systems) {
  auto* layout = new QVBoxLayout(this);
  const auto button = [this](QBoxLayout* into, int id, const char* text,
                             void (DASPGRAPH_CALC::*action)()) {
    QPushButton* b = AddButton(this, into, text);
    connect(b, &QPushButton::clicked, this, [this, action] { (this->*action)(); });
    buttons_.emplace_back(id, b);
  };

  QBoxLayout* listBox = nullptr;
  layout->addWidget(Box(this, "Списки аспектов", listBox));
  lists_ = new QComboBox(this);
  listBox->addWidget(lists_);
  auto* listButtons = new QHBoxLayout;
  button(listButtons, kListAdd, "ДОБАВИТЬ", &DASPGRAPH_CALC::OnAddList);
  button(listButtons, kListDelete, "УДАЛИТЬ", &DASPGRAPH_CALC::OnDeleteList);
  button(listButtons, kListEdit, "РЕДАКТИРОВАТЬ", &DASPGRAPH_CALC::OnEditList);
  listBox->addLayout(listButtons);

  QBoxLayout* pairBox = nullptr;
  layout->addWidget(Box(this, "Аспекты списка", pairBox), 1);
  auto* pairRow = new QHBoxLayout;
  pairs_ = new QListWidget(this);
  pairRow->addWidget(pairs_, 1);
  auto* pairButtons = new QVBoxLayout;
  button(pairButtons, kPairAdd, "ДОБАВИТЬ", &DASPGRAPH_CALC::OnAddPair);
  button(pairButtons, kPairDelete, "УДАЛИТЬ", &DASPGRAPH_CALC::OnDeletePair);
  button(pairButtons, kPairEdit, "РЕДАКТИРОВАТЬ", &DASPGRAPH_CALC::OnEditPair);
  button(pairButtons, kPairUp, "ВВЕРХ", &DASPGRAPH_CALC::OnUp);
  button(pairButtons, kPairDown, "ВНИЗ", &DASPGRAPH_CALC::OnDown);
  pairButtons->addStretch();
  pairRow->addLayout(pairButtons);
  pairBox->addLayout(pairRow);

  QBoxLayout* dateBox = nullptr;
  layout->addWidget(Box(this, "Начало периода", dateBox));
  auto* dateRow = new QHBoxLayout;
  day_ = NumberBox(this, 1, 31);
  month_ = NumberBox(this, 1, 12);
  year_ = NumberBox(this, 1, kMaxEnteredYear);
  for (QSpinBox* box : {day_, month_, year_}) dateRow->addWidget(box);
  era_ = AddChoices(this, dateRow, {"до н.э.", "н.э."});
  dateRow->addStretch();
  dateBox->addLayout(dateRow);

  connect(lists_, &QComboBox::currentIndexChanged, this, [this](int k) {
    if (refreshing_) return;
    page_.SelectList(k);
    Refresh();
  });
  connect(pairs_, &QListWidget::currentRowChanged, this, [this](int j) {
    if (!refreshing_) page_.SelectPair(j);
  });
  connect(pairs_, &QListWidget::itemDoubleClicked, this, [this] { OnEditPair(); });
  Refresh();
}

QPushButton* DASPGRAPH_CALC::Button(int id) const {
  for (const auto& [number, b] : buttons_)
    if (number == id) return b;
  return nullptr;
}

void DASPGRAPH_CALC::Refresh() {
  refreshing_ = true;
  lists_->clear();
  for (const std::string& name : page_.ListNames()) lists_->addItem(ToQt(name));
  lists_->setCurrentIndex(page_.SelectedList());
  pairs_->clear();
  for (const std::string& text : page_.PairTexts()) pairs_->addItem(ToQt(text));
  platform::FitListToItems(pairs_);
  if (pairs_->count() > 0) pairs_->setCurrentRow(page_.SelectedPair());
  lists_->setEnabled(page_.ListControlsEnabled());
  pairs_->setEnabled(page_.PairControlsEnabled());
  Button(kListAdd)->setEnabled(page_.ListAddEnabled());
  Button(kListDelete)->setEnabled(page_.ListControlsEnabled());
  Button(kListEdit)->setEnabled(page_.ListControlsEnabled());
  Button(kPairAdd)->setEnabled(page_.PairAddEnabled());
  for (int id : {kPairDelete, kPairEdit, kPairUp, kPairDown})
    Button(id)->setEnabled(page_.PairControlsEnabled());
  refreshing_ = false;
}

bool DASPGRAPH_CALC::DoDataExchange(bool save) {
  if (!save) {
    day_->setValue(page_.day);
    month_->setValue(page_.month);
    year_->setValue(page_.year);
    Check(era_, page_.era == 'B' ? 0 : 1);
    Refresh();
    return true;
  }
  // The boxes hold only numbers of their ranges; whether the date exists is checked on OK.
  page_.day = day_->value();
  page_.month = month_->value();
  page_.year = year_->value();
  page_.era = EraLetter(Checked(era_, 1));
  return true;
}

void DASPGRAPH_CALC::OnAddList() {
  if (const int message = page_.CheckAddList(); message != 0) {
    ShowMessage(message, platform::Icon::Information);
    return;
  }
  D_ASPGRAPHSET dialog(AspGraphSetModel::ForNewList(), page_.Data(), this);
  if (dialog.DoModal() != platform::kIdOk) return;
  page_.AddList(dialog.model);
  Refresh();
}

void DASPGRAPH_CALC::OnDeleteList() {
  page_.DeleteList();
  Refresh();
}

void DASPGRAPH_CALC::OnEditList() {
  if (page_.SelectedList() < 0) return;
  D_ASPGRAPHSET dialog(AspGraphSetModel::ForList(page_.Data(), page_.SelectedList()), page_.Data(),
                       this);
  if (dialog.DoModal() != platform::kIdOk) return;
  page_.EditList(dialog.model);
  Refresh();
}

void DASPGRAPH_CALC::OnAddPair() {
  if (!page_.PairAddEnabled()) return;
  DASPGRPH_ASP dialog(AspGraphPairModel(systems_, AspGraphPair{}), this);
  if (dialog.DoModal() != platform::kIdOk) return;
  page_.AddPair(dialog.model.Pair());
  Refresh();
}

void DASPGRAPH_CALC::OnDeletePair() {
  page_.DeletePair();
  Refresh();
}

void DASPGRAPH_CALC::OnEditPair() {
  if (!page_.PairControlsEnabled()) return;
  const AspGraphList& list = page_.Data().List(page_.SelectedList());
  DASPGRPH_ASP dialog(
      AspGraphPairModel(systems_, list.pairs[static_cast<std::size_t>(page_.SelectedPair())]),
      this);
  if (dialog.DoModal() != platform::kIdOk) return;
  page_.EditPair(dialog.model.Pair());
  Refresh();
}

void DASPGRAPH_CALC::OnUp() {
  page_.MovePairUp();
  Refresh();
}

void DASPGRAPH_CALC::OnDown() {
  page_.MovePairDown();
  Refresh();
}

// --- ASPGRAPH_CONF -------------------------------------------------------------------------------

ASPGRAPH_CONF::ASPGRAPH_CONF(const AspGraphConfPage& v, QWidget* parent)
    : platform::PropertyPage(parent), values(v) {
  auto* layout = new QVBoxLayout(this);
  auto* rowsRow = new QHBoxLayout;
  rowsRow->addWidget(new QLabel(QStringLiteral("Количество строк (аспектов) в окне"), this));
  rows_ = NumberBox(this, 1, aspgraph::kMaxRows);
  rowsRow->addWidget(rows_);
  rowsRow->addStretch();
  layout->addLayout(rowsRow);
  fill_ = platform::AddChoiceBox(
      this, layout, " Тип заливки ",
      {"всегда сплошная", "на экране - сплошная, при печати - контур", "всегда контур"});
  speed_ = platform::AddChoiceBox(this, layout, " Оптимизация по скорости ",
                                  {"Высокая", "Средняя", "Низкая", "Минимальная"});
  layout->addStretch();
}

bool ASPGRAPH_CONF::DoDataExchange(bool save) {
  if (!save) {
    rows_->setValue(values.rows);
    Check(fill_, values.fillType);
    Check(speed_, values.speed);
    return true;
  }
  values.rows = rows_->value();
  values.fillType = Checked(fill_, values.fillType);
  values.speed = Checked(speed_, values.speed);
  return true;
}

// --- the sheet -----------------------------------------------------------------------------------

AspGraphSheet::AspGraphSheet(QWidget* parent)
    : platform::PropertySheet(QStringLiteral("Графические аспекты"), parent) {}

bool RunAspGraphSheet(CAspGraphData& data, Configuration& config, const Aspectarium& systems,
                      const FDate& chartDate, QWidget* parent) {
  cfg::ByteBlock pending = config.aspectGraph;
  AspGraphCalcPage calcPage(data, systems, pending.Get(cfg::AspectGraphSettings::kSelectedList),
                            chartDate);
  AspGraphConfPage display = AspGraphConfPage::FromBlock(pending);
  AspGraphSheet* shown = nullptr;
  const auto make = [&]() -> std::unique_ptr<platform::PropertySheet> {
    auto sheet = std::make_unique<AspGraphSheet>(parent);
    sheet->calculation = new DASPGRAPH_CALC(calcPage, systems);
    sheet->display = new ASPGRAPH_CONF(display);
    sheet->AddPage(sheet->calculation, QStringLiteral("РАСЧЕТЫ"));
    sheet->AddPage(sheet->display, QStringLiteral("ПАРАМЕТРЫ"));
    shown = sheet.get();
    return sheet;
  };
  const auto check = [&](platform::PropertySheet&) {
    display = shown->display->values;
    if (data.ListCount() == 0) {
      platform::GetPrompter().ShowMessage(
          platform::kNoMessage,
          MissingDataText("Списков пар для графических аспектов", g_DataFileNames[kDataAspectGraph],
                          "Создайте список кнопкой \"ДОБАВИТЬ\" на странице \"РАСЧЕТЫ\"."),
          platform::Icon::Information);
      return false;
    }
    if (const int message = calcPage.Accept(); message != 0) {
      ShowMessage(message, platform::Icon::Information);
      return false;
    }
    return true;
  };
  const auto commit = [&] {
    display.ToBlock(pending);
    calcPage.Commit(pending);
    config.aspectGraph = pending;
  };
  return platform::RunSettingsSheet(make, check, commit) == platform::kIdOk;
}

// --- DASPGRAPHDATA -------------------------------------------------------------------------------

namespace {

class DataItemDelegate : public QStyledItemDelegate {
 public:
  explicit DataItemDelegate(CAspGraphDataListBox* box) : QStyledItemDelegate(box), box_(box) {}

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    if (box_->Model() == nullptr) return;
    painter->save();
    platform::QtDc dc(*painter, false);
    dc.SetMapMode(platform::MapMode::Text);
    const QRect r = option.rect;
    DrawAspGraphDataItem(dc, {r.left(), r.top(), r.right() + 1, r.bottom() + 1},
                         box_->Model()->RowOf(index.row()), box_->Columns(),
                         option.state & QStyle::State_Selected,
                         FromQColor(option.palette.highlight().color()),
                         FromQColor(option.palette.highlightedText().color()));
    painter->restore();
  }

 private:
  CAspGraphDataListBox* box_;
};

}  // namespace

CAspGraphDataListBox::CAspGraphDataListBox(QWidget* parent) : QListWidget(parent) {
  setItemDelegate(new DataItemDelegate(this));
}

AspGraphDataColumns CAspGraphDataListBox::MeasureColumns(const AspGraphDataModel& model,
                                                         const std::array<int, 3>& least) const {
  const int height = count() > 0 ? sizeHintForRow(0) : fontMetrics().height();
  platform::MeasuringDc measure(logicalDpiY(), false, platform::MapMode::Text);
  platform::Dc& dc = measure.dc();
  dc.SelectFont({std::string(platform::kTextFace), AspGraphDataTextSize(dc, height)});
  const auto width = [&dc](const std::string& text) { return dc.GetTextExtent(text).cx; };
  const int gap = width("MM");
  int pairWidth = 0;
  for (int j = 0; j < model.RowCount(); ++j)
    pairWidth = std::max(pairWidth, width(model.RowOf(j).pairText));
  AspGraphDataColumns columns;
  columns.aspect = pairWidth + gap;
  columns.arc = columns.aspect + std::max(width(GetMessageText(kMsgNoAspect)) + gap, least[0]);
  columns.orb = columns.arc + std::max(width("000:00") + gap, least[1]);
  return columns;
}

void CAspGraphDataListBox::Show(const AspGraphDataModel& model,
                                const AspGraphDataColumns& columns) {
  model_ = &model;
  columns_ = columns;
  if (count() != model.RowCount()) {
    clear();
    for (int j = 0; j < model.RowCount(); ++j) addItem(ToQt(model.RowOf(j).pairText));
  }
  viewport()->update();
}

DASPGRAPHDATA::DASPGRAPHDATA(const CAspGraphCalc& calc, int sample, SampleX sampleX,
                             QWidget* parent)
    : platform::Dialog(parent), model(calc, sample), sampleX_(std::move(sampleX)) {
  setWindowTitle(QStringLiteral("Аспекты на заданную дату"));
  auto* layout = new QVBoxLayout(this);
  auto* top = new QHBoxLayout;
  back_ = AddButton(this, top, "<<<");
  moment_ = new QLineEdit(this);
  moment_->setReadOnly(true);
  moment_->setMaxLength(30);
  top->addWidget(moment_, 1);
  forward_ = AddButton(this, top, ">>>");
  move_ = new QCheckBox(QStringLiteral("Передвигать"), this);
  top->addWidget(move_);
  layout->addLayout(top);

  // Each column is at least as wide as its caption and a gap.
  const QFontMetrics metrics(font());
  std::array<int, 3> captionWidths{};
  for (std::size_t k = 0; k < kCaptions.size(); ++k)
    captionWidths[k] = metrics.horizontalAdvance(QString::fromUtf8(kCaptions[k])) +
                       metrics.horizontalAdvance(QStringLiteral("MM"));
  // The items first: the columns are measured in the font the items are drawn in, at the height
  // the list gives them.
  list_ = new CAspGraphDataListBox(this);
  list_->Show(model, columns_);
  columns_ = list_->MeasureColumns(model, captionWidths);
  const std::array<int, 3> starts{columns_.aspect, columns_.arc, columns_.orb};
  auto* captions = new QHBoxLayout;
  captions->setSpacing(0);
  captions->addSpacing(list_->frameWidth() + columns_.aspect);
  for (std::size_t k = 0; k < kCaptions.size(); ++k) {
    auto* caption = new QLabel(QString::fromUtf8(kCaptions[k]), this);
    caption->setFixedWidth(k + 1 < starts.size() ? starts[k + 1] - starts[k] : captionWidths[k]);
    captions->addWidget(caption);
  }
  captions->addStretch();
  layout->addLayout(captions);
  list_->setMinimumWidth(2 * list_->frameWidth() + columns_.orb +
                         std::max(columns_.orb - columns_.arc, captionWidths[2]) +
                         list_->verticalScrollBar()->sizeHint().width());
  layout->addWidget(list_, 1);
  auto* bottom = new QHBoxLayout;
  bottom->addStretch();
  QPushButton* ok = AddButton(this, bottom, "OK");
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  layout->addLayout(bottom);

  connect(back_, &QPushButton::clicked, this, [this] { OnBack(); });
  connect(forward_, &QPushButton::clicked, this, [this] { OnForward(); });
  connect(move_, &QCheckBox::toggled, this, [this] { Refresh(); });
}

bool DASPGRAPHDATA::DoDataExchange(bool save) {
  if (!save) Refresh();
  return true;
}

void DASPGRAPHDATA::OnBack() {
  model.Back();
  Refresh();
}

void DASPGRAPHDATA::OnForward() {
  model.Forward();
  Refresh();
}

void DASPGRAPHDATA::Refresh() {
  moment_->setText(ToQt(model.MomentText()));
  back_->setEnabled(model.CanGoBack());
  forward_->setEnabled(model.CanGoForward());
  list_->Show(model, columns_);
  if (move_->isChecked() && sampleX_) PlaceAt(QPoint(sampleX_(model.Sample()), y()));
}
