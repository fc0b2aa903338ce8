// The member chooser and the group editor's window, and the configuration command that opens it.
#include "conditions/ui/groups_dialog.h"

#include <QApplication>
#include <QImage>
#include <QRadioButton>
#include <cstdlib>

#include "conditions/condition_test_support.h"
#include "conditions/ui/plan_house_select.h"
#include "document/command_ids.h"
#include "document/command_table.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "settings/ui/enter_name.h"
#include "shell/shell_fixture.h"

namespace shell_test {
namespace {

using condition_test::TimesShown;
using platform::ModalDriver;
using testing_support::ReadFile;
using testing_support::WriteFile;

void SelectRows(QListWidget* list, std::initializer_list<int> rows) {
  list->clearSelection();
  for (const int r : rows) list->item(r)->setSelected(true);
}

TEST_F(ShellTest, MemberChooserOffersItsEntriesAndEnforcesItsLimit) {
  std::string flags = "NY";  // Moon
  DPlanHouseSelect dialog(MemberChoice::kPlanets, &flags, MemberChoice::kAtMost10);
  dialog.OnInitDialog();
  ASSERT_EQ(dialog.List()->count(), 34);
  EXPECT_EQ(dialog.List()->item(33)->text(), QStringLiteral("Вертекс"));
  ASSERT_EQ(dialog.List()->selectedItems().size(), 1);
  EXPECT_TRUE(dialog.List()->item(1)->isSelected());

  SelectRows(dialog.List(), {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 33});
  dialog.accept();  // 11 chosen: refused, the dialog stays open
  EXPECT_NE(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(TimesShown(prompts_, 448), 1);
  EXPECT_EQ(flags, "NY");
  dialog.List()->item(33)->setSelected(false);
  dialog.accept();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(flags, std::string(10, 'Y') + std::string(24, 'N'));

  // The other limits: twelve houses at most 12, every point without a limit.
  const struct {
    int mode, limit, chosen;
  } cases[] = {{MemberChoice::kHouses, MemberChoice::kAtMost12, 12},
               {MemberChoice::kPlanets, MemberChoice::kNoLimit, 34}};
  for (const auto& c : cases) {
    std::string chosen;
    DPlanHouseSelect other(c.mode, &chosen, c.limit);
    other.OnInitDialog();
    for (int i = 0; i < c.chosen; ++i) other.List()->item(i)->setSelected(true);
    other.accept();
    EXPECT_EQ(other.result(), QDialog::Accepted) << c.chosen;
    EXPECT_EQ(chosen, std::string(static_cast<std::size_t>(c.chosen), 'Y')) << c.chosen;
  }
  EXPECT_EQ(TimesShown(prompts_, 448), 1);

  DPlanHouseSelect without(MemberChoice::kHouses, nullptr, MemberChoice::kNoLimit);
  without.OnInitDialog();
  EXPECT_EQ(without.List()->count(), 0);
}

// The editor's command: the name and member dialogs answered in turn.
void AnswerName(const char* utf8) {
  const std::string text = Cp1251(utf8);
  ModalDriver::Expect<CEnterName>([text](CEnterName& d) {
    EXPECT_EQ(d.prompt, GetMessageText(kMsgGroupNamePrompt));
    d.text = text;
    return platform::kIdOk;
  });
}
void AnswerMembers(std::string flags) {
  ModalDriver::Expect<DPlanHouseSelect>([flags](DPlanHouseSelect& d) {
    *d.Flags() = flags;
    return platform::kIdOk;
  });
}

TEST_F(ShellTest, PlanetGroupsCommandIsEnabledAndEditsGroupsLst) {
  WriteFile(folder_ / "groups.lst", "Sfire|AEI\n");
  CKovraApp& app = StartApp();
  ASSERT_TRUE(app.GetMainFrame()->StateOf(cmd::kConfigPlanetGroups).enabled);
  ModalDriver::Expect<DGROUPS>([this](DGROUPS& d) {
    EXPECT_EQ(d.Editor().Kind(), 'P');
    EXPECT_EQ(d.List()->count(), 0);
    AnswerName("Свет");
    AnswerMembers("YY");
    d.OnAdd();
    EXPECT_EQ(d.List()->count(), 1);
    EXPECT_EQ(ReadFile(folder_ / "___gr.tmp"), "Sfire|AEI\n");
    d.OnKind('S');
    EXPECT_EQ(d.List()->count(), 1);
    EXPECT_EQ(d.List()->currentRow(), 0);
    return platform::kIdOk;
  });
  ASSERT_TRUE(app.GetMainFrame()->ExecuteCommand(cmd::kConfigPlanetGroups));
  EXPECT_EQ(ReadFile(folder_ / "groups.lst"), "P" + Cp1251("Свет") + "|AB\nSfire|AEI\n");
  EXPECT_FALSE(std::filesystem::exists(folder_ / "___gr.tmp"));
}

TEST_F(ShellTest, CancellingTheEditorPutsGroupsLstBack) {
  const std::string original = "Pa|A\r\nPb|B\r\n";
  WriteFile(folder_ / "groups.lst", original);
  CKovraApp& app = StartApp();
  ModalDriver::Expect<DGROUPS>([](DGROUPS& d) {
    d.List()->setCurrentRow(0);
    d.OnDown();
    EXPECT_EQ(d.List()->currentRow(), 1);
    d.OnDelete();
    EXPECT_EQ(d.List()->count(), 1);
    return platform::kIdCancel;
  });
  ASSERT_TRUE(app.GetMainFrame()->ExecuteCommand(cmd::kConfigPlanetGroups));
  EXPECT_EQ(ReadFile(folder_ / "groups.lst"), original);
  EXPECT_FALSE(std::filesystem::exists(folder_ / "___gr.tmp"));
}

TEST_F(ShellTest, GroupEditorWindowDrawsNamesAndGlyphs) {
  WriteFile(folder_ / "groups.lst",
            "Pfire_planets|AEJ\nPpersonal|ABCDE\nPeverything|ABCDEFGHIJKLMNOPQRSTUVWXYZ\n"
            "Sfire|AEI\nHangles|ADGJ\n");
  StartApp();
  Groups store;
  ASSERT_EQ(store.LoadGroups(), 0);
  ModalDriver::Expect<DGROUPS>([](DGROUPS& d) {
    d.resize(760, 420);
    d.show();
    d.List()->setCurrentRow(1);
    QApplication::processEvents();
    const QImage image = d.grab().toImage();
    if (const char* demo = std::getenv("VELM_DEMO_DIR"))
      image.save(QString::fromLocal8Bit(demo) + QStringLiteral("/group_editor.png"));
    // The selected row is filled with palette colour 1.
    const QRect row = d.List()->visualItemRect(d.List()->item(1));
    const QImage list = d.List()->viewport()->grab().toImage();
    EXPECT_EQ(list.pixelColor(row.right() - 2, row.center().y()), QColor(0, 0, 128));
    d.hide();
    return platform::kIdOk;
  });
  EXPECT_EQ(RunGroupsDialog(store), platform::kIdOk);
}

}  // namespace
}  // namespace shell_test
