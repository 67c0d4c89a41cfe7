#!/usr/bin/env bash
# Builds the Debian package, installs it into a scratch root with dpkg, and
# checks what it installs and what it says about itself.
#   check-package.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1
source=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

desktop-file-validate "$source/resources/org.pelzora.Pelzora.desktop" || fail "desktop file"
appstreamcli validate --no-net "$source/resources/org.pelzora.Pelzora.metainfo.xml" >/dev/null || fail "metainfo"

(cd "$build" && cpack -G DEB -B "$work/out" >/dev/null) || fail "cpack"
deb=$(ls "$work"/out/pelzora_*.deb)

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = pelzora ] || fail "package name"
[ "$(field Version)" = 2.5 ] || fail "version $(field Version)"
field Depends | grep -q libqt6widgets6 || fail "no Qt dependency: $(field Depends)"
field Depends | grep -q libcups2 || fail "no CUPS dependency"
field Depends | grep -q fonts-wqy-microhei || fail "no Chinese font dependency"

# A scratch root with an empty dpkg database.
root="$work/root"
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates"
touch "$root/var/lib/dpkg/status" "$root/var/lib/dpkg/available"
dpkg --root="$root" --force-not-root --force-depends --force-script-chrootless --log=/dev/null \
     -i "$deb" >/dev/null || fail "dpkg -i"
dpkg --root="$root" -s pelzora | grep -q "Status: install ok installed" || fail "not installed"

expected=(
  /usr/bin/pelzora
  /usr/share/applications/org.pelzora.Pelzora.desktop
  /usr/share/metainfo/org.pelzora.Pelzora.metainfo.xml
  /usr/share/icons/hicolor/16x16/apps/org.pelzora.Pelzora.png
  /usr/share/icons/hicolor/32x32/apps/org.pelzora.Pelzora.png
  /usr/share/icons/hicolor/48x48/apps/org.pelzora.Pelzora.png
  /usr/share/icons/hicolor/256x256/apps/org.pelzora.Pelzora.png
  /usr/share/icons/hicolor/scalable/apps/org.pelzora.Pelzora.svg
)
listed=$(dpkg --root="$root" -L pelzora)
for f in "${expected[@]}"; do
  grep -qx "$f" <<<"$listed" || fail "$f not in the package"
  [ -e "$root$f" ] || fail "$f not installed"
done
[ -x "$root/usr/bin/pelzora" ] || fail "program not executable"
# Nothing but the program and its desktop files.
unexpected=$(grep -v -E '^/usr(/bin(/pelzora)?|/share(/(applications|metainfo|icons|doc)(/.*)?)?)?$|^/\.$' <<<"$listed" || true)
[ -z "$unexpected" ] || fail "unexpected files: $unexpected"

# The menu entry starts the program that was installed.
exec_line=$(grep '^Exec=' "$root/usr/share/applications/org.pelzora.Pelzora.desktop")
[ "$exec_line" = "Exec=pelzora" ] || fail "menu entry runs $exec_line"
echo "package ok: $(basename "$deb")"
