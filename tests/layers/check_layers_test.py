#!/usr/bin/env python3
"""The layer check refuses one planted violation of every kind docs/layers.md names, each in a
copy of the source tree, and passes the tree as it is."""
import os
import shutil
import subprocess
import sys
import tempfile

ROOT = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else
                       os.path.join(os.path.dirname(__file__), "..", ".."))


def first_file(src, folder, suffix):
    for dirpath, _, files in sorted(os.walk(os.path.join(src, folder))):
        for f in sorted(files):
            if f.endswith(suffix):
                return os.path.relpath(os.path.join(dirpath, f), src)
    raise SystemExit(f"no {suffix} file under src/{folder}")


def run_check(root):
    done = subprocess.run([sys.executable, os.path.join(root, "scripts", "check_layers.py"), root],
                          capture_output=True, text=True)
    return done.returncode, done.stderr


def append_line(line):
    return lambda text: text + "\n" + line + "\n"


def main():
    src = os.path.join(ROOT, "src")

    def in_first(folder, suffix):
        return os.path.join("src", first_file(src, folder, suffix))

    cmake = os.path.join("src", "CMakeLists.txt")
    # Each case: what is planted, in which file (relative to the tree), how, and optionally what
    # the refusal says (else the file's name).
    cases = [
        ("a core includes a higher core", in_first("astro", ".cpp"),
         append_line(f'#include "{first_file(src, "conditions/core", ".h")}"')),
        ("a ui part reaches a ui part outside its DEPS", in_first("forecast/ui", ".cpp"),
         append_line(f'#include "{first_file(src, "astrocarto/ui", ".h")}"')),
        ("a ui part includes the shell", in_first("views/ui", ".cpp"),
         append_line(f'#include "{first_file(src, "shell", "kovra_app.h")}"')),
        ("a ui part includes the shell in angle brackets", in_first("conditions/ui", ".cpp"),
         append_line(f'#include <{first_file(src, "shell", "kovra_doc.h")}>')),
        ("a core includes the document in angle brackets", in_first("archive/store", ".h"),
         append_line(f'#include <{first_file(src, "document", ".h")}>')),
        ("a shell header by a relative path", in_first("settings/ui", ".cpp"),
         append_line('#include "../../shell/kovra_app.h"')),
        ("the shell names a view of a part it does not declare", in_first("shell", ".cpp"),
         append_line(f'#include "{first_file(src, "conditions/ui", "_view.h")}"')),
        ("Qt in the archive's export", in_first("archive/export", ".cpp"),
         append_line("#include <QString>")),
        ("Qt in the archive's import", in_first("archive/import", ".cpp"),
         append_line("#include <QtCore/QFile>")),
        ("Qt in a core", in_first("forecast/core", ".h"), append_line("#include <QObject>")),
        ("a lowercase Qt header in a core", in_first("views/core", ".cpp"),
         append_line("#include <qstring.h>")),
        ("the document includes a ui part", in_first("document", ".cpp"),
         append_line(f'#include "{first_file(src, "views/ui", ".h")}"')),
        ("a core includes the document", in_first("rectification/core", ".cpp"),
         append_line(f'#include "{first_file(src, "document", ".h")}"')),
        ("a circle of ui parts in the DEPS", cmake,
         lambda text: text.replace("DIR ${src}/settings/ui DEPS document",
                                   "DIR ${src}/settings/ui DEPS document views_ui", 1)),
    ]
    # A DEPS edge the layers refuse, with no include that uses it: what the check must say.
    core = "velm_library(astrocarto_core DIR ${src}/astrocarto/core DEPS astro"
    for dep in ("document", "settings_ui", "platform_qt"):
        cases.append((f"a core given {dep} in its DEPS", cmake,
                      lambda text, dep=dep: text.replace(core, f"{core} {dep}", 1),
                      f"astrocarto_core -> {dep} in the DEPS"))
    cases.append(("platform_qt given astro, beside it, in its DEPS", cmake,
                  lambda text: text.replace("platform/qt DEPS foundation",
                                            "platform/qt DEPS foundation astro", 1),
                  "platform_qt -> astro in the DEPS"))
    cases.append(("a ui part given the shell, a layer up, in its DEPS", cmake,
                  lambda text: text.replace("views/ui DEPS document",
                                            "views/ui DEPS document shell", 1),
                  "views_ui -> shell in the DEPS points up a layer"))
    cases.append(("a library of no layer", cmake,
                  append_line("velm_library(plotting DIR ${src}/plotting DEPS astro)"),
                  "plotting belongs to no layer"))
    cases.append(("a core declared with QT", cmake,
                  lambda text: text.replace("views_core DIR", "views_core QT DIR", 1),
                  "views_core is declared with QT"))
    cases.append(("a file of no library", os.path.join("src", "plotting", "plot.cpp"),
                  lambda text: text + "int Plot() { return 1; }\n", "a file of no library"))
    cases.append(("a quoted include that names no file", in_first("astro", ".cpp"),
                  append_line('#include "astro/no_such_header.h"'), "names no file of src/"))
    cases.append(("a header of no library (the program's own folder)", in_first("views/core", ".cpp"),
                  append_line('#include "app/subsystems.h"'), "a header of no library"))
    failures = 0
    with tempfile.TemporaryDirectory(prefix="velm-layers-") as tmp:
        copy = os.path.join(tmp, "tree")
        shutil.copytree(src, os.path.join(copy, "src"))
        shutil.copytree(os.path.join(ROOT, "scripts"), os.path.join(copy, "scripts"))
        code, out = run_check(copy)
        if code != 0:
            print(f"FAIL: the tree as it is is refused:\n{out}")
            failures += 1
        for what, victim, plant, *said in cases:
            path = os.path.join(copy, victim)
            # A file that does not exist is planted whole, and removed afterwards.
            existed = os.path.exists(path)
            original = open(path, encoding="utf-8").read() if existed else ""
            planted = plant(original)
            if planted == original:
                print(f"FAIL: {what}: nothing planted in {victim}")
                failures += 1
                continue
            os.makedirs(os.path.dirname(path), exist_ok=True)
            open(path, "w", encoding="utf-8").write(planted)
            code, out = run_check(copy)
            if existed:
                open(path, "w", encoding="utf-8").write(original)
            else:
                os.remove(path)
            if code != 1 or (said[0] if said else victim) not in out:
                print(f"FAIL: {what}: not refused (in {victim})")
                failures += 1
            else:
                print(f"ok: {what}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
