#!/usr/bin/env python3
"""Chooses the program's fixed stars and writes them, with their texts, as tools/stars/stars.tsv.

Sources (see data/SOURCES.md):
  D3_DATA   the data folder of npm d3-celestial (starnames.json, stars.6.json, constellations.json)
  KSTARS    the folder of Debian kstars-data's star files (namedstars.dat, unnamedstars.dat):
            proper motions and spectral classes, matched by HD number (where that entry has no
            proper motion, the star with one within 1' of the place at J2000)

Usage: select_stars.py D3_DATA KSTARS [OUT.tsv]   (OUT defaults to stars.tsv beside this script;
       `--check` as the last argument compares with it instead of writing)

The stars are every named star with a Russian name, brightest first, to make up 300 with the
traditional fainter stars of TRADITIONAL; they are numbered 1..N in the order of their J2000
ecliptic longitude. Each row carries the J2000 place as the source gives it; the catalogue
generator (make_star_files) precesses it.
"""

import json
import math
import os
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
LIMIT = 300

# Named stars fainter than the magnitude limit that the tradition uses all the same.
TRADITIONAL = {
    "Alcyone", "Asellus Borealis", "Asellus Australis", "Acubens", "Alcor", "Zaniah",
    "Vindemiatrix", "Nashira", "Deneb Algedi", "Sadalsuud", "Sadalmelik", "Algorab", "Alkes",
    "Alrescha", "Mesarthim", "Menkar", "Ain", "Electra", "Maia", "Merope", "Taygeta", "Celaeno",
    "Atlas", "Pleione", "Asterope", "Zosma", "Chertan", "Zubenelgenubi", "Zubeneschamali",
    "Albali", "Alshain", "Tarazed", "Unukalhai", "Yed Prior", "Yed Posterior",
}
# Names that the source gives to two stars, and the star (Hipparcos number) that bears each: the
# source lists alpha-1 Librae (magnitude 5.2) first, but Zubenelgenubi is alpha-2 (2.75).
NAME_BEARERS = {"Zubenelgenubi": 72622}
# Stars of a bound pair whose instantaneous proper motion (each star's own, which turns with its
# orbit) would carry them away from their place over the centuries: both take the motion of the
# pair's centre of mass (mas/yr, mu alpha* and mu delta). Alpha Centauri A and B.
PAIR_MOTIONS = {71683: (-3608.0, 686.0), 71681: (-3608.0, 686.0)}
# Stars whose motion over the centuries is carried along their line in space (make_star_files),
# because taken linearly in right ascension and declination it strays by more than a few seconds
# of arc within 1000 years: parallax (mas) and radial velocity (km/s) of the centre of mass of the
# alpha Centauri pair (data/SOURCES.md).
SPACE_MOTIONS = {71683: ("747.10", "-22.30"), 71681: ("747.10", "-22.30")}
# The epoch of the places of the star files (the Hipparcos epoch, J1991.25), years before J2000.
KSTARS_EPOCH_BEFORE_J2000 = 8.75
# Variables known by their names: their magnitude text is "VAR".
VARIABLES = {"Algol", "Mira", "Betelgeuse", "Rasalgethi", "Sheliak", "Antares", "Navi"}

GREEK = {
    "α": ("Alpha", "альфа"), "β": ("Beta", "бета"), "γ": ("Gamma", "гамма"),
    "δ": ("Delta", "дельта"), "ε": ("Epsilon", "эпсилон"), "ζ": ("Zeta", "дзета"),
    "η": ("Eta", "эта"), "θ": ("Theta", "тета"), "ι": ("Iota", "йота"), "κ": ("Kappa", "каппа"),
    "λ": ("Lambda", "лямбда"), "μ": ("Mu", "мю"), "ν": ("Nu", "ню"), "ξ": ("Xi", "кси"),
    "ο": ("Omicron", "омикрон"), "π": ("Pi", "пи"), "ρ": ("Rho", "ро"), "σ": ("Sigma", "сигма"),
    "τ": ("Tau", "тау"), "υ": ("Upsilon", "ипсилон"), "φ": ("Phi", "фи"), "χ": ("Chi", "хи"),
    "ψ": ("Psi", "пси"), "ω": ("Omega", "омега"),
}

OBLIQUITY_J2000 = 23.4392794444  # degrees (IAU 2006)


