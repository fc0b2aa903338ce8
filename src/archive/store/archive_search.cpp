#include "archive/store/archive_search.h"

#include <algorithm>

#include "archive/store/archive.h"
#include "archive/store/archive_browser_list.h"
#include "astro/chart/chart_context.h"
#include "foundation/config/configuration.h"
#include "foundation/config/settings_blocks.h"
#include "foundation/datetime/fdate.h"
#include "foundation/text/text_helpers.h"

namespace {

using S = cfg::ArchiveSearchCriteria;

char Letter(std::int32_t stored, char positive, char negative) {
  return stored == negative ? negative : positive;
}

// Julian day number of a date; false when the date does not exist.
bool DayNumberOf(int day, int month, int year, char era, long long& number) {
  FDate date;
  if (!date.SetDate(day, month, year, era).ok()) return false;
  number = date.DayNumber();
  return true;
}

// Signed minutes of arc: positive for `positive`.
int SignedMinutes(int degrees, int minutes, char letter, char positive) {
  const int value = degrees * 60 + minutes;
  return letter == positive ? value : -value;
}

}  // namespace

ArchiveSearchCriteria ArchiveSearchCriteria::FromBlock(const cfg::ByteBlock& b) {
  ArchiveSearchCriteria c;
  c.caseSensitive = b.Get(S::kCaseSensitive) != 0;
  c.dateOn = b.Get(S::kDateOn) != 0;
  c.dateRange = b.Get(S::kDateRange) != 0;
  c.date1 = {b.Get(S::kDate1Day), b.Get(S::kDate1Month), b.Get(S::kDate1Year),
             Letter(b.Get(S::kDate1Era), 'A', 'B')};
  c.date2 = {b.Get(S::kDate2Day), b.Get(S::kDate2Month), b.Get(S::kDate2Year),
             Letter(b.Get(S::kDate2Era), 'A', 'B')};
  c.latOn = b.Get(S::kLatOn) != 0;
  c.latRange = b.Get(S::kLatRange) != 0;
  c.lat1 = {b.Get(S::kLat1Degrees), b.Get(S::kLat1Minutes),
            Letter(b.Get(S::kLat1Letter), 'N', 'S')};
  c.lat2 = {b.Get(S::kLat2Degrees), b.Get(S::kLat2Minutes),
            Letter(b.Get(S::kLat2Letter), 'N', 'S')};
  c.lonOn = b.Get(S::kLonOn) != 0;
  c.lonRange = b.Get(S::kLonRange) != 0;
  c.lon1 = {b.Get(S::kLon1Degrees), b.Get(S::kLon1Minutes),
            Letter(b.Get(S::kLon1Letter), 'E', 'W')};
  c.lon2 = {b.Get(S::kLon2Degrees), b.Get(S::kLon2Minutes),
            Letter(b.Get(S::kLon2Letter), 'E', 'W')};
  c.name = b.Get(S::kName);
  c.nameContext = b.Get(S::kNameContext) != 0;
  c.place = b.Get(S::kPlace);
  c.placeContext = b.Get(S::kPlaceContext) != 0;
  c.type = b.Get(S::kType);
  c.typeContext = b.Get(S::kTypeContext) != 0;
  c.comment = b.Get(S::kComment);
  c.commentPage = b.Get(S::kCommentPage);
  if (c.commentPage < 0 || c.commentPage > kAllPages) c.commentPage = kAllPages;
  return c;
}

