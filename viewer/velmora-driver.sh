# Drives a running Velmora through synthetic X input, as a user would. Sourced by the demo and by
# the end-to-end test. The positions are those of the widgets in gui/velmora.layout, in pixels
# from the window's top-left corner.

velmora_mesh_box_arrow=(218 22)
velmora_list_first_row_y=55 # the mesh box's drop-down list
velmora_animation_first_row_y=67
velmora_row_height=18
velmora_play_button=(45 275)
velmora_stop_button=(120 275)
velmora_exit_button=(195 275)
velmora_rescan_button=(62 309)
velmora_loop_box=(16 340)
velmora_speed_track_right=(160 340) # a click here, right of the thumb, adds 0.5x
velmora_time_thumb_at_start=(31 366)
velmora_skeleton_box=(16 392)
velmora_bounds_box=(126 392)
velmora_wireframe_box=(16 416)

# velmora_prepare_workdir DATA_DIR WORKDIR MODEL_FILE...: the data files and the models.
velmora_prepare_workdir() {
    local data_dir=$1 workdir=$2
    shift 2
    mkdir -p "$workdir/models"
    cp -r "$data_dir"/. "$workdir"/
    cp "$@" "$workdir/models/"
}

# velmora_start BINARY WORKDIR: starts the viewer and waits for its window; fails without one.
velmora_start() {
    local binary=$1 workdir=$2
    (cd "$workdir" && exec "$binary" >"$workdir/stdout.txt" 2>"$workdir/stderr.txt") &
    velmora_pid=$!
    velmora_window=""
    for _ in $(seq 100); do
        velmora_window=$(xdotool search --name '^OGRE Render Window$' 2>/dev/null | head -1) || true
        if [ -n "$velmora_window" ]; then
            sleep 0.5 # the first frames
            return 0
        fi
        kill -0 "$velmora_pid" 2>/dev/null || return 1
        sleep 0.1
    done
    return 1
}

velmora_click() {
    xdotool mousemove --window "$velmora_window" "$1" "$2"
    sleep 0.2
    xdotool click 1
    sleep 0.3
}

# velmora_pick_mesh ROW: opens the mesh box and accepts its ROW-th entry, counted from 0.
velmora_pick_mesh() {
    velmora_click "${velmora_mesh_box_arrow[@]}"
    velmora_click 60 $((velmora_list_first_row_y + $1 * velmora_row_height))
    sleep 0.5
}

velmora_pick_animation() {
    velmora_click 60 $((velmora_animation_first_row_y + $1 * velmora_row_height))
}

velmora_play() { velmora_click "${velmora_play_button[@]}"; }
velmora_stop() { velmora_click "${velmora_stop_button[@]}"; }
velmora_exit() { velmora_click "${velmora_exit_button[@]}"; }

# velmora_drag FROM_X FROM_Y TO_X TO_Y: drags with the first button held.
velmora_drag() {
    xdotool mousemove --window "$velmora_window" "$1" "$2"
    sleep 0.2
    xdotool mousedown 1
    sleep 0.1
    xdotool mousemove --window "$velmora_window" $((($1 + $3) / 2)) $((($2 + $4) / 2))
    sleep 0.1
    xdotool mousemove --window "$velmora_window" "$3" "$4"
    sleep 0.2
    xdotool mouseup 1
    sleep 0.3
}

velmora_screenshot() { import -window "$velmora_window" "$1"; }

# velmora_wait_for_exit SECONDS: the viewer's exit status, or 124 if it still runs by then.
velmora_wait_for_exit() {
    local deadline=$((SECONDS + $1))
    while kill -0 "$velmora_pid" 2>/dev/null; do
        [ $SECONDS -lt $deadline ] || return 124
        sleep 0.1
    done
    wait "$velmora_pid"
}
