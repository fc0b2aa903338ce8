// The graphic ephemeris view: its settings before it opens, scrolling, the values at a point and
// the printed page.
#include "views/ui/ephem_view.h"

#include <QCheckBox>

#include "foundation/config/settings_blocks.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "settings/ui/color_dial.h"
#include "views_fixture.h"

namespace views_test {
namespace {

using E = cfg::GraphicEphemerisSettings;

class EphemViewTest : public ViewsTest {
 protected:
  EphemView* Open(CKovraDoc* document) {
    platform::ModalDriver::Expect<DEphemConf>([](DEphemConf& d) {
      d.OnInitDialog();
      return d.DoDataExchange(true) ? platform::kIdOk : platform::kIdCancel;
    });
    return OpenView<EphemView>(document, cmd::kGraphicEphemeris);
  }
};

TEST_F(EphemViewTest, TheSettingsComeFirstAndCancelOpensNothing) {
  CKovraDoc* document = OpenOne();
  ASSERT_NE(document, nullptr);
  const cfg::ByteBlock before = GetConfiguration().graphicEphemeris;
  // A glyph colour chosen and then the dialog cancelled: nothing is kept.
  platform::ModalDriver::Expect<DEphemConf>([](DEphemConf& d) {
    d.OnInitDialog();
    platform::ModalDriver::Expect<CColorDial>([](CColorDial& c) {
      c.chosen = 12;
      return platform::kIdOk;
    });
    d.ChooseColour(ephem::kBodies);
    EXPECT_EQ(d.Page().glyphColour, 12);
    return platform::kIdCancel;
  });
  const std::size_t views = document->Views().size();
  EXPECT_TRUE(RunFrom(document, cmd::kGraphicEphemeris));
  EXPECT_EQ(document->Views().size(), views);
  EXPECT_EQ(GetConfiguration().graphicEphemeris, before);

  // 31 February is refused and the dialog stays.
  platform::ModalDriver::Expect<DEphemConf>([](DEphemConf& d) {
    d.OnInitDialog();
    d.Page().day = 31;
    d.Page().month = 2;
    d.DoDataExchange(false);
    EXPECT_FALSE(d.DoDataExchange(true));
    return platform::kIdCancel;
  });
  EXPECT_TRUE(RunFrom(document, cmd::kGraphicEphemeris));
  EXPECT_TRUE(prompts_.WasShown(775));
}

TEST_F(EphemViewTest, ScrollingAndTheValuesAtAPoint) {
  CKovraDoc* document = OpenOne();
  ASSERT_NE(document, nullptr);
  Configuration& config = GetConfiguration();
  config.graphicEphemeris.Set(E::kDay, std::int16_t{1});
  config.graphicEphemeris.Set(E::kMonth, std::int16_t{1});
  config.graphicEphemeris.Set(E::kYear, std::int16_t{2000});
  config.graphicEphemeris.Set(E::kPeriod, std::int16_t{0});
  EphemView* view = Open(document);
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->GetFrameTitle(), document->GetTitle() + GetMessageText(kMsgEphemerisCaption));
  RGraphEphem& graph = view->Graph();
  ASSERT_EQ(graph.pointCount, 63);
  EXPECT_EQ(graph.moonFlag, 1);

  // ">>>" at the last point scrolls the period forward; the dialog opens again on new values.
  const GraphLayout& s = graph.screen;
  int opened = 0;
  double shownSun = 0.0;
  platform::ModalDriver::Expect<DEphemData>([&opened](DEphemData& d) {
    ++opened;
    EXPECT_EQ(d.Page().Index(), 62);
    d.OnNext();
    return platform::kIdOk;
  });
  platform::ModalDriver::Expect<DEphemData>([&opened, &shownSun](DEphemData& d) {
    ++opened;
    EXPECT_EQ(d.Page().Index(), ephem::EphemDataPage::ReopenIndex(63, 1));
    EXPECT_EQ(d.Page().MomentText().substr(0, 10), "01:02:2000");  // 16 Jan + 33 half days
    shownSun = d.Page().Value(0);
    return platform::kIdOk;
  });
  ASSERT_TRUE(view->ShowValuesAt(s.leftMargin + s.innerWidth - 1));
  EXPECT_EQ(opened, 2);
  EXPECT_EQ(config.graphicEphemeris.Get(E::kDay), 16);
  EXPECT_DOUBLE_EQ(shownSun, graph.Values()[0][33]);
  EXPECT_FALSE(view->ShowValuesAt(s.leftMargin + s.innerWidth));
  Screenshot(*view, "graphic_ephemeris_screen");
}

TEST_F(EphemViewTest, PrintedPortraitAndLandscape) {
  CKovraDoc* document = OpenOne();
  ASSERT_NE(document, nullptr);
  Configuration& config = GetConfiguration();
  config.graphicEphemeris.Set(E::kPeriod, std::int16_t{4});  // a year: no Moon
  config.graphicEphemeris.Set(E::kMarkChart, std::int32_t{1});
  config.graphicEphemeris.Set(E::kOrientation, std::int16_t{0});
  EphemView* view = Open(document);
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->Graph().moonFlag, 0);
  platform::PrintInfo info;
  ASSERT_TRUE(view->OnPreparePrinting(info));
  EXPECT_EQ(info.maxPage, 1);
  const platform::RecordingDc page = PrintPage(*view);
  bool titled = false;
  for (const std::string& text : page.Texts())
    titled |= text == GetMessageText(kMsgGraphicEphemerisTitle);
  EXPECT_TRUE(titled);
  PagePicture("graphic_ephemeris", 1, *view);
  config.graphicEphemeris.Set(E::kOrientation, std::int16_t{1});
  PagePicture("graphic_ephemeris_landscape", 1, *view);
}

}  // namespace
}  // namespace views_test
