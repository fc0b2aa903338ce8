// The interpreter menu through the whole program: the output command with its parameters dialog
// and text view, and the text editor's sheet.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <cstdlib>

#include "conditions/tlr_test_support.h"
#include "conditions/ui/tlr_editor_sheet.h"
#include "conditions/ui/tlr_output.h"
#include "conditions/ui/view_kinds.h"
#include "document/command_ids.h"
#include "foundation/config/configuration.h"
#include "foundation/config/settings_blocks.h"
#include "foundation/messages/message_numbers.h"
#include "platform/qt/child_frame.h"
#include "platform/qt/page_output.h"
#include "platform/qt/qt_text.h"
#include "shell/shell_fixture.h"

namespace {

using namespace tlr_test;
using platform::Answer;
using platform::ModalDriver;
namespace fs = std::filesystem;
using T = cfg::InterpretationSettings;

class InterpreterTest : public shell_test::ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    saved_ = GetConfiguration();
    StartApp();
    // The Moscow chart has the Sun in Taurus: text 2 applies, text 1 does not.
    std::string body;
    for (int i = 0; i < 12; ++i)
      body += Cp1251("Солнце в Тельце: строка текста номер ") + std::to_string(i) + "\n";
    base_ = WriteBase(folder_.Path(), "base", {"10TPlanets"},
                      {{1, "Aries", "Planets", "aries\n", "ALL\n" + kSunInAries},
                       {2, Cp1251("Солнце в Тельце"), "Planets", body, "ALL\n" + kSunInTaurus}});
    WriteList(folder_.Path(), {{'T', base_}});
    document_ = OpenCopy(shell_test::NatalChart(shell_test::kMoscow));
    ASSERT_NE(document_, nullptr);
  }
  void TearDown() override {
    ShellTest::TearDown();
    GetConfiguration() = saved_;
  }
  CTLRVIEW* View() const {
    for (platform::View* view : document_->Views())
      if (auto* t = dynamic_cast<CTLRVIEW*>(view)) return t;
    return nullptr;
  }
  static void AcceptParams(bool saveToFile = false) {
    ModalDriver::Expect<DTLRPARAMS>([saveToFile](DTLRPARAMS& d) {
      d.options = {0, true, true, false};
      d.saveToFile = saveToFile;
      return platform::kIdOk;
    });
  }

  Configuration saved_;
  std::string base_;
  CKovraDoc* document_ = nullptr;
};

TEST_F(InterpreterTest, OutputViewShowsTheTextsThatApply) {
  AcceptParams();
  ASSERT_TRUE(app_->GetMainFrame()->ExecuteCommand(cmd::kInterpretationOutput));
  CTLRVIEW* view = View();
  ASSERT_NE(view, nullptr);
  view->Frame()->resize(700, 560);
  QApplication::processEvents();
  const std::string head = Cp1251("Солнце в Тельце\n(Planets)\nСолнце в Тельце: стр");
  EXPECT_EQ(view->Control()->Text().substr(0, head.size()), head);
  EXPECT_EQ(view->Control()->Text().find("aries"), std::string::npos);
  EXPECT_EQ(view->GetFrameTitle().substr(view->GetFrameTitle().size() - 15),
            Cp1251(" -Интерпретация"));
  EXPECT_EQ(view->HelpContext(), 131353);
  EXPECT_TRUE(document_->IsViewOpen(kDocViewInterpretationText));
  // The first hot area copies the whole text, the second the selection.
  view->CopyAll();
  EXPECT_EQ(platform::FromQt(QApplication::clipboard()->text()), view->Control()->Text());
  EXPECT_EQ(view->HotAreas().Count(), 2);
  EXPECT_EQ(view->HotAreas().Area(1).text, Cp1251("Взять выделенный текст в буфер"));

  const fs::path pdf = folder_ / "interpretation.pdf";
  const fs::path png = folder_ / "interpretation.png";
  const fs::path screen = folder_ / "interpretation_screen.png";
  ASSERT_TRUE(view->PrintToPdf(pdf).ok());
  EXPECT_GT(fs::file_size(pdf), 1000u);
  ASSERT_TRUE(platform::WritePagePng(png, 1, 100, [view](platform::Dc& dc, int page) {
                view->OnPrint(dc, page);
              }).ok());
  ASSERT_TRUE(platform::SaveWidgetScreenshot(*view->Frame(), screen).ok());
  if (const char* demo = std::getenv("VELM_DEMO_DIR"); demo != nullptr && *demo != '\0') {
    fs::create_directories(demo);
    for (const fs::path& file : {pdf, png, screen})
      fs::copy_file(file, fs::path(demo) / file.filename(), fs::copy_options::overwrite_existing);
  }
  view->Frame()->close();
  shell_test::DeletePending();
  EXPECT_FALSE(fs::exists(TLRDATA::OutputPath()));
  EXPECT_FALSE(document_->IsViewOpen(kDocViewInterpretationText));
}

