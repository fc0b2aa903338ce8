// The ephemeris tables the program ships, loaded once per test program and shared by the contexts
// that take them (without them every chart is computed from the full theories, many times slower).
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "astro/chart/chart_context.h"
#include "support/test_support.h"

namespace testing_support {

inline std::shared_ptr<const Ephemeris> SharedTables() {
  static const std::shared_ptr<const Ephemeris> tables = [] {
    auto e = std::make_shared<Ephemeris>();
    EXPECT_TRUE(e->Load(SourceDir() / "data" / "velm.str").ok());
    return e;
  }();
  return tables;
}

}  // namespace testing_support
