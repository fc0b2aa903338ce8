// The planetary lines of astrocartography and their crossings. For each chosen body of a chart,
// the horizon line holds, per geographic longitude, the latitude at which the body is on the
// horizon at the chart's moment (rising east of its meridian, setting west of it); the MC and IC
// lines are the two meridians on which it culminates. A map view computes the lines once, draws
// them into the window it shows and asks for the crossings of two lines (parans). A second chart
// can be added: its lines fill the second half of the store.
//
// Sample s of every line stands for the geographic longitude s / density - 180 (east positive),
// s = 0 .. 361 x density - 1, so the last degree repeats the first one past 180 for drawing.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "astro/ephemeris/time_scales.h"
#include "astrocarto/core/astrocart_page.h"
#include "astrocarto/core/regional_maps.h"
#include "platform/core/dc.h"
#include "platform/core/progress_sink.h"

class Chart;
class Configuration;

// The moment of a chart as the lines use it: the Julian day of the local date and the Universal
// Time in hours on that date (local time minus the zone; it may fall outside 0..24), with what
// depends only on that moment.
struct LineMoment {
  double jd = 0.0, ut = 0.0;
  double siderealDeg = 0.0;   // Greenwich apparent sidereal time, degrees
  double obliquityDeg = 0.0;  // true obliquity of date
};
// The moment of the chart's current Source.
LineMoment ChartLineMoment(const Chart& chart);
LineMoment MakeLineMoment(double jd, double ut);
// The moment of a Julian day of Universal Time.
LineMoment MakeLineMoment(JdUt ut);

// The geographic latitude at which the ecliptic degree `eclipticLongitude` (latitude 0) is on the
// horizon at `longitude` (east positive) at the moment; -90..90. A degree of 0 or 180 gives a
// latitude near +-90.
double CalcRisingLatitude(double jd, double ut, double longitude, double eclipticLongitude);
double CalcRisingLatitude(const LineMoment& moment, double longitude, double eclipticLongitude);
// The same for a body with an ecliptic latitude; -777.0 when there is none (an absent body).
double FindRisingLatitude(double jd, double ut, double longitude, double eclipticLatitude,
                          double eclipticLongitude);

// The geographic east longitude, in [-180, 180), of the meridian on which the ecliptic degree
// `eclipticLongitude` (latitude 0, as the MC line takes it) culminates at the moment: its right
// ascension less the apparent sidereal time. -777.0 for an absent degree.
double MidheavenLongitude(const LineMoment& moment, double eclipticLongitude);

// What a horizon line is drawn from: the body's ecliptic longitude and, for the lines of the real
// system, its equatorial place (latitude taken into account).
struct LineBody {
  double eclipticLongitude = -777.0;
  bool withLatitude = false;
  double rightAscension = 0.0, declination = 0.0;  // degrees, with `withLatitude`
};
LineBody MakeLineBody(const LineMoment& moment, double eclipticLongitude, double eclipticLatitude,
                      bool withLatitude);
// The latitude of the horizon line of `body` at geographic east longitude `longitude`: the
// latitude at which the body (its ecliptic degree, without `withLatitude`) stands on the horizon;
// -777.0 for an absent body. Every sample of a line is this value.
double HorizonLineLatitude(const LineMoment& moment, const LineBody& body, double longitude);

// A run of consecutive samples of one line inside a window, for the labels of the lines.
struct VisibleRun {
  int first = 0, last = 0;  // sample indices
  int line = 0;
  int point = 0;     // chart point of the line
  char chart = '0';  // '0' first chart, '1' second chart
  friend bool operator==(const VisibleRun&, const VisibleRun&) = default;
};

// One segment of a line to draw, in degrees (longitude, latitude).
struct LineSegment {
  int line = 0;
  double lon1 = 0.0, lat1 = 0.0, lon2 = 0.0, lat2 = 0.0;
};

// A crossing of two lines: where two bodies are angular at the same place at the chart's moment.
struct Crossing {
  std::uint8_t firstBody = 0;  // chart point of the horizon line
  char firstAngle = 'A';       // 'A' rising, 'D' setting
  std::uint8_t secondBody = 0;
  char secondAngle = 'A';  // 'A' or 'D' (horizon with horizon), 'M' or 'I' (with a meridian)
  std::int32_t latitude = 0, longitude = 0;  // arc-seconds, north and east positive
  std::int32_t upper = 0, lower = 0;         // the latitude band of the orb, arc-seconds
  friend bool operator==(const Crossing&, const Crossing&) = default;
};

