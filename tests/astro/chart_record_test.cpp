#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

#include "astro/chart/chart.h"
#include "foundation/text/cp1251.h"

namespace {

Chart SampleChart() {
  Chart c;
  SuperSource& d = c.definition;
  d.SetKind(kChartProgressed);
  Source& birth = d.sources[0];
  birth.SetName(Cp1251("Иванов Пётр"));
  EXPECT_TRUE(birth.moment.date.SetDate(15, 3, 44, 'B').ok());  // a BC date
  EXPECT_TRUE(birth.moment.time.SetTime(13, 5, 59).ok());
  EXPECT_TRUE(birth.zone.SetTime(3, 30, 0, '-').ok());
  EXPECT_TRUE(birth.place.SetPlace(41, 54, 'N', 12, 29, 'E', Cp1251("Рим"), "Lazio").ok());
  EXPECT_TRUE(d.sources[2].moment.date.SetDate(1, 1, 2030).ok());
  d.SetTitle(Cp1251("Прогрессии"));
  d.converse = 1;
  d.keyKind = 2;
  d.key = {1, 2, 3, 4};
  d.SetAspectSystemName("VELM");
  for (int i = 0; i < kChartPointCount; ++i) {
    c.points[i].longitude.Set(i * 7.25);
    c.points[i].latitude = -i * 0.125;
    c.points[i].speed = i % 3 == 0 ? -0.5 : 1.0;
    c.points[i].status = i % 3 == 0 ? 'R' : 'D';
  }
  c.points[40].longitude.Clear();  // absent stays absent
  c.extra = {1.5, -2.5};
  for (int h = 0; h < 12; ++h) c.cusps[h].Set(h * 30.0 + 1.0);
  c.houseSystem = 106;
  c.commentSlot = 255;
  return c;
}

std::uint16_t U16At(const std::string& b, std::size_t at) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(b[at]) |
                                    static_cast<unsigned char>(b[at + 1]) << 8);
}

TEST(ChartRecord, BothVersionsRoundTripWithTheirExactSizesAndOffsets) {
  struct Case {
    int version;
    std::size_t size;
    std::size_t pointsAt;
    std::size_t houseAt;
  };
  for (const Case& c : {Case{4000, 1767, 395, 1757}, Case{4200, 1776, 404, 1766}}) {
    const Chart chart = SampleChart();
    BinaryWriter w;
    chart.Save(w, c.version);
    ASSERT_EQ(w.Size(), c.size) << c.version;
    ASSERT_EQ(Chart::RecordSize(c.version), c.size);
    const std::string& b = w.Data();
    EXPECT_EQ(U16At(b, 351), kChartProgressed) << "kind";
    EXPECT_EQ(U16At(b, 383), 1) << "converse flag";
    double lon1;
    std::memcpy(&lon1, b.data() + c.pointsAt + 25, 8);  // point 1
    EXPECT_EQ(lon1, 7.25);
    EXPECT_EQ(static_cast<int>(U16At(b, c.houseAt)), 106);
    EXPECT_EQ(static_cast<unsigned char>(b[c.houseAt + 4]), 255) << "comment slot";

    Chart back;
    BinaryReader r(b);
    ASSERT_TRUE(back.Load(r, c.version).ok());
    EXPECT_EQ(r.Remaining(), 0u);
    Chart expected = chart;
    if (c.version == 4000) expected.definition.SetAspectSystemName("");  // not in version 4000
    EXPECT_EQ(back, expected) << c.version;
    EXPECT_EQ(back.definition.sources[0].moment.date.Era(), 'B');
    EXPECT_EQ(back.GetPointLongitude(40).Get(), -777.0);
    EXPECT_EQ(back.definition.GetCountSrcIndex(), 2);
  }
}

