#include "archive/store/archive_index_entry.h"

void ArchiveIndexEntry::Fill(const Chart& chart, const CommentRefBlock& block) {
  const Source& s = chart.definition.GetBaseSource() ? *chart.definition.GetBaseSource()
                                                     : chart.definition.sources[0];
  name = s.Name();
  title = chart.definition.Title();
  day = static_cast<std::uint16_t>(s.moment.date.Day());
  month = static_cast<std::uint16_t>(s.moment.date.Month());
  year = static_cast<std::uint16_t>(s.moment.date.Year());
  era = s.moment.date.Era();
  hours = static_cast<std::uint16_t>(s.moment.time.Hours());
  minutes = static_cast<std::uint16_t>(s.moment.time.Minutes());
  zoneHours = static_cast<std::uint16_t>(s.zone.Hours());
  zoneMinutes = static_cast<std::uint16_t>(s.zone.Minutes());
  zoneSign = s.zone.Sign();
  latDegrees = static_cast<std::uint16_t>(s.place.LatitudeDegrees());
  latMinutes = static_cast<std::uint16_t>(s.place.LatitudeMinutes());
  latLetter = s.place.LatitudeLetter();
  lonDegrees = static_cast<std::uint16_t>(s.place.LongitudeDegrees());
  lonMinutes = static_cast<std::uint16_t>(s.place.LongitudeMinutes());
  lonLetter = s.place.LongitudeLetter();
  town = s.place.Town();
  mark = 'N';
  comments = block;
}
