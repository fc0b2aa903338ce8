#include "rectification/ui/rect_setup_dialogs.h"

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
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

#include "astro/aspects/aspectarium.h"
#include "astro/chart/chart.h"
#include "astro/chart/chart_context.h"
#include "conditions/ui/plan_house_select.h"
#include "foundation/config/configuration.h"
#include "foundation/drawing/glyph_drawing.h"
#include "foundation/drawing/palette.h"
#include "foundation/errors/error_report.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/messages/show_message.h"
#include "platform/core/prompter.h"
#include "platform/qt/background_run.h"
#include "platform/qt/dialog_controls.h"
#include "platform/qt/qt_dc.h"
#include "platform/qt/qt_text.h"
#include "rectification/ui/rect_events_list_box.h"

namespace {

using platform::NumberBox;

// The marked planets (a row at 30 % of the height) and houses (at 55 %) as glyphs.
class MarksView : public QWidget {
 public:
  MarksView(const RectEventPage& page, QWidget* parent) : QWidget(parent), page_(page) {
    setMinimumSize(360, 120);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    platform::QtDc dc(painter, false);
    dc.SetMapMode(platform::MapMode::Text);
    const int size = std::max(60, height() / 6 * 720 / 96);
    const int step = std::max(1, height() / 6 * 14 / 10);
    const auto row = [&](const std::string& glyphs, int y) {
      int x = width() * 15 / 100;
      for (char g : glyphs) {
        DrawGlyphText(dc, x, y, g, 'a', size, platform::BkMode::Transparent);
        x += step;
      }
    };
    if (page_.PlanetButtonShown()) row(page_.PlanetGlyphs(), height() * 30 / 100);
    row(page_.HouseGlyphs(), height() * 55 / 100);
  }

 private:
  const RectEventPage& page_;
};

}  // namespace

bool ChooseRectMembers(int mode, std::string& marks, QWidget* parent) {
  std::vector<int> chosen;
  for (std::size_t i = 0; i < marks.size(); ++i)
    if (marks[i] == 'Y') chosen.push_back(static_cast<int>(i));
  const int chooserMode = mode == 0 ? MemberChoice::kPlanets : MemberChoice::kHouses;
  std::string flags = MemberChoice::FlagsOf(chooserMode, chosen);
  if (!RunPlanHouseSelect(chooserMode, flags, MemberChoice::kNoLimit, parent)) return false;
  // An event keeps the points its letters can name; the points after them are not kept.
  std::fill(marks.begin(), marks.end(), 'N');
  for (int i : MemberChoice::ChosenIndices(flags))
    if (i >= 0 && static_cast<std::size_t>(i) < marks.size())
      marks[static_cast<std::size_t>(i)] = 'Y';
  return true;
}

// --- DRectEvent ---

DRectEvent::DRectEvent(const RectEventPage& page, QWidget* parent)
    : platform::Dialog(parent), page_(page) {
  setWindowTitle(QStringLiteral("Событие"));
  auto* layout = new QVBoxLayout(this);
  // The date under its column labels, the event's name beside its label.
  auto* fields = new QGridLayout;
  day_ = NumberBox(this, 1, 31);
  month_ = NumberBox(this, 1, 12);
  year_ = NumberBox(this, RectConfPage::kYearMin, RectConfPage::kYearMax);
  const std::array<std::pair<const char*, QSpinBox*>, 3> date{
      {{"День", day_}, {"Месяц", month_}, {"Год", year_}}};
  for (int c = 0; c < 3; ++c) {
    const auto& [label, box] = date[static_cast<std::size_t>(c)];
    auto* heading = new QLabel(QString::fromUtf8(label), this);
    heading->setBuddy(box);
    fields->addWidget(heading, 0, c + 1);
    fields->addWidget(box, 1, c + 1);
  }
  fields->addWidget(new QLabel(QStringLiteral("Дата"), this), 1, 0);
  text_ = new QLineEdit(this);
  text_->setMaxLength(static_cast<int>(RectEventPage::kMaxText));
  auto* textLabel = new QLabel(QStringLiteral("Событие"), this);
  textLabel->setBuddy(text_);
  fields->addWidget(textLabel, 2, 0);
  fields->addWidget(text_, 2, 1, 1, 3);
  layout->addLayout(fields);
  auto* buttonsRow = new QHBoxLayout;
  planets_ = new QPushButton(QStringLiteral("Планеты..."), this);
  houses_ = new QPushButton(QStringLiteral("Дома..."), this);
  planets_->setVisible(page_.PlanetButtonShown());
  buttonsRow->addWidget(planets_);
  buttonsRow->addWidget(houses_);
  layout->addLayout(buttonsRow);
  marks_ = new MarksView(page_, this);
  layout->addWidget(marks_);
  layout->addWidget(platform::DialogButtons(this, "OK", "Отмена"));
  connect(planets_, &QPushButton::clicked, this, &DRectEvent::ChoosePlanets);
  connect(houses_, &QPushButton::clicked, this, &DRectEvent::ChooseHouses);
}

