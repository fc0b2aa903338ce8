// The fixture of the rectification and Tremin set-up dialogs: the shipped aspect systems named in
// every system field, the two event lists with their files in the test's own folder, a birth on
// 15 June 1985 at 8:00 in Moscow, strict modal answers and a scripted prompter.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <array>
#include <functional>
#include <string>

#include "astro/aspects/aspectarium.h"
#include "astro/chart/chart.h"
#include "foundation/config/configuration.h"
#include "foundation/config/settings_blocks.h"
#include "rectification/rect_birth.h"
#include "rectification/ui/rect_events_list_box.h"
#include "rectification/ui/rect_setup_dialogs.h"
#include "rectification/ui/tremin_events_panel.h"
#include "support/test_support.h"

namespace rect_test {

// The interval rows of a set-up page (day, month, year, hour, minute): `begin` above, `end` below.
template <class Page>
void Interval(Page& page, std::array<int, 5> begin, std::array<int, 5> end) {
  for (int w = 0; w < 5; ++w) {
    page.IntervalBox(false, w)->setValue(begin[static_cast<std::size_t>(w)]);
    page.IntervalBox(true, w)->setValue(end[static_cast<std::size_t>(w)]);
  }
}

// The next `Sheet`: `fill` on its first page, then OK as the sheet's button does it.
template <class Sheet, class Page>
void AnswerSheet(std::function<void(Page&)> fill) {
  platform::ModalDriver::Expect<Sheet>([fill](Sheet& sheet) {
    fill(*static_cast<Page*>(sheet.Page(0)));
    return sheet.DoDataExchange(true) ? platform::kIdOk : platform::kIdCancel;
  });
}

// The next event dialog: `text` typed, then OK through the dialog's rules (cancelled when they
// refuse). The points of an event are offered only where the method scores them.
inline void AnswerEvent(const char* text, bool pointsOffered) {
  platform::ModalDriver::Expect<DRectEvent>([text, pointsOffered](DRectEvent& d) {
    EXPECT_EQ(d.PlanetButton()->isVisibleTo(&d), pointsOffered);
    d.TextBox()->setText(QString::fromUtf8(text));
    return d.DoDataExchange(true) && d.CheckOk() ? platform::kIdOk : platform::kIdCancel;
  });
}

class RectDialogsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::ModalDriver::Clear();
    platform::ModalDriver::SetStrict(true);
    ASSERT_TRUE(systems_.LoadAll(testing_support::SourceDir() / "data").empty());
    rectFiles_ = {&rectEvents_, folder_ / "velm.lev", &treminEvents_, folder_ / "velm.tev"};
    treminFiles_ = {&treminEvents_, folder_ / "velm.tev", &rectEvents_, folder_ / "velm.lev"};
    using Rect = cfg::RectificationSettings;
    for (const auto field : {Rect::kDirectionsSystem, Rect::kProgressionsSystem,
                             Rect::kTransitsSystem, Rect::kLifePointSystem})
      config_.rectification.Set(field, "VELM");
    config_.treminSettings.Set(cfg::TreminSettings::kApplyingSystem, "VELM");
    config_.treminSettings.Set(cfg::TreminSettings::kSeparatingSystem, "VELM");
    config_.treminForecast.Set(cfg::TreminForecast::kApplyingSystem, "VELM");
    config_.treminForecast.Set(cfg::TreminForecast::kSeparatingSystem, "VELM");
    chart_ = rect_test::BirthChart();
    birth_ = chart_.definition.sources[0].moment;
  }
  void TearDown() override { platform::ModalDriver::Clear(); }

  // Saves `widget` at `size` as `name`.png for a person to look at, with the shipped glyphs.
  void Picture(QWidget& widget, QSize size, const std::string& name) {
    testing_support::InstallShippedGlyphs();
    widget.resize(size);
    const auto file = folder_ / (name + ".png");
    EXPECT_TRUE(widget.grab().save(QString::fromStdString(file.string()))) << name;
    testing_support::ShowToPerson(file, name);
  }

  testing_support::TempFolder folder_;
  Aspectarium systems_;
  Configuration config_;
  LifeEventList rectEvents_, treminEvents_;  // "velm.lev", "velm.tev"
  RectEventFiles rectFiles_;
  TreminEventFiles treminFiles_;
  Chart chart_;
  Moment birth_;
  testing_support::ScriptedPrompter prompts_;
};

}  // namespace rect_test
