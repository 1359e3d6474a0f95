#!/bin/sh
# Runs one test program in a private environment: its own HOME, settings
# folder and XDG runtime folder, so that no test touches the user's real
# settings, and the offscreen platform unless a real X display is asked for.
#
#   run-isolated.sh [--xvfb] [--web] [--keyring] [--private-mounts] <program> [arguments...]
#
# --keyring gives the test a Secret Service of its own: a private session bus
# with gnome-keyring-daemon on it, its login keyring in the private home and
# unlocked. --private-mounts runs the test in a mount namespace of its own, in
# which it may mount file systems (a full disk, a read-only folder) that
# vanish with it.
set -eu

use_xvfb=0
use_keyring=0
use_mounts=0
while [ $# -gt 0 ]; do
    case "$1" in
        --xvfb) use_xvfb=1; shift ;;
        --keyring) use_keyring=1; shift ;;
        --private-mounts) use_mounts=1; shift ;;
        --web) export QTWEBENGINE_DISABLE_SANDBOX=1
               export QTWEBENGINE_CHROMIUM_FLAGS="--disable-gpu --disable-background-networking --disable-component-update --no-first-run"
               shift ;;
        *) break ;;
    esac
done

sandbox=$(mktemp -d "${TMPDIR:-/tmp}/quillo-test.XXXXXX")
bus_pid=""
keyring_pid=""
cleanup() {
    if [ -n "$keyring_pid" ]; then kill "$keyring_pid" 2>/dev/null || true; fi
    if [ -n "$bus_pid" ]; then kill "$bus_pid" 2>/dev/null || true; fi
    rm -rf "$sandbox"
}
trap cleanup EXIT INT TERM
mkdir -p "$sandbox/home" "$sandbox/config" "$sandbox/runtime" "$sandbox/cache" "$sandbox/data"
chmod 0700 "$sandbox/runtime"

export HOME="$sandbox/home"
export XDG_CONFIG_HOME="$sandbox/config"
export XDG_CACHE_HOME="$sandbox/cache"
export XDG_DATA_HOME="$sandbox/data"
export XDG_RUNTIME_DIR="$sandbox/runtime"
export QUILLO_TEST_SANDBOX="$sandbox"
# The draft register takes its key from a passphrase, as scripts give it: no
# keyring is asked and no dialog waits for a person, unless a test asks for
# the keyring itself.
export QUILLO_REGISTER_PASSPHRASE="test register passphrase"
# Printing never reaches a real queue from a test unless the test sets one up.
export CUPS_SERVER="$sandbox/no-cups-server"

if [ "$use_keyring" -eq 1 ]; then
    bus_pid=$(dbus-daemon --session --address="unix:path=$sandbox/runtime/bus" --fork --print-pid)
    export DBUS_SESSION_BUS_ADDRESS="unix:path=$sandbox/runtime/bus"
    # The daemon reads the login keyring's password on its standard input,
    # creates that keyring in the private home and unlocks it.
    printf 'quillo-test' | gnome-keyring-daemon --foreground --components=secrets --unlock >/dev/null 2>&1 &
    keyring_pid=$!
    tries=0
    until dbus-send --session --print-reply --dest=org.freedesktop.DBus / org.freedesktop.DBus.NameHasOwner \
            string:org.freedesktop.secrets 2>/dev/null | grep -q 'boolean true'; do
        tries=$((tries + 1))
        if [ "$tries" -gt 100 ]; then echo "run-isolated.sh: the keyring did not start" >&2; exit 1; fi
        sleep 0.05
    done
fi
if [ "$use_mounts" -eq 1 ]; then
    set -- unshare --mount --propagation private -- "$@"
fi

# Not exec: the sandbox is removed by the trap once the test has ended.
status=0
if [ "$use_xvfb" -eq 1 ]; then
    unset QT_QPA_PLATFORM
    # A session bus of the test's own, ended with it: without one, a program
    # on an X display starts a bus for that display, which outlives the test.
    # Tests run in parallel: each starts its search for a free display at a
    # number of its own, so that two never race for the same one (-n before
    # -a: xvfb-run reads them in order, and -a looks from there for a free one).
    # -noreset: without it the server resets whenever its last client leaves,
    # and refuses connections meanwhile; a program started right after a
    # short-lived client (xdpyinfo, xdotool, dbus-launch) could not connect.
    dbus-run-session -- xvfb-run -n $((100 + $$ % 800)) -a -s "-screen 0 1280x1024x24 -noreset" "$@" || status=$?
else
    export QT_QPA_PLATFORM=offscreen
    "$@" || status=$?
fi
exit "$status"
