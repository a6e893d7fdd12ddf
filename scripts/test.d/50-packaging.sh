#!/usr/bin/env bash
# Install rules, desktop entries, manual pages, the Debian package and the
# example Makefile, checked the way a user meets them:
#   1. install into a DESTDIR (prefix honoured) and run the installed programs;
#   2. validate the desktop entries and manual pages, warnings count as errors;
#   3. build the .deb, install it with dpkg, run the installed programs, remove it
#      (always, also when a check fails);
#   4. run examples/Makefile: it builds every sheet, stops on a broken one and
#      deletes the half-written target.
# The programs are built without tests in their own directory, build-package.
set -euo pipefail
cd "$(dirname "$0")/../.."
root="$PWD"

# Two runs of this stage at once would share build-package and dpkg: take
# turns.
mkdir -p build-package
exec 9>build-package/stage.lock
flock 9

fail() {
  echo "packaging: FAIL: $*" >&2
  exit 1
}
step() { echo "-- $*"; }

package=pixel-converters
# The package installs under this prefix; the DESTDIR install uses it too.
prefix=/usr
work="$(mktemp -d)"
staged="$work/root$prefix"
installed_package=0
cleanup() {
  if (( installed_package )); then
    dpkg_retry -r "$package" >/dev/null || echo "packaging: could not remove $package" >&2
  fi
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM HUP

as_root=()
[[ "$(id -u)" == 0 ]] || as_root=(sudo)

# dpkg does not wait for its lock; an apt-get of another test run may hold it.
dpkg_retry() {
  local attempt out
  for attempt in $(seq 30); do
    if out="$("${as_root[@]}" dpkg "$@" 2>&1)"; then
      printf '%s\n' "$out"
      return 0
    fi
    grep -q 'lock' <<<"$out" || { printf '%s\n' "$out" >&2; return 1; }
    sleep 2
  done
  printf '%s\n' "$out" >&2
  return 1
}

# ---- build -----------------------------------------------------------------
step "build (build-package)"
cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCONVERTERS_TESTS=OFF >/dev/null
cmake --build build-package -j 2 >/dev/null
programs=(cellhew)
[[ -x build-package/sprites/glyphwright ]] && programs+=(glyphwright)
echo "programs: ${programs[*]}"

# ---- fixtures --------------------------------------------------------------
# Small sheets with known output, written as RGB PNGs. D dark, L light,
# E empty (strong red), M marker (strong green), Y yellow (no class);
# K black, W white, R red, B blue, G green for the tile sheets.
python3 - "$work/sheets" <<'PY'
import os, struct, sys, zlib

def png(path, rows):
    colours = {"D": (0, 0, 0), "K": (0, 0, 0), "L": (255, 255, 255),
               "W": (255, 255, 255), "E": (255, 0, 0), "R": (255, 0, 0),
               "M": (0, 255, 0), "G": (0, 255, 0), "B": (0, 0, 255),
               "Y": (255, 255, 0)}
    width = len(rows[0])
    raw = b"".join(b"\0" + b"".join(bytes(colours[p]) for p in row)
                   for row in rows)
    def chunk(kind, data):
        body = kind + data
        return (struct.pack(">I", len(data)) + body +
                struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF))
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, len(rows),
                                           8, 2, 0, 0, 0)))
        f.write(chunk(b"IDAT", zlib.compress(raw)))
        f.write(chunk(b"IEND", b""))

# One tile: white diagonal on black | red / blue over black | black, green.
tile = []
for r in range(16):
    row = ""
    for c in range(16):
        if r < 8 and c < 8:
            row += "W" if r == c else "K"
        elif r < 8:
            row += "R"
        elif c < 8:
            row += "B" if r < 12 else "K"
        else:
            row += "K" if c < 12 else "G"
    tile.append(row)
# Three colours in the top-left cell.
broken_tile = [("RB" if r == 0 else "") + row[len("RB") if r == 0 else 0:]
               for r, row in enumerate(tile)]

demo = ["EEEEEEEEEEEEEEEE",
        "EDDLLLEEEEEEEEEE",
        "DDDDLLLLEEEEEEEE",
        "M" + "E" * 15,
        "DEEEEEEEEEEEEEEE",
        "EEEEEEEEEDEEEEEE"]
