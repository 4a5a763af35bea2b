#!/usr/bin/env bash
# The real window under Wine, on the windows platform, driven like a user with the mouse
# and the keyboard (xdotool): for each source mode, category rule and encoding it chooses
# the options, picks the articles, presses "ファイル作成", closes the message and compares
# the import file byte for byte with the Linux exporter's for the same choices.
#   window_under_wine.sh WINDOW_FOLDER LINUX_EXPORTER
# Runs on the X display of the caller (Xvfb) and in its Wine prefix (WINEPREFIX). The
# import file names and the category name are typed in ASCII; the articles and folders
# have Japanese names, which the window is walked to without typing. Last, one blog export
# "WordPress 用（2 MB まで）" under "ファイルの分割": its parts against the exporter's
# --split-size 2000000.
set -euo pipefail
app=$(cd "$1" && pwd)
linux=$2
work=$(mktemp -d)
shots=${QB_WINDOW_SHOTS:-$PWD}
program=""
wm=""
cleanup() {
    [ -n "$program" ] && kill "$program" 2>/dev/null
    [ -n "$wm" ] && kill "$wm" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

sjis() { printf '%s\r\n' "$@" | iconv -f UTF-8 -t CP932; }
blog=$work/ブログ
mkdir -p "$blog/旅行" "$blog/日記" "$blog/連載" "$work/linux"
sjis "春の散歩" "桜が咲いていました。" "" "  字下げ　全角の空白" >"$blog/旅行/一日目.txt"
sjis "" "漢字とかな" "〜波ダッシュ" "ｱｲｳ ﾃｽﾄ" >"$blog/旅行/二日目.txt"
sjis "日記の題" "①と東京・大阪" >"$blog/日記/ある日.txt"
# Two long articles, over 2,000,000 bytes together: the split export writes them apart.
for n in 1 2; do
    { sjis "連載 $n"; head -c 1200000 /dev/zero | tr '\0' 'x'; printf '\r\n'; } >"$blog/連載/第${n}回.txt"
done

fail() {
    echo "FAILED: $*" >&2
    import -window root "$shots/window-under-wine-failure.png" 2>/dev/null || true
    echo "screen: $shots/window-under-wine-failure.png" >&2
    exit 1
}

# Polls a command until it succeeds, at most the given seconds.
wait_for() {
    local seconds=$1 what=$2
    shift 2
    local end=$((SECONDS + seconds))
    until "$@"; do
        ((SECONDS < end)) || fail "no $what within $seconds s"
        sleep 0.2
    done
}
window_named() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1; }
box_up() { [ -n "$(window_named '^Quillbrook$')" ]; }
box_gone() { ! box_up; }
main_up() { main=$(window_named '^Quillbrook Ver 3\.0\.0$') && [ -n "$main" ]; }

# Where the controls lie on the window's inside, in twips (15 to the pixel at 96 dpi):
# the sum of the places of a control and its frames in src/app/window_layout.cpp, a
# little into the control.
declare -A at=(
    [optFile_0]="3600 1740" [optFile_1]="3600 1950"
    [File1_empty]="1567 6390"
    [Command3]="4567 8107" [Combo2]="3000 8925" [Text7]="8407 1560"
    [Option13]="7020 2190" [Option12]="8220 2190" [Option14]="9300 2190"
    [Option3]="12000 4477"
    [Text1]="8287 5265" [Text2]="9487 5265" [Text3]="10447 5265" [Text4]="11797 5265" [Text5]="12727 5265"
    [Option7]="7200 7792" [Option8]="9750 7792" [Option11]="11550 7792" [Option10]="7200 8092"
    [Text8]="9787 8437"
)
click() {
    local x y
    read -r x y <<<"${at[$1]}"
    xdotool mousemove --window "$main" $((x / 15)) $((y / 15)) click 1
    sleep 0.3
}
# Replaces a text box's text by typing.
type_into() {
    click "$1"
    xdotool key ctrl+a
    xdotool type --delay 30 "$2"
}

openbox >/dev/null 2>&1 &
wm=$!
wm_up() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
wait_for 10 "window manager" wm_up
# Started in the blog folder, so that both folder lists show it.
# QB_WINDOW_PROGRAM runs another build of the window the same way (the Linux one on X,
# to try this script itself).
(cd "$blog" && exec ${QB_WINDOW_PROGRAM:-wine "$app/quillbrook.exe"} >"$work/wine.log" 2>&1) &
program=$!
wait_for 90 "main window" main_up
# The start-up probe of the notice page keeps the window disabled for up to 5 s.
sleep 6
xdotool windowactivate --sync "$main" 2>/dev/null || true
click Option3  # "未公開": the date is the start date, not stepped

