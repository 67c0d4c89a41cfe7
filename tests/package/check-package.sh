#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package, installs it into a scratch root with dpkg, and
# checks what it installs and what it says about itself: lintian passes it with
# no error or warning, it carries the licence and the manual page, and the program
# is stripped and hardened, its debug symbols in the separate -dbgsym package.
# A cross build's package is checked the same way: readelf reads any architecture.
#   check-package.sh BUILD_DIR SOURCE_DIR [KEEP_DIR]
# With KEEP_DIR the checked packages are copied there.
set -euo pipefail
build=$1
source=$2
keep=${3:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

for tool in lintian readelf; do
  command -v "$tool" >/dev/null || fail "$tool is not installed"
done

desktop-file-validate "$source/resources/org.pelzora.Pelzora.desktop" || fail "desktop file"
# The id keeps its upper-case letter (installed menu entries use it); nothing else
# may be reported, not even at the pedantic level.
metainfo="$source/resources/org.pelzora.Pelzora.metainfo.xml"
appstreamcli validate --pedantic --no-net "$metainfo" >"$work/appstream.log" || fail "metainfo: $(cat "$work/appstream.log")"
other=$(grep -E '^[EWIP]: ' "$work/appstream.log" | grep -v 'cid-contains-uppercase-letter' || true)
[ -z "$other" ] || fail "metainfo: $other"
grep -q '<project_license>GPL-3.0-or-later</project_license>' "$metainfo" || fail "metainfo has no licence"
[ "$(grep -c '<screenshot[ >]' "$metainfo")" -ge 7 ] || fail "metainfo has fewer than seven screenshots"
grep -q 'GNU GENERAL PUBLIC LICENSE' "$source/LICENSE" || fail "no LICENSE file"

(cd "$build" && cpack -G DEB -B "$work/out" >/dev/null) || fail "cpack"
deb=$(ls "$work"/out/pelzora_*.deb)
ls "$work"/out/pelzora-dbgsym_*.ddeb >/dev/null 2>&1 || fail "no -dbgsym package"

# Errors and warnings fail; what remains at info level is printed for the log.
lintian --fail-on error,warning --display-info "$deb" >"$work/lintian.log" 2>&1 ||
  fail "lintian: $(grep -v '^I: ' "$work/lintian.log")"
cat "$work/lintian.log"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = pelzora ] || fail "package name"
[ "$(field Version)" = 2.5 ] || fail "version $(field Version)"
field Depends | grep -q libqt6widgets6 || fail "no Qt dependency: $(field Depends)"
field Depends | grep -q libcups2 || fail "no CUPS dependency"
field Depends | grep -q fonts-wqy-microhei || fail "no Chinese font dependency"

# A scratch root with an empty dpkg database, of a machine of the package's
# architecture or with it added, as a foreign package would be installed.
root="$work/root"
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates"
touch "$root/var/lib/dpkg/status" "$root/var/lib/dpkg/available"
architecture=$(field Architecture)
if [ "$architecture" != "$(dpkg --print-architecture)" ]; then
  dpkg --root="$root" --force-not-root --add-architecture "$architecture" || fail "architecture $architecture"
fi
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
  /usr/share/man/man1/pelzora.1.gz
  /usr/share/doc/pelzora/copyright
  /usr/share/doc/pelzora/changelog.gz
  /usr/share/doc/pelzora/README.md
  /usr/share/pelzora/report.schema.json
  /usr/share/pelzora/pelzora.fact
)
listed=$(dpkg --root="$root" -L pelzora)
for f in "${expected[@]}"; do
  grep -qx "$f" <<<"$listed" || fail "$f not in the package"
  [ -e "$root$f" ] || fail "$f not installed"
done
[ -x "$root/usr/bin/pelzora" ] || fail "program not executable"
[ -x "$root/usr/share/pelzora/pelzora.fact" ] || fail "Ansible fact not executable"
# Nothing but the program, its desktop files and what tools read its report with.
unexpected=$(grep -v -E '^/usr(/bin(/pelzora)?|/share(/(applications|metainfo|icons|doc|man|pelzora)(/.*)?)?)?$|^/\.$' <<<"$listed" || true)
[ -z "$unexpected" ] || fail "unexpected files: $unexpected"

# The licence, machine-readable (DEP-5), and the manual page.
copyright="$root/usr/share/doc/pelzora/copyright"
head -n 1 "$copyright" | grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
  fail "copyright file is not machine-readable"
grep -q '^License: GPL-3.0-or-later$' "$copyright" || fail "copyright file names no GPL-3.0-or-later"
zcat "$root/usr/share/man/man1/pelzora.1.gz" | grep -q -- '--report' || fail "manual page without its options"

# Stripped, with the symbols in the -dbgsym package, and hardened as Debian's own
# packages are: PIE, full RELRO with immediate binding, stack protector. Fortified
# calls are not required: the program reads into buffers whose size only the
# running program knows, so _FORTIFY_SOURCE=2 may find nothing to check.
program="$root/usr/bin/pelzora"
elf() { readelf --wide "$@" "$program"; }
! grep -q -E '\.(symtab|debug_[a-z]+) ' <<<"$(elf -S)" || fail "program not stripped"
grep -q 'Type: *DYN' <<<"$(elf -h)" || fail "program is not PIE"
grep -q GNU_RELRO <<<"$(elf -l)" || fail "program without RELRO"
grep -q -E 'BIND_NOW|FLAGS_1.*NOW' <<<"$(elf -d)" || fail "program without -z now"
grep -q '__stack_chk_fail' <<<"$(elf --dyn-syms)" || fail "program without stack protector"

# The menu entry starts the program that was installed.
exec_line=$(grep '^Exec=' "$root/usr/share/applications/org.pelzora.Pelzora.desktop")
[ "$exec_line" = "Exec=pelzora" ] || fail "menu entry runs $exec_line"
if [ -n "$keep" ]; then
  cp "$deb" "$work"/out/pelzora-dbgsym_*.ddeb "$keep/" || fail "cannot copy the packages to $keep"
  echo "package ok: $keep/$(basename "$deb")"
else
  echo "package ok: $(basename "$deb")"
fi
