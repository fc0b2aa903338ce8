#!/usr/bin/env python3
"""Checks every include of src/ against the library graph that src/CMakeLists.txt declares.

Each `velm_library(NAME [QT] DIR dir... [EXCLUDE dir...] [DEPS lib...])` owns the files under its
folders. A file may include a header of its own library or of a library it reaches through its
DEPS (the build links them PUBLIC, so the reach is transitive); a header of any other library
points sideways or upwards and is refused. A project header is one that names a file of src/,
whether the include quotes it or puts it in angle brackets (every library shares one include
root, so both forms compile). Also refused: an include written with a relative path ("../", "./":
every include names its file from src/), a quoted include that names no file of src/, a Qt header
(<QString>, <QtCore/QFile>, <qstring.h>) in a library declared without QT, a ui part's header in
a library that does not name that ui part in its own DEPS (the reach through another ui part does
not count: the shell names no view of a part it does not declare), and a circle in the DEPS.
The DEPS themselves are ranked as docs/layers.md draws the layers (LAYERS below): an edge that
points to a higher layer, one that takes a Qt library into a Qt-free one, one between two
libraries of a layer whose members do not use each other (astro beside platform_qt), a library of
no layer, and a library whose QT flag is not its layer's are refused. The program's own folder
(src/app) sees every library. Prints every offending line and exits 1;
silent and 0 when the layers hold.

    check_layers.py [ROOT]     (default: the source tree holding this script)
"""
import os
import re
import sys

CALL = re.compile(r"velm_library\s*\(([^)]*)\)", re.S)
SET = re.compile(r"^\s*set\s*\(\s*(\w+)\s+([^)\s]+)\s*\)", re.M)
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
QT_HEADER = re.compile(r"^Q[A-Za-z]*(/|$)|^Qt|^q[a-z0-9_]*\.h$")
APP_DIR = "app"  # src/app: the registration of every ui part and main()

# The layers from the bottom up (docs/layers.md): the libraries of each, by name or by the end of
# the name, whether they are built with Qt, and whether they may use each other (the cores use
# cores, the ui parts ui parts; astro and platform_qt stand beside each other).
LAYERS = [
    ({"platform_core"}, (), False, False),
    ({"foundation"}, (), False, False),
    ({"astro", "platform_qt"}, (), None, False),
    (set(), ("_core",), False, True),
    ({"document"}, (), True, False),
    (set(), ("_ui",), True, True),
    ({"shell"}, (), True, False),
]
QT_LIBRARIES = {"platform_qt"}  # the one library below the document built with Qt


def parse_libraries(root):
    """{name: {"dirs": [...], "exclude": [...], "deps": [...], "qt": bool}}, folders relative to
    src/."""
    text = open(os.path.join(root, "src", "CMakeLists.txt"), encoding="utf-8").read()
    text = re.sub(r"#[^\n]*", "", text)
    variables = {"CMAKE_CURRENT_SOURCE_DIR": "src"}

    def expand(word):
        return re.sub(r"\$\{(\w+)\}", lambda m: variables.get(m.group(1), m.group(0)), word)

    libraries = {}
    events = [(m.start(), "set", m) for m in SET.finditer(text)]
    events += [(m.start(), "lib", m) for m in CALL.finditer(text)]
    for _, kind, m in sorted(events, key=lambda e: e[0]):
        if kind == "set":
            variables[m.group(1)] = expand(m.group(2))
            continue
        words = [expand(w) for w in m.group(1).split()]
        name, lib, key = words[0], {"dirs": [], "exclude": [], "deps": [], "qt": False}, None
        for w in words[1:]:
            if w == "QT":
                lib["qt"] = True
            elif w in ("DIR", "EXCLUDE", "DEPS"):
                key = {"DIR": "dirs", "EXCLUDE": "exclude", "DEPS": "deps"}[w]
            elif key is not None:
                if key != "deps":
                    if not w.startswith("src/"):
                        sys.exit(f"check-layers: cannot read the folder {w} of {name}")
                    w = w[len("src/"):].rstrip("/")
                lib[key].append(w)
        libraries[name] = lib
    return libraries


def owner_of(path, libraries):
    """The library whose folder holds `path` (relative to src/), the deepest folder winning."""
    best, best_len = None, -1
    for name, lib in libraries.items():
        for d in lib["dirs"]:
            if (path.startswith(d + "/") and len(d) > best_len
                    and not any(path.startswith(e + "/") for e in lib["exclude"])):
                best, best_len = name, len(d)
    return best


