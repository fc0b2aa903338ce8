// The forecast settings sheets under test: the shipped aspect systems, a configuration, scripted
// messages, and each sheet answered by a function on its calculation page and its display page.
#pragma once

#include <gtest/gtest.h>

#include <functional>

#include "astro/aspects/aspectarium.h"
#include "forecast/ui/lunar_trans_pages.h"
#include "foundation/config/configuration.h"
#include "platform/qt/dialog.h"
#include "support/test_support.h"

template <typename Sheet, typename CalculationPage>
class SheetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::ModalDriver::Clear();
    platform::ModalDriver::SetStrict(true);
    systems_.LoadAll(testing_support::SourceDir() / "data");
    ASSERT_GT(systems_.Count(), 0);
  }
  void TearDown() override { platform::ModalDriver::Clear(); }

  // The next sheet is answered by `fill` on its pages, then OK (as the OK button does it: the
  // pages' exchange first) or Cancel.
  static void Answer(std::function<void(CalculationPage&, DLunarTransInterf&)> fill,
                     bool ok = true) {
    platform::ModalDriver::Expect<Sheet>([fill, ok](Sheet& sheet) {
      fill(*static_cast<CalculationPage*>(sheet.Page(0)),
           *static_cast<DLunarTransInterf*>(sheet.Page(1)));
      if (!ok) return platform::kIdCancel;
      return sheet.DoDataExchange(true) ? platform::kIdOk : platform::kIdCancel;
    });
  }

  Configuration config_;
  Aspectarium systems_;
  testing_support::ScriptedPrompter prompts_;
};
