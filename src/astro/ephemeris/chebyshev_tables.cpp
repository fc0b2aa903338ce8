#include "astro/ephemeris/chebyshev_tables.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "foundation/files/binary_io.h"

namespace {

constexpr char kMagic[] = "VSTR";
constexpr int kMaxDegree = 64;

void WriteVarint(BinaryWriter& out, std::int64_t value) {
  std::uint64_t v =
      (static_cast<std::uint64_t>(value) << 1) ^ static_cast<std::uint64_t>(value >> 63);
  while (v >= 0x80) {
    out.U8(static_cast<std::uint8_t>(v | 0x80));
    v >>= 7;
  }
  out.U8(static_cast<std::uint8_t>(v));
}

// Decodes `segments` segments of a table's coefficients (`stride` each) into `out` in one pass over
// the bytes: per segment the first coefficient as f64 and the others as zigzag varints of quanta.
// Returns the bytes used; 0 with `detail` 5 when the bytes end early or a varint runs past ten
// bytes, 6 when a first coefficient is not finite.
std::size_t DecodeCoefficients(std::string_view bytes, std::size_t stride, double quantum,
                               double* out, std::size_t segments, int& detail) {
  detail = 5;
  const auto* const begin = reinterpret_cast<const unsigned char*>(bytes.data());
  const auto* const end = begin + bytes.size();
  const auto* p = begin;
  for (std::size_t segment = 0; segment < segments; ++segment) {
    if (end - p < 8) return 0;
    std::uint64_t bits = 0;
    for (int k = 0; k < 8; ++k) bits |= static_cast<std::uint64_t>(p[k]) << (8 * k);
    p += 8;
    *out = std::bit_cast<double>(bits);
    if (!std::isfinite(*out++)) {
      detail = 6;
      return 0;
    }
    for (std::size_t i = 1; i < stride; ++i) {
      std::uint64_t v = 0;
      for (int shift = 0;; shift += 7) {
        if (p == end || shift >= 64) return 0;
        const unsigned char byte = *p++;
        v |= static_cast<std::uint64_t>(byte & 0x7F) << shift;
        if ((byte & 0x80) == 0) break;
      }
      const auto quanta = static_cast<std::int64_t>(v >> 1) ^ -static_cast<std::int64_t>(v & 1);
      *out++ = static_cast<double>(quanta) * quantum;
    }
  }
  return static_cast<std::size_t>(p - begin);
}

double Wrap360(double deg) {
  const double r = deg - 360.0 * std::floor(deg / 360.0);
  return r < 360.0 ? r : 0.0;
}

}  // namespace

void ChebyshevSum(const double* c, int degree, double x, double& value, double& derivative) {
  double b1 = 0.0, b2 = 0.0, d1 = 0.0, d2 = 0.0;
  for (int k = degree; k >= 1; --k) {
    const double b = 2.0 * x * b1 - b2 + c[k];
    const double d = 2.0 * x * d1 - d2 + 2.0 * b1;
    b2 = b1;
    b1 = b;
    d2 = d1;
    d1 = d;
  }
  value = x * b1 - b2 + c[0];
  derivative = x * d1 - d2 + b1;
}

double ChebyshevNode(int k, int degree) { return std::cos(M_PI * (k + 0.5) / (degree + 1)); }

std::vector<double> ChebyshevFromNodeValues(const std::vector<double>& values) {
  const int n = static_cast<int>(values.size());
  std::vector<double> c(n, 0.0);
  for (int j = 0; j < n; ++j) {
    double sum = 0.0;
    for (int k = 0; k < n; ++k) sum += values[k] * std::cos(M_PI * j * (k + 0.5) / n);
    c[j] = (j == 0 ? 1.0 : 2.0) * sum / n;
  }
  return c;
}

std::size_t SegmentOf(double jdTt, double firstJd, double segmentDays, std::size_t count,
                      double& x) {
  const double offset = (jdTt - firstJd) / segmentDays;
  // Compared as a double first: a date far past a table of very short segments is beyond any
  // segment number.
  std::size_t segment = 0;
  if (offset >= static_cast<double>(count))
    segment = count - 1;
  else if (offset > 0.0)
    segment = static_cast<std::size_t>(offset);
  x = std::clamp(2.0 * (offset - static_cast<double>(segment)) - 1.0, -1.0, 1.0);
  return segment;
}

