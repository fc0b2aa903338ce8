#include "platform/qt/qt_time_zones.h"

#include <QByteArray>
#include <QDateTime>
#include <QTimeZone>

namespace platform {

std::optional<int> QtTimeZoneDatabase::OffsetAtUtc(std::string_view zone,
                                                   std::int64_t utcSeconds) const {
  const QByteArray id(zone.data(), static_cast<qsizetype>(zone.size()));
  if (id.isEmpty()) return std::nullopt;
  // Read by name, so that a zone the database keeps as a link ("Europe/Kiev") is found too.
  const QTimeZone timeZone(id);
  if (!timeZone.isValid()) return std::nullopt;
  return timeZone.offsetFromUtc(QDateTime::fromSecsSinceEpoch(utcSeconds, Qt::UTC));
}

}  // namespace platform
