// An archive with a Cyrillic name in a data folder with a Cyrillic name, as every window, dialog,
// list and page that names it shows it: the file name read as the system's UTF-8, never its bytes
// taken for code page 1251 ("РљР»РёРµРЅС‚С‹").
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <filesystem>

#include "archive/browser/archive_print_dialog.h"
#include "archive/browser/archive_print_view.h"
#include "archive/browser/archive_view.h"
#include "chart_fixture.h"
#include "conditions/ui/query_dialog.h"
#include "conditions/ui/synastry_dialog.h"
#include "conditions/ui/synastry_view.h"
#include "document/command_ids.h"
#include "foundation/config/settings_blocks.h"
#include "platform/core/recording_dc.h"
#include "platform/qt/child_frame.h"
#include "platform/qt/qt_text.h"
#include "shell/shell_fixture.h"

namespace {

using platform::ModalDriver;
namespace fs = std::filesystem;

const QString kName = QStringLiteral("Клиенты.arc");

// Every text a RecordingDc received, one a line, as the user reads it.
QString Drawn(const platform::RecordingDc& dc) {
  QString all;
  for (const std::string& text : dc.Texts()) all += platform::ToQt(text) + QLatin1Char('\n');
  return all;
}

// Every label, line and list item of a dialog.
QString Shown(QWidget& dialog) {
  QString all;
  for (const QLabel* label : dialog.findChildren<QLabel*>()) all += label->text() + '\n';
  for (const QLineEdit* edit : dialog.findChildren<QLineEdit*>()) all += edit->text() + '\n';
  for (const QListWidget* list : dialog.findChildren<QListWidget*>())
    for (int i = 0; i < list->count(); ++i) all += list->item(i)->text() + '\n';
  for (const QComboBox* combo : dialog.findChildren<QComboBox*>())
    all += combo->currentText() + '\n';
  return all;
}

class CyrillicPathsTest : public shell_test::ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    data_ = folder_ / "Данные Велм";
    fs::create_directories(data_);
    GetSettings().SetFolder(data_);
    StartApp(true);
    std::vector<chart_fixture::FixtureChart> charts;
    ASSERT_FALSE(
        chart_fixture::LoadFixture(testing_support::FixturePath("conditions/pairs.txt"), charts));
    archive_ = (data_ / "Клиенты.arc").string();
    ASSERT_TRUE(chart_fixture::WriteArchive(charts, archive_));
  }

  fs::path data_;
  std::string archive_;
};

TEST_F(CyrillicPathsTest, CyrillicArchiveNameReadsRightOnEveryScreenAndPage) {
  std::vector<std::pair<std::string, QString>> seen;  // where, what the user reads there
  CMainFrame& frame = *app_->GetMainFrame();
  ASSERT_EQ(app_->GetArchive().OpenByName(archive_), 0);

  // The query dialog: the current archive, and the list after "ДОБАВИТЬ" chose the archive.
  {
    DQuery query(app_->GetArchive(), [] { return false; });
    prompts_.ExpectFile(archive_);
    query.Button(DQuery::kIdAddArchive)->click();
    seen.emplace_back("query dialog", Shown(query));
    seen.emplace_back("query dialog, archive list", query.Archives()->count() > 0
                                                        ? query.Archives()->item(0)->text()
                                                        : QString());
  }

  // The browser (its recent names), then its "Печать" into the archive listing window.
  ModalDriver::Expect<ArchiveView>([&seen](ArchiveView& view) {
    seen.emplace_back("archive browser, recent names", view.RecentCombo()->currentText());
    view.Button(ArchiveView::kIdPrint)->click();
    return view.EndResult();
  });
  ModalDriver::Expect<DARCPRINT>([](DARCPRINT& dialog) {
    dialog.params.hint = 0;
    return platform::kIdOk;
  });
  GetConfiguration().launchCounter = 41;
  frame.ExecuteCommand(cmd::kLoadFromArchive);
  auto* listing = dynamic_cast<CArchivePrint*>(frame.GetActiveView());
  ASSERT_NE(listing, nullptr);
  listing->Frame()->showMaximized();
  QCoreApplication::processEvents();
  seen.emplace_back("listing, window title", listing->Frame()->windowTitle());
  seen.emplace_back("main window title", frame.windowTitle());
  QString windowList;
  for (const QMdiSubWindow* window : frame.MdiArea()->subWindowList())
    windowList += window->windowTitle() + '\n';
  seen.emplace_back("window list", windowList);
  platform::PrintInfo info;
  ASSERT_TRUE(listing->OnPreparePrinting(info));
  platform::RecordingDc paper(96, true);
  paper.SetMapMode(platform::MapMode::HiMetric);
  listing->OnPrint(paper, 1);
  seen.emplace_back("listing, printed page", Drawn(paper));

  // The synastry analysis of the archive: its set-up dialog and its result view.
  testing_support::WriteFile(data_ / "synfuncs.lst",
                             "1 + 101 0 200 0 \x03 \x03 \x03 0 0 0 0 0 0 0 0 0 0 0\n");
  cfg::ByteBlock& block = GetConfiguration().synastry;
  block.Set(cfg::SynastrySettings::kPairingMode, std::int16_t{kSynEveryPair});
  block.Set(cfg::SynastrySettings::kArchive, archive_);
  block.Set(cfg::SynastrySettings::kShowArchives, std::int32_t{1});
  block.Set(cfg::SynastrySettings::kShowQuery, std::int32_t{1});
  CKovraDoc* natal = OpenCopy(shell_test::NatalChart(shell_test::kMoscow, "Натал"));
  ModalDriver::Expect<DSYNANAL>([&seen](DSYNANAL& dialog) {
    seen.emplace_back("synastry set-up", dialog.ArchiveEdit(0)->text());
    dialog.accept();
    return dialog.result() == QDialog::Accepted ? platform::kIdOk : platform::kIdCancel;
  });
  ModalDriver::Expect<DQuery>([](DQuery& dialog) {
    dialog.accept();
    return platform::kIdOk;
  });
  frame.MdiArea()->setActiveSubWindow(natal->Views().front()->Frame());
  ASSERT_TRUE(frame.ExecuteCommand(cmd::kSynastryAnalysis));
  auto* results = dynamic_cast<CSynAnalView*>(frame.GetActiveView());
  ASSERT_NE(results, nullptr);
  platform::RecordingDc screen(96, false);
  results->OnDraw(screen);
  seen.emplace_back("synastry results, screen", Drawn(screen));
  ASSERT_TRUE(results->OnPreparePrinting(info));
  platform::RecordingDc page(96, true);
  page.SetMapMode(platform::MapMode::HiMetric);
  results->OnPrint(page, 1);
  seen.emplace_back("synastry results, printed page", Drawn(page));

  for (const auto& [where, text] : seen) {
    EXPECT_TRUE(text.contains(kName)) << where << ": " << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("Рљ"))) << where << ": " << text.toStdString();
  }
}

}  // namespace
