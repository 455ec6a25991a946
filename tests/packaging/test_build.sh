#!/usr/bin/env bash
# Builds the package (3.6.9, and 3.6.10 for the update test) from the build
# tree, and checks it without installing it: lintian, the file list, the
# unit with systemd-analyze, the desktop entry and the AppStream metadata.
#   test_build.sh BUILD_DIR PACKAGE_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$(cd "$1" && pwd)
out=$2
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

rm -rf "$out"
mkdir -p "$out"
for version in 3.6.9 3.6.10; do
    echo "== build $version"
    deb=$(timeout 240 bash "$root/packaging/build-deb.sh" --build-dir "$build" --version "$version" \
        --out "$out" 2>"$out/build-$version.log" | tail -n 1) || {
        cat "$out/build-$version.log" >&2
        fail "building $version failed"
    }
    [ -f "$deb" ] || fail "no package for $version"
    [ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "wrong version in $deb"
done
deb=$out/kestrova_3.6.9_amd64.deb

echo "== lintian"
if ! timeout 120 lintian --fail-on error,warning \
    "$out/kestrova_3.6.9_amd64.changes" >"$out/lintian.txt" 2>&1; then
    cat "$out/lintian.txt" >&2
    fail "lintian reports errors or warnings"
fi

echo "== contents"
expected="./lib/systemd/system/kestrovad.service
./usr/bin/kestrova
./usr/bin/kestrova-cli
./usr/libexec/kestrova/kestrova-cli
./usr/libexec/kestrova/kestrova-cli-front
./usr/libexec/kestrova/kestrova-dns
./usr/libexec/kestrova/kestrovad-service
./usr/sbin/kestrovad
./usr/share/applications/net.kestrova.Kestrova.desktop
./usr/share/bash-completion/completions/kestrova-cli
./usr/share/doc/kestrova/changelog.gz
./usr/share/doc/kestrova/copyright
./usr/share/icons/hicolor/scalable/apps/kestrova.svg
./usr/share/kestrova/script/update-resolv-conf.sh
./usr/share/lintian/overrides/kestrova
./usr/share/man/man1/kestrova-cli.1.gz
./usr/share/man/man1/kestrova.1.gz
./usr/share/man/man8/kestrovad.8.gz
./usr/share/metainfo/net.kestrova.Kestrova.metainfo.xml"
got=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sort)
[ "$got" = "$expected" ] || fail "unexpected contents:
$(diff <(echo "$expected") <(echo "$got"))"
depends=$(dpkg-deb -f "$deb" Depends)
for needed in openvpn stunnel4 iptables libqt5svg5 libqt5keychain1 libsecret-1-0 libqt5widgets5 libqt5network5 libssl3 sudo procps; do
    grep -qE "(^|, )$needed( |,|$)" <<<"$depends" || fail "Depends lacks $needed: $depends"
done
# Only suggested: recommending it pulls a whole GNOME Shell into other desktops.
grep -q gnome-shell-extension-appindicator <<<"$(dpkg-deb -f "$deb" Suggests)" ||
    fail "no tray helper suggested"
! grep -q gnome-shell <<<"$(dpkg-deb -f "$deb" Depends Recommends)" || fail "GNOME Shell is pulled in"
for script in preinst postinst prerm postrm; do
    dpkg-deb -I "$deb" "$script" >"$out/$script"
done
grep -q 'deb-systemd-helper.*enable' "$out/postinst" || fail "postinst does not enable the service"
grep -q "deb-systemd-invoke start 'kestrovad.service'" "$out/postinst" || fail "postinst does not start the service"
# Stopped before removal (prerm) and before an upgrade (the new preinst).
grep -q "deb-systemd-invoke stop 'kestrovad.service'" "$out/prerm" || fail "prerm does not stop the service"
grep -q '"$1" = upgrade' "$out/preinst" && grep -q "deb-systemd-invoke stop 'kestrovad.service'" "$out/preinst" ||
    fail "the service is not stopped before an upgrade"

echo "== unit, desktop entry, metadata"
x=$out/extracted
dpkg-deb -x "$deb" "$x"
# The unit's programs must exist where it names them: look at it through a
# private view of /usr/libexec that adds the package's folder.
verify=$(unshare --mount --propagation private sh -c \
    'mount -t overlay overlay -o lowerdir="$1"/usr/libexec:/usr/libexec /usr/libexec &&
     systemd-analyze verify --man=no "$1"/lib/systemd/system/kestrovad.service' sh "$x" 2>&1) ||
    fail "systemd-analyze verify: $verify"
[ -z "$verify" ] || fail "systemd-analyze verify: $verify"
report=$(desktop-file-validate "$x/usr/share/applications/net.kestrova.Kestrova.desktop") ||
    fail "desktop entry does not validate: $report"
if grep -v ': hint: ' <<<"$report" | grep -q .; then
    fail "desktop entry: $report"
fi
appstreamcli validate --no-net --explain "$x/usr/share/metainfo/net.kestrova.Kestrova.metainfo.xml" >"$out/appstream.txt" 2>&1 ||
    { cat "$out/appstream.txt" >&2; fail "metainfo does not validate"; }
sh -n "$x/usr/libexec/kestrova/kestrovad-service" || fail "the service helper is not valid sh"
echo PASS
