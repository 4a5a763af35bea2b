#!/usr/bin/env bash
# Speed and memory of quillbrook-export beside cat and iconv on the same articles.
#
#   bench/export.sh [path/to/quillbrook-export] [article count]
#
# Generates Shift_JIS articles of about 4 KB (kanji, kana, ASCII, half-width katakana,
# blank lines, U+3000 indents) in a blog folder of ten sub-folders, then times, best of
# three runs each (wall and CPU seconds): quillbrook-export in each encoding, `cat` of the articles and
# `iconv -f CP932 -t UTF-8` of their concatenation. Reports wall seconds, MB/s of
# article input and peak resident memory, and each figure as a ratio to cat and iconv.
# Last, the UTF-8 and Shift_JIS exports split for WordPress (--split-size 2000000) beside
# the same exports unsplit: their cost in time, which is to stay within 10 %, and their
# files put together checked against the unsplit file.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
exporter=${1:-$here/build/src/cli/quillbrook-export}
count=${2:-10000}
runs=3
[[ -x $exporter ]] || { echo "no exporter at $exporter (build the quillbrook-export target)" >&2; exit 1; }
[[ -x /usr/bin/time ]] || { echo "needs /usr/bin/time (apt-get install time)" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/qb-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/blog" "$work/out"

python3 - "$work/blog" "$count" <<'PY'
import os, random, sys
root, count = sys.argv[1], int(sys.argv[2])
rng = random.Random(20260401)
kanji = "春夏秋冬日月火水木金土山川海空雨雪風花桜散歩道家族友達仕事学校電車旅行料理写真音楽映画本読書時間今朝夜"
kana = "あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよらりるれろわをんがぎぐげござじずぜぞ"
katakana = "アイウエオカキクケコサシスセソタチツテトナニヌネノ"
halfwidth = "ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾅﾆﾇﾈﾉﾊﾋﾌﾍﾎﾏﾐﾑﾒﾓﾔﾕﾖﾗﾘﾙﾚﾛﾜｦﾝ"
ascii = "abcdefghijklmnopqrstuvwxyz ABCDEFGHIJKLMNOPQRSTUVWXYZ 0123456789 "
def sentence():
    parts = []
    for _ in range(rng.randint(3, 8)):
        pool = rng.choice([kanji, kanji, kana, kana, kana, katakana, halfwidth, ascii])
        parts.append("".join(rng.choice(pool) for _ in range(rng.randint(2, 9))))
    return "".join(parts) + "。"
for i in range(count):
    lines = ["記事%05d %s" % (i, sentence()[:12])]
    size = 0
    while size < 4000:
        if rng.random() < 0.15:
            line = ""
        else:
            line = "\u3000" + "".join(sentence() for _ in range(rng.randint(1, 4)))
        lines.append(line)
        size += len(line.encode("cp932")) + 2
    folder = os.path.join(root, "s%02d" % (i % 10))
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "a%05d.txt" % i), "wb") as f:
        f.write("\r\n".join(lines).encode("cp932") + b"\r\n")
PY

cat "$work"/blog/*/* > "$work/all.txt"
bytes=$(stat -c %s "$work/all.txt")
mb=$(awk -v b="$bytes" 'BEGIN { printf "%.2f", b / 1e6 }')
echo "articles: $count, $mb MB of Shift_JIS"

# best of $runs: prints "wall_seconds peak_kb cpu_seconds" (CPU = user + system, of the best run)
measure() {
    local best="" peak=0 bestcpu=""
    for _ in $(seq "$runs"); do
        /usr/bin/time -v -o "$work/time.txt" "$@" >/dev/null 2>"$work/stderr.txt" ||
            { cat "$work/stderr.txt" >&2; echo "failed: $*" >&2; exit 1; }
        local wall kb
        wall=$(awk -F': ' '/Elapsed \(wall clock\)/ { n = split($2, p, ":"); s = 0;
               for (i = 1; i <= n; i++) s = s * 60 + p[i]; print s }' "$work/time.txt")
        kb=$(awk -F': ' '/Maximum resident set size/ { print $2 }' "$work/time.txt")
        cpu=$(awk -F': ' '/User time|System time/ { s += $2 } END { print s }' "$work/time.txt")
        if [[ -z $best ]] || awk -v a="$wall" -v b="$best" 'BEGIN { exit !(a < b) }'; then
            best=$wall
            bestcpu=$cpu
        fi
        (( kb > peak )) && peak=$kb
    done
    echo "$best $peak $bestcpu"
}

read -r cat_s cat_kb cat_cpu < <(measure bash -c 'cat "$1"/blog/*/* > /dev/null' _ "$work")
read -r iconv_s iconv_kb iconv_cpu < <(measure iconv -f CP932 -t UTF-8 "$work/all.txt")

