#!/usr/bin/env bash
# Packs the build as a Debian package and checks what apt relies on: the file name, the
# dependencies worked out from the linked libraries and the installed layout under /usr.
# Usage: check_package.sh BUILD_DIR VERSION
set -euo pipefail
build=$1 version=$2
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB -B "$out" >/dev/null) || fail "cpack -G DEB"
deb="$out/pulvitra_${version}_amd64.deb"
[ -f "$deb" ] || fail "no $(basename "$deb")"
[ "$(dpkg-deb -f "$deb" Package)" = pulvitra ] || fail "package name"
[ "$(dpkg-deb -f "$deb" Architecture)" = amd64 ] || fail "architecture"
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 libqt6serialport6 qt6-qpa-plugins; do
  [[ ", $depends," == *", $lib"[\ ,]* ]] || fail "Depends lacks $lib: $depends"
done
contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
for f in usr/bin/pulvitra usr/bin/pulvitra-cli usr/bin/recorder-sim usr/share/pulvitra/pulvitra_en.hlp \
         usr/share/applications/org.pulvitra.Pulvitra.desktop usr/share/mime/packages/pulvitra.xml \
         usr/share/metainfo/org.pulvitra.Pulvitra.metainfo.xml usr/share/icons/hicolor/48x48/apps/pulvitra.png \
         usr/share/man/man1/pulvitra.1.gz usr/share/man/man1/pulvitra-cli.1.gz usr/share/doc/pulvitra/copyright \
         usr/share/doc/pulvitra/changelog.gz; do
  grep -qx "./$f" <<<"$contents" || fail "package lacks /$f"
done
if grep -q 'make-icon' <<<"$contents"; then fail "the build-time icon tool is packed"; fi
# Debian's own checker: no error and no warning (an override only with a written reason).
if command -v lintian >/dev/null; then
  findings=$(lintian --tag-display-limit 0 "$deb" 2>&1 | grep -E '^[EW]: ' || true)
  [ -z "$findings" ] || fail "lintian: $findings"
else
  echo "lintian is not installed: scripts/install-deps installs it" >&2
  exit 1
fi
echo "package ok: $(basename "$deb"), Depends: $depends"
