#!/bin/sh
# Times "reelcraft-cli make" on a folder of photos against the add command's path
# (bench_add_frames --strip) on the same folder, as whole processes: wall time, CPU time and
# peak memory, each also per picture. "make" runs twice: to a project (show.rcf) and to a page
# (site/index.html, whose JPEG copies are made light for the box with the default
# --scale fit); the page's CPU time per picture is also given as a multiple of the add
# command's (the goal is at most 2.5). Runs them in turn ROUNDS times (default 3), so a busy
# machine shows in the spread. Then, when ImageMagick's convert is there, the page's copies
# are weighed against the same pictures resized by ImageMagick to the same sizes at quality
# 85 (the goal is at most 1.25 times their bytes). Make the photos with make-photos.sh.
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

# name, then the command; prints one line of figures and keeps the CPU seconds in $out/NAME.cpu.
timed() {
    name=$1
    shift
    /usr/bin/time -f "%e %U %S %M" -o "$out/time" "$@" >/dev/null 2>"$out/err" || { cat "$out/err" >&2; exit 1; }
    awk -v name="$name" -v n="$count" '{ printf "%-6s %7.2f s wall (%5.1f ms per picture), %7.2f s CPU (%5.1f ms per picture), peak %d MB\n", name, $1, 1000 * $1 / n, $2 + $3, 1000 * ($2 + $3) / n, $4 / 1024 }' "$out/time"
    awk '{ print $2 + $3 }' "$out/time" >"$out/$name.cpu"
}

echo "$count pictures in $folder"
i=1
while [ "$i" -le "$rounds" ]; do
    QT_QPA_PLATFORM=offscreen timed add "$build/tools/bench/bench_add_frames" --strip "$folder"
    timed make "$build/reelcraft-cli" make "$out/show.rcf" "$folder"
    rm -rf "$out/site"
    timed page "$build/reelcraft-cli" make "$out/site/index.html" "$folder"
    awk -v page="$(cat "$out/page.cpu")" -v add="$(cat "$out/add.cpu")" \
        'BEGIN { printf "page CPU per picture: %.2f times the add command'"'"'s\n", (add > 0 ? page / add : 0) }'
    i=$((i + 1))
done

if command -v convert >/dev/null 2>&1 && command -v identify >/dev/null 2>&1; then
    mkdir -p "$out/magick"
    ours=0
    theirs=0
    for copy in "$out/site"/*.jpg "$out/site"/*.JPG "$out/site"/*.jpeg; do
        [ -f "$copy" ] || continue
        name=$(basename "$copy")
        size=$(identify -format '%wx%h' "$copy")
        convert "$folder/$name" -auto-orient -resize "$size!" -strip -interlace JPEG -quality 85 "$out/magick/$name"
        ours=$((ours + $(wc -c <"$copy")))
        theirs=$((theirs + $(wc -c <"$out/magick/$name")))
    done
    awk -v ours="$ours" -v theirs="$theirs" 'BEGIN { printf "copies %.1f MB, ImageMagick at quality 85 %.1f MB: %.2f times\n", ours / 1e6, theirs / 1e6, (theirs > 0 ? ours / theirs : 0) }'
fi
