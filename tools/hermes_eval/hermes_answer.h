// One question of hermes_eval answered through the trutine of Hermes as the rectification menu
// runs it (HermesInput::Check, HermesTrutine::Prepare and Search) and the Morav number of the
// same chart. The format: docs/hermes_eval.md.
#pragma once

#include <string>
#include <string_view>

class ChartContext;

// The answer to `line`, "jd_ut lat lon from_jd to_jd months" (fields separated by blanks or
// tabs): the Morav number in degrees, a tab, the rule (0 Ascendant, 1 Descendant), a tab, then
// every variant as "birth_jd:conception_jd" (UT), separated by blanks. "-" when the line is
// refused; `why` then says why.
std::string HermesAnswer(const ChartContext& ctx, std::string_view line, std::string& why);
