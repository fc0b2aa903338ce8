#include "shell/chart_entry.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <cstdio>
#include <regex>

#include "foundation/datetime/date_text.h"
#include "foundation/messages/messages.h"
#include "platform/core/prompter.h"
#include "platform/qt/qt_text.h"

namespace {

constexpr int kMsgBadPlace = 778;

QLineEdit* AddField(QFormLayout* form, const QString& label, int maxLength) {
  auto* edit = new QLineEdit;
  edit->setMaxLength(maxLength);
  form->addRow(label, edit);
  return edit;
}

std::string TwoDigits(int n) {
  char text[8];
  std::snprintf(text, sizeof text, "%02d", n);
  return text;
}

}  // namespace

CD_ENTER_Natal::CD_ENTER_Natal(QWidget* parent) : platform::Dialog(parent) {
  auto* form = new QFormLayout(this);
  name_ = AddField(form, QStringLiteral("Имя"), 34);
  date_ = AddField(form, QStringLiteral("Дата (ДД.ММ.ГГГГ)"), 11);
  time_ = AddField(form, QStringLiteral("Время (ЧЧ:ММ)"), 5);
  zone_ = AddField(form, QStringLiteral("Пояс (+ЧЧ:ММ)"), 6);
  latitude_ = AddField(form, QStringLiteral("Широта (55N45)"), 5);
  longitude_ = AddField(form, QStringLiteral("Долгота (037E37)"), 6);
  town_ = AddField(form, QStringLiteral("Город"), 25);
  region_ = AddField(form, QStringLiteral("Регион"), 25);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
  form->addRow(buttons);
  connect(buttons, &QDialogButtonBox::accepted, this, &CD_ENTER_Natal::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &CD_ENTER_Natal::reject);
}

int CD_ENTER_Natal::ParseDate(const std::string& text, FDate& date) {
  int day = 0, month = 0, year = 0;
  if (const int fault = CheckDateText(text, day, month, year, "DD.MM.YYYY"); fault != 0)
    return fault;
  const char era = year < 0 ? 'B' : 'A';
  const Status set = date.SetDate(day, month, year < 0 ? -year : year, era);
  return set.ok() ? 0 : set.MessageNumber();
}

int CD_ENTER_Natal::ParseTime(const std::string& text, FTime& time) {
  int hours = 0, minutes = 0;
  if (const int fault = CheckTimeText(text, hours, minutes, "HH:MM", kTimeKindTime); fault != 0)
    return fault;
  return time.SetTime(hours, minutes, 0).ok() ? 0 : kMsgBadTime;
}

int CD_ENTER_Natal::ParseZone(const std::string& text, FTimeCor& zone) {
  if (text.empty() || (text[0] != '+' && text[0] != '-')) return kMsgBadTime;
  int hours = 0, minutes = 0;
  if (const int fault = CheckTimeText(text.substr(1), hours, minutes, "HH:MM", kTimeKindZone);
      fault != 0)
    return fault;
  return zone.SetTime(hours, minutes, text[0]).ok() ? 0 : kMsgBadTime;
}

int CD_ENTER_Natal::ParsePlace(const std::string& latitude, const std::string& longitude,
                               Place& place) {
  static const std::regex kLatitude("^([0-9]{1,2})([NnSs])([0-9]{1,2})$");
  static const std::regex kLongitude("^([0-9]{1,3})([EeWw])([0-9]{1,2})$");
  std::smatch lat, lon;
  if (!std::regex_match(latitude, lat, kLatitude) || !std::regex_match(longitude, lon, kLongitude))
    return kMsgBadPlace;
  Place changed = place;
  const Status set = changed.SetPlace(std::stoi(lat[1]), std::stoi(lat[3]), lat[2].str()[0],
                                      std::stoi(lon[1]), std::stoi(lon[3]), lon[2].str()[0],
                                      place.Town(), place.Region());
  if (!set.ok()) return kMsgBadPlace;
  place = changed;
  return 0;
}

bool CD_ENTER_Natal::DoDataExchange(bool save) {
  Source& base = *[this]() -> Source* {
    Source* b = definition.GetBaseSource();
    return b != nullptr ? b : &definition.sources[0];
  }();
  if (!save) {
    const Source& shown = definition.GetCountSrc();
    const FDate& date = shown.moment.date;
    name_->setText(platform::ToQt(base.Name()));
    date_->setText(QString::fromStdString(TwoDigits(date.Day()) + '.' + TwoDigits(date.Month()) +
                                          '.' + (date.Era() == 'B' ? "-" : "") +
                                          std::to_string(date.Year())));
    time_->setText(QString::fromStdString(shown.moment.time.ToText()));
    zone_->setText(QString::fromStdString(shown.zone.ToText()));
    const Place& place = shown.place;
    latitude_->setText(QString::fromStdString(TwoDigits(place.LatitudeDegrees()) +
                                              place.LatitudeLetter() +
                                              TwoDigits(place.LatitudeMinutes())));
    char lon[8];
    std::snprintf(lon, sizeof lon, "%03d", place.LongitudeDegrees());
    longitude_->setText(QString::fromStdString(lon + std::string(1, place.LongitudeLetter()) +
                                               TwoDigits(place.LongitudeMinutes())));
    town_->setText(platform::ToQt(place.Town()));
    region_->setText(platform::ToQt(place.Region()));
    return true;
  }
  Source entered = definition.GetCountSrc();
  int fault = ParseDate(platform::FromQt(date_->text().trimmed()), entered.moment.date);
  if (fault == 0) fault = ParseTime(platform::FromQt(time_->text().trimmed()), entered.moment.time);
  if (fault == 0) fault = ParseZone(platform::FromQt(zone_->text().trimmed()), entered.zone);
  if (fault == 0)
    fault = ParsePlace(platform::FromQt(latitude_->text().trimmed()),
                       platform::FromQt(longitude_->text().trimmed()), entered.place);
  if (fault != 0) {
    platform::GetPrompter().ShowMessage(fault, GetMessageText(fault), platform::Icon::Warning);
    return false;
  }
  entered.place.SetNames(platform::FromQt(town_->text().trimmed()),
                         platform::FromQt(region_->text().trimmed()));
  entered.SetName(platform::FromQt(name_->text().trimmed()));
  definition.GetCountSrc() = entered;
  base = entered;
  return true;
}
