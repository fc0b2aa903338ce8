// The texts of the settings blocks: a text that fills its field, or one with bytes of an older
// configuration after its NUL, is read and written back unchanged.
#include <gtest/gtest.h>

#include <string>

#include "foundation/config/byte_block.h"
#include "foundation/config/settings_blocks.h"

namespace {

struct TextFieldRow {
  const char* name;
  std::size_t blockSize;
  cfg::TextField field;
};

// Every text field of every block.
const TextFieldRow kTextFields[] = {
    {"search_name", cfg::ArchiveSearchCriteria::kSize, cfg::ArchiveSearchCriteria::kName},
    {"search_place", cfg::ArchiveSearchCriteria::kSize, cfg::ArchiveSearchCriteria::kPlace},
    {"search_type", cfg::ArchiveSearchCriteria::kSize, cfg::ArchiveSearchCriteria::kType},
    {"search_comment", cfg::ArchiveSearchCriteria::kSize, cfg::ArchiveSearchCriteria::kComment},
    {"dynamic_file", cfg::DynamicArchiveParams::kSize, cfg::DynamicArchiveParams::kFileName},
    {"midpoint_system", cfg::AspectTableSettings::kSize, cfg::AspectTableSettings::kMidpointSystem},
    {"synastry_archive", cfg::SynastrySettings::kSize, cfg::SynastrySettings::kArchive},
    {"synastry_archive1", cfg::SynastrySettings::kSize, cfg::SynastrySettings::kArchive1},
    {"synastry_archive2", cfg::SynastrySettings::kSize, cfg::SynastrySettings::kArchive2},
    {"statistics_system", cfg::StatisticsSettings::kSize, cfg::StatisticsSettings::kAspectSystem},
    {"interpretation_file", cfg::InterpretationSettings::kSize,
     cfg::InterpretationSettings::kFileName},
    {"transit_group", cfg::TransitSettings::kSize, cfg::TransitSettings::kGroupName},
    {"transit_system", cfg::TransitSettings::kSize, cfg::TransitSettings::kAspectSystem},
    {"lunar_system", cfg::LunarTransSettings::kSize, cfg::LunarTransSettings::kAspectSystem},
    {"life_point_system", cfg::LifePointSettings::kSize, cfg::LifePointSettings::kAspectSystem},
    {"prediction_list", cfg::PredictionListSettings::kSize, cfg::PredictionListSettings::kListName},
    {"tremin_applying", cfg::TreminSettings::kSize, cfg::TreminSettings::kApplyingSystem},
    {"tremin_separating", cfg::TreminSettings::kSize, cfg::TreminSettings::kSeparatingSystem},
    {"forecast_applying", cfg::TreminForecast::kSize, cfg::TreminForecast::kApplyingSystem},
    {"forecast_separating", cfg::TreminForecast::kSize, cfg::TreminForecast::kSeparatingSystem},
    {"forecast_event", cfg::TreminForecast::kSize, cfg::TreminForecast::kEvent},
    {"rect_directions", cfg::RectificationSettings::kSize,
     cfg::RectificationSettings::kDirectionsSystem},
    {"rect_progressions", cfg::RectificationSettings::kSize,
     cfg::RectificationSettings::kProgressionsSystem},
    {"rect_transits", cfg::RectificationSettings::kSize,
     cfg::RectificationSettings::kTransitsSystem},
    {"rect_life_point", cfg::RectificationSettings::kSize,
     cfg::RectificationSettings::kLifePointSystem},
};

// A block whose every byte differs from its neighbours and from NUL and blank.
cfg::ByteBlock Patterned(std::size_t size) {
  cfg::ByteBlock block(size);
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>('A' + i % 26);
  block.CopyIn(0, bytes);
  return block;
}

TEST(SettingsBlockTexts, AFullFieldIsWrittenBackUnchangedTwice) {
  for (const TextFieldRow& row : kTextFields) {
    SCOPED_TRACE(row.name);
    cfg::ByteBlock block = Patterned(row.blockSize);
    const cfg::ByteBlock before = block;
    const std::string text = block.Get(row.field);
    EXPECT_EQ(text.size(), row.field.width);
    for (int write = 0; write < 2; ++write) {
      // Written from a fresh copy of the text, as a settings dialog hands it back.
      block.Set(row.field, std::string(text));
      EXPECT_EQ(block.Bytes(), before.Bytes()) << "write " << write;
      EXPECT_EQ(block.Get(row.field), text);
    }
    // Into a block of zeros the full text goes whole, without a NUL.
    cfg::ByteBlock empty(row.blockSize);
    empty.Set(row.field, text);
    EXPECT_EQ(empty.Get(row.field), text);
    EXPECT_EQ(empty.Bytes().substr(row.field.offset, row.field.width), text);
  }
}

TEST(SettingsBlockTexts, ShortAndOverlongTextsAndBytesAfterTheNul) {
  const cfg::TextField field = cfg::TransitSettings::kAspectSystem;  // 13 bytes
  cfg::ByteBlock block(cfg::TransitSettings::kSize);
  // An older configuration's field: "VELM", a NUL, then leftovers.
  block.CopyIn(field.offset, std::string("VELM\0xyzxyzxy", 13));
  const cfg::ByteBlock before = block;
  block.Set(field, "VELM");
  EXPECT_EQ(block.Bytes(), before.Bytes());
  // A changed text is NUL-padded; one longer than the field is cut to the field.
  block.Set(field, "AB");
  EXPECT_EQ(block.Bytes().substr(field.offset, 13), std::string("AB\0\0\0\0\0\0\0\0\0\0\0", 13));
  block.Set(field, "ABCDEFGHIJKLMNOP");
  EXPECT_EQ(block.Get(field), "ABCDEFGHIJKLM");
  EXPECT_EQ(block.Bytes().substr(field.End(), 1), std::string(1, '\0'));  // the next field kept
}

}  // namespace
