// The birth the rectification tests work on, and the shipped aspect system they score with.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>

#include "astro/aspects/aspectarium.h"
#include "astro/chart/chart.h"
#include "support/test_support.h"

namespace rect_test {

// Moscow, 15 June 1985 08:00 at +03:00, Placidus houses.
inline Chart BirthChart() {
  Chart chart;
  Source& s = chart.definition.sources[0];
  EXPECT_TRUE(s.moment.date.SetDate(15, 6, 1985, 'A').ok());
  EXPECT_TRUE(s.moment.time.SetTime(8, 0, 0).ok());
  EXPECT_TRUE(s.zone.SetTime(3, 0, '+').ok());
  EXPECT_TRUE(s.place.SetPlace(55, 45, 'N', 37, 37, 'E', "", "").ok());
  chart.houseSystem = 0;
  return chart;
}

// The shipped "VELM" system, copied into `folder` and loaded from there alone.
inline void LoadShippedSystem(const testing_support::TempFolder& folder, Aspectarium& systems) {
  std::filesystem::copy_file(testing_support::SourceDir() / "data" / "VELM.asp",
                             folder / "VELM.asp");
  EXPECT_TRUE(systems.LoadAll(folder.Path()).empty());
}

}  // namespace rect_test
