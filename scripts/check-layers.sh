#!/usr/bin/env bash
# Refuses every include that the library graph of src/CMakeLists.txt does not allow
# (docs/layers.md): a project header (quoted or in angle brackets) of a library that the including
# library does not reach through its DEPS, a ui part's header where the DEPS do not name that ui
# part, an include by a relative path, a Qt header in a library built without Qt, a circle in
# the DEPS, and a DEPS edge that points up the layers or takes a Qt library into a Qt-free one.
# Prints every offending line and exits 1; silent and 0 when the layers hold.
set -euo pipefail
exec python3 "$(dirname "$0")/check_layers.py" "$(dirname "$0")/.."
