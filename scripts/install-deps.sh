#!/bin/sh
# Installs the Debian packages that building, running and testing Quillo need.
# This is the one list of system dependencies. It is idempotent and quiet when
# everything is present already; it needs root only when something is missing.
set -eu

PACKAGES="
cmake
ninja-build
g++
make
pkg-config
qt6-base-dev
qt6-base-dev-tools
qt6-qpa-plugins
qt6-webengine-dev
qt6-webengine-dev-tools
libgl-dev
xvfb
xauth
xdotool
xclip
dbus-daemon
dbus-x11
at-spi2-core
python3-pyatspi
x11-utils
poppler-utils
fonts-liberation
fonts-dejavu-core
cups
cups-client
cups-bsd
libcups2-dev
printer-driver-cups-pdf
python3-fontforge
clang
clang-format
libfuzzer-14-dev
libclang-rt-14-dev
dpkg-dev
file
appstream
desktop-file-utils
libqt6sql6-sqlite
libqt6sql6-psql
postgresql
openssl
libsqlite3-dev
libsodium-dev
libzxcvbn-dev
qtkeychain-qt6-dev
gnome-keyring
libsecret-tools
libsecret-1-0
"

missing=""
for p in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done

[ -z "$missing" ] && exit 0

echo "Installing:$missing"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
# shellcheck disable=SC2086
$SUDO apt-get install -y -qq --no-install-recommends $missing >/dev/null