printf '%-20s %7s %7s %8s %8s %8s %8s %8s %8s\n' tool wall_s cpu_s MB/s peak_KB "wall/cat" "wall/icv" "mem/cat" "mem/icv"
row() {
    local name=$1 s=$2 kb=$3 cpu=$4
    awk -v n="$name" -v s="$s" -v kb="$kb" -v cpu="$cpu" -v mb="$mb" -v cs="$cat_s" -v ck="$cat_kb" \
        -v is="$iconv_s" -v ik="$iconv_kb" \
        'BEGIN { m = s > 0 ? mb / s : 0; c = cs > 0 ? s / cs : 0; i = is > 0 ? s / is : 0;
                 printf "%-20s %7.2f %7.2f %8.1f %8d %8.1f %8.1f %8.1f %8.1f\n", n, s, cpu, m, kb, c, i, kb / ck, kb / ik }'
}
row cat "$cat_s" "$cat_kb" "$cat_cpu"
row "iconv CP932>UTF-8" "$iconv_s" "$iconv_kb" "$iconv_cpu"
for encoding in shift_jis euc-jp utf-8; do
    read -r s kb cpu < <(measure "$exporter" --name "bench-$encoding" --output-dir "$work/out" --status publish \
        --category folder --breaks br --encoding "$encoding" --blog "$work/blog")
    row "export $encoding" "$s" "$kb" "$cpu"
    out_mb=$(awk -v b="$(stat -c %s "$work/out/bench-$encoding.txt")" 'BEGIN { printf "%.2f", b / 1e6 }')
    echo "    import file: $out_mb MB"
done

# The split export beside the same export unsplit, in UTF-8 (parts written by the
# re-encoding) and in Shift_JIS (parts written by the first pass). The two are run by
# turns, best of five each, so that a change in the machine's load falls on both alike;
# one start date for all, so that a minute passing between two runs changes no DATE.
export_as() {
    local name=$1 encoding=$2
    shift 2
    measure "$exporter" --name "$name" --output-dir "$work/out" --status publish --category folder --breaks br \
        --encoding "$encoding" --start "2026/04/01 09:00" --blog "$work/blog" "$@"
}
for encoding in utf-8 shift_jis; do
    whole_s="" split_s=""
    for _ in 1 2 3 4 5; do
        read -r s kb cpu < <(runs=1 export_as "whole-$encoding" "$encoding")
        if [[ -z $whole_s ]] || awk -v a="$s" -v b="$whole_s" 'BEGIN { exit !(a < b) }'; then
            whole_s=$s whole_kb=$kb whole_cpu=$cpu
        fi
        read -r s kb cpu < <(runs=1 export_as "split-$encoding" "$encoding" --split-size 2000000)
        if [[ -z $split_s ]] || awk -v a="$s" -v b="$split_s" 'BEGIN { exit !(a < b) }'; then
            split_s=$s split_kb=$kb split_cpu=$cpu
        fi
    done
    row "export $encoding" "$whole_s" "$whole_kb" "$whole_cpu"
    row "  split 2 MB" "$split_s" "$split_kb" "$split_cpu"
    parts=$(find "$work/out" -maxdepth 1 -name "split-$encoding-*.txt" | wc -l)
    cmp -s "$work/out/whole-$encoding.txt" <(cat "$work/out/split-$encoding"-*.txt) ||
        { echo "the parts put together differ from the unsplit file" >&2; exit 1; }
    awk -v a="$split_s" -v b="$whole_s" -v n="$parts" \
        'BEGIN { printf "    %d parts, equal to the unsplit file put together; split/unsplit wall: %.3f (%+.1f %%)\n",
                 n, a / b, (a / b - 1) * 100 }'
done
