// The chart settings commands run headless: dialogs answered by the modal driver, questions by
// the scripted prompter, on a started application with its own data folder.
#include <gtest/gtest.h>

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPdfWriter>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <cstdlib>
#include <tuple>

#include "astro/aspects/aspectarium.h"
#include "document/command_ids.h"
#include "foundation/messages/message_numbers.h"
#include "platform/core/recording_dc.h"
#include "settings/ui/aspect_system_dialogs.h"
#include "settings/ui/color_dial.h"
#include "settings/ui/config_dialogs.h"
#include "settings/ui/wheel_sets_dialog.h"
#include "shell/kovra_view.h"
#include "shell/shell_fixture.h"

namespace {

using namespace shell_test;
using platform::Answer;
using platform::ModalDriver;
using testing_support::ReadFile;

// Answers a dialog as the OK button would: the exchange and the OK rule decide; a refusal is then
// cancelled, as the user would after the message.
void PressKey(QWidget& widget, int key) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
  QApplication::sendEvent(&widget, &press);
}

template <class D>
int PressOk(D& dialog) {
  dialog.accept();
  return dialog.result() == QDialog::Accepted ? platform::kIdOk : platform::kIdCancel;
}

class SettingsTest : public ShellTest {
 protected:
  // Two systems in the data folder before the start.
  CKovraApp& StartWithSystems() {
    std::vector<Aspect> list(3);
    for (int k = 0; k < 3; ++k) {
      list[static_cast<std::size_t>(k)].angle = 60.0 * k;
      list[static_cast<std::size_t>(k)].type = static_cast<std::uint8_t>(k);
    }
    testing_support::WriteFile(folder_ / "ALPHA.ASP", AspectSystem::Serialize(list));
    testing_support::WriteFile(folder_ / "BETA.ASP", AspectSystem::Serialize(list));
    CKovraApp& app = StartApp();
    EXPECT_EQ(GetAspectarium().Count(), 2);
    GetConfiguration().SetSystemName(Configuration::kDisplaySystemSlot, "ALPHA");
    return app;
  }
  // The command, enabled where it belongs (the aspect filter and the print settings with a chart
  // window open), run from the main frame.
  bool Run(int command) {
    EXPECT_TRUE(app_->GetMainFrame()->StateOf(command).enabled) << command;
    return app_->GetMainFrame()->ExecuteCommand(command);
  }
  // Runs `command` with its dialog D filled by `fill`, then OK as the button would press it.
  template <class D>
  bool RunOk(int command, std::function<void(D&)> fill) {
    ModalDriver::Expect<D>([fill](D& d) {
      fill(d);
      return PressOk(d);
    });
    return Run(command);
  }
  // Runs the aspect system editor with `work` done in it, closed by OK.
  bool RunEditor(std::function<void(CASPSYS&)> work) {
    ModalDriver::Expect<CASPSYS>([work](CASPSYS& d) {
      work(d);
      return platform::kIdOk;
    });
    return Run(cmd::kConfigAspectSystem);
  }
};

