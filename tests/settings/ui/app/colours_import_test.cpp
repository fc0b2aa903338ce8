// The colours command and the import of an older configuration, run headless from the menu:
// dialogs answered by the modal driver, questions and the file choice by the scripted prompter.
#include <gtest/gtest.h>

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <cstdlib>

#include "document/command_ids.h"
#include "settings/ui/color_dial.h"
#include "settings/ui/colours_dialog.h"
#include "settings/ui/enter_name.h"
#include "settings/ui/import_dialog.h"
#include "shell/shell_fixture.h"

namespace {

using namespace shell_test;
using platform::ModalDriver;
using settings::ColourColumn;
using testing_support::ReadFile;

template <class D>
int PressOk(D& dialog) {
  dialog.accept();
  return dialog.result() == QDialog::Accepted ? platform::kIdOk : platform::kIdCancel;
}

class ColoursImportTest : public ShellTest {
 protected:
  void Run(int command) {
    ASSERT_TRUE(app_->GetMainFrame()->StateOf(command).enabled) << command;
    ASSERT_TRUE(app_->GetMainFrame()->ExecuteCommand(command));
  }
};

TEST_F(ColoursImportTest, ColoursDialogTakesSchemesAndColoursOnOkOnly) {
  StartApp();
  ASSERT_NE(OpenCopy(NatalChart(kParis)), nullptr);
  const Configuration before = GetConfiguration();
  ModalDriver::Expect<DALLCOLORS>([](DALLCOLORS& d) {
    d.OnSchemeChosen(ColourColumn::kPrint, 2);
    return platform::kIdCancel;
  });
  Run(cmd::kConfigColours);
  EXPECT_TRUE(GetConfiguration() == before);

  ModalDriver::Expect<DALLCOLORS>([](DALLCOLORS& d) {
    // The shipped schemes, named in Russian; the default colours are the first.
    EXPECT_EQ(d.Schemes(ColourColumn::kScreen)->count(), 6);
    EXPECT_EQ(d.Schemes(ColourColumn::kScreen)->currentIndex(), 0);
    EXPECT_EQ(d.Schemes(ColourColumn::kPrint)->currentText(), QStringLiteral("Стандартная"));
    for (int i = 0; i < d.Schemes(ColourColumn::kScreen)->count(); ++i) {
      const QString name = d.Schemes(ColourColumn::kScreen)->itemText(i);
      EXPECT_FALSE(name.contains(QRegularExpression(QStringLiteral("[A-Za-z]"))))
          << name.toStdString();
    }
    Q_EMIT d.Schemes(ColourColumn::kPrint)->activated(2);  // "Ночная": 0 16 8 14 ...
    ModalDriver::Expect<CColorDial>([](CColorDial& chooser) {
      EXPECT_EQ(chooser.List()->count(), 60);
      chooser.chosen = 59;
      return platform::kIdOk;
    });
    d.ColourButton(ColourColumn::kScreen, 3)->click();
    ModalDriver::Expect<CEnterName>([](CEnterName& name) {
      name.text = "My night";
      return platform::kIdOk;
    });
    d.SaveButton(ColourColumn::kPrint)->click();
    d.ColourMode()->button(1)->setChecked(true);
    if (const char* demo = std::getenv("VELM_DEMO_DIR"))
      d.grab().save(QString::fromUtf8(demo) + QStringLiteral("/colours_dialog.png"));
    return PressOk(d);
  });
  prompts_.shown.clear();
  Run(cmd::kConfigColours);
  const Configuration& c = GetConfiguration();
  EXPECT_EQ(c.printColours[0], 0);
  EXPECT_EQ(c.printColours[3], 14);
  EXPECT_EQ(c.printColours[11], before.printColours[11]);
  EXPECT_EQ(c.screenColours[3], 59);
  EXPECT_EQ(c.screenColours[0], before.screenColours[0]);
  EXPECT_EQ(c.colourPrinting, 1);
  EXPECT_NE(c.colourChangeMarker, before.colourChangeMarker);
  EXPECT_TRUE(prompts_.WasShown(17));
  const std::string saved = ReadFile(folder_ / "Velm.col");
  EXPECT_EQ(saved.substr(saved.rfind("My_night")), "My_night 0 16 8 14 16 12 11 10 0 0 16\n");
}

TEST_F(ColoursImportTest, ImportAsksForAFileUntilOneIsChosenThenTakesTheSections) {
  StartApp();
  testing_support::TempFolder old;
  std::string file(52000, '\0');
  file[0] = 43;
  file[260] = 1;   // wheel direction: clockwise
  file[2320] = 7;  // town list: the first body
  testing_support::WriteFile(old / "VELM.CFG", file);

  ModalDriver::Expect<DImport>([](DImport& d) { return PressOk(d); });  // no file: 407
  ModalDriver::Expect<DImport>([](DImport& d) {
    EXPECT_FALSE(d.Box(1334)->isEnabled());
    d.OnImpFile();
    EXPECT_TRUE(d.page.fileChosen);
    EXPECT_EQ(d.page.versionCode, 2);
    EXPECT_TRUE(d.PathLabel()->toolTip().endsWith(QStringLiteral("VELM.CFG")));
    EXPECT_TRUE(d.Box(1354)->isEnabled());
    EXPECT_FALSE(d.Box(1355)->isEnabled());
    EXPECT_FALSE(d.Box(1371)->isEnabled());
    d.Box(1349)->setChecked(false);  // the town list stays
    if (const char* demo = std::getenv("VELM_DEMO_DIR"))
      d.grab().save(QString::fromUtf8(demo) + QStringLiteral("/import_dialog.png"));
    return PressOk(d);
  });
  prompts_.ExpectFile((old / "VELM.CFG").string());
  const std::int32_t towns = GetConfiguration().acLinesList.Get(cfg::ACLinesListSettings::kBody);
  Run(cmd::kConfigImport);
  EXPECT_TRUE(prompts_.WasShown(407));
  EXPECT_TRUE(prompts_.WasShown(406));
  EXPECT_EQ(GetConfiguration().wheel.direction, 1);
  EXPECT_EQ(GetConfiguration().acLinesList.Get(cfg::ACLinesListSettings::kBody), towns);

  // Cancel ends the command with nothing changed.
  ModalDriver::Expect<DImport>([](DImport&) { return platform::kIdCancel; });
  prompts_.shown.clear();
  Run(cmd::kConfigImport);
  EXPECT_TRUE(prompts_.shown.empty());
}

TEST_F(ColoursImportTest, TheTipOfTheDayOfVersion51GoesIntoTheProfile) {
  StartApp();
  app_->SetTipOfTheDay(true, 2);
  testing_support::TempFolder old;
  std::string file(52000, '\0');
  file[0] = 51;
  file[5494] = 0;  // not shown at start
  file[5498] = 9;  // the next tip
  file[5502] = 3;  // no setting here
  testing_support::WriteFile(old / "VELM.CFG", file);
  struct Row {
    bool chosen;
    int showTips, nextTip;
  } const rows[] = {{false, 1, 2}, {true, 0, 9}};
  for (const Row& row : rows) {
    ModalDriver::Expect<DImport>([&row](DImport& d) {
      d.OnImpFile();
      EXPECT_EQ(d.page.versionCode, 6);
      EXPECT_TRUE(d.Box(1371)->isEnabled());
      d.Box(1371)->setChecked(row.chosen);
      return PressOk(d);
    });
    prompts_.ExpectFile((old / "VELM.CFG").string());
    Run(cmd::kConfigImport);
    EXPECT_TRUE(prompts_.WasShown(406));
    EXPECT_EQ(app_->GetProfile().GetInt("ShowTips", -1), row.showTips) << row.chosen;
    EXPECT_EQ(app_->GetProfile().GetInt("NextTip", -1), row.nextTip) << row.chosen;
  }
}

}  // namespace
