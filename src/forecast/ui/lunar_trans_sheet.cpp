#include "forecast/ui/lunar_trans_sheet.h"

#include "astro/aspects/aspectarium.h"
#include "astro/chart/chart_definition.h"
#include "forecast/ui/lunar_trans_pages.h"
#include "foundation/config/configuration.h"
#include "foundation/datetime/super_source.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/messages/show_message.h"
#include "platform/core/prompter.h"
#include "platform/qt/qt_text.h"

LunarTransSheet::LunarTransSheet(QWidget* parent)
    : platform::PropertySheet(platform::ToQt(GetMessageText(kMsgLunarTransitsTitle)), parent) {}

LunarTransChartInput LunarTransInputOf(const SuperSource& definition) {
  LunarTransChartInput input;
  input.aspectSystem = definition.AspectSystemName();
  input.dailyArc = GetLunarDailyArc(definition);
  input.natalTargetAllowed = NatalTargetAllowed(definition.Kind());
  return input;
}

bool RunLunarTransSheet(Configuration& config, const Aspectarium& systems,
                        const LunarTransChartInput& chart, QWidget* parent) {
  // The pending block: what the user entered last, shown again after a refusal and taken into
  // the configuration only when accepted.
  cfg::ByteBlock pending = config.lunarTransit;
  LunarTransPage::Preset(LunarTransSettings::FromBlock(pending), chart).ToBlock(pending);
  const std::vector<std::string> names = systems.Names();
  DLunarTrans* calculation = nullptr;
  DLunarTransInterf* display = nullptr;

  const auto make = [&]() -> std::unique_ptr<platform::PropertySheet> {
    auto sheet = std::make_unique<LunarTransSheet>(parent);
    calculation =
        new DLunarTrans(LunarTransPage(LunarTransSettings::FromBlock(pending), chart), names);
    display = new DLunarTransInterf(DisplayBlock::kLunarTransits, pending);
    sheet->AddPage(calculation, QStringLiteral("РАСЧЕТЫ"));
    sheet->AddPage(display, QStringLiteral("ИНТЕРФЕЙС"));
    return sheet;
  };
  const auto check = [&](platform::PropertySheet&) {
    // Both pages' values are kept before the checks, so a refused sheet reopens with them.
    calculation->Page().Values().ToBlock(pending);
    display->Store(pending);
    const int refused = calculation->Page().CheckForRun(systems);
    if (refused == 0) return true;
    ShowMessage(refused);
    return false;
  };
  const auto commit = [&] { config.lunarTransit = pending; };
  return platform::RunSettingsSheet(make, check, commit) == platform::kIdOk;
}
