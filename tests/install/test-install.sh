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

# Every wait below is for what the next step needs, however long a loaded
# machine takes to get there, within what is left of the test's own limit
# (ctest's 300 s, less time to report).
give_up_at=$((SECONDS + 270))

wait_until() {
    local what=$1
    shift
    until "$@"; do
        if [ "$SECONDS" -ge "$give_up_at" ]; then
            echo "The visible windows: $(xdotool search --onlyvisible --name . getwindowname %@ 2>&1 | tr '\n' '|')" >&2
            fail "gave up waiting for $what"
        fi
        kill -0 "$pid" 2>/dev/null || fail "the program ended while waiting for $what"
        sleep 0.1
    done
}

# Sets $found to the first mapped window whose name matches the pattern: a
# window found by name alone may not be on the screen yet.
shown() {
    found=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1)
    [ -n "$found" ]
}

# Asks for the keyboard focus again on each try: a window that shows itself
# may take it back once it is mapped.
has_focus() {
    xdotool windowfocus "$1" 2>/dev/null || true
    [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ]
}

focused_on() {
    [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ]
}

saved_whole() {
    [ "$(stat -c %s "$1" 2>/dev/null)" = 480 ]
}

# Start it as the menu would: the desktop entry's command on the PATH, from
# a folder that is neither the build tree nor the installation.
command=$(sed -n 's/^Exec=//p' "$desktop")
mkdir "$work/elsewhere"
cd "$work/elsewhere"
PATH="$prefix/bin:$PATH" $command &
pid=$!

wait_until "the window \" (New File) --Quillo\"" shown '^ \(New File\) --Quillo$'
main_window=$found

# The first save with the suggested name lands in the documents folder, not
# among the installation's programs.
wait_until "the keyboard focus in the main window" has_focus "$main_window"
xdotool type --delay 8 "Maria L. Gonzalez"
xdotool key ctrl+s
wait_until "the save dialog of File, Save" shown '^Save As$'
save_dialog=$found
wait_until "the keyboard focus in the save dialog" has_focus "$save_dialog"
xdotool key Return
saved="$HOME/Documents/Maria L. Gonzalez.qlo"
wait_until "the first save to write the 480 bytes of $saved" saved_whole "$saved"
[ -z "$(ls -A "$prefix/bin" | grep -v '^quillo$')" ] || fail "the save wrote into $prefix/bin: $(ls -A "$prefix/bin")"

# Help, Contents. The help window brings itself to the front, and so takes
# the focus once it is mapped: only then may keys go to the main window.
wait_until "the keyboard focus in the main window" has_focus "$main_window"
xdotool key alt+h c
wait_until "the help window of Help, Contents" shown '^Quillo Help$'
help_window=$found
wait_until "the help window to take the keyboard focus" focused_on "$help_window"
if [ "$track_reads" = 1 ]; then
    [ "$(stat -c %X "$help_index")" != 0 ] || fail "the help window did not read $help_index"
fi

# View, Web Browser: the browser part loads from the installation and shows
# the home page built into the program. The web engine's first start is slow
# on a loaded machine.
wait_until "the keyboard focus in the main window" has_focus "$main_window"
xdotool key alt+v w
wait_until "the home page \"Welcome to Quillo\" of View, Web Browser" shown '^Welcome to Quillo$'

# File, Exit ends the program.
wait_until "the keyboard focus in the main window" has_focus "$main_window"
xdotool key alt+f x
while kill -0 "$pid" 2>/dev/null; do
    [ "$SECONDS" -lt "$give_up_at" ] || fail "the program did not end after File, Exit"
    sleep 0.1
done
status=0
wait "$pid" || status=$?
pid=""
[ "$status" = 0 ] || fail "the program ended with status $status"
echo "PASS: installed into a temporary prefix, started from its desktop entry, saved to the documents folder, showed its help and home page, ended"
