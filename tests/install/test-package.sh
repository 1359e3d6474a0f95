#!/bin/bash
# Builds the Debian package with CPack into a temporary folder and checks its
# control fields and contents.
#
#   test-package.sh <build dir> <version> <desktop id> [<browser module file name>]
set -euo pipefail

build=$1
version=$2
app_id=$3
module=${4:-}

work=$(mktemp -d "${TMPDIR:-/tmp}/quillo-package.XXXXXX")
trap 'rm -rf "$work"' EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; fail "cpack -G DEB"; }
arch=$(dpkg --print-architecture)
deb=$work/quillo_${version}_$arch.deb
[ -f "$deb" ] || { ls "$work"; fail "no quillo_${version}_$arch.deb"; }

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = quillo ] || fail "Package is $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version is $(field Version)"
[ "$(field Architecture)" = "$arch" ] || fail "Architecture is $(field Architecture)"
[ "$(field Maintainer)" = "The Quillo developers" ] || fail "Maintainer is $(field Maintainer)"
[ "$(field Section)" = misc ] || fail "Section is $(field Section)"
[ "$(field Description | wc -l)" -gt 1 ] || fail "the Description has no long description"

# Depends: the Qt 6 libraries the program and its browser part link, the
# fonts it asks for, what the draft register loads, and only packages that exist (each one is installed here,
# where the program was built).
depends=$(field Depends)
echo "Depends: $depends"
names=$(echo "$depends" | tr ',' '\n' | sed 's/^ *//; s/ .*//')
wanted="libqt6core6 libqt6gui6 libqt6widgets6 libcups2 fonts-liberation libqt6sql6 libqt6sql6-sqlite libqt6sql6-psql libsodium23
libqt6keychain1 libsecret-1-0"
if [ -n "$module" ]; then wanted="$wanted libqt6webenginewidgets6 libqt6webenginecore6"; fi
for package in $wanted; do
    echo "$names" | grep -qx "$package" || fail "Depends lacks $package"
done
for package in $names; do
    case "$package" in *-dev) fail "Depends names the development package $package" ;; esac
    dpkg-query -W "$package" >/dev/null 2>&1 || fail "Depends names $package, which this system does not have"
done

# Contents: owned by root, in /usr, with a stripped program.
dpkg-deb -c "$deb" >"$work/contents"
for path in ./usr/bin/quillo ./usr/share/applications/$app_id.desktop ./usr/share/metainfo/$app_id.metainfo.xml \
    ./usr/share/quillo/help/index.html ./usr/share/doc/quillo/copyright \
    ./usr/share/icons/hicolor/{16x16,32x32,48x48,64x64,128x128,256x256}/apps/$app_id.png; do
    grep -q " $path\$" "$work/contents" || fail "the package lacks $path"
done
if [ -n "$module" ]; then
    grep -q " ./usr/lib/quillo/$module\$" "$work/contents" || fail "the package lacks ./usr/lib/quillo/$module"
fi
if awk '{print $2}' "$work/contents" | grep -vqx root/root; then
    fail "files in the package are not owned by root"
fi
mkdir "$work/root"
dpkg-deb -x "$deb" "$work/root"
file -b "$work/root/usr/bin/quillo" | grep -q ', stripped' || fail "the packaged program is not stripped"
echo "PASS: $(basename "$deb")"
