#include "platform/qt/qt_time_zones.h"

#include <QByteArray>
#include <QDateTime>
#include <QTimeZone>

namespace platform {

namespace {

// The zone of that name; invalid for a name the database does not know. Read by name, so that a
// zone the database keeps as a link ("Europe/Kiev") is found too.
QTimeZone ZoneNamed(std::string_view zone) {
  const QByteArray id(zone.data(), static_cast<qsizetype>(zone.size()));
  return id.isEmpty() ? QTimeZone() : QTimeZone(id);
}

}  // namespace

std::optional<int> QtTimeZoneDatabase::OffsetAtUtc(std::string_view zone,
                                                   std::int64_t utcSeconds) const {
  const QTimeZone timeZone = ZoneNamed(zone);
  if (!timeZone.isValid()) return std::nullopt;
  return timeZone.offsetFromUtc(QDateTime::fromSecsSinceEpoch(utcSeconds, Qt::UTC));
}

std::optional<std::string> QtTimeZoneDatabase::AbbreviationAtUtc(std::string_view zone,
                                                                 std::int64_t utcSeconds) const {
  const QTimeZone timeZone = ZoneNamed(zone);
  if (!timeZone.isValid()) return std::nullopt;
  return timeZone.abbreviation(QDateTime::fromSecsSinceEpoch(utcSeconds, Qt::UTC)).toStdString();
}

}  // namespace platform
