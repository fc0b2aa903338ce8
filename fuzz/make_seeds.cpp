// Writes the seeds of the binary formats that the shipped data does not hold in a small enough
// form: a configuration, chart records, a session, an entry history, archives of the three layouts
// with their comment files, the index of a text base, a cut-down "velm.str" (the tables of the
// first segments only) and the import records of the sibling converter. The text formats' seeds are
// the shipped files and the tests' examples.
//
//   make_seeds <source folder> <corpus folder>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "archive/import/import_records.h"
#include "archive/store/archive_file.h"
#include "archive/store/archive_layout.h"
#include "astro/chart/chart.h"
#include "astro/ephemeris/chebyshev_tables.h"
#include "conditions/core/tlr_base.h"
#include "forecast/core/pred_list_record.h"
#include "foundation/config/configuration.h"
#include "foundation/files/binary_io.h"
#include "foundation/files/safe_rewrite.h"
#include "fuzz_support.h"
#include "rectification/core/life_event_list.h"
#include "shell/core/entry/entry_history.h"
#include "shell/core/session.h"

namespace fs = std::filesystem;

namespace {

fs::path g_corpus;

void Seed(const std::string& harness, const std::string& name, const std::string& bytes) {
  fs::create_directories(g_corpus / harness);
  std::ofstream(g_corpus / harness / name, std::ios::binary) << bytes;
}

std::string FileBytes(const fs::path& path) {
  std::string bytes;
  if (!ReadWholeFile(path, bytes).ok()) std::cerr << "cannot read " << path << "\n";
  return bytes;
}

Chart MakeChart(const std::string& name, int year) {
  Chart c;
  c.definition.SetKind(kChartNatal);
  Source& s = c.definition.sources[0];
  s.SetName(name);
  (void)s.moment.date.SetDate(14, 3, year, 'A');
  (void)s.moment.time.SetTime(13, 45, 0);
  (void)s.zone.SetTime(3, 0, 0, '+');
  (void)s.place.SetPlace(55, 45, 'N', 37, 37, 'E', "Moskva", "RU");
  c.definition.SetTitle("title " + name);
  c.definition.SetAspectSystemName("VELM");
  return c;
}

std::string Record(const Chart& chart, int version) {
  BinaryWriter w;
  chart.Save(w, version);
  return w.Take();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "make_seeds <source folder> <corpus folder>\n";
    return 2;
  }
  const fs::path source = fs::absolute(argv[1]);
  g_corpus = fs::absolute(argv[2]);
  const fs::path folder = fuzz::Folder();

  Configuration config;
  (void)config.Save(folder / "velm.cfg");
  Seed("config", "defaults.cfg", FileBytes(folder / "velm.cfg"));

  const std::vector<Chart> charts = {MakeChart("Anna", 1990), MakeChart("Boris", 1875)};
  Seed("chart_record", "v4000", Record(charts[0], 4000));
  Seed("chart_record", "v4200", Record(charts[1], 4200));
  (void)WriteSessionFile(folder / "velm.sav", charts);
  Seed("session", "two_charts.sav", FileBytes(folder / "velm.sav"));

  EntryHistory history;
  for (const Chart& chart : charts) history.Remember(chart.definition);
  (void)history.Save(folder / "velm.ent");
  Seed("entry_history", "two_entries.ent", FileBytes(folder / "velm.ent"));

  // Layout 4400 refers to texts in its comment files: page 0 of the first record, pages 0 and 9
  // of the second, inside the one text every comment file of the harness holds.
  const std::string comments = "First text.\r\nSecond line.\r\nThird text";
  CommentRefBlock first, second;
  first.offsets[0] = 0, first.lengths[0] = 11;
  second.offsets[0] = 13, second.lengths[0] = 12;
  second.offsets[9] = 27, second.lengths[9] = 10;
  for (int layout : {kLayout4000, kLayout4200, kLayout4400}) {
    BinaryWriter header;
    if (layout != kLayout4000) header.I32(LayoutHeaderWord(layout));
    std::string bytes = header.Take();
    bytes += archive_file::RecordBytes(charts[0], layout, first);
    bytes += archive_file::RecordBytes(charts[1], layout, second);
    if (layout == kLayout4400) bytes += std::string(fuzz::kPartMarker) + comments;
    Seed("archive", "layout" + std::to_string(layout), bytes);
  }

  // The index of the shipped text base, rebuilt here.
  for (const char* ext : {"tlt", "tlf", "tlg"})
    fs::copy_file(source / "data" / (std::string("signs.") + ext),
                  folder / (std::string("signs.") + ext), fs::copy_options::overwrite_existing);
  TLRBASE base;
  base.name = (folder / "signs").string();
  if (base.LoadGroupsFromFile(base.FilePath("tlg")) >= 0 && base.RebuildIndex() == 0)
    Seed("tlr_index", "signs",
         FileBytes(base.FilePath("tli")) + std::string(fuzz::kPartMarker) +
             FileBytes(base.FilePath("tlt")) + std::string(fuzz::kPartMarker) +
             FileBytes(base.FilePath("tlg")));

  std::string lines;
  for (int i = 0; i < 3; ++i) {
    PredListRecord r;
    (void)r.when.date.SetDate(1 + 9 * i, 1 + 4 * i, 1990 + i, 'A');
    (void)r.when.time.SetTime(6 * i, 30);
    r.moving = static_cast<std::int16_t>(i);
    r.target = static_cast<std::int16_t>(35 + i);
    r.movingLongitude = 10.0 + 100 * i, r.targetLongitude = 20.0;
    r.comment = i == 1 ? "a comment" : "";
    lines += r.ToText() + "\n";
  }
  Seed("pred_list", "three.pls", lines);

  LifeEventList events;
  (void)events.Add("Wedding", 12, 6, 1995, "AC", "DJ");
  (void)events.Add("Move", 1, 9, 2001, "E", "");
  Seed("life_events", "two.lev", events.Serialize());

  // Two import records as the sibling converter writes them: a natal chart, and a synastry of two
  // moments and places (the first byte of the input chooses the source ".db").
  {
    BinaryWriter out;
    out.U8(0);
    ImportRecord natal;
    natal.name = "Anna";
    natal.title = "natal";
    natal.first = {14, 3, 1990, 13, 45, {55, 45, 'N', 37, 37, 'E'}};
    natal.town = "Moskva";
    natal.second = natal.first;
    natal.kind = 0;
    natal.Write(out);
    ImportRecord pair = natal;
    pair.name = "Boris";
    pair.second = {1, 9, 1985, 6, 0, {59, 56, 'N', 30, 19, 'E'}};
    pair.kind = 6;
    pair.Write(out);
    Seed("converter_records", "natal_and_pair", out.Take());
  }

  // The span of two segments of the shortest table: each table keeps the segments that cover it,
  // the layout whole in a few kilobytes.
  ChebyshevFile tables;
  if (ParseTables(FileBytes(source / "data" / "velm.str"), "velm.str", tables).ok()) {
    double span = tables.lastJd - tables.firstJd;
    for (const ChebyshevTable& t : tables.tables) span = std::min(span, 2 * t.segmentDays);
    tables.lastJd = tables.firstJd + span;
    for (ChebyshevTable& t : tables.tables) {
      const auto perSegment = static_cast<std::size_t>(t.lonDegree + t.latDegree + 2);
      const auto segments = static_cast<std::size_t>(std::ceil(span / t.segmentDays));
      t.coefficients.resize(std::min(t.coefficients.size(), segments * perSegment));
    }
    Seed("ephemeris", "two_segments.str", SerializeTables(tables));
  }
  return 0;
}