void ArchiveSearchCriteria::ToBlock(cfg::ByteBlock& b) const {
  auto i16 = [](int v) { return static_cast<std::int16_t>(v); };
  auto i32 = [](int v) { return static_cast<std::int32_t>(v); };
  b.Set(S::kCaseSensitive, i32(caseSensitive));
  b.Set(S::kDateOn, i32(dateOn));
  b.Set(S::kDateRange, i32(dateRange));
  b.Set(S::kDate1Day, i16(date1.day));
  b.Set(S::kDate1Month, i16(date1.month));
  b.Set(S::kDate1Year, i16(date1.year));
  b.Set(S::kDate1Era, i32(date1.era));
  b.Set(S::kDate2Day, i16(date2.day));
  b.Set(S::kDate2Month, i16(date2.month));
  b.Set(S::kDate2Year, i16(date2.year));
  b.Set(S::kDate2Era, i32(date2.era));
  b.Set(S::kLatOn, i32(latOn));
  b.Set(S::kLatRange, i32(latRange));
  b.Set(S::kLat1Degrees, i16(lat1.degrees));
  b.Set(S::kLat1Minutes, i16(lat1.minutes));
  b.Set(S::kLat1Letter, i32(lat1.letter));
  b.Set(S::kLat2Degrees, i16(lat2.degrees));
  b.Set(S::kLat2Minutes, i16(lat2.minutes));
  b.Set(S::kLat2Letter, i32(lat2.letter));
  b.Set(S::kLonOn, i32(lonOn));
  b.Set(S::kLonRange, i32(lonRange));
  b.Set(S::kLon1Degrees, i16(lon1.degrees));
  b.Set(S::kLon1Minutes, i16(lon1.minutes));
  b.Set(S::kLon1Letter, i32(lon1.letter));
  b.Set(S::kLon2Degrees, i16(lon2.degrees));
  b.Set(S::kLon2Minutes, i16(lon2.minutes));
  b.Set(S::kLon2Letter, i32(lon2.letter));
  b.Set(S::kName, name);
  b.Set(S::kNameContext, i32(nameContext));
  b.Set(S::kPlace, place);
  b.Set(S::kPlaceContext, i32(placeContext));
  b.Set(S::kType, type);
  b.Set(S::kTypeContext, i32(typeContext));
  b.Set(S::kComment, comment);
  b.Set(S::kCommentPage, i16(commentPage));
}

void ArchiveSearchCriteria::Clear() {
  caseSensitive = dateOn = dateRange = latOn = latRange = lonOn = lonRange = false;
  nameContext = placeContext = typeContext = false;
  date1 = date2 = Date{};
  name.clear();
  place.clear();
  type.clear();
  comment.clear();
}

ArchiveMatcher::ArchiveMatcher(const Archive& archive, const ArchiveSearchCriteria& criteria)
    : archive_(archive), c_(criteria) {
  if (!c_.caseSensitive) {
    c_.name = SearchKey(c_.name);
    c_.place = SearchKey(c_.place);
    c_.type = SearchKey(c_.type);
    c_.comment = SearchKey(c_.comment);
  }
  if (c_.dateRange)
    datesValid_ = DayNumberOf(c_.date1.day, c_.date1.month, c_.date1.year, c_.date1.era, day1_) &&
                  DayNumberOf(c_.date2.day, c_.date2.month, c_.date2.year, c_.date2.era, day2_);
  lat1_ = SignedMinutes(c_.lat1.degrees, c_.lat1.minutes, c_.lat1.letter, 'N');
  lat2_ = SignedMinutes(c_.lat2.degrees, c_.lat2.minutes, c_.lat2.letter, 'N');
  lon1_ = SignedMinutes(c_.lon1.degrees, c_.lon1.minutes, c_.lon1.letter, 'E');
  lon2_ = SignedMinutes(c_.lon2.degrees, c_.lon2.minutes, c_.lon2.letter, 'E');
}

bool ArchiveMatcher::MatchText(const std::string& recordText, const std::string& wanted,
                               bool context) const {
  if (wanted.empty()) return true;
  std::string text = c_.caseSensitive ? recordText : SearchKey(recordText);
  TrimRight(text);
  return context ? text.find(wanted) != std::string::npos : text == wanted;
}

