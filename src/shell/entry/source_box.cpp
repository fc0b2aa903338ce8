#include "shell/entry/source_box.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

#include "foundation/atlas/town_search.h"
#include "foundation/atlas/towns.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "platform/core/time_zones.h"
#include "platform/qt/qt_text.h"
#include "shell/core/entry/entry_text.h"

namespace entry {

namespace {

constexpr int kNameLength = 34;
constexpr int kPlaceNameLength = 25;
constexpr int kTownListRows = 6;
// Era box rows.
constexpr int kEraAd = 0;
constexpr int kEraBc = 1;

}  // namespace

QLineEdit* MakeTextEdit(QWidget* parent, int maxLength) {
  auto* edit = new QLineEdit(parent);
  edit->setMaxLength(maxLength);
  edit->setValidator(new Cp1251Validator(edit));
  return edit;
}

SourceBox::SourceBox(const QString& title, bool withName, QWidget* parent)
    : QGroupBox(title, parent), form_(new QFormLayout(this)) {
  QFormLayout* form = form_;
  if (withName) {
    name_ = MakeTextEdit(this, kNameLength);
    form->addRow(QStringLiteral("Имя"), name_);
  }
  auto* dateRow = new QHBoxLayout;
  date_ = MakeTextEdit(this, 12);
  date_->setPlaceholderText(QStringLiteral("ДД.ММ.ГГГГ"));
  date_->setMinimumWidth(date_->fontMetrics().horizontalAdvance(QStringLiteral("00.00.-00000")));
  era_ = new QComboBox(this);
  era_->addItem(QStringLiteral("н.э."));
  era_->addItem(QStringLiteral("до н.э."));
  dateRow->addWidget(date_);
  dateRow->addWidget(era_);
  form->addRow(QStringLiteral("Дата"), dateRow);
  time_ = MakeTextEdit(this, 8);
  time_->setPlaceholderText(QStringLiteral("ЧЧ:ММ"));
  form->addRow(QStringLiteral("Местное время"), time_);
  auto* zoneRow = new QHBoxLayout;
  zone_ = MakeTextEdit(this, 9);
  zone_->setPlaceholderText(QStringLiteral("+ЧЧ:ММ"));
  zone_->setToolTip(QStringLiteral("Поправка пояса: + к востоку от Гринвича, - к западу"));
  zone_->setMaximumWidth(zone_->fontMetrics().horizontalAdvance(QStringLiteral("+00:00:000")) +
                         zone_->fontMetrics().averageCharWidth() * 2);
  zoneNote_ = new QLabel(this);
  zoneNote_->setWordWrap(true);
  zoneRow->addWidget(zone_);
  zoneRow->addWidget(zoneNote_, 1);
  form->addRow(QStringLiteral("Часовой пояс"), zoneRow);
  latitude_ = MakeTextEdit(this, 7);
  latitude_->setPlaceholderText(QStringLiteral("55N45"));
  form->addRow(QStringLiteral("Широта"), latitude_);
  longitude_ = MakeTextEdit(this, 8);
  longitude_->setPlaceholderText(QStringLiteral("037E37"));
  form->addRow(QStringLiteral("Долгота"), longitude_);
  town_ = MakeTextEdit(this, kPlaceNameLength);
  town_->setToolTip(QStringLiteral("Начните вводить название: список предложит города атласа"));
  form->addRow(QStringLiteral("Город"), town_);
  towns_ = new QListWidget(this);
  towns_->setMaximumHeight(towns_->fontMetrics().height() * kTownListRows);
  // A row without a label, shown only while towns are listed.
  form->addRow(towns_);
  form->setRowVisible(towns_, false);
  region_ = MakeTextEdit(this, kPlaceNameLength);
  form->addRow(QStringLiteral("Регион"), region_);

  connect(town_, &QLineEdit::textEdited, this, &SourceBox::SearchTowns);
  // A zone filled by a pick follows the date and time; typing the zone, the town or the
  // coordinates ends that.
  for (QLineEdit* moment : {date_, time_})
    connect(moment, &QLineEdit::textChanged, this, &SourceBox::FillZoneOfTown);
  connect(era_, &QComboBox::currentIndexChanged, this, &SourceBox::FillZoneOfTown);
  for (QLineEdit* typed : {zone_, town_, latitude_, longitude_})
    connect(typed, &QLineEdit::textEdited, this, &SourceBox::ForgetPick);
  connect(zone_, &QLineEdit::textEdited, this, [this] { zoneTyped_ = true; });
  connect(towns_, &QListWidget::itemClicked, this, &SourceBox::OnTownActivated);
  town_->installEventFilter(this);
  towns_->installEventFilter(this);
}

bool SourceBox::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return QGroupBox::eventFilter(watched, event);
  const int key = static_cast<QKeyEvent*>(event)->key();
  if (watched == town_ && key == Qt::Key_Down && !towns_->isHidden() && towns_->count() > 0) {
    towns_->setFocus();
    towns_->setCurrentRow(0);
    return true;
  }
  // Enter in the town field while towns are listed takes the first listed town, so that the typed
  // name is never accepted with the coordinates of another place; the dialog stays open.
  if (watched == town_ && (key == Qt::Key_Return || key == Qt::Key_Enter) && !towns_->isHidden() &&
      towns_->count() > 0) {
    ChooseTown(towns_->currentRow() >= 0 ? towns_->currentRow() : 0);
    return true;
  }
  if (watched == towns_ && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
    if (ChooseTown(towns_->currentRow())) town_->setFocus();
    return true;
  }
  return QGroupBox::eventFilter(watched, event);
}