def reach(name, libraries, seen=None):
    seen = set() if seen is None else seen
    for dep in libraries.get(name, {}).get("deps", []):
        if dep not in seen:
            seen.add(dep)
            reach(dep, libraries, seen)
    return seen


def is_ui_part(name, libraries):
    """A library of windows on the document layer: built with Qt and naming `document` in its
    DEPS (the shell and the document itself are not ui parts)."""
    return name != "shell" and libraries[name]["qt"] and "document" in libraries[name]["deps"]


def layer_of(name):
    """The index of the layer in LAYERS that holds the library, or None."""
    for rank, (names, _, _, _) in enumerate(LAYERS):
        if name in names:
            return rank
    for rank, (_, endings, _, _) in enumerate(LAYERS):
        if endings and name.endswith(endings):
            return rank
    return None


def rank_faults(libraries):
    """The DEPS edges and QT flags that the layers refuse."""
    faults = []
    where = "src/CMakeLists.txt"
    for name in sorted(libraries):
        rank = layer_of(name)
        if rank is None:
            faults.append(f"{where}: {name} belongs to no layer (docs/layers.md, LAYERS in "
                          f"scripts/check_layers.py)")
            continue
        qt = LAYERS[rank][2]
        if qt is None:
            qt = name in QT_LIBRARIES
        if libraries[name]["qt"] != qt:
            declared = "with" if libraries[name]["qt"] else "without"
            layer = "built with Qt" if qt else "Qt-free"
            faults.append(f"{where}: {name} is declared {declared} QT, its layer is {layer}")
        for dep in libraries[name]["deps"]:
            dep_rank = layer_of(dep)
            if dep_rank is None or dep not in libraries:
                continue
            edge = f"{where}: {name} -> {dep} in the DEPS"
            if libraries[dep]["qt"] and not libraries[name]["qt"]:
                faults.append(f"{edge} takes a Qt library into a Qt-free one")
            elif dep_rank > rank:
                faults.append(f"{edge} points up a layer")
            elif dep_rank == rank and not LAYERS[rank][3]:
                faults.append(f"{edge} joins two libraries of a layer that do not use each other")
    return faults


def circles(libraries):
    """Every library that reaches itself through its DEPS."""
    return sorted(name for name in libraries if name in reach(name, libraries))


def check(root):
    libraries = parse_libraries(root)
    src = os.path.join(root, "src")
    reaches = {name: reach(name, libraries) | {name} for name in libraries}
    faults = [f"src/CMakeLists.txt: {name} reaches itself through its DEPS (a circle)"
              for name in circles(libraries)]
    faults += rank_faults(libraries)
    for folder, _, files in os.walk(src):
        for file_name in sorted(files):
            if not file_name.endswith((".h", ".cpp")):
                continue
            full = os.path.join(folder, file_name)
            rel = os.path.relpath(full, src).replace(os.sep, "/")
            if rel.startswith(APP_DIR + "/"):
                continue
            owner = owner_of(rel, libraries)
            if owner is None:
                faults.append(f"src/{rel}: a file of no library (src/CMakeLists.txt)")
                continue
            for number, line in enumerate(open(full, encoding="utf-8", errors="replace"), 1):
                m = INCLUDE.match(line)
                if not m:
                    continue
                bracket, header = m.groups()
                where = f"src/{rel}:{number}: {line.strip()}"
                relative = header.startswith(("../", "./")) or "/../" in header
                if bracket == "<" and not relative and not os.path.isfile(
                        os.path.join(src, header)):
                    # A system header: only the Qt ones are ruled.
                    if QT_HEADER.match(header) and not libraries[owner]["qt"]:
                        faults.append(f"{where}\n  a Qt header in {owner}, a Qt-free library")
                    continue
                if relative:
                    faults.append(f"{where}\n  a relative include: name the header from src/")
                    continue
                if not os.path.isfile(os.path.join(src, header)):
                    faults.append(f"{where}\n  names no file of src/")
                    continue
                target = owner_of(header, libraries)
                if target is None:
                    faults.append(f"{where}\n  a header of no library")
                elif target not in reaches[owner]:
                    faults.append(f"{where}\n  {owner} may not use {target} "
                                  f"(its DEPS reach: {', '.join(sorted(reaches[owner]))})")
                elif (target != owner and is_ui_part(target, libraries)
                      and target not in libraries[owner]["deps"]):
                    faults.append(f"{where}\n  {owner} uses the ui part {target} without naming "
                                  f"it in its own DEPS")
    return faults


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..")
    faults = check(os.path.abspath(root))
    for f in faults:
        print(f"check-layers: {f}", file=sys.stderr)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
