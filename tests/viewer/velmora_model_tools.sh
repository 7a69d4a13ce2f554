#!/usr/bin/env bash
# Velmora's model tools as a user meets them, on the converted sample model: the time,
# loop and speed controls, the overlays, Rescan, F12 and the mouse wheel, with synthetic mouse
# and key events in and screenshots out. Run on an X display without a window manager.
# Usage: velmora_model_tools.sh VELMORA DATA_DIR WRITE_SAMPLE_MODEL TARNWICK
set -uo pipefail
velmora=$(realpath "$1")
data_dir=$(realpath "$2")
write_sample_model=$3
tarnwick=$4
source "$(dirname "$0")/../../viewer/velmora-driver.sh"
source "$(dirname "$0")/screenshot-checks.sh"

scratch=$(mktemp -d)
trap 'kill "$velmora_pid" 2>/dev/null; rm -rf "$scratch"' EXIT
velmora_pid=""
shot() { velmora_screenshot "$scratch/$1.png"; }
centre=300x400+250+100
scene=310x600+240+0 # between the controls and the library's list
wave_row=2

# mask IMAGE WHICH: a picture of the scene, white where the pixel is WHICH ("model": not
# white; "overlay": the skeleton's green), black elsewhere.
mask() {
    local out="$scratch/$(basename "$1" .png)-$2.png"
    if [ "$2" = model ]; then
        convert "$1" -crop $scene +repage -colorspace Gray -threshold 97% -negate "$out"
    else
        convert "$1" -crop $scene +repage -fuzz 15% -fill black +opaque '#00BF00' \
            -fill white -opaque '#00BF00' -colorspace Gray "$out"
    fi
    echo "$out"
}
white_pixels() { convert "$@" -compose Multiply -composite -format '%[fx:round(mean*w*h)]' info:; }
# thumb_offset IMAGE: pixels from the time slider's start to its thumb's left edge, which
# moves in proportion to the animation's time.
thumb_offset() {
    convert "$1" -crop 99x1+18+359 +repage -colorspace Gray -threshold 90% txt:- |
        awk 'NR > 1 && /gray\(0\)/ { print NR - 3; exit }'
}
# thumb_after_play NAME: the thumb's offset a moment after Play on wave, from its start.
thumb_after_play() {
    velmora_pick_mesh 0 # afresh, at the start of every animation
    velmora_pick_animation $wave_row
    velmora_play
    shot "$1"
    thumb_offset "$scratch/$1.png"
}

