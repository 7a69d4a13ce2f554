#!/usr/bin/env bash
# Velmora as a user meets it, on the converted sample model: synthetic mouse and key events in,
# screenshots out. Run on an X display without a window manager (e.g. under xvfb-run).
# Usage: velmora_end_to_end.sh VELMORA DATA_DIR WRITE_SAMPLE_MODEL TARNWICK SEND_CLOSE_REQUEST
set -uo pipefail
velmora=$(realpath "$1")
data_dir=$(realpath "$2")
write_sample_model=$3
tarnwick=$4
send_close_request=$5
source "$(dirname "$0")/../../viewer/velmora-driver.sh"
source "$(dirname "$0")/screenshot-checks.sh"

scratch=$(mktemp -d)
trap 'kill "$velmora_pid" 2>/dev/null; rm -rf "$scratch"' EXIT
velmora_pid=""
# Width / height of what is drawn between the controls and the library's list: the model's outline.
model_proportions() {
    convert "$1" -gravity East -chop 250x0 +gravity -crop +240+0 +repage -fuzz 10% -trim \
        -format '%[fx:w/h]' info:
}
alive() { kill -0 "$velmora_pid" 2>/dev/null; }
shot() { velmora_screenshot "$scratch/$1.png"; }
centre=300x400+250+100

# The sample model, converted, and a damaged mesh in a group that lists before it.
"$write_sample_model" "$scratch/sample" >/dev/null || exit 1
mkdir -p "$scratch/converted"
"$tarnwick" "$scratch/sample/figure.skm" "$scratch/converted/figure.mesh" >/dev/null || exit 1
workdir="$scratch/work"
velmora_prepare_workdir "$data_dir" "$workdir" "$scratch"/converted/* "$scratch"/sample/*.tga
mkdir -p "$workdir/damaged"
head -c 3000 "$scratch/converted/figure.mesh" >"$workdir/damaged/damaged.mesh"
printf '\n[Damaged]\nFileSystem=damaged\n' >>"$workdir/resources.cfg"
damaged_row=0
figure_row=1

velmora_start "$velmora" "$workdir"
expect 'the window "OGRE Render Window" appears' test -n "$velmora_window"
[ -n "$velmora_window" ] || { cat "$workdir/stderr.txt"; exit 1; }
xdotool windowmove "$velmora_window" 0 0
shot empty
expect 'the background is white' test "$(nonwhite_share "$scratch/empty.png" $centre)" = 0

velmora_pick_mesh $figure_row
shot figure
expect 'the model shows near the centre' greater "$(nonwhite_share "$scratch/figure.png" $centre)" 0.03

velmora_pick_animation 2 # wave
velmora_play
shot playing1
sleep 0.4
shot playing2
expect 'the picture changes while the animation plays' \
    greater "$(changed_pixels "$scratch/playing1.png" "$scratch/playing2.png" $centre)" 100

velmora_stop
shot stopped1
sleep 0.5
shot stopped2
expect 'the picture stands still after Stop' \
    test "$(changed_pixels "$scratch/stopped1.png" "$scratch/stopped2.png" 800x600+0+0)" = 0

xdotool mousemove --window "$velmora_window" 120 400
xdotool windowfocus "$velmora_window"
xdotool keydown w
sleep 0.6
xdotool keyup w
sleep 0.3
shot closer1
sleep 0.5
shot closer2
expect 'holding W brings the model closer' greater \
    "$(nonwhite_share "$scratch/closer1.png" $centre)" "$(nonwhite_share "$scratch/stopped2.png" $centre)"
expect 'the camera stops when W is released' \
    test "$(changed_pixels "$scratch/closer1.png" "$scratch/closer2.png" 800x600+0+0)" = 0

xdotool windowsize "$velmora_window" 1000 500
sleep 1
shot wide
expect 'a wider window does not stretch the model' \
    close_to "$(model_proportions "$scratch/wide.png")" "$(model_proportions "$scratch/closer2.png")"
xdotool windowsize "$velmora_window" 800 600
sleep 0.5

velmora_pick_mesh $damaged_row
shot damaged
expect 'a damaged mesh is named in a message' greater "$(status_share "$scratch/damaged.png")" 0.01
expect '... and no model shows' test "$(nonwhite_share "$scratch/damaged.png" $centre)" = 0
expect '... and the viewer lives on' alive
velmora_pick_mesh $figure_row
shot again
expect 'the model shows again after another choice' \
    greater "$(nonwhite_share "$scratch/again.png" $centre)" 0.03
expect '... and the message is gone' test "$(status_share "$scratch/again.png")" = 0

xdotool windowfocus "$velmora_window"
xdotool key Escape
velmora_wait_for_exit 2
expect 'Escape ends the viewer with status 0 within 2 seconds' test $? = 0

velmora_start "$velmora" "$workdir"
velmora_exit
velmora_wait_for_exit 2
expect 'the Exit button ends the viewer with status 0' test $? = 0

velmora_start "$velmora" "$workdir"
"$send_close_request" "$velmora_window"
velmora_wait_for_exit 2
expect 'closing the window ends the viewer with status 0' test $? = 0

# Mid-wave the raised hand stands far above the binding pose's box; the picture frames the pose.
(cd "$workdir" && timeout 60 "$velmora" --screenshot "$scratch/wave.png" --animation wave \
    --time 1.0 "$scratch/converted/figure.mesh")
expect 'a screenshot posed mid-wave shows the figure' \
    greater "$(nonwhite_share "$scratch/wave.png" 800x600+0+0)" 0.02
expect '... with white rows above the raised hand' \
    test "$(nonwhite_share "$scratch/wave.png" 800x30+0+0)" = 0

cp "$scratch"/*.png "${VELMORA_SCREENSHOTS:-/dev/null}" 2>/dev/null
echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]
