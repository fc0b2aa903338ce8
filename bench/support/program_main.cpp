// The main of every benchmark program. The benchmarks run in the state the program's computations
// meet in the window: the application created, a window painted and a time zone read (what the
// program does before the user's first command), and painted again before each benchmark, since
// each command of the program follows some painting. Whatever that state costs a computation (the
// upper halves of the vector registers, foundation/numbers/vector_state.h, left in use after each
// painting), the figures show it.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDateTime>
#include <QFont>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTimeZone>
#include <QVBoxLayout>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "foundation/numbers/vector_state.h"

namespace {

// Leaves the upper halves of this thread's vector registers in use, where the processor has them
// (AVX, the system saving them: the compiler's check covers both). Whether the painting leaves
// them so depends on the processor and the paths Qt takes on it; the program's computations meet
// them in use on some machine, so every benchmark starts from that state. The instruction is
// written in assembly inside code compiled without AVX, where the compiler adds no vzeroupper.
void DirtyUpperHalves() {
#if defined(__x86_64__)
  __builtin_cpu_init();
  if (__builtin_cpu_supports("avx") == 0) return;
  __asm__ volatile("vpcmpeqd %%ymm0, %%ymm0, %%ymm0" ::: "xmm0");
#endif
}

// A small window of the kinds the program shows (a label, a field, a button), painted into an
// image, and the offset of a time zone at the present moment.
class ProgramState {
 public:
  ProgramState() {
    QFont font("DejaVu Sans");
    font.setPointSize(10);
    window_.setFont(font);
    auto* layout = new QVBoxLayout(&window_);
    layout->addWidget(new QLabel(QString::fromUtf8("Москва 55°45' с.ш. 37°37' в.д.")));
    layout->addWidget(new QLineEdit(QStringLiteral("13.05.1990 14:30")));
    layout->addWidget(new QPushButton(QStringLiteral("OK")));
    window_.resize(320, 160);
  }

  void Paint() {
    QImage image(window_.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    window_.render(&image);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.drawEllipse(QRectF(10.5, 10.5, 140.0, 140.0));
    painter.end();
    const QTimeZone zone("Europe/Moscow");
    offset_ += zone.offsetFromUtc(QDateTime::currentDateTimeUtc());
    DirtyUpperHalves();
  }

 private:
  QWidget window_;
  long offset_ = 0;
};

// The default display, each benchmark's figures followed by the painting that precedes the next.
class PaintBetween final : public benchmark::BenchmarkReporter {
 public:
  explicit PaintBetween(ProgramState& state)
      : state_(state), display_(benchmark::CreateDefaultDisplayReporter()) {}

  bool ReportContext(const Context& context) override { return display_->ReportContext(context); }
  void ReportRuns(const std::vector<Run>& report) override {
    display_->ReportRuns(report);
    state_.Paint();
  }
  void Finalize() override { display_->Finalize(); }

 private:
  ProgramState& state_;
  std::unique_ptr<benchmark::BenchmarkReporter> display_;
};

}  // namespace

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  ProgramState state;
  state.Paint();
  // Read at once: the library's own code (its copies of names and figures) may clear them again
  // before a benchmark begins, as the program's may between a paint and a command.
  std::fprintf(stderr, "the vector registers' upper halves after painting: %s\n",
               !VectorStateVisible()     ? "not visible on this processor"
               : VectorUpperStateInUse() ? "in use"
                                         : "unused");
  PaintBetween reporter(state);
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