TEST(ChartRecord, ACutOrDamagedRecordIsRefusedAndTheChartKept) {
  BinaryWriter w;
  SampleChart().Save(w, 4200);
  std::string bytes = w.Take();

  Chart target;
  target.houseSystem = 3;
  BinaryReader cut(std::string_view(bytes).substr(0, 1000));
  EXPECT_EQ(target.Load(cut, 4200).ErrorCode(), kErrRead);
  EXPECT_EQ(target.houseSystem, 3);

  std::string badMonth = bytes;
  badMonth[35 + 2] = 13;  // month of the first Source
  BinaryReader r(badMonth);
  EXPECT_EQ(target.Load(r, 4200).ErrorCode(), kErrFormat);
  EXPECT_EQ(target.houseSystem, 3);

  BinaryReader any(bytes);
  EXPECT_EQ(target.Load(any, 4100).ErrorCode(), kErrParameter);

  // Not a number in the first of the two doubles (the turn of a symbolic thematic chart's cusps).
  std::string badExtra = bytes;
  const double nan = std::nan("");
  std::memcpy(badExtra.data() + 404 + 50 * 25, &nan, 8);
  BinaryReader e(badExtra);
  EXPECT_EQ(target.Load(e, 4200).ErrorCode(), kErrFormat);
  EXPECT_EQ(target.houseSystem, 3);
}

// A record written byte by byte from the layout table (little-endian; texts NUL-padded to their
// width), independent of Chart::Save.
class GoldenRecord {
 public:
  void U16(unsigned v) { Le(v, 2); }
  void I32(std::int32_t v) { Le(static_cast<std::uint32_t>(v), 4); }
  void F64(double v) {
    std::uint64_t bits;
    std::memcpy(&bits, &v, 8);
    Le(bits, 8);
  }
  void Char(char c) { bytes_.push_back(c); }
  void Text(const std::string& text, std::size_t width) {
    bytes_ += text;
    bytes_.append(width - text.size(), '\0');
  }
  void Zeros(std::size_t n) { bytes_.append(n, '\0'); }
  std::size_t Offset() const { return bytes_.size(); }
  const std::string& Bytes() const { return bytes_; }

 private:
  void Le(std::uint64_t v, int width) {
    for (int i = 0; i < width; ++i) bytes_.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
  }
  std::string bytes_;
};

struct GoldenSource {
  const char* name;
  unsigned day, month, year;
  char era;
  unsigned hours, minutes, seconds, zoneHours, zoneMinutes, zoneSeconds;
  char zoneSign;
  unsigned latDeg, latMin;
  char latLetter;
  unsigned lonDeg, lonMin;
  char lonLetter;
  const char* town;
  const char* region;
};

const GoldenSource kGoldenSources[3] = {
    {"Anna", 7,   11, 1917, 'A', 10, 5,  30,  3,           0,
     0,      '+', 59, 57,   'N', 30, 19, 'E', "Petrograd", "RU"},
    {"B", 1, 1, 2000, 'A', 12, 0, 0, 0, 0, 0, '+', 51, 30, 'N', 0, 7, 'W', "London", ""},
    {"Caesar", 15, 3, 44, 'B', 13, 5, 59, 3, 30, 0, '-', 41, 54, 'S', 12, 29, 'E', "Roma", "Lazio"},
};

// Point i: every field its own value, so that two fields swapped in the layout show.
double GoldenLongitude(int i) { return i == 40 ? -777.0 : i + 0.5; }
double GoldenLatitude(int i) { return -0.25 * i; }
double GoldenSpeed(int i) { return 0.125 * i - 1.0; }
char GoldenStatus(int i) { return i % 2 == 1 ? 'R' : 'D'; }

