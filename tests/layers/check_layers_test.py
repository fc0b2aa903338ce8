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


def main():
    src = os.path.join(ROOT, "src")
    # Each case: what is planted, in which folder's first source file, and the line added.
    cases = [
        ("a core includes a higher core", "astro", ".cpp",
         f'#include "{first_file(src, "conditions/core", ".h")}"'),
        ("a ui part reaches a ui part outside its DEPS", "forecast/ui", ".cpp",
         f'#include "{first_file(src, "astrocarto/ui", ".h")}"'),
        ("a ui part includes the shell", "views/ui", ".cpp",
         f'#include "{first_file(src, "shell", "kovra_app.h")}"'),
        ("a shell header by a relative path", "settings/ui", ".cpp",
         '#include "../../shell/kovra_app.h"'),
        ("Qt in the archive's export", "archive/export", ".cpp", "#include <QString>"),
        ("Qt in the archive's import", "archive/import", ".cpp", "#include <QtCore/QFile>"),
        ("Qt in a core", "forecast/core", ".h", "#include <QObject>"),
        ("the document includes a ui part", "document", ".cpp",
         f'#include "{first_file(src, "views/ui", ".h")}"'),
        ("a core includes the document", "rectification/core", ".cpp",
         f'#include "{first_file(src, "document", ".h")}"'),
    ]
    failures = 0
    with tempfile.TemporaryDirectory(prefix="velm-layers-") as tmp:
        copy = os.path.join(tmp, "tree")
        shutil.copytree(src, os.path.join(copy, "src"))
        shutil.copytree(os.path.join(ROOT, "scripts"), os.path.join(copy, "scripts"))
        code, out = run_check(copy)
        if code != 0:
            print(f"FAIL: the tree as it is is refused:\n{out}")
            failures += 1
        for what, folder, suffix, line in cases:
            victim = os.path.join(copy, "src", first_file(os.path.join(copy, "src"), folder, suffix))
            original = open(victim, encoding="utf-8").read()
            open(victim, "w", encoding="utf-8").write(original + "\n" + line + "\n")
            code, out = run_check(copy)
            open(victim, "w", encoding="utf-8").write(original)
            named = os.path.relpath(victim, copy) in out
            if code != 1 or not named:
                print(f"FAIL: {what}: not refused ({line} in {os.path.relpath(victim, copy)})")
                failures += 1
            else:
                print(f"ok: {what}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