void EvaluateSegment(const double* c, int lonDegree, int latDegree, double segmentDays, double x,
                     double& lon, double& lat, double& speed) {
  double dLon = 0.0, dLat = 0.0;
  ChebyshevSum(c, lonDegree, x, lon, dLon);
  ChebyshevSum(c + lonDegree + 1, latDegree, x, lat, dLat);
  lon = Wrap360(lon);
  speed = dLon * 2.0 / segmentDays;
}

void ChebyshevTable::Evaluate(double jdTt, double& lon, double& lat, double& speed) const {
  double x = 0.0;
  const std::size_t segment = SegmentOf(jdTt, firstJd, segmentDays, SegmentCount(), x);
  const double* c =
      coefficients.data() + segment * static_cast<std::size_t>(lonDegree + latDegree + 2);
  EvaluateSegment(c, lonDegree, latDegree, segmentDays, x, lon, lat, speed);
}

void ChebyshevTable::RoundToFilePrecision() {
  const std::size_t stride = static_cast<std::size_t>(lonDegree + latDegree + 2);
  for (std::size_t i = 0; i < coefficients.size(); ++i)
    if (i % stride != 0) coefficients[i] = std::round(coefficients[i] / quantum) * quantum;
}

std::string SerializeTables(const ChebyshevFile& file) {
  BinaryWriter out;
  out.Bytes(std::string_view(kMagic, 4));
  out.U16(kTablesVersion);
  out.F64(file.firstJd);
  out.F64(file.lastJd);
  out.U16(static_cast<std::uint16_t>(file.tables.size()));
  for (const ChebyshevTable& t : file.tables) {
    out.U16(static_cast<std::uint16_t>(t.id));
    out.F64(t.segmentDays);
    out.U16(static_cast<std::uint16_t>(t.lonDegree));
    out.U16(static_cast<std::uint16_t>(t.latDegree));
    out.F64(t.quantum);
    out.U32(static_cast<std::uint32_t>(t.SegmentCount()));
    const std::size_t stride = static_cast<std::size_t>(t.lonDegree + t.latDegree + 2);
    for (std::size_t i = 0; i < t.coefficients.size(); ++i) {
      if (i % stride == 0)
        out.F64(t.coefficients[i]);
      else
        WriteVarint(out, std::llround(t.coefficients[i] / t.quantum));
    }
  }
  return out.Take();
}

namespace {

Status ReadHead(BinaryReader& in, const std::string& where, double& firstJd, double& lastJd) {
  if (in.Bytes(4) != std::string_view(kMagic, 4) || !in.Ok())
    return Status::Error(kErrFormat, where, 1);
  if (in.U16() != kTablesVersion) return Status::Error(kErrFormat, where, 2);
  firstJd = in.F64();
  lastJd = in.F64();
  if (!in.Ok() || !std::isfinite(firstJd) || !std::isfinite(lastJd) || !(lastJd > firstJd))
    return Status::Error(kErrFormat, where, 3);
  return Status::Ok();
}

}  // namespace

Status ParseTablesSpan(std::string_view head, const std::string& where, double& firstJd,
                       double& lastJd) {
  BinaryReader in(head);
  return ReadHead(in, where, firstJd, lastJd);
}

namespace {

// Passes over the coefficients of `segments` segments from `p` with every check of their decoding
// (DecodeCoefficients), recording the offset of each block of segments; the bytes used, or 0 with
// `detail` as DecodeCoefficients gives it.
std::size_t SkipCoefficients(std::string_view bytes, std::size_t base, std::size_t stride,
                             std::size_t segments, std::vector<std::size_t>& blockOffsets,
                             int& detail) {
  detail = 5;
  const auto* const begin = reinterpret_cast<const unsigned char*>(bytes.data()) + base;
  const auto* const end = reinterpret_cast<const unsigned char*>(bytes.data()) + bytes.size();
  const auto* p = begin;
  constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
  for (std::size_t segment = 0; segment < segments; ++segment) {
    if (segment % kSegmentsPerBlock == 0)
      blockOffsets.push_back(base + static_cast<std::size_t>(p - begin));
    if (end - p < 8) return 0;
    std::uint64_t bits = 0;
    for (int k = 0; k < 8; ++k) bits |= static_cast<std::uint64_t>(p[k]) << (8 * k);
    p += 8;
    if (!std::isfinite(std::bit_cast<double>(bits))) {
      detail = 6;
      return 0;
    }
    // The varints end at the bytes without the high bit: eight bytes are counted at once while
    // the segment's last varint lies further on. A varint may take ten bytes at most: nine
    // continued bytes in a row are allowed, the tenth refused.
    std::size_t left = stride - 1;
    int continued = 0;  // continued bytes in a row before p
    while (left > 0) {
      if (end - p >= 8) {
        std::uint64_t word = 0;
        for (int k = 0; k < 8; ++k) word |= static_cast<std::uint64_t>(p[k]) << (8 * k);
        const std::uint64_t ends = ~word & kHighBits;
        const auto count = static_cast<std::size_t>(std::popcount(ends));
        if (count < left) {
          // Every run of continued bytes in the word: the first joins the one before it.
          if (ends == 0) {
            continued += 8;
          } else {
            if (continued + std::countr_zero(ends) / 8 >= 10) return 0;
            continued = std::countl_zero(ends) / 8;
          }
          if (continued >= 10) return 0;  // runs between two ends of a word are shorter
          left -= count;
          p += 8;
          continue;
        }
      }
      if (p == end) return 0;
      const unsigned char byte = *p++;
      if ((byte & 0x80) == 0) {
        --left;
        continued = 0;
      } else if (++continued >= 10) {
        return 0;
      }
    }
  }
  return static_cast<std::size_t>(p - begin);
}

}  // namespace

