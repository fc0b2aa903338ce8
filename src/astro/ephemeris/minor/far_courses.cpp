// The far courses of Chiron and the asteroids, decoded from the text the program carries
// (minor_far_courses_data.cpp) per body and side, on first use: the first chart of a far date
// decodes only the courses of its side.
#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string_view>
#include <vector>

#include "astro/ephemeris/minor/minor_elements_data.h"

namespace {

// The place of each character in kCourseDigits, -1 for the others.
constexpr std::array<int, 256> DigitValues() {
  std::array<int, 256> values{};
  values.fill(-1);
  for (int i = 0; i < 64; ++i) values[static_cast<unsigned char>(kCourseDigits[i])] = i;
  return values;
}
constexpr std::array<int, 256> kDigitValue = DigitValues();

struct Slot {
  std::once_flag decoded;
  std::vector<double> coefficients;
  FittedCourse course{};
  bool usable = false;
};

// A stored course in au; a course the program was built with that does not decode is left out
// (the body then moves on its mean elements there, as beyond the known years).
void Decode(const StoredCourse& stored, Slot& slot) {
  const std::size_t stride = 3 * static_cast<std::size_t>(stored.degree + 1);
  slot.coefficients.resize(stored.count);
  slot.usable =
      std::string_view(stored.widths).size() == stride / 3 && stored.count % stride == 0 &&
      DecodeCourseQuanta(stored.quanta, stored.widths, kFarCourseQuantumAu, slot.coefficients);
  if (!slot.usable) slot.coefficients.clear();
  slot.course = FittedCourse{stored.firstJd, stored.segmentDays, stored.degree, slot.coefficients};
}

}  // namespace

bool DecodeCourseQuanta(std::string_view text, std::string_view widths, double scale,
                        std::span<double> out) {
  if (widths.empty() ||
      std::any_of(widths.begin(), widths.end(), [](char c) { return c < '1' || c > '9'; }))
    return false;
  std::size_t at = 0, k = 0;
  bool bad = false;
  for (double& number : out) {
    const std::size_t width = static_cast<std::size_t>(widths[k] - '0');
    if (width > text.size() - at) return false;
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < width; ++i) {
      const int digit = kDigitValue[static_cast<unsigned char>(text[at + i])];
      bad |= digit < 0;
      value = value << 6 | static_cast<std::uint64_t>(digit & 63);
    }
    at += width;
    k = k + 1 == widths.size() ? 0 : k + 1;
    const std::int64_t n = (value & 1) != 0 ? -static_cast<std::int64_t>(value >> 1) - 1
                                            : static_cast<std::int64_t>(value >> 1);
    number = static_cast<double>(n) * scale;
  }
  return !bad && at == text.size();
}

const FittedCourse* MinorFarCourse(int point, double jd) {
  static const std::unique_ptr<Slot[]> slots(new Slot[kStoredFarCourseCount]);
  for (std::size_t p = 0; p < kStoredFarCourseCount; ++p) {
    const StoredCourse& stored = kStoredFarCourses[p];
    const double segments =
        static_cast<double>(stored.count / (3 * static_cast<std::size_t>(stored.degree + 1)));
    if (stored.point != point ||
        !(jd >= stored.firstJd && jd <= stored.firstJd + segments * stored.segmentDays))
      continue;
    Slot& slot = slots[p];
    std::call_once(slot.decoded, Decode, std::cref(stored), std::ref(slot));
    if (slot.usable) return &slot.course;
  }
  return nullptr;
}
