// Recognition and counting of archive files, the reference block, the index built from a file.
#include "archive_fixture.h"

namespace archive_test {
namespace {

std::string Int32(std::int32_t v) {
  BinaryWriter w;
  w.I32(v);
  return w.Take();
}

struct RecognitionCase {
  const char* name;
  const char* file;
  std::string bytes;
  int layout;
  std::int64_t records;
  bool damaged;
};

TEST_F(ArchiveTest, RecognitionOfFiles) {
  const std::string zeros1767(1767, '\0');
  const RecognitionCase cases[] = {
      {"empty_file_is_layout_4000", "a.arc", "", kLayout4000, 0, false},
      {"one_4000_record", "b.arc", zeros1767, kLayout4000, 1, false},
      {"upper_case_extension", "C.ARC", zeros1767 + zeros1767, kLayout4000, 2, false},
      {"header_4400_alone", "d.arc", Int32(4400), kLayout4400, 0, false},
      {"header_4200_alone", "e.arc", Int32(4200), kLayout4200, 0, false},
      {"header_4000_alone_is_no_archive", "f.arc", Int32(4000), kNotArchive, 0, false},
      {"other_extension", "g.arx", Int32(4400), kNotArchive, 0, false},
      {"other_extension_empty", "h.arx", "", kNotArchive, 0, false},
      {"length_fits_nothing", "i.arc", std::string(5, '\0'), kNotArchive, 0, false},
      {"one_4200_record", "j.arc", Int32(4200) + std::string(1776, 'x'), kLayout4200, 1, false},
      {"one_4400_record", "k.arc", Int32(4400) + std::string(1836, 'x'), kLayout4400, 1, false},
      {"unknown_header", "l.arc", Int32(1234) + std::string(1776, 'x'), kNotArchive, 0, false},
      // The header decides; a length of the other layout marks the file damaged.
      {"header_4200_length_of_4400", "m.arc", Int32(4200) + std::string(2 * 1836, 'x'), kLayout4200,
       2, true},
      {"header_4400_length_of_4200", "n.arc", Int32(4400) + std::string(1776, 'x'), kLayout4400, 0,
       true},
  };
  for (const RecognitionCase& c : cases) {
    WriteFile(PathOf(c.file), c.bytes);
    const ArchiveFileInfo info = InspectArchiveFile(PathOf(c.file));
    EXPECT_EQ(info.layout, c.layout) << c.name;
    EXPECT_EQ(info.records, c.records) << c.name;
    EXPECT_EQ(info.damaged, c.damaged) << c.name;
    EXPECT_EQ(Archive::IfRealArchive(PathOf(c.file)), c.layout) << c.name;
    EXPECT_EQ(Archive::IsArchiveFile(PathOf(c.file)), c.layout == kNotArchive ? 0 : 1) << c.name;
  }
  EXPECT_EQ(Archive::IfRealArchive(PathOf("missing.arc")), kCannotOpen);
  EXPECT_EQ(Archive::IsArchiveFile(PathOf("missing.arc")), 0);
  std::filesystem::create_directory(PathOf("folder.arc"));
  EXPECT_EQ(Archive::IsArchiveFile(PathOf("folder.arc")), 0);
}

TEST_F(ArchiveTest, SetPathRefusesWhatIsNoArchive) {
  WriteFile(PathOf("good.arc"), Int32(4400));
  WriteFile(PathOf("bad.arc"), "abc");
  EXPECT_EQ(archive_.SetPath(PathOf("good.arc")), kLayout4400);
  EXPECT_EQ(archive_.SetPath(PathOf("bad.arc")), -1);
  EXPECT_EQ(archive_.GetPath(), PathOf("good.arc"));
  EXPECT_EQ(archive_.LayoutCode(), kLayout4400);
}

TEST(ArchiveLayout, OffsetsCountsAndCommentFileNames) {
  EXPECT_EQ(RecordOffset(kLayout4000, 3), 3 * 1767);
  EXPECT_EQ(RecordOffset(kLayout4200, 3), 4 + 3 * 1776);
  EXPECT_EQ(RecordOffset(kLayout4400, 3), 4 + 3 * 1836);
  EXPECT_EQ(CountRecords(kLayout4400, 4 + 5 * 1836), 5);
  EXPECT_EQ(CountRecords(kLayout4200, 4 + 2 * 1836), 2);  // (3676 - 4) / 1776
  EXPECT_EQ(ArchiveCommentFileName("/x/NAME.arc", 0).string(), "/x/NAME.ar0");
  EXPECT_EQ(ArchiveCommentFileName("/x/NAME.ARC", 9).string(), "/x/NAME.AR9");
}

TEST(ArchiveLayout, ReferenceBlockIsSixtyBytesOffsetsThenLengths) {
  const CommentRefBlock block = Block({{0, 0x01020304u, 7}, {9, 5, 0x1234}});
  BinaryWriter w;
  block.Write(w);
  const std::string& b = w.Data();
  ASSERT_EQ(b.size(), 60u);
  EXPECT_EQ(b.substr(0, 4), std::string("\x04\x03\x02\x01", 4));
  EXPECT_EQ(b.substr(36, 4), std::string("\x05\0\0\0", 4));
  EXPECT_EQ(b.substr(40, 2), std::string("\x07\0", 2));
  EXPECT_EQ(b.substr(42, 2), "\xFF\xFF");  // page 1: no text
  EXPECT_EQ(b.substr(58, 2), "\x34\x12");
  BinaryReader in(b);
  CommentRefBlock back;
  back.Read(in);
  EXPECT_EQ(back, block);
  // Lengths of 32768 and more read as no text.
  EXPECT_TRUE(Block({{2, 0, 32767}}).HasText(2));
  EXPECT_FALSE(Block({{2, 0, 40000}}).HasText(2));
  EXPECT_FALSE(CommentRefBlock().HasAnyText());
}

TEST_F(ArchiveTest, IndexEntriesComeFromTheBaseSource) {
  Chart transit = MakeChart("Second", 9, 10, 2001);
  transit.definition.sources[0].SetName("First");
  transit.definition.SetKind(kChartTransit);  // base: the second Source
  transit.definition.sources[1] = MakeChart("Second", 9, 10, 2001).definition.sources[0];
  ASSERT_TRUE(transit.definition.sources[1].place.SetPlace(5, 6, 'S', 7, 8, 'W', "Town", "R").ok());
  OpenArchive("i.arc", kLayout4400, {MakeChart("Anna", 3, 4, 1950), transit},
              {Block({{3, 10, 20}}), CommentRefBlock()});
  ASSERT_EQ(archive_.RecordCount(), 2);
  const ArchiveIndexEntry& a = archive_.Entry(0);
  EXPECT_EQ(a.name, "Anna");
  EXPECT_EQ(a.title, "title Anna");
  EXPECT_EQ(a.day, 3);
  EXPECT_EQ(a.month, 4);
  EXPECT_EQ(a.year, 1950);
  EXPECT_EQ(a.hours, 13);
  EXPECT_EQ(a.minutes, 45);
  EXPECT_EQ(a.zoneHours, 3);
  EXPECT_EQ(a.zoneSign, '+');
  EXPECT_EQ(a.latDegrees, 55);
  EXPECT_EQ(a.lonMinutes, 37);
  EXPECT_EQ(a.town, "Moskva");
  EXPECT_EQ(a.mark, 'N');
  EXPECT_EQ(a.comments, Block({{3, 10, 20}}));
  EXPECT_EQ(archive_.HasComments(0), 1);
  const ArchiveIndexEntry& b = archive_.Entry(1);
  EXPECT_EQ(b.name, "Second");
  EXPECT_EQ(b.latLetter, 'S');
  EXPECT_EQ(b.lonLetter, 'W');
  EXPECT_EQ(b.town, "Town");
  EXPECT_EQ(archive_.HasComments(1), 0);
}

TEST_F(ArchiveTest, IndexCapacityAndProgress) {
  std::vector<Chart> charts;
  for (int i = 0; i < 60; ++i) charts.push_back(MakeChart("N" + std::to_string(i)));
  testing_support::RecordingProgress progress;
  archive_.Index().SetProgress(&progress);
  OpenArchive("c.arc", kLayout4200, charts);
  EXPECT_EQ(archive_.Index().IndexCapacity(), 260);  // 50 or more: count + 200
  EXPECT_EQ(progress.begun, 1);
  ASSERT_EQ(progress.positions.size(), 60u);
  EXPECT_EQ(progress.positions[1], 1);    // 1 / 60 x 100 truncated
  EXPECT_EQ(progress.positions[59], 98);  // 59 / 60 x 100
  OpenArchive("d.arc", kLayout4200, {MakeChart("x")});
  EXPECT_EQ(archive_.Index().IndexCapacity(), 100);
}

TEST_F(ArchiveTest, DamagedArchiveIsReadButNeverRewritten) {
  // The length of two 4400 records under a 4200 header: read as two 4200 records, the rest kept.
  std::string bytes = Header(kLayout4200) + RecordBytes(MakeChart("A"), kLayout4200) +
                      RecordBytes(MakeChart("C"), kLayout4200) + std::string(2 * 60, 'z');
  WriteFile(PathOf("dam.arc"), bytes);
  ASSERT_EQ(archive_.SetPath(PathOf("dam.arc")), kLayout4200);
  ASSERT_EQ(archive_.CreateIndex(), 0);
  EXPECT_TRUE(archive_.IsDamaged());
  EXPECT_EQ(archive_.RecordCount(), 2);  // (3676 - 4) / 1776
  archive_.saveTargetMode = 0;
  EXPECT_EQ(archive_.SaveToArchive(MakeChart("B")), -1);
  Mark({0});
  EXPECT_EQ(archive_.Records().ChartUpDown(false), -1);
  EXPECT_EQ(archive_.Records().Order(), -1);
  EXPECT_EQ(ReadFile(PathOf("dam.arc")), bytes);
  EXPECT_TRUE(prompts_.WasShown(524));
}

}  // namespace
}  // namespace archive_test
