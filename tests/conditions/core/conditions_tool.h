// Runs the condition tool as a process over a fixture of charts, as the checks from outside do.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <span>
#include <string>
#include <vector>

#include "support/test_support.h"

namespace conditions_tool {

struct ToolRun {
  std::string out;
  int status = -1;
};

// A shell command's standard output and exit status.
inline ToolRun RunProcess(const std::string& command) {
  ToolRun run;
  std::FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return run;
  std::array<char, 256> buffer{};
  while (std::fgets(buffer.data(), static_cast<int>(buffer.size()), pipe)) run.out += buffer.data();
  const int raw = ::pclose(pipe);
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return run;
}

// The tool over `charts` (a fixture under tests/fixtures/conditions/) with the fixture groups and
// aspect system and `conditions` as the condition list; `logic`, when given, is the fifth
// argument; with `pairs` the synastry pairing (--pairs). Standard error is dropped.
inline ToolRun RunTool(const char* charts, const std::string& conditions,
                       const char* logic = nullptr, bool pairs = false) {
  testing_support::TempFolder folder;
  const auto file = folder / "quefuncs.lst";
  testing_support::WriteFile(file, conditions);
  const auto fixture = [](const char* name) {
    return testing_support::FixturePath(std::string("conditions/") + name).string();
  };
  const std::string command =
      std::string("'") + CONDITIONS_EVAL_PATH + (pairs ? "' --pairs '" : "' '") + fixture(charts) +
      "' '" + fixture("groups.lst") + "' '" + fixture("TESTASP.txt") + "' '" + file.string() + "'" +
      (logic ? std::string(" '") + logic + "'" : std::string()) + " 2>/dev/null";
  return RunProcess(command);
}

// The tool's output for these records and `viewed` charts.
inline std::string Hits(const std::vector<int>& records, int viewed = 8) {
  std::string out;
  for (const int n : records) out += std::to_string(n) + "\n";
  return out + "viewed " + std::to_string(viewed) + "\n";
}

// A named run of the tool: the condition list, the records that must hold and, when given, the
// logic expression.
struct HitsCase {
  const char* name;
  std::string conditions;
  std::vector<int> hits;
  const char* logic = nullptr;
};

// Runs the tool over `charts` for every case and expects a clean end and the case's records.
inline void ExpectHits(const char* charts, std::span<const HitsCase> cases) {
  for (const HitsCase& c : cases) {
    SCOPED_TRACE(c.logic ? std::string(c.name) + " " + c.logic : std::string(c.name));
    const ToolRun run = RunTool(charts, c.conditions, c.logic);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, Hits(c.hits));
  }
}

}  // namespace conditions_tool