TEST_F(SettingsTest, EditorAddCancelDeleteAndInsertKey) {
  StartWithSystems();
  const std::string before = ReadFile(folder_ / "ALPHA.ASP");
  ASSERT_TRUE(RunEditor([this](CASPSYS& d) {
    EXPECT_EQ(d.SystemBox()->currentText(), QStringLiteral("ALPHA"));
    EXPECT_EQ(d.SystemBox()->count(), 2);
    EXPECT_EQ(d.List()->count(), 3);
    EXPECT_EQ(d.List()->currentRow(), 0);
    // "Добавить" and Cancel in the aspect dialog: nothing changes.
    ModalDriver::Expect<CEDIT_ASPECT>([](CEDIT_ASPECT& e) {
      EXPECT_EQ(e.Number(0)->text(), QStringLiteral("0"));
      EXPECT_TRUE(e.Strength()->button(0)->isChecked());
      return platform::kIdCancel;
    });
    d.OnAdd();
    EXPECT_EQ(d.List()->count(), 3);
    // The Insert key adds as well; the dialog's fields are taken on OK.
    ModalDriver::Expect<CEDIT_ASPECT>([](CEDIT_ASPECT& e) {
      e.Abbreviation()->setText(QStringLiteral("SQ"));
      e.Number(0)->setText(QStringLiteral("90"));
      e.Number(3)->setText(QStringLiteral("2,5"));
      e.Strength()->button(1)->setChecked(true);
      e.Thickness()->button(1)->setChecked(true);
      e.Style()->setCurrentIndex(2);
      e.Types()->button(1)->setChecked(true);
      // The colour chooser offers 16 colours; Cancel there keeps the colour.
      ModalDriver::Expect<CColorDial>([](CColorDial& c) {
        EXPECT_EQ(c.numColors, 16);
        EXPECT_EQ(c.current, 1);
        c.chosen = 12;
        return platform::kIdOk;
      });
      e.OnColour(false);
      ModalDriver::Expect<CColorDial>([](CColorDial&) { return platform::kIdCancel; });
      e.OnColour(true);
      return PressOk(e);
    });
    PressKey(d, Qt::Key_Insert);
    ASSERT_EQ(d.List()->count(), 4);
    const Aspect& added = d.Editor().Edited()->GetAspect(3);
    EXPECT_EQ(std::tie(added.abbreviation, added.angle, added.orbs[2], added.major, added.thickness,
                       added.lineStyle, added.type, added.color, added.exactColor),
              std::make_tuple("SQ", 90.0, 2.5, 0, 1, 2, 1, 12, 1));
    // A number that cannot be read keeps the aspect dialog open.
    ModalDriver::Expect<CEDIT_ASPECT>([this](CEDIT_ASPECT& e) {
      e.Number(1)->setText(QStringLiteral("abc"));
      const int result = PressOk(e);
      EXPECT_TRUE(prompts_.WasShown(AspectMessageNumber(kAspMsgBadValue)));
      return result;
    });
    d.List()->setCurrentRow(3);
    d.OnEdit();
    EXPECT_EQ(d.Editor().Edited()->GetAspect(3).orbs[0], 0.0);
    // The Delete key asks first.
    prompts_.Expect(AspectMessageNumber(kAspMsgConfirmDelete), Answer::Ok);
    PressKey(d, Qt::Key_Delete);
    EXPECT_EQ(d.List()->count(), 3);
    // Another system chosen in the combo box.
    d.OnSystemChosen(QStringLiteral("beta"));
    EXPECT_EQ(d.Editor().Edited()->GetName(), "BETA");
  }));
  // The last system shown is the current one; nothing was written without "Сохранить".
  EXPECT_EQ(GetConfiguration().GetSystemName(Configuration::kDisplaySystemSlot), "BETA");
  EXPECT_EQ(GetAspectarium().CurrentSystemName(), "BETA");
  EXPECT_EQ(ReadFile(folder_ / "ALPHA.ASP"), before);
  prompts_.VerifyAllUsed();
}

TEST_F(SettingsTest, EditorSavesUnderANewNameAndDestroys) {
  StartWithSystems();
  ASSERT_TRUE(RunEditor([this](CASPSYS& d) {
    d.SystemBox()->setEditText(QStringLiteral("gamma"));
    d.OnSave();
    EXPECT_TRUE(prompts_.WasShown(kMsgNewSystemSaved));
    EXPECT_EQ(d.SystemBox()->count(), 3);
    EXPECT_EQ(d.SystemBox()->currentText(), QStringLiteral("GAMMA"));
    prompts_.Expect(kMsgDestroySystem, Answer::Yes);
    d.OnDestroy();
    EXPECT_EQ(d.SystemBox()->count(), 2);
    EXPECT_EQ(d.SystemBox()->currentText(), QStringLiteral("ALPHA"));
  }));
  EXPECT_FALSE(std::filesystem::exists(folder_ / "GAMMA.ASP"));
  EXPECT_EQ(GetConfiguration().GetSystemName(Configuration::kDisplaySystemSlot), "ALPHA");
  prompts_.VerifyAllUsed();
}

