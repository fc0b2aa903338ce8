#include "foundation/datetime/super_source.h"

#include <algorithm>

namespace {

std::string Cut(std::string_view text, std::size_t width) {
  return std::string(text.substr(0, std::min(text.size(), width - 1)));
}

}  // namespace

void SuperSource::SetKind(std::uint16_t kind) {
  kind_ = kind;
  switch (kind) {
    case kChartNatal:
    case kChartDraconic:
    case kChartHarmonic:
    case 11:
      base_ = 0;
      break;
    default:
      base_ = 1;
      break;
  }
}

int SuperSource::GetCountSrcIndex() const {
  switch (kind_) {
    case kChartHorary:
    case kChartSynastry:
    case kChartReturn:
    case kChartLunarPhase:
      return 1;
    case kChartTransit:
    case kChartProgressed:
      return 2;
    default:
      return 0;
  }
}

void SuperSource::SetTitle(std::string_view title) { title_ = Cut(title, kTitleWidth); }

void SuperSource::SetAspectSystemName(std::string_view name) {
  aspectSystemName_ = Cut(name, kAspectSystemNameWidth);
}
