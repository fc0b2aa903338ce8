// CPredListPrint: one prediction list as a page, on a document of its own (creation mode -10,
// opened by the list dialog's "Печать"): its records on the screen, and its printed pages with
// each record's comment under it.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "astro/chart/chart.h"
#include "forecast/core/pred_list_file.h"
#include "forecast/core/pred_list_print.h"
#include "forecast/ui/forecast_list_view.h"
#include "foundation/config/configuration.h"

inline constexpr int kHelpPredListPrint = 131366;

class CPredListPrint : public ForecastListView {
  Q_OBJECT

 public:
  CPredListPrint();

  // Loads the list the document was made for (error 102 when it cannot be read: the view is
  // empty).
  void OnInitialUpdate() override;
  std::string GetFrameTitle() const override;
  int HelpContext() const override { return kHelpPredListPrint; }

  bool OnPreparePrinting(platform::PrintInfo& info) override;
  void OnPrint(platform::Dc& dc, int page) override;

  const PredList& List() const { return list_; }
  const forecast::PredListPrintout* Printout() const { return printout_.get(); }

 private:
  Configuration config_;
  PredList list_;
  std::optional<Chart> person_;  // the chart the list was printed for: its pages name it
  std::unique_ptr<forecast::PredListPrintout> printout_;
};
