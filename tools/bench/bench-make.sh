#!/bin/sh
# Times "reelcraft-cli make" on a folder of photos against the add command's path
# (bench_add_frames --strip) on the same folder, as whole processes: wall time, CPU time and
# peak memory, each also per picture. Runs them in turn ROUNDS times (default 3), so a busy
# machine shows in the spread. Make the photos with make-photos.sh.
#
# Usage: bench-make.sh BUILD FOLDER [ROUNDS]   (BUILD holds reelcraft-cli and tools/bench)
set -eu

build=${1:?usage: bench-make.sh BUILD FOLDER [ROUNDS]}
folder=${2:?usage: bench-make.sh BUILD FOLDER [ROUNDS]}
rounds=${3:-3}
count=$(find "$folder" -maxdepth 1 -type f \( -iname '*.jpg' -o -iname '*.jpeg' -o -iname '*.gif' \) | wc -l)
[ "$count" -gt 0 ] || { echo "bench-make.sh: no pictures in $folder" >&2; exit 1; }
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

# name, then the command; prints one line of figures.
timed() {
    name=$1
    shift
    /usr/bin/time -f "%e %U %S %M" -o "$out/time" "$@" >/dev/null 2>"$out/err" || { cat "$out/err" >&2; exit 1; }
    awk -v name="$name" -v n="$count" '{ printf "%-6s %7.2f s wall (%5.1f ms per picture), %7.2f s CPU (%5.1f ms per picture), peak %d MB\n", name, $1, 1000 * $1 / n, $2 + $3, 1000 * ($2 + $3) / n, $4 / 1024 }' "$out/time"
}

echo "$count pictures in $folder"
i=1
while [ "$i" -le "$rounds" ]; do
    QT_QPA_PLATFORM=offscreen timed add "$build/tools/bench/bench_add_frames" --strip "$folder"
    timed make "$build/reelcraft-cli" make "$out/show.rcf" "$folder"
    i=$((i + 1))
done
