#include "conditions/ui/synastry_dialog.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "archive/store/archive.h"
#include "astro/chart/published_settings.h"
#include "document/workbench.h"
#include "foundation/config/configuration.h"
#include "foundation/files/settings.h"
#include "platform/core/prompter.h"
#include "platform/qt/dialog_controls.h"
#include "platform/qt/qt_text.h"

namespace {

const char* const kModeTexts[] = {
    "Поиск пары для данного гороскопа в заданном архиве ",
    "Поиск пары для данного гороскопа в разных архивах",
    "Для двух архивов (один гороскоп из первого, второй такой же по порядку из второго)",
    "Для двух архивов (один гороскоп - из первого, другой - подходящий из второго)",
    "Для одного архива (поиск любой подходящей пары среди гороскопов архива)"};

// The file dialog of both "ИЗМЕНИТЬ" and "ДОБАВИТЬ", in the data folder where the archives are:
// the chosen path, or empty after Cancel.
std::string ChooseArchiveFile() {
  const std::string folder = GetSettings().GetPath("");
  platform::FileChoice choice = ArchiveFileChoice(true, ArchiveFilter::kVersions45, folder);
  choice.mustExist = true;
  return platform::GetPrompter().ChooseFile(choice) ? InDialogFolder(choice.path, folder)
                                                    : std::string();
}

QLineEdit* ReadOnlyEdit(QWidget* owner) {
  auto* edit = new QLineEdit(owner);
  edit->setReadOnly(true);
  edit->setMinimumWidth(280);
  return edit;
}

}  // namespace

// --- The list ---

CSynAnalArcListBox::CSynAnalArcListBox(const CArcListContainer& container, QWidget* parent)
    : QueryListBox([&container](int i) { return container.ItemText(i); },
                   [&container](int i) {
                     return i >= 0 && i < container.Count() &&
                            container.Entries()[static_cast<std::size_t>(i)].on;
                   },
                   parent),
      container_(container) {}

void CSynAnalArcListBox::Refill(int selected) {
  QueryListBox::Refill(container_.Count(), selected);
}

// --- The dialog ---

DSYNANAL::DSYNANAL(const Chart* current, QWidget* parent)
    : platform::Dialog(parent),
      current_(current),
      modes_(new QButtonGroup(this)),
      list_(new CSynAnalArcListBox(model_.list, this)),
      chartBox_(new QGroupBox(QStringLiteral("Гороскоп"), this)),
      comment_(new QLabel(this)) {
  setWindowTitle(QStringLiteral("ПАРАМЕТРЫ СИНАСТРИЧЕСКОГО АНАЛИЗА"));
  // The chart and its comment above the search: side by side the two were wider than a small
  // screen.
  auto* layout = new QVBoxLayout(this);
  auto* left = new QVBoxLayout;
  auto* right = new QVBoxLayout;
  layout->addLayout(left);
  layout->addLayout(right, 1);

  auto* chartForm = new QFormLayout(chartBox_);
  const char* const chartLabels[] = {"Имя", "Название", "Дата и время", "Место"};
  for (int i = 0; i < 4; ++i) {
    chartEdits_[i] = ReadOnlyEdit(this);
    chartForm->addRow(QString::fromUtf8(chartLabels[i]), chartEdits_[i]);
  }
  left->addWidget(chartBox_);
  QBoxLayout* commentLayout = nullptr;
  left->addWidget(platform::Box(this, "Комментарий", commentLayout));
  comment_->setWordWrap(true);
  comment_->setMinimumHeight(90);
  commentLayout->addWidget(comment_);

  QBoxLayout* modeLayout = nullptr;
  right->addWidget(platform::Box(this, "Режим поиска", modeLayout));
  for (int m = 0; m < 5; ++m) {
    auto* radio = new QRadioButton(QString::fromUtf8(kModeTexts[m]), this);
    modes_->addButton(radio, m);
    modeLayout->addWidget(radio);
  }
  auto* archives = new QGridLayout;
  const char* const archiveLabels[] = {"Архив", "Архив 1", "Архив 2"};
  for (int i = 0; i < 3; ++i) {
    archiveLabels_[i] = new QLabel(QString::fromUtf8(archiveLabels[i]), this);
    archiveEdits_[i] = ReadOnlyEdit(this);
    archives->addWidget(archiveLabels_[i], i, 0);
    archives->addWidget(archiveEdits_[i], i, 1);
  }
  archives->addWidget(AddButton(kChange1, "ИЗМЕНИТЬ"), 0, 2);
  archives->addWidget(AddButton(kChange2, "ИЗМЕНИТЬ"), 2, 2);
  right->addLayout(archives);
  auto* listRow = new QHBoxLayout;
  list_->setMinimumSize(320, 120);
  listRow->addWidget(list_, 1);
  auto* listButtons = new QVBoxLayout;
  listButtons->addWidget(AddButton(kAdd, "ДОБАВИТЬ"));
  listButtons->addWidget(AddButton(kToggle, "ВКЛ/ВЫКЛ"));
  listButtons->addWidget(AddButton(kRemove, "УДАЛИТЬ"));
  listButtons->addStretch(1);
  listRow->addLayout(listButtons);
  right->addLayout(listRow);
  right->addStretch(1);
  right->addWidget(platform::DialogButtons(this, "OK", "Отмена"));

  connect(modes_, &QButtonGroup::idClicked, this, [this](int m) { OnMode(m); });
  connect(ButtonOf(kChange1), &QPushButton::clicked, this, [this] { OnChange(false); });
  connect(ButtonOf(kChange2), &QPushButton::clicked, this, [this] { OnChange(true); });
  connect(ButtonOf(kAdd), &QPushButton::clicked, this, &DSYNANAL::OnAdd);
  connect(ButtonOf(kToggle), &QPushButton::clicked, this, &DSYNANAL::OnToggle);
  connect(ButtonOf(kRemove), &QPushButton::clicked, this, &DSYNANAL::OnRemove);
  connect(list_, &QListWidget::currentRowChanged, this, [this](int row) { model_.selected = row; });
  connect(list_, &QListWidget::itemDoubleClicked, this, &DSYNANAL::OnToggle);
}