TEST_F(InterpreterTest, RefusalsBeforeTheView) {
  // Every base switched off: OK is refused; the switch was saved at once.
  ModalDriver::Expect<DTLRPARAMS>([](DTLRPARAMS& d) {
    d.Bases()->setCurrentRow(0);
    d.OnFlip();
    EXPECT_FALSE(d.CheckOk());
    return platform::kIdCancel;
  });
  app_->GetMainFrame()->ExecuteCommand(cmd::kInterpretationOutput);
  EXPECT_TRUE(prompts_.WasShown(kMsgTlrSwitchOnABase));
  EXPECT_EQ(Read(folder_.Path() / TLRDATA::kListName),
            "\x03"
            "F" +
                base_ + "\n");
  EXPECT_EQ(View(), nullptr);
  // No base at all.
  fs::remove(folder_.Path() / TLRDATA::kListName);
  app_->GetMainFrame()->ExecuteCommand(cmd::kInterpretationOutput);
  EXPECT_TRUE(prompts_.WasShown(kMsgTlrNoBases));
  EXPECT_EQ(View(), nullptr);
}

TEST_F(InterpreterTest, OutputIsAppendedToAnExistingFileWhenAsked) {
  const fs::path out = folder_ / "out.txt";
  Write(out, "old\n");
  ModalDriver::Expect<DTLRPARAMS>([&out](DTLRPARAMS& d) {
    d.options = {0, false, false, false};
    d.saveToFile = true;
    d.OnChangeFile();
    EXPECT_EQ(d.fileName, out.string());
    EXPECT_FALSE(d.replaceFile);
    return platform::kIdOk;
  });
  prompts_.ExpectFile((folder_ / "out").string());
  prompts_.Expect(kMsgTlrOutputFileExists, Answer::No);
  ASSERT_TRUE(app_->GetMainFrame()->ExecuteCommand(cmd::kInterpretationOutput));
  EXPECT_TRUE(prompts_.WasShown(1033));
  const std::string bytes = Read(out);
  EXPECT_EQ(bytes.substr(0, 4), "old\n");
  EXPECT_EQ(bytes.substr(4, 12), Cp1251("Солнце в Тел"));
  EXPECT_EQ(GetConfiguration().interpretation.Get(T::kReplaceFile), 0);
}

TEST_F(InterpreterTest, EditorSheetAddsATextAndSavesTheListOnOk) {
  ModalDriver::Expect<MyPropertySheet>([](MyPropertySheet& sheet) {
    auto* files = static_cast<DTlrFiles*>(sheet.Page(0));
    auto* texts = static_cast<DTlrTexts*>(sheet.Page(1));
    files->findChild<QPushButton*>("flipGroup")->click();
    texts->OnSetActive();
    EXPECT_EQ(texts->Texts()->count(), 2);
    ModalDriver::Expect<DTLR_TEXTPAR>([](DTLR_TEXTPAR& d) {
      EXPECT_EQ(d.findChild<QLineEdit*>()->maxLength(), 40);
      d.title = "Added";
      d.body = "new body";
      return platform::kIdOk;
    });
    texts->findChild<QPushButton*>("addText")->click();
    EXPECT_EQ(texts->Texts()->count(), 3);
    EXPECT_EQ(texts->Texts()->currentRow(), 2);
    if (const char* demo = std::getenv("VELM_DEMO_DIR"); demo != nullptr && *demo != '\0') {
      sheet.resize(620, 700);
      sheet.findChild<QTabWidget*>()->setCurrentIndex(1);
      (void)platform::SaveWidgetScreenshot(sheet, fs::path(demo) / "interpretation_editor.png");
      (void)platform::SaveWidgetScreenshot(*files, fs::path(demo) / "interpretation_bases.png");
    }
    return platform::kIdOk;
  });
  app_->GetMainFrame()->ExecuteCommand(cmd::kEditTexts);
  EXPECT_NE(Read(base_ + ".tlt").find("^0003 ^Added^ /Planets/\nnew body\n"), std::string::npos);
  EXPECT_EQ(Read(base_ + ".tlg"), "10FPlanets\n");
}

}  // namespace