bool DRectEvent::DoDataExchange(bool save) {
  if (!save) {
    day_->setValue(page_.day);
    month_->setValue(page_.month);
    year_->setValue(page_.year);
    text_->setText(platform::ToQt(page_.text));
    return true;
  }
  page_.day = day_->value();
  page_.month = month_->value();
  page_.year = year_->value();
  page_.text = platform::FromQt(text_->text());
  return true;
}

bool DRectEvent::CheckOk() {
  const int refused = page_.CheckOk();
  if (refused == 0) return true;
  ShowMessage(refused);
  return false;
}

void DRectEvent::ChoosePlanets() {
  std::string marks = page_.planetMask;
  if (!ChooseRectMembers(0, marks, this)) return;
  page_.planetMask = marks;
  marks_->update();
}

void DRectEvent::ChooseHouses() {
  std::string marks = page_.houseMask;
  if (!ChooseRectMembers(1, marks, this)) return;
  page_.houseMask = marks;
  marks_->update();
}

// --- DRectChooseChart ---

DRectChooseChart::DRectChooseChart(QWidget* parent) : platform::Dialog(parent) {
  setWindowTitle(QStringLiteral("Выбор гороскопов"));
  auto* layout = new QVBoxLayout(this);
  const char* labels[] = {"Натальный", "Транзитный", "Прогрессивный", "Дирекционный"};
  for (std::size_t i = 0; i < boxes_.size(); ++i) {
    boxes_[i] = new QCheckBox(QString::fromUtf8(labels[i]), this);
    layout->addWidget(boxes_[i]);
  }
  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(QStringLiteral("Показать"), QDialogButtonBox::AcceptRole);
  buttons->addButton(QStringLiteral("Отменить"), QDialogButtonBox::RejectRole);
  layout->addWidget(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &DRectChooseChart::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &DRectChooseChart::reject);
}

bool DRectChooseChart::DoDataExchange(bool save) {
  for (std::size_t i = 0; i < boxes_.size(); ++i) {
    if (save)
      show[i] = boxes_[i]->isChecked();
    else
      boxes_[i]->setChecked(show[i]);
  }
  return true;
}

// --- the event commands of the event lists ---

namespace {

std::optional<int> Done(int select, const Status& st, std::string_view trace) {
  if (!st.ok()) {
    if (st.MessageNumber() != 0 && st.ErrorCode() == 0)
      ShowMessage(st.MessageNumber());
    else
      ReportStatus(st, trace);
  }
  return select;
}

}  // namespace

std::optional<int> AddListedEvent(RectEventsEditor& editor, int k, int mode, QWidget* parent,
                                  std::string_view trace) {
  RectEventPage page;
  page.mode = mode;
  DRectEvent dialog(page, parent);
  if (dialog.DoModal() != platform::kIdOk) return std::nullopt;
  int select = k;
  const Status st = editor.Add(dialog.Page(), select);
  return Done(select, st, trace);
}

std::optional<int> EditListedEvent(RectEventsEditor& editor, int k, int mode, QWidget* parent,
                                   std::string_view trace) {
  const LifeEvent* e = editor.Events().AtDisplay(k);
  if (e == nullptr) return std::nullopt;
  RectEventPage page(*e);
  page.mode = mode;
  DRectEvent dialog(page, parent);
  if (dialog.DoModal() != platform::kIdOk) return std::nullopt;
  const Status st = editor.Edit(k, dialog.Page());
  return Done(k, st, trace);
}

std::optional<int> RemoveListedEvent(RectEventsEditor& editor, int k, std::string_view trace) {
  const LifeEvent* e = editor.Events().AtDisplay(k);
  if (e == nullptr) return std::nullopt;
  const std::string question = GetMessageText(kMsgRemoveEvent) + "\n" + e->text + "?";
  if (platform::GetPrompter().AskYesNo(kMsgRemoveEvent, question) != platform::Answer::Yes)
    return std::nullopt;
  int select = k;
  const Status st = editor.Remove(k, select);
  return Done(select, st, trace);
}

