// Printing and picture output: the demo page (every glyph of both faces in a grid, a page frame,
// longitudes in every layout and a Russian title) written as PDF, PNG and SVG.
#include "platform/qt/page_output.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QByteArray>
#include <QDialog>
#include <QElapsedTimer>
#include <QImage>
#include <QPrintPreviewWidget>
#include <QTimer>
#include <cstdlib>
#include <functional>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "foundation/drawing/glyph_drawing.h"
#include "foundation/drawing/glyph_file.h"
#include "foundation/drawing/longitude_drawing.h"
#include "foundation/drawing/page_frame.h"
#include "foundation/drawing/palette.h"
#include "foundation/text/cp1251.h"
#include "platform/core/glyph_set.h"
#include "support/test_support.h"

namespace {

using testing_support::TempFolder;

constexpr char kTitleUtf8[] = "ГОРОСКОП: ОБРАЗЕЦ";

// Installs the shipped glyph outlines for the test program.
const platform::GlyphSet& ShippedGlyphs() {
  static platform::GlyphSet set;
  static const bool loaded = [] {
    const Status st = LoadGlyphSet(testing_support::SourceDir() / "data" / "velm.gly", set);
    EXPECT_TRUE(st.ok()) << st.ErrorCode() << " " << st.Detail();
    platform::InstallGlyphs(&set);
    return st.ok();
  }();
  EXPECT_TRUE(loaded);
  return set;
}

// The demo page: margins of 1 cm, the frame, a title, the ornament, the glyph grid and longitudes.
void DrawDemoPage(platform::Dc& dc, int /*page*/) {
  const std::array<int, 4> margins{1000, 1000, 1000, 1000};
  dc.SelectPen({platform::PenStyle::Solid, 20, platform::kBlack});
  DrawPageFrame(dc, margins, {0, 0, 0, 0}, true);
  dc.SetBkMode(platform::BkMode::Transparent);

  platform::Font title;
  title.pointSize = 4000;
  dc.SelectFont(title);
  dc.SetTextAlign(platform::TextAlign::kCenter | platform::TextAlign::kTop);
  dc.TextOut(10500, -1600, Cp1251(kTitleUtf8));
  platform::Font ornament{std::string(platform::kGlyphFaceA), 6000};
  dc.SelectFont(ornament);
  dc.SetTextAlign(platform::TextAlign::kRight | platform::TextAlign::kTop);
  dc.TextOut(20300 - 1000, -1250, glyphs::kOrnament);

  dc.SetTextAlign(platform::TextAlign::kLeft | platform::TextAlign::kBaseline);
  int row = 0;
  for (int face = 0; face < 2; ++face) {
    const std::vector<unsigned char> codes = RequiredGlyphCodes(face);
    for (std::size_t i = 0; i < codes.size(); ++i) {
      const int x = 1600 + static_cast<int>(i % 12) * 1500;
      const int y = -4500 - (row + static_cast<int>(i / 12)) * 1500;
      dc.SetTextColor(ColorByIndex(face == 0 ? 1 : 12));
      DrawGlyphText(dc, x, y, static_cast<char>(codes[i]), face == 0 ? 'a' : 'b', 6000,
                    platform::BkMode::Transparent);
    }
    row += static_cast<int>((codes.size() + 11) / 12);
  }
  dc.SetTextColor(platform::kBlack);
  const double values[] = {0.0, 125.1189, 359.9999, -12.5};
  int y = -4500 - row * 1500 - 500;
  for (double v : values) {
    for (int layout = 0; layout < 4; ++layout)
      DrawLongitudeGlyph(dc, 3000, v, 1600 + layout * 4500, y, layout);
    y -= 900;
  }
  dc.SelectFont(platform::Font{std::string(platform::kGlyphFaceA), 3000});
  DrawRulerGlyph(dc, 1600, y, 9);
}

// Writes the demo page where a person can look at it, when VELM_DEMO_DIR names a folder.
void WriteToDemoFolder(const std::string& name,
                       const std::function<Status(const std::filesystem::path&)>& write) {
  if (const char* dir = std::getenv("VELM_DEMO_DIR")) {
    std::filesystem::create_directories(dir);
    EXPECT_TRUE(write(std::filesystem::path(dir) / name).ok());
  }
}

// A zlib stream inflated (empty when it is not one); qUncompress wants the size first, and grows
// its buffer when the guess is short.
std::string Inflate(const std::string& in) {
  if (in.empty() || static_cast<unsigned char>(in[0]) != 0x78) return {};
  QByteArray data;
  const quint32 guess = static_cast<quint32>(in.size() * 8 + 64);
  for (int shift = 24; shift >= 0; shift -= 8)
    data.append(static_cast<char>((guess >> shift) & 0xFF));
  data.append(in.data(), static_cast<qsizetype>(in.size()));
  const QByteArray out = qUncompress(data);
  return out.toStdString();
}

// The bodies of every stream of a PDF, inflated where they are compressed.
std::vector<std::string> Streams(const std::string& pdf) {
  std::vector<std::string> out;
  for (std::size_t pos = 0; (pos = pdf.find("stream\n", pos)) != std::string::npos;) {
    if (pos >= 3 && pdf.compare(pos - 3, 3, "end") == 0) {
      pos += 7;
      continue;
    }
    const std::size_t begin = pos + 7;
    const std::size_t end = pdf.find("endstream", begin);
    if (end == std::string::npos) break;
    const std::string raw = pdf.substr(begin, end - begin);
    const std::string inflated = Inflate(raw);
    out.push_back(inflated.empty() ? raw : inflated);
    pos = end;
  }
  return out;
}

unsigned Hex(const std::string& h) { return static_cast<unsigned>(std::stoul(h, nullptr, 16)); }

// The text a PDF shows with Tj (the form this PDF writer uses), through the fonts' ToUnicode maps:
// good enough to find a title in a test page, not a general text extractor.
std::u16string PdfText(const std::string& pdf) {
  std::map<unsigned, char16_t> toUnicode;
  std::vector<std::string> content;
  static const std::regex range(
      R"(<([0-9A-Fa-f]+)>\s*<([0-9A-Fa-f]+)>\s*(<([0-9A-Fa-f]+)>|\[([^\]]*)\]))");
  static const std::regex hexItem(R"(<([0-9A-Fa-f]+)>)");
  static const std::regex shown(R"(<([0-9A-Fa-f]+)>\s*Tj)");
  for (const std::string& s : Streams(pdf)) {
    const std::size_t b = s.find("beginbfrange");
    if (b != std::string::npos) {
      const std::string block = s.substr(b, s.find("endbfrange", b) - b);
      for (std::sregex_iterator it(block.begin(), block.end(), range), e; it != e; ++it) {
        unsigned first = Hex((*it)[1]), last = Hex((*it)[2]);
        if ((*it)[4].matched) {
          for (unsigned c = first; c <= last; ++c)
            toUnicode[c] = static_cast<char16_t>(Hex((*it)[4]) + (c - first));
        } else {
          const std::string list = (*it)[5];
          unsigned c = first;
          for (std::sregex_iterator h(list.begin(), list.end(), hexItem); h != e && c <= last; ++h)
            toUnicode[c++] = static_cast<char16_t>(Hex((*h)[1]));
        }
      }
    } else {
      content.push_back(s);
    }
  }
  std::u16string text;
  for (const std::string& s : content)
    for (std::sregex_iterator it(s.begin(), s.end(), shown), e; it != e; ++it) {
      const std::string hex = (*it)[1];
      for (std::size_t i = 0; i + 4 <= hex.size(); i += 4) {
        const auto found = toUnicode.find(Hex(hex.substr(i, 4)));
        if (found != toUnicode.end() && found->second > 0x20) text += found->second;
      }
    }
  return text;
}

std::u16string WithoutBlanks(const QString& s) {
  std::u16string out;
  for (QChar c : s)
    if (!c.isSpace()) out += static_cast<char16_t>(c.unicode());
  return out;
}

int CountMatches(const std::string& text, const std::regex& re) {
  return static_cast<int>(
      std::distance(std::sregex_iterator(text.begin(), text.end(), re), std::sregex_iterator()));
}

TEST(PageOutput, DemoPdfHasOneA4PageWithTheRussianTitleAsText) {
  ShippedGlyphs();
  TempFolder folder;
  const auto path = folder / "demo.pdf";
  ASSERT_TRUE(platform::WritePdf(path, "demo", 1, DrawDemoPage).ok());
  WriteToDemoFolder("demo.pdf", [](const std::filesystem::path& p) {
    return platform::WritePdf(p, "demo", 1, DrawDemoPage);
  });
  const std::string pdf = testing_support::ReadFile(path);
  EXPECT_EQ(CountMatches(pdf, std::regex(R"(/Type\s*/Page[^s])")), 1);
  // A4 is 595.28 x 841.89 points.
  std::smatch box;
  ASSERT_TRUE(
      std::regex_search(pdf, box, std::regex(R"(/MediaBox\s*\[\s*0\s+0\s+([0-9.]+)\s+([0-9.]+))")));
  EXPECT_NEAR(std::stod(box[1]), 595.28, 1.0);
  EXPECT_NEAR(std::stod(box[2]), 841.89, 1.0);
  EXPECT_NE(PdfText(pdf).find(WithoutBlanks(QString::fromUtf8(kTitleUtf8))), std::u16string::npos);
}

TEST(PageOutput, PagesOfADocumentEachGetAPaperPage) {
  TempFolder folder;
  const auto path = folder / "three.pdf";
  std::vector<int> drawn;
  ASSERT_TRUE(platform::WritePdf(path, "three", 3, [&](platform::Dc& dc, int page) {
                drawn.push_back(page);
                EXPECT_TRUE(dc.IsPrinting());
                EXPECT_EQ(dc.GetMapMode(), platform::MapMode::HiMetric);
              }).ok());
  EXPECT_EQ(drawn, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(CountMatches(testing_support::ReadFile(path), std::regex(R"(/Type\s*/Page[^s])")), 3);
}

bool Dark(const QImage& image, int x, int y) { return image.pixelColor(x, y).lightness() < 160; }

TEST(PageOutput, DemoPngShowsTheFrameAtTheMarginsAndEveryGlyph) {
  ShippedGlyphs();
  TempFolder folder;
  constexpr int kDpi = 150;  // 1000 units (10 mm) = 59.06 pixels
  ASSERT_TRUE(platform::WritePagePng(folder / "demo.png", 1, kDpi, DrawDemoPage).ok());
  WriteToDemoFolder("demo.png", [](const std::filesystem::path& p) {
    return platform::WritePagePng(p, 1, kDpi, DrawDemoPage);
  });
  QImage image;
  ASSERT_TRUE(image.load(QString::fromStdString((folder / "demo.png").string())));
  EXPECT_EQ(image.width(), 1240);   // 210 mm
  EXPECT_EQ(image.height(), 1754);  // 297 mm
  // The frame's left and right edges at 10 mm from the paper's sides, half-way down the page.
  const int midY = image.height() / 2;
  EXPECT_TRUE(Dark(image, 59, midY));
  EXPECT_FALSE(Dark(image, 54, midY));
  EXPECT_TRUE(Dark(image, image.width() - 60, midY));
  // Its top edge 10 mm below the paper's top, away from the rounded corners.
  EXPECT_TRUE(Dark(image, image.width() / 2, 59));
  EXPECT_FALSE(Dark(image, image.width() / 2, 52));
  // The title, drawn centred by its top at 16 mm (94.5 pixels), hangs below that line: an em of
  // 4000 x 96 / 720 = 533 units (31.5 pixels), capitals about 23 pixels high under the ascent.
  const auto inkInRows = [&](int top, int bottom) {
    for (int y = top; y <= bottom; ++y)
      for (int x = 300; x < 900; ++x)
        if (Dark(image, x, y)) return true;
    return false;
  };
  EXPECT_FALSE(inkInRows(62, 94));
  EXPECT_TRUE(inkInRows(95, 130));
  EXPECT_FALSE(inkInRows(135, 200));
  // Every cell of the glyph grid has ink: 1500 units = 88.6 pixels a cell, glyphs of 6000
  // (8 mm) on baselines 45 mm + 15 mm x row below the top, from 16 mm.
  const auto inkIn = [&](QRect r) {
    for (int y = r.top(); y <= r.bottom(); ++y)
      for (int x = r.left(); x <= r.right(); ++x)
        if (Dark(image, x, y)) return true;
    return false;
  };
  int row = 0;
  for (int face = 0; face < 2; ++face) {
    const int count = static_cast<int>(RequiredGlyphCodes(face).size());
    for (int i = 0; i < count; ++i) {
      const double xMm = 16 + (i % 12) * 15, baseMm = 45 + (row + i / 12) * 15;
      const auto px = [&](double mm) { return static_cast<int>(mm / 25.4 * kDpi); };
      EXPECT_TRUE(
          inkIn(QRect(QPoint(px(xMm), px(baseMm - 7)), QPoint(px(xMm + 9), px(baseMm + 1)))))
          << "face " << face << " glyph " << i;
    }
    row += (count + 11) / 12;
  }
}

TEST(PageOutput, DemoSvgIsWritten) {
  ShippedGlyphs();
  TempFolder folder;
  ASSERT_TRUE(platform::WritePageSvg(folder / "demo.svg", 1, DrawDemoPage).ok());
  WriteToDemoFolder("demo.svg", [](const std::filesystem::path& p) {
    return platform::WritePageSvg(p, 1, DrawDemoPage);
  });
  const std::string svg = testing_support::ReadFile(folder / "demo.svg");
  EXPECT_NE(svg.find("<svg"), std::string::npos);
  EXPECT_NE(svg.find("<path"), std::string::npos);  // the glyphs are filled paths
}

TEST(PageOutput, WithoutAPrinterThePagesGoToAChosenPdfFile) {
  TempFolder folder;
  testing_support::ScriptedPrompter prompts;
  prompts.ExpectFile((folder / "chosen").string());  // ".pdf" is added
  int pages = 0;
  EXPECT_TRUE(platform::PrintToChosenPdf("t", "n", 2, [&](platform::Dc&, int) { ++pages; }));
  EXPECT_EQ(pages, 2);
  EXPECT_TRUE(std::filesystem::exists(folder / "chosen.pdf"));

  prompts.ExpectFile("");  // cancelled
  EXPECT_FALSE(platform::PrintToChosenPdf("t", "n", 1, DrawDemoPage));
  prompts.ExpectFile("/nonexistent-folder/x.pdf");
  EXPECT_FALSE(platform::PrintToChosenPdf("t", "n", 1, DrawDemoPage));
  EXPECT_EQ(prompts.shown.size(), 1u);  // the failure was reported
  prompts.VerifyAllUsed();
}

TEST(PageOutput, ThePrintPreviewDrawsThePagesAsPrintingAtThePagesWidth) {
  std::vector<int> drawn;
  bool printing = true;
  int zoomMode = -1;
  bool fitWidthMarked = false;
  // The preview is modal: closed once it has drawn both pages, or after 10 seconds.
  QTimer closer;
  closer.setInterval(50);
  QElapsedTimer clock;
  clock.start();
  QObject::connect(&closer, &QTimer::timeout, [&] {
    if (drawn.size() < 2 && clock.elapsed() < 10000) return;
    if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
      if (const auto* preview = dialog->findChild<QPrintPreviewWidget*>())
        zoomMode = preview->zoomMode();
      if (const auto* fit = dialog->findChild<QAction*>(QStringLiteral("fitWidthAction")))
        fitWidthMarked = fit->isChecked();
      dialog->reject();
    }
  });
  closer.start();
  platform::ShowPrintPreview(nullptr, 2, [&](platform::Dc& dc, int page) {
    drawn.push_back(page);
    printing = printing && dc.IsPrinting();
    DrawDemoPage(dc, page);
  });
  ASSERT_GE(drawn.size(), 2u);
  EXPECT_EQ(drawn[0], 1);
  EXPECT_EQ(drawn[1], 2);
  EXPECT_TRUE(printing);
  EXPECT_EQ(zoomMode, QPrintPreviewWidget::FitToWidth);
  EXPECT_TRUE(fitWidthMarked);
}

TEST(PageOutput, AnUnwritablePdfIsReportedAsError105) {
  const Status st = platform::WritePdf("/nonexistent-folder/x.pdf", "x", 1, DrawDemoPage);
  EXPECT_EQ(st.ErrorCode(), kErrCannotCreate);
}

TEST(PageOutput, APdfIsOfferedUnderTheNameItIsGiven) {
  testing_support::ScriptedPrompter prompts;
  struct Case {
    const char* name;     // UTF-8
    const char* offered;  // the file name offered
  };
  const Case cases[] = {
      {"Иванов", "Иванов.pdf"},
      {" Иванов/Петров ", "Иванов_Петров.pdf"},  // no folder made of a name
      {"", "velm.pdf"},
  };
  for (const Case& k : cases) {
    prompts.ExpectFile("");
    EXPECT_FALSE(platform::PrintToChosenPdf("t", k.name, 1, DrawDemoPage));
    ASSERT_FALSE(prompts.fileChoices.empty());
    const std::filesystem::path offered = prompts.fileChoices.back().path;
    EXPECT_EQ(offered.filename().string(), k.offered) << k.name;
    EXPECT_TRUE(std::filesystem::is_directory(offered.parent_path())) << k.name;
  }
}

}  // namespace
