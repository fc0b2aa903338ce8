#!/usr/bin/env python3
"""Writes the shipped lists of Arabic parts ("velm.arb") and aspect-graph pair lists ("velm.agr"),
and the demonstration interpretation base "signs" (the Sun and the Moon in the twelve signs) with
its entry in the base list "tlr.bas".

Usage: python3 tools/content/make_content.py data        (writes the files into data/)
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


SIGNS = ["Овне", "Тельце", "Близнецах", "Раке", "Льве", "Деве", "Весах", "Скорпионе",
         "Стрельце", "Козероге", "Водолее", "Рыбах"]

# The demonstration texts: the Sun and the Moon in each sign, written for this program.
SUN_TEXTS = [
    "Воля проявляется прямо и быстро. Человек охотно берется за новое, любит первенство и "
    "открытое соперничество, но не всегда доводит начатое до конца.",
    "Сила личности - в постоянстве. Человек строит медленно и надежно, ценит удобство, "
    "вещи и деньги, заработанные своим трудом, и трудно меняет привычный уклад.",
    "Ум подвижен и любопытен. Человек легко сходится с людьми, схватывает новое на лету, "
    "любит разговор и переписку, но быстро теряет интерес к однообразному.",
    "Жизненная сила направлена на дом и близких. Человек чуток к настроению окружающих, "
    "бережет память о прошлом и защищает своих, иногда замыкаясь в себе.",
    "Солнце в своем знаке: яркая, щедрая натура. Человеку важно быть замеченным, он умеет "
    "вести за собой и радоваться жизни, но болезненно переносит невнимание.",
    "Воля выражается через порядок и пользу. Человек внимателен к мелочам, добросовестен в "
    "работе и здоровье, склонен к критике - в том числе к самокритике.",
    "Личность раскрывается в отношениях. Человек ищет согласия и красоты, умеет выслушать обе "
    "стороны, но нередко откладывает решение, чтобы никого не обидеть.",
    "Сильная, скрытая воля. Человек глубоко переживает, не боится кризисов и умеет "
    "начинать заново; ему свойственны упорство и потребность во власти над обстоятельствами.",
    "Воля устремлена вдаль. Человек ищет смысл и простор, любит путешествия и учение, "
    "щедр на обещания и верит в лучшее, иногда переоценивая свои силы.",
    "Воля собранная и целеустремленная. Человек ставит далекие цели и идет к ним шаг за "
    "шагом, уважает порядок и ответственность, с годами становясь только увереннее.",
    "Личность ценит свободу и равенство. Человек смотрит на вещи по-своему, дорожит дружбой и "
    "общим делом, бывает непредсказуем и не терпит давления.",
    "Натура восприимчивая и сострадательная. Человек живет чувствами и воображением, легко "
    "откликается на чужую боль, но ему бывает трудно провести границы.",
]
MOON_TEXTS = [
    "Чувства вспыхивают быстро и так же быстро проходят. Человек нетерпелив в желаниях и "
    "ищет в переживаниях действия.",
    "Луна в экзальтации: чувства ровные и глубокие. Человеку нужны покой, надежность и "
    "телесный уют, и он умеет их создать для других.",
    "Настроение переменчиво, как разговор. Человек успокаивается, когда может высказаться, "
    "и нуждается в новых впечатлениях.",
    "Луна в своем знаке: сильная привязанность к дому и семье. Человек заботлив, памятлив и "
    "очень чувствителен к обидам.",
    "Чувства щедрые и гордые. Человеку нужно, чтобы его любовь видели и ценили; он открыт и "
    "великодушен, если его не задевают.",
    "Чувства сдержанны и выражаются в заботе на деле. Человек успокаивается, наводя порядок, "
    "и склонен тревожиться о мелочах.",
    "Душевное равновесие зависит от близких. Человек тянется к гармонии и красивому, избегает "
    "ссор и ищет партнера, с которым можно разделить чувства.",
    "Луна в падении: чувства сильные и скрытые. Человек не прощает предательства, глубоко "
    "переживает потери, но умеет возрождаться после них.",
    "Душе нужны простор и вера. Человек оптимистичен, прям в выражении чувств и тоскует "
    "в тесноте и рутине.",
    "Чувства под контролем. Человек не любит показывать слабость, опирается на долг и "
    "привычный порядок и раскрывается лишь с самыми близкими.",
    "Чувства дружеские, немного отстраненные. Человеку важны свобода и общие идеи; он "
    "спокойно переносит одиночество и не терпит навязчивости.",
    "Душа тонкая и впечатлительная. Человек легко перенимает настроение окружающих, "
    "мечтателен и нуждается в уединении, чтобы восстановить силы.",
]
TEXT_BASE = "signs"
GROUPS = [(10, "Солнце"), (11, "Луна")]


def condition(body, sign):
    """A position condition: the body in the sign, as the condition lists store it."""
    return f"1 + 1 {body} {100 + sign} 0 \x03 \x03 \x03 0 0 0 0 0 0 0 0 0 0 0\n"


def text_base_files():
    tlt, tlf = "", ""
    number = 1
    for body, name, texts in ((0, "Солнце", SUN_TEXTS), (1, "Луна", MOON_TEXTS)):
        for sign, body_text in enumerate(texts):
            tlt += f"^{number:04d} ^{name} в {SIGNS[sign]}^ /{name}/\n{body_text}\n"
            tlf += f"^{number:04d}\nALL\n" + condition(body, sign)
            number += 1
    tlg = "".join(f"{priority:02d}T{name}\n" for priority, name in GROUPS)
    return {
        TEXT_BASE + ".tlt": tlt.encode("cp1251"),
        TEXT_BASE + ".tlf": tlf.encode("cp1251"),
        TEXT_BASE + ".tlg": tlg.encode("cp1251"),
        "tlr.bas": b"\x03T" + TEXT_BASE.encode("ascii") + b"\n",
    }


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
    files = {"velm.arb": arb_bytes(), "velm.agr": agr_bytes(), **text_base_files()}
    for name, data in files.items():
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
