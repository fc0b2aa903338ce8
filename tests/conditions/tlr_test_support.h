// Text bases written into a test's data folder, and charts on which their functions hold or not.
#pragma once

#include <string>
#include <vector>

#include "conditions/condition_test_support.h"
#include "conditions/core/tlr_base.h"
#include "foundation/files/safe_rewrite.h"

namespace tlr_test {

// Sun in Aries, Moon in Cancer (condition lines).
inline const std::string kSunInAries = "1 + 1 0 100 0 \x03 \x03 \x03 0 0 0 0 0 0 0 0 0 0 0\n";
inline const std::string kMoonInCancer = "2 + 1 1 103 0 \x03 \x03 \x03 0 0 0 0 0 0 0 0 0 0 0\n";
inline const std::string kSunInTaurus = "3 + 1 0 101 0 \x03 \x03 \x03 0 0 0 0 0 0 0 0 0 0 0\n";

// Sun 10 Aries, Moon 100 (Cancer); the other chart: Sun 40 (Taurus), Moon 100.
inline Chart AriesChart() { return condition_test::MakeChart({{0, 10.0}, {1, 100.0}}); }
inline Chart TaurusChart() { return condition_test::MakeChart({{0, 40.0}, {1, 100.0}}); }

inline void Write(const std::filesystem::path& path, const std::string& bytes) {
  ASSERT_TRUE(RewriteFile(path, bytes).ok()) << path;
}
inline std::string Read(const std::filesystem::path& path) {
  std::string bytes;
  EXPECT_TRUE(ReadWholeFile(path, bytes).ok()) << path;
  return bytes;
}

struct FixtureText {
  int number;
  std::string title, group, body;
  std::string function;  // "" none; else the mode line and the condition lines
};

// Writes base `name` (a path in the folder) with these groups ("PPFname" lines) and texts.
inline std::string WriteBase(const std::filesystem::path& folder, const std::string& name,
                             const std::vector<std::string>& groups,
                             const std::vector<FixtureText>& texts) {
  const std::string base = (folder / name).string();
  std::string tlg, tlt, tlf;
  for (const std::string& g : groups) tlg += g + "\n";
  for (const FixtureText& t : texts) {
    tlt += FormatTlrHeading(t.number, t.title, t.group) + t.body;
    if (t.function.empty()) continue;
    char head[16];
    std::snprintf(head, sizeof head, "^%04d\n", t.number);
    tlf += head + t.function;
  }
  Write(base + ".tlg", tlg);
  Write(base + ".tlt", tlt);
  Write(base + ".tlf", tlf);
  return base;
}

// "tlr.bas" naming these bases with their switches.
inline void WriteList(const std::filesystem::path& folder,
                      const std::vector<std::pair<char, std::string>>& bases) {
  std::string bytes;
  for (const auto& [on, name] : bases) bytes += std::string("\x03") + on + name + "\n";
  Write(folder / TLRDATA::kListName, bytes);
}

}  // namespace tlr_test
