"""The atlas generator's choice of a town's zone between GeoNames and the tz boundaries, on the
system's tz database: which zones are one zone, each rule of the list, and the points around a
town that tell a border.

    python3 tests/atlas/zone_rules_test.py <source folder>
"""
import math
import struct
import sys
import unittest
from pathlib import Path

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
ROOT = Path(sys.argv.pop(1) if len(sys.argv) > 1 else ".")
sys.path.insert(0, str(ROOT / "tools" / "atlas"))
import diff_atlas  # noqa: E402
import make_atlas  # noqa: E402


class ZoneRules(unittest.TestCase):
    tz = make_atlas.TzDatabase()

    def test_one_zone_is_the_same_offsets_at_every_instant(self):
        for a, b, same in [("Europe/Kiev", "Europe/Kyiv", True),   # a backward link
                           ("MET", "CET", True),                   # only the abbreviations
                           ("EST", "Etc/GMT+5", True),
                           ("Europe/Zaporozhye", "Europe/Simferopol", False),
                           ("Asia/Ho_Chi_Minh", "Asia/Bangkok", False),
                           ("Europe/Oslo", "Europe/Berlin", False)]:  # before 1970 only
            self.assertEqual(self.tz.same_clocks(a, b), same, (a, b))

    def test_each_rule_of_the_list(self):
        far = [["Asia/Shanghai"]] * 8
        rows = [
            # GeoNames, country, at the town, around it -> taken, rule
            ("Europe/Kiev", "UA", ["Europe/Kyiv"], far, "Europe/Kyiv", None),
            ("Asia/Urumqi", "CN", ["Asia/Shanghai", "Asia/Urumqi"], far, "Asia/Urumqi", None),
            ("Asia/Urumqi", "CN", ["Asia/Shanghai"], far, "Asia/Shanghai", "boundary"),
            ("Asia/Famagusta", "CY", ["Asia/Nicosia"], [["Asia/Famagusta"]] + far[1:],
             "Asia/Famagusta", "border"),
            # A zone of the neighbouring country across the border is not the town's.
            ("America/New_York", "CA", ["America/Toronto"], [["America/New_York"]] + far[1:],
             "America/Toronto", "boundary"),
            ("Europe/Oslo", "NO", ["Etc/GMT-1"], far, "Europe/Oslo", "sea"),
            ("", "NO", ["Etc/GMT-1"], far, None, "sea"),
            ("Europe/Moscow", "RU", ["Mars/Olympus"], far, "Europe/Moscow", "unknown"),
            ("Europe/Moscow", "RU", ["../zoneinfo/UTC"], far, "Europe/Moscow", "unknown"),
            ("", "JP", ["Asia/Tokyo"], far, "Asia/Tokyo", "no-geonames"),
            ("Mars/Olympus", "JP", ["Asia/Tokyo"], far, "Asia/Tokyo", "no-geonames"),
            # Near a border, GeoNames' zone only where the other towns of the state bear it out
            # (last column: GeoNames' zone and the boundary zones of each).
            ("America/Sao_Paulo", "BR", ["America/Cuiaba"], [["America/Sao_Paulo"]] + far[1:],
             "America/Cuiaba", "state", [("America/Cuiaba", ["America/Cuiaba"])]),
            ("Asia/Famagusta", "CY", ["Asia/Nicosia"], [["Asia/Famagusta"]] + far[1:],
             "Asia/Nicosia", "state", [("Asia/Famagusta", ["Asia/Famagusta"]),
                                       ("Asia/Famagusta", ["Asia/Nicosia"])]),
            # Only the towns GeoNames puts in its zone count; a town that several zones hold lies
            # in each.
            ("Asia/Hebron", "PS", ["Asia/Jerusalem"], [["Asia/Hebron"]] + far[1:],
             "Asia/Hebron", "border", [("Asia/Hebron", ["Asia/Jerusalem", "Asia/Hebron"])] * 2 +
             [("Asia/Hebron", ["Asia/Jerusalem"]), ("Asia/Hebron", ["Asia/Gaza"])] +
             [("Asia/Jerusalem", ["Asia/Jerusalem"])] * 2),
        ]
        for geonames, country, at_town, around, taken, rule, *state in rows:
            self.assertEqual(make_atlas.choose_zone(geonames, country, at_town, around, self.tz,
                                                    lambda: state[0] if state else ()),
                             (taken, rule), (geonames, at_town))

    def test_a_zone_its_country_never_had_takes_what_the_table_says(self):
        table = {("XK", "Europe/Belgrade"): (make_atlas.PLACE, ("Pristina",)),
                 ("IN", "Asia/Yangon"): ("Asia/Kolkata", ("Sarupathar",)),
                 ("IN", "Asia/Dhaka"): (None, ("Karimganj",))}
        for zone, country, town, taken in [
                ("Europe/Belgrade", "RS", "Beograd", ("Europe/Belgrade", None)),
                ("Europe/Belgrade", "XK", "Pristina", ("Europe/Belgrade", "place")),
                ("Asia/Yangon", "IN", "Sarupathar", ("Asia/Kolkata", "country")),
                ("Asia/Dhaka", "IN", "Karimganj", (None, "drop")),
                ("Asia/Yangon", "IN", "Moreh", ValueError)]:  # not named
            if taken is ValueError:
                self.assertRaises(ValueError, make_atlas.foreign_zone, zone, country, town,
                                  self.tz, table)
            else:
                self.assertEqual(make_atlas.foreign_zone(zone, country, town, self.tz, table),
                                 taken, (zone, country, town))

    def test_every_town_of_the_atlas_in_a_zone_its_country_never_had_is_named(self):
        country = {name: code for code, name in make_atlas.country_names().items()}
        dst, towns = diff_atlas.read_atlas(ROOT / "data")
        regions, pos = [], 8
        while pos < len(dst):
            regions.append(dst[pos + 1:pos + 1 + dst[pos]].decode("cp866"))
            pos += 1 + dst[pos]
        foreign, taken = {}, {}
        for record, zone, standard, name, latin in towns:  # the region number at byte 8
            code = country[regions[struct.unpack_from("<H", record, 8)[0]]]
            if zone and not self.tz.is_of_country(zone, code):
                foreign.setdefault((code, zone), set()).add(latin or name)
            taken[(code, latin or name)] = (zone, standard)
        self.assertEqual(foreign, {k: set(towns) for k, (zone, towns)
                                   in make_atlas.FOREIGN_ZONES.items() if zone == "place"})
        # GeoNames' point of the town in Assam lies in Myanmar: India's +05:30.
        self.assertEqual(taken[("IN", "Sarupathar")], ("Asia/Kolkata", 128 + 22))

    def test_the_state_of_a_town_is_its_near_towns_or_all(self):
        def town(admin, lat, lon, country="CY"):
            return {"country": country, "adminCode": admin, "lat": lat, "lon": lon}
        # Lefka's district reaches across the island; the town beside it tells its side.
        towns = [town("04", 35.112, 32.850), town("04", 35.199, 32.993),   # 16 km
                 town("04", 35.175, 33.364), town("01", 35.125, 33.941),
                 town("04", 35.150, 33.100, "TR"), town("", 35.0, 33.0), town("", 35.0, 33.01)]
        of = make_atlas.state_neighbours(towns)
        for n, state in [(0, [1]), (1, [0]), (2, [0, 1]), (3, []), (5, [])]:
            self.assertEqual(of(n), state, n)

    def test_points_around_a_town_lie_at_the_border_distance(self):
        for lat, lon in [(55.75, 37.62), (-33.87, 151.21), (64.7, 179.99), (78.2, 15.6)]:
            points = make_atlas.probe_points(lat, lon)
            self.assertEqual((points[0], len(points)), ((lat, lon), 1 + make_atlas.BEARINGS))
            self.assertGreater(points[1][0], lat)  # north first
            for p, q in points[1:]:
                # Haversine distance from the town.
                a = (math.sin(math.radians(p - lat) / 2) ** 2 + math.cos(math.radians(lat)) *
                     math.cos(math.radians(p)) * math.sin(math.radians(q - lon) / 2) ** 2)
                km = 2 * make_atlas.EARTH_RADIUS_KM * math.asin(math.sqrt(a))
                self.assertAlmostEqual(km, make_atlas.BORDER_KM, places=6)
                self.assertTrue(-180 <= q < 180)


if __name__ == "__main__":
    unittest.main()
