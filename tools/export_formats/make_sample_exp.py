#!/usr/bin/env python3
"""Writes data/velm.exp: the one export format the program ships, "Текст через точку с запятой"
(extension csv): a header line, then per chart its name; date; time; zone; place; latitude;
longitude, fields separated by semicolons and each line ended by CR LF.

The layout is that of velm.exp: per format name (80), extension (5), header flag (int32),
header (80), real-date flag (int32), element count (int32), then 80-byte elements, little-endian.
Usage: make_sample_exp.py OUTPUT
"""
import struct
import sys


def text(value, width):
    raw = value.encode("cp1251")[: width - 1]
    return raw + b"\0" * (width - len(raw))


def element(kind, pad=0, fill=32, width=1, side=0, plus=ord("+"), minus=ord("-"), sep=ord(";")):
    data = struct.pack("<h2xiHHHHHH", kind, pad, fill, width, side, 0, plus, minus)
    data += b"\0" * 10 + b"\0" * 10  # era texts
    data += struct.pack("<H2xiHHH", sep, 1, 0, 1, 0)
    data += b"\0" * 26
    assert len(data) == 80
    return data


def two_digits(kind):
    return element(kind, pad=1, fill=ord("0"), width=2)


def separator(code):
    return element(22, sep=code)


ELEMENTS = [
    element(0), separator(ord(";")),
    two_digits(1), separator(ord(".")), two_digits(2), separator(ord(".")), element(3),
    separator(ord(";")),
    two_digits(5), separator(ord(":")), two_digits(6), separator(ord(":")), two_digits(7),
    separator(ord(";")),
    element(12), two_digits(8), separator(ord(":")), two_digits(9), separator(ord(";")),
    element(13), separator(ord(";")),
    element(14), separator(ord(":")), two_digits(15), element(16, plus=ord("N"), minus=ord("S")),
    separator(ord(";")),
    element(17), separator(ord(":")), two_digits(18), element(19, plus=ord("E"), minus=ord("W")),
    separator(13), separator(10),
]

HEADER = "Имя;Дата;Время;Пояс;Место;Широта;Долгота"


def main():
    out = text("Текст через точку с запятой", 80) + text("csv", 5)
    out += struct.pack("<i", 1) + text(HEADER, 80) + struct.pack("<i", 0)
    out += struct.pack("<i", len(ELEMENTS)) + b"".join(ELEMENTS)
    with open(sys.argv[1], "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main()