bool ArchiveMatcher::MatchComment(const ArchiveIndexEntry& entry, int record) const {
  for (int k = 0; k < kCommentPages; ++k) {
    if (c_.commentPage != ArchiveSearchCriteria::kAllPages && c_.commentPage != k) continue;
    if (!entry.comments.HasText(k)) continue;
    std::string text;
    if (archive_.Comments().LoadComment(record, k, text) != 0) continue;
    if (!c_.caseSensitive) text = SearchKey(text);
    if (text.find(c_.comment) != std::string::npos) return true;
  }
  return false;
}

bool ArchiveMatcher::Matches(int record) const {
  if (record < 0 || record >= archive_.RecordCount()) return false;
  return MatchesEntry(archive_.Entry(record), record);
}

bool ArchiveMatcher::MatchesEntry(const ArchiveIndexEntry& e, int record) const {
  if (!MatchText(e.name, c_.name, c_.nameContext)) return false;
  if (!MatchText(e.title, c_.type, c_.typeContext)) return false;
  if (!MatchText(e.town, c_.place, c_.placeContext)) return false;
  if (c_.dateOn) {
    if (c_.dateRange) {
      long long day = 0;
      if (!datesValid_ || !DayNumberOf(e.day, e.month, e.year, e.era, day)) return false;
      if (day < day1_ || day > day2_) return false;
    } else if (e.day != c_.date1.day || e.month != c_.date1.month || e.year != c_.date1.year ||
               e.era != c_.date1.era) {
      return false;
    }
  }
  if (c_.latOn) {
    if (c_.latRange) {
      const int lat = SignedMinutes(e.latDegrees, e.latMinutes, e.latLetter, 'N');
      if (lat < lat1_ || lat > lat2_) return false;
    } else if (e.latDegrees != c_.lat1.degrees || e.latMinutes != c_.lat1.minutes ||
               e.latLetter != c_.lat1.letter) {
      return false;
    }
  }
  if (c_.lonOn) {
    if (c_.lonRange) {
      const int lon = SignedMinutes(e.lonDegrees, e.lonMinutes, e.lonLetter, 'E');
      if (lon < lon1_ || lon > lon2_) return false;
    } else if (e.lonDegrees != c_.lon1.degrees || e.lonMinutes != c_.lon1.minutes ||
               e.lonLetter != c_.lon1.letter) {
      return false;
    }
  }
  if (!c_.comment.empty() && !MatchComment(e, record)) return false;
  return true;
}

ArchiveFindResult ArchiveFind(Archive& archive, ArchiveBrowserList& list,
                              const ArchiveMatcher& matcher, ArchiveFindMode mode, int remembered,
                              int visibleRows) {
  ArchiveFindResult result;
  const bool stepMode = mode == ArchiveFindMode::kPrevious || mode == ArchiveFindMode::kNext;
  if (stepMode) result.row = remembered;
  const int last = list.RecordRowCount() - 1;
  auto test = [&](int row) {
    const int record = list.RecordOfRow(row);
    if (!matcher.Matches(record)) return false;
    list.SetSelected(row, true);
    list.SetTopRow(row, visibleRows);
    archive.Entry(record).mark = 'Y';
    result.row = row;
    result.found = true;
    ++result.count;
    return true;
  };
  if (last < 0) return result;
  switch (mode) {
    case ArchiveFindMode::kFirst:
      for (int row = 0; row <= last; ++row)
        if (test(row)) break;
      break;
    case ArchiveFindMode::kLast:
      for (int row = last; row >= 0; --row)
        if (test(row)) break;
      break;
    case ArchiveFindMode::kPrevious: {
      const int from = remembered >= 0 ? remembered : list.TopRow();
      for (int row = std::min(from, last + 1) - 1; row >= 0; --row)
        if (test(row)) break;
      break;
    }
    case ArchiveFindMode::kNext: {
      const int from = remembered >= 0 ? remembered : list.TopRow();
      for (int row = from + 1; row <= last; ++row)
        if (test(row)) break;
      break;
    }
    case ArchiveFindMode::kAll:
      for (int row = 0; row <= last; ++row) test(row);
      break;
  }
  if (!result.found && stepMode) result.row = remembered;
  return result;
}