std::optional<int> ToggleListedEvent(RectEventsEditor& editor, int k, std::string_view trace) {
  int select = k;
  const Status st = editor.Toggle(select, select);
  return Done(select, st, trace);
}

// --- DRectConf ---

DRectConf::DRectConf(const RectConfPage& page, const std::vector<std::string>& systemNames,
                     const RectEventFiles& files, QWidget* parent)
    : platform::PropertyPage(parent),
      page_(page),
      files_(files),
      editor_(*files.events, files.eventsFile) {
  auto* layout = new QGridLayout(this);
  list_ = new CRectEventsListBox(0, this);
  layout->addWidget(list_, 0, 0, 1, 2);
  auto* commands = new QVBoxLayout;
  const auto button = [&](const char* text, void (DRectConf::*handler)()) {
    auto* b = new QPushButton(QString::fromUtf8(text), this);
    connect(b, &QPushButton::clicked, this, handler);
    commands->addWidget(b);
  };
  button("ДОБАВИТЬ СОБЫТИЕ", &DRectConf::OnAdd);
  button("РЕДАКТИРОВАТЬ СОБЫТИЕ", &DRectConf::OnEdit);
  button("УБРАТЬ СОБЫТИЕ", &DRectConf::OnRemove);
  button("ВКЛ./ВЫКЛ. СОБЫТИЕ", &DRectConf::OnSwitch);
  chrono_ = new QCheckBox(QStringLiteral("Хронологический порядок"), this);
  connect(chrono_, &QCheckBox::clicked, this, &DRectConf::OnChronological);
  commands->addWidget(chrono_);
  button("В СПИСОК МЕТОДА ТРЕМИНА", &DRectConf::OnTransfer);
  layout->addLayout(commands, 0, 2);
  connect(list_, &QListWidget::itemDoubleClicked, this, [this] { OnEdit(); });

  auto* interval = new QGroupBox(QStringLiteral("Возможный интервал рождения"), this);
  auto* rows = new QGridLayout(interval);
  // Day, month, year, hour, minute on screen, each column under its label; the words are year,
  // month, day, hour, minute.
  static constexpr std::array<int, 5> kWordOfColumn{2, 1, 0, 3, 4};
  static constexpr std::array<const char*, 5> kColumnLabel{"День", "Месяц", "Год", "Час", "Мин."};
  static constexpr std::array<std::array<int, 2>, 5> kRange{
      {{RectConfPage::kYearMin, RectConfPage::kYearMax}, {1, 12}, {1, 31}, {0, 23}, {0, 59}}};
  for (int c = 0; c < 5; ++c)
    rows->addWidget(
        new QLabel(QString::fromUtf8(kColumnLabel[static_cast<std::size_t>(c)]), interval), 0,
        c + 1);
  for (int r = 0; r < 2; ++r) {
    rows->addWidget(new QLabel(r == 0 ? QStringLiteral("От") : QStringLiteral("До"), interval),
                    r + 1, 0);
    auto& boxes = r == 0 ? start_ : end_;
    for (int c = 0; c < 5; ++c) {
      const auto w = static_cast<std::size_t>(kWordOfColumn[static_cast<std::size_t>(c)]);
      boxes[w] = NumberBox(interval, kRange[w][0], kRange[w][1]);
      rows->addWidget(boxes[w], r + 1, c + 1);
    }
  }
  rows->setRowStretch(3, 1);  // the rows stay under their labels when the page grows
  layout->addWidget(interval, 1, 0);

  auto* systemsBox = new QGroupBox(QStringLiteral("Системы аспектов"), this);
  auto* systemsLayout = new QGridLayout(systemsBox);
  // Shown as transits, directions, progressions, life point; stored in the page's order.
  const std::array<std::pair<const char*, int>, 4> shown{
      {{"Транзиты", RectConfPage::kTransits},
       {"Дирекции", RectConfPage::kDirections},
       {"Прогрессии", RectConfPage::kProgressions},
       {"Точка Жизни", RectConfPage::kLifePoint}}};
  for (std::size_t i = 0; i < shown.size(); ++i) {
    auto* combo = new QComboBox(systemsBox);
    combo->setEditable(true);
    for (const std::string& name : systemNames) combo->addItem(platform::ToQt(name));
    combo->lineEdit()->setMaxLength(static_cast<int>(kSystemNameReadWidth));
    systems_[static_cast<std::size_t>(shown[i].second)] = combo;
    systemsLayout->addWidget(new QLabel(QString::fromUtf8(shown[i].first), systemsBox),
                             static_cast<int>(i), 0);
    systemsLayout->addWidget(combo, static_cast<int>(i), 1);
  }
  layout->addWidget(systemsBox, 1, 1);

  auto* output = new QGroupBox(QStringLiteral("Вывод результата"), this);
  auto* outputLayout = new QVBoxLayout(output);
  mode_ = new QButtonGroup(this);
  int id = 0;
  for (const char* text : {"Таблица по событиям", "Таблица по методам", "График"}) {
    auto* radio = new QRadioButton(QString::fromUtf8(text), output);
    mode_->addButton(radio, id++);
    outputLayout->addWidget(radio);
  }
  auto* grid = new QGroupBox(QStringLiteral("Разграфка"), output);
  auto* gridLayout = new QVBoxLayout(grid);
  hGrid_ = new QCheckBox(QStringLiteral("Горизонтальная"), grid);
  vGrid_ = new QCheckBox(QStringLiteral("Вертикальная"), grid);
  gridLayout->addWidget(hGrid_);
  gridLayout->addWidget(vGrid_);
  outputLayout->addWidget(grid);
  layout->addWidget(output, 1, 2);
  connect(mode_, &QButtonGroup::idClicked, this, [this](int mode) {
    page_.displayMode = mode;
    Enable();
  });

  // The list's order follows the chronological check.
  files_.events->sortByDate = page_.chronological ? 1 : 0;
  files_.events->BuildOrder();
  Refill(files_.events->Count() > 0 ? 0 : -1);
}

