#!/usr/bin/env bash
# Installs a build into a temporary prefix and checks the installed files as a desktop and a packager
# would: the desktop entry and the AppStream data pass their validators, the manual page formats without
# warnings, every icon has its size, and the entry's command and icon are among the installed files.
# Usage: dist/check-installed.sh BUILD-FOLDER APP-ID
set -uo pipefail
BUILD=$1
ID=$2
PREFIX=$(mktemp -d /tmp/pebblecraft-install.XXXXXX)
trap 'rm -rf "$PREFIX" "$PREFIX.svg.png"' EXIT
FAILED=0
fail() { echo "FAIL $*"; FAILED=1; }

cmake --install "$BUILD" --prefix "$PREFIX" >"$PREFIX.log" 2>&1 || { cat "$PREFIX.log"; fail "cmake --install"; }
rm -f "$PREFIX.log"
SHARE=$PREFIX/share
DESKTOP=$SHARE/applications/$ID.desktop
METAINFO=$SHARE/metainfo/$ID.metainfo.xml

desktop-file-validate "$DESKTOP" || fail "desktop-file-validate $DESKTOP"
appstreamcli validate --no-net --explain "$METAINFO" || fail "appstreamcli validate $METAINFO"
grep -q "<launchable type=\"desktop-id\">$ID.desktop</launchable>" "$METAINFO" ||
    fail "the AppStream data does not launch $ID.desktop"

# The AppStream data and the desktop entry name no address that leads nowhere (an example domain), and
# the screenshot the project makes for its AppStream data is the full-HD main page.
grep -Eq '[./@]example([./"<]|$)' "$METAINFO" "$DESKTOP" && fail "an example address is installed"
[ "$(identify -format '%wx%h' "$(dirname "$0")/screenshot-main.png" 2>/dev/null)" = 1920x1080 ] ||
    fail "dist/screenshot-main.png is not a 1920 x 1080 picture"

# The checks lintian makes of a manual page: it formats, and man says nothing on standard error.
warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z \
    "$SHARE/man/man6/pebblecraft.6.gz" 2>&1 >/dev/null)
[ -z "$warnings" ] || fail "the manual page: $warnings"

for size in 48 64 128 256; do
    icon=$SHARE/icons/hicolor/${size}x${size}/apps/pebblecraft.png
    [ "$(identify -format '%wx%h' "$icon" 2>/dev/null)" = "${size}x${size}" ] || fail "$icon is not ${size}x${size}"
done
rsvg-convert -w 64 -h 64 "$SHARE/icons/hicolor/scalable/apps/pebblecraft.svg" -o "$PREFIX.svg.png" ||
    fail "the scalable icon does not draw"

# What the entry names must be there: its command in bin/ and its icon in the hicolor theme.
command=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$DESKTOP")
icon=$(sed -n 's/^Icon=//p' "$DESKTOP")
[ -x "$PREFIX/bin/$command" ] || fail "the entry's command $command is not installed"
[ -e "$SHARE/icons/hicolor/scalable/apps/$icon.svg" ] || fail "the entry's icon $icon is not installed"
[ -e "$SHARE/pebblecraft/Data/loadtotal.txt" ] || fail "the data folder is not installed complete"

# Every language of the catalogues has its texts: the game's tables, the desktop entry's and AppStream's words.
for lang in $(cat "$(dirname "$0")/../po/LINGUAS"); do
    [ -e "$SHARE/pebblecraft/Data/lang/$lang/2strings.txt" ] || fail "no text tables for $lang"
    grep -q "^Comment\[$lang\]=" "$DESKTOP" || fail "the desktop entry has no comment in $lang"
    grep -q "<summary xml:lang=\"$lang\">" "$METAINFO" || fail "the AppStream data has no summary in $lang"
done

[ "$FAILED" -eq 0 ] && echo "installed files valid"
exit "$FAILED"