void SourceBox::SetSource(const Source& source) {
  ForgetPick();
  const SourceTexts t = TextsOfSource(source);
  if (name_ != nullptr) name_->setText(platform::ToQt(t.name));
  date_->setText(platform::ToQt(t.date));
  era_->setCurrentIndex(t.era == 'B' ? kEraBc : kEraAd);
  time_->setText(platform::ToQt(t.time));
  zone_->setText(platform::ToQt(t.zone));
  zoneTyped_ = false;
  latitude_->setText(platform::ToQt(t.latitude));
  longitude_->setText(platform::ToQt(t.longitude));
  town_->setText(platform::ToQt(t.town));
  region_->setText(platform::ToQt(t.region));
  towns_->clear();
  ShowTownList(false);
  // The zone as given stays; from the next change of the date or time on it follows the town, as
  // after a pick.
  if (followsAtlasPlace_ && platform::GetTimeZoneDatabase() != nullptr) {
    const int town = FindAtlasTown(GetTowns(), source.place);
    if (town >= 0 && !GetTowns().GetTownZoneName(town).empty()) pickedTown_ = town;
  }
}

int SourceBox::ReadSource(Source& source) const {
  SourceTexts t;
  t.name = name_ != nullptr ? platform::FromQt(name_->text().trimmed()) : source.Name();
  t.date = platform::FromQt(date_->text());
  t.era = era_->currentIndex() == kEraBc ? 'B' : 'A';
  t.time = platform::FromQt(time_->text());
  t.zone = platform::FromQt(zone_->text());
  t.latitude = platform::FromQt(latitude_->text());
  t.longitude = platform::FromQt(longitude_->text());
  t.town = platform::FromQt(town_->text().trimmed());
  t.region = platform::FromQt(region_->text().trimmed());
  const int fault = SourceFromTexts(t, source);
  if (fault == 0) return 0;
  // The field that the message names.
  QLineEdit* field = date_;
  if (fault == kMsgBadTime) {
    FTime time;
    field = ParseTimeText(t.time, time) != 0 ? time_ : zone_;
  } else if (fault == kMsgBadCoordinate) {
    int d = 0, m = 0;
    char l = 'N';
    field = ParseLatitudeText(t.latitude, d, m, l) != 0 ? latitude_ : longitude_;
  }
  field->setFocus();
  field->selectAll();
  return fault;
}

