#!/usr/bin/env bash
# Makes the same exports with the Linux exporter and the Windows one (under Wine) and
# compares the import files (the parts of a split one too), the messages and the exit
# codes byte for byte.
#   linux_vs_windows.sh LINUX_EXPORTER WINE WINDOWS_EXPORTER
set -euo pipefail
linux=$1
wine=$2
windows=$3

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Shift_JIS lines from UTF-8 text, each ended by CR LF.
sjis() { printf '%s\r\n' "$@" | iconv -f UTF-8 -t CP932; }

blog=$work/ブログ
mkdir -p "$blog/旅行" "$blog/日記" "$blog/半角" "$blog/記号"
sjis "春の散歩" "桜が咲いていました。" "" "  字下げ　全角の空白" "また行きたい。" >"$blog/旅行/一日目.txt"
sjis "" "   " "漢字とかな" "〜波ダッシュ" "東京・大阪" >"$blog/旅行/二日目.txt"
sjis "ｱｲｳｴｵ ﾃｽﾄ" "ｶﾞｷﾞｸﾞ ｰ｡｢｣" >"$blog/半角/カナ.txt"
# An article in UTF-8, with LF line ends, recognised as such.
printf '%s\n' "京都の秋" "紅葉〜と①と髙" >"$blog/旅行/三日目.txt"
# NEC row 13 (circled digits, Roman numerals, the nine duplicates of row-2 symbols),
# a lone CR, a lone LF, Windows' own single bytes and bytes that are no character.
printf 'NEC\r\n\x87\x40\x87\x54\x87\x5F\x87\x90\x87\x91\x87\x92\x87\x9A\x87\x9B\x87\x9C\r\n' >"$blog/記号/NEC.txt"
printf 'CR\rLF\ninside\r\n\x80\xA0\xFD\xFE\xFF\r\n\x85\x40\x81\r\nend' >"$blog/記号/行末.txt"
# IBM extensions, also as NEC-selected: written in Shift_JIS and UTF-8, refused in EUC-JP.
ibm=$work/ibm
mkdir -p "$ibm/拡張"
printf 'IBM\r\n\xFA\x40\xFA\x5C\xED\x40\xEE\xEF\r\n' >"$ibm/拡張/IBM.txt"

common=(--name 出力 --status future --day-step 1 --time-step 1h --start "2026/04/01 09:00")
variants=(
    "--category folder --blog ../ブログ"
    "--category name --category-name 日記 --breaks br --first-line title-and-body --blog ../ブログ"
    "--category file ../ブログ/旅行/一日目.txt ../ブログ/半角/カナ.txt ../ブログ/記号/NEC.txt"
    "--category title --blog ../ibm"
    "--category folder --split-entries 2 --split-size 1K --blog ../ブログ"
)

compared=0
failed=0
for variant in "${variants[@]}"; do
    read -r -a options <<<"$variant"
    for encoding in shift_jis euc-jp utf-8; do
        for ends in crlf lf; do
            for side in linux windows; do
                rm -rf "$work/$side"
                mkdir "$work/$side"
            done
            args=("${common[@]}" --encoding "$encoding" --line-ends "$ends" "${options[@]}")
            (cd "$work/linux" && set +e; "$linux" "${args[@]}" >../linux.out 2>../linux.err; echo $? >../linux.exit)
            (cd "$work/windows" && set +e; "$wine" "$windows" "${args[@]}" >../windows.out 2>../windows.err
             echo $? >../windows.exit)
            compared=$((compared + 1))
            for part in out err exit; do
                if ! cmp -s "$work/linux.$part" "$work/windows.$part"; then
                    echo "DIFFERENT $part: ${args[*]}"
                    diff <(od -c "$work/linux.$part") <(od -c "$work/windows.$part") | head -10 || true
                    failed=$((failed + 1))
                fi
            done
            if ! diff -r "$work/linux" "$work/windows" >/dev/null; then
                echo "DIFFERENT files: ${args[*]}"
                diff -r "$work/linux" "$work/windows" | head -5 || true
                failed=$((failed + 1))
            fi
            # A failed run keeps what it wrote as NAME.txt.partial.
            # A split one writes 出力-1.txt ... instead.
            [ -s "$work/linux/出力.txt" ] || [ -s "$work/linux/出力-1.txt" ] || [ -s "$work/linux/出力.txt.partial" ] ||
                { echo "no import file: ${args[*]}"; failed=$((failed + 1)); }
            if [[ $variant == *split* ]] && [ "$(cat "$work/linux.exit")" = 0 ] && ! [ -s "$work/linux/出力-3.txt" ]; then
                echo "the split export wrote no third part"
                failed=$((failed + 1))
            fi
            # IBM extensions cannot go to EUC-JP: both sides fail with 6 and say where.
            if [[ $variant == *ibm* && $encoding == euc-jp ]] &&
                ! { [ "$(cat "$work/linux.exit")" = 2 ] &&
                    [ "$(cat "$work/linux.err")" = "書き込み異常終了です。6
記事「IBM.txt」の本文 1 行目の「ⅰ」(U+2170) は EUC-JP にない文字です。" ]; }; then
                echo "the IBM extensions were not refused in EUC-JP"
                failed=$((failed + 1))
            fi
        done
    done
done
echo "$compared exports compared, $failed differences"
[ "$failed" -eq 0 ]
