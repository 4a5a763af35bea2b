#!/usr/bin/env bash
# Re-encoding a large Shift_JIS import file: speed and peak memory of ReencodeOutputFile
# for EUC-JP and UTF-8, beside iconv doing the same conversions on the same file.
#   bench/reencode.sh            (SIZE_MB=200 by default; QUILLBROOK_BUILD_DIR=build)
set -euo pipefail
cd "$(dirname "$0")/.."

BUILD=${QUILLBROOK_BUILD_DIR:-build}
SIZE_MB=${SIZE_MB:-200}
OUT=bench/out
mkdir -p "$OUT"

[ -f "$BUILD/build.ninja" ] || [ -f "$BUILD/Makefile" ] || cmake -S . -B "$BUILD" -G Ninja -DQUILLBROOK_GUI=OFF >/dev/null
cmake --build "$BUILD" --target reencode_bench -j2 >/dev/null
BENCH="$BUILD/bench/reencode_bench"

SAMPLE="$OUT/sample_${SIZE_MB}mb.txt"
[ -f "$SAMPLE" ] || "$BENCH" gen "$SAMPLE" "$SIZE_MB"
BYTES=$(stat -c %s "$SAMPLE")

# run NAME OUTPUT-FILE COMMAND...: wall time and peak resident memory of one command.
run() {
    local name=$1 output=$2
    shift 2
    local t0 t1
    t0=$(date +%s.%N)
    /usr/bin/time -v "$@" >"$output" 2>"$OUT/time_$name.txt"
    t1=$(date +%s.%N)
    local rss cpu
    rss=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$OUT/time_$name.txt")
    cpu=$(awk -F': ' '/User time|System time/ {t += $2} END {print t}' "$OUT/time_$name.txt")
    awk -v n="$name" -v b="$BYTES" -v a="$t0" -v z="$t1" -v r="$rss" -v c="$cpu" \
        'BEGIN { s = z - a; mb = b / 1048576
                 printf "%-18s %7.2f s wall %7.1f MB/s   %7.2f s CPU %7.1f MB/s   %7.1f MB peak RSS\n",
                        n, s, mb / s, c, mb / (c > 0 ? c : 1e-9), r / 1024 }'
}

echo "input: $SAMPLE, $((BYTES / 1048576)) MB"
echo "(wall time includes writing the result; ReencodeOutputFile also syncs it to the disk, iconv does not)"
for enc in euc utf8; do
    cp "$SAMPLE" "$OUT/work.txt"
    run "reencode_$enc" /dev/null "$BENCH" "$enc" "$OUT/work.txt"
    cp "$OUT/work.txt" "$OUT/result_$enc.txt"
done
# The same text as one line of 200 MB: memory must not grow with the line.
FULL_BYTES=$BYTES
tr -d '\r\n' <"$SAMPLE" >"$OUT/line.txt"
BYTES=$(stat -c %s "$OUT/line.txt")
for enc in euc utf8; do
    cp "$OUT/line.txt" "$OUT/work.txt"
    run "reencode_${enc}_1line" /dev/null "$BENCH" "$enc" "$OUT/work.txt"
done
rm -f "$OUT/line.txt"
BYTES=$FULL_BYTES
run "iconv_EUC-JP-MS" "$OUT/iconv_euc.txt" iconv -f CP932 -t EUC-JP-MS "$SAMPLE"
run "iconv_UTF-8" "$OUT/iconv_utf8.txt" iconv -f CP932 -t UTF-8 "$SAMPLE"

# The generated text holds only characters on which both converters agree.
cmp -s "$OUT/result_euc.txt" "$OUT/iconv_euc.txt" && echo "EUC-JP output equals iconv's" || echo "EUC-JP output differs from iconv's"
cmp -s "$OUT/result_utf8.txt" "$OUT/iconv_utf8.txt" && echo "UTF-8 output equals iconv's" || echo "UTF-8 output differs from iconv's"
rm -f "$OUT/work.txt"
