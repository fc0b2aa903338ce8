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
void FitSegment(const TableSpec& spec, double start, bool check, FitResult& out,
                std::vector<double>& coefficients) {
  const int n = std::max(spec.lonDegree, spec.latDegree);
  std::vector<double> lon(n + 1), lat(n + 1);
  std::vector<double> lonAt(spec.lonDegree + 1), latAt(spec.latDegree + 1);
  auto sampleAt = [&](int degree, std::vector<double>& lonOut, std::vector<double>& latOut) {
    // Nodes run from the segment's end to its start; the longitude is unwrapped node by node.
    for (int k = 0; k <= degree; ++k) {
      const double x = ChebyshevNode(k, degree);
      const double jd = start + 0.5 * (x + 1.0) * spec.segmentDays;
      const TableSample s = SampleTableSource(spec.id, jd);
      lonOut[k] = k == 0 ? s.longitude : lonOut[k - 1] + Wrap180(s.longitude - lonOut[k - 1]);
      latOut[k] = s.latitude;
    }
  };
  std::vector<double> dummyLat(spec.lonDegree + 1), dummyLon(spec.latDegree + 1);
  sampleAt(spec.lonDegree, lonAt, dummyLat);
  const std::vector<double> lonC = ChebyshevFromNodeValues(lonAt);
  std::vector<double> latC(spec.latDegree + 1, 0.0);
  if (spec.latDegree == spec.lonDegree) {
    latC = ChebyshevFromNodeValues(dummyLat);
  } else {
    sampleAt(spec.latDegree, dummyLon, latAt);
    latC = ChebyshevFromNodeValues(latAt);
  }
  coefficients.insert(coefficients.end(), lonC.begin(), lonC.end());
  coefficients.insert(coefficients.end(), latC.begin(), latC.end());
  if (!check) return;
  ChebyshevTable one;
  one.id = spec.id;
  one.firstJd = start;
  one.segmentDays = spec.segmentDays;
  one.lonDegree = spec.lonDegree;
  one.latDegree = spec.latDegree;
  one.quantum = spec.quantum;
  one.coefficients.assign(coefficients.end() - (spec.lonDegree + spec.latDegree + 2),
                          coefficients.end());
  one.RoundToFilePrecision();
  for (int k = 0; k < 2 * spec.lonDegree; ++k) {
    const double jd = start + spec.segmentDays * (k + 0.37) / (2.0 * spec.lonDegree);
    const TableSample s = SampleTableSource(spec.id, jd);
    double l, b, v;
    one.Evaluate(jd, l, b, v);
    out.worstLonArcsec = std::max(out.worstLonArcsec, std::fabs(Wrap180(l - s.longitude)) * 3600.0);
    out.worstLatArcsec = std::max(out.worstLatArcsec, std::fabs(b - s.latitude) * 3600.0);
    if (k % 8 == 0) {
      const double speed = SampleTableSourceSpeed(spec.id, jd);
      out.worstSpeed = std::max(out.worstSpeed, std::fabs(v - speed));
    }
  }
}

ChebyshevTable FitTable(const TableSpec& spec, double first, double last, int threads) {
  const std::size_t segments =
      static_cast<std::size_t>(std::ceil((last - first) / spec.segmentDays - 1e-9));
  std::vector<std::vector<double>> perSegment(segments);
  std::vector<FitResult> results(threads);
  std::atomic<std::size_t> next{0};
  std::vector<std::thread> pool;
  for (int t = 0; t < threads; ++t) {
    pool.emplace_back([&, t] {
      for (std::size_t s = next++; s < segments; s = next++)
        FitSegment(spec, first + spec.segmentDays * static_cast<double>(s), s % 7 == 0, results[t],
                   perSegment[s]);
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
  table.id = spec.id;
  table.firstJd = first;
  table.segmentDays = spec.segmentDays;
  table.lonDegree = spec.lonDegree;
  table.latDegree = spec.latDegree;
  table.quantum = spec.quantum;
  for (const auto& c : perSegment)
    table.coefficients.insert(table.coefficients.end(), c.begin(), c.end());
  table.RoundToFilePrecision();
  std::printf(
      "table %2d: %zu segments of %g days, degrees %d/%d: worst fit %.4f\" lon, %.4f\" lat, "
      "%.6f deg/day speed\n",
      spec.id, segments, spec.segmentDays, spec.lonDegree, spec.latDegree, worst.worstLonArcsec,
      worst.worstLatArcsec, worst.worstSpeed);
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
  std::vector<TableSpec> overrides;  // --spec ID:DAYS:LONDEG:LATDEG, for tuning
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
    } else if (key == "--spec") {
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
  for (TableSpec spec : TableSpecs()) {
    for (const TableSpec& o : overrides)
      if (o.id == spec.id) spec = o;
    if (!only.empty() && std::find(only.begin(), only.end(), spec.id) == only.end()) continue;
    file.tables.push_back(FitTable(spec, file.firstJd, file.lastJd, threads));
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
