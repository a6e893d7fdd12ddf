#!/usr/bin/env bash
# Both programs under valgrind's memcheck on the example sheets, on a sheet
# cut in its image data (the decoder's error path) and on a colour error
# (the stop after a report): any memory error or leak fails the stage.
set -euo pipefail
cd "$(dirname "$0")/../.."
build="${BUILD_DIR:-build}"
[[ -x "$build/tiles/cellhew" && -x "$build/sprites/glyphwright" ]] || {
  cmake -S . -B "$build" -G Ninja >/dev/null
  cmake --build "$build" -j 2 --target cellhew glyphwright
}
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

memcheck() {  # expected-status program sheet
  local expected="$1" program="$2" sheet="$3" status=0
  valgrind -q --error-exitcode=99 --leak-check=full \
    --errors-for-leak-kinds=definite,indirect,possible \
    --log-file="$work/valgrind.log" \
    "$program" "$sheet" </dev/null >/dev/null 2>&1 || status=$?
  if [[ "$status" != "$expected" ]]; then
    cat "$work/valgrind.log" >&2
    echo "valgrind: FAIL: $program $sheet ended with $status, not $expected" >&2
    exit 1
  fi
  echo "valgrind: clean: $(basename "$program") $(basename "$sheet")"
}

cp examples/*.png "$work/"
for sheet in "$work"/*.tiles.png; do memcheck 0 "$build/tiles/cellhew" "$sheet"; done
for sheet in "$work"/*.sprites.png; do
  memcheck 0 "$build/sprites/glyphwright" "$sheet"
done
# Cut in its image data: the rows before the cut are converted, status 1.
for sheet in "$work"/dungeon.tiles.png "$work"/ship.sprites.png; do
  head -c "$(( $(stat -c %s "$sheet") - 30 ))" "$sheet" >"${sheet%.png}.cut.png"
done
memcheck 1 "$build/tiles/cellhew" "$work/dungeon.tiles.cut.png"
memcheck 1 "$build/sprites/glyphwright" "$work/ship.sprites.cut.png"
# Each program on the other's sheet: a colour error and a wrong colour,
# the stop after the report.
memcheck 1 "$build/tiles/cellhew" "$work/ship.sprites.png"
memcheck 1 "$build/sprites/glyphwright" "$work/dungeon.tiles.png"