# The second sprite's last row holds a yellow pixel at x = 3.
broken_demo = demo[:5] + ["EEEYEEEEEDEEEEEE"]

out = sys.argv[1]
os.makedirs(out)
png(os.path.join(out, "one.tiles.png"), tile)
png(os.path.join(out, "broken.tiles.png"), broken_tile)
png(os.path.join(out, "demo.sprites.png"), demo)
png(os.path.join(out, "broken.sprites.png"), broken_demo)
PY
sheets="$work/sheets"

crlf() { printf '%s\r\n' "$@"; }
T=$'\t'
expected_tiles="$(crlf \
  "${T}db${T}#7F,#00,#BF,#00,#DF,#00,#EF,#00,#F7,#00,#FB,#00,#FD,#00,#FE,#00" \
  "${T}db${T}#FF,#F0,#FF,#F0,#FF,#F0,#FF,#F0,#00,#F0,#00,#F0,#00,#F0,#00,#F0" \
  "${T}db${T}#48,#60,#78,#50" | od -c)"
expected_sprites="$(crlf \
  "demo.sprites_000" "${T}db${T}#00,#00,#00,#00" "${T}db${T}#3E,#60,#00,#00" \
  "${T}db${T}#FF,#F0,#00,#00" \
  "demo.sprites_001" "${T}db${T}#01,#80,#00,#00" "${T}db${T}#00,#00,#02,#40" | od -c)"