TEST_F(SettingsTest, LineTypesShowBadBytesSolidThinAndApplyToAllSystems) {
  StartWithSystems();
  GetConfiguration().lineTypes = {7, 1, 2, 3, 0, 10, 11, 12, 13, 0};
  const std::string betaBefore = ReadFile(folder_ / "BETA.ASP");
  ASSERT_TRUE(RunEditor([](CASPSYS& d) {
    ModalDriver::Expect<DLINETYPES_CONF>([](DLINETYPES_CONF& l) {
      EXPECT_EQ(l.Style(0)->currentIndex(), 0);
      EXPECT_TRUE(l.Thickness(0)->button(0)->isChecked());
      EXPECT_EQ(l.Style(8)->currentIndex(), 3);
      EXPECT_TRUE(l.Thickness(8)->button(1)->isChecked());
      EXPECT_TRUE(l.Apply()->button(0)->isChecked());
      l.Style(1)->setCurrentIndex(2);
      l.Thickness(1)->button(1)->setChecked(true);
      l.Apply()->button(1)->setChecked(true);
      return PressOk(l);
    });
    d.OnLineTypes();
  }));
  EXPECT_EQ(GetConfiguration().lineTypes,
            (std::array<std::uint8_t, 10>{0, 12, 2, 3, 0, 10, 11, 12, 13, 0}));
  // Every loaded system took them: aspect 1 of each is tense and major (entry 1).
  for (const char* name : {"ALPHA.ASP", "BETA.ASP"}) {
    std::vector<Aspect> list;
    ASSERT_TRUE(AspectSystem::Parse(ReadFile(folder_ / name), list, name).ok());
    EXPECT_EQ(list[1].lineStyle, 2) << name;
    EXPECT_EQ(list[1].thickness, 1) << name;
  }
  EXPECT_NE(ReadFile(folder_ / "BETA.ASP"), betaBefore);
}

TEST_F(SettingsTest, CorrespondencesKeepKindsWhoseTextNamesNoSystemAndEscCancels) {
  StartWithSystems();
  for (int k = 0; k < Configuration::kChartKindCount; ++k)
    GetConfiguration().SetSystemName(k, "ALPHA");
  ASSERT_TRUE(RunEditor([](CASPSYS& d) {
    ModalDriver::Expect<CASPSYS_CORRESP>([](CASPSYS_CORRESP& c) {
      EXPECT_EQ(c.Box(4)->currentText(), QStringLiteral("ALPHA"));
      EXPECT_EQ(c.Box(4)->count(), 2);
      c.Box(0)->setEditText(QStringLiteral("beta"));
      c.Box(1)->setEditText(QStringLiteral("NOSUCH"));
      return PressOk(c);
    });
    d.OnCorrespondences();
    ModalDriver::Expect<CASPSYS_CORRESP>([](CASPSYS_CORRESP& c) {
      c.Box(2)->setEditText(QStringLiteral("BETA"));
      return platform::kIdCancel;  // Esc
    });
    d.OnCorrespondences();
  }));
  EXPECT_EQ(GetConfiguration().GetSystemName(0), "BETA");
  EXPECT_EQ(GetConfiguration().GetSystemName(1), "ALPHA");
  EXPECT_EQ(GetConfiguration().GetSystemName(2), "ALPHA");
}