"$write_sample_model" "$scratch/sample" >/dev/null || exit 1
mkdir -p "$scratch/converted"
"$tarnwick" "$scratch/sample/figure.skm" "$scratch/converted/figure.mesh" >/dev/null || exit 1
workdir="$scratch/work"
velmora_prepare_workdir "$data_dir" "$workdir" "$scratch"/converted/* "$scratch"/sample/*.tga

velmora_start "$velmora" "$workdir"
[ -n "$velmora_window" ] || { cat "$workdir/stderr.txt"; exit 1; }
xdotool windowmove "$velmora_window" 0 0
velmora_pick_mesh 0
velmora_pick_animation $wave_row
shot rest

# The time slider, stopped: wave's pose at about half, at the start, at the end, and at half
# again. A drag must start on the thumb: elsewhere it turns the camera.
velmora_drag "${velmora_time_thumb_at_start[@]}" 70 366
shot posed
velmora_drag 70 366 0 366
shot unposed
velmora_drag "${velmora_time_thumb_at_start[@]}" 200 366
shot posed-end
velmora_drag 105 366 0 366
velmora_drag "${velmora_time_thumb_at_start[@]}" 70 366
shot reposed
expect 'dragging the time slider while stopped changes the pose' \
    greater "$(changed_pixels "$scratch/rest.png" "$scratch/posed.png" $centre)" 200
expect '... and dragging it back to the start changes it again' \
    greater "$(changed_pixels "$scratch/posed.png" "$scratch/unposed.png" $centre)" 200
expect '... and dragging it out again restores that pose' \
    test "$(changed_pixels "$scratch/posed.png" "$scratch/reposed.png" $centre)" -lt 50
velmora_stop

once=$(thumb_after_play once)
velmora_click "${velmora_speed_track_right[@]}"
velmora_click "${velmora_speed_track_right[@]}"
twice=$(thumb_after_play twice)
sleep 1.5
shot ended
echo "the time slider's thumb moved ${once} pixels at 1x, ${twice} at 2x"
expect 'at 2x the animation advances about twice as fast' \
    awk -v a="$once" -v b="$twice" 'BEGIN { exit !(a > 0 && b / a > 1.4 && b / a < 2.8) }'
expect '... and reaches its end, where it rests, soon after' \
    test "$(thumb_offset "$scratch/ended.png")" = "$(thumb_offset "$scratch/posed-end.png")"

# Wave has ended at 2x; Play with Loop on starts it again, and it keeps going past its end.
velmora_click "${velmora_loop_box[@]}"
velmora_play
sleep 1.5
shot looping1
sleep 0.2
shot looping2
expect 'with Loop on, Play after the end replays and runs past the end' \
    greater "$(changed_pixels "$scratch/looping1.png" "$scratch/looping2.png" $centre)" 100
velmora_click "${velmora_loop_box[@]}"
velmora_stop

velmora_pick_mesh 0
shot plain
velmora_click "${velmora_skeleton_box[@]}"
shot skeleton
velmora_pick_animation $wave_row
model=$(mask "$scratch/plain.png" model)
overlay=$(mask "$scratch/skeleton.png" overlay)
expect 'the skeleton is drawn over the model' \
    greater "$(white_pixels "$overlay" "$model")" 100
expect '... and beside it' \
    greater "$(white_pixels "$overlay" \( "$model" -negate \))" 20
velmora_play
shot skeleton1
sleep 0.4
shot skeleton2
expect '... and follows the animation' greater \
    "$(changed_pixels "$(mask "$scratch/skeleton1.png" overlay)" \
        "$(mask "$scratch/skeleton2.png" overlay)" 560x600+0+0)" 50
velmora_stop
velmora_click "${velmora_skeleton_box[@]}"

velmora_pick_mesh 0
outline=$(convert "$scratch/plain.png" -crop $scene +repage -fuzz 10% -trim -format '%wx%h%O' info:)
velmora_click "${velmora_wireframe_box[@]}"
shot wireframe
velmora_click "${velmora_wireframe_box[@]}"
wire_share=$(convert "$scratch/wireframe.png" -crop $scene +repage -crop "$outline" +repage \
    -colorspace Gray -threshold 97% -format '%[fx:1-mean]' info:)
expect "the wireframe leaves most of the model's area white (drawn: $wire_share)" \
    greater 0.5 "$wire_share"

cp "$scratch/converted/figure.mesh" "$workdir/models/copy.mesh"
velmora_click "${velmora_rescan_button[@]}"
velmora_pick_mesh 1
shot copy
expect 'Rescan lists a mesh copied in after start' \
    greater "$(nonwhite_share "$scratch/copy.png" $centre)" 0.03

shot far
xdotool mousemove --window "$velmora_window" 500 300 click 4 click 4
sleep 0.5
shot near
expect 'the mouse wheel brings the model closer' greater \
    "$(nonwhite_share "$scratch/near.png" $centre)" "$(nonwhite_share "$scratch/far.png" $centre)"

xdotool key F12
sleep 1
saved=$(ls "$workdir"/velmora-*.png 2>/dev/null | grep -E '/velmora-[0-9]{8}-[0-9]{6}\.png$')
expect 'F12 writes a PNG of the window into the working directory' \
    test "$(identify -format '%m %wx%h' "$saved" 2>/dev/null)" = "PNG 800x600"
shot saved
expect '... and says so in the status line' greater "$(status_share "$scratch/saved.png")" 0.01

xdotool key Escape
velmora_wait_for_exit 2
expect 'Escape still ends the viewer with status 0' test $? = 0

cp "$scratch"/*.png "${VELMORA_SCREENSHOTS:-/dev/null}" 2>/dev/null
echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]
