#include "conditions/ui/query_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include "archive/store/archive.h"
#include "astro/aspects/aspectarium.h"
#include "astro/chart/chart_context.h"
#include "astro/chart/published_settings.h"
#include "conditions/ui/condition_wizard.h"
#include "conditions/ui/groups_dialog.h"
#include "conditions/ui/view_kinds.h"
#include "document/chart_document.h"
#include "document/workbench.h"
#include "foundation/config/configuration.h"
#include "foundation/files/settings.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/text/cp1251.h"
#include "foundation/text/text_helpers.h"
#include "platform/core/prompter.h"
#include "platform/qt/background_run.h"
#include "platform/qt/dialog_controls.h"
#include "platform/qt/qt_dc.h"
#include "platform/qt/qt_text.h"

namespace {

constexpr int kCurrentNameLength = 50;
const char* const kTitle = "ЗАПРОС НА ПОИСК В АРХИВЕ";

class QueryItemDelegate : public QStyledItemDelegate {
 public:
  explicit QueryItemDelegate(QueryListBox* box) : QStyledItemDelegate(box), box_(box) {}

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    painter->save();
    platform::QtDc dc(*painter, false);
    dc.SetMapMode(platform::MapMode::Text);
    dc.SelectFont(platform::Font{std::string(platform::kTextFace), 90});
    const QRect r = option.rect;
    const QColor base = option.palette.base().color();
    DrawQueryListItem(dc, platform::Rect{r.left() + 2, r.top() + 2, r.right() + 1, r.bottom() + 1},
                      box_->ItemText(index.row()), box_->ItemOn(index.row()),
                      option.state & QStyle::State_Selected,
                      platform::Color{static_cast<std::uint8_t>(base.red()),
                                      static_cast<std::uint8_t>(base.green()),
                                      static_cast<std::uint8_t>(base.blue())});
    painter->restore();
  }

  QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
    return QSize(400, QueryListBox::kItemHeight);
  }

 private:
  QueryListBox* box_;
};

}  // namespace

// --- The lists ---

