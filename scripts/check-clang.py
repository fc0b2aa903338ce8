#!/usr/bin/env python3
"""Compiles the sources that hold compiler-specific code with clang as well (-Werror), so that the
fuzzing tree (scripts/fuzz.sh builds with clang) cannot break unseen while g++ builds the rest.

    scripts/check-clang.py [BUILD_TREE]     (default build/test)

Each file takes its own command from the tree's compile_commands.json, clang++-14 in place of the
compiler and the object thrown away."""
import json
import shlex
import subprocess
import sys
from pathlib import Path

# Target attributes and vector widths that g++ and clang spell differently.
FILES = ["src/astro/ephemeris/series_sets.cpp", "src/foundation/numbers/vector_state.cpp"]

root = Path(__file__).resolve().parent.parent
tree = root / (sys.argv[1] if len(sys.argv) > 1 else "build/test")
commands = {Path(e["file"]).resolve(): e for e in json.loads((tree / "compile_commands.json").read_text())}
failed = False
for name in FILES:
    entry = commands.get((root / name).resolve())
    if entry is None:
        sys.exit(f"check-clang: {name} is not in {tree}/compile_commands.json")
    words = shlex.split(entry["command"])
    words[0] = "clang++-14"
    if "-o" in words:
        words[words.index("-o") + 1] = "/dev/null"
    result = subprocess.run(words, cwd=entry["directory"])
    if result.returncode != 0:
        print(f"check-clang: clang refuses {name}", file=sys.stderr)
        failed = True
sys.exit(1 if failed else 0)
