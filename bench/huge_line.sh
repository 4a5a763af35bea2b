#!/usr/bin/env bash
# Peak memory of quillbrook-export on articles made of one huge line, in every output
# encoding: the line is read in pieces when the article is read and again when the
# import file is re-encoded, so memory must stay flat however long the line is.
#
#   bench/huge_line.sh [path/to/quillbrook-export]   (SIZE_MB=200, LIMIT_MB=64 by default)
#
# Articles: one line of SIZE_MB megabytes in Shift_JIS (it is the title, the category
# and, with "title-and-body", the body), the same line in UTF-8, and a short title
# followed by that line as the body. Each export is checked byte for byte against an
# import file computed here, and its peak resident memory (/usr/bin/time -v) against
# LIMIT_MB. Last, /dev/zero as an article (a line without end) must be refused at once
# with failure 75. Exits 1 when a check fails.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
exporter=${1:-$here/build/src/cli/quillbrook-export}
size_mb=${SIZE_MB:-200}
limit_mb=${LIMIT_MB:-64}
zero_seconds=${ZERO_SECONDS:-10}
[[ -x $exporter ]] || { echo "no exporter at $exporter (build the quillbrook-export target)" >&2; exit 1; }
[[ -x /usr/bin/time ]] || { echo "needs /usr/bin/time (apt-get install time)" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/qb-huge-line.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/out"

# Writes the articles, and the expected import files for each article, first-line mode
# and encoding (one record: "公　開", "タイトルを使う", "改行を変換する", start 2026/01/02 03:04).
python3 - "$work" "$size_mb" <<'PY'
import os, sys
work, size_mb = sys.argv[1], int(sys.argv[2])
unit = "今日は公園の桜を見に行きました。ｶﾒﾗ ISO 200、F8。　ひらがな カタカナ ＡＢＣ abc 123 "
unit = unit.strip(" ") + "x"  # no space at either end of the repeated text
count = size_mb * 1024 * 1024 // len(unit.encode("cp932")) + 1
lead, trail = "  ", "   "   # trimmed away
def article(name, encoding, title=None):
    with open(os.path.join(work, name), "wb") as f:
        if title is not None:
            f.write((title + "\r\n").encode(encoding))
        f.write(lead.encode(encoding))
        piece = unit.encode(encoding)
        for _ in range(count):
            f.write(piece)
        f.write((trail + "\r\n").encode(encoding))
article("line-sjis.txt", "cp932")
article("line-utf8.txt", "utf-8")
article("body.txt", "cp932", "題名")
def record(f, encoding, title, body):
    """title and body lines are lists of str parts; None in a list stands for the long line"""
    def write(parts):
        for p in parts:
            if p is None:
                piece = unit.encode(encoding)
                for _ in range(count):
                    f.write(piece)
            else:
                f.write(p.encode(encoding))
    write(["AUTHOR:\r\nTITLE: "] + title + ["\r\nDATE:  01/02/2026 03:04:00\r\nSTATUS:   Publish\r\n"
           "ALLOW COMMENTS: 0\r\nCONVERT BREAKS: 0\r\nALLOW PINGS: 0\r\nPRIMARY CATEGORY: "] + title +
          ["\r\n-----\r\nBODY:\r\n"])
    for i, line in enumerate(body):
        write((["<P>"] if i == 0 else []) + line + ["<BR>\r\n"])
    write(["<BR>\r\n</P>\r\n<BR>\r\n-----\r\n--------\r\n"])
codecs = {"shift_jis": "cp932", "euc-jp": "euc_jp", "utf-8": "utf-8"}
for enc, codec in codecs.items():
    for first in ("title", "title-and-body"):
        with open(os.path.join(work, f"expect-line-{first}-{enc}.txt"), "wb") as f:
            record(f, codec, [None], [[None]] if first == "title-and-body" else [])
        with open(os.path.join(work, f"expect-body-{first}-{enc}.txt"), "wb") as f:
            record(f, codec, ["題名"], ([["題名"]] if first == "title-and-body" else []) + [[None]])
PY
echo "articles: $(($(stat -c %s "$work/line-sjis.txt") / 1048576)) MB in one line (Shift_JIS and UTF-8), and after a title"

failed=0
# peak NAME COMMAND...: runs the command under /usr/bin/time -v; prints its peak RSS in KB.
peak() {
    local name=$1
    shift
    /usr/bin/time -v -o "$work/time-$name.txt" "$@" >/dev/null 2>"$work/stderr-$name.txt" || true
    awk -F': ' '/Maximum resident set size/ { print $2 }' "$work/time-$name.txt"
}

printf '%-40s %-10s %10s %8s  %s\n' article encoding "peak MB" "wall s" bytes
for source in line-sjis line-utf8 body; do
    expect=${source/-sjis/}
    expect=${expect/-utf8/}
    for first in title title-and-body; do
        for enc in shift_jis euc-jp utf-8; do
            name="$source-$first-$enc"
            kb=$(peak "$name" "$exporter" --name "$name" --output-dir "$work/out" --status publish \
                --start "2026/01/02 03:04" --category title --first-line "$first" --breaks br \
                --encoding "$enc" "$work/$source.txt")
            wall=$(awk -F': ' '/Elapsed \(wall clock\)/ { n = split($2, p, ":"); s = 0;
                   for (i = 1; i <= n; i++) s = s * 60 + p[i]; print s }' "$work/time-$name.txt")
            if cmp -s "$work/out/$name.txt" "$work/expect-$expect-$first-$enc.txt"; then
                same=identical
            else
                same=DIFFERENT
                failed=1
                cat "$work/stderr-$name.txt" >&2
            fi
            mb=$(awk -v k="$kb" 'BEGIN { printf "%.1f", k / 1024 }')
            if (( kb > limit_mb * 1024 )); then
                mb="$mb OVER"
                failed=1
            fi
            printf '%-40s %-10s %10s %8s  %s\n' "$source, $first" "$enc" "$mb" "$wall" "$same"
            rm -f "$work/out/$name.txt"
        done
    done
done

# /dev/zero never ends its first line: it is refused as a device, at once and with its
# number, before a line is read.
for enc in auto shift_jis; do
    kb=$(peak "zero-$enc" timeout "$zero_seconds" "$exporter" --name zero --output-dir "$work/out" \
        --status publish --category title --article-encoding "$enc" /dev/zero)
    mb=$(awk -v k="$kb" 'BEGIN { printf "%.1f", k / 1024 }')
    said=$(cat "$work/stderr-zero-$enc.txt")
    if [[ $said != "書き込み異常終了です。75" ]]; then
        said="NOT REFUSED: $said"
        failed=1
    fi
    printf '%-40s %-10s %10s %8s  %s\n' "/dev/zero, --article-encoding $enc" "utf-8" "$mb" "-" "$said"
done

(( failed == 0 )) && echo "every export identical and under $limit_mb MB" || echo "FAILED" >&2
exit "$failed"
