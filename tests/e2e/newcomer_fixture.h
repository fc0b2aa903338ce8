// A newcomer's session through the whole program: a data folder seeded from the shipped files, the
// main window shown, every modal dialog met driven as a person drives it (ModalScript) and
// photographed, every message checked against the ones the session expects, every glyph code
// drawn checked against the installed glyph set. The pictures go to <VELM_DEMO_DIR>/newcomer
// (or a folder of the test), with a contact sheet of them all.
#pragma once

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QMdiArea>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <set>
#include <string>

#include "document/command_ids.h"
#include "document/command_table.h"
#include "foundation/files/data_folder.h"
#include "platform/core/glyph_set.h"
#include "platform/core/recording_dc.h"
#include "platform/qt/child_frame.h"
#include "platform/qt/measuring_dc.h"
#include "platform/qt/page_output.h"
#include "platform/qt/view.h"
#include "shell/shell_fixture.h"
#include "support/modal_script.h"
#include "support/page_overlap.h"

namespace e2e_test {

using namespace shell_test;
using testing_support::Click;
using testing_support::ModalScript;
using testing_support::TypeInto;

// The spread of grey levels of a picture (0 for one flat colour).
inline double GreyVariance(const QImage& image) {
  double sum = 0, squares = 0;
  int n = 0;
  for (int y = 0; y < image.height(); y += 2)
    for (int x = 0; x < image.width(); x += 2) {
      const double g = qGray(image.pixel(x, y));
      sum += g;
      squares += g * g;
      ++n;
    }
  if (n == 0) return 0;
  const double mean = sum / n;
  return squares / n - mean * mean;
}

// Every page of a PDF file that is not A4 portrait or landscape (595 x 842 points).
inline int NonA4Pages(const std::filesystem::path& pdf) {
  const std::string bytes = testing_support::ReadFile(pdf);
  int other = 0;
  for (std::size_t at = bytes.find("/MediaBox"); at != std::string::npos;
       at = bytes.find("/MediaBox", at + 1)) {
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    if (std::sscanf(bytes.c_str() + at, "/MediaBox [%lf %lf %lf %lf", &x0, &y0, &x1, &y1) != 4) {
      ++other;
      continue;
    }
    const double w = x1 - x0, h = y1 - y0;
    const auto near = [](double a, double b) { return std::abs(a - b) < 1.5; };
    other += !((near(w, 595) && near(h, 842)) || (near(w, 842) && near(h, 595)));
  }
  return other;
}

inline CKovraDoc* ActiveChart(CMainFrame& frame) {
  return dynamic_cast<CKovraDoc*>(frame.GetActiveDocument());
}

class NewcomerTest : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    // Real dialogs: nothing answers for them but the script.
    platform::ModalDriver::SetStrict(false);
    ASSERT_TRUE(SeedDataFolder(folder_.Path(), testing_support::SourceDir() / "data").ok());
    GetSettings().SetShippedFolders({});
    const char* demo = std::getenv("VELM_DEMO_DIR");
    pictures_ = demo != nullptr && *demo != '\0' ? std::filesystem::path(demo) / "newcomer"
                                                 : folder_ / "pictures";
    std::filesystem::create_directories(pictures_);
    missingGlyphs().clear();
    platform::WatchMissingGlyphs(
        [](int face, unsigned char code) { missingGlyphs().insert(face * 256 + code); });
  }
  void TearDown() override {
    platform::WatchMissingGlyphs(nullptr);
    for (const int miss : missingGlyphs())
      ADD_FAILURE() << "glyph code " << miss % 256 << " of face " << miss / 256
                    << " drawn but not in the glyph set";
    for (const auto& shown : prompts_.shown)
      if (!allowed_.contains(shown.number))
        ADD_FAILURE() << "unexpected message " << shown.number << ": " << Utf8(shown.text);
    script_.Verify("end of the session");
    if (app_) {
      app_->GetMainFrame()->hide();
      app_->ExitInstance();
    }
    WriteContactSheet();
    ShellTest::TearDown();
  }

  // The program started as a person starts it, the main window shown; `startup` acts on the
  // start-up dialog after the tip of the day was closed.
  // `then` scripts the dialogs the start-up choice opens.
  CKovraApp& Start(ModalScript::Act startup, const std::function<void()>& then = {}) {
    script_.Then("DTipOfDay", [](QWidget& d) { Click(d, QStringLiteral("Закрыть")); });
    script_.Then("DStartup", std::move(startup));
    if (then) then();
    StartOptions options = QuietStart();
    options.showWindow = true;
    EXPECT_TRUE(Launch(options));
    app_->GetMainFrame()->resize(1200, 860);
    Settle();
    script_.Verify("start");
    return *app_;
  }

  // Started from the start-up dialog's new natal chart, typed in by `enter`.
  CKovraDoc* StartWithChart(ModalScript::Act enter) {
    Start(
        [](QWidget& d) {
          Click(d, QStringLiteral("Новый гороскоп: Натальный"));
          Click(d, QStringLiteral("OK"));
        },
        [this, &enter] { script_.Then("entry::CD_ENTER_Natal", enter); });
    return ActiveChart(Frame());
  }

  CMainFrame& Frame() { return *app_->GetMainFrame(); }

  // Runs command `id` as a person does: by its accelerator when it has one, else from its menu.
  void Run(int id) {
    QAction* action = Frame().Action(id);
    ASSERT_NE(action, nullptr) << id;
    ASSERT_TRUE(action->isEnabled() || Frame().StateOf(id).enabled) << id;
    int triggered = 0;
    const auto connection =
        QObject::connect(action, &QAction::triggered, [&triggered] { ++triggered; });
    if (!action->shortcut().isEmpty()) {
      // The accelerator typed on the active main window.
      Frame().activateWindow();
      QApplication::setActiveWindow(&Frame());
      QTest::keySequence(&Frame(), action->shortcut());
    } else {
      action->trigger();  // chosen from its menu
    }
    QObject::disconnect(connection);
    EXPECT_EQ(triggered, 1) << id;
    Settle();
  }

  // Lets the window system and the timers of the script catch up.
  static void Settle() {
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }

  // A picture of `widget` as <name>.png; fails when it is blank.
  void Shot(QWidget& widget, const std::string& name, bool mustShowSomething = true) {
    const std::filesystem::path png = pictures_ / (name + ".png");
    const QImage image = widget.grab().toImage();
    ASSERT_TRUE(image.save(QString::fromStdString(png.string()), "PNG")) << png;
    if (mustShowSomething) {
      EXPECT_GT(GreyVariance(image), kBlankFloor) << name << " looks blank";
    }
  }

  // Every window of every document.
  std::vector<platform::View*> AllViews() const {
    std::vector<platform::View*> views;
    for (const auto& document : app_->Documents().Documents())
      for (platform::View* view : document->Views()) views.push_back(view);
    return views;
  }

  // A new window looked at as a person looks at it: maximized and photographed as
  // view_<class>.png (must show something), its print preview opened and photographed, and its
  // pages written as a PDF that must hold the pages the view announces, every one A4.
  void LookAt(platform::View& view) {
    std::string name = testing_support::ClassName(view);
    if (viewsSeen_[name]++ > 0) name += "_" + std::to_string(viewsSeen_[name]);
    view.Frame()->showMaximized();
    Settle();
    Shot(*view.Frame(), "view_" + name);
    script_.Then("QPrintPreviewDialog", [this, name](QWidget& d) {
      Settle();
      Shot(d, "preview_" + name);
      static_cast<QDialog&>(d).reject();
    });
    Frame().MdiArea()->setActiveSubWindow(view.Frame());
    Run(cmd::kFilePrintPreview);
    script_.Verify("preview of " + name);
    platform::PrintInfo info;
    if (!view.OnPreparePrinting(info)) return;
    const std::filesystem::path pdf = pictures_ / ("view_" + name + ".pdf");
    ASSERT_TRUE(view.PrintToPdf(pdf).ok()) << name;
    EXPECT_EQ(CountPdfPages(pdf), info.maxPage) << name;
    EXPECT_EQ(NonA4Pages(pdf), 0) << name;
    if (checkOverlap_) ExpectPagesApart(view, name, info.maxPage);
  }

  // Every page of `view` printed through a recording device: no text on it overlaps another,
  // runs off the paper or crosses the page frame. The first pages of the views a person prints
  // most are shown by their names of kPagesShown.
  void ExpectPagesApart(platform::View& view, const std::string& name, int pages) {
    bool begun = false;
    platform::PrintInfo info;
    const platform::PageRenderer render = [&](platform::Dc& dc, int page) {
      if (!begun) view.OnBeginPrinting(dc, info);
      begun = true;
      view.OnPrint(dc, page);
    };
    platform::MeasuringDc measure(600.0, true, platform::MapMode::HiMetric);
    for (int page = 1; page <= pages; ++page) {
      platform::RecordingDc dc(600.0, true);
      dc.MeasureWith(&measure.dc());
      dc.SetMapMode(platform::MapMode::HiMetric);
      render(dc, page);
      const std::vector<std::string> faults = testing_support::PageOverlaps(dc, measure.dc());
      for (std::size_t k = 0; k < faults.size() && k < 8; ++k)
        ADD_FAILURE() << name << " page " << page << ": " << faults[k];
      if (!faults.empty()) {
        // The page at 300 dpi beside the test's pictures, for a person to see the overlaps.
        const std::filesystem::path overlap =
            pictures_ / ("overlap_" + name + "_" + std::to_string(page) + ".png");
        EXPECT_TRUE(platform::WritePagePng(overlap, page, 300, render).ok());
      }
    }
    const auto shown = kPagesShown.find(testing_support::ClassName(view));
    if (shown == kPagesShown.end()) return;
    const std::filesystem::path png = pictures_ / (shown->second + ".png");
    const std::filesystem::path pdf = pictures_ / (shown->second + ".pdf");
    ASSERT_TRUE(platform::WritePagePng(png, 1, 200, render).ok());
    ASSERT_TRUE(platform::WritePdf(pdf, shown->second, 1, render).ok());
    testing_support::ShowToPerson(png, shown->second);
    testing_support::ShowToPerson(pdf, shown->second);
  }
  inline static const std::map<std::string, std::string> kPagesShown = {
      {"CPredListPrint", "prediction_list_page"}, {"CArchivePrint", "archive_print_page"},
      {"CAstroCartView", "map_print_page"},       {"AntisView", "antiscia_page"},
      {"EphemView", "graphic_ephemeris_page"},    {"RectifView", "rectification_page"},
      {"CAspTableView", "aspect_grid_page"}};

  // The message numbers the session may show.
  void Allow(std::initializer_list<int> numbers) { allowed_.insert(numbers); }

  // The room a window has on a screen of 1024 x 768 below its title bar and above a task bar,
  // inside its frame.
  static constexpr int kSmallScreenWidth = 1024 - 2 * 8, kSmallScreenHeight = 768 - 48 - 32;

  // Whether `dialog` opened inside its screen's available area (from the area's corner when it
  // is larger). A dialog the program placed itself (at a click) keeps room for the title bar that
  // a window manager puts on it; Qt places the others by the frame it knows.
  static bool OpensOnScreen(const QWidget& dialog) {
    const QRect area = dialog.screen()->availableGeometry();
    QRect framed = dialog.geometry();
    if (dialog.testAttribute(Qt::WA_Moved)) {
      const int titleBar = dialog.style()->pixelMetric(QStyle::PM_TitleBarHeight);
      const int top = framed.top() - dialog.frameGeometry().top();
      framed.setBottom(framed.bottom() + std::max(0, titleBar - top));
    }
    // Larger than the area: from its corner, less the frame's border.
    constexpr int kBorder = 8;
    const auto inside = [](int from, int size, int areaFrom, int areaSize) {
      return from >= areaFrom &&
             (size > areaSize ? from <= areaFrom + kBorder : from + size <= areaFrom + areaSize);
    };
    return inside(framed.x(), framed.width(), area.x(), area.width()) &&
           inside(framed.y(), framed.height(), area.y(), area.height());
  }

  // A picture of the first dialog met of each class, named by it (print previews are
  // photographed by the views they preview). Every dialog fits a small screen: the size it opens
  // at and the least it can be made; and it opens inside the screen.
  ModalScript::Met Photographer() {
    return [this](QWidget& dialog, const std::string& name) {
      const QSize needed =
          dialog.sizeHint().expandedTo(dialog.minimumSize()).expandedTo(dialog.size());
      EXPECT_TRUE(needed.width() <= kSmallScreenWidth && needed.height() <= kSmallScreenHeight)
          << name << " \"" << dialog.windowTitle().toStdString() << "\" needs " << needed.width()
          << " x " << needed.height();
      const QRect at = dialog.geometry();
      EXPECT_TRUE(OpensOnScreen(dialog))
          << name << " opens at " << at.x() << "," << at.y() << " " << at.width() << " x "
          << at.height() << ", off the screen's area";
      if (name == "QPrintPreviewDialog" || dialogsSeen_[name]++ > 0) return;
      Settle();
      Shot(dialog, "dialog_" + name, false);
    };
  }

  static constexpr double kBlankFloor = 20.0;
  std::filesystem::path pictures_;
  std::set<int> allowed_;
  std::map<std::string, int> dialogsSeen_;
  std::map<std::string, int> viewsSeen_;
  bool checkOverlap_ = false;  // LookAt checks the texts of every printed page
  ModalScript script_{Photographer()};
  // Progress windows close by themselves.
  const bool progressLeft_ = (script_.Leave("DPROGRESSBAR"), true);

 private:
  static std::set<int>& missingGlyphs() {
    static std::set<int> misses;
    return misses;
  }
  // One picture of thumbnails of every picture in the folder, named under each.
  void WriteContactSheet() const {
    const QDir dir(QString::fromStdString(pictures_.string()));
    QStringList files = dir.entryList({QStringLiteral("*.png")}, QDir::Files, QDir::Name);
    files.removeAll(QStringLiteral("contact_sheet.png"));
    if (files.isEmpty()) return;
    constexpr int kCell = 240, kCaption = 16, kColumns = 8;
    const int rows = (static_cast<int>(files.size()) + kColumns - 1) / kColumns;
    QImage sheet(kColumns * kCell, rows * (kCell + kCaption), QImage::Format_RGB32);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    painter.setFont(QFont(QStringLiteral("DejaVu Sans"), 7));
    for (int i = 0; i < files.size(); ++i) {
      const QImage picture(dir.filePath(files[i]));
      const int x = (i % kColumns) * kCell, y = (i / kColumns) * (kCell + kCaption);
      const QImage thumb =
          picture.scaled(kCell - 8, kCell - 8, Qt::KeepAspectRatio, Qt::SmoothTransformation);
      painter.drawImage(x + (kCell - thumb.width()) / 2, y + (kCell - thumb.height()) / 2, thumb);
      painter.drawText(QRect(x, y + kCell, kCell, kCaption), Qt::AlignCenter,
                       QFileInfo(files[i]).baseName());
    }
    painter.end();
    sheet.save(dir.filePath(QStringLiteral("contact_sheet.png")), "PNG");
  }
};

}  // namespace e2e_test
