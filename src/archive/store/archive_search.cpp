#include "archive/store/archive_search.h"

#include <algorithm>

#include "archive/comments/archive_comments.h"
#include "archive/store/archive_browser_list.h"
#include "archive/store/archive_index.h"
#include "archive/store/list_lock.h"
#include "astro/chart/chart_context.h"
#include "foundation/config/configuration.h"
#include "foundation/config/field_table.h"
#include "foundation/config/settings_blocks.h"
#include "foundation/datetime/fdate.h"
#include "foundation/numbers/vector_state.h"
#include "foundation/text/text_helpers.h"

namespace {

using S = cfg::ArchiveSearchCriteria;

using C = ArchiveSearchCriteria;
using D = C::Date;
using A = C::Angle;
using cfg::Bind;
using cfg::Path;

// A letter of two: anything but the second reads as the first.
struct Letter : cfg::AsIs {
  char positive, negative;
  constexpr Letter(char first, char second) : positive(first), negative(second) {}
  template <typename V, typename M>
  void Read(V stored, M& member) const {
    member = stored == negative ? negative : positive;
  }
};
constexpr Letter kEra{'A', 'B'}, kNorth{'N', 'S'}, kEast{'E', 'W'};

constexpr cfg::FieldTable kFields{
    Bind(&C::caseSensitive, S::kCaseSensitive),
    Bind(&C::dateOn, S::kDateOn),
    Bind(&C::dateRange, S::kDateRange),
    Bind(Path{&C::date1, &D::day}, S::kDate1Day),
    Bind(Path{&C::date1, &D::month}, S::kDate1Month),
    Bind(Path{&C::date1, &D::year}, S::kDate1Year),
    Bind(Path{&C::date1, &D::era}, S::kDate1Era, kEra),
    Bind(Path{&C::date2, &D::day}, S::kDate2Day),
    Bind(Path{&C::date2, &D::month}, S::kDate2Month),
    Bind(Path{&C::date2, &D::year}, S::kDate2Year),
    Bind(Path{&C::date2, &D::era}, S::kDate2Era, kEra),
    Bind(&C::latOn, S::kLatOn),
    Bind(&C::latRange, S::kLatRange),
    Bind(Path{&C::lat1, &A::degrees}, S::kLat1Degrees),
    Bind(Path{&C::lat1, &A::minutes}, S::kLat1Minutes),
    Bind(Path{&C::lat1, &A::letter}, S::kLat1Letter, kNorth),
    Bind(Path{&C::lat2, &A::degrees}, S::kLat2Degrees),
    Bind(Path{&C::lat2, &A::minutes}, S::kLat2Minutes),
    Bind(Path{&C::lat2, &A::letter}, S::kLat2Letter, kNorth),
    Bind(&C::lonOn, S::kLonOn),
    Bind(&C::lonRange, S::kLonRange),
    Bind(Path{&C::lon1, &A::degrees}, S::kLon1Degrees),
    Bind(Path{&C::lon1, &A::minutes}, S::kLon1Minutes),
    Bind(Path{&C::lon1, &A::letter}, S::kLon1Letter, kEast),
    Bind(Path{&C::lon2, &A::degrees}, S::kLon2Degrees),
    Bind(Path{&C::lon2, &A::minutes}, S::kLon2Minutes),
    Bind(Path{&C::lon2, &A::letter}, S::kLon2Letter, kEast),
    Bind(&C::name, S::kName),
    Bind(&C::nameContext, S::kNameContext),
    Bind(&C::place, S::kPlace),
    Bind(&C::placeContext, S::kPlaceContext),
    Bind(&C::type, S::kType),
    Bind(&C::typeContext, S::kTypeContext),
    Bind(&C::comment, S::kComment),
    Bind(&C::commentPage, S::kCommentPage, cfg::InRange{0, C::kAllPages})};

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
  kFields.Read(b, c);
  return c;
}

void ArchiveSearchCriteria::ToBlock(cfg::ByteBlock& b) const { kFields.Write(*this, b); }

void ArchiveSearchCriteria::Clear() {
  caseSensitive = dateOn = dateRange = latOn = latRange = lonOn = lonRange = false;
  nameContext = placeContext = typeContext = false;
  date1 = date2 = Date{};
  name.clear();
  place.clear();
  type.clear();
  comment.clear();
}

ArchiveMatcher::ArchiveMatcher(const ArchiveIndex& index, const ArchiveComments& comments,
                               const ArchiveSearchCriteria& criteria)
    : index_(index), comments_(comments), c_(criteria) {
  CleanVectorState();  // a search of the whole index follows (foundation/numbers/vector_state.h)
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

bool ArchiveMatcher::MatchComment(int record, const ListLock* lock) const {
  if (!lock || record < 0 || record >= index_.RecordCount()) return false;
  for (int k = 0; k < kCommentPages; ++k) {
    if (c_.commentPage != ArchiveSearchCriteria::kAllPages && c_.commentPage != k) continue;
    std::string text;
    if (comments_.ReadComment(record, k, text, *lock) != 0) continue;
    if (!c_.caseSensitive) text = SearchKey(text);
    if (text.find(c_.comment) != std::string::npos) return true;
  }
  return false;
}

bool ArchiveMatcher::Matches(int record, const ListLock& lock) const {
  if (record < 0 || record >= index_.RecordCount()) return false;
  return MatchesEntry(index_.Entry(record), record, &lock);
}

bool ArchiveMatcher::MatchesEntry(const ArchiveIndexEntry& e, int record,
                                  const ListLock* lock) const {
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
  if (!c_.comment.empty() && !MatchComment(record, lock)) return false;
  return true;
}

ArchiveFindResult ArchiveFind(ArchiveIndex& index, ArchiveBrowserList& list,
                              const ArchiveMatcher& matcher, ArchiveFindMode mode, int remembered,
                              int visibleRows) {
  ArchiveFindResult result;
  // The list and its texts are of the files as they are, never a commit of another copy half
  // done: a list found stale is read again (ListLock), nothing found.
  const ListLock lock(index, LockMode::kShared);
  if (!lock.Ok()) return result;
  const bool stepMode = mode == ArchiveFindMode::kPrevious || mode == ArchiveFindMode::kNext;
  if (stepMode) result.row = remembered;
  const int last = list.RecordRowCount() - 1;
  auto test = [&](int row) {
    const int record = list.RecordOfRow(row);
    if (!matcher.Matches(record, lock)) return false;
    list.SetSelected(row, true);
    list.SetTopRow(row, visibleRows);
    index.Entry(record).mark = 'Y';
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
