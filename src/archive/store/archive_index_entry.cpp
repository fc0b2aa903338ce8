#include "archive/store/archive_index_entry.h"

#include <algorithm>

#include "foundation/text/collation.h"
#include "foundation/text/text_helpers.h"

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

std::vector<int> AlphabeticalOrder(const std::vector<ArchiveIndexEntry>& index,
                                   platform::ProgressSink& progress) {
  constexpr int kNameCompareLength = 260;
  // Groups by initial (upper-cased), in order of first appearance.
  struct Group {
    char key;
    std::vector<int> records;
  };
  std::vector<Group> groups;
  for (std::size_t n = 0; n < index.size(); ++n) {
    const std::string& name = index[n].name;
    const char key = CharToUpper(name.empty() ? '\0' : name[0]);
    auto it =
        std::find_if(groups.begin(), groups.end(), [&](const Group& g) { return g.key == key; });
    if (it == groups.end()) {
      groups.push_back({key, {}});
      it = groups.end() - 1;
    }
    it->records.push_back(static_cast<int>(n));
  }
  for (std::size_t g = 0; g < groups.size(); ++g) {
    progress.SetPos(static_cast<int>(static_cast<double>(g) / groups.size() * 100.0));
    std::stable_sort(groups[g].records.begin(), groups[g].records.end(), [&](int a, int b) {
      return CompareStrings(index[static_cast<std::size_t>(a)].name,
                            index[static_cast<std::size_t>(b)].name, kNameCompareLength, true,
                            Collation::kLatinFirst) == kCompareLess;
    });
  }
  std::stable_sort(groups.begin(), groups.end(), [](const Group& a, const Group& b) {
    // Records without a name come first, as the name comparison puts the shorter text first.
    if (a.key == '\0' || b.key == '\0') return a.key == '\0' && b.key != '\0';
    return CompareChars(a.key, b.key, Collation::kLatinFirst) == kCompareLess;
  });
  std::vector<int> order;
  order.reserve(index.size());
  for (const Group& g : groups) order.insert(order.end(), g.records.begin(), g.records.end());
  return order;
}
