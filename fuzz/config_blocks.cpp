// The settings blocks of "velm.cfg" as the pages and runs read them: Configuration::Load, then
// every block's page or run settings taken from it (values out of range are the pages' to bring
// in), and the display settings of every list clamped.
#include "archive/print/archive_print.h"
#include "archive/store/archive_search.h"
#include "archive/store/archive_sort.h"
#include "astrocarto/core/ac_lines_list.h"
#include "astrocarto/core/astrocart_page.h"
#include "conditions/core/query_dialog_model.h"
#include "conditions/core/synastry_run.h"
#include "forecast/core/life_point_settings.h"
#include "forecast/core/list_display_settings.h"
#include "forecast/core/lunar_trans_settings.h"
#include "forecast/core/transit_settings.h"
#include "foundation/config/configuration.h"
#include "fuzz_support.h"
#include "views/core/asp_graph_pages.h"
#include "views/core/ephem_view_draw.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Configuration config;
  if (!config.Load(fuzz::Put("velm.cfg", fuzz::Bytes(data, size))).ok()) return 0;
  (void)ArchiveSearchCriteria::FromBlock(config.archiveSearch);
  (void)ArchiveSortParams::FromBlock(config.archiveSort);
  (void)ArchivePrintParams::FromBlock(config.archivePrint);
  (void)AspGraphConfPage::FromBlock(config.aspectGraph);
  (void)ephem::EphemConfPage::Read(config.graphicEphemeris);
  (void)ReadAstroCartPage(config.astroCart);
  for (int body = 0; body < Configuration::kObjectCount; ++body)
    (void)LineColourOfBody(config.astroCart, body);
  (void)ReadACLinesListPage(config.acLinesList);
  (void)QueryViewSettings::FromBlock(config.query);
  (void)SynastrySetup::FromBlock(config.synastry);
  (void)SynastryViewFromBlock(config.synastry);
  (void)TransitSettings::FromBlock(config.transit);
  (void)LunarTransSettings::FromBlock(config.lunarTransit);
  (void)LifePointSettings::FromBlock(config.lifePoint);
  for (DisplayBlock kind :
       {DisplayBlock::kLunarTransits, DisplayBlock::kLifePoint, DisplayBlock::kAstroCartography,
        DisplayBlock::kTremin, DisplayBlock::kPlanetTransits})
    (void)ReadDisplaySettings(kind, DisplayBlockOf(config, kind)).Clamped();
  return 0;
}
