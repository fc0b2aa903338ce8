// The inputs of the condition evaluation tool (docs/conditions_eval.md): charts given as text
// with their positions, cusps, Local Space marks and comment pages, and an aspect system given
// as text; the charts written as the records of a real archive. Shared by the tool, the tests
// that run archive queries over the same charts, and the benchmarks.
#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "archive/store/archive_layout.h"
#include "astro/chart/chart.h"

class Aspectarium;

namespace chart_fixture {

// A refusal of an input: the file, the line (0 for the whole file) and why.
struct InputError {
  std::string file;
  int line = 0;
  std::string why;
};

struct FixtureChart {
  Chart chart;
  std::array<std::string, kCommentPages> pages;  // code page 1251
};

// Reads the charts of a FIXTURE file in file order.
std::optional<InputError> LoadFixture(const std::filesystem::path& file,
                                      std::vector<FixtureChart>& charts);

// Writes the aspect system of an ASPECTS file into `folder` as a real system (named after the
// file, in upper case) and loads every system of the folder into `aspectarium`.
std::optional<InputError> LoadAspects(const std::filesystem::path& file,
                                      const std::filesystem::path& folder,
                                      Aspectarium& aspectarium);

// Writes the charts, in order, as the records of a new archive `path` of layout 4400 in one
// pass: the archive file and each comment file it needs are written once, as the archive lays
// them out (a record's comment block points at its pages in the comment files). False when they
// cannot be written.
bool WriteArchive(const std::vector<FixtureChart>& charts, const std::string& path);

}  // namespace chart_fixture
