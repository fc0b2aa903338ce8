// Answers trutine-of-Hermes questions through the search the rectification menu runs, so that its
// variants can be checked against any other solution of the two conditions. The format:
// docs/hermes_eval.md.
//
// Usage: hermes_eval [--ephemeris FILE]   (default: data/velm.str of the source tree)
// Input (standard input), one question per line, fields separated by blanks or tabs:
//   jd_ut  lat  lon  from_jd  to_jd  months
// Output: one line per question: the Morav number of the chart, a tab, the rule (0 Ascendant,
// 1 Descendant), a tab, then every variant as birth_jd:conception_jd separated by blanks; "-" for
// a refused question, whose reason goes to standard error as "line N: why" (exit status 1).
// Blank lines and lines starting with '#' are skipped.
#include <cstdio>
#include <iostream>
#include <memory>
#include <string>
#include <string_view>

#include "astro/aspects/aspectarium.h"
#include "astro/chart/chart_context.h"
#include "astro/ephemeris/ephemeris.h"
#include "foundation/config/configuration.h"
#include "foundation/text/tab_fields.h"
#include "hermes_answer.h"

int main(int argc, char** argv) {
  std::string file = VELM_DEFAULT_EPHEMERIS;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--ephemeris" && i + 1 < argc) {
      file = argv[++i];
    } else {
      std::fprintf(stderr, "usage: hermes_eval [--ephemeris FILE] < questions\n");
      return 2;
    }
  }
  auto ephemeris = std::make_shared<Ephemeris>();
  if (const Status st = ephemeris->Load(file); !st.ok()) {
    std::fprintf(stderr, "%s: cannot read the ephemeris tables (error %d)\n", file.c_str(),
                 st.ErrorCode());
    return 2;
  }
  // The program's default settings.
  const Configuration config;
  const Aspectarium aspectarium;
  const ChartContext ctx(config, aspectarium, ephemeris);

  return ForEachTabRow(std::cin, std::cerr, [&ctx](const std::string& line) -> std::string {
    std::string why;
    const std::string answer = HermesAnswer(ctx, line, why);
    std::printf("%s\n", answer.c_str());
    return answer == "-" ? why : std::string();
  });
}