Chart GoldenChart(int version) {
  Chart c;
  for (int k = 0; k < 3; ++k) {
    const GoldenSource& g = kGoldenSources[k];
    Source& s = c.definition.sources[k];
    s.SetName(g.name);
    EXPECT_TRUE(s.moment.date.SetDate(g.day, g.month, g.year, g.era).ok());
    EXPECT_TRUE(s.moment.time.SetTime(g.hours, g.minutes, g.seconds).ok());
    EXPECT_TRUE(s.zone.SetTime(g.zoneHours, g.zoneMinutes, g.zoneSeconds, g.zoneSign).ok());
    EXPECT_TRUE(s.place
                    .SetPlace(g.latDeg, g.latMin, g.latLetter, g.lonDeg, g.lonMin, g.lonLetter,
                              g.town, g.region)
                    .ok());
  }
  c.definition.SetKind(kChartDirected);
  c.definition.SetTitle("Directions");
  c.definition.converse = 1;
  c.definition.keyKind = 3;
  c.definition.key = {2, 3, 4, 1};
  if (version == 4200) c.definition.SetAspectSystemName("VELM");
  for (int i = 0; i < kChartPointCount; ++i) {
    if (i == 40) {
      c.points[i].longitude.Clear();
    } else {
      c.points[i].longitude.Set(GoldenLongitude(i));
    }
    c.points[i].latitude = GoldenLatitude(i);
    c.points[i].speed = GoldenSpeed(i);
    c.points[i].status = GoldenStatus(i);
  }
  c.extra = {1.5, -2.5};
  for (int h = 0; h < 12; ++h) c.cusps[h].Set(h * 30.0 + 1.0);
  c.houseSystem = 106;
  c.commentSlot = 7;
  return c;
}

std::string GoldenBytes(int version) {
  const bool v4200 = version == 4200;
  const std::size_t shift = v4200 ? 9 : 0;
  GoldenRecord r;
  for (const GoldenSource& g : kGoldenSources) {
    r.Text(g.name, 35);
    r.U16(g.day);
    r.U16(g.month);
    r.U16(g.year);
    r.Char(g.era);
    r.U16(g.hours);
    r.U16(g.minutes);
    r.U16(g.seconds);
    r.U16(g.zoneHours);
    r.U16(g.zoneMinutes);
    r.U16(g.zoneSeconds);
    r.Char(g.zoneSign);
    r.U16(g.latDeg);
    r.U16(g.latMin);
    r.Char(g.latLetter);
    r.U16(g.lonDeg);
    r.U16(g.lonMin);
    r.Char(g.lonLetter);
    r.Text(g.town, 26);
    r.Text(g.region, 26);
  }
  EXPECT_EQ(r.Offset(), 351u);
  r.U16(kChartDirected);
  r.Text("Directions", 30);
  EXPECT_EQ(r.Offset(), 383u);
  r.U16(1);  // converse
  r.U16(3);  // key kind
  r.U16(2);  // key: arc count, arc unit, time count, time unit
  r.U16(3);
  r.U16(4);
  r.U16(1);
  EXPECT_EQ(r.Offset(), 395u);
  if (v4200) r.Text("VELM", 9);
  EXPECT_EQ(r.Offset(), 395u + shift);
  for (int i = 0; i < 50; ++i) {
    r.F64(GoldenLongitude(i));
    r.F64(GoldenLatitude(i));
    r.F64(GoldenSpeed(i));
    r.Char(GoldenStatus(i));
  }
  EXPECT_EQ(r.Offset(), 1645u + shift);
  r.F64(1.5);
  r.F64(-2.5);
  EXPECT_EQ(r.Offset(), 1661u + shift);
  for (int h = 0; h < 12; ++h) r.F64(h * 30.0 + 1.0);
  EXPECT_EQ(r.Offset(), 1757u + shift);
  r.I32(106);
  r.Char(7);  // comment slot
  r.Zeros(5);
  EXPECT_EQ(r.Offset(), v4200 ? 1776u : 1767u);
  return r.Bytes();
}

TEST(ChartRecord, GoldenRecordsOfBothVersions) {
  for (const int version : {4000, 4200}) {
    const std::string golden = GoldenBytes(version);
    const Chart chart = GoldenChart(version);
    BinaryWriter w;
    chart.Save(w, version);
    ASSERT_EQ(w.Data().size(), golden.size()) << version;
    for (std::size_t i = 0; i < golden.size(); ++i)
      ASSERT_EQ(w.Data()[i], golden[i]) << "version " << version << ", byte " << i;

    Chart back;
    BinaryReader r(golden);
    ASSERT_TRUE(back.Load(r, version).ok()) << version;
    EXPECT_EQ(r.Remaining(), 0u);
    EXPECT_TRUE(back == chart) << version;
    EXPECT_EQ(back.points[3].latitude, -0.75) << version;
    EXPECT_EQ(back.points[3].speed, -0.625) << version;
    EXPECT_EQ(back.definition.sources[2].place.LatitudeLetter(), 'S') << version;
    EXPECT_EQ(back.definition.sources[2].zone.Sign(), '-') << version;
    EXPECT_EQ(back.definition.AspectSystemName(), version == 4200 ? "VELM" : "") << version;
  }
}

