#!/usr/bin/env bash
# Checks that the program's rooms point one way: a room includes only its own
# headers and those of the rooms below it, and only chart/ and app/ include
# Qt. Prints each include that breaks this; exits 1 when there is one.
set -euo pipefail
cd "$(dirname "$0")/.."
order=(log text settings stats allowance session frontend cli chart app)
# What each room may include besides itself.
declare -A below=(
  [log]=""
  [text]="log"
  [settings]="log text"
  [stats]="log text"
  [allowance]="log text settings stats"
  [session]="log text settings stats allowance"
  [frontend]="log text settings"
  [cli]="log text settings stats allowance session frontend"
  [chart]="log text stats"
  [app]="log text settings stats allowance session frontend chart"
)
status=0
for room in "${order[@]}"; do
  [ -d "$room" ] || continue
  allowed=" $room ${below[$room]} "
  while IFS=: read -r file line text; do
    inc=$(sed -n 's/.*#include "\([a-z_]*\)\/.*/\1/p' <<<"$text")
    if [ -n "$inc" ] && [[ "$allowed" != *" $inc "* ]]; then
      echo "$file:$line: $room/ includes $inc/"; status=1
    fi
  done < <(grep -n '#include "' "$room"/*.h "$room"/*.cpp 2>/dev/null || true)
  if [[ "$room" != chart && "$room" != app ]] && grep -n '#include <Q' "$room"/*.h "$room"/*.cpp 2>/dev/null; then
    echo "$room/ uses Qt"; status=1
  fi
done
exit $status
