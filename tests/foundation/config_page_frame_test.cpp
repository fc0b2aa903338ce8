#include <gtest/gtest.h>

#include "foundation/config/configuration.h"
#include "platform/core/recording_dc.h"

namespace {

TEST(ConfigurationPageFrame, FrameFollowsTheMarginsAndTheSwitch) {
  Configuration config;
  config.print.marginLeft = 1000;
  config.print.marginTop = 2000;
  config.print.marginRight = 1500;
  config.print.marginBottom = 500;
  config.print.pageFrame = 1;
  platform::RecordingDc dc;
  dc.SetMapMode(platform::MapMode::HiMetric);
  config.DrawPageFrame(dc, {100, 200, 300, 400});
  ASSERT_EQ(dc.Calls().size(), 1u);
  const platform::RecordedCall& frame = dc.Calls()[0];
  EXPECT_EQ(frame.kind, platform::RecordedCall::RoundRect);
  // Left 1000 + 100, top -(2000 + 200), right 21000 - 1500 - 300, bottom raised by 400 above
  // the bottom margin: -(29700 - 500 - 400).
  EXPECT_EQ(frame.points[0], (platform::Point{1100, -2200}));
  EXPECT_EQ(frame.points[1], (platform::Point{19200, -28800}));
  EXPECT_EQ(frame.points[2], (platform::Point{400, 400}));
  EXPECT_TRUE(frame.brush.hollow);

  config.print.pageFrame = 0;
  dc.Clear();
  config.DrawPageFrame(dc, {0, 0, 0, 0});
  EXPECT_TRUE(dc.Calls().empty());
}

}  // namespace
