#!/bin/sh
# Makes COUNT photo-like JPEG pictures of 4000 x 3000 in FOLDER for bench_add_frames: colour
# noise blurred into blotches, a gradient of its own colours per picture and fine grain, at
# quality 88, so each file is 2-4 MB like a camera's. Needs ImageMagick's convert. Files already
# there are kept, so a second run only adds what is missing. The folder is not part of the
# project: put it outside the repository (for example /tmp/reelcraft-photos).
#
# Usage: make-photos.sh COUNT FOLDER [JOBS]   (JOBS pictures are made at once, default 2)
set -eu

if [ "${1:-}" = "--one" ]; then
    folder=$2
    i=$3
    file=$(printf '%s/photo-%04d.jpg' "$folder" "$i")
    [ -s "$file" ] && exit 0
    hue1=$(( (i * 37) % 360 ))
    hue2=$(( (i * 91 + 180) % 360 ))
    convert -seed "$i" -size 800x600 xc:'#808080' -colorspace sRGB -type TrueColor +noise Random \
        -blur 0x1.5 -resize '4000x3000!' \
        \( -size 3000x4000 gradient:"hsl($hue1,70%,60%)-hsl($hue2,60%,30%)" -rotate 90 \) \
        -compose overlay -composite -attenuate 0.5 +noise Gaussian -type TrueColor -quality 88 \
        "jpg:$file.part"
    mv "$file.part" "$file"
    exit 0
fi

count=${1:?usage: make-photos.sh COUNT FOLDER [JOBS]}
folder=${2:?usage: make-photos.sh COUNT FOLDER [JOBS]}
jobs=${3:-2}
command -v convert >/dev/null 2>&1 || { echo "make-photos.sh: ImageMagick's convert is needed" >&2; exit 1; }
mkdir -p "$folder"
seq 1 "$count" | xargs -P "$jobs" -n 1 sh "$0" --one "$folder"
echo "$count photos in $folder"
