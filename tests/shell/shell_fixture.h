// A fixture for the shell tests: its own data folder, a scripted prompter, strict modal answers
// and a fresh application object that never shows a window unless asked.
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "app/subsystems.h"
#include "astro/chart/chart.h"
#include "foundation/files/safe_rewrite.h"
#include "foundation/files/settings.h"
#include "foundation/text/cp1251.h"
#include "platform/qt/child_frame.h"
#include "platform/qt/dialog.h"
#include "platform/qt/page_output.h"
#include "platform/qt/view.h"
#include "shell/entry/chart_entry_dialog.h"
#include "shell/kovra_app.h"
#include "shell/kovra_doc.h"
#include "shell/main_frame.h"
#include "shell/startup_dialogs.h"
#include "support/test_support.h"

namespace shell_test {

// Birth data as the entry dialog would give them.
struct Birth {
  const char* name;  // UTF-8
  int day, month, year;
  int hours, minutes;
  int zoneHours;
  int latDeg, latMin;
  char latLetter;
  int lonDeg, lonMin;
  char lonLetter;
};

inline void FillSource(Source& source, const Birth& birth) {
  source.SetName(Cp1251(birth.name));
  EXPECT_TRUE(source.moment.date.SetDate(birth.day, birth.month, birth.year, 'A').ok());
  EXPECT_TRUE(source.moment.time.SetTime(birth.hours, birth.minutes, 0).ok());
  EXPECT_TRUE(source.zone.SetTime(birth.zoneHours, 0, '+').ok());
  EXPECT_TRUE(source.place
                  .SetPlace(birth.latDeg, birth.latMin, birth.latLetter, birth.lonDeg, birth.lonMin,
                            birth.lonLetter, "", "")
                  .ok());
}

// A natal chart definition (not computed) of `birth`.
inline Chart NatalChart(const Birth& birth, const char* title = "") {
  Chart chart;
  chart.definition.SetKind(kChartNatal);
  FillSource(chart.definition.sources[0], birth);
  chart.definition.SetTitle(Cp1251(title));
  return chart;
}

inline constexpr Birth kMoscow{"Иванов", 13, 5, 1975, 14, 30, 3, 55, 45, 'N', 37, 37, 'E'};
inline constexpr Birth kParis{"Дюпон", 1, 1, 2000, 0, 5, 1, 48, 51, 'N', 2, 21, 'E'};
inline constexpr Birth kTokyo{"Танака", 29, 2, 1996, 23, 59, 9, 35, 41, 'N', 139, 41, 'E'};

// The natal entry dialog answers with `birth` (OK).
inline void AnswerEntry(const Birth& birth) {
  platform::ModalDriver::Expect<entry::CD_ENTER_Natal>([birth](entry::CD_ENTER_Natal& dialog) {
    FillSource(dialog.entry.person, birth);
    dialog.entry.title.clear();
    return platform::kIdOk;
  });
}

inline void DeletePending() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

// The pages of a PDF file (-1 when it cannot be read).
inline int CountPdfPages(const std::filesystem::path& pdf) {
  std::string bytes;
  if (!ReadWholeFile(pdf, bytes).ok()) return -1;
  int pages = 0;
  for (std::size_t at = bytes.find("/Type /Page"); at != std::string::npos;
       at = bytes.find("/Type /Page", at + 1))
    pages += bytes.compare(at, 12, "/Type /Pages") != 0;
  return pages;
}

// What a person looks at for a view: its window as `name`.png, its printout of `pages` pages as
// `name`.pdf (the pages counted) and the first printed page as `name`_page.png.
inline void WriteViewPictures(const std::filesystem::path& folder, const std::string& name,
                              platform::View& view, int pages) {
  const std::filesystem::path png = folder / (name + ".png"), pdf = folder / (name + ".pdf"),
                              page = folder / (name + "_page.png");
  const auto print = [&view](platform::Dc& dc, int n) { view.OnPrint(dc, n); };
  EXPECT_TRUE(platform::SaveWidgetScreenshot(*view.Frame(), png).ok());
  EXPECT_TRUE(platform::WritePdf(pdf, name, pages, print).ok());
  EXPECT_EQ(CountPdfPages(pdf), pages);
  EXPECT_TRUE(platform::WritePagePng(page, 1, 100, print).ok());
  testing_support::ShowToPerson(png, name);
  testing_support::ShowToPerson(pdf, name);
  testing_support::ShowToPerson(page, name + "_page");
}

// Start options without the splash window and the main window.
inline StartOptions QuietStart() {
  StartOptions options;
  options.splash = false;
  options.showWindow = false;
  return options;
}

class ShellTest : public ::testing::Test {
 protected:
  void SetUp() override {
    GetSettings().SetFolder(folder_.Path());
    // The files the program ships (glyph outlines, ephemeris tables) come from the source tree.
    GetSettings().SetShippedFolders({testing_support::SourceDir() / "data"});
    platform::ModalDriver::Clear();
    platform::ModalDriver::SetStrict(true);
  }
  void TearDown() override {
    app_.reset();
    DeletePending();
    EXPECT_TRUE(platform::ModalDriver::Unanswered().empty())
        << "a dialog ran without an answer: " << platform::ModalDriver::Unanswered().front().name();
    platform::ModalDriver::Clear();
    GetSettings().SetShippedFolders({});
  }

  // A started application; the start-up dialog is answered "open nothing". `alsoRegister` adds
  // to what the subsystems register.
  CKovraApp& StartApp(bool showWindow = false,
                      const std::function<void(UiRegistry&)>& alsoRegister = {},
                      bool withSubsystems = true) {
    platform::ModalDriver::Expect<DStartup>([](DStartup& dialog) {
      dialog.choice = DStartup::kNothing;
      return platform::kIdOk;
    });
    StartOptions options = QuietStart();
    options.showWindow = showWindow;
    EXPECT_TRUE(Launch(options, alsoRegister, withSubsystems));
    return *app_;
  }

  // A new application started with `options`, every subsystem registered unless
  // `withSubsystems` is false; what its start answered. The start-up dialog, when it comes, takes
  // the answer the test scripted.
  bool Launch(const StartOptions& options = QuietStart(),
              const std::function<void(UiRegistry&)>& alsoRegister = {},
              bool withSubsystems = true) {
    app_ = std::make_unique<CKovraApp>();
    if (withSubsystems) RegisterSubsystems(*app_);
    if (alsoRegister) alsoRegister(*app_);
    return app_->InitInstance(options);
  }

  // A started application with only what `alsoRegister` registers: the shell's own commands and
  // views, for tests of the registration itself.
  CKovraApp& StartBareApp(const std::function<void(UiRegistry&)>& alsoRegister = {}) {
    return StartApp(false, alsoRegister, false);
  }

  // A chart window holding a copy of `chart` (mode -5).
  CKovraDoc* OpenCopy(const Chart& chart) { return CKovraDoc::OpenChartDocument(*app_, chart); }

  testing_support::TempFolder folder_;
  testing_support::ScriptedPrompter prompts_;
  std::unique_ptr<CKovraApp> app_;
};

}  // namespace shell_test