# exec_words ENTRY [FILE]: the entry's Exec line as words, with FILE for its
# %f, or without %f when there is no file, as a desktop launches it.
exec_words() {
  local word words
  read -ra words <<<"$(sed -n 's/^Exec=//p' "$1")"
  command=()
  for word in "${words[@]}"; do
    if [[ "$word" == "%f" ]]; then
      if (( $# > 1 )); then command+=("$2"); fi
    else
      command+=("$word")
    fi
  done
}

# body FILE: the output file without its two header lines, as od -c.
body() { tail -n +3 "$1" | od -c; }

# check_programs BINDIR LABEL: runs the programs in BINDIR on the fixtures
# and on the example sheets, and compares what they write.
check_programs() {
  local bin="$1" label="$2" dir="$work/run-$2" sheet console
  rm -rf "$dir"
  cp -r "$sheets" "$dir"
  console="$("$bin/cellhew" "$dir/one.tiles.png" </dev/null)" \
    || fail "$label: cellhew on a good sheet failed"
  [[ "$console" == "Loading file $dir/one.tiles.png" ]] \
    || fail "$label: cellhew console: $console"
  [[ "$(head -n 1 "$dir/one.tiles.png.inc")" == ";tileset: one.tiles"$'\r' ]] \
    || fail "$label: cellhew header line"
  [[ "$(body "$dir/one.tiles.png.inc")" == "$expected_tiles" ]] \
    || fail "$label: cellhew wrote other data lines"
  if [[ " ${programs[*]} " == *" glyphwright "* ]]; then
    console="$("$bin/glyphwright" "$dir/demo.sprites.png" </dev/null)" \
      || fail "$label: glyphwright on a good sheet failed"
    [[ "$console" == "Loading file $dir/demo.sprites.png"$'\n3x16\n2x16' ]] \
      || fail "$label: glyphwright console: $console"
    [[ "$(body "$dir/demo.sprites.png.a80")" == "$expected_sprites" ]] \
      || fail "$label: glyphwright wrote other data lines"
  fi
  # The example sheets of the source tree convert without error.
  for sheet in "$root"/examples/*.tiles.png; do
    [[ -e "$sheet" ]] || continue
    cp "$sheet" "$dir/"
    "$bin/cellhew" "$dir/${sheet##*/}" </dev/null >/dev/null \
      || fail "$label: cellhew on ${sheet##*/}"
  done
  if [[ " ${programs[*]} " == *" glyphwright "* ]]; then
    for sheet in "$root"/examples/*.sprites.png; do
      [[ -e "$sheet" ]] || continue
      cp "$sheet" "$dir/"
      "$bin/glyphwright" "$dir/${sheet##*/}" /HIGH /LENGTH </dev/null >/dev/null \
        || fail "$label: glyphwright on ${sheet##*/}"
    done
  fi
  echo "$label: programs run and write the expected lines"
}

# check_tree ROOT PREFIX: what an install must put under ROOT/PREFIX.
check_tree() {
  local tree="$1$2" program
  for program in "${programs[@]}"; do
    [[ -x "$tree/bin/$program" ]] || fail "missing $2/bin/$program"
    [[ -f "$tree/share/man/man1/$program.1.gz" ]] \
      || fail "missing $2/share/man/man1/$program.1.gz"
    [[ -f "$tree/share/applications/$program.desktop" ]] \
      || fail "missing $2/share/applications/$program.desktop"
  done
}

# ---- 1. install into a DESTDIR -----------------------------------------------
step "cmake --install into a DESTDIR"
DESTDIR="$work/root" cmake --install build-package --prefix "$prefix" >/dev/null
check_tree "$work/root" "$prefix"
DESTDIR="$work/root-local" cmake --install build-package --prefix /usr/local \
  >/dev/null
check_tree "$work/root-local" /usr/local
[[ ! -e "$work/root-local$prefix/bin" ]] || fail "--prefix /usr/local ignored"
check_programs "$staged/bin" destdir

# ---- 2. desktop entries and manual pages validate ----------------------------
step "desktop entries and manual pages"
for program in "${programs[@]}"; do
  entry="$staged/share/applications/$program.desktop"
  out="$(desktop-file-validate "$entry" 2>&1)" \
    || fail "desktop-file-validate $program.desktop: $out"
  [[ -z "$out" ]] || fail "desktop-file-validate $program.desktop: $out"
  grep -qx 'Terminal=true' "$entry" || fail "$program.desktop: no terminal"
  grep -qx 'MimeType=image/png;' "$entry" || fail "$program.desktop: no PNG"

  # "Open with" on a PNG runs the entry's Exec line with the file for %f.
  sheet="$work/open-with/one.$program.png"
  mkdir -p "$work/open-with"
  cp "$sheets/one.tiles.png" "$sheet"
  [[ "$program" == glyphwright ]] && cp "$sheets/demo.sprites.png" "$sheet"
  exec_words "$entry" "$sheet"
  PATH="$staged/bin:$PATH" "${command[@]}" </dev/null >/dev/null \
    || fail "$program.desktop: Exec with a file failed"
  ls "$sheet".* >/dev/null 2>&1 || fail "$program.desktop: Exec wrote nothing"

  page="$staged/share/man/man1/$program.1.gz"
  out="$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings=all -l "$page" 2>&1 >/dev/null)"
  [[ -z "$out" ]] || fail "man --warnings $program.1: $out"
  out="$(groff -wall -man -z "packaging/$program.1" 2>&1)"
  [[ -z "$out" ]] || fail "groff -wall $program.1: $out"
  LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$page" 2>/dev/null | grep -q 'EXIT STATUS' \
    || fail "$program.1 has no EXIT STATUS section"
done
echo "desktop entries and manual pages validate"

# ---- 3. the Debian package ---------------------------------------------------
step "Debian package"
rm -f build-package/"$package"_*.deb
(cd build-package && cpack -G DEB) >"$work/cpack.log" 2>&1 \
  || fail "cpack: $(cat "$work/cpack.log")"
deb="$(ls build-package/"$package"_*.deb)"
depends="$(dpkg-deb -f "$deb" Depends)"
echo "$deb: Depends: $depends"
# Every library a program links directly must come from a declared package.
declared=" $(sed -e 's/([^)]*)//g' -e 's/[|,]/ /g' <<<"$depends" | xargs) "
for program in "${programs[@]}"; do
  binary="$staged/bin/$program"
  for soname in $(readelf -d "$binary" | sed -n 's/.*NEEDED.*\[\(.*\)\]/\1/p'); do
    path="$(ldd "$binary" | awk -v so="$soname" '$1 == so { print $3 }')"
    owner="$(dpkg -S "$path" 2>/dev/null || dpkg -S "$(readlink -f "$path")" \
      2>/dev/null || dpkg -S "*/${soname}" 2>/dev/null || true)"
    owner="${owner%%:*}"
    owner="${owner%%,*}"
    [[ -n "$owner" ]] || fail "$program: no package owns $soname"
    [[ "$declared" == *" $owner "* ]] || fail "$program links $soname from $owner, which Depends does not name"
  done
done
[[ "$declared" == *" libpng16-16 "* ]] || fail "Depends lacks libpng16-16"

if dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'ok installed'; then
  fail "$package is installed already; remove it (dpkg -r $package) first"
fi
installed_package=1
dpkg_retry -i "$deb" >/dev/null || fail "dpkg -i $deb"
check_tree "" "$prefix"
check_programs "$prefix/bin" package
for program in "${programs[@]}"; do
  [[ "$(man -w "$program")" == "$prefix/share/man/man1/$program.1.gz" ]] \
    || fail "man $program does not find the installed page"
done

# From the menu, without a file, the entry starts the drop window, which
# then waits for a drop; it is checked where there is a display to show it.
if [[ -n "${DISPLAY:-}" ]] && readelf -d "$prefix/bin/cellhew" | grep -q fltk; then
  for program in "${programs[@]}"; do
    exec_words "$prefix/share/applications/$program.desktop"
    "${command[@]}" </dev/null >"$work/menu.out" 2>&1 &
    menu_pid=$!
    sleep 2
    if ! kill -0 "$menu_pid" 2>/dev/null; then
      wait "$menu_pid" || true
      fail "$program from the menu did not stay up: $(cat "$work/menu.out")"
    fi
    kill "$menu_pid"
    wait "$menu_pid" 2>/dev/null || true
  done
  echo "the menu entries open the drop window"
else
  echo "no display or no drop window: menu start not checked"
fi

dpkg_retry -r "$package" >/dev/null || fail "dpkg -r $package"
installed_package=0
for program in "${programs[@]}"; do
  [[ ! -e "$prefix/bin/$program" ]] || fail "$prefix/bin/$program left after dpkg -r"
done
echo "package installs, runs and removes"

# ---- 4. the example Makefile -------------------------------------------------
step "examples/Makefile"
make_dir="$work/make"
mkdir "$make_dir"
cp examples/Makefile "$make_dir/"
cp "$sheets/one.tiles.png" "$make_dir/"
cp examples/*.tiles.png "$make_dir/" 2>/dev/null || true
make_vars=(CELLHEW="$staged/bin/cellhew")
if [[ " ${programs[*]} " == *" glyphwright "* ]]; then
  cp "$sheets/demo.sprites.png" "$make_dir/"
  cp examples/*.sprites.png "$make_dir/" 2>/dev/null || true
  make_vars+=(GLYPHWRIGHT="$staged/bin/glyphwright")
fi
make -s -C "$make_dir" "${make_vars[@]}" >/dev/null || fail "make on good sheets"
for sheet in "$make_dir"/*.tiles.png; do
  [[ -s "$sheet.inc" ]] || fail "make did not build ${sheet##*/}.inc"
done
for sheet in "$make_dir"/*.sprites.png; do
  [[ -e "$sheet" ]] || continue
  [[ -s "$sheet.a80" ]] || fail "make did not build ${sheet##*/}.a80"