TEST(ChartAccessors, CuspsPointsAndHouses) {
  Chart c;
  EXPECT_FALSE(c.GetCusp(0).IsSet());
  const double cusps[12] = {350, 20, 50, 80, 110, 140, 170, 200, 230, 260, 290, 320};
  for (int h = 0; h < 12; ++h) c.cusps[h].Set(cusps[h]);
  EXPECT_EQ(c.GetCusp(12).Get(), 350);          // house (12 mod 12) + 1 = I
  EXPECT_EQ(c.GetCuspFromTenth(0).Get(), 260);  // X
  EXPECT_EQ(c.GetCuspFromTenth(3).Get(), 350);  // I
  EXPECT_EQ(c.GetPointOrCuspLongitude(1009).Get(), 260);
  EXPECT_EQ(c.HouseOf(355), 0);  // across 0 Aries
  EXPECT_EQ(c.HouseOf(5), 0);
  EXPECT_EQ(c.HouseOf(20), 1);  // a cusp belongs to its own house
  // Aries (0..30) spans the end of house I and the start of house II; Pisces holds cusp I only.
  EXPECT_EQ(c.SignInHouse(0, 0), 1);
  EXPECT_EQ(c.SignOnHouseCusps(0, 0), 1);   // cusp II at 20 Aries
  EXPECT_EQ(c.SignOnHouseCusps(11, 0), 1);  // cusp I at 20 Pisces
  c.cusps[1].Set(50);                       // house I now 350..50 holds all of Aries
  EXPECT_EQ(c.SignInHouse(0, 0), 2);
  c.points[3].longitude.Set(95);  // Cancer: (3 mod 4) x 3 + 3 mod 3 = 9
  EXPECT_EQ(c.GetElementCross(3, false), 9);
  EXPECT_EQ(c.GetElementCross(4, false), -1);
  c.SetDerivationMarker(kMarkerLocalSpace);
  EXPECT_TRUE(c.IsLocalSpace());
  EXPECT_FALSE(c.IsSymbolicThematic());
}

TEST(ChartAccessors, HousesOfCuspsRunningAgainstTheSigns) {
  // Horizontal houses: cusp X at 300, each further cusp 30 degrees lower (cusp I at 210), so
  // house I runs down from 210 to 180 and house XII from 240 to 210.
  Chart c;
  for (int h = 0; h < 12; ++h) c.cusps[h].Set(std::fmod(210.0 - 30.0 * h + 360.0, 360.0));
  struct Row {
    double longitude;
    int house;
  };
  const Row rows[] = {
      {200.0, 0}, {210.0, 0},  {180.5, 0},  // house I, its own cusp included
      {179.0, 1}, {225.0, 11}, {295.0, 9}, {5.0, 6}, {355.0, 7},
  };
  for (const Row& r : rows) EXPECT_EQ(c.HouseOf(r.longitude), r.house) << r.longitude;
  EXPECT_EQ(c.HouseOf(kAbsent), -1);
  // House I (210 down to 180) holds all of Libra and touches Scorpio and Virgo at its ends only;
  // house XII (240 down to 210) holds all of Scorpio.
  EXPECT_EQ(c.SignInHouse(6, 0), 2);
  EXPECT_EQ(c.SignInHouse(7, 0), 0);
  EXPECT_EQ(c.SignInHouse(5, 0), 0);
  EXPECT_EQ(c.SignInHouse(7, 11), 2);
  c.points[2].longitude.Set(200.0);  // house I: (0 mod 4) x 3 + 0 mod 3 = 0
  EXPECT_EQ(c.GetElementCross(2, true), 0);
}

}  // namespace