TEST_F(SettingsTest, AspectFilterStoresOnOkOnly) {
  StartApp();
  CKovraDoc* document = OpenCopy(NatalChart(kParis));
  ASSERT_NE(document, nullptr);
  const cfg::AspectFilter before = GetConfiguration().aspectFilter;
  ModalDriver::Expect<ASPECT_FILTER>([](ASPECT_FILTER& f) {
    f.DashedPrinter()->setChecked(true);
    f.Show(0)->setChecked(false);
    return platform::kIdCancel;
  });
  ASSERT_TRUE(document->Execute(cmd::kConfigAspectFilter));
  EXPECT_EQ(GetConfiguration().aspectFilter, before);

  ASSERT_TRUE(RunOk<ASPECT_FILTER>(cmd::kConfigAspectFilter, [](ASPECT_FILTER& f) {
    f.DashedScreen()->setChecked(false);
    f.DashedPrinter()->setChecked(true);
    f.Show(0)->setChecked(false);
    f.Overlay()->button(0)->setChecked(true);
  }));
  EXPECT_EQ(GetConfiguration().aspectFilter.dashedLines, 2);
  EXPECT_EQ(GetConfiguration().aspectFilter.harmonious, 0);
  EXPECT_EQ(GetConfiguration().aspectFilter.overlay, 0);
}

TEST_F(SettingsTest, GeodeticHousesWithKochAreTakenWithEqualFromMcRefused) {
  StartApp();
  GetConfiguration().calculation.houseSystem = 0;
  GetConfiguration().calculation.geodetic = 0;
  ASSERT_TRUE(RunOk<CConfigCalculations>(cmd::kConfigCalculations, [](CConfigCalculations& d) {
    d.Houses()->button(3)->setChecked(true);
    d.Geodetic()->setChecked(true);
  }));
  EXPECT_TRUE(prompts_.WasShown(470));
  EXPECT_EQ(GetConfiguration().calculation.houseSystem, 0);
  EXPECT_EQ(GetConfiguration().calculation.geodetic, 0);

  ASSERT_TRUE(RunOk<CConfigCalculations>(cmd::kConfigCalculations, [](CConfigCalculations& d) {
    d.Houses()->button(6)->setChecked(true);
    d.Geodetic()->setChecked(true);
    d.Nodes()->button(0)->setChecked(true);
  }));
  EXPECT_EQ(GetConfiguration().calculation.houseSystem, 6);
  EXPECT_EQ(GetConfiguration().calculation.geodetic, 1);
  EXPECT_EQ(GetConfiguration().calculation.lunarNodes, 0);
}

TEST_F(SettingsTest, PlanetsRefuseAnOrbGroupOfSix) {
  StartApp();
  const Configuration before = GetConfiguration();
  ASSERT_TRUE(RunOk<DCONFIG_PLANETS>(cmd::kConfigPlanets, [](DCONFIG_PLANETS& d) {
    d.Shown(5)->setChecked(!d.Shown(5)->isChecked());
    d.OrbGroup(20)->setText(QStringLiteral("6"));
  }));
  EXPECT_TRUE(prompts_.WasShown(kMsgOrbGroupRange));
  EXPECT_EQ(GetConfiguration(), before);

  ASSERT_TRUE(RunOk<DCONFIG_PLANETS>(cmd::kConfigPlanets, [](DCONFIG_PLANETS& d) {
    d.OrbGroup(33)->setText(QStringLiteral("2"));
    d.Aspect2(33)->setChecked(true);
  }));
  EXPECT_EQ(GetConfiguration().GetObjectFlags(33).orbGroup, 2);
  EXPECT_TRUE(GetConfiguration().GetObjectFlags(33).aspect2);
}

