#include "settings/ui/import_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/messages/show_message.h"
#include "platform/core/prompter.h"
#include "platform/qt/dialog_controls.h"
#include "platform/qt/qt_text.h"

namespace {

constexpr int kPathWidth = 400;      // the path is shortened to fit this width
constexpr int kMaxDialogRuns = 100;  // OK without a file asks again, boundedly

// The boxes' texts by section (index = box number - 1334; 9 is the path).
const char* const kSectionTexts[oldcfg::kSectionCount] = {
    "Планеты, группы орбисов, переключатели аспектов",
    "Основные параметры изображения гороскопа",
    "Параметры таблицы аспектов",
    "Параметры фильтра аспектов",
    "Аспекты с неподвижными звездами",
    "Расчет гороскопа (система домов и пр.)",
    "Текущий набор цветов",
    "Параметры печати",
    "Системные константы изображения гороскопа",
    nullptr,
    "Соответствия систем аспектов типам гороскопов",
    "Настройки сабианских символов",
    "Настройки таблицы Биндху",
    "Параметры расчета лунных транзитов",
    "Астрокартография",
    "Список городов",
    "Ректификация по событиям",
    "Графические эфемериды",
    "Точка Жизни",
    "Арабские точки",
    "Система управителей",
    "Тематические карты",
    "Статистика",
    "Ректификация по методу Тремина",
    "Комментарии",
    "Параны (пересечения линий)",
    "Запрос",
    "Транзиты",
    "Печать архива",
    "Печать мидпойнтов",
    "Сортировка",
    "Графические аспекты",
    "Линии аспектов",
    "Интерпретатор",
    "Прогноз по методу Тремина",
    "Динамический архив",
    "Синастрический анализ",
    "Подсказка дня"};

constexpr int kRowsPerColumn = 19;

}  // namespace

DImport::DImport(QWidget* parent) : platform::Dialog(parent) {
  setWindowTitle(QStringLiteral("ИМПОРТ КОНФИГУРАЦИИ ИЗ ПРЕДЫДУЩЕЙ ВЕРСИИ"));
  auto* layout = new QVBoxLayout(this);
  choose_ = new QPushButton(QStringLiteral("ВЫБОР *.CFG ФАЙЛА (версии 4.1 - 5.1)"), this);
  choose_->setObjectName(QStringLiteral("button%1").arg(kIdcChooseOldConfig));
  connect(choose_, &QPushButton::clicked, this, &DImport::OnImpFile);
  layout->addWidget(choose_);
  path_ = new QLabel(this);
  path_->setObjectName(QStringLiteral("static%1").arg(kIdcOldConfigPath));
  path_->setMinimumWidth(kPathWidth);
  layout->addWidget(path_);
  auto* grid = new QGridLayout;
  layout->addLayout(grid);
  int row = 0;
  for (int s = 0; s < oldcfg::kSectionCount; ++s) {
    if (kSectionTexts[s] == nullptr) continue;
    auto* box = new QCheckBox(QString::fromUtf8(kSectionTexts[s]), this);
    box->setObjectName(QStringLiteral("check%1").arg(oldcfg::kFirstSectionCheck + s));
    boxes_[static_cast<std::size_t>(s)] = box;
    grid->addWidget(box, row % kRowsPerColumn, row / kRowsPerColumn);
    ++row;
  }
  layout->addWidget(platform::DialogButtons(this, "ИМПОРТИРОВАТЬ", "Отменить"));
}

QCheckBox* DImport::Box(int check) const {
  const int s = check - oldcfg::kFirstSectionCheck;
  return s >= 0 && s < oldcfg::kSectionCount ? boxes_[static_cast<std::size_t>(s)] : nullptr;
}

bool DImport::DoDataExchange(bool save) {
  for (std::size_t s = 0; s < boxes_.size(); ++s) {
    if (boxes_[s] == nullptr) continue;
    if (save)
      page.flags[s] = boxes_[s]->isChecked() ? 1 : 0;
    else
      boxes_[s]->setChecked(page.flags[s] == 1);
  }
  if (!save) ShowChoice();
  return true;
}

void DImport::ShowChoice() {
  const QString path = page.fileChosen ? QString::fromStdString(page.path) : QString();
  path_->setText(QFontMetrics(path_->font()).elidedText(path, Qt::ElideMiddle, kPathWidth));
  path_->setToolTip(path);
  for (int s = 0; s < oldcfg::kSectionCount; ++s)
    if (QCheckBox* box = boxes_[static_cast<std::size_t>(s)])
      box->setEnabled(page.Enabled(oldcfg::kFirstSectionCheck + s));
}

void DImport::OnImpFile() {
  DoDataExchange(true);  // the boxes ticked so far stay
  platform::FileChoice choice;
  choice.open = true;
  choice.filters = {{"VELM.CFG, Velm 4.1-5.1", "*.cfg *.CFG *.Cfg"}};
  choice.path = page.path;
  if (!platform::GetPrompter().ChooseFile(choice)) return;
  page.Choose(choice.path, ownConfig);
  ShowChoice();
}

bool RunConfigurationImport(Configuration& config, Aspectarium& systems,
                            const settings::ImportPlaces& places,
                            const std::filesystem::path& ownConfig, QWidget* parent) {
  DImport dialog(parent);
  dialog.ownConfig = ownConfig;
  for (int run = 0; run < kMaxDialogRuns; ++run) {
    if (dialog.DoModal() != platform::kIdOk) return false;
    if (dialog.page.fileChosen)
      return settings::ImportOldConfiguration(dialog.page, config, systems, places);
    ShowMessage(kMsgChooseOldConfiguration);
  }
  return false;
}
