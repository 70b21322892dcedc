#!/bin/sh
# An install into a fresh prefix holds both programs, the menu entry, the icons, the group file
# type and both manual pages, and the desktop's own tools accept each of them.
set -eu
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
fail() { echo "$*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null
for f in bin/orvsched bin/orvsched-cli share/applications/orvsched.desktop \
         share/mime/packages/orvsched.xml share/icons/hicolor/scalable/apps/orvsched.svg \
         share/man/man1/orvsched.1 share/man/man1/orvsched-cli.1; do
    [ -s "$prefix/$f" ] || fail "missing: $f"
done
for size in 16 32 48 64 128 256; do
    png=$prefix/share/icons/hicolor/${size}x${size}/apps/orvsched.png
    [ "$(identify -format '%wx%h' "$png")" = "${size}x${size}" ] || fail "wrong icon size: $png"
done
xmllint --noout "$prefix/share/icons/hicolor/scalable/apps/orvsched.svg"

desktop-file-validate "$prefix/share/applications/orvsched.desktop"
grep -qx 'MimeType=application/x-orvsched-group;' "$prefix/share/applications/orvsched.desktop" ||
    fail "the menu entry does not open group files"
update-mime-database "$prefix/share/mime" 2>/dev/null
grep -q '^60:application/x-orvsched-group:\*\.sch$' "$prefix/share/mime/globs2" ||
    fail "*.sch is not a group file"

for page in orvsched orvsched-cli; do
    text=$(MANWIDTH=80 man --warnings -l "$prefix/share/man/man1/$page.1" 2>"$prefix/man-warnings")
    [ ! -s "$prefix/man-warnings" ] || fail "$page.1: $(cat "$prefix/man-warnings")"
    echo "$text" | grep -q "^NAME" || fail "$page.1 has no NAME section"
    echo "$text" | grep -q "$page" || fail "$page.1 does not name $page"
done
MANWIDTH=80 man -l "$prefix/share/man/man1/orvsched-cli.1" | grep -q "calendar-file" ||
    fail "orvsched-cli.1 misses the commands"

export ASAN_OPTIONS=detect_leaks=0
[ "$("$prefix/bin/orvsched-cli" --version)" = "orvsched-cli (ORV Scheduler) Version 3.05" ] ||
    fail "orvsched-cli --version"
[ "$(QT_QPA_PLATFORM=offscreen "$prefix/bin/orvsched" --version)" = "orvsched (ORV Scheduler) Version 3.05" ] ||
    fail "orvsched --version"
echo "install complete"
