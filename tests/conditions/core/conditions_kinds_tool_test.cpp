// The evaluation tool run as a process over the charts of tests/fixtures/conditions/kinds.txt, for
// intervals, comparisons, before/after, context, configurations and counts. Every expected list
// is worked out by hand from that file (every point of orb class 3 in TESTASP.txt: conjunction 8,
// opposition 8, trine 7, square 1.2, sextile 4, quincunx 2, semisquare 1.5 degrees).
//
//   chart  name    date        time   place          points (Sun 0, Moon 1, Venus 3, Mars 4 ...)
//   0      Wrap    20.05.10 BC 12:00  40S00 029E55   Sun 355, Moon 4 (lat -4.5), Mars 180 (R)
//   1      Five    01.01.1     23:30  20S00 010W00   Sun 5 (speed 1.02), Moon 125, Mars 245,
//                                                    Jupiter 95
//   2      Reform  15.10.1582  00:10  55N45 037E37   Sun 180, Moon 90, Mars 270
//   3      Julian  04.10.1582  12:00  51N28 000W00   Sun 10 (speed 1.01), Moon 100, Mars 190,
//                                                    Jupiter 280
//   4      Old     31.12.11 BC 06:00  30S00 150E00   Sun 0, Moon 120, Venus 300, Mars 240
//   5      Rect    01.01.2000  00:00  00N00 000E00   Sun 0, Moon 120, Mars 180, Jupiter 300
//   6      Skew    29.02.1600  18:45  30N00 030W00   Sun 0, Moon 94, Mars 187, Jupiter 274
//   7      Star    31.12.1999  23:59  10N00 179E00   Sun 0, Moon 60, Mercury 120, Venus 180,
//                                                    Mars 240, Jupiter 300
// Houses every 30 degrees from 0 Aries everywhere. Comment pages: chart 0 page 0 "Первая
// страница" and page 3 "Кот и пёс"; chart 2 page 0 "Другая страница".
#include <gtest/gtest.h>

#include "conditions_tool.h"
#include "foundation/text/cp1251.h"

