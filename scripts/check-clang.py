#!/usr/bin/env python3
"""Compiles with clang as well (-Werror) what g++ alone would let break unseen: the sources that
hold compiler-specific code, for the fuzzing tree (scripts/fuzz.sh builds with clang), and every
test source, read for syntax and clang's warnings.

    scripts/check-clang.py [BUILD_TREE] [-j JOBS]     (default build/test, as many jobs as cores)

Each file takes its own command from the tree's compile_commands.json, clang++-14 in place of the
compiler. The sources are compiled with the object thrown away; the tests only checked
(-fsyntax-only), each over a precompiled header of GoogleTest, the Qt modules its target uses and
the common standard headers, built once per set of flags: that halves the time, and g++ has
already compiled the tests against their own includes. Prints every refusal and exits 1."""
import argparse
import json
import os
import re
import shlex
import subprocess
import sys
import tempfile
from concurrent.futures import ThreadPoolExecutor
from pathlib import Path

# Target attributes and vector widths that g++ and clang spell differently.
FILES = ["src/astro/ephemeris/series_sets.cpp", "src/foundation/numbers/vector_state.cpp"]
# What every test's precompiled header holds besides its Qt modules (by -DQT_<MODULE>_LIB).
PRECOMPILED = ["gtest/gtest.h", "algorithm", "array", "cmath", "filesystem", "fstream",
               "functional", "map", "memory", "optional", "set", "sstream", "string",
               "string_view", "tuple", "vector"]
QT_MODULES = {"CORE": "QtCore", "GUI": "QtGui", "WIDGETS": "QtWidgets",
              "PRINTSUPPORT": "QtPrintSupport", "SVG": "QtSvg", "TESTLIB": "QtTest"}

root = Path(__file__).resolve().parent.parent
parser = argparse.ArgumentParser()
parser.add_argument("tree", nargs="?", default="build/test")
parser.add_argument("-j", type=int, default=os.cpu_count() or 1)
args = parser.parse_args()
tree = root / args.tree
entries = json.loads((tree / "compile_commands.json").read_text())
commands = {Path(e["file"]).resolve(): e for e in entries}


def clang_words(entry):
    """The entry's command for clang, without its output and its source."""
    words = shlex.split(entry["command"])
    words[0] = "clang++-14"
    if "-o" in words:
        at = words.index("-o")
        del words[at:at + 2]
    # The g++ tree's precompiled header is g++'s own; clang reads the headers through its own.
    for at in reversed(range(len(words) - 1)):
        if words[at] == "-include" and words[at + 1].endswith("cmake_pch.hxx"):
            del words[at:at + 2]
    return [w for w in words if w not in ("-c", "-Winvalid-pch") and Path(
        entry["directory"], w).resolve() != Path(entry["file"]).resolve()]


def run(words, cwd, name):
    done = subprocess.run(words, cwd=cwd, capture_output=True, text=True)
    if done.returncode != 0 or done.stderr:
        return f"check-clang: clang refuses {name}\n{done.stderr}"
    return None


jobs = []
for name in FILES:
    entry = commands.get((root / name).resolve())
    if entry is None:
        sys.exit(f"check-clang: {name} is not in {tree}/compile_commands.json")
    jobs.append((clang_words(entry) + ["-c", entry["file"], "-o", "/dev/null"],
                 entry["directory"], name))

# The tests by their flags (include folders aside): one precompiled header for each set.
tests = root / "tests"
groups = {}
for entry in entries:
    source = Path(entry["file"]).resolve()
    if tests in source.parents and source.suffix == ".cpp" and "_autogen" not in source.parts:
        words = clang_words(entry)
        key = tuple(w for w in words if not w.startswith("-I"))
        groups.setdefault(key, []).append((words, entry))
if not groups:
    sys.exit(f"check-clang: no test source in {tree}/compile_commands.json")

with tempfile.TemporaryDirectory(prefix="velm-clang-") as scratch, \
        ThreadPoolExecutor(max(1, args.j)) as pool:
    headers = []
    for number, (key, members) in enumerate(groups.items()):
        words, entry = members[0]
        modules = [QT_MODULES[m] for m in re.findall(r"-DQT_(\w+)_LIB", " ".join(key))
                   if m in QT_MODULES]
        header = Path(scratch, f"tests{number}.h")
        header.write_text("".join(f"#include <{h}>\n" for h in
                                  [f"{m}/{m}" for m in modules] + PRECOMPILED))
        pch = header.with_suffix(".pch")
        headers.append((pch, members))
        jobs.append((words + ["-x", "c++-header", str(header), "-o", str(pch)],
                     entry["directory"], f"the precompiled header of {entry['file']}"))
    failures = [f for f in pool.map(lambda j: run(*j), jobs) if f]
    if not failures:
        checks = [(words + ["-include-pch", str(pch), "-fsyntax-only", entry["file"]],
                   entry["directory"], os.path.relpath(entry["file"], root))
                  for pch, members in headers for words, entry in members]
        failures = [f for f in pool.map(lambda j: run(*j), checks) if f]
for failure in failures:
    print(failure, file=sys.stderr)
sys.exit(1 if failures else 0)