Status ScanTables(std::string_view bytes, const std::string& where, ChebyshevFileLayout& out) {
  BinaryReader in(bytes);
  ChebyshevFileLayout file;
  if (Status st = ReadHead(in, where, file.firstJd, file.lastJd); !st.ok()) return st;
  const int tableCount = in.U16();
  for (int n = 0; n < tableCount && in.Ok(); ++n) {
    ChebyshevTableLayout layout;
    ChebyshevTable& t = layout.header;
    t.id = in.U16();
    t.firstJd = file.firstJd;
    t.segmentDays = in.F64();
    t.lonDegree = in.U16();
    t.latDegree = in.U16();
    t.quantum = in.F64();
    const std::uint32_t segments = in.U32();
    if (!in.Ok() || t.id >= kTableIdCount || !(t.segmentDays > 0.0) ||
        !std::isfinite(t.segmentDays) || !(t.quantum > 0.0) || !(t.quantum < 1.0) ||
        t.lonDegree > kMaxDegree || t.latDegree > kMaxDegree || segments == 0 ||
        t.firstJd + t.segmentDays * segments < file.lastJd - 1e-6)
      return Status::Error(kErrFormat, where, 4);
    const std::size_t stride = layout.Stride();
    const std::size_t smallestSegment = 8 + (stride - 1);
    if (in.Remaining() / smallestSegment < segments) return Status::Error(kErrFormat, where, 5);
    layout.segmentCount = segments;
    int detail = 0;
    const std::size_t used =
        SkipCoefficients(bytes, in.Position(), stride, segments, layout.blockOffsets, detail);
    if (used == 0) return Status::Error(kErrFormat, where, detail);
    in.Skip(used);
    file.tables.push_back(std::move(layout));
  }
  if (!in.Ok() || in.Remaining() != 0) return Status::Error(kErrFormat, where, 7);
  out = std::move(file);
  return Status::Ok();
}

void DecodeTableBlock(std::string_view bytes, const ChebyshevTableLayout& table, std::size_t block,
                      double* out) {
  const std::size_t stride = table.Stride();
  const std::size_t first = block * kSegmentsPerBlock;
  const std::size_t count = std::min(kSegmentsPerBlock, table.segmentCount - first);
  int detail = 0;
  (void)DecodeCoefficients(bytes.substr(table.blockOffsets[block]), stride, table.header.quantum,
                           out, count, detail);
}

Status ParseTables(std::string_view bytes, const std::string& where, ChebyshevFile& out) {
  ChebyshevFileLayout layout;
  if (Status st = ScanTables(bytes, where, layout); !st.ok()) return st;
  ChebyshevFile file;
  file.firstJd = layout.firstJd;
  file.lastJd = layout.lastJd;
  for (const ChebyshevTableLayout& table : layout.tables) {
    ChebyshevTable t = table.header;
    t.coefficients.resize(table.segmentCount * table.Stride());
    for (std::size_t block = 0; block < table.blockOffsets.size(); ++block)
      DecodeTableBlock(bytes, table, block,
                       t.coefficients.data() + block * kSegmentsPerBlock * table.Stride());
    file.tables.push_back(std::move(t));
  }
  out = std::move(file);
  return Status::Ok();
}
