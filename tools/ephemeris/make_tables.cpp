// Fits the ephemeris tables "velm.str" from the theories: Chebyshev segments of the apparent
// longitude (less the nutation) and latitude of every body, and of the nutation in longitude.
//
//   ephemeris_make_tables OUTPUT [--from YEAR] [--to YEAR] [--only ID,ID,...] [--threads N]
//
// Years are 1 January 0h TT. The output is the same for the same inputs whatever the thread count.
#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "astro/ephemeris/chebyshev_tables.h"
#include "astro/ephemeris/coordinates.h"
#include "astro/ephemeris/table_sources.h"
#include "astro/ephemeris/time_scales.h"
#include "foundation/files/safe_rewrite.h"

namespace {

double Wrap180(double d) {
  d = std::fmod(d, 360.0);
  if (d > 180.0) d -= 360.0;
  if (d < -180.0) d += 360.0;
  return d;
}

struct FitResult {
  std::vector<double> coefficients;
  double worstLonArcsec = 0.0, worstLatArcsec = 0.0, worstSpeed = 0.0;
};

// Fits one segment and checks it halfway between the nodes.
void FitSegment(const TableSpec& layout, double start, bool check, FitResult& out,
                std::vector<double>& coefficients) {
  const int n = std::max(layout.lonDegree, layout.latDegree);
  std::vector<double> lon(n + 1), lat(n + 1);
  std::vector<double> lonAt(layout.lonDegree + 1), latAt(layout.latDegree + 1);
  auto sampleAt = [&](int degree, std::vector<double>& lonOut, std::vector<double>& latOut) {
    // Nodes run from the segment's end to its start; the longitude is unwrapped node by node.
    for (int k = 0; k <= degree; ++k) {
      const double x = ChebyshevNode(k, degree);
      const double jd = start + 0.5 * (x + 1.0) * layout.segmentDays;
      const TableSample s = SampleTableSource(layout.id, jd);
      lonOut[k] = k == 0 ? s.longitude : lonOut[k - 1] + Wrap180(s.longitude - lonOut[k - 1]);
      latOut[k] = s.latitude;
    }
  };
  std::vector<double> dummyLat(layout.lonDegree + 1), dummyLon(layout.latDegree + 1);
  sampleAt(layout.lonDegree, lonAt, dummyLat);
  const std::vector<double> lonC = ChebyshevFromNodeValues(lonAt);
  std::vector<double> latC(layout.latDegree + 1, 0.0);
  if (layout.latDegree == layout.lonDegree) {
    latC = ChebyshevFromNodeValues(dummyLat);
  } else {
    sampleAt(layout.latDegree, dummyLon, latAt);
    latC = ChebyshevFromNodeValues(latAt);
  }
  coefficients.insert(coefficients.end(), lonC.begin(), lonC.end());
  coefficients.insert(coefficients.end(), latC.begin(), latC.end());
  if (!check) return;
  ChebyshevTable one;
  one.id = layout.id;
  one.firstJd = start;
  one.segmentDays = layout.segmentDays;
  one.lonDegree = layout.lonDegree;
  one.latDegree = layout.latDegree;
  one.quantum = layout.quantum;
  one.coefficients.assign(coefficients.end() - (layout.lonDegree + layout.latDegree + 2),
                          coefficients.end());
  one.RoundToFilePrecision();
  for (int k = 0; k < 2 * layout.lonDegree; ++k) {
    const double jd = start + layout.segmentDays * (k + 0.37) / (2.0 * layout.lonDegree);
    const TableSample s = SampleTableSource(layout.id, jd);
    double l, b, v;
    one.Evaluate(jd, l, b, v);
    out.worstLonArcsec = std::max(out.worstLonArcsec, std::fabs(Wrap180(l - s.longitude)) * 3600.0);
    out.worstLatArcsec = std::max(out.worstLatArcsec, std::fabs(b - s.latitude) * 3600.0);
    if (k % 8 == 0) {
      const double speed = SampleTableSourceSpeed(layout.id, jd);
      out.worstSpeed = std::max(out.worstSpeed, std::fabs(v - speed));
    }
  }
}

ChebyshevTable FitTable(const TableSpec& layout, double first, double last, int threads) {
  const std::size_t segments =
      static_cast<std::size_t>(std::ceil((last - first) / layout.segmentDays - 1e-9));
  std::vector<std::vector<double>> perSegment(segments);
  std::vector<FitResult> results(threads);
  std::atomic<std::size_t> next{0};
  std::vector<std::thread> pool;
  for (int t = 0; t < threads; ++t) {
    pool.emplace_back([&, t] {
      for (std::size_t s = next++; s < segments; s = next++)
        FitSegment(layout, first + layout.segmentDays * static_cast<double>(s), s % 7 == 0,
                   results[t], perSegment[s]);
    });
  }
  for (std::thread& th : pool) th.join();
  FitResult worst;
  for (const FitResult& r : results) {
    worst.worstLonArcsec = std::max(worst.worstLonArcsec, r.worstLonArcsec);
    worst.worstLatArcsec = std::max(worst.worstLatArcsec, r.worstLatArcsec);
    worst.worstSpeed = std::max(worst.worstSpeed, r.worstSpeed);
  }
  ChebyshevTable table;
  table.id = layout.id;
  table.firstJd = first;
  table.segmentDays = layout.segmentDays;
  table.lonDegree = layout.lonDegree;
  table.latDegree = layout.latDegree;
  table.quantum = layout.quantum;
  for (const auto& c : perSegment)
    table.coefficients.insert(table.coefficients.end(), c.begin(), c.end());
  table.RoundToFilePrecision();
  std::printf(
      "table %2d: %zu segments of %g days, degrees %d/%d: worst fit %.4f\" lon, %.4f\" lat, "
      "%.6f deg/day speed\n",
      layout.id, segments, layout.segmentDays, layout.lonDegree, layout.latDegree,
      worst.worstLonArcsec, worst.worstLatArcsec, worst.worstSpeed);
  std::fflush(stdout);
  return table;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr,
                 "usage: %s OUTPUT [--from YEAR] [--to YEAR] [--only ID,...] [--threads N]\n",
                 argv[0]);
    return 2;
  }
  const std::string output = argv[1];
  int fromYear = 1600, toYear = 2400, threads = 3;
  std::vector<int> only;
  std::vector<TableSpec> overrides;  // --layout ID:DAYS:LONDEG:LATDEG, for tuning
  for (int i = 2; i + 1 < argc; i += 2) {
    const std::string key = argv[i];
    if (key == "--from")
      fromYear = std::atoi(argv[i + 1]);
    else if (key == "--to")
      toYear = std::atoi(argv[i + 1]);
    else if (key == "--threads")
      threads = std::max(1, std::atoi(argv[i + 1]));
    else if (key == "--only") {
      for (const char* p = argv[i + 1]; *p;) {
        only.push_back(std::atoi(p));
        while (*p && *p != ',') ++p;
        if (*p == ',') ++p;
      }
    } else if (key == "--layout") {
      TableSpec s{0, 0.0, 0, 0, 1e-7};
      if (std::sscanf(argv[i + 1], "%d:%lf:%d:%d", &s.id, &s.segmentDays, &s.lonDegree,
                      &s.latDegree) == 4)
        overrides.push_back(s);
    } else {
      std::fprintf(stderr, "unknown option %s\n", key.c_str());
      return 2;
    }
  }
  ChebyshevFile file;
  file.firstJd = JUL_DAY(fromYear, 1, 1, 0.0);
  file.lastJd = JUL_DAY(toYear, 1, 1, 0.0);
  for (TableSpec layout : TableSpecs()) {
    for (const TableSpec& o : overrides)
      if (o.id == layout.id) layout = o;
    if (!only.empty() && std::find(only.begin(), only.end(), layout.id) == only.end()) continue;
    file.tables.push_back(FitTable(layout, file.firstJd, file.lastJd, threads));
  }
  const std::string bytes = SerializeTables(file);
  const Status st = RewriteFile(output, bytes);
  if (!st.ok()) {
    std::fprintf(stderr, "cannot write %s (error %d)\n", output.c_str(), st.ErrorCode());
    return 1;
  }
  std::printf("wrote %s: %zu bytes, %zu tables\n", output.c_str(), bytes.size(),
              file.tables.size());
  return 0;
}
