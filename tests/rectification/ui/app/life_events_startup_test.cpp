// The application loads both life-event lists at start: the rectification list from "velm.lev",
// the Tremin list from "velm.tev"; missing files are empty lists without a message.
#include "shell/shell_fixture.h"

namespace shell_test {
namespace {

TEST_F(ShellTest, BothLifeEventListsAreLoadedAtStart) {
  testing_support::WriteFile(folder_ / "velm.lev",
                             "05:03:1987+Wedding\x03"
                             "AC\x03"
                             "G\x03"
                             "Y\n");
  testing_support::WriteFile(folder_ / "velm.tev",
                             "01:01:2000+a\x03\x03\x03N\n02:01:2000+b\x03\x03\x03Y\n");
  CKovraApp& app = StartApp();
  ASSERT_EQ(app.RectificationEvents().Count(), 1);
  EXPECT_EQ(app.RectificationEvents().Event(0).text, "Wedding");
  EXPECT_EQ(app.TreminEvents().Count(), 2);
  EXPECT_TRUE(prompts_.shown.empty());
}

TEST_F(ShellTest, MissingLifeEventFilesAreEmptyListsWithoutAMessage) {
  CKovraApp& app = StartApp();
  EXPECT_EQ(app.RectificationEvents().Count(), 0);
  EXPECT_EQ(app.TreminEvents().Count(), 0);
  for (const auto& shown : prompts_.shown) EXPECT_NE(shown.number, -102) << shown.text;
}

}  // namespace
}  // namespace shell_test
