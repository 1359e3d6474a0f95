#!/bin/bash
# Installs Quillo from a build tree into a temporary prefix, checks what a
# desktop needs there, and starts the installed program the way the desktop
# menu does: from its desktop entry, away from the build tree. Needs an X
# display (run-isolated.sh --xvfb).
#
#   test-install.sh <build dir> <source dir> <desktop id> [<browser module file name>]
set -euo pipefail

build=$1
source=$2
app_id=$3
module=${4:-}

work=$(mktemp -d "${TMPDIR:-/tmp}/quillo-install.XXXXXX")
prefix=$work/prefix
pid=""
cleanup() {
    if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

cmake --install "$build" --prefix "$prefix" >"$work/install.log" || { cat "$work/install.log"; fail "cmake --install"; }

# The program, its browser part and its help.
[ -x "$prefix/bin/quillo" ] || fail "bin/quillo is missing or not executable"
if [ -n "$module" ]; then
    [ -f "$prefix/lib/quillo/$module" ] || fail "lib/quillo/$module is missing"
fi
for page in "$source"/resources/help/*.html "$source"/resources/help/*.css; do
    installed=$prefix/share/quillo/help/$(basename "$page")
    cmp -s "$page" "$installed" || fail "help page $(basename "$page") is missing or differs in share/quillo/help"
done
if ldd "$prefix/bin/quillo" | grep -F "$build"; then
    fail "the installed program loads libraries from the build tree"
fi

# The desktop entry, exactly as the menu reads it.
desktop=$prefix/share/applications/$app_id.desktop
[ -f "$desktop" ] || fail "share/applications/$app_id.desktop is missing"
desktop-file-validate "$desktop" || fail "the desktop entry does not validate"
for line in "Type=Application" "Name=Quillo" "Exec=quillo" "Icon=$app_id" "Terminal=false" \
    "Categories=Office;Finance;"; do
    grep -qxF "$line" "$desktop" || fail "the desktop entry lacks the line $line"
done
grep -q '^Comment=.' "$desktop" || fail "the desktop entry has no Comment"

# The icon, at every size, named after the desktop id.
for size in 16 32 48 64 128 256; do
    icon=$prefix/share/icons/hicolor/${size}x${size}/apps/$app_id.png
    [ -f "$icon" ] || fail "the ${size}x${size} icon is missing"
    file -b "$icon" | grep -q "^PNG image data, $size x $size," ||
        fail "the ${size}x${size} icon is $(file -b "$icon")"
done

# The AppStream metadata: valid by itself and pointing at the desktop entry.
metainfo=$prefix/share/metainfo/$app_id.metainfo.xml
[ -f "$metainfo" ] || fail "share/metainfo/$app_id.metainfo.xml is missing"
appstreamcli validate --no-net "$metainfo" || fail "the AppStream metadata does not validate"
appstreamcli validate-tree --no-net "$prefix" || fail "the installed tree does not validate"
grep -qF "<id>$app_id</id>" "$metainfo" || fail "the AppStream id is not $app_id"
grep -qF "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" ||
    fail "the AppStream metadata does not launch $app_id.desktop"

# The help page must be read from the installation. A read moves a file's
# access time forward when it lies before the modification time (relatime and
# strictatime alike), so a page set to the epoch shows whether it was read.
help_index=$prefix/share/quillo/help/index.html
probe=$work/atime-probe
echo probe >"$probe"
touch -a -d @0 "$probe"
cat "$probe" >/dev/null
track_reads=0
if [ "$(stat -c %X "$probe")" != 0 ]; then
    track_reads=1
    touch -a -d @0 "$help_index"
else
    echo "NOTE: this file system does not record reads; the help's location is checked by its path only."
fi

# Start it as the menu would: the desktop entry's command on the PATH, from
# a folder that is neither the build tree nor the installation.
command=$(sed -n 's/^Exec=//p' "$desktop")
mkdir "$work/elsewhere"
cd "$work/elsewhere"
PATH="$prefix/bin:$PATH" $command &
pid=$!

main_window=$(timeout 60 xdotool search --sync --name '^ \(New File\) --Quillo$' | head -n 1) || true
[ -n "$main_window" ] || fail "no window \" (New File) --Quillo\" appeared"
kill -0 "$pid" || fail "the program ended on its own"

# The first save with the suggested name lands in the documents folder, not
# among the installation's programs.
xdotool windowfocus --sync "$main_window"
xdotool type --delay 8 "Maria L. Gonzalez"
xdotool key ctrl+s
save_dialog=$(timeout 60 xdotool search --sync --name '^Save As$' | head -n 1) || true
[ -n "$save_dialog" ] || fail "File, Save showed no save dialog"
xdotool windowfocus --sync "$save_dialog"
xdotool key Return
saved="$HOME/Documents/Maria L. Gonzalez.qlo"
for _ in $(seq 100); do [ -s "$saved" ] && break; sleep 0.1; done
[ "$(stat -c %s "$saved" 2>/dev/null)" = 480 ] ||
    fail "the first save did not write $saved; the documents folder holds: $(ls -A "$HOME/Documents" 2>&1)"
[ -z "$(ls -A "$prefix/bin" | grep -v '^quillo$')" ] || fail "the save wrote into $prefix/bin: $(ls -A "$prefix/bin")"

# Help, Contents.
xdotool windowfocus --sync "$main_window"
xdotool key alt+h c
help_window=$(timeout 60 xdotool search --sync --name '^Quillo Help$' | head -n 1) || true
[ -n "$help_window" ] || fail "Help, Contents showed no help window"
if [ "$track_reads" = 1 ]; then
    [ "$(stat -c %X "$help_index")" != 0 ] || fail "the help window did not read $help_index"
fi

# View, Web Browser: the browser part loads from the installation and shows
# the home page built into the program.
xdotool windowfocus --sync "$main_window"
xdotool key alt+v w
browser_window=$(timeout 120 xdotool search --sync --name '^Welcome to Quillo$' | head -n 1) || true
[ -n "$browser_window" ] || fail "View, Web Browser showed no home page \"Welcome to Quillo\""

# File, Exit ends the program.
xdotool windowfocus --sync "$main_window"
xdotool key alt+f x
timeout 60 tail --pid="$pid" -f /dev/null || fail "the program did not end after File, Exit"
status=0
wait "$pid" || status=$?
pid=""
[ "$status" = 0 ] || fail "the program ended with status $status"
echo "PASS: installed into a temporary prefix, started from its desktop entry, saved to the documents folder, showed its help and home page, ended"
