#include "shell/core/entry/aspects_list.h"

#include <algorithm>
#include <cmath>

#include "foundation/config/configuration.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/messages/show_message.h"
#include "platform/core/prompter.h"

namespace {

constexpr int kLastAspectPoint = 33;

}  // namespace

void AspectList::Init(int capacity, const std::array<int, kAspectListColumns>& positions,
                      const AspectSystem* aspects,
                      const std::array<double, kAspectListColumns>* widths) {
  if (capacity < 1) return;
  items_.clear();
  fullTold_ = false;
  // The shown columns take the places 0, 1, 2 ... in the order of their positions: a gap or a
  // place given twice would leave a column without room.
  std::array<int, kAspectListColumns> order{};
  int shown = 0;
  for (int c = 0; c < kAspectListColumns; ++c)
    if (positions[c] >= 0) order[shown++] = c;
  std::stable_sort(order.begin(), order.begin() + shown,
                   [&](int a, int b) { return positions[a] < positions[b]; });
  positions_.fill(-1);
  for (int place = 0; place < shown; ++place) positions_[order[place]] = place;
  const int largest = shown - 1;
  if (largest < 0) {
    capacity_ = 0;
    return;
  }
  capacity_ = capacity;
  static constexpr std::array<double, kAspectListColumns> kDefaultWidths = {
      2.5, 2.5, 2.5, 2.5, 2.5, 2.5, 2.5, 5.0, 4.0, 9.0, 5.0};
  widths_ = widths != nullptr ? *widths : kDefaultWidths;
  offsets_.fill(0.0);
  double offset = 1.0;
  for (int position = 0; position <= largest; ++position) {
    const int column = GetNumOfItem(position);
    if (column < 0) continue;
    offsets_[column] = offset;
    offset += widths_[column];
  }
  totalWidth_ = offset;
  aspects_ = aspects;
}

int AspectList::GetNumOfItem(int position) const {
  for (int c = 0; c < kAspectListColumns; ++c)
    if (positions_[c] == position) return c;
  return -1;
}

bool AspectList::IsMajor(const AspectListItem& item) const {
  if (aspects_ == nullptr || item.aspect < 0 || item.aspect >= aspects_->Count()) return false;
  return aspects_->GetAspect(item.aspect).IsMajor();
}

int AspectList::Compare(const AspectListItem& n, const AspectListItem& e, int mode) const {
  if (mode == 2) {
    const bool nMajor = IsMajor(n), eMajor = IsMajor(e);
    if (nMajor && !eMajor) return -1;
    if (!nMajor && eMajor) return 1;
  }
  if (n.value2 < e.value2) return -1;
  return n.value2 == e.value2 ? 0 : 1;
}

bool AspectList::InsertItem(const AspectListItem& item, int mode) {
  if (static_cast<int>(items_.size()) >= capacity_) {
    if (fullTold_) return false;
    fullTold_ = true;
    ShowMessage(kMsgTooManyAspectsInList);
    return false;
  }
  auto at = items_.end();
  if (mode != 0) {
    for (auto it = items_.begin(); it != items_.end(); ++it) {
      if (Compare(item, *it, mode) < 0) {
        at = it;
        break;
      }
    }
  }
  items_.insert(at, item);
  return true;
}

std::vector<AspectListItem> PointAspects(const Chart& chart, int point,
                                         const AspectSystem& system) {
  std::vector<AspectListItem> found;
  if (point < 0 || point > kLastAspectPoint) return found;
  const PointRecord& a = chart.points[point];
  if (!a.longitude.IsSet()) return found;
  for (int other = 0; other <= kLastAspectPoint; ++other) {
    const PointRecord& b = chart.points[other];
    if (other == point || !b.longitude.IsSet()) continue;
    const OrbColumn column = OrbColumnOfClass(GetConfiguration().GetPairOrbClass(point, other));
    const AspectMatch match =
        system.FindAspectBetween(a.longitude.Get(), b.longitude.Get(), column);
    if (!match.Found()) continue;
    AspectListItem item;
    item.object1 = static_cast<short>(point);
    item.object2 = static_cast<short>(other);
    item.aspect = static_cast<short>(match.position);
    item.exact = match.result == 2 ? 'E' : 'N';
    item.side = match.deviation < 0.0 ? 'L' : 'R';
    const AspectMatch motion =
        system.FindAspectMotion(a.longitude.Get(), a.speed, b.longitude.Get(), b.speed, column);
    item.motion = motion.result == 3 ? 'I' : motion.result == 4 ? 'E' : ' ';
    item.value1 = match.separation;
    item.value2 = std::fabs(match.deviation);
    found.push_back(item);
  }
  return found;
}