QPushButton* DSYNANAL::AddButton(Button b, const char* text) {
  auto* button = new QPushButton(QString::fromUtf8(text), this);
  button->setAutoDefault(false);
  buttons_[b] = button;
  return button;
}

void DSYNANAL::OnInitDialog() {
  model_.Load(GetConfiguration().synastry, current_, GetSettings().GetPath("synarcs.lst"));
  chartEdits_[0]->setText(platform::ToQt(model_.name));
  chartEdits_[1]->setText(platform::ToQt(model_.title));
  chartEdits_[2]->setText(platform::ToQt(model_.moment));
  chartEdits_[3]->setText(platform::ToQt(model_.place));
  FillArchives();
  list_->Refill(model_.selected);
  DoDataExchange(false);
}

void DSYNANAL::FillArchives() {
  for (int i = 0; i < 3; ++i)
    archiveEdits_[i]->setText(platform::ToQt(model_.ArchiveText(GetConfiguration().synastry, i)));
}

bool DSYNANAL::DoDataExchange(bool save) {
  if (save) {
    model_.mode = platform::Checked(modes_, model_.mode);
    return true;
  }
  platform::Check(modes_, model_.mode);
  ApplyMode();
  return true;
}

bool DSYNANAL::CheckOk() {
  bool accepted = false;
  ChangeSettings(
      [&](Configuration& config, Aspectarium&) { accepted = model_.Accept(config.synastry); });
  return accepted;
}

SynastryControls DSYNANAL::Shown() const {
  SynastryControls c;
  c.archive = !archiveEdits_[0]->isHidden() && !archiveLabels_[0]->isHidden();
  c.archives12 = !archiveEdits_[1]->isHidden() && !archiveEdits_[2]->isHidden();
  c.list = !list_->isHidden() && !ButtonOf(kAdd)->isHidden();
  c.chart = !chartBox_->isHidden();
  c.change1 = !ButtonOf(kChange1)->isHidden();
  c.change2 = !ButtonOf(kChange2)->isHidden();
  return c;
}

void DSYNANAL::ApplyMode() {
  const SynastryControls c = ControlsOfMode(model_.mode);
  archiveEdits_[0]->setVisible(c.archive);
  archiveLabels_[0]->setVisible(c.archive);
  for (int i : {1, 2}) {
    archiveEdits_[i]->setVisible(c.archives12);
    archiveLabels_[i]->setVisible(c.archives12);
  }
  list_->setVisible(c.list);
  for (Button b : {kAdd, kToggle, kRemove}) ButtonOf(b)->setVisible(c.list);
  const bool entries = model_.list.Count() > 0;
  ButtonOf(kToggle)->setEnabled(entries);
  ButtonOf(kRemove)->setEnabled(entries);
  chartBox_->setVisible(c.chart);
  ButtonOf(kChange1)->setVisible(c.change1);
  ButtonOf(kChange2)->setVisible(c.change2);
  comment_->setText(platform::ToQt(ModeComment(model_.mode)));
}

void DSYNANAL::OnMode(int mode) {
  model_.mode = mode;
  ApplyMode();
}

void DSYNANAL::OnChange(bool second) {
  const std::string path = ChooseArchiveFile();
  if (path.empty()) return;
  ChangeSettings([&](Configuration& config, Aspectarium&) {
    model_.ChooseArchive(path, second, config.synastry);
  });
  FillArchives();
}

void DSYNANAL::OnAdd() {
  const std::string path = ChooseArchiveFile();
  if (path.empty()) return;
  model_.AddArchive(path);
  list_->Refill(model_.selected);
  ApplyMode();
}

void DSYNANAL::OnToggle() {
  model_.ToggleSelected();
  list_->viewport()->update();
}

void DSYNANAL::OnRemove() {
  model_.RemoveSelected();
  list_->Refill(model_.selected);
  ApplyMode();
}

// --- The command ---

void RunSynastryAnalysis(Workbench& workbench, const Chart& current,
                         const std::function<bool(SynastryHandOver)>& show) {
  for (;;) {
    DSYNANAL setup(&current, workbench.MainWindow());
    if (setup.DoModal() != platform::kIdOk) return;
    DQuery query(workbench.GetArchive(), &current, show, workbench.MainWindow());
    if (query.DoModal() == platform::kIdOk) return;
  }
}
