#!/usr/bin/env bash
# Velmora --gallery on the sample art tree converted by tarnwick-batch, with a damaged mesh among
# the models: the pictures in the mirrored folders, the page as headless Chromium shows it, and
# a second run that draws nothing.
# Usage: velmora_gallery.sh VELMORA WRITE_SAMPLE_MODEL TARNWICK_BATCH   (on an X display)
set -uo pipefail
source "$(dirname "$0")/screenshot-checks.sh"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
velmora=$(realpath "$1")
write_sample_model=$2
tarnwick_batch=$3

"$write_sample_model" --tree "$scratch/source" >/dev/null || exit 1
"$tarnwick_batch" "$scratch/source" "$scratch/tree" >/dev/null 2>&1
head -c 3000 "$scratch/tree/art/meshes/humans/figure.mesh" >"$scratch/tree/art/meshes/items/broken.mesh"
models=$(cd "$scratch/tree" && find . -name '*.mesh' | sed 's|^\./||' | sort)

gallery() {
    (cd "$scratch" && timeout 120 "$velmora" --gallery gallery --size 200x150 --animation wave \
        --time 1.0 tree >out.txt 2>err.txt)
    status=$?
}
chromium_on() {
    timeout 120 chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
        --disable-background-networking --disable-component-update --disable-sync \
        --hide-scrollbars --user-data-dir="$scratch/profile" "$@" 2>/dev/null
}
page="file://$scratch/gallery/index.html"

gallery
expect 'a gallery with a damaged mesh among the models: exit 1' test "$status" = 1
expect '... the damaged mesh named on standard error, alone' \
    test "$(cat "$scratch/err.txt")" = "Velmora: art/meshes/items/broken.mesh: Cannot show broken.mesh: the mesh is damaged: it counts 1300 vertices, more than the file holds"
pictures=$(cd "$scratch/gallery" && find . -name '*.png' | sed 's|^\./||' | sort)
expect '... one picture per other model, in the mirrored folders' \
    test "$pictures" = "$(grep -v broken <<<"$models" | sed 's/\.mesh$/.png/')"
for picture in humans/figure monsters/orc/orc; do
    expect "... $picture drawn at the size asked, on white" \
        test "$(identify -format '%wx%h' "$scratch/gallery/art/meshes/$picture.png")" = 200x150
    expect "... with its model on it" \
        greater "$(nonwhite_share "$scratch/gallery/art/meshes/$picture.png" 200x150+0+0)" 0.02
done
expect '... the figure posed mid-wave inside its picture' \
    test "$(nonwhite_share "$scratch/gallery/art/meshes/humans/figure.png" 200x8+0+0)" = 0

dom=$(chromium_on --dump-dom "$page?filter=orc")
expect 'the page in Chromium: the filter "orc" leaves the orcs' \
    grep -q '<span id="count">2 of 12</span>' <<<"$dom"
expect '... the damaged mesh listed with its reason' \
    grep -q 'broken.mesh.*the mesh is damaged' <<<"$dom"
chromium_on --window-size=900,700 --screenshot="$scratch/page.png" "$page" >/dev/null
expect '... and its screenshot shows thumbnails' \
    greater "$(nonwhite_share "$scratch/page.png" 900x500+0+200)" 0.02

# Files of the past, so that a picture drawn now stands out.
find "$scratch/tree" -type f -exec touch -d '2 minutes ago' {} +
find "$scratch/gallery" -name '*.png' -exec touch -d '1 minute ago' {} +
before=$(cd "$scratch/gallery" && find . -name '*.png' -newermt '30 seconds ago' | wc -l)
gallery
after=$(cd "$scratch/gallery" && find . -name '*.png' -newermt '30 seconds ago' | wc -l)
expect 'a second run draws nothing' test "$before:$after" = "0:0"
expect '... and writes the page again' test "$status" = 1 -a -s "$scratch/gallery/index.html"
touch "$scratch/tree/art/meshes/monsters/wolf/wolf.mesh"
gallery
expect '... a model changed since is drawn again, alone' \
    test "$(cd "$scratch/gallery" && find . -name '*.png' -newermt '30 seconds ago')" = ./art/meshes/monsters/wolf/wolf.png

cp "$scratch/page.png" "${VELMORA_SCREENSHOTS:-/dev/null}" 2>/dev/null
echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]