void SourceBox::SearchTowns(const QString& typed) {
  towns_->clear();
  for (const TownListRow& row : ListTowns(GetTowns(), platform::FromQt(typed))) {
    auto* item = new QListWidgetItem(platform::ToQt(row.text), towns_);
    item->setData(Qt::UserRole, row.town);
  }
  ShowTownList(towns_->count() > 0);
}

void SourceBox::ShowTownList(bool show) {
  if (form_->isRowVisible(towns_) == show) return;
  QWidget* window = this->window();
  if (show) {
    windowHeightWithoutList_ = window->height();
    form_->setRowVisible(towns_, true);
    return;
  }
  form_->setRowVisible(towns_, false);
  if (window == this || windowHeightWithoutList_ <= 0) return;
  // No empty band where the list stood: the window shrinks back (not below what its layout needs).
  if (QLayout* layout = window->layout()) layout->activate();
  window->resize(window->width(), windowHeightWithoutList_);
}

bool SourceBox::ChooseTown(int row) {
  QListWidgetItem* item = towns_->item(row);
  if (item == nullptr) return false;
  const int town = item->data(Qt::UserRole).toInt();
  Place place;
  if (!PlaceOfTown(GetTowns(), town, place)) return false;
  latitude_->setText(platform::ToQt(LatitudeText(place)));
  longitude_->setText(platform::ToQt(LongitudeText(place)));
  town_->setText(platform::ToQt(place.Town()));
  region_->setText(platform::ToQt(place.Region()));
  // The pick is the user's own act: it fills the zone over what was typed before it, and says
  // so beside the zone when that was another.
  FTimeCor typed;
  const std::string before = platform::FromQt(zone_->text());
  const bool typedBefore = zoneTyped_ && ParseZoneText(before, typed) == 0;
  zoneTyped_ = false;
  pickedTown_ = town;
  FillZoneOfTown();
  if (FTimeCor filled; typedBefore && ParseZoneText(platform::FromQt(zone_->text()), filled) == 0 &&
                       ZoneText(filled) != ZoneText(typed)) {
    const QString note = platform::ToQt(GetMessageText(kMsgZoneTypedReplaced) + " " + before);
    zoneNote_->setText(zoneNote_->text().isEmpty() ? note : zoneNote_->text() + "\n" + note);
  }
  ShowTownList(false);
  return true;
}

void SourceBox::FillZoneOfTown() {
  if (pickedTown_ < 0) return;
  FDate date;
  FTime time;
  FTimeCor zone;
  TownZone found = TownZone::None;
  if (ParseDateText(platform::FromQt(date_->text()), era_->currentIndex() == kEraBc ? 'B' : 'A',
                    date) == 0) {
    // A time not typed yet counts as noon.
    if (ParseTimeText(platform::FromQt(time_->text()), time) != 0) (void)time.SetTime(12, 0);
    found = ZoneOfTownAt(GetTowns(), pickedTown_, Moment(date, time), zone);
  } else if (ZoneOfTown(GetTowns(), pickedTown_, zone)) {
    // No date yet: today's standard zone until one is typed.
    found = TownZone::StandardOnly;
  }
  if (found == TownZone::None || found == TownZone::BeyondField) {
    // No zone of another moment stays behind unsaid: the field is emptied, so that OK asks for one.
    zone_->clear();
    zoneNote_->setText(platform::ToQt(
        GetMessageText(found == TownZone::None ? kMsgZoneUnknown : kMsgZoneBeyondField)));
    return;
  }
  zone_->setText(platform::ToQt(ZoneText(zone)));
  int note = 0;
  if (found == TownZone::Skipped) note = kMsgZoneTimeSkipped;
  if (found == TownZone::Repeated) note = kMsgZoneTimeRepeated;
  if (found == TownZone::StandardOnly) note = kMsgZoneStandardOnly;
  zoneNote_->setText(note == 0 ? QString() : platform::ToQt(GetMessageText(note)));
}

void SourceBox::ForgetPick() {
  pickedTown_ = -1;
  zoneNote_->clear();
}

void SourceBox::OnTownActivated(QListWidgetItem* item) { ChooseTown(towns_->row(item)); }

}  // namespace entry
