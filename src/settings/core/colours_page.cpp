#include "settings/core/colours_page.h"

#include <algorithm>
#include <system_error>

#include "foundation/errors/error_report.h"
#include "foundation/messages/message_numbers.h"
#include "foundation/messages/messages.h"
#include "foundation/messages/show_message.h"
#include "platform/core/prompter.h"

namespace settings {

ColoursPage ColoursPage::From(const Configuration& config) {
  ColoursPage page;
  page.screen = config.screenColours;
  page.print = config.printColours;
  page.colourMode = config.colourPrinting;
  return page;
}

void ColoursPage::To(Configuration& config) const {
  config.screenColours = screen;
  config.printColours = print;
  config.colourPrinting = colourMode == 1 ? 1 : 0;
}

std::filesystem::path ColoursPage::ReadFile() const {
  std::error_code ec;
  if (shippedFile.empty() || std::filesystem::exists(dataFile, ec)) return dataFile;
  return shippedFile;
}

void ColoursPage::LoadGamma() {
  schemes_.clear();
  beyond_.clear();
  screenSelection_ = printSelection_ = -1;
  readWithDamage_ = false;
  const std::filesystem::path file = ReadFile();
  SchemeFile read;
  if (Status st = LoadSchemeFile(file, kSchemesLoaded, read, "DALLCOLORS::LoadGamma"); !st.ok()) {
    ReportStatus(st);
    return;
  }
  schemes_ = std::move(read.schemes);
  beyond_ = std::move(read.beyond);
  readWithDamage_ = read.skippedLines > 0 && file == dataFile;
  if (read.skippedLines > 0) ShowMessage(kMsgDamagedSchemes);
  if (!beyond_.empty()) ShowMessage(kMsgTooManySchemes);
  screenSelection_ = FindSchemeWithColours(schemes_, screen.data());
  printSelection_ = FindSchemeWithColours(schemes_, print.data());
}

void ColoursPage::ChooseScheme(ColourColumn column, int index) {
  if (index < 0 || index >= static_cast<int>(schemes_.size())) return;
  const ColourScheme& scheme = schemes_[static_cast<std::size_t>(index)];
  std::copy(scheme.colours.begin(), scheme.colours.end(), Colours(column).begin());
  (column == ColourColumn::kScreen ? screenSelection_ : printSelection_) = index;
}

bool ColoursPage::Rewrite(std::vector<ColourScheme> schemes, const char* trace) {
  schemes.insert(schemes.end(), beyond_.begin(), beyond_.end());
  if (Status st = SaveSchemeFile(dataFile, schemes, readWithDamage_); !st.ok()) {
    ReportStatus(st, trace);
    return false;
  }
  LoadGamma();
  return true;
}

bool ColoursPage::SaveScheme(ColourColumn column, std::string_view typed) {
  const std::string name = SchemeNameOf(typed);
  if (name.empty() || !SaveEnabled()) return false;
  if (FindScheme(schemes_, name, true) >= 0) {
    ShowMessage(kMsgSchemeNameTaken);
    return false;
  }
  std::vector<ColourScheme> all = schemes_;
  ColourScheme added{name, {}};
  const Table& colours = Colours(column);
  std::copy(colours.begin(), colours.begin() + kSchemeColourCount, added.colours.begin());
  all.push_back(std::move(added));
  if (!Rewrite(std::move(all), "DALLCOLORS::SaveGammaCols")) return false;
  ShowMessage(kMsgSchemeAdded, platform::Icon::Information);
  return true;
}

bool ColoursPage::DeleteScheme(ColourColumn column) {
  const int index = Selection(column);
  if (index < 0 || index >= static_cast<int>(schemes_.size())) {
    ShowMessage(kMsgChooseScheme);
    return false;
  }
  const std::string question = GetMessageText(kMsgDeleteScheme) + "\n" +
                               schemes_[static_cast<std::size_t>(index)].name + "?";
  if (platform::GetPrompter().AskYesNo(kMsgDeleteScheme, question) != platform::Answer::Yes)
    return false;
  std::vector<ColourScheme> rest = schemes_;
  rest.erase(rest.begin() + index);
  return Rewrite(std::move(rest), "DALLCOLORS::SaveGammaCols");
}

}  // namespace settings