declare -A option=([utf-8]=Option13 [euc-jp]=Option12 [shift_jis]=Option14
                   [folder]=Option7 [title]=Option8 [file]=Option11 [name]=Option10)
compared=0
different=0
# Compares the window's file with the exporter's of the same name, counting both.
compare_file() {
    local file=$1
    compared=$((compared + 1))
    if cmp -s "$blog/$file" "$work/linux/$file"; then
        echo "same: ${file%.txt}"
    else
        different=$((different + 1))
        echo "DIFFERENT: ${file%.txt}" >&2
        [ -f "$blog/$file" ] || echo "  (the window wrote no file)" >&2
        diff <(od -c "$work/linux/$file") <(od -c "$blog/$file" 2>/dev/null) | head -8 >&2 || true
    fi
}

# Names the file, types the start date, clicks "ファイル作成" and closes the message.
create_file() {
    local name=$1 i=1 part
    type_into Text7 "$name"
    for part in 2026 04 01 09 30; do
        type_into "Text$i" "$part"
        i=$((i + 1))
    done
    click Command3
    wait_for 60 "message after $name" box_up
    xdotool windowactivate --sync "$(window_named '^Quillbrook$')" 2>/dev/null || true
    xdotool key Return
    wait_for 30 "closed message after $name" box_gone
}

export_one() {
    local mode=$1 rule=$2 encoding=$3 name="w-$1-$2-$3"
    local sources=(--blog ../ブログ)
    if [ "$mode" = blog ]; then
        click optFile_1
    else
        click optFile_0
        # A click on the empty part of the file list, then Ctrl+A: every file listed.
        click File1_empty
        xdotool key ctrl+a
        sources=(../ブログ/旅行/一日目.txt ../ブログ/旅行/二日目.txt)
    fi
    click "${option[$rule]}"
    local named=()
    if [ "$rule" = name ]; then
        type_into Text8 diary
        named=(--category-name diary)
    fi
    click "${option[$encoding]}"
    create_file "$name"

    (cd "$work/linux" && "$linux" --name "$name" --status draft --start "2026/04/01 09:30" \
        --category "$rule" "${named[@]}" --encoding "$encoding" "${sources[@]}" >/dev/null)
    compare_file "$name.txt"
}

# "ファイルの分割": its list dropped down by the click, its last entry taken with the keys.
# It stays chosen: the later exports are far under 2 MB, one file each as without it.
export_split() {
    local part linux_parts
    click optFile_1
    click Combo2
    xdotool key End Return
    sleep 0.3
    click Option7
    click Option13
    create_file w-split
    (cd "$work/linux" && "$linux" --name w-split --status draft --start "2026/04/01 09:30" --category folder \
        --encoding utf-8 --split-size 2000000 --blog ../ブログ >/dev/null)
    linux_parts=$(cd "$work/linux" && ls w-split*.txt)
    [ "$(echo "$linux_parts" | wc -l)" -ge 2 ] || fail "the exporter wrote one file for the split case"
    for part in $linux_parts; do
        compare_file "$part"
    done
    [ "$(cd "$blog" && ls w-split*.txt)" = "$linux_parts" ] || { different=$((different + 1)); echo "DIFFERENT: the parts' names" >&2; }
    # Out of the file list again, whose empty part the file mode clicks.
    rm -f "$blog"/w-split*.txt
}

for mode in blog file; do
    if [ "$mode" = file ]; then
        # The folder list walked from the blog folder into its first sub-folder, 旅行:
        # the focus goes from the file list back to the folder list, Down, Enter.
        click optFile_0
        click File1_empty
        xdotool key shift+Tab Down Return
        sleep 1
    fi
    for rule in folder title file name; do
        for encoding in shift_jis euc-jp utf-8; do
            export_one "$mode" "$rule" "$encoding"
        done
    done
    if [ "$mode" = blog ]; then
        export_split
    fi
done
echo "window under Wine: $compared exports compared with the Linux exporter, $different different ($SECONDS s)"
[ "$different" -eq 0 ]