done
make -q -C "$make_dir" "${make_vars[@]}" || fail "make would rebuild up-to-date files"

# A broken sheet: the program writes its header (and, for sprites, the lines
# before the bad row) and fails; make stops and deletes that target.
cp "$sheets/broken.tiles.png" "$make_dir/"
broken=(broken.tiles.png.inc)
if [[ " ${programs[*]} " == *" glyphwright "* ]]; then
  cp "$sheets/broken.sprites.png" "$make_dir/"
  broken+=(broken.sprites.png.a80)
fi
if "$staged/bin/cellhew" "$make_dir/broken.tiles.png" </dev/null >/dev/null; then
  fail "cellhew reported success on a broken sheet"
fi
[[ -s "$make_dir/broken.tiles.png.inc" ]] || fail "cellhew left no partial file"
rm "$make_dir/broken.tiles.png.inc"
if make -C "$make_dir" "${make_vars[@]}" >"$work/make.out" 2>&1; then
  fail "make succeeded on a broken sheet"
fi
if make -k -C "$make_dir" "${make_vars[@]}" >"$work/make.out" 2>&1; then
  fail "make -k succeeded on broken sheets"
fi
for target in "${broken[@]}"; do
  [[ ! -e "$make_dir/$target" ]] || fail "make left the half-written $target"
  grep -q "Deleting file '$target'" "$work/make.out" \
    || fail "make did not delete $target: $(cat "$work/make.out")"
done
echo "Makefile builds the sheets, stops on broken ones and deletes their targets"
echo "packaging: ok"
