#!/usr/bin/env bash
# Velmora's command line through the real program, from a folder without configuration files
# (so the data folder beside the program serves), its screenshots judged by their pixels; then
# the same from an installation.
# Usage: velmora_command_line.sh VELMORA WRITE_TEST_MODELS BUILD_DIR   (on an X display)
set -uo pipefail
velmora=$(realpath "$1")
write_test_models=$2
build_dir=$3
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
source "$(dirname "$0")/screenshot-checks.sh"

# run ARGUMENTS...: Velmora in the scratch folder; sets $status, $errors and $output.
run() {
    (cd "$scratch" && timeout 60 "$velmora" "$@" >out.txt 2>err.txt)
    status=$?
    errors=$(cat "$scratch/err.txt")
    output=$(cat "$scratch/out.txt")
}
one_line_naming() { [ "$(wc -l <"$scratch/err.txt")" -eq 1 ] && [[ "$errors" == "Velmora: "*"$1"* ]]; }
# The box of the non-white pixels: width height left top.
model_box() { convert "$1" -fuzz 3% -trim -format '%w %h %X %Y' info:; }
centred() {
    local width height left top
    read -r width height left top < <(model_box "$1")
    awk -v w="$width" -v h="$height" -v x="$left" -v y="$top" -v W="$2" -v H="$3" \
        'BEGIN { exit !((x + w / 2 - W / 2)^2 < (W / 40)^2 && (y + h / 2 - H / 2)^2 < (H / 40)^2) }'
}
white_outside_model() {
    local width height left top
    read -r width height left top < <(model_box "$1")
    [ "$(convert "$1" -fill white -draw "rectangle $left,$top $((left + width - 1)),$((top + height - 1))" \
        -fuzz 1% -fill black +opaque white -format '%[fx:mean]' info:)" = 1 ]
}
height_share_between() {
    local width height left top
    read -r width height left top < <(model_box "$1")
    awk -v h="$height" -v H="$2" 'BEGIN { exit !(h / H >= 0.4 && h / H <= 0.9) }'
}
size_of() { identify -format '%wx%h' "$1"; }

models=$scratch/models
mkdir -p "$models" "$scratch/scale"
"$write_test_models" "$models" "$scratch/scale" || exit 1

run "$scratch/absent"
expect 'a missing PATH: exit 1, one line naming it' test "$status" = 1
expect '... naming it' one_line_naming absent
mkdir "$scratch/no-models"
run --screenshot among.png no-models models/pillar.mesh
expect 'a folder without meshes among others: skipped, exit 0' test "$status" = 0
expect '... with one line naming it' one_line_naming 'no-models: holds no .mesh file'
expect '... and the others drawn' centred "$scratch/among.png" 800 600
run --size 2x models/pillar.mesh
expect 'a bad option: exit 2' test "$status" = 2

run --screenshot pillar.png models/pillar.mesh
expect 'a screenshot of a mesh: exit 0' test "$status" = 0
expect '... 800 x 600 by default' test "$(size_of "$scratch/pillar.png")" = 800x600
expect '... with the model centred' centred "$scratch/pillar.png" 800 600
expect '... and white elsewhere' white_outside_model "$scratch/pillar.png"
run --screenshot small.png --size 320x480 models/pillar.mesh
expect '... at the size asked' test "$(size_of "$scratch/small.png")" = 320x480
expect '... centred there too' centred "$scratch/small.png" 320 480

for shot in 0:0 2:2 again:2; do
    run --screenshot "wave-${shot%:*}.png" --animation Wave --time "${shot#*:}" models/pillar.mesh
done
expect 'an animation posed at two times gives two pictures' \
    test "$(changed_pixels "$scratch/wave-0.png" "$scratch/wave-2.png" 800x600+0+0)" -gt 200
expect '... and at one time the same picture' \
    test "$(changed_pixels "$scratch/wave-2.png" "$scratch/wave-again.png" 800x600+0+0)" = 0
