#!/usr/bin/env python3
"""Compares two atlases (Town.cor, Town.dat, Town.dst of two folders) byte by byte outside the
zone fields: the region list, the town count, and per town the coordinates, the code below its
top byte, the region number, the name and the Latin name must be the same bytes. Lists the towns
whose zone (the tz zone name, or the standard zone of the code's top byte) differs; exits 1 when
anything else differs.

    python3 tools/atlas/diff_atlas.py <old folder> <new folder> [town name ...]

Towns named (as the atlas writes them, or their Latin names) are shown whether they changed or
not.
"""
import struct
import sys
from pathlib import Path

ZONE_BYTE_MASK = 0x00FFFFFF


def read_atlas(folder):
    """(the bytes of Town.dst, [per town: (the record bytes outside the zone fields, zone name,
    top byte of the code, name, Latin name)])."""
    folder = Path(folder)
    cor = (folder / "Town.cor").read_bytes()
    dat = (folder / "Town.dat").read_bytes()
    if cor[:4] != b"VTWC" or dat[:4] != b"VTWD" or struct.unpack_from("<H", dat, 4)[0] != 3:
        raise ValueError("%s: not an atlas of Town.dat version 3" % folder)
    count = struct.unpack_from("<I", cor, 6)[0]
    if struct.unpack_from("<I", dat, 6)[0] != count:
        raise ValueError("%s: Town.cor and Town.dat count different towns" % folder)
    zones, pos = [], 12
    for _ in range(struct.unpack_from("<H", dat, 10)[0]):
        zones.append(dat[pos + 1:pos + 1 + dat[pos]].decode("ascii"))
        pos += 1 + dat[pos]
    towns = []
    for k in range(count):
        lat, lon, code = struct.unpack_from("<hhI", cor, 10 + 8 * k)
        start = pos
        pos += 2
        name = dat[pos + 1:pos + 1 + dat[pos]]
        pos += 1 + dat[pos]
        latin = dat[pos + 1:pos + 1 + dat[pos]]
        pos += 1 + dat[pos]
        record = struct.pack("<hhI", lat, lon, code & ZONE_BYTE_MASK) + dat[start:pos]
        zone = struct.unpack_from("<H", dat, pos)[0]
        pos += 2
        towns.append((record, zones[zone - 1] if zone else "", code >> 24,
                      name.decode("cp866"), latin.decode("cp866")))
    if pos != len(dat):
        raise ValueError("%s: Town.dat has %d bytes after its last town" % (folder, len(dat) - pos))
    return (folder / "Town.dst").read_bytes(), towns


def main(old_folder, new_folder, *named):
    old_regions, old = read_atlas(old_folder)
    new_regions, new = read_atlas(new_folder)
    faults = []
    if old_regions != new_regions:
        faults.append("Town.dst differs")
    if len(old) != len(new):
        faults.append("%d towns, then %d" % (len(old), len(new)))
    renamed = moved = 0
    for k, (a, b) in enumerate(zip(old, new)):
        if a[0] != b[0]:
            faults.append("town %d (%s): bytes outside the zone fields differ" % (k, a[3]))
            continue
        changed = a[1:3] != b[1:3]
        renamed += a[1] != b[1]
        moved += a[2] != b[2]
        if changed or a[3] in named or a[4] in named:
            print("%6d %-25s %-25s %-32s -> %-32s standard %+.2f -> %+.2f h"
                  % (k, a[3], a[4], a[1] or "-", b[1] or "-", (a[2] - 128) / 4 if a[2] else 0,
                     (b[2] - 128) / 4 if b[2] else 0))
    print("%d towns; %d with another zone name, %d with another standard zone; %s"
          % (len(new), renamed, moved, "; ".join(faults) or "nothing else differs"))
    return 1 if faults else 0


if __name__ == "__main__":
    if len(sys.argv) < 3:
        sys.exit("usage: diff_atlas.py <old folder> <new folder> [town name ...]")
    sys.exit(main(*sys.argv[1:]))