bool DRectConf::DoDataExchange(bool save) {
  if (!save) {
    for (std::size_t i = 0; i < systems_.size(); ++i)
      systems_[i]->setEditText(platform::ToQt(page_.systems[i]));
    for (std::size_t w = 0; w < 5; ++w) {
      start_[w]->setValue(page_.interval.start[w]);
      end_[w]->setValue(page_.interval.end[w]);
    }
    if (QAbstractButton* b = mode_->button(page_.displayMode)) b->setChecked(true);
    vGrid_->setChecked(page_.verticalGrid);
    hGrid_->setChecked(page_.horizontalGrid);
    chrono_->setChecked(page_.chronological);
    Enable();
    return true;
  }
  for (std::size_t i = 0; i < systems_.size(); ++i)
    page_.systems[i] = platform::FromQt(systems_[i]->currentText()).substr(0, kSystemNameReadWidth);
  for (std::size_t w = 0; w < 5; ++w) {
    page_.interval.start[w] = start_[w]->value();
    page_.interval.end[w] = end_[w]->value();
  }
  page_.displayMode = std::max(0, mode_->checkedId());
  page_.verticalGrid = vGrid_->isChecked();
  page_.horizontalGrid = hGrid_->isChecked();
  page_.chronological = chrono_->isChecked();
  return true;
}

void DRectConf::Enable() {
  vGrid_->setEnabled(page_.GridEnabled());
  hGrid_->setEnabled(page_.GridEnabled());
}

void DRectConf::Refill(int select) { list_->Fill(*files_.events, select); }

void DRectConf::ShowFailure(const Status& st) {
  if (st.ok()) return;
  if (st.MessageNumber() != 0 && st.ErrorCode() == 0)
    ShowMessage(st.MessageNumber());
  else
    ReportStatus(st, "DRectConf");
}

void DRectConf::OnAdd() {
  if (const auto select = AddListedEvent(editor_, list_->currentRow(), 0, this, "DRectConf"))
    Refill(*select);
}

void DRectConf::OnEdit() {
  if (const auto select = EditListedEvent(editor_, list_->currentRow(), 0, this, "DRectConf"))
    Refill(*select);
}

void DRectConf::OnRemove() {
  if (const auto select = RemoveListedEvent(editor_, list_->currentRow(), "DRectConf"))
    Refill(*select);
}

void DRectConf::OnSwitch() {
  if (const auto select = ToggleListedEvent(editor_, list_->currentRow(), "DRectConf"))
    Refill(*select);
}

void DRectConf::OnChronological() {
  page_.chronological = chrono_->isChecked();
  int select = list_->currentRow();
  editor_.SetChronological(page_.chronological, select);
  Refill(select);
}

void DRectConf::OnTransfer() {
  if (files_.tremin == nullptr) return;
  const Status st = editor_.Transfer(list_->currentRow(), *files_.tremin, files_.treminFile);
  ShowFailure(st);
}

// --- DRectifMethods ---

