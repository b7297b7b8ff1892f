#!/usr/bin/env bash
# Installs the build into a scratch prefix, checks that every file is there,
# and runs the freedesktop and man page validators on them; then, when Debian's
# lintian is installed, builds the package into a scratch folder and checks it.
# Any remark from a validator, and any warning or error of lintian, fails the
# test.
# Usage: check_install.sh CMAKE CPACK SOURCE_DIR BUILD_DIR VERSION
set -euo pipefail

cmake=$1
cpack=$2
source=$3
build=$4
version=$5
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
    share/man/man1/loglezer.1.gz
    share/man/man1/loglezer-stats.1.gz
    share/doc/loglezer/copyright
    share/doc/loglezer/changelog.Debian.gz
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

# Compressed as gzip -9n does it, without the file's name and time, so that
# every build gives the same bytes: flags (byte 3) and time (4-7) are zero.
for gz in share/man/man1/loglezer.1.gz share/man/man1/loglezer-stats.1.gz share/doc/loglezer/changelog.Debian.gz; do
    [ "$(od -An -tu1 -j3 -N5 "$prefix/$gz" | tr -s ' ')" = " 0 0 0 0 0" ] || fail "$gz keeps a name or a time"
done
for page in loglezer.1 loglezer-stats.1; do
    err=$(man --warnings -l "$prefix/share/man/man1/$page.gz" 2>&1 >/dev/null) || fail "man $page: $err"
    [ -z "$err" ] || fail "man $page: $err"
done

# The licence: MIT in LICENSE, its terms in the package's copyright file (in
# Debian's machine-readable format, where the MIT terms are called Expat).
grep -q '^MIT License$' "$source/LICENSE" || fail "LICENSE is not the MIT licence"
copyright="$prefix/share/doc/loglezer/copyright"
head -n 1 "$copyright" | grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
    fail "copyright is not in the machine-readable format"
grep -qx 'License: Expat' "$copyright" || fail "copyright names no Expat licence"
terms=$(sed -n '/^Permission/,$p' "$source/LICENSE")
[ "$(sed -n '/^License: Expat$/,$p' "$copyright" | tail -n +2 | sed 's/^ //; s/^\.$//')" = "$terms" ] ||
    fail "copyright does not hold the terms of LICENSE"
zcat "$prefix/share/doc/loglezer/changelog.Debian.gz" | head -n 1 | grep -q "^loglezer ($version-1) " ||
    fail "changelog.Debian does not begin with $version"

[ "$("$prefix/bin/loglezer-stats" --version)" = "loglezer-stats $version" ] || fail "loglezer-stats --version"
[ "$(env -u DISPLAY "$prefix/bin/loglezer" --version)" = "loglezer $version" ] || fail "loglezer --version"
echo "installed tree in order"

if command -v lintian >/dev/null 2>&1; then
    out=$("$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$prefix/package" 2>&1) || fail "cpack: $out"
    deb=$(ls "$prefix"/package/loglezer_*.deb)
    # Information tags (I:) are notes; warnings and errors fail.
    out=$(lintian --fail-on error,warning "$deb" 2>&1) || fail "lintian: $out"
    echo "lintian: no error, no warning on $(basename "$deb")"
else
    echo "lintian not installed: the package was not checked"
fi