class ACLines {
 public:
  static constexpr int kPointFlagCount = 30;
  static constexpr int kNorthNode = 16, kSouthNode = 17;
  static constexpr int kMaxDensity = 50;
  static constexpr int kDegreesSampled = 361;

  // Crossing modes: the first chart's lines among themselves, the second chart's among
  // themselves, and each line of the first chart with each line of the second.
  enum CrossingMode { kFirstChart = 0, kSecondChart = 1, kBetweenCharts = 2 };

  // Chooses the bodies (choice 1: Sun..Pluto; 2: the points the chart display shows, the nodes
  // excepted; any other: none), adds the North and South node when `nodes`, and makes room for
  // the lines of two charts at `density` samples per degree (brought into 1..50). With no body
  // nothing is held.
  void Init(int choice, bool nodes, int density, const Configuration& config);
  // Computes the lines of `chart` into the first half (0) or the second half (1) of the store,
  // stepping `progress` per line. Half 1 makes the store hold two charts. False, with that half
  // left without lines, when the run was cancelled or the half does not exist.
  bool Calculate(const Chart& chart, bool withLatitude, int half, platform::ProgressSink& progress);
  // Drops the lines and the crossings.
  void Free();

  int LineCount() const { return twoCharts_ ? 2 * perChart_ : perChart_; }
  int LinesPerChart() const { return perChart_; }
  bool TwoCharts() const { return twoCharts_; }
  int Density() const { return density_; }
  int SampleCount() const { return kDegreesSampled * density_; }
  const std::array<char, kPointFlagCount>& PointFlags() const { return flags_; }

  // The chart point of line k; for a second-chart line that of the same body of the first chart;
  // -1 for no such line.
  int GetPointOfLine(int k) const;
  // 0 for a first-chart line, 1 for a second-chart line.
  int ChartOfLine(int k) const { return perChart_ > 0 && k >= perChart_ ? 1 : 0; }
  double Sample(int k, int s) const { return samples_[Index(k, s)]; }
  std::span<const double> Samples(int k) const;
  double Mc(int k) const { return mc_[static_cast<std::size_t>(k)]; }
  double Ic(int k) const { return ic_[static_cast<std::size_t>(k)]; }
  int TopSample(int k) const { return top_[static_cast<std::size_t>(k)]; }
  int BottomSample(int k) const { return bottom_[static_cast<std::size_t>(k)]; }
  double BodyLongitude(int k) const { return body_[static_cast<std::size_t>(k)]; }
  // The moment of the chart of half 0 or 1.
  const LineMoment& Moment(int half) const { return moments_[half == 0 ? 0 : 1]; }

  // Sets line k from lines computed elsewhere: its samples (one per sample index, the rest
  // absent), its MC longitude and its body's ecliptic longitude; the IC and the extremes follow.
  // Between its samples the line is taken as straight.
  void SetLine(int k, std::span<const double> samples, double mc, double eclipticLongitude);
  void SetMoment(int half, const LineMoment& moment) {
    moments_[half == 0 ? 0 : 1] = moment;
    Changed();
  }
  void SetTwoCharts(bool two) {
    twoCharts_ = two && perChart_ > 0;
    Changed();
  }

  // A stamp of the lines as they are, taken afresh from one counter of the whole program at
  // every change of the lines (the crossings aside): two stores with one stamp hold the same
  // lines. What a drawing derives from the lines alone it keeps under the stamp (LineSignCache).
  std::uint64_t Revision() const { return revision_; }

  // The longitude of sample s.
  double SampleLongitude(int s) const { return s / static_cast<double>(density_) - 180.0; }
  // The latitude of line k at any longitude in [-180, 180 + 1 / density]: computed for a line of
  // Calculate, interpolated between the samples of a line of SetLine; -777.0 where it is absent.
  double LatitudeAt(int k, double longitude) const;
  // trunc((longitude + 180) x density), plus 1 when `upper`, kept within the samples.
  int LongitudeToSample(double longitude, bool upper) const;
  // The first sample whose longitude is not below `longitude` (the last when none); when its
  // longitude differs and not `upper`, the sample before it.
  int FindSampleIndex(double longitude, bool upper) const;
  // Per line, the runs of samples between the window's west and east whose latitude lies
  // strictly inside the window.
  std::vector<VisibleRun> CollectVisibleRuns(const MapWindow& window) const;

