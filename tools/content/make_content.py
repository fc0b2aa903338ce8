#!/usr/bin/env python3
"""Writes the shipped lists of Arabic parts ("velm.arb") and aspect-graph pair lists ("velm.agr").

Usage: python3 tools/content/make_content.py data        (writes data/velm.arb, data/velm.agr)
       python3 tools/content/make_content.py data --check (compares instead of writing)

Both files are code page 1251. "velm.arb": one part a line, CR LF: the switch 'Y', the operands
A, B, C as 'A' + code (0..29 chart points, 30..41 the cusps of houses 1..12, 42..53 their rulers),
the operators as '+' + code (0 add, 1 subtract, 2 add by day and subtract by night, 3 the
reverse), then the name. "velm.agr": one list a line, LF: the pair count as 'A' + n, per pair six
codes as 'A' + code (first member, its technique, converse flag, second member, its technique,
converse flag) and the aspect system's name padded to 8 blanks, then the period and the house orb
class as 'A' + code, then the list's name.
"""
import sys
from pathlib import Path

SUN, MOON, MERCURY, VENUS, MARS, JUPITER, SATURN, URANUS, NEPTUNE, PLUTO = range(10)
CUSP = 30          # operand of house h's cusp: CUSP + h - 1
RULER = 42         # operand of house h's ruler: RULER + h - 1
ADD, SUB, ADD_BY_DAY, SUB_BY_DAY = range(4)

# Classical lots: (A, op1, B, op2, C, name) meaning A op1 B op2 C.
LOTS = [
    (CUSP, ADD_BY_DAY, MOON, SUB_BY_DAY, SUN, "Часть Фортуны"),
    (CUSP, ADD_BY_DAY, SUN, SUB_BY_DAY, MOON, "Часть Духа"),
    (CUSP, ADD, VENUS, SUB, SUN, "Часть Любви"),
    (CUSP, ADD, CUSP + 6, SUB, VENUS, "Часть Брака"),
    (CUSP, ADD, VENUS, SUB, CUSP + 6, "Часть Развода"),
    (CUSP, ADD_BY_DAY, SATURN, SUB_BY_DAY, SUN, "Часть Отца"),
    (CUSP, ADD_BY_DAY, MOON, SUB_BY_DAY, VENUS, "Часть Матери"),
    (CUSP, ADD, JUPITER, SUB, SATURN, "Часть Братьев и сестер"),
    (CUSP, ADD_BY_DAY, SATURN, SUB_BY_DAY, JUPITER, "Часть Детей"),
    (CUSP, ADD, JUPITER, SUB, MOON, "Часть Сыновей"),
    (CUSP, ADD, VENUS, SUB, MOON, "Часть Дочерей"),
    (CUSP, ADD_BY_DAY, MARS, SUB_BY_DAY, SATURN, "Часть Болезни"),
    (CUSP, ADD, SATURN, SUB, MARS, "Часть Хирургии"),
    (CUSP, ADD, CUSP + 7, SUB, MOON, "Часть Смерти"),
    (CUSP, ADD, CUSP + 8, SUB, RULER + 8, "Часть Путешествий"),
    (CUSP, ADD, CUSP + 9, SUB, SUN, "Часть Карьеры"),
    (CUSP, ADD, CUSP + 1, SUB, RULER + 1, "Часть Богатства"),
    (CUSP, ADD, MOON, SUB, URANUS, "Часть Друзей"),
    (CUSP, ADD, MOON, SUB, SATURN, "Часть Наследства"),
    (CUSP, ADD, CUSP + 3, SUB, RULER + 3, "Часть Дома"),
    (CUSP, ADD, MERCURY, SUB, SUN, "Часть Торговли"),
    (CUSP, ADD, MOON, SUB, MERCURY, "Часть Веры"),
    (CUSP, ADD, MERCURY, SUB, MARS, "Часть Тяжб"),
    (CUSP, ADD, MARS, SUB, MERCURY, "Часть Разума"),
]

# Aspect-graph members: points 0..33, the cusp of house h as 33 + h; techniques as the graph
# numbers them.
ASC, MC = 34, 43
RADIX, TRUE_SOLAR_ARC, TRANSIT, SECONDARY = 0, 3, 6, 7
SYSTEM = "VELM"   # the shipped aspect system (data/VELM.asp)
PERIOD_YEAR, PERIOD_TEN_YEARS, PERIOD_FIFTY_YEARS = 5, 9, 10


def pairs(movers, technique, targets):
    return [(m, technique, 0, t, RADIX, 0) for m in movers for t in targets]


# (name, pairs, period, house orb class)
LISTS = [
    ("Транзиты к Солнцу, Луне, ASC и MC",
     pairs([JUPITER, SATURN, URANUS, NEPTUNE, PLUTO], TRANSIT, [SUN, MOON, ASC, MC]),
     PERIOD_YEAR, 1),
    ("Вторичные прогрессии",
     pairs([SUN, MOON, VENUS, MARS], SECONDARY, [SUN, MOON, VENUS, MARS, ASC, MC]),
     PERIOD_TEN_YEARS, 1),
    ("Дирекции солнечной дуги",
     pairs([ASC, MC, SUN], TRUE_SOLAR_ARC,
           [SUN, MOON, MERCURY, VENUS, MARS, JUPITER, SATURN]),
     PERIOD_FIFTY_YEARS, 1),
]


def code(value):
    return chr(ord('A') + value)


def arb_bytes():
    out = b""
    for a, op1, b, op2, c, name in LOTS:
        line = "Y" + code(a) + code(b) + code(c) + chr(ord('+') + op1) + chr(ord('+') + op2)
        out += line.encode("ascii") + name.encode("cp1251") + b"\r\n"
    return out


def agr_bytes():
    out = b""
    for name, members, period, orb_class in LISTS:
        assert len(members) <= 24 and len(name) <= 35
        line = code(len(members))
        for pair in members:
            line += "".join(code(v) for v in pair) + SYSTEM.ljust(8)
        line += code(period) + code(orb_class) + name
        out += line.encode("cp1251") + b"\n"
    return out


def main():
    folder = Path(sys.argv[1])
    check = "--check" in sys.argv[2:]
    differs = False
    for name, data in (("velm.arb", arb_bytes()), ("velm.agr", agr_bytes())):
        target = folder / name
        if check:
            if not target.exists() or target.read_bytes() != data:
                print(f"{target} differs from the generator's output")
                differs = True
        else:
            target.write_bytes(data)
    return 1 if differs else 0


if __name__ == "__main__":
    sys.exit(main())
