// The view tests' fixture: a started application with a chart window (and an outer chart), the
// views opened by their commands, printed pages recorded, and pages written as PDF and pictures.
#pragma once

#include <gtest/gtest.h>

#include <QImage>
#include <QMdiArea>
#include <filesystem>
#include <memory>
#include <string>

#include "document/command_ids.h"
#include "foundation/files/safe_rewrite.h"
#include "platform/core/recording_dc.h"
#include "platform/qt/child_frame.h"
#include "platform/qt/page_output.h"
#include "shell/main_frame.h"
#include "shell/shell_fixture.h"
#include "views/ui/table_choice_dialogs.h"

namespace views_test {

using namespace shell_test;

// Ink (dark pixels) of a 100-dpi page picture in a rectangle of 0.01 mm (y negative down).
inline int Ink(const QImage& image, int left, int top, int right, int bottom) {
  const auto px = [](int units) { return units * 100 / 2540; };
  int n = 0;
  for (int y = px(-top); y < px(-bottom) && y < image.height(); ++y)
    for (int x = px(left); x < px(right) && x < image.width(); ++x)
      n += qGray(image.pixel(x, y)) < 160;
  return n;
}

inline platform::RecordingDc PrintPage(platform::View& view, int page = 1) {
  platform::RecordingDc dc(96, true);
  dc.SetMapMode(platform::MapMode::HiMetric);
  view.OnPrint(dc, page);
  return dc;
}

class ViewsTest : public ShellTest {
 protected:
  // A chart window of `birth`, titled "Натал".
  CKovraDoc* OpenOne(const Birth& birth = kMoscow) {
    StartApp();
    return OpenCopy(NatalChart(birth, "Натал"));
  }
  // A chart window of Moscow holding Paris, computed in a window of its own, as its outer chart;
  // the two-chart window is the active one.
  CKovraDoc* OpenTwo() {
    StartApp();
    CKovraDoc* second = OpenCopy(NatalChart(kParis, "Транзит"));
    if (second == nullptr) return nullptr;
    const Chart outer = *second->GetChart();
    CKovraDoc* document = OpenCopy(NatalChart(kMoscow, "Натал"));
    if (document != nullptr) document->SetOuterChart(std::make_unique<Chart>(outer));
    return document;
  }
  // The command routed from the document's first window, made active.
  bool RunFrom(CKovraDoc* document, int command) {
    CMainFrame& frame = *app_->GetMainFrame();
    frame.MdiArea()->setActiveSubWindow(document->Views().front()->Frame());
    EXPECT_EQ(frame.GetActiveDocument(), document);
    EXPECT_TRUE(frame.StateOf(command).enabled);
    return frame.ExecuteCommand(command);
  }
  // The command routed from the window of `view`, made active.
  bool RunFromView(platform::View* view, int command) {
    CMainFrame& frame = *app_->GetMainFrame();
    frame.MdiArea()->setActiveSubWindow(view->Frame());
    EXPECT_TRUE(frame.StateOf(command).enabled);
    return frame.ExecuteCommand(command);
  }
  std::size_t DocumentCount() const { return app_->Documents().Documents().size(); }
  template <class V>
  V* OpenView(CKovraDoc* document, int command) {
    EXPECT_TRUE(RunFrom(document, command));
    return dynamic_cast<V*>(document->Views().back());
  }
  // Prepares the printing of `view` with every chart question answered by its turn (1, 2, ...)
  // after `answerSetUp` has scripted the print set-up; the document's choices start at 9.
  struct Prepared {
    bool prints;
    int questions;
  };
  template <class AnswerSetUp>
  Prepared PrepareCountingQuestions(CKovraDoc* document, platform::View& view,
                                    AnswerSetUp answerSetUp) {
    document->firstTableChoice = document->secondTableChoice = 9;
    platform::ModalDriver::Clear();
    platform::ModalDriver::SetStrict(true);
    answerSetUp();
    int asked = 0;
    platform::ModalDriver::Always<D_CHOOSE_AT_FOR_DW>([&asked](D_CHOOSE_AT_FOR_DW& dialog) {
      dialog.choice = ++asked;
      return platform::kIdOk;
    });
    platform::PrintInfo info;
    const bool prints = view.OnPreparePrinting(info);
    EXPECT_TRUE(platform::ModalDriver::Unanswered().empty());
    platform::ModalDriver::Clear();  // the counting answer goes with `asked`
    platform::ModalDriver::SetStrict(true);
    return {prints, asked};
  }
  int CountShown(int number) const {
    int n = 0;
    for (const auto& shown : prompts_.shown) n += shown.number == number;
    return n;
  }
  // Writes pages 1..`pages` as `name`.pdf and page 1 as a 100-dpi `name`.png, shows both to a
  // person and returns the picture of page 1.
  QImage PagePicture(const std::string& name, int pages, const platform::PageRenderer& render) {
    const std::filesystem::path pdf = folder_ / (name + ".pdf"), png = folder_ / (name + ".png");
    EXPECT_TRUE(platform::WritePdf(pdf, name, pages, render).ok());
    EXPECT_TRUE(platform::WritePagePng(png, 1, 100, render).ok());
    EXPECT_EQ(CountPdfPages(pdf), pages);
    testing_support::ShowToPerson(pdf, name);
    testing_support::ShowToPerson(png, name);
    QImage image(QString::fromStdString(png.string()));
    EXPECT_FALSE(image.isNull());
    return image;
  }
  QImage PagePicture(const std::string& name, int pages, platform::View& view) {
    return PagePicture(name, pages,
                       [&view](platform::Dc& dc, int page) { view.OnPrint(dc, page); });
  }
  // A screenshot of `widget`, shown to a person as `name`.png.
  void Screenshot(QWidget& widget, const std::string& name) {
    const std::filesystem::path shot = folder_ / (name + ".png");
    EXPECT_TRUE(platform::SaveWidgetScreenshot(widget, shot).ok());
    testing_support::ShowToPerson(shot, name);
  }
};

}  // namespace views_test