QueryListBox::QueryListBox(std::function<std::string(int)> text, std::function<bool(int)> on,
                           QWidget* parent)
    : QListWidget(parent), text_(std::move(text)), on_(std::move(on)) {
  setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
  setItemDelegate(new QueryItemDelegate(this));
  setUniformItemSizes(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
}

void QueryListBox::Refill(int count, int selected) {
  const QSignalBlocker block(this);
  clear();
  for (int i = 0; i < count; ++i) {  // the text serves accessibility; the delegate draws the row
    auto* item = new QListWidgetItem(platform::ToQt(text_(i)), this);
    item->setData(Qt::UserRole, i);
  }
  setCurrentRow(selected >= 0 && selected < count ? selected : -1);
  viewport()->update();
}

CFuncList::CFuncList(const CFunc& set, QWidget* parent)
    : QueryListBox([&set](int i) { return set.QueryConditionText(i, true); },
                   [&set](int i) { return i < set.Count() && set.Condition(i).Enabled(); },
                   parent) {}

CQueArcListBox::CQueArcListBox(const std::vector<ArchiveListEntry>& archives, QWidget* parent)
    : QueryListBox(
          [&archives](int i) {
            return i < static_cast<int>(archives.size())
                       ? QueryArchiveItemText(archives[static_cast<std::size_t>(i)].path)
                       : std::string();
          },
          [&archives](int i) {
            return i < static_cast<int>(archives.size()) &&
                   archives[static_cast<std::size_t>(i)].on;
          },
          parent) {}

// --- The settings of the results view ---

D_QUERY_PARAMS::D_QUERY_PARAMS(const QueryViewSettings& initial, QWidget* parent)
    : platform::Dialog(parent), values(initial.Clamped()) {
  setWindowTitle(QStringLiteral("Запрос - конфигурация"));
  using V = QueryViewSettings;
  printFont_ = platform::NumberBox(this, V::kMinFont, V::kMaxFont);
  printGap_ = platform::NumberBox(this, V::kMinGap, V::kMaxGap);
  screenFont_ = platform::NumberBox(this, V::kMinFont, V::kMaxFont);
  screenGap_ = platform::NumberBox(this, V::kMinGap, V::kMaxGap);
  showArchives_ = new QCheckBox(QStringLiteral("Выводить список архивов"), this);
  showQuery_ = new QCheckBox(QStringLiteral("Выводить запрос (функции)"), this);
  auto* layout = new QVBoxLayout(this);
  const auto box = [&](const char* title, QSpinBox* font, QSpinBox* gap) {
    auto* group = new QGroupBox(QString::fromUtf8(title), this);
    auto* form = new QFormLayout(group);
    form->addRow(QStringLiteral("Размер шрифта"), font);
    form->addRow(QStringLiteral("Интервал между строками"), gap);
    layout->addWidget(group);
  };
  box("Печать", printFont_, printGap_);
  box("Экран", screenFont_, screenGap_);
  layout->addWidget(showArchives_);
  layout->addWidget(showQuery_);
  layout->addWidget(platform::DialogButtons(this, "OK", "Отмена"));
}

bool D_QUERY_PARAMS::DoDataExchange(bool save) {
  if (save) {
    values =
        QueryViewSettings{screenFont_->value(), printFont_->value(),        screenGap_->value(),
                          printGap_->value(),   showArchives_->isChecked(), showQuery_->isChecked()}
            .Clamped();
    return true;
  }
  printFont_->setValue(values.printFont);
  printGap_->setValue(values.printGap);
  screenFont_->setValue(values.screenFont);
  screenGap_->setValue(values.screenGap);
  showArchives_->setChecked(values.showArchives);
  showQuery_->setChecked(values.showQuery);
  return true;
}

// --- The dialog ---

DQuery::DQuery(Archive& archive, std::function<bool()> showResults, QWidget* parent)
    : DQuery(archive, QueryMode::kQuery, parent) {
  showResults_ = std::move(showResults);
}

DQuery::DQuery(Archive& archive, const Chart* current,
               std::function<bool(SynastryHandOver)> showSynastry, QWidget* parent)
    : DQuery(archive, QueryMode::kSynastry, parent) {
  current_ = current;
  showSynastry_ = std::move(showSynastry);
}

DQuery::DQuery(Archive& archive, QueryMode mode, QWidget* parent)
    : platform::Dialog(parent),
      archive_(archive),
      model_(mode),
      archiveBox_(new QGroupBox(QStringLiteral("Архивы"), this)),
      modeText_(new QLabel(this)),
      conditions_(new CFuncList(model_.set, this)),
      archives_(new CQueArcListBox(model_.archives, this)),
      currentOnly_(new QCheckBox(QStringLiteral("Искать только  в"), this)),
      currentName_(new QLabel(this)),
      modes_(new QButtonGroup(this)),
      logic_(new QComboBox(this)) {
  setWindowTitle(QString::fromUtf8(kTitle));
  auto* layout = new QVBoxLayout(this);
  modeText_->setWordWrap(true);
  modeText_->setMinimumWidth(520);
  layout->addWidget(modeText_);

  auto* archiveLayout = new QGridLayout(archiveBox_);
  auto* current = new QHBoxLayout;
  current->addWidget(currentOnly_);
  current->addWidget(new QLabel(QStringLiteral("текущем архиве"), this));
  current->addSpacing(12);
  current->addWidget(currentName_);
  current->addStretch(1);
  archiveLayout->addLayout(current, 0, 0, 1, 2);
  archives_->setMinimumSize(520, 110);
  archiveLayout->addWidget(archives_, 1, 0);
  auto* archiveButtons = new QVBoxLayout;
  archiveButtons->addWidget(AddButton(kIdAddArchive, QStringLiteral("ДОБАВИТЬ")));
  archiveButtons->addWidget(AddButton(kIdRemoveArchive, QStringLiteral("УДАЛИТЬ")));
  archiveButtons->addWidget(AddButton(kIdToggleArchive, QStringLiteral("ВКЛ/ВЫКЛ")));
  archiveButtons->addStretch();
  archiveLayout->addLayout(archiveButtons, 1, 1);
  layout->addWidget(archiveBox_);

  auto* conditionBox = new QGroupBox(QStringLiteral("Условия"), this);
  auto* conditionLayout = new QGridLayout(conditionBox);
  conditions_->setMinimumSize(520, 160);
  conditionLayout->addWidget(conditions_, 0, 0);
  auto* conditionButtons = new QVBoxLayout;
  conditionButtons->addWidget(AddButton(kIdAddCondition, QStringLiteral("ДОБАВИТЬ")));
  conditionButtons->addWidget(AddButton(kIdDeleteCondition, QStringLiteral("УДАЛИТЬ")));
  conditionButtons->addWidget(AddButton(kIdEditCondition, QStringLiteral("РЕДАКТИРОВАТЬ")));
  conditionButtons->addWidget(AddButton(kIdToggleCondition, QStringLiteral("ВКЛ/ВЫКЛ")));
  conditionButtons->addStretch();
  conditionLayout->addLayout(conditionButtons, 0, 1);
  auto* modeLayout = new QGridLayout;
  const int modeMessages[3] = {kMsgHeaderAll, kMsgHeaderAny, kMsgHeaderLogic};
  for (int m = 0; m < 3; ++m) {
    auto* radio = new QRadioButton(platform::ToQt(GetMessageText(modeMessages[m])), this);
    modes_->addButton(radio, m);
    modeLayout->addWidget(radio, m, 0);
  }
  logic_->setEditable(true);
  logic_->setInsertPolicy(QComboBox::NoInsert);
  logic_->lineEdit()->setMaxLength(static_cast<int>(QueryDialogModel::kMaxTypedLogic));
  logic_->lineEdit()->setValidator(new platform::Cp1251Validator(logic_));
  logic_->setMinimumWidth(300);
  modeLayout->addWidget(logic_, 2, 1);
  conditionLayout->addLayout(modeLayout, 1, 0, 1, 2);
  layout->addWidget(conditionBox);

  auto* bottom = new QHBoxLayout;
  bottom->addWidget(AddButton(kIdGroups, QStringLiteral("РЕДАКТОР ГРУПП")));
  bottom->addWidget(AddButton(kIdSettings, QStringLiteral("НАСТРОЙКА")));
  bottom->addStretch();
  bottom->addWidget(platform::DialogButtons(this, "OK", "Отмена"));
  layout->addLayout(bottom);

  connect(currentOnly_, &QCheckBox::toggled, this, [this] { OnCurrentOnly(); });
  connect(modes_, &QButtonGroup::idClicked, this, [this](int m) { OnMode(m); });
  const std::pair<int, void (DQuery::*)()> actions[] = {
      {kIdAddArchive, &DQuery::OnAddArchive},
      {kIdRemoveArchive, &DQuery::OnRemoveArchive},
      {kIdToggleArchive, &DQuery::OnToggleArchive},
      {kIdAddCondition, &DQuery::OnAddCondition},
      {kIdDeleteCondition, &DQuery::OnDeleteCondition},
      {kIdEditCondition, &DQuery::OnEditCondition},
      {kIdToggleCondition, &DQuery::OnToggleCondition},
      {kIdGroups, &DQuery::OnGroups},
      {kIdSettings, &DQuery::OnSettings}};
  for (const auto& [id, action] : actions)
    connect(buttons_.at(id), &QPushButton::clicked, this, action);
  connect(archives_, &QListWidget::currentRowChanged, this,
          [this](int row) { model_.selectedArchive = row; });
  connect(conditions_, &QListWidget::currentRowChanged, this,
          [this](int row) { model_.selectedCondition = row; });
  connect(archives_, &QListWidget::itemDoubleClicked, this, [this] { OnToggleArchive(); });
  connect(conditions_, &QListWidget::itemDoubleClicked, this, [this] { OnToggleCondition(); });
}

QPushButton* DQuery::AddButton(int id, const QString& text) {
  auto* button = new QPushButton(text, this);
  button->setAutoDefault(false);
  buttons_[id] = button;
  return button;
}

QPushButton* DQuery::Button(int id) const {
  const auto it = buttons_.find(id);
  return it == buttons_.end() ? nullptr : it->second;
}

void DQuery::OnInitDialog() {
  const bool synastry = IsSynastry();
  model_.Load(synastry ? GetConfiguration().synastry : GetConfiguration().query);
  if (synastry) {
    setWindowTitle(platform::ToQt(GetMessageText(kMsgSynastryQueryTitle)));
    const int pairing = SynastrySetup::FromBlock(GetConfiguration().synastry).mode;
    modeText_->setText(platform::ToQt(GetMessageText(kMsgModeDescription + pairing) +
                                      GetMessageText(kMsgConditionsBelow)));
  }
  modeText_->setVisible(synastry);
  archiveBox_->setVisible(!synastry);
  currentName_->setText(platform::ToQt(ShortenTextToLength(
      PathText(archive_.IsOpen() ? archive_.GetPath() : std::string()), kCurrentNameLength)));
  currentName_->setToolTip(platform::PathToQt(archive_.GetPath()));
  logic_->clear();
  for (const std::string& expression : model_.history) logic_->addItem(platform::ToQt(expression));
  logic_->setCurrentIndex(model_.history.empty() ? -1 : 0);
  RefillArchives();
  RefillConditions();
  DoDataExchange(false);
}

bool DQuery::DoDataExchange(bool save) {
  if (save) {
    model_.currentArchiveOnly = currentOnly_->isChecked();
    model_.set.mode = platform::Checked(modes_, 0);
    return true;
  }
  const QSignalBlocker block(currentOnly_);
  currentOnly_->setChecked(model_.currentArchiveOnly);
  platform::Check(modes_, model_.set.mode);
  UpdateControls();
  return true;
}

void DQuery::UpdateControls() {
  const QueryDialogEnabling e = model_.Enabling();
  archives_->setVisible(e.archiveList);
  currentName_->setVisible(!e.archiveList);
  Button(kIdAddArchive)->setEnabled(e.addArchive);
  Button(kIdRemoveArchive)->setEnabled(e.removeArchive);
  Button(kIdToggleArchive)->setEnabled(e.removeArchive);
  Button(kIdAddCondition)->setEnabled(e.addCondition);
  for (int id : {kIdDeleteCondition, kIdEditCondition, kIdToggleCondition})
    Button(id)->setEnabled(e.changeCondition);
  logic_->setEnabled(e.logicCombo);
}

void DQuery::RefillArchives() {
  archives_->Refill(static_cast<int>(model_.archives.size()), model_.selectedArchive);
}

void DQuery::RefillConditions() {
  conditions_->Refill(model_.set.Count(), model_.selectedCondition);
}

void DQuery::OnCurrentOnly() {
  model_.currentArchiveOnly = currentOnly_->isChecked();
  UpdateControls();
}

void DQuery::OnAddArchive() {
  if (model_.RefuseFullList()) return;
  // Where the browser's file dialogs begin: the current archive's folder, else the data folder.
  const std::string folder = archive_.DialogFolder();
  platform::FileChoice choice = ArchiveFileChoice(true, ArchiveFilter::kVersions45, folder);
  if (!platform::GetPrompter().ChooseFile(choice)) return;
  model_.AddArchive(InDialogFolder(choice.path, folder));
  RefillArchives();
  UpdateControls();
}

void DQuery::OnRemoveArchive() {
  model_.RemoveArchive();
  RefillArchives();
  UpdateControls();
}

void DQuery::OnToggleArchive() {
  model_.ToggleArchive();
  archives_->viewport()->update();
}

void DQuery::OnAddCondition() {
  if (RunConditionWizard(model_.set, this) != 0) return;
  model_.ConditionsChanged(0);
  model_.SaveConditions();
  RefillConditions();
  UpdateControls();
}

void DQuery::OnDeleteCondition() {
  const int selected = model_.selectedCondition;
  if (DeleteCondition(model_.set, selected) != 0) return;
  model_.ConditionsChanged(selected);
  model_.SaveConditions();
  RefillConditions();
  UpdateControls();
}

void DQuery::OnEditCondition() {
  if (EditCondition(model_.set, model_.selectedCondition, this) != 0) return;
  model_.SaveConditions();
  RefillConditions();
}

void DQuery::OnToggleCondition() {
  if (model_.ToggleCondition()) conditions_->viewport()->update();
}

void DQuery::OnMode(int mode) {
  model_.set.mode = mode;
  UpdateControls();
}

void DQuery::OnGroups() {
  RunGroupsDialog(model_.set.groups, this);
  RefillConditions();
}

void DQuery::OnSettings() {
  D_QUERY_PARAMS settings(model_.view, this);
  if (settings.DoModal() != platform::kIdOk) return;
  model_.view = settings.values;
  ChangeSettings([this](Configuration& config, Aspectarium&) {
    if (IsSynastry())
      SynastryViewToBlock(model_.view, config.synastry);
    else
      model_.view.ToBlock(config.query);
  });
}

void DQuery::OnOK_Synastry() {
  platform::BackgroundRun background(platform::ToQt(GetMessageText(kMsgSynastryQueryTitle)), this);
  const SynastrySetup setup = SynastrySetup::FromBlock(GetConfiguration().synastry);
  std::vector<ArchiveListEntry> list;
  if (setup.mode == kSynArchiveList)
    list = LoadArcs(GetSettings().GetPath(ArcsFileName(QueryMode::kSynastry)));
  RunSynastryFromDialog(
      model_, platform::FromQt(logic_->currentText()), GetConfiguration().synastry,
      SynastryRequest::From(setup, current_, std::move(list)),
      [] {
        PublishSettings();
        return ChartContext::FromCurrentSettings();
      },
      [&background](const auto& work) { return background.Run(work); }, showSynastry_);
}

void DQuery::accept() {
  if (!DoDataExchange(true)) return;
  if (IsSynastry()) {
    OnOK_Synastry();
    QDialog::accept();
    return;
  }
  platform::BackgroundRun background(QString::fromUtf8(kTitle), this);
  // The run takes the settings as they are published once the dialog has stored its own.
  RunQueryFromDialog(
      model_, platform::FromQt(logic_->currentText()), GetConfiguration().query, archive_,
      [] {
        PublishSettings();
        return ChartContext::FromCurrentSettings();
      },
      [&background](const auto& work) { return background.Run(work); }, showResults_);
  QDialog::accept();
}

bool RunArchiveQuery(Workbench& workbench, QWidget* parent) {
  DQuery dialog(
      workbench.GetArchive(),
      [&workbench] {
        return workbench.OpenChartDocument(DocCreation::Results(DocCreationMode::EmptyResults),
                                           kTemplateQueryResults) != nullptr;
      },
      parent);
  return dialog.DoModal() == platform::kIdOk && dialog.LoadFlag();
}
