#!/usr/bin/env bash
# Installs the build into a scratch prefix, checks that every file is there,
# and runs the freedesktop and man page validators on them: any remark from
# a validator fails the test.
# Usage: check_install.sh CMAKE BUILD_DIR
set -euo pipefail

cmake=$1
build=$2
id=io.github.loglezer.Loglezer
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Reads the width and height from a PNG header (bytes 16 to 23, big-endian).
png_size() {
    local w h
    w=$(od -An -tu1 -j16 -N4 "$1" | awk '{print ($1 * 2^24) + ($2 * 2^16) + ($3 * 2^8) + $4}')
    h=$(od -An -tu1 -j20 -N4 "$1" | awk '{print ($1 * 2^24) + ($2 * 2^16) + ($3 * 2^8) + $4}')
    echo "${w}x${h}"
}

"$cmake" --install "$build" --prefix "$prefix" >/dev/null

files=(
    bin/loglezer
    bin/loglezer-stats
    "share/applications/$id.desktop"
    "share/metainfo/$id.metainfo.xml"
    share/man/man1/loglezer.1
    share/man/man1/loglezer-stats.1
)
for size in 16 22 24 32 48 64 128 256; do
    files+=("share/icons/hicolor/${size}x${size}/apps/$id.png")
done
for f in "${files[@]}"; do
    [ -s "$prefix/$f" ] || fail "$f is not installed"
done
for size in 16 22 24 32 48 64 128 256; do
    png="$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png"
    [ "$(png_size "$png")" = "${size}x${size}" ] || fail "$png is $(png_size "$png"), not ${size}x${size}"
done

out=$(desktop-file-validate "$prefix/share/applications/$id.desktop" 2>&1) || fail "desktop-file-validate: $out"
[ -z "$out" ] || fail "desktop-file-validate: $out"

# validate-tree checks the metainfo file and that the .desktop file it
# launches is installed beside it; --strict fails on information notes too.
out=$(appstreamcli validate-tree --no-net --strict "$prefix" 2>&1) || fail "appstreamcli validate-tree: $out"

for page in loglezer.1 loglezer-stats.1; do
    err=$(man --warnings -l "$prefix/share/man/man1/$page" 2>&1 >/dev/null) || fail "man $page: $err"
    [ -z "$err" ] || fail "man $page: $err"
done

"$prefix/bin/loglezer-stats" --version | grep -q '^loglezer-stats ' || fail "loglezer-stats --version"
echo "installed tree in order"
