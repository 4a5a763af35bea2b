#!/usr/bin/env bash
# Makes the .deb with CPack from a finished build, then checks its files and control fields,
# validates the desktop entry, metainfo, icons and man page of an unpacked copy, and runs the
# unpacked exporter.
#   deb_test.sh BUILD_DIR WORK_DIR VERSION
set -euo pipefail
build=$1 work=$2 version=$3
id=example.quillbrook.Quillbrook
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

for tool in cpack dpkg-deb dpkg-shlibdeps file desktop-file-validate appstreamcli groff; do
    command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (./quillbrook test installs it)" >&2; exit 1; }
done

rm -rf "$work"
mkdir -p "$work"
if ! cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work" >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log" >&2
    echo "FAIL: cpack" >&2
    exit 1
fi
deb=$work/quillbrook_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || { ls "$work" >&2; echo "FAIL: no $deb" >&2; exit 1; }

# Files (directories left out).
expected="./usr/bin/quillbrook
./usr/bin/quillbrook-export
./usr/share/applications/$id.desktop
./usr/share/icons/hicolor/16x16/apps/$id.png
./usr/share/icons/hicolor/256x256/apps/$id.png
./usr/share/icons/hicolor/32x32/apps/$id.png
./usr/share/icons/hicolor/48x48/apps/$id.png
./usr/share/man/man1/quillbrook-export.1.gz
./usr/share/metainfo/$id.metainfo.xml"
actual=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | LC_ALL=C sort)
if [ "$actual" != "$expected" ]; then
    fail "file list differs:"
    diff <(echo "$expected") <(echo "$actual") >&2 || true
fi

# Control fields; the library dependencies come from dpkg-shlibdeps.
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = quillbrook ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version)"
[[ "$(field Maintainer)" == *@* ]] || fail "Maintainer: $(field Maintainer)"
[ -n "$(field Description)" ] || fail "no Description"
depends=$(field Depends)
for dep in "fonts-ipafont-gothic | fonts-noto-cjk" "libqt6widgets6 (" "libc6 (" "libstdc++6 ("; do
    [[ "$depends" == *"$dep"* ]] || fail "Depends lacks '$dep': $depends"
done

root=$work/root
dpkg -x "$deb" "$root"
desktop=$root/usr/share/applications/$id.desktop
metainfo=$root/usr/share/metainfo/$id.metainfo.xml
man_page=$root/usr/share/man/man1/quillbrook-export.1.gz

# Office;Utility; names two main categories on purpose, which the validator notes as a hint.
notes=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate failed"
notes=$(grep -v 'hint: value "Office;Utility;" for key "Categories" .* contains more than one main category' <<<"$notes" || true)
[ -z "$notes" ] || fail "desktop-file-validate: $notes"
grep -qx "Exec=quillbrook" "$desktop" || fail "desktop entry does not start quillbrook"
grep -qx "Icon=$id" "$desktop" || fail "desktop entry does not name the icon $id"

# The id's "example" is a reserved top-level domain, which the validator does not know.
notes=$(appstreamcli validate --no-net "$metainfo" 2>&1) || fail "appstreamcli validate: $notes"
notes=$(grep -E '^[EWI]: ' <<<"$notes" | grep -v "^I: $id:[0-9]*: cid-maybe-not-rdns" || true)
[ -z "$notes" ] || fail "appstreamcli validate: $notes"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" || fail "metainfo launchable"
grep -q "<release version=\"$version\"" "$metainfo" || fail "metainfo release is not $version"

# Each icon is a PNG of its folder's size (IHDR width and height, big-endian).
for size in 16 32 48 256; do
    icon=$root/usr/share/icons/hicolor/${size}x${size}/apps/$id.png
    read -r w h < <(od -An -tu1 -j16 -N8 "$icon" | awk '{ print $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8 }')
    [ "$w $h" = "$size $size" ] || fail "$icon is ${w}x${h}"
done

# The man page formats without warnings and has an entry (a .TP tag) for every option of --help.
warnings=$(zcat "$man_page" | groff -k -man -Tutf8 -ww -z 2>&1)
[ -z "$warnings" ] || fail "man page: $warnings"
exporter=$root/usr/bin/quillbrook-export
tags=$(zcat "$man_page" | sed 's/\\-/-/g' | awk 'tag { print; tag = 0 } /^\.TP/ { tag = 1 }')
for option in $("$exporter" --help | grep -oE -- '(^|[ |])--?[a-z][a-z-]*' | grep -oE -- '--?[a-z][a-z-]*' | sort -u); do
    grep -qE -- "(^|[^a-z-])$option([^a-z-]|$)" <<<"$tags" || fail "man page has no entry for $option"
done

# The unpacked exporter runs.
out=$("$exporter" --version) || fail "quillbrook-export --version exited $?"
[ "$out" = "Quillbrook $version" ] || fail "quillbrook-export --version: $out"

if [ "$failures" -ne 0 ]; then
    exit 1
fi
echo "deb ok: $deb"
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print "  " $6 }'