run --screenshot none.png --animation Dance models/pillar.mesh
expect 'an animation the mesh lacks: exit 1, one line naming it' one_line_naming '"Dance"'
expect '... and no picture' test ! -e "$scratch/none.png" -a "$status" = 1
run --screenshot "$scratch/absent/x.png" models/pillar.mesh
expect 'a PNG that cannot be written: exit 1, one line naming it' one_line_naming absent/x.png

for model in tiny huge; do
    run --screenshot "$model.png" "scale/$model.mesh"
    expect "the $model cube fills 40 to 90 % of the picture's height" \
        height_share_between "$scratch/$model.png" 600
done

# Models converted from one source folder each bring a script defining the materials they share.
mkdir "$scratch/twice"
cp "$models"/pillar.* "$models/test.material" "$scratch/twice/"
cp "$models/test.material" "$scratch/twice/again.material"
run --screenshot twice.png twice
expect 'two scripts defining one material: the first kept, exit 0' test "$status" = 0
expect '... and the model drawn' centred "$scratch/twice.png" 800 600

mkdir "$scratch/thumbs"
run --screenshot thumbs models
expect 'thumbnails of a folder with a damaged mesh: exit 1' test "$status" = 1
expect '... the damaged mesh named on standard error' \
    grep -q '^Velmora: Cannot show damaged.mesh' "$scratch/err.txt"
expect '... one PNG for each other mesh' \
    test "$(cd "$scratch/thumbs" && echo *)" = "offset.png orphan.png pillar.png"
expect '... each with its model' centred "$scratch/thumbs/offset.png" 800 600
expect '... a mesh without its skeleton drawn still, and said so' \
    grep -q '^Velmora: orphan.mesh is shown still' "$scratch/err.txt"

# Only the five widgets the viewer cannot do without; messages then go to standard error.
workdir=$scratch/bare
mkdir -p "$workdir/gui"
cp -r "$build_dir/viewer/data/." "$workdir/"
cat >"$workdir/gui/velmora.layout" <<'LAYOUT'
<?xml version="1.0" encoding="UTF-8"?>
<GUILayout version="4">
    <Window type="DefaultWindow" name="sheet">
        <Window type="TaharezLook/Combobox" name="cmbMeshBox" />
        <Window type="TaharezLook/Listbox" name="lbAnimations" />
        <Window type="TaharezLook/Button" name="btnPlay" />
        <Window type="TaharezLook/Button" name="btnStop" />
        <Window type="TaharezLook/Button" name="btnExit" />
    </Window>
</GUILayout>
LAYOUT
(cd "$workdir" && exec "$velmora" "$models/damaged.mesh" >out.txt 2>err.txt) &
pid=$!
for _ in $(seq 100); do
    window=$(xdotool search --name '^OGRE Render Window$' 2>/dev/null | head -1)
    [ -n "$window" ] && break
    sleep 0.1
done
sleep 0.5
expect 'a layout of the five widgets alone starts' test -n "$window"
expect '... and its status messages go to standard error' \
    grep -q '^Velmora: Cannot show damaged.mesh' "$workdir/err.txt"
xdotool windowfocus "$window" key Escape 2>/dev/null
timeout 5 tail --pid="$pid" -f /dev/null
wait "$pid"
expect '... and Escape still ends it with status 0' test $? = 0

prefix=$scratch/prefix
cmake --install "$build_dir" --prefix "$prefix" >/dev/null
expect 'the installation holds Tarnwick and Velmora' test -x "$prefix/bin/Tarnwick" -a -x "$prefix/bin/Velmora"
velmora=$prefix/bin/Velmora
run --screenshot installed.png models/pillar.mesh
expect 'the installed Velmora finds its data files' test "$status" = 0 -a -s "$scratch/installed.png"
expect '... and draws what the built one does' \
    test "$(changed_pixels "$scratch/pillar.png" "$scratch/installed.png" 800x600+0+0)" = 0

echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]
