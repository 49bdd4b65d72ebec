#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what an administrator's install relies
# on: the layout, the desktop entry and the AppStream data pass their validators, the file type
# matches recording files by name and by their header, and the installed tools run.
# Usage: check_install.sh BUILD_DIR VERSION
set -euo pipefail
build=$1 version=$2
prefix=$(mktemp -d)
user=$(mktemp -d)
gui_pid=
cleanup() {
  [ -n "$gui_pid" ] && kill "$gui_pid" 2>/dev/null
  chmod -R u+w "$prefix"
  rm -rf "$prefix" "$user"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null

expected=(
  bin/pulvitra bin/pulvitra-cli bin/recorder-sim
  share/pulvitra/pulvitra_de.hlp share/pulvitra/pulvitra_en.hlp
  share/applications/org.pulvitra.Pulvitra.desktop
  share/mime/packages/pulvitra.xml
  share/metainfo/org.pulvitra.Pulvitra.metainfo.xml
  share/icons/hicolor/scalable/apps/pulvitra.svg
  share/icons/hicolor/48x48/apps/pulvitra.png
  share/icons/hicolor/256x256/apps/pulvitra.png
  share/man/man1/pulvitra.1.gz share/man/man1/pulvitra-cli.1.gz share/man/man1/recorder-sim.1.gz
  share/doc/pulvitra/copyright share/doc/pulvitra/changelog.gz
)
for f in "${expected[@]}"; do [ -f "$prefix/$f" ] || fail "missing $f"; done
for f in bin/pulvitra bin/pulvitra-cli bin/recorder-sim; do [ -x "$prefix/$f" ] || fail "$f not executable"; done

# The pixel icons have the sizes their folders promise.
for size in 48 256; do
  got=$(identify -format '%wx%h' "$prefix/share/icons/hicolor/${size}x${size}/apps/pulvitra.png")
  [ "$got" = "${size}x${size}" ] || fail "icon ${size}x${size} is $got"
done
grep -q '<svg ' "$prefix/share/icons/hicolor/scalable/apps/pulvitra.svg" || fail "scalable icon is no SVG"

desktop="$prefix/share/applications/org.pulvitra.Pulvitra.desktop"
desktop-file-validate "$desktop" || fail "desktop-file-validate"
for line in 'Exec=pulvitra %f' 'Icon=pulvitra' 'Categories=Science;MedicalSoftware;' \
            'MimeType=application/x-pulvitra-recording;' 'Comment=' 'Comment\[de\]='; do
  grep -q "^$line" "$desktop" || fail "desktop entry lacks $line"
done
appstreamcli validate --no-net "$prefix/share/metainfo/org.pulvitra.Pulvitra.metainfo.xml" \
  || fail "appstreamcli validate"

# The file type: glob *.pul and the 13 characters "KORDAMAT File" at offset 0.
mime="$prefix/share/mime/packages/pulvitra.xml"
grep -q '<glob pattern="\*.pul"/>' "$mime" || fail "MIME type lacks glob *.pul"
grep -q '<match type="string" offset="0" value="KORDAMAT File"/>' "$mime" || fail "MIME type lacks the magic"
if command -v update-mime-database >/dev/null; then
  update-mime-database "$prefix/share/mime" || fail "update-mime-database"
fi

for page in PULVITRA PULVITRA-CLI RECORDER-SIM; do
  file="$prefix/share/man/man1/${page,,}.1.gz"
  zcat "$file" | grep -q "^\.TH $page 1 .*Pulvitra $version" || fail "${page,,} man page"
done

# --version and --help answer on the terminal and end at once: no display, no Qt platform.
no_screen() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM timeout 5 "$@"; }
[ "$(no_screen "$prefix/bin/pulvitra" --version)" = "pulvitra $version" ] || fail "pulvitra --version"
[ "$(no_screen "$prefix/bin/pulvitra-cli" --version)" = "pulvitra-cli $version" ] || fail "pulvitra-cli --version"
no_screen "$prefix/bin/pulvitra" --help | grep -q '^Usage: pulvitra \[FILE.pul\]' || fail "pulvitra --help"

