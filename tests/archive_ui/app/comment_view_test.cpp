// The chart comment view: ten pages behind tabs in the strip under the text, the two buttons,
// the slot a chart takes and gives up, the one length limit, printing, and a chart's pages
// across a session.
#include "archive/browser/comment_view.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <filesystem>
#include <string>

#include "archive/browser/comment_names_dialog.h"
#include "archive/browser/view_kinds.h"
#include "archive/comments/chart_comments.h"
#include "archive_app_fixture.h"
#include "document/command_ids.h"
#include "foundation/config/configuration.h"
#include "foundation/messages/message_numbers.h"
#include "platform/core/recording_dc.h"
#include "platform/qt/child_frame.h"
#include "platform/qt/page_output.h"
#include "platform/qt/qt_dc.h"
#include "platform/qt/qt_text.h"

namespace shell_test {
namespace {

namespace fs = std::filesystem;
using platform::Point;
using testing_support::ReadFile;
using testing_support::WriteFile;

// Key presses and a double click as the window system would deliver them.
void SendKey(QWidget* widget, int key, const QString& text = {}) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
  QCoreApplication::sendEvent(widget, &press);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
  QCoreApplication::sendEvent(widget, &release);
}
void TypeInto(QWidget* widget, const QString& text) {
  for (QChar c : text) SendKey(widget, 0, QString(c));
}
void SendDoubleClick(QWidget* widget, QPoint at) {
  QMouseEvent click(QEvent::MouseButtonDblClick, QPointF(at), widget->mapToGlobal(QPointF(at)),
                    Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(widget, &click);
}

class CommentViewTest : public ArchiveAppTest {
 protected:
  void SetUp() override {
    ArchiveAppTest::SetUp();
    GetConfiguration().currentCommentPage = 0;
  }

  // A chart window (optionally of a chart holding `slot` with page files) and its comment view.
  CCommentView* OpenView(const Chart& chart) {
    document_ = OpenCopy(chart);
    EXPECT_NE(document_, nullptr);
    if (document_ == nullptr) return nullptr;
    EXPECT_TRUE(app_->GetMainFrame()->ExecuteCommand(cmd::kComment));
    auto* view = document_->PartState<OpenCommentView>().view;
    EXPECT_NE(view, nullptr);
    if (view != nullptr) {
      view->Frame()->resize(640, 520);
      QApplication::processEvents();
    }
    return view;
  }

  // A double click in the middle of hot area `area`, through the mouse.
  static void DoubleClick(CCommentView& view, int area) {
    const platform::Rect r = HotAreaStrip::AreaRect(view.HotAreas().Area(area), view.StripRect());
    const double perPixel = 2540.0 / view.logicalDpiX();  // 0.01 mm per pixel
    const QPoint at(static_cast<int>((r.left + r.right) / 2 / perPixel),
                    static_cast<int>(-(r.top + r.bottom) / 2 / perPixel));
    ASSERT_EQ(view.FindHotArea(view.DeviceToLogical(at), view.StripRect()), area);
    SendDoubleClick(view.viewport(), at);
  }

  static void Type(CCommentView& view, const char* utf8) {
    TypeInto(view.Control(), QString::fromUtf8(utf8));
  }
  static std::string Shown(const CCommentView& view) { return view.Control()->Text(); }

  CKovraDoc* document_ = nullptr;
};

TEST_F(CommentViewTest, PageTabsStoreTheShownPageAndLoadTheChosenOne) {
  StartApp(true);
  CCommentView* view = OpenView(NatalChart(kMoscow));
  ASSERT_NE(view, nullptr);
  const int slot = document_->GetChart()->commentSlot;
  ASSERT_EQ(slot, 1);  // a chart without comments takes the first free slot
  EXPECT_TRUE(app_->CommentSlots().IsTaken(slot));
  EXPECT_EQ(platform::FromQt(view->Frame()->windowTitle()),
            document_->GetTitle() + Cp1251(" -Комментарий"));

  Type(*view, "Первая страница");
  view->Control()->textCursor().insertText(QStringLiteral("\nвторая строка"));
  DoubleClick(*view, 3);
  EXPECT_EQ(ReadFile(CommentFileName(slot, 0)),
            Cp1251("Первая страница\r\nвторая строка"));  // the stored form: CR LF
  EXPECT_EQ(Shown(*view), "");
  EXPECT_EQ(view->CurrentPage(), 3);
  EXPECT_EQ(GetConfiguration().currentCommentPage, 3);
  EXPECT_EQ(view->HotAreas().Area(0).state, 1);  // a page with text
  EXPECT_EQ(view->HotAreas().Area(3).state, 2);  // the current page
  EXPECT_EQ(view->HotAreas().Area(5).state, 0);

  Type(*view, "Третья");
  DoubleClick(*view, 0);
  EXPECT_EQ(Shown(*view), Cp1251("Первая страница\nвторая строка"));
  EXPECT_EQ(ReadFile(CommentFileName(slot, 3)), Cp1251("Третья"));

  // The current page comes back with the next view of the chart.
  DoubleClick(*view, 3);
  view->Frame()->close();
  DeletePending();
  EXPECT_EQ(document_->PartState<OpenCommentView>().view, nullptr);
  EXPECT_EQ(document_->OpenCount(kDocViewComment), 0);
  ASSERT_TRUE(app_->GetMainFrame()->ExecuteCommand(cmd::kComment));
  ASSERT_NE(document_->PartState<OpenCommentView>().view, nullptr);
  EXPECT_EQ(document_->PartState<OpenCommentView>().view->CurrentPage(), 3);
  EXPECT_EQ(Shown(*document_->PartState<OpenCommentView>().view), Cp1251("Третья"));
}

TEST_F(CommentViewTest, DontSaveOnAChartWithoutCommentsLeavesNothing) {
  StartApp(true);
  CCommentView* view = OpenView(NatalChart(kParis));
  ASSERT_NE(view, nullptr);
  const int slot = document_->GetChart()->commentSlot;
  ASSERT_GT(slot, 0);
  Type(*view, "Не нужно");
  DoubleClick(*view, CCommentView::kDontSaveArea);
  DeletePending();
  EXPECT_EQ(document_->Views().size(), 1u);  // the comment window closed
  EXPECT_EQ(document_->GetChart()->commentSlot, 0);
  EXPECT_FALSE(app_->CommentSlots().IsTaken(slot));
  for (int k = 0; k < 10; ++k) EXPECT_FALSE(fs::exists(CommentFileName(slot, k))) << k;
  EXPECT_EQ(document_->OpenCount(kDocViewComment), 0);
  EXPECT_EQ(document_->PartState<OpenCommentView>().view, nullptr);
}

TEST_F(CommentViewTest, EmptyingTheOnlyTextDeletesItsFileAndFreesTheSlot) {
  StartApp(true);
  Chart commented = NatalChart(kTokyo);
  commented.commentSlot = 7;
  WriteFile(CommentFileName(7, 0), Cp1251("Единственный текст"));
  CCommentView* view = OpenView(commented);
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(Shown(*view), Cp1251("Единственный текст"));
  EXPECT_TRUE(app_->CommentSlots().IsTaken(7));

  view->Control()->selectAll();
  SendKey(view->Control(), Qt::Key_Delete);
  DoubleClick(*view, 1);
  EXPECT_FALSE(fs::exists(CommentFileName(7, 0)));
  EXPECT_FALSE(app_->CommentSlots().IsTaken(7));
  EXPECT_NE(document_->GetChart()->commentSlot, 7);

  // Nothing typed on the next page: closing the view gives up the slot it took for it.
  const int next = document_->GetChart()->commentSlot;
  view->Frame()->close();
  DeletePending();
  EXPECT_EQ(document_->GetChart()->commentSlot, 0);
  EXPECT_FALSE(app_->CommentSlots().IsTaken(next));
}

TEST_F(CommentViewTest, ResizingKeepsTypedTextAndTheStripUnderIt) {
  StartApp(true);
  CCommentView* view = OpenView(NatalChart(kMoscow));
  ASSERT_NE(view, nullptr);
  Type(*view, "Набранный, но не сохраненный текст");
  for (const QSize size : {QSize(900, 700), QSize(300, 200), QSize(640, 520)}) {
    view->Frame()->resize(size);
    QApplication::processEvents();
    SCOPED_TRACE(size.width());
    EXPECT_EQ(Shown(*view), Cp1251("Набранный, но не сохраненный текст"));
    // The control over the top 79 %, the strip over the bottom 20 % of the view.
    const int height = view->viewport()->height();
    EXPECT_NEAR(view->Control()->geometry().height(), 0.79 * height, 1.0);
    EXPECT_EQ(view->Control()->geometry().width(), view->viewport()->width());
    const platform::Rect client = view->ClientRect();
    const platform::Rect strip = view->StripRect();
    EXPECT_NEAR(strip.top - strip.bottom, 0.2 * (client.top - client.bottom), 1.0);
    EXPECT_EQ(strip.bottom, client.bottom);
  }
}

TEST_F(CommentViewTest, OneLimitOf32000BytesInTheControlAndOnDisk) {
  StartApp(true);
  // A page of exactly 32000 bytes, line breaks included, opens and stores byte for byte.
  std::string full;
  const std::string line = Cp1251("Строка длинного комментария № ") + "\r\n";
  while (full.size() + line.size() <= 32000) full += line;
  full += std::string(32000 - full.size(), 'z');
  Chart commented = NatalChart(kMoscow);
  commented.commentSlot = 4;
  WriteFile(CommentFileName(4, 0), full);
  CCommentView* view = OpenView(commented);
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(PageFileBytes(Shown(*view)), 32000u);
  EXPECT_EQ(view->SaveText(), 0);
  EXPECT_EQ(ReadFile(CommentFileName(4, 0)), full);

  // Nothing more goes in: a typed character, a pasted line break, a long paste.
  QTextCursor end = view->Control()->textCursor();
  end.movePosition(QTextCursor::End);
  view->Control()->setTextCursor(end);
  Type(*view, "q");
  view->Control()->textCursor().insertText(QString(100, u'y'));
  EXPECT_EQ(PageFileBytes(Shown(*view)), 32000u);

  // Two bytes of room: "ab" fits, the line break and "c" after it do not; characters outside
  // code page 1251 are refused.
  view->Control()->SetText(std::string(31998, 'x'));
  end.movePosition(QTextCursor::End);
  view->Control()->setTextCursor(end);
  view->Control()->textCursor().insertText(QStringLiteral("a日b\nc"));
  EXPECT_EQ(Shown(*view), std::string(31998, 'x') + "ab");
}

TEST_F(CommentViewTest, NamesDialogRenamesTheTabs) {
  StartApp(true);
  CCommentView* view = OpenView(NatalChart(kMoscow));
  ASSERT_NE(view, nullptr);
  const std::string before = GetConfiguration().commentPageNames[2];
  platform::ModalDriver::Expect<DCommentNames>([before](DCommentNames& dialog) {
    EXPECT_EQ(dialog.names[2], before);  // the dialog starts from the configuration
    dialog.names[2] = Cp1251("Имя страницы длиннее шестнадцати");
    return platform::kIdCancel;
  });
  DoubleClick(*view, CCommentView::kChangeNamesArea);
  EXPECT_EQ(GetConfiguration().commentPageNames[2], before);

  platform::ModalDriver::Expect<DCommentNames>([](DCommentNames& dialog) {
    dialog.names[2] = Cp1251("Имя страницы длиннее шестнадцати");  // 32 characters
    dialog.names[5] = Cp1251("Деньги");
    return platform::kIdOk;
  });
  DoubleClick(*view, CCommentView::kChangeNamesArea);
  EXPECT_EQ(GetConfiguration().commentPageNames[2], Cp1251("Имя страницы длиннее шес"));
  EXPECT_EQ(GetConfiguration().commentPageNames[5], Cp1251("Деньги"));
  EXPECT_EQ(HotAreaStrip::ShownText(view->HotAreas().Area(2)), Cp1251("Имя страницы дл..."));
  EXPECT_EQ(HotAreaStrip::ShownText(view->HotAreas().Area(5)), Cp1251("Деньги"));
}

TEST(CommentNamesDialog, EditsHoldAtMost24CharactersOfCodePage1251) {
  Configuration config;
  DCommentNames dialog;
  dialog.LoadFrom(config);
  dialog.DoDataExchange(false);
  auto* third = dialog.findChild<QLineEdit*>(QStringLiteral("name1612"));
  ASSERT_NE(third, nullptr);
  EXPECT_EQ(platform::FromQt(third->text()), config.commentPageNames[2]);
  third->clear();
  TypeInto(third, QStringLiteral("Очень длинное название страницы"));
  EXPECT_EQ(third->text(), QStringLiteral("Очень длинное название с"));
  TypeInto(third, QStringLiteral("日"));  // refused
  EXPECT_EQ(third->text().size(), 24);
  dialog.DoDataExchange(true);
  dialog.StoreTo(config);
  EXPECT_EQ(config.commentPageNames[2], Cp1251("Очень длинное название с"));
}

TEST_F(CommentViewTest, NoFreeSlotDetachesTheView) {
  StartApp(true);
  while (app_->CommentSlots().GetFreeCommentSlot() > 0) {
  }
  document_ = OpenCopy(NatalChart(kMoscow));
  ASSERT_NE(document_, nullptr);
  ASSERT_TRUE(app_->GetMainFrame()->ExecuteCommand(cmd::kComment));
  EXPECT_TRUE(prompts_.WasShown(503));
  EXPECT_EQ(document_->PartState<OpenCommentView>().view, nullptr);
  EXPECT_EQ(document_->OpenCount(kDocViewComment), 0);
  DeletePending();
  EXPECT_EQ(document_->Views().size(), 1u);
  EXPECT_EQ(document_->GetChart()->commentSlot, 0);
}

TEST_F(CommentViewTest, CommandOpensOneCommentViewPerChart) {
  CKovraApp& app = StartApp(true);
  CMainFrame& frame = *app.GetMainFrame();
  EXPECT_FALSE(frame.StateOf(cmd::kComment).enabled);  // no chart
  CCommentView* view = OpenView(NatalChart(kMoscow));
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->HelpContext(), 131307);
  // Two views of one chart would store the same page over each other.
  EXPECT_FALSE(frame.StateOf(cmd::kComment).enabled);
  EXPECT_FALSE(frame.ExecuteCommand(cmd::kComment));
  view->Frame()->close();
  DeletePending();
  EXPECT_TRUE(frame.StateOf(cmd::kComment).enabled);
}

TEST_F(CommentViewTest, ClosingTheLastWindowAsksAboutTypedText) {
  StartApp(true);
  CCommentView* view = OpenView(NatalChart(kMoscow));
  ASSERT_NE(view, nullptr);
  const int slot = document_->GetChart()->commentSlot;
  // The chart window goes first; the comment window is the chart's last.
  document_->Views().front()->Frame()->close();
  DeletePending();
  Type(*view, "Только что набрано");
  prompts_.Expect(kMsgUnsavedComments, platform::Answer::No);
  view->Frame()->close();
  DeletePending();
  prompts_.VerifyAllUsed();
  EXPECT_EQ(app_->DocumentCount(), 1);
  EXPECT_EQ(ReadFile(CommentFileName(slot, 0)), Cp1251("Только что набрано"));

  // "НЕ СОХРАНЯТЬ" kept open by the same answer: the view goes on storing what is typed.
  Type(*view, "!");
  prompts_.Expect(kMsgUnsavedComments, platform::Answer::No);
  DoubleClick(*view, CCommentView::kDontSaveArea);
  DeletePending();
  ASSERT_EQ(document_->PartState<OpenCommentView>().view, view);
  DoubleClick(*view, 1);
  EXPECT_EQ(ReadFile(CommentFileName(slot, 0)), Cp1251("Только что набрано!"));
  prompts_.VerifyAllUsed();
}

TEST_F(CommentViewTest, SessionKeepsAChartsPages) {
  StartApp(true);
  CCommentView* view = OpenView(NatalChart(kMoscow));
  ASSERT_NE(view, nullptr);
  const int slot = document_->GetChart()->commentSlot;
  Type(*view, "Сохранится в сеансе");
  app_->ExitInstance();  // the view stores its page as it goes; the chart joins the session
  app_.reset();
  DeletePending();
  EXPECT_EQ(ReadFile(CommentFileName(slot, 0)), Cp1251("Сохранится в сеансе"));

  StartApp(true);
  ASSERT_EQ(app_->RestoreSession(), 1);
  document_ = dynamic_cast<CKovraDoc*>(app_->Documents().Documents().front().get());
  ASSERT_NE(document_, nullptr);
  EXPECT_EQ(document_->GetChart()->commentSlot, slot);
  EXPECT_TRUE(app_->CommentSlots().IsTaken(slot));
  ASSERT_TRUE(app_->GetMainFrame()->ExecuteCommand(cmd::kComment));
  ASSERT_NE(document_->PartState<OpenCommentView>().view, nullptr);
  EXPECT_EQ(Shown(*document_->PartState<OpenCommentView>().view), Cp1251("Сохранится в сеансе"));
}

TEST(RichTextPrinting, PrintAreaFromTheMarginsAndPageTitles) {
  struct Case {
    const char* name;
    int left, top, right, bottom;
    CRichTextCtrlView::PrintArea expected;
  } const cases[] = {
      {"defaults", 1500, 1500, 1000, 1500, {1800, 3000, 17800, 24700}},
      {"custom", 2000, 2500, 1200, 1800, {2300, 4000, 17100, 23400}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Configuration config;
    config.print.marginLeft = c.left;
    config.print.marginTop = c.top;
    config.print.marginRight = c.right;
    config.print.marginBottom = c.bottom;
    const CRichTextCtrlView::PrintArea area = CRichTextCtrlView::GetPrintArea(config);
    EXPECT_EQ(area.left, c.expected.left);
    EXPECT_EQ(area.top, c.expected.top);
    EXPECT_EQ(area.width, c.expected.width);
    EXPECT_EQ(area.height, c.expected.height);
  }
  EXPECT_EQ(CRichTextCtrlView::PageTitle(551, 1), Cp1251("КОММЕНТАРИЙ"));
  EXPECT_EQ(CRichTextCtrlView::PageTitle(551, 2), Cp1251("КОММЕНТАРИЙ (стр. 2)"));
  EXPECT_EQ(CRichTextCtrlView::PageTitle(551, 12), Cp1251("КОММЕНТАРИЙ (стр. 12)"));
}

// "Строка 1" .. "Строка n", one a line.
std::string NumberedLines(int n) {
  std::string text;
  for (int i = 1; i <= n; ++i) text += Cp1251("Строка ") + std::to_string(i) + "\r\n";
  return text;
}

TEST_F(CommentViewTest, PrintedPagesCarryTheHeadAndTheTextInThePrintArea) {
  StartApp(true);
  Chart commented = NatalChart(kMoscow, "Печать");
  commented.commentSlot = 5;
  WriteFile(CommentFileName(5, 0), NumberedLines(200));
  CCommentView* view = OpenView(commented);
  ASSERT_NE(view, nullptr);
  const cfg::PrintSettings& print = GetConfiguration().print;
  ASSERT_EQ(print.marginLeft, 1500);
  ASSERT_EQ(print.marginTop, 1500);

  const auto printed = [view](int page) {
    platform::RecordingDc dc(1200, true);
    dc.SetMapMode(platform::MapMode::HiMetric);
    view->OnPrint(dc, page);
    return dc.Calls();
  };
  const auto findText = [](const std::vector<platform::RecordedCall>& calls,
                           const std::string& text) -> const platform::RecordedCall* {
    for (const auto& call : calls)
      if (call.kind == platform::RecordedCall::Text && call.text == text) return &call;
    return nullptr;
  };
  // Page 1: the bare title centred between the margins ((1500 + 20000) / 2) at -600 - 1500.
  const auto first = printed(1);
  const platform::RecordedCall* title = findText(first, Cp1251("КОММЕНТАРИЙ"));
  ASSERT_NE(title, nullptr);
  EXPECT_EQ(title->points[0], (Point{10750, -2100}));
  EXPECT_EQ(title->font.pointSize, 4000);
  const platform::RecordedCall* line1 = findText(first, Cp1251("Строка 1"));
  ASSERT_NE(line1, nullptr);
  EXPECT_EQ(line1->points[0], (Point{1800, -3000}));  // the print area's corner
  EXPECT_EQ(line1->font.pointSize, CRichTextCtrlView::kPrintTextSize);
  EXPECT_NE(findText(first, Cp1251("Иванов - Печать (Натальный)")), nullptr);  // the chart

  // Page 2: the numbered title; a recorded line is 334 units high (an em of 2500 x 96 / 720),
  // so 24700 units hold 73 lines and page 2 begins with line 74.
  const auto second = printed(2);
  EXPECT_NE(findText(second, Cp1251("КОММЕНТАРИЙ (стр. 2)")), nullptr);
  EXPECT_EQ(findText(second, Cp1251("КОММЕНТАРИЙ")), nullptr);
  const platform::RecordedCall* line74 = findText(second, Cp1251("Строка 74"));
  ASSERT_NE(line74, nullptr);
  EXPECT_EQ(line74->points[0], (Point{1800, -3000}));

  // The page count comes from the text as stored, laid out on paper: never a blank last page.
  platform::PrintInfo info;
  ASSERT_TRUE(view->OnPreparePrinting(info));
  EXPECT_GE(info.maxPage, 2);
  const platform::PageRenderer render = [view](platform::Dc& dc, int page) {
    view->OnPrint(dc, page);
  };
  // Ink inside the page frame below the head: at 100 dpi the print area runs from x 71 and y 118
  // (1800 and 3000 units) to y 1091; the frame lies at x 59 and 787 and y 1110.
  const auto textInk = [&render](int page) {
    const QImage image = platform::RenderPageImage(page, 100, render);
    int n = 0;
    for (int y = 125; y < 1095; ++y)
      for (int x = 65; x < 780; ++x) n += qGray(image.pixel(x, y)) < 128;
    return n;
  };
  EXPECT_GT(textInk(info.maxPage), 0);
  EXPECT_EQ(textInk(info.maxPage + 1), 0);  // the text ends on the last page counted

  ShowPrinted(*view, "comment_view");
}

}  // namespace
}  // namespace shell_test
