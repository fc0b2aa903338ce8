// The chart commands through the archive in the running program: loading a chart chosen in the
// browser into a new window, and saving a window's chart into the archive with the archive's
// questions answered by the scripted prompter.
#include "archive/browser/archive_commands.h"

#include <gtest/gtest.h>

#include <QAbstractProxyModel>
#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QPainter>
#include <QTimer>

#include "archive/archive_fixture.h"
#include "archive/browser/archive_view.h"
#include "archive/comments/chart_comments.h"
#include "document/command_ids.h"
#include "foundation/files/safe_rewrite.h"
#include "foundation/messages/message_numbers.h"
#include "platform/qt/qt_prompter.h"
#include "shell/shell_fixture.h"

namespace {

using shell_test::kMoscow;
using shell_test::kParis;
using shell_test::NatalChart;
using shell_test::ShellTest;
using testing_support::ReadFile;
using testing_support::WriteFile;

class ArchiveCommandsTest : public ShellTest {
 protected:
  std::string PathOf(const std::string& name) const { return (folder_ / name).string(); }
  // A stored record of `birth` (with the aspect-system name a loaded chart gets).
  static Chart Stored(const shell_test::Birth& birth, const char* title) {
    Chart chart = NatalChart(birth, title);
    chart.definition.SetAspectSystemName(GetConfiguration().GetSystemName(kChartNatal));
    return chart;
  }
  // Writes an archive and makes it the program's current archive.
  void OpenArchive(const std::string& name, int layout, const std::vector<Chart>& charts,
                   const std::vector<CommentRefBlock>& blocks = {}) {
    WriteFile(PathOf(name), archive_test::ArchiveBytes(layout, charts, blocks));
    ASSERT_EQ(app_->GetArchive().OpenByName(PathOf(name)), 0);
  }
  // The browser answers by selecting `row` and pressing "ЗАГРУЗИТЬ" (row -1: "Выход").
  static void AnswerBrowser(int row) {
    platform::ModalDriver::Expect<ArchiveView>([row](ArchiveView& view) {
      if (row < 0) {
        view.Button(ArchiveView::kIdExit)->click();
      } else {
        view.List().SetSelected(row, true);
        view.Button(ArchiveView::kIdLoad)->click();
      }
      return view.EndResult();
    });
  }
  int RecordsIn(const std::string& name) {
    Archive other(app_->CommentSlots());
    if (other.SetPath(PathOf(name)) < 0 || other.CreateIndex() != 0) return -1;
    return other.RecordCount();
  }
};

TEST_F(ArchiveCommandsTest, LoadOpensTheChosenChartTitledByTheShellsRule) {
  CKovraApp& app = StartApp();
  OpenArchive("a.arc", kLayout4400, {Stored(kMoscow, "Натал"), Stored(kParis, "Проба")});
  CMainFrame& frame = *app.GetMainFrame();
  EXPECT_TRUE(frame.StateOf(cmd::kLoadFromArchive).enabled);

  AnswerBrowser(1);
  ASSERT_TRUE(frame.ExecuteCommand(cmd::kLoadFromArchive));
  ASSERT_EQ(app.DocumentCount(), 1);
  auto* document = static_cast<CKovraDoc*>(frame.GetActiveDocument());
  ASSERT_NE(document, nullptr);
  EXPECT_EQ(document->GetTitle(), Cp1251("Дюпон - Проба 01.01.2000 00:05"));
  EXPECT_TRUE(document->savedInArchive);
  EXPECT_EQ(app.GetArchive().MarkedCount(), 0);  // the browse loop clears the choice

  // Record 0 is a record like any other; "Выход" opens nothing.
  AnswerBrowser(0);
  ASSERT_NE(LoadChartFromArchive(app), nullptr);
  EXPECT_EQ(static_cast<CKovraDoc*>(frame.GetActiveDocument())->GetTitle(),
            Cp1251("Иванов - Натал 13.05.1975 14:30"));
  AnswerBrowser(-1);
  EXPECT_EQ(LoadChartFromArchive(app), nullptr);
  EXPECT_EQ(app.DocumentCount(), 2);
}

TEST_F(ArchiveCommandsTest, LoadedChartTakesTheRecordsCommentPages) {
  CKovraApp& app = StartApp();
  OpenArchive("c.arc", kLayout4400, {Stored(kParis, "Проба")}, {archive_test::Block({{3, 0, 5}})});
  WriteFile(PathOf("c.ar3"), "notes");
  AnswerBrowser(0);
  ChartDocument* document = LoadChartFromArchive(app);
  ASSERT_NE(document, nullptr);
  const Chart& chart = *document->GetChart();
  ASSERT_NE(chart.commentSlot, 0);
  EXPECT_TRUE(app.CommentSlots().IsTaken(chart.commentSlot));
  EXPECT_EQ(ReadFile(CommentFileName(chart, 3)), "notes");
}

TEST_F(ArchiveCommandsTest, SaveAsksTheArchivesQuestions) {
  CKovraApp& app = StartApp();
  CMainFrame& frame = *app.GetMainFrame();
  CKovraDoc* document = OpenCopy(NatalChart(kMoscow, "Натал"));
  ASSERT_NE(document, nullptr);
  // The chart carries a comment page.
  Chart& chart = *document->GetChart();
  chart.commentSlot = static_cast<std::uint8_t>(app.GetFreeCommentSlot());
  WriteFile(CommentFileName(chart, 0), "page");
  ASSERT_TRUE(frame.StateOf(cmd::kSaveToArchive).enabled);
  Archive& archive = app.GetArchive();

  // Into the current 4.2 archive: message 505 first.
  OpenArchive("old.arc", kLayout4200, {Stored(kParis, "Проба")});
  archive.saveTargetMode = 0;
  prompts_.Expect(kMsgDropPagesOldLayout, platform::Answer::No);
  ASSERT_TRUE(frame.ExecuteCommand(cmd::kSaveToArchive));
  EXPECT_EQ(RecordsIn("old.arc"), 1);
  prompts_.Expect(kMsgDropPagesOldLayout, platform::Answer::Yes);
  prompts_.shown.clear();
  ASSERT_TRUE(frame.ExecuteCommand(cmd::kSaveToArchive));
  EXPECT_EQ(RecordsIn("old.arc"), 2);
  EXPECT_TRUE(prompts_.WasShown(8));
  EXPECT_FALSE(document->savedInArchive);  // its page was not kept: closing still warns

  // A new name asks message 552: No creates nothing, Yes a 4.4 archive that keeps the page.
  archive.saveTargetMode = -1;
  prompts_.ExpectFile(PathOf("new"));
  prompts_.Expect(kMsgCreateArchive, platform::Answer::No);
  prompts_.fileChoices.clear();
  ASSERT_TRUE(frame.ExecuteCommand(cmd::kSaveToArchive));
  EXPECT_FALSE(std::filesystem::exists(PathOf("new.arc")));
  // The dialog carries the command's name and begins at the current archive.
  ASSERT_EQ(prompts_.fileChoices.size(), 1u);
  EXPECT_EQ(prompts_.fileChoices[0].title, Cp1251("Сохранить в архиве"));
  EXPECT_EQ(prompts_.fileChoices[0].path, PathOf("old.arc"));
  prompts_.ExpectFile(PathOf("new"));
  prompts_.Expect(kMsgCreateArchive, platform::Answer::Yes);
  ASSERT_TRUE(frame.ExecuteCommand(cmd::kSaveToArchive));
  EXPECT_EQ(RecordsIn("new.arc"), 1);
  EXPECT_EQ(ReadFile(PathOf("new.ar0")), "page");
  EXPECT_EQ(archive.GetPath(), PathOf("new.arc"));
  EXPECT_TRUE(document->savedInArchive);

  // A folder that cannot be written: the message names the archive, and nothing is written.
  prompts_.ExpectFile(PathOf("locked"));
  prompts_.Expect(kMsgCreateArchive, platform::Answer::Yes);
  ArmFault({FaultPoint::kReadOnly, 0});
  ASSERT_TRUE(frame.ExecuteCommand(cmd::kSaveToArchive));
  DisarmFault();
  EXPECT_NE(prompts_.shown.back().text.find(PathOf("locked.arc")), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(PathOf("locked.arc")));
  prompts_.VerifyAllUsed();
}

// The file dialog the user sees: Qt's own, with the program's Russian translation installed.
TEST_F(ArchiveCommandsTest, SaveOpensARussianDialogTitledByTheCommandInTheDataFolder) {
  CKovraApp& app = StartApp();
  ASSERT_NE(OpenCopy(NatalChart(kMoscow, "Натал")), nullptr);
  ASSERT_TRUE(platform::InstallRussianTranslator()) << "qt6-translations-l10n is not installed";
  // The data folder holds an archive and a folder beside the program's own files.
  WriteFile(PathOf("Семья.arc"), archive_test::ArchiveBytes(kLayout4400, {Stored(kParis, "")}));
  std::filesystem::create_directory(folder_ / "Клиенты");
  ASSERT_EQ(app.GetArchive().IsOpen(), 0);

  platform::QtPrompter qt(QStringLiteral("Velm"));
  platform::SetPrompter(&qt);
  QString title, folder, filter, accept, folderType, archiveType, archiveSize, nameHeader;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr) return;  // the expectations below fail: nothing was seen
    title = dialog->windowTitle();
    folder = QDir(dialog->directory()).canonicalPath();
    filter = dialog->selectedNameFilter();
    accept = dialog->labelText(QFileDialog::Accept);
    // The folder's entries arrive from the dialog's file-information thread; the list shows them
    // through the dialog's proxy model.
    auto* files = dialog->findChild<QFileSystemModel*>();
    QAbstractProxyModel* shown = dialog->proxyModel();
    QElapsedTimer waited;
    waited.start();
    while (files != nullptr && shown != nullptr && waited.elapsed() < 10000) {
      const auto cell = [&](const std::string& name, int column) {
        const QModelIndex at = shown->mapFromSource(files->index(QString::fromStdString(name)));
        return shown->data(at.siblingAtColumn(column)).toString();
      };
      archiveType = cell(PathOf("Семья.arc"), 2);
      archiveSize = cell(PathOf("Семья.arc"), 1);
      folderType = cell(PathOf("Клиенты"), 2);
      if (!archiveType.isEmpty() && !folderType.isEmpty()) break;
      QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    if (shown != nullptr) nameHeader = shown->headerData(0, Qt::Horizontal).toString();
    for (int i = 0; i < 10; ++i) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    dialog->setViewMode(QFileDialog::Detail);
    dialog->resize(760, 420);
    QCoreApplication::processEvents();
    // The picture with a caption bar, as the window manager would title it.
    const QPixmap client = dialog->grab();
    QImage picture(client.width(), client.height() + 26, QImage::Format_RGB32);
    picture.fill(QColor(70, 90, 130));
    QPainter painter(&picture);
    painter.setPen(Qt::white);
    painter.setFont(QFont(QStringLiteral("DejaVu Sans"), 10, QFont::Bold));
    painter.drawText(QRect(0, 0, client.width(), 26), Qt::AlignCenter, title);
    painter.drawPixmap(0, 26, client);
    painter.end();
    const auto file = folder_ / "archive_save_dialog.png";
    picture.save(QString::fromStdString(file.string()));
    testing_support::ShowToPerson(file, "archive_save_dialog");
    dialog->reject();
  });
  EXPECT_TRUE(app.GetMainFrame()->ExecuteCommand(cmd::kSaveToArchive));
  platform::SetPrompter(&prompts_);

  EXPECT_EQ(title, QStringLiteral("Сохранить в архиве"));
  EXPECT_EQ(accept, QStringLiteral("Сохранить"));
  EXPECT_EQ(folder, QDir(QString::fromStdString(folder_.Path().string())).canonicalPath());
  EXPECT_EQ(filter, QStringLiteral("Архивы Velm 4.*/5.* (*.arc)"));
  EXPECT_EQ(nameHeader, QStringLiteral("Имя"));
  EXPECT_EQ(folderType, QStringLiteral("Папка"));
  EXPECT_EQ(archiveType, QStringLiteral("Файл ARC"));
  EXPECT_TRUE(archiveSize.endsWith(QStringLiteral(" КБ"))) << archiveSize.toStdString();
  // Cancelled: nothing was saved or created.
  EXPECT_EQ(app.GetArchive().IsOpen(), 0);
  EXPECT_EQ(RecordsIn("Семья.arc"), 1);
}

}  // namespace
