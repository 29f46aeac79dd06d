#!/usr/bin/env bash
# Fails when a C++ source differs from .clang-format, naming each file and the first lines.
# The formatter is pinned (Debian's clang-format 14): another version formats differently.
set -euo pipefail
cd "$(dirname "$0")/.."
formatter=clang-format-14
command -v "$formatter" >/dev/null || { echo "$formatter is missing (scripts/install-deps.sh)"; exit 2; }
mapfile -t files < <(find src tests tools bench fuzz -type f \
  \( -name '*.h' -o -name '*.hpp' -o -name '*.cpp' -o -name '*.cc' \) 2>/dev/null | sort)
failed=0
checked=0
messages=$(mktemp)
trap 'rm -f "$messages"' EXIT
for file in "${files[@]}"; do
  checked=$((checked + 1))
  if ! "$formatter" --dry-run --Werror "$file" 2>"$messages"; then
    head -n 6 "$messages"
    failed=$((failed + 1))
  fi
done
echo "$checked files checked, $failed not formatted (fix with: $formatter -i FILE)"
[ "$failed" -eq 0 ]
