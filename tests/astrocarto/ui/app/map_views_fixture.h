// The fixture of the astrocartography windows in the program: the map opened by its command
// without the settings sheet, and Paris added to it as the second chart.
#pragma once

#include "astrocarto/ui/astrocart_view.h"
#include "foundation/config/settings_blocks.h"
#include "shell/entry/choose_chart_type.h"
#include "views/ui/app/views_fixture.h"

namespace views_test {

class MapViewsTest : public ViewsTest {
 protected:
  // The map of `document`, 1200 x 800, without the settings sheet.
  CAstroCartView* OpenMap(CKovraDoc* document) {
    GetConfiguration().astroCart.Set(cfg::AstroCartSettings::kShowEveryTime, std::int32_t{0});
    auto* view = OpenView<CAstroCartView>(document, cmd::kAstroCartMap);
    if (view != nullptr) view->Frame()->resize(1200, 800);
    return view;
  }
  // Adds Paris as the map's second chart.
  void AddParis(CAstroCartView* view) {
    platform::ModalDriver::Expect<DChooseChartType>([](DChooseChartType& dialog) {
      dialog.kind = kChartNatal;
      return platform::kIdOk;
    });
    AnswerEntry(kParis);
    ASSERT_TRUE(RunFromView(view, cmd::kAddRemoveChart));
    ASSERT_TRUE(view->Map()->HasSecondChart());
  }
};

}  // namespace views_test
