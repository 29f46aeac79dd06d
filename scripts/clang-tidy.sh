#!/usr/bin/env bash
# Runs clang-tidy (Debian's clang-tidy 14, the checks of .clang-tidy) on every source of the tree
# that the build compiles, two at a time; any finding fails. Needs a configured build folder with
# compile_commands.json: by default build-ci, as the test command leaves it.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-ci}
root=$(pwd)
tidy=clang-tidy-14
command -v "$tidy" >/dev/null || { echo "$tidy is missing (scripts/install-deps.sh)"; exit 2; }
[ -f "$build/compile_commands.json" ] || { echo "$build/compile_commands.json is missing"; exit 2; }
list=$(mktemp)
trap 'rm -f "$list"' EXIT
python3 - "$build/compile_commands.json" "$root" > "$list" <<'PY'
import json, sys
root = sys.argv[2] + "/"
files = {entry["file"] for entry in json.load(open(sys.argv[1]))}
for name in sorted(files):
    relative = name[len(root):] if name.startswith(root) else ""
    if relative.split("/", 1)[0] in ("src", "tests", "tools", "bench", "fuzz"):
        print(name)
PY
echo "clang-tidy on $(wc -l < "$list") files"
# The build compiles with GCC: its warning options unknown to clang are no findings.
set +e +o pipefail
xargs -a "$list" -P 2 -n 1 "$tidy" -p "$build" --quiet \
  --header-filter="^$root/(src|tests|tools|bench|fuzz)/" \
  --extra-arg=-Wno-unknown-warning-option 2>&1 | grep -v -E '^[0-9]+ warnings? generated\.$'
status=${PIPESTATUS[0]}
[ "$status" -eq 0 ] && echo "clang-tidy: no findings"
exit "$status"
