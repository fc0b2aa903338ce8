// The ephemeris tables "velm.str": per body, Chebyshev segments of equal length for the apparent
// longitude (unwrapped within a segment) and latitude, degrees.
//
// File layout, little-endian: "VSTR", u16 version, f64 first and last TT Julian day, u16 table
// count; per table: u16 table id, f64 segment length in days, u16 longitude degree, u16 latitude
// degree, f64 quantum (degrees), u32 segment count, then per segment the first longitude
// coefficient as f64 and every other coefficient (the rest of the longitude's, then the
// latitude's) as a whole number of quanta, zigzag-coded in a base-128 varint (7 bits a byte, low
// bits first, the high bit set on every byte but the last). Nothing follows the last table.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/status.h"

inline constexpr std::uint16_t kTablesVersion = 1;

// Table ids: 0..15 and 20..29 are the chart points; the lunar points have one table per variant.
inline constexpr int kTableTrueNode = 16, kTableMeanNode = 17;
inline constexpr int kTableTrueApogee = 18, kTableMeanApogee = 19;
// Nutation in longitude (degrees) in the longitude slot; the body tables hold the apparent
// longitude less the nutation, which is added back at run time.
inline constexpr int kTableNutation = 30;
inline constexpr int kTableIdCount = 31;

struct ChebyshevTable {
  int id = -1;
  double firstJd = 0.0;  // start of the first segment (the file's first day)
  double segmentDays = 0.0;
  int lonDegree = 0, latDegree = 0;
  double quantum = 1e-7;             // degrees: the resolution the file keeps
  std::vector<double> coefficients;  // per segment: lonDegree + 1, then latDegree + 1

  std::size_t SegmentCount() const {
    return coefficients.size() / static_cast<std::size_t>(lonDegree + latDegree + 2);
  }
  // Longitude (degrees [0, 360)), latitude (degrees), longitude speed (degrees per day) at a TT
  // Julian day inside the table's span (clamped to it otherwise).
  void Evaluate(double jdTt, double& lon, double& lat, double& speed) const;
  // Rounds the coefficients (but the first of a segment) to whole quanta, as the file keeps them.
  void RoundToFilePrecision();
};

struct ChebyshevFile {
  double firstJd = 0.0, lastJd = 0.0;
  std::vector<ChebyshevTable> tables;
};

std::string SerializeTables(const ChebyshevFile& file);
// `where` names the file in the status (error 106, wrong format).
Status ParseTables(std::string_view bytes, const std::string& where, ChebyshevFile& out);

// Where a table's coefficients lie in the file: its header (the coefficients left empty), the
// number of its segments and the byte offset of every block of kSegmentsPerBlock segments, so
// that a block can be decoded alone when first asked for.
inline constexpr std::size_t kSegmentsPerBlock = 64;
struct ChebyshevTableLayout {
  ChebyshevTable header;
  std::size_t segmentCount = 0;
  std::vector<std::size_t> blockOffsets;
  std::size_t Stride() const {
    return static_cast<std::size_t>(header.lonDegree + header.latDegree + 2);
  }
};
struct ChebyshevFileLayout {
  double firstJd = 0.0, lastJd = 0.0;
  std::vector<ChebyshevTableLayout> tables;
};
// Every check of ParseTables (the same errors) over the whole file, without decoding it.
Status ScanTables(std::string_view bytes, const std::string& where, ChebyshevFileLayout& out);
// Decodes block `block` of a table ScanTables accepted from the same bytes into `out` (the
// block's segments times the table's stride).
void DecodeTableBlock(std::string_view bytes, const ChebyshevTableLayout& table, std::size_t block,
                      double* out);

// The coefficients of the segment of `jdTt` (clamped to the span) and its x in [-1, 1].
std::size_t SegmentOf(double jdTt, double firstJd, double segmentDays, std::size_t count,
                      double& x);
// Longitude [0, 360), latitude and longitude speed from one segment's coefficients.
void EvaluateSegment(const double* c, int lonDegree, int latDegree, double segmentDays, double x,
                     double& lon, double& lat, double& speed);
// The span of the tables from the first kTablesHeadBytes of the file alone (the same checks and
// errors as ParseTables for those bytes).
inline constexpr std::size_t kTablesHeadBytes = 22;
Status ParseTablesSpan(std::string_view head, const std::string& where, double& firstJd,
                       double& lastJd);

// Chebyshev coefficients of degree n interpolating f at the n + 1 Chebyshev nodes of [-1, 1]
// (values given at x_k = cos(pi (k + 1/2) / (n + 1))).
std::vector<double> ChebyshevFromNodeValues(const std::vector<double>& values);
double ChebyshevNode(int k, int degree);
// Value and derivative (d/dx) of sum c_k T_k(x), k = 0..degree, x in [-1, 1] (Clenshaw).
void ChebyshevSum(const double* c, int degree, double x, double& value, double& derivative);