def designation(name):
    """Latin and Russian designation texts (at most 9 bytes each) from a Bayer or Flamsteed."""
    bayer, flam = name.get("bayer") or "", name.get("flam") or ""
    if bayer and bayer[0] in GREEK:
        la, ru = GREEK[bayer[0]]
        suffix = bayer[1:]
        if suffix and not suffix.isdigit():
            suffix = ""
        if suffix:
            la, ru = la + "-" + suffix, ru + "-" + suffix
        return la, ru
    if bayer and len(bayer) == 1 and bayer.isalpha():
        return bayer, bayer
    if flam.isdigit():
        return flam, flam
    return "", ""


def colour(bv):
    if bv < 0.0:
        return "бело-голубая"
    if bv < 0.3:
        return "белая"
    if bv < 0.6:
        return "желтовато-белая"
    if bv < 0.8:
        return "жёлтая"
    if bv < 1.4:
        return "оранжевая"
    return "красная"


def ecliptic_longitude(ra, dec):
    a, d, e = (math.radians(x) for x in (ra, dec, OBLIQUITY_J2000))
    return math.degrees(math.atan2(math.sin(a) * math.cos(e) + math.tan(d) * math.sin(e),
                                   math.cos(a))) % 360.0


def read_kstars(folder):
    """HD number -> (mu alpha* mas/yr, mu delta mas/yr, spectral class) from the star files, and
    every star's place (RA and declination in degrees, carried by its own proper motion from the
    files' epoch to J2000, the epoch of the d3-celestial places) with the same values."""
    out, named = {}, []
    for file in ("namedstars.dat", "unnamedstars.dat"):
        data = open(os.path.join(folder, file), "rb").read()
        at = 127
        fields = struct.unpack_from("<H", data, at)[0]
        at += 2 + 16 * fields
        trixels = struct.unpack_from("<I", data, at)[0]
        at += 4 + 12 * trixels + 5  # the index, then faint magnitude, HTM level, most stars
        while at + 32 <= len(data):
            ra, dec, dra, ddec, _, hd, _, _, spectral, _, _ = struct.unpack_from(
                "<iiiiiihh2sBB", data, at)
            at += 32
            code = "".join(c for c in spectral.decode("ascii", "replace") if c.isalnum())
            values = (dra / 10.0, ddec / 10.0, code)
            if hd > 0 and hd not in out:
                out[hd] = values
            ra_deg, dec_deg = ra / 1e6 * 15.0, dec / 1e5
            years = KSTARS_EPOCH_BEFORE_J2000
            cos_dec = math.cos(math.radians(dec_deg))
            if cos_dec > 1e-6:
                ra_deg += values[0] * years / 3.6e6 / cos_dec
            named.append((ra_deg % 360.0, dec_deg + values[1] * years / 3.6e6, values))
    return out, named


def nearest(named, ra, dec):
    """The values of the star with a proper motion nearest to (ra, dec) within 1', or None."""
    best, best_d = None, 1.0 / 60.0
    for r, d, values in named:
        if abs(d - dec) > best_d or (values[0] == 0.0 and values[1] == 0.0):
            continue
        dr = ((r - ra + 180.0) % 360.0 - 180.0) * math.cos(math.radians(dec))
        dist = math.hypot(dr, d - dec)
        if dist < best_d:
            best, best_d = values, dist
    return best


def hd_number(name):
    hd = name.get("hd") or ""
    digits = "".join(c for c in hd if c.isdigit())
    return int(digits) if digits else 0


