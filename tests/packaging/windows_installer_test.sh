#!/usr/bin/env bash
# The installer under Wine, run silently as an administrator would: it installs, the
# installed window starts and draws itself, the installed exporter exports the same bytes
# as the Linux one, and the uninstaller leaves no file, shortcut or registry key behind.
#   windows_installer_test.sh SETUP LINUX_EXPORTER
# Runs in a fresh Wine prefix (WINEPREFIX) on the caller's X display (Xvfb).
set -euo pipefail
setup=$(realpath "$1")
linux=$(realpath "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Wine would copy the Start-menu entry to the Linux desktop's menus, outside the prefix.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-};winemenubuilder.exe=d"
wineboot -i >/dev/null 2>&1
wineserver -w  # the registry is on disk once the server has ended

drive=$WINEPREFIX/drive_c
dir="$drive/Program Files/Quillbrook"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quillbrook'
entry='Quillbrook 投稿用ファイル作成ツール.lnk'
failures=0
check() {
    local what=$1
    shift
    if "$@"; then echo "ok: $what"; else echo "FAILED: $what" >&2; failures=$((failures + 1)); fi
}
left_behind() {
    find "$drive" -iname '*quillbrook*'
    grep -il quillbrook "$WINEPREFIX"/*.reg || true
}
nothing_left() { [ -z "$(left_behind)" ]; }
has_entry() { [ -n "$(find "$drive/ProgramData" -name "$entry")" ]; }

check "nothing of Quillbrook before" nothing_left
timeout 120 wine "$setup" /S
installed=(quillbrook.exe quillbrook-export.exe uninstall.exe Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll
           Qt6Network.dll libstdc++-6.dll platforms/qwindows.dll styles/qwindowsvistastyle.dll
           tls/qschannelbackend.dll licenses/LGPL-3.0-only.txt licenses/QT-README.txt)
for f in "${installed[@]}"; do
    check "installed $f" test -f "$dir/$f"
done
check "Start-menu entry \"${entry%.lnk}\"" has_entry
check "entry in the list of programs" wine reg query "$key" /v UninstallString

# The installed window starts and draws itself (949 by 609 pixels).
timeout 120 wine "$dir/quillbrook.exe" --screenshot "$(winepath -w "$work/window.png")" || true
check "the installed window drew itself" test "$(identify -format '%wx%h' "$work/window.png" 2>/dev/null)" = 949x609

# The installed exporter against the Linux one.
sjis() { printf '%s\r\n' "$@" | iconv -f UTF-8 -t CP932; }
mkdir -p "$work/ブログ/旅行" "$work/win" "$work/linux"
sjis "春の散歩" "桜が咲いていました。" >"$work/ブログ/旅行/一日目.txt"
options=(--name 出力 --status future --day-step 1 --start "2026/04/01 09:00" --category folder
         --encoding euc-jp --blog ../ブログ)
(cd "$work/win" && timeout 120 wine "$dir/quillbrook-export.exe" "${options[@]}" >/dev/null)
(cd "$work/linux" && "$linux" "${options[@]}" >/dev/null)
check "the installed exporter wrote the Linux exporter's bytes" cmp "$work/win/出力.txt" "$work/linux/出力.txt"

# The uninstaller copies itself away and removes the folder from there.
timeout 120 wine "$dir/uninstall.exe" /S
end=$((SECONDS + 60))
while [ -e "$dir" ] && ((SECONDS < end)); do sleep 0.5; done
wineserver -w
check "uninstalled: no file, shortcut or registry key left" nothing_left
check "uninstalled: gone from the list of programs" bash -c "! wine reg query '$key' >/dev/null 2>&1"
left_behind | sed 's/^/  left: /'
echo "installer under Wine: $failures failed ($SECONDS s)"
[ "$failures" -eq 0 ]