namespace {

using conditions_tool::HitsCase;

constexpr const char* kNoTexts = "\x03 \x03 \x03";

// One condition line: number 1, switched on, the kind, words 2 to 4, the three texts (UTF-8 here,
// empty as 0x03) and words 8 to 18.
std::string Line(int kind, int w2, int w3, int w4, const std::string& words8to18,
                 const std::string& texts = kNoTexts) {
  return "1 + " + std::to_string(kind) + " " + std::to_string(w2) + " " + std::to_string(w3) + " " +
         std::to_string(w4) + " " + Cp1251(texts) + " " + words8to18 + "\n";
}

const std::vector<int> kAll = {0, 1, 2, 3, 4, 5, 6, 7};

// Words 8..18 of MORE/LESS and INTERV: w8 w9 w10 (second bound), w11 w12 w13 w14 (first bound and
// its flag), w15 mode, w16 sign, w17 second flag, w18 second sign.
const HitsCase kQuantityCases[] = {
    // The Sun from 350 to 10 degrees, a wrapped interval: 355, 5 and 0 hold, 180 and 10 do not.
    {"interval_wraps_open", Line(3, 0, 0, 0, "10 0 0 350 0 0 0 0 0 0 0"), {0, 1, 4, 5, 6, 7}},
    {"interval_wraps_ends_included",
     Line(3, 0, 0, 3, "10 0 0 350 0 0 0 0 0 0 0"),
     {0, 1, 3, 4, 5, 6, 7}},
    // The same bounds as 20 Pisces to 10 Aries.
    {"interval_wraps_by_signs", Line(3, 0, 0, 0, "10 0 0 20 0 0 0 0 11 0 0"), {0, 1, 4, 5, 6, 7}},
    // 350 degrees counted from Taurus is 20 Aries: the Sun less than 20.
    {"less_than_longitude_past_the_circle",
     Line(4, 0, 0, 1, "0 0 0 350 0 0 0 0 1 0 0"),
     {1, 3, 4, 5, 6, 7}},
    // The Moon beyond 2:30 within its sign: 4, 5 (125), 10 (100) and 4 (94).
    {"more_within_sign", Line(4, 1, 0, 0, "0 0 0 2 30 0 0 1 0 0 0"), {0, 1, 3, 6}},
    // After 1 January 10 BC by Julian days: 20 May 10 BC and every AD date; not 31 December 11 BC.
    {"date_more_before_christ", Line(4, 0, 1, 0, "0 0 0 1 1 10 0 0 0 0 0"), {0, 1, 2, 3, 5, 6, 7}},
    // Across the calendar reform: 15 October 1582 follows 4 October 1582 by one day.
    {"date_more_across_reform", Line(4, 0, 1, 0, "0 0 0 4 10 1582 1 0 0 0 0"), {2, 5, 6, 7}},
    {"date_less_across_reform", Line(4, 0, 1, 1, "0 0 0 15 10 1582 1 0 0 0 0"), {0, 1, 3, 4}},
    // Day and month after 30 December; day alone before the 2nd.
    {"day_and_month_more", Line(4, 0, 1, 0, "0 0 0 30 12 0 0 1 0 0 0"), {4, 7}},
    {"day_only_less", Line(4, 0, 1, 1, "0 0 0 2 0 0 0 2 0 0 0"), {1, 5}},
    {"date_interval_whole", Line(3, 0, 1, 3, "31 12 1600 1 1 1582 1 0 0 1 0"), {2, 3, 6}},
    // 20 December to 10 January wraps over the new year.
    {"day_and_month_interval_wraps", Line(3, 0, 1, 0, "10 1 0 20 12 0 0 1 0 0 0"), {1, 4, 5, 7}},
    // 23:00 to 01:00 wraps over midnight; 18:45 itself is not more than 18:45.
    {"time_interval_wraps", Line(3, 0, 2, 0, "1 0 0 23 0 0 0 0 0 0 0"), {1, 2, 5, 7}},
    {"time_more", Line(4, 0, 2, 0, "0 0 0 18 45 0 0 0 0 0 0"), {1, 7}},
    // Less than 30 S: 40 S holds; 20 S and 30 S do not.
    {"latitude_less_south", Line(4, 0, 3, 1, "0 0 0 30 0 0 1 0 0 0 0"), {0}},
    {"latitude_interval_south_to_north", Line(3, 0, 3, 3, "10 0 0 30 0 0 1 0 0 0 0"), {1, 4, 5, 7}},
    // More than 10 W: not 10 W itself, not 30 W.
    {"longitude_more_west", Line(4, 0, 4, 0, "0 0 0 10 0 0 1 0 0 0 0"), {0, 2, 3, 4, 5, 7}},
    // Mars retrograde: speed below 0.
    {"speed_less", Line(4, 4, 5, 1, "0 0 0 0 0 0 0 0 0 0 0"), {0}},
    // Both lights faster than 1 degree a day; one of them.
    {"speed_group_each",
     Line(4, 501, 5, 0, "0 0 0 1 0 0 0 0 0 0 0", "Lights[каждая] \x03 \x03"),
     {1, 3}},
    {"speed_group_one_of", Line(4, 500, 5, 0, "0 0 0 1 0 0 0 0 0 0 0", "Lights[одна_из] \x03 \x03"),
     kAll},
    // The Moon's ecliptic latitude below 4 S.
    {"ecliptic_latitude_less", Line(4, 1, 6, 1, "0 0 0 4 0 0 1 0 0 0 0"), {0}},
};

// Words 8..18 of BEFORE/AFTER: w8 w9 w10 a fixed degree, w11 w12 the arc.
const HitsCase kBeforeAfterCases[] = {
    // The Sun at 355 is 9 degrees before the Moon at 4.
    {"before_over_zero", Line(5, 0, 1, 0, "0 0 0 10 0 0 0 0 0 0 0"), {0}},
    {"after_is_the_other_way", Line(5, 0, 1, 1, "0 0 0 10 0 0 0 0 0 0 0"), {}},
    // Mars after 25 Virgo (175) by at most 10: 180 holds, 187 and 190 do not.
    {"after_fixed_degree", Line(5, 4, 506, 1, "25 5 0 10 0 0 0 0 0 0 0"), {0, 5}},
    {"each_light_before_mars",
     Line(5, 501, 4, 0, "0 0 0 180 0 0 0 0 0 0 0", "Lights[каждая] \x03 \x03"),
     {2, 3, 5}},
    {"one_light_before_mars",
     Line(5, 500, 4, 0, "0 0 0 180 0 0 0 0 0 0 0", "Lights[одна_из] \x03 \x03"), kAll},
};

// CONTEXT: w2 where (0 name, 1 title, 2 place, 3 comment), w3 0 present, 1 absent, 2 absent or
// no page; w4 the page; words 11, 12, 13: ignore blanks, match case, partial.
std::string Context(int where, int test, int page, const std::string& text, int blanks,
                    int letterCase, int partial) {
  return Line(6, where, test, page,
              "0 0 0 " + std::to_string(blanks) + " " + std::to_string(letterCase) + " " +
                  std::to_string(partial) + " 0 0 0 0 0",
              text + " \x03 \x03");
}

const HitsCase kContextCases[] = {
    {"name_whole_any_case", Context(0, 0, 0, "wrap", 0, 0, 0), {0}},
    {"name_whole_case_counts", Context(0, 0, 0, "wrap", 0, 1, 0), {}},
    {"name_partial", Context(0, 0, 0, "e", 0, 0, 1), {1, 2, 5, 6}},
    // A longer name that contains the text does not hold it: absent everywhere.
    {"name_longer_field_is_absent", Context(0, 1, 0, "Ju", 0, 0, 0), kAll},
    // Cyrillic letters upper-cased: "ре" in РЕФОРМА, ДРЕВНИЙ, ПЕРЕКОС.
    {"title_partial_any_case", Context(1, 0, 0, "ре", 0, 0, 1), {2, 4, 6}},
    {"title_partial_case_counts", Context(1, 0, 0, "ре", 0, 1, 1), {4, 6}},
    {"place_southern", Context(2, 0, 0, "S", 0, 0, 1), {0, 1, 4}},
    {"place_whole_coordinates",
     Context(2, 0, 0,
             "30n00\x04"
             "030w00",
             0, 0, 0),
     {6}},
    {"place_blanks_ignored",
     Context(2, 0, 0,
             "30N0\x04"
             "0030W00",
             1, 0, 0),
     {6}},
    {"comment_page_partial", Context(3, 0, 0, "СТРАНИЦА", 0, 0, 1), {0, 2}},
    {"comment_page_whole", Context(3, 0, 0, "Первая\x04страница", 0, 1, 0), {0}},
    // Page 3 absent: only where page 3 exists without the text (nowhere); or without page 3.
    {"comment_absent_needs_the_page", Context(3, 1, 3, "кот", 0, 0, 1), {}},
    {"comment_absent_or_no_page", Context(3, 2, 3, "кот", 0, 0, 1), {1, 2, 3, 4, 5, 6, 7}},
    {"comment_every_page_present", Context(3, 0, 10, "пёс", 0, 0, 1), {0}},
    {"comment_every_page_absent", Context(3, 1, 10, "пёс", 0, 0, 1), {1, 2, 3, 4, 5, 6, 7}},
};

// CONF: w2 the row, w3 object set, w4 cusps; words 8..18: w8 apex, w9 others too, w10 nodes, w11
// orb source, w12 w13 own orb, w14 w15 w16 members, w17 orb class of two cusps.
std::string Conf(int row, int cusps, const std::string& words8to18) {
  return Line(7, row, 0, cusps, words8to18, "\x03 \x03 TESTASP");
}
const std::string kAnyMembersOrb5 = "0 0 0 0 5 0 700700 700700 700700 1 0";

const HitsCase kConfCases[] = {
    {"grand_trine", Conf(0, 0, kAnyMembersOrb5), {1, 4, 7}},
    // The T-square of chart 6 (apex Mars at 93 and 87 degrees) holds with the own orb 5.
    {"t_square", Conf(1, 0, kAnyMembersOrb5), {2, 3, 6}},
    // By the system's orbs (square 1.2) the skewed figure fails.
    {"t_square_system_orbs", Conf(1, 0, "0 0 0 1 0 0 700700 700700 700700 1 0"), {2, 3}},
    // The Moon as member 1: at the apex only in the exact cross.
    {"t_square_moon_at_apex", Conf(1, 0, "1 0 0 0 5 0 1700 700700 700700 1 0"), {3}},
    {"t_square_moon_anywhere", Conf(1, 0, "0 0 0 0 5 0 1700 700700 700700 1 0"), {2, 3, 6}},
    // Sun-Mars 173 degrees is no opposition within 5: the skewed cross is only "any".
    {"grand_cross_with_oppositions", Conf(2, 0, kAnyMembersOrb5), {3}},
    {"grand_cross_any", Conf(3, 0, kAnyMembersOrb5), {3, 6}},
    {"grand_cross_with_jupiter", Conf(3, 0, "0 0 0 0 5 0 700700 5700 700700 1 0"), {3, 6}},
    {"grand_cross_with_venus", Conf(3, 0, "0 0 0 0 5 0 700700 3700 700700 1 0"), {}},
    // The cusp of house 1 (0 Aries) with two planets: in a T-square in charts 2 and 6.
    {"t_square_on_first_cusp_angular", Conf(1, 1, "0 0 0 0 5 0 200700 700700 700700 1 0"), {2, 6}},
    {"t_square_on_first_cusp_not_admitted", Conf(1, 0, "0 0 0 0 5 0 200700 700700 700700 1 0"), {}},
    // The cusp of house 2 (30) is no angular cusp; with all cusps it makes a T-square with the
    // points at 120 and 300.
    {"t_square_on_second_cusp_angular", Conf(1, 1, "0 0 0 0 5 0 201700 700700 700700 1 0"), {}},
    {"t_square_on_second_cusp_all", Conf(1, 2, "0 0 0 0 5 0 201700 700700 700700 1 0"), {4, 5, 7}},
};

// QUANT: w2 what, w3 the object, w4 the comparison; words 8..18: w8 w9 the numbers, w10
// inclusive, w11 orb source, w12 w13 own orb, w14 class mask, w15 orb class with a cusp, w16
// nodes, w17 object set, w18 cusps. Aspects by the system's orbs, every class (511).
std::string Quant(int what, int object, int comparison, const std::string& texts, int n1, int n2,
                  int inclusive) {
  return Line(8, what, object, comparison,
              std::to_string(n1) + " " + std::to_string(n2) + " " + std::to_string(inclusive) +
                  " 1 0 0 511 3 0 2 0",
              texts + " TESTASP");
}

// Aspects in the charts: 2, 5, 3, 6, 6, 6, 2, 15. Aspects of the Sun: 1, 3, 2, 3, 3, 3, 1, 5;
// of the Moon: 1, 2, 2, 3, 3, 3, 1, 5.
const HitsCase kQuantCases[] = {
    {"points_in_aries", Quant(0, 100, 0, "\x03 \x03", 1, 0, 0), {0, 1, 3, 4, 5, 6, 7}},
    // Each pair once: 6 aspects, not 12.
    {"aspects_equal", Quant(3, 0, 0, "\x03 \x03", 6, 0, 0), {3, 4, 5}},
    {"aspects_between_exclusive", Quant(3, 0, 3, "\x03 \x03", 2, 6, 0), {0, 1, 2, 6}},
    {"aspects_between_inclusive", Quant(3, 0, 3, "\x03 \x03", 2, 6, 1), {0, 1, 2, 3, 4, 5, 6}},
    {"aspects_of_sun_less", Quant(4, 0, 2, "\x03 \x03", 2, 0, 0), {0, 6}},
    {"aspects_of_sun_equal", Quant(4, 0, 0, "\x03 \x03", 3, 0, 0), {1, 3, 4, 5}},
    {"aspects_of_each_light_more", Quant(4, 501, 1, "Lights[каждая] \x03", 2, 0, 0), {3, 4, 5, 7}},
    {"aspects_of_one_light_more",
     Quant(4, 500, 1, "Lights[одна_из] \x03", 2, 0, 0),
     {1, 3, 4, 5, 7}},
    {"aspects_of_lights_added_up", Quant(4, 501, 0, "Lights[каждая] \x01", 6, 0, 0), {3, 4, 5}},
};

TEST(ConditionKindsTool, Quantities) { conditions_tool::ExpectHits("kinds.txt", kQuantityCases); }
TEST(ConditionKindsTool, BeforeAfter) {
  conditions_tool::ExpectHits("kinds.txt", kBeforeAfterCases);
}
TEST(ConditionKindsTool, Context) { conditions_tool::ExpectHits("kinds.txt", kContextCases); }
TEST(ConditionKindsTool, Configurations) { conditions_tool::ExpectHits("kinds.txt", kConfCases); }
TEST(ConditionKindsTool, Counts) { conditions_tool::ExpectHits("kinds.txt", kQuantCases); }

}  // namespace
