#!/usr/bin/env bash
# Shows converted models in Velmora.
# Usage: viewer/run-demo.sh MODEL_DIR OUT_DIR [BUILD_DIR]
#   MODEL_DIR  the converted .mesh, .skeleton and .material files and their textures
#   OUT_DIR    receives the viewer's working directory "velmora" (data files, models, logs)
#   BUILD_DIR  where Velmora was built (default: build/ at the top of the project)
# With a working display the viewer opens there for the user. Without one, it runs under Xvfb:
# the script picks the first mesh, plays its second animation (the sample figure's "walk"),
# saves the window as OUT_DIR/velmora.png and closes the viewer.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
model_dir=$(realpath "$1")
out_dir=$(mkdir -p "$2" && realpath "$2")
build_dir=$(realpath "${3:-$here/../build}")
velmora="$build_dir/viewer/Velmora"
workdir="$out_dir/velmora"
source "$here/velmora-driver.sh"

if [ -z "${VELMORA_HEADLESS:-}" ]; then
    rm -rf "$workdir"
    shopt -s nullglob
    velmora_prepare_workdir "$build_dir/viewer/data" "$workdir" \
        "$model_dir"/*.{mesh,skeleton,material,tga,png,dds,jpg}
    if [ -n "${DISPLAY:-}" ] && xdotool getdisplaygeometry >/dev/null 2>&1; then
        echo "Velmora is open on $DISPLAY; pick a mesh, choose an animation and press Play."
        echo "Keys: W/S or Up/Down forward/back, A/D or Left/Right sideways, Q/E or Page Up/Down"
        echo "up/down; drag the mouse to turn; Escape or Exit leaves."
        cd "$workdir" && exec "$velmora"
    fi
    VELMORA_HEADLESS=1 exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

screenshot="$out_dir/velmora.png"
if ! velmora_start "$velmora" "$workdir"; then
    echo "Velmora did not open its window:" >&2
    cat "$workdir/stderr.txt" >&2
    exit 1
fi
velmora_pick_mesh 0
velmora_pick_animation 1
velmora_play
sleep 1.5
velmora_screenshot "$screenshot"
xdotool windowfocus "$velmora_window" key Escape
velmora_wait_for_exit 5 || echo "Velmora did not end as asked" >&2
echo "No display here: ran Velmora under Xvfb, played an animation; screenshot: $screenshot"
