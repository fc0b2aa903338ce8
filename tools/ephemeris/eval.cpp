// Evaluation program: reads "TT Julian day<TAB>point<TAB>variant" rows on standard input
// (variant "true" or "mean" for points 16..19, "-" otherwise) and prints
// "TT Julian day<TAB>point<TAB>variant<TAB>longitude<TAB>latitude<TAB>longitude speed".
//
//   ephemeris_eval [TABLES]     (default: data/velm.str of the source tree)
//
// Rows that cannot be read are reported on standard error with their line number and skipped.
// The tables are read when the first row inside their span comes (rows outside it never need
// them), and the rows are written through the buffered standard output, not one write a row.
#include <sys/types.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "astro/ephemeris/ephemeris.h"

namespace {

// The tables, read at the first row that falls inside their span.
class LazyTables {
 public:
  explicit LazyTables(std::string file) : file_(std::move(file)) {
    std::ifstream in(file_, std::ios::binary);
    std::string head(kTablesHeadBytes, '\0');
    if (!in.read(head.data(), static_cast<std::streamsize>(head.size())) ||
        !ParseTablesSpan(head, file_, first_, last_).ok())
      Load();  // the whole load names the fault
  }

  const Ephemeris& For(double jdTt) {
    if (!loaded_ && jdTt >= first_ && jdTt <= last_) Load();
    return ephemeris_;
  }

 private:
  void Load() {
    loaded_ = true;
    if (const Status st = ephemeris_.Load(file_); !st.ok())
      std::fprintf(stderr, "%s: cannot load the tables (error %d, detail %d); the theories serve\n",
                   file_.c_str(), st.ErrorCode(), st.Detail());
  }

  std::string file_;
  double first_ = 0.0, last_ = -1.0;
  bool loaded_ = false;
  Ephemeris ephemeris_;
};

// The lines of standard input without their line breaks, read through one buffer.
class LineReader {
 public:
  LineReader() = default;
  LineReader(const LineReader&) = delete;
  LineReader& operator=(const LineReader&) = delete;
  ~LineReader() { std::free(buffer_); }

  bool Next(std::string& line) {
    const ssize_t length = ::getline(&buffer_, &capacity_, stdin);
    if (length < 0) return false;
    line.assign(buffer_, static_cast<std::size_t>(length));
    if (!line.empty() && line.back() == '\n') line.pop_back();
    return true;
  }

 private:
  char* buffer_ = nullptr;
  std::size_t capacity_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
  LazyTables tables(argc > 1 ? argv[1] : std::string(VELM_SOURCE_DIR) + "/data/velm.str");
  LineReader input;
  std::string line;
  int lineNumber = 0;
  while (input.Next(line)) {
    ++lineNumber;
    if (line.empty() || line[0] == '#') continue;
    std::istringstream in(line);
    std::string jdText, pointText, variant;
    std::getline(in, jdText, '\t');
    std::getline(in, pointText, '\t');
    std::getline(in, variant, '\t');
    if (!variant.empty() && variant.back() == '\r') variant.pop_back();
    if (jdText.empty() || pointText.empty() || variant.empty()) {
      std::fprintf(stderr, "line %d: expected three tab-separated fields\n", lineNumber);
      continue;
    }
    double jd = 0.0;
    int point = -1;
    try {
      jd = std::stod(jdText);
      point = std::stoi(pointText);
    } catch (const std::exception&) {
      std::fprintf(stderr, "line %d: unreadable Julian day or point\n", lineNumber);
      continue;
    }
    if (!IsBody(point) || (variant != "-" && variant != "true" && variant != "mean")) {
      std::fprintf(stderr, "line %d: point must be 0..29 and variant true, mean or -\n",
                   lineNumber);
      continue;
    }
    const BodyPosition p = tables.For(jd).Position(
        point, JdTt{jd}, variant == "mean" ? LunarVariant::Mean : LunarVariant::True);
    std::printf("%s\t%d\t%s\t%.9f\t%.9f\t%.10f\n", jdText.c_str(), point, variant.c_str(),
                p.longitude, p.latitude, p.speed);
  }
  return 0;
}
