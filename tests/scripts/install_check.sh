#!/usr/bin/env bash
# The installed program, used from where it was installed: `cmake --install`
# into a temporary prefix, then the installed pipeloop's --version without a
# display, a parts list from the installed sample and catalogue (the same as
# the build tree gives), and the desktop files through the freedesktop
# validators.
#
# usage: install_check.sh BUILD_DIR SOURCE_DIR VERSION APP_ID
set -euo pipefail
build=$1 source=$2 version=$3 app_id=$4
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

cmake --install "$build" --prefix "$prefix" >/dev/null
data="$prefix/share/pipeloop"
applications="$prefix/share/applications/$app_id.desktop"
metainfo="$prefix/share/metainfo/$app_id.metainfo.xml"
for file in bin/pipeloop bin/pipeloop-cli \
  share/pipeloop/{zavoza.pldbcab,pipeloop.qch,pipeloop.qhc,lang/pipeloop.ltf} \
  share/pipeloop/samples/{workshop.plf,factory.plf,compressor-house.cph} \
  "share/applications/$app_id.desktop" "share/metainfo/$app_id.metainfo.xml" \
  "share/mime/packages/$app_id.xml" "share/icons/hicolor/scalable/apps/$app_id.svg"; do
  [ -s "$prefix/$file" ] || fail "$file is not installed"
done
for size in 16 22 24 32 48 64 128 256 512; do
  icon="$prefix/share/icons/hicolor/${size}x${size}/apps/$app_id.png"
  [ "$(identify -format '%wx%h' "$icon" 2>/dev/null)" = "${size}x${size}" ] ||
    fail "no ${size}x${size} icon"
done

# Away from the build tree: nothing may be found through the working folder.
cd "$prefix"
shown=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM bin/pipeloop --version) ||
  fail "pipeloop --version needs more than it should"
[ "$shown" = "$version" ] || fail "pipeloop --version shows '$shown', not $version"
[ "$(bin/pipeloop-cli --version)" = "$version" ] || fail "pipeloop-cli --version"

"$build/src/cli/pipeloop-cli" partslist "$source/data/samples/workshop.plf" \
  --out "$prefix/built.txt" 2>/dev/null
bin/pipeloop-cli partslist "$data/samples/workshop.plf" --out "$prefix/installed.txt" 2>/dev/null ||
  fail "the installed pipeloop-cli gives no parts list from the installed catalogue"
cmp -s "$prefix/built.txt" "$prefix/installed.txt" ||
  fail "the installed parts list differs from the build tree's"
mv "$data/zavoza.pldbcab" "$prefix/aside.pldbcab"
if errors=$(bin/pipeloop-cli partslist "$data/samples/workshop.plf" 2>&1 >/dev/null); then
  fail "a parts list without the installed catalogue"
fi
grep -qF "not found : $data/zavoza.pldbcab" <<<"$errors" ||
  fail "the catalogue was looked for elsewhere: $errors"

desktop-file-validate "$applications" || fail "desktop-file-validate"
appstreamcli validate --no-net --pedantic "$metainfo" || fail "appstreamcli validate"
# The file types compile into the desktop's database.
update-mime-database "$prefix/share/mime" 2>/dev/null
for type in project compressor-house catalogue price-list user-parts; do
  [ -s "$prefix/share/mime/application/x-pipeloop-$type.xml" ] || fail "no type $type"
done
grep -q "^MimeType=.*application/x-pipeloop-project;" "$applications" ||
  fail "a project does not open in the program"
echo "installed and used from $prefix"
