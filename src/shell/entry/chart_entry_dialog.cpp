#include "shell/entry/chart_entry_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/messages/show_message.h"
#include "platform/core/prompter.h"
#include "platform/qt/dialog_controls.h"
#include "platform/qt/qt_text.h"
#include "shell/core/entry/entry_text.h"
#include "shell/entry/source_box.h"

namespace entry {

namespace {

constexpr int kTitleLength = 29;

QString PersonTitle(int kind) {
  switch (kind) {
    case kChartNatal:
    case kChartHorary:
    case kChartDraconic:
    case kChartHarmonic:
      return QStringLiteral("Данные гороскопа");
    case kChartSynastry:
      return QStringLiteral("Первый гороскоп");
    default:
      return QStringLiteral("Данные рождения");
  }
}

QString TargetTitle(int kind) {
  switch (kind) {
    case kChartTransit:
      return QStringLiteral("Момент транзита");
    case kChartProgressed:
      return QStringLiteral("Момент прогрессии");
    case kChartDirected:
      return QStringLiteral("Момент дирекции");
    case kChartReturn:
      return QStringLiteral("Искать возвращение, начиная с");
    default:
      return QStringLiteral("Искать фазу Луны, начиная с");
  }
}

// "Name  DD.MM.YYYY HH:MM  Town" of a recent definition.
QString RecentText(const SuperSource& d) {
  const ChartEntry e = EntryFromDefinition(d);
  const Source& s = e.person;
  std::string text = s.Name() + "  " + DateText(s.moment.date);
  if (s.moment.date.Era() == 'B') text += ' ' + GetMessageText(kMsgEraBc);
  text += ' ' + TimeText(s.moment.time);
  if (!s.place.Town().empty()) text += "  " + s.place.Town();
  return platform::ToQt(text);
}

QSpinBox* MakeSpin(QWidget* parent, int from, int to) {
  auto* spin = new QSpinBox(parent);
  spin->setRange(from, to);
  return spin;
}

}  // namespace

ChartEntryDialog::ChartEntryDialog(int kind, QWidget* parent)
    : platform::Dialog(parent), kind_(kind) {
  const EntryFields fields = FieldsOfKind(kind);
  setWindowTitle(platform::ToQt(GetMessageText(kMsgKindNameFirst + kind)));
  auto* layout = new QVBoxLayout(this);

  auto* top = new QFormLayout;
  recentBox_ = new QComboBox(this);
  top->addRow(QStringLiteral("Последние записи"), recentBox_);
  title_ = MakeTextEdit(this, kTitleLength);
  top->addRow(QStringLiteral("Название"), title_);
  layout->addLayout(top);

  auto* boxes = new QHBoxLayout;
  person_ = new SourceBox(PersonTitle(kind), true, this);
  // A horary chart's question is a moment looked at too, at the active chart's place.
  person_->SetZoneFollowsAtlasPlace(kind == kChartHorary);
  boxes->addWidget(person_);
  if (fields.secondPerson) {
    second_ = new SourceBox(QStringLiteral("Второй гороскоп"), true, this);
    boxes->addWidget(second_);
  }
  if (fields.target) {
    target_ = new SourceBox(TargetTitle(kind), false, this);
    // The moment looked at takes the zone its town had then, as the user moves it.
    target_->SetZoneFollowsAtlasPlace(true);
    boxes->addWidget(target_);
  }
  layout->addLayout(boxes);

  auto* settings = new QFormLayout;
  if (fields.progressionMethod || fields.directionMethod) {
    method_ = new QComboBox(this);
    if (fields.progressionMethod) {
      method_->addItems({QStringLiteral("Вторичные"), QStringLiteral("Третичные"),
                         QStringLiteral("Минорные"), QStringLiteral("Средние"),
                         QStringLiteral("Свой ключ")});
    } else {
      method_->addItems({QStringLiteral("Символические"), QStringLiteral("Средняя солнечная дуга"),
                         QStringLiteral("Истинная солнечная дуга"), QStringLiteral("Дуга рождения"),
                         QStringLiteral("Профекции"), QStringLiteral("Свой ключ")});
    }
    settings->addRow(QStringLiteral("Метод"), method_);
    auto* key = new QHBoxLayout;
    arcCount_ = MakeSpin(this, 1, kMaxKeyCount);
    arcUnit_ = new QComboBox(this);
    if (fields.progressionMethod) {
      arcUnit_->addItems({QStringLiteral("сут."), QStringLiteral("час."), QStringLiteral("мин.")});
    } else {
      arcUnit_->addItems(
          {QStringLiteral("град."), QStringLiteral("мин. дуги"), QStringLiteral("сек. дуги")});
    }
    timeCount_ = MakeSpin(this, 1, kMaxKeyCount);
    timeUnit_ = new QComboBox(this);
    timeUnit_->addItems({QStringLiteral("лет"), QStringLiteral("мес."), QStringLiteral("сут.")});
    key->addWidget(arcCount_);
    key->addWidget(arcUnit_);
    key->addWidget(new QLabel(QStringLiteral("за"), this));
    key->addWidget(timeCount_);
    key->addWidget(timeUnit_);
    settings->addRow(QStringLiteral("Ключ"), key);
    connect(method_, &QComboBox::currentIndexChanged, this, &ChartEntryDialog::EnableKey);
  }
  if (fields.converse) {
    converse_ = new QCheckBox(QStringLiteral("Конверсный"), this);
    settings->addRow(QString(), converse_);
  }
  if (fields.composite) {
    composite_ = new QCheckBox(QStringLiteral("Композит"), this);
    settings->addRow(QString(), composite_);
  }
  if (fields.harmonic) {
    harmonic_ = MakeSpin(this, kMinHarmonic, kMaxHarmonic);
    settings->addRow(QStringLiteral("Номер гармоники"), harmonic_);
  }
  if (fields.returnBody) {
    returnBody_ = new QComboBox(this);
    for (int body = 0; body <= kLastReturnBody; ++body)
      returnBody_->addItem(platform::ToQt(GetMessageText(kMsgPointNameFirst + body)));
    settings->addRow(QStringLiteral("Возвращение планеты"), returnBody_);
  }
  layout->addLayout(settings);

  auto* buttons = platform::DialogButtons(this, "OK", "Отмена");
  layout->addWidget(buttons);
  connect(recentBox_, &QComboBox::activated, this, &ChartEntryDialog::OnRecentChosen);
}

void ChartEntryDialog::OnInitDialog() {
  FillRecentBox();
  DoDataExchange(false);
}

void ChartEntryDialog::FillRecentBox() {
  recentBox_->clear();
  for (const SuperSource& d : recent) recentBox_->addItem(RecentText(d));
  recentBox_->setEnabled(!recent.empty());
}

void ChartEntryDialog::OnRecentChosen(int row) {
  if (row < 0 || row >= static_cast<int>(recent.size())) return;
  entry = EntryFromDefinition(recent[static_cast<std::size_t>(row)]);
  DoDataExchange(false);
}

void ChartEntryDialog::EnableKey() {
  const bool own = method_ != nullptr && method_->currentIndex() == UserKeyMethod(kind_);
  for (QWidget* w : std::initializer_list<QWidget*>{arcCount_, arcUnit_, timeCount_, timeUnit_})
    if (w != nullptr) w->setEnabled(own);
}

bool ChartEntryDialog::DoDataExchange(bool save) {
  if (!save) {
    title_->setText(platform::ToQt(entry.title));
    person_->SetSource(entry.person);
    if (second_ != nullptr) second_->SetSource(entry.second);
    if (target_ != nullptr) target_->SetSource(entry.target);
    if (method_ != nullptr) {
      method_->setCurrentIndex(entry.method);
      arcCount_->setValue(entry.key.arcCount);
      arcUnit_->setCurrentIndex(entry.key.arcUnit - 1);
      timeCount_->setValue(entry.key.timeCount);
      timeUnit_->setCurrentIndex(entry.key.timeUnit - 1);
      EnableKey();
    }
    if (converse_ != nullptr) converse_->setChecked(entry.converse);
    if (composite_ != nullptr) composite_->setChecked(entry.composite);
    if (harmonic_ != nullptr) harmonic_->setValue(entry.harmonic);
    if (returnBody_ != nullptr) returnBody_->setCurrentIndex(entry.returnBody);
    return true;
  }
  ChartEntry read = entry;
  int fault = person_->ReadSource(read.person);
  if (fault == 0 && second_ != nullptr) fault = second_->ReadSource(read.second);
  if (fault == 0 && target_ != nullptr) fault = target_->ReadSource(read.target);
  if (fault != 0) {
    ShowMessage(fault);
    return false;
  }
  read.title = platform::FromQt(title_->text().trimmed());
  if (method_ != nullptr) {
    read.method = method_->currentIndex();
    read.key = ProgressionKey{static_cast<std::uint16_t>(arcCount_->value()),
                              static_cast<std::uint16_t>(arcUnit_->currentIndex() + 1),
                              static_cast<std::uint16_t>(timeCount_->value()),
                              static_cast<std::uint16_t>(timeUnit_->currentIndex() + 1)};
  }
  if (converse_ != nullptr) read.converse = converse_->isChecked();
  if (composite_ != nullptr) read.composite = composite_->isChecked();
  if (harmonic_ != nullptr) read.harmonic = harmonic_->value();
  if (returnBody_ != nullptr) read.returnBody = returnBody_->currentIndex();
  entry = read;
  return true;
}

}  // namespace entry
