#!/usr/bin/env bash
# Refuses includes that point upwards through the layers (docs/layers.md):
#   - a Qt header in a Qt-free core (src/*/core, src/foundation, src/astro, the archive's core);
#     the build refuses them too, since those libraries do not see Qt;
#   - a shell header in a ui part (src/*/ui, src/archive/browser), the shell's Qt-free core
#     (shell/core/) included: the windows see the chart document and the workbench (src/document/)
#     and the cores below; the document layer may use shell/core/ as it uses the other cores;
#   - a ui part's header in the document layer.
# Prints every offending line and exits 1; silent and 0 when the layers hold.
set -uo pipefail
cd "$(dirname "$0")/.."

status=0
refuse() {  # refuse MESSAGE PATTERN PATH...
  local message=$1 pattern=$2
  shift 2
  local found
  found=$(grep -rnE --include='*.h' --include='*.cpp' "$pattern" "$@" 2>/dev/null)
  if [ -n "$found" ]; then
    echo "check-layers: $message" >&2
    echo "$found" >&2
    status=1
  fi
}

cores=(src/foundation src/astro src/platform/core src/archive/store src/archive/comments)
for dir in src/*/core; do cores+=("$dir"); done
existing=()
for dir in "${cores[@]}"; do [ -d "$dir" ] && existing+=("$dir"); done
refuse "a Qt-free core includes a Qt header (cores never include Qt)" \
  '#include[[:space:]]*[<"]Q' "${existing[@]}"

ui_parts=(src/archive/browser)
for dir in src/*/ui; do ui_parts+=("$dir"); done
refuse "a ui part includes a shell header (use document/... and the Workbench instead)" \
  '#include[[:space:]]*"shell/' "${ui_parts[@]}"
refuse "the document layer includes a shell header other than the shell's Qt-free core" \
  '#include[[:space:]]*"shell/([^c]|c[^o]|co[^r]|cor[^e]|core[^/])' src/document
refuse "the document layer includes a ui part's header (the ui parts are built on it)" \
  '#include[[:space:]]*"([a-z]+/ui|archive/browser)/' src/document

exit $status