// Each column's heading stands right above its first row, the short third column's too.
TEST_F(SettingsTest, PlanetsHeadingsStandRightAboveTheirColumns) {
  StartApp();
  DCONFIG_PLANETS dialog;
  dialog.show();
  QCoreApplication::processEvents();
  std::vector<QLabel*> headings;
  for (QLabel* label : dialog.findChildren<QLabel*>())
    if (label->text() == QStringLiteral("Р")) headings.push_back(label);
  ASSERT_EQ(headings.size(), 3u);
  std::sort(headings.begin(), headings.end(), [](QLabel* a, QLabel* b) { return a->x() < b->x(); });
  const auto at = [&dialog](QWidget* w) { return QRect(w->mapTo(&dialog, QPoint()), w->size()); };
  for (int c : {0, 1, 2}) {
    const QRect heading = at(headings[static_cast<std::size_t>(c)]);
    const QRect first = at(dialog.Shown(14 * c));
    EXPECT_GT(first.center().y(), heading.center().y()) << c;
    EXPECT_LT(first.center().y() - heading.center().y(), 2 * first.height()) << c;
    EXPECT_LT(std::abs(heading.center().x() - first.center().x()), first.width()) << c;
  }
}

TEST_F(SettingsTest, WheelStoresTheCircleInvertedAndTheOpenChartRedraws) {
  StartApp();
  CKovraDoc* document = OpenCopy(NatalChart(kParis));
  ASSERT_NE(document, nullptr);
  auto* view = dynamic_cast<CKovraView*>(document->Views().front());
  ASSERT_NE(view, nullptr);
  const auto picture = [view] {
    platform::RecordingDc dc;
    dc.SetMapMode(platform::MapMode::HiMetric);
    view->OnDraw(dc);
    std::vector<platform::Point> points;
    for (const auto& call : dc.Calls())
      if (call.kind == platform::RecordedCall::Text) points.push_back(call.points.front());
    return points;
  };
  const auto before = picture();
  GetConfiguration().wheel.direction = 0;
  GetConfiguration().wheel.orientation = 0;
  ASSERT_TRUE(RunOk<DCONFIG_WHEEL>(cmd::kConfigWheel, [](DCONFIG_WHEEL& d) {
    d.CentreCircle()->setChecked(false);
    d.Group(0)->button(1)->setChecked(true);  // clockwise
    d.Group(3)->button(2)->setChecked(true);
  }));
  EXPECT_EQ(GetConfiguration().wheel.centreCircleOff, 1);
  EXPECT_EQ(GetConfiguration().wheel.direction, 1);
  EXPECT_EQ(GetConfiguration().wheel.orientation, 2);
  EXPECT_NE(picture(), before);

  ASSERT_TRUE(RunOk<DCONFIG_WHEEL>(cmd::kConfigWheel, [](DCONFIG_WHEEL& d) {
    EXPECT_FALSE(d.CentreCircle()->isChecked());
    d.CentreCircle()->setChecked(true);
  }));
  EXPECT_EQ(GetConfiguration().wheel.centreCircleOff, 0);
}

TEST_F(SettingsTest, SystemParametersWarnThenEditTheWheelConstantsAtOnce) {
  StartApp();
  const WheelConstants shipped;
  ModalDriver::Expect<DCONFIG_WHEEL>([this](DCONFIG_WHEEL& d) {
    ModalDriver::Expect<DWheelSets>([this](DWheelSets& w) {
      EXPECT_EQ(w.Sets()->count(), WheelConstants::kSetCount);
      w.Value(0)->setText(QStringLiteral("-0.5"));  // a negative radius is refused
      EXPECT_FALSE(w.DoDataExchange(true));
      EXPECT_TRUE(prompts_.WasShown(kMsgWheelValueRange));
      // Switching sets takes the shown one first: refused, set 0 stays shown.
      w.OnSetChosen(3);
      EXPECT_EQ(w.Sets()->currentIndex(), 0);
      w.Value(0)->setText(QStringLiteral("0,95"));
      w.OnSetChosen(3);
      w.Value(17)->setText(QStringLiteral("0.25"));
      return PressOk(w);
    });
    d.SystemParameters()->click();
    EXPECT_TRUE(prompts_.WasShown(71));
    return platform::kIdCancel;  // the wheel dialog cancelled: the constants stay edited
  });
  ASSERT_TRUE(Run(cmd::kConfigWheel));
  const WheelConstants& constants = GetConfiguration().wheelConstants;
  EXPECT_EQ(constants.GetSet(0).Get(cfg::WheelSet::kZodiacOuter), 0.95);
  EXPECT_EQ(constants.GetSet(3).Get(cfg::WheelSet::kCentreCircleRadius), 0.25);
  EXPECT_EQ(constants.GetSet(1), shipped.GetSet(1));
}