  // The sample step of drawing: 5 on the world map and 2 on a regional map shown at full extent,
  // 1 in a zoomed window.
  static int DrawStep(const MapWindow& window, const MapWindow& fullExtent, bool worldMap);
  // The segments that draw every line into the window with samples `step` apart: the horizon
  // lines clipped at the window's north and south edges, the MC and IC lines as meridians from
  // the window's north edge to its south edge.
  std::vector<LineSegment> CollectSegments(const MapWindow& window, int step) const;
  // Draws the segments with a solid pen per line in the colour of the line's body; `project`
  // turns degrees into logical points.
  void Draw(platform::Dc& dc, const MapWindow& window, int step,
            const std::function<platform::Color(int point)>& colourOfPoint,
            const std::function<platform::Point(double lon, double lat)>& project) const;
  // The same with the pen of each line's body.
  void DrawWithPens(platform::Dc& dc, const MapWindow& window, int step,
                    const std::function<platform::Pen(int point)>& penOfPoint,
                    const std::function<platform::Point(double lon, double lat)>& project) const;

  // Builds the crossings of the mode's line pairs (any earlier list is replaced): all horizon
  // with horizon crossings first, then the horizon with meridian ones. The orb, latitude limit
  // and band mode come from the settings. Two horizon lines cross between the two samples where
  // the difference of their latitudes changes sign, at the longitude where it is zero (solved to
  // well below an arc-second); a horizon line meets a meridian at the meridian's own longitude.
  // Lines of ecliptic degrees of one moment all meet where the ecliptic lies in the horizon;
  // those meetings are no crossings of two bodies and are not listed.
  void FindCrossings(int mode, const AstroCartPage& settings);
  const std::vector<Crossing>& Crossings() const { return crossings_; }
  int CrossingCount() const { return static_cast<int>(crossings_.size()); }
  void DeleteLastCrossing() {
    if (!crossings_.empty()) crossings_.pop_back();
  }

 private:
  // The crossing search (ac_crossings.cpp).
  // Tests sample s of horizon lines i and j: 0 when a crossing was appended, -1 when there is
  // none at this sample, -2 when the pair has no crossings at all.
  int DefineACDCCross(int mode, int i, int j, int s, double& previous,
                      const AstroCartPage& settings);
  // The crossing of horizon line i with the MC ('M') or IC ('I') line of line m: 0 when
  // appended, -2 when there is none.
  int DefineMCICCross(int mode, int i, int m, char kind, const AstroCartPage& settings);
  // Whether line k is a line of an ecliptic degree (without latitude) and the place is one of
  // the two where its moment's ecliptic lies in the horizon. Every such line passes through both,
  // so two of them of one moment meet there whatever their bodies (and nowhere else): every
  // degree is on the horizon there, none is the pair's, and the crossing is left out.
  bool AtEclipticHorizon(int k, double longitude, double latitude) const;
  double WalkBand(int i, int j, int s, double orbDeg, bool up) const;
  // The longitude in [lon0, lon1] where the latitudes of lines i and j are equal, their
  // difference being d0 at lon0 and d1 at lon1 (of opposite signs, or one of them zero).
  double SolveCrossing(int i, int j, double lon0, double d0, double lon1, double d1) const;

  std::size_t Index(int k, int s) const {
    return static_cast<std::size_t>(k) * static_cast<std::size_t>(SampleCount()) +
           static_cast<std::size_t>(s);
  }
  void FinishLine(int k);
  void Changed();
  void ClearHalf(int half);
  int HalfOfLine(int k) const { return ChartOfLine(k); }
  // 'A' when the body of line k rises at geographic longitude `longitude` (its hour angle lies
  // east of the meridian), 'D' when it sets.
  char AngleAt(int k, double longitude) const;

  std::array<char, kPointFlagCount> flags_{};
  std::vector<int> points_;  // the chart point of each line of one chart
  int perChart_ = 0;
  int density_ = 10;
  bool twoCharts_ = false;
  std::vector<double> samples_;  // 2 x perChart_ lines of SampleCount() samples
  std::vector<double> mc_, ic_, body_;
  std::vector<LineBody> model_;  // per line; an absent longitude: interpolate the samples
  std::vector<int> top_, bottom_;
  std::array<LineMoment, 2> moments_{};
  std::vector<Crossing> crossings_;
  std::uint64_t revision_ = 0;
};