DRectifMethods::DRectifMethods(const RectMethodsPage& page, QWidget* parent)
    : platform::PropertyPage(parent), page_(page) {
  auto* layout = new QGridLayout(this);
  const char* heads[] = {"Основной", "Дополни-\nтельный", "Не учи-\nтывать"};
  for (int c = 0; c < 3; ++c)
    layout->addWidget(new QLabel(QString::fromUtf8(heads[c]), this), 0, c + 1);
  for (int r = 0; r < RectMethodsPage::kRows; ++r) {
    const bool shown = RectMethodsPage::RowShown(r);
    layout->addWidget(
        new QLabel(shown ? platform::ToQt(GetMessageText(kMsgMethodNameFirst + r)) : QString(),
                   this),
        r + 1, 0);
    auto* group = new QButtonGroup(this);
    for (int c = 0; c < 3; ++c) {
      auto* radio = new QRadioButton(this);
      radio->setVisible(shown);
      group->addButton(radio, c);
      layout->addWidget(radio, r + 1, c + 1);
    }
    rows_[static_cast<std::size_t>(r)] = group;
  }
}

bool DRectifMethods::DoDataExchange(bool save) {
  for (int r = 0; r < RectMethodsPage::kRows; ++r) {
    QButtonGroup* group = rows_[static_cast<std::size_t>(r)];
    int& setting = page_.settings[static_cast<std::size_t>(r)];
    if (save) {
      if (group->checkedId() >= 0) setting = group->checkedId();
    } else if (QAbstractButton* b = group->button(setting)) {
      b->setChecked(true);
    }
  }
  return true;
}

// --- The sheet and the command ---

RectificationSheet::RectificationSheet(QWidget* parent)
    : CheckedSheet(platform::ToQt(GetMessageText(kMsgRectificationTitle)), parent) {}

bool RunRectificationSheet(Configuration& config, const Aspectarium& aspectarium,
                           const RectEventFiles& files, const Moment& chartMoment,
                           QWidget* parent) {
  if (files.events == nullptr) return false;
  const std::vector<std::string> names = aspectarium.Names();
  RectConfPage pendingConf(config, chartMoment);
  RectMethodsPage pendingMethods(config);
  DRectConf* conf = nullptr;
  DRectifMethods* methods = nullptr;
  const auto make = [&]() -> std::unique_ptr<CheckedSheet> {
    auto sheet = std::make_unique<RectificationSheet>(parent);
    conf = new DRectConf(pendingConf, names, files);
    methods = new DRectifMethods(pendingMethods);
    sheet->AddPage(conf, QStringLiteral("РАСЧЕТЫ"));
    sheet->AddPage(methods, QStringLiteral("СПИСОК МЕТОДОВ"));
    return sheet;
  };
  const auto check = [&](platform::PropertySheet&) {
    pendingConf = conf->Page();
    pendingMethods = methods->Page();
    const std::string replaced = pendingConf.CheckSystems(names);
    if (!replaced.empty()) {
      // The open sheet shows the names put in place of those typed.
      conf->Page().systems = pendingConf.systems;
      conf->DoDataExchange(false);
      platform::GetPrompter().ShowMessage(kMsgAspectSystemNotFound, replaced,
                                          platform::Icon::Warning);
      return false;
    }
    const int refused = pendingConf.CheckRun(*files.events);
    if (refused == 0) return true;
    ShowMessage(refused);
    return false;
  };
  const auto commit = [&] {
    pendingConf.Store(config);
    pendingMethods.Store(config);
  };
  return RunCheckedSheet(make, check, commit) == platform::kIdOk;
}

bool CalculateRectMatrix(RectMatrix& matrix, const Chart& chart, const Configuration& config,
                         const Aspectarium& aspectarium, const LifeEventList& events,
                         QWidget* parent) {
  if (const Status st = matrix.Prepare(config, aspectarium, events); !st.ok()) {
    ReportStatus(st, "RectMatrix::Prepare");
    return false;
  }
  for (const Status& warning : matrix.Warnings()) ReportStatus(warning, "RectMatrix::Prepare");
  const ChartContext ctx(config, aspectarium);
  Status st;
  platform::BackgroundRun run(platform::ToQt(GetMessageText(kMsgRectificationTitle)), parent);
  run.Run(
      [&](platform::ProgressSink& progress) { st = matrix.CalculateAll(ctx, chart, progress); });
  if (st.MessageNumber() == kMsgRectificationCancelled) {
    ShowMessage(kMsgRectificationCancelled);
    return false;
  }
  if (!st.ok()) ReportStatus(st, "RectMatrix::CalculateAll");
  return true;
}