TEST_F(SettingsTest, PrintEnablingAndMarginCheck) {
  StartApp();
  CKovraDoc* document = OpenCopy(NatalChart(kParis));
  ASSERT_NE(document, nullptr);
  GetConfiguration().print.pageFrame = 1;
  GetConfiguration().print.header = 1;
  const cfg::PrintSettings before = GetConfiguration().print;
  ASSERT_TRUE(RunOk<DCONFIG_PRINT>(cmd::kConfigPrint, [](DCONFIG_PRINT& d) {
    EXPECT_TRUE(d.Margin(0)->isEnabled());
    d.Frame()->setChecked(false);
    EXPECT_FALSE(d.Margin(3)->isEnabled());
    d.Header()->setChecked(false);
    EXPECT_FALSE(d.Offset(2, 0)->isEnabled());
    EXPECT_FALSE(d.Offset(3, 2)->isEnabled());
    d.Coordinates()->setChecked(false);
    EXPECT_FALSE(d.Offset(9, 1)->isEnabled());
    d.Coordinates()->setChecked(true);
    EXPECT_TRUE(d.Offset(9, 1)->isEnabled());
    EXPECT_EQ(d.Offset(9, 0), nullptr);
    d.Margin(2)->setText(QStringLiteral("6000"));
  }));
  EXPECT_TRUE(prompts_.WasShown(kMsgMarginRange));
  EXPECT_EQ(GetConfiguration().print, before);

  ASSERT_TRUE(RunOk<DCONFIG_PRINT>(cmd::kConfigPrint, [](DCONFIG_PRINT& d) {
    d.Margin(2)->setText(QStringLiteral("2000"));
    d.Offset(8, 1)->setText(QStringLiteral("1234"));
    d.Frame()->setChecked(false);
  }));
  EXPECT_EQ(GetConfiguration().print.marginRight, 2000);
  EXPECT_EQ(GetConfiguration().print.offsets[24], 1234);
  EXPECT_EQ(GetConfiguration().print.pageFrame, 0);
}

TEST_F(SettingsTest, RulersShowValuePlusOneAndStoreTheChoice) {
  StartApp();
  auto& rulers = GetConfiguration().rulers;
  rulers[12 + 0] = -1;  // Aries has no second ruler
  rulers[0] = 4;
  ASSERT_TRUE(RunOk<DRulers>(cmd::kConfigRulers, [](DRulers& d) {
    EXPECT_EQ(d.Box(0, 1)->currentText(), QStringLiteral("--------"));
    EXPECT_EQ(d.Box(0, 0)->currentText(), QStringLiteral("Марс"));
    d.Box(1, 1)->setCurrentText(QStringLiteral("Посейдон"));
    d.Box(2, 1)->setCurrentText(QStringLiteral("Посейдон"));
  }));
  EXPECT_EQ(rulers[12 + 0], -1);
  EXPECT_EQ(rulers[12 + 1], 29);
  EXPECT_EQ(rulers[12 + 2], 29);
  EXPECT_EQ(rulers[0], 4);
}