# The installed tools run on their own, away from the build folder.
work=$prefix/work
mkdir -p "$work"
"$prefix/bin/pulvitra-cli" --help | grep -q '^Usage: pulvitra-cli COMMAND' || fail "pulvitra-cli --help"
"$prefix/bin/recorder-sim" --help | grep -q '^Usage: recorder-sim' || fail "recorder-sim --help"
"$prefix/bin/pulvitra-cli" generate "$work/gen.pul" --seed 7 || fail "pulvitra-cli generate"
[ "$(head -c 13 "$work/gen.pul")" = "KORDAMAT File" ] || fail "generated file lacks its header"
"$prefix/bin/pulvitra-cli" info "$work/gen.pul" >"$work/info.json" || fail "pulvitra-cli info"
grep -q '{' "$work/info.json" || fail "pulvitra-cli info printed no JSON"
"$prefix/bin/pulvitra-cli" stats "$work/gen.pul" >/dev/null || fail "pulvitra-cli stats"

# Installed for several users: the prefix read-only, this user's folders in temporary places.
# (The administrator, for whom the folders stay writable, gets the same per-user folders.)
chmod -R a-w "$prefix/bin" "$prefix/share"
mkdir -p "$user/home" "$user/config"
echo 'XDG_DOCUMENTS_DIR="$HOME/Dokumente"' >"$user/config/user-dirs.dirs"
as_user() {
  env -u PULVITRA_HOME -u XDG_DOCUMENTS_DIR HOME="$user/home" XDG_CONFIG_HOME="$user/config" \
    XDG_DATA_HOME="$user/data" QT_QPA_PLATFORM=offscreen "$@"
}
folders=$(as_user "$prefix/bin/pulvitra-cli" folders) || fail "pulvitra-cli folders"
for line in '"portable": false' "\"settings\": \"$user/config/pulvitra/Pulvitra.ini\"" \
            "\"help\": \"$prefix/share/pulvitra/\"" "\"help_copy\": \"$user/data/pulvitra/pulvitra.hlp\"" \
            "\"documents\": \"$user/home/Dokumente/Pulvitra\""; do
  grep -qF "$line" <<<"$folders" || fail "installed folders lack $line: $folders"
done
# The program itself: after the language has settled by itself (German, 2.1 s), its help is the
# copy of share/pulvitra/pulvitra_de.hlp in the user's data folder, and the prefix is unchanged.
as_user "$prefix/bin/pulvitra" >"$user/gui.log" 2>&1 &
gui_pid=$!
for _ in $(seq 100); do
  [ -s "$user/data/pulvitra/pulvitra.hlp" ] && break
  sleep 0.1
done
kill "$gui_pid" 2>/dev/null; wait "$gui_pid" 2>/dev/null || true; gui_pid=
cmp -s "$prefix/share/pulvitra/pulvitra_de.hlp" "$user/data/pulvitra/pulvitra.hlp" \
  || fail "no per-user help copy from share/pulvitra/: $(cat "$user/gui.log")"
[ "$(ls "$prefix/bin" | tr '\n' ' ')" = "pulvitra pulvitra-cli recorder-sim " ] || fail "the program wrote into bin/"

# A copy in a writable folder of its own, with its help beside it, stays portable.
mkdir -p "$user/portable"
cp "$prefix/bin/pulvitra-cli" "$prefix/share/pulvitra/"*.hlp "$user/portable/"
folders=$(as_user "$user/portable/pulvitra-cli" folders) || fail "portable pulvitra-cli folders"
for line in '"portable": true' "\"settings\": \"$user/portable/Pulvitra.ini\"" \
            "\"documents\": \"$user/portable/data\""; do
  grep -qF "$line" <<<"$folders" || fail "portable folders lack $line: $folders"
done
echo "install layout ok"