def main(argv):
    check = argv[-1] == "--check"
    if check:
        argv = argv[:-1]
    if len(argv) < 3:
        print(__doc__)
        return 2
    d3, kstars = argv[1], argv[2]
    out_path = argv[3] if len(argv) > 3 else os.path.join(HERE, "stars.tsv")
    names = json.load(open(os.path.join(d3, "starnames.json"), encoding="utf-8"))
    places = {f["id"]: f for f in json.load(open(os.path.join(d3, "stars.6.json")))["features"]}
    genitive = {f["id"]: f["properties"]["gen"]
                for f in json.load(open(os.path.join(d3, "constellations.json")))["features"]}
    russian = {}
    for line in open(os.path.join(HERE, "constellations_ru.tsv"), encoding="utf-8"):
        if line.strip() and not line.startswith("#"):
            abbr, gen = line.rstrip("\n").split("\t")
            russian[abbr] = gen
    natures = {}
    for line in open(os.path.join(HERE, "star_natures.tsv"), encoding="utf-8"):
        if line.strip() and not line.startswith("#"):
            name, text = line.rstrip("\n").split("\t")
            natures[name] = text
    motions, named = read_kstars(kstars)
    nominative = {f["id"]: f["properties"]["ru"]
                  for f in json.load(open(os.path.join(d3, "constellations.json")))["features"]}

    candidates, seen = [], set()
    for hip, n in names.items():
        la, ru = n.get("name") or "", n.get("ru") or ""
        if not la or not ru or int(hip) not in places or la in seen:
            continue
        if NAME_BEARERS.get(la, int(hip)) != int(hip):
            continue
        if len(la.encode("cp1251", "replace")) > 19 or len(ru.encode("cp866")) > 20:
            continue
        des_la, des_ru = designation(n)
        if n.get("c") not in russian:
            continue
        seen.add(la)
        candidates.append((int(hip), n, places[int(hip)]))
    traditional = [c for c in candidates if c[1]["name"] in TRADITIONAL]
    others = sorted((c for c in candidates if c[1]["name"] not in TRADITIONAL),
                    key=lambda c: (c[2]["properties"]["mag"], c[0]))
    chosen = traditional + others[:LIMIT - len(traditional)]
    missing = (set(natures) | TRADITIONAL) - {c[1]["name"] for c in chosen}
    if missing:
        print("not found among the chosen stars:", ", ".join(sorted(missing)), file=sys.stderr)
        return 1

    rows = []
    for hip, n, place in chosen:
        ra, dec = place["geometry"]["coordinates"]
        ra %= 360.0
        mag = float(place["properties"]["mag"])
        bv = float(place["properties"].get("bv") or 0.0)
        # The HD number's entry; one without a proper motion gives way to the star at the place.
        found = motions.get(hd_number(n))
        if found is None or found[:2] == (0.0, 0.0):
            found = nearest(named, ra, dec) or found
        pm_ra, pm_dec, spectral = found or (0.0, 0.0, "")
        pm_ra, pm_dec = PAIR_MOTIONS.get(hip, (pm_ra, pm_dec))
        des_la, des_ru = designation(n)
        const = n["c"]
        variable = n["name"] in VARIABLES
        mag_text = "VAR" if variable else ("%.2f" % mag if mag >= 0 else "%.1f" % mag)
        if mag_text == "-0.0":
            mag_text = "0.0"
        label = n["ru"] + (", " + des_ru + " " + russian[const] if des_ru else "")
        text = "%s. Созвездие: %s. Звёздная величина %s%s, %s звезда%s." % (
            label, nominative[const], ("%.2f" % mag).replace(".", ","),
            " (переменная)" if variable else "", colour(bv),
            " спектрального класса " + spectral if spectral else "")
        if n["name"] in natures:
            text += " " + natures[n["name"]]
        rows.append([ecliptic_longitude(ra, dec), hip, n["name"], n["ru"], des_la, des_ru,
                     genitive[const], russian[const], spectral[:2], mag_text,
                     "%.4f" % ra, "%.4f" % dec, "%.2f" % pm_ra, "%.2f" % pm_dec]
                    + list(SPACE_MOTIONS.get(hip, ("", ""))) + [text])
    rows.sort(key=lambda r: (r[0], r[1]))
    lines = ["# number\thip\tname\tname_ru\tdesig\tdesig_ru\tconst\tconst_ru\tspectral\tmagnitude"
             "\tra2000\tdec2000\tpm_ra_mas\tpm_dec_mas\tparallax_mas\trv_kms\ttext_ru"]
    for number, r in enumerate(rows, start=1):
        lines.append("\t".join([str(number), str(r[1])] + [str(x) for x in r[2:]]))
    content = "\n".join(lines) + "\n"
    if check:
        same = open(out_path, encoding="utf-8").read() == content
        print("stars.tsv " + ("reproduced" if same else "differs"))
        return 0 if same else 1
    with open(out_path, "w", encoding="utf-8") as f:
        f.write(content)
    print("%d stars written to %s" % (len(rows), out_path))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