TEST_F(SettingsTest, WindowsTwoThousandIsACheckedSwitchKeptInTheConfiguration) {
  StartApp();
  const auto& frame = *app_->GetMainFrame();
  struct Step {
    std::int32_t before, after;
  } const steps[] = {{0, 1}, {1, 0}, {5, 0}};  // any non-zero stored value is on
  for (const Step& step : steps) {
    GetConfiguration().windows2000 = step.before;
    EXPECT_EQ(frame.StateOf(cmd::kConfigWindows2000).checked, step.before != 0);
    ASSERT_TRUE(Run(cmd::kConfigWindows2000));
    EXPECT_EQ(GetConfiguration().windows2000, step.after) << step.before;
    EXPECT_EQ(frame.StateOf(cmd::kConfigWindows2000).checked, step.after != 0);
  }
  // The switch goes with the configuration at exit and comes back at the next start.
  ASSERT_TRUE(Run(cmd::kConfigWindows2000));
  app_->ExitInstance();
  app_.reset();
  DeletePending();
  GetConfiguration() = Configuration();
  StartApp();
  EXPECT_EQ(GetConfiguration().windows2000, 1);
  EXPECT_TRUE(app_->GetMainFrame()->StateOf(cmd::kConfigWindows2000).checked);
}

}  // namespace

// The shipped aspect system in the editor, a line selected: the list is as wide as its columns
// need and its heading stands right above it; its picture for a person to look at.
TEST_F(SettingsTest, ShippedAspectSystemListPicture) {
  testing_support::WriteFile(folder_ / "VELM.asp",
                             ReadFile(testing_support::SourceDir() / "data" / "VELM.asp"));
  StartApp();
  GetConfiguration().SetSystemName(Configuration::kDisplaySystemSlot, "VELM");
  ASSERT_TRUE(RunEditor([this](CASPSYS& d) {
    ASSERT_EQ(d.List()->count(), 12);
    d.List()->setCurrentRow(3);
    d.adjustSize();
    QApplication::processEvents();
    EXPECT_GE(d.List()->width(), d.List()->minimumWidth());
    QWidget* heading = d.List()->Heading();
    EXPECT_EQ(heading->geometry().bottom() < d.List()->geometry().top(), true);
    const QImage image = d.grab().toImage();
    const std::filesystem::path png = folder_ / "aspect_system_list.png";
    const std::filesystem::path pdf = folder_ / "aspect_system_list.pdf";
    ASSERT_TRUE(image.save(QString::fromStdString(png.string()), "PNG"));
    {
      QPdfWriter writer(QString::fromStdString(pdf.string()));
      writer.setResolution(96);
      writer.setPageSize(QPageSize(QSizeF(image.width(), image.height()), QPageSize::Point));
      writer.setPageMargins(QMarginsF(0, 0, 0, 0));
      QPainter painter(&writer);
      painter.drawImage(QRectF(0, 0, painter.device()->width(), painter.device()->height()), image);
    }
    testing_support::ShowToPerson(png, "aspect_system_list");
    testing_support::ShowToPerson(pdf, "aspect_system_list");
  }));
}

namespace {

// Pictures of the editor and its aspect dialog for a person to look at.
TEST_F(SettingsTest, EditorPicturesForTheDemoFolder) {
  const char* demo = std::getenv("VELM_DEMO_DIR");
  if (demo == nullptr || *demo == '\0') GTEST_SKIP() << "VELM_DEMO_DIR is not set";
  StartWithSystems();
  GetAspectarium().GetSystem(0).GetAspect(1).thickness = 1;
  GetAspectarium().GetSystem(0).GetAspect(2).lineStyle = 1;
  GetAspectarium().GetSystem(0).GetAspect(2).color = 12;
  ASSERT_TRUE(RunEditor([demo](CASPSYS& d) {
    d.resize(900, 320);
    EXPECT_TRUE(d.grab().save(QString::fromUtf8(demo) + "/aspect_system_editor.png"));
    ModalDriver::Expect<CEDIT_ASPECT>([demo](CEDIT_ASPECT& e) {
      EXPECT_TRUE(e.grab().save(QString::fromUtf8(demo) + "/aspect_dialog.png"));
      return platform::kIdCancel;
    });
    d.OnEdit();
  }));
}

}  // namespace
