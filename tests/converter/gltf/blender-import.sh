#!/bin/sh
# blender-import.sh FILE.glb: the Blender import check, skipped (status 77) where Blender is not
# installed. Blender's own Python must find the system's python3 and numpy first.
command -v blender >/dev/null || { echo "blender is not installed"; exit 77; }
PATH=/usr/bin:$PATH exec blender -b --factory-startup --python-exit-code 1 \
    --python "$(dirname "$0")/blender-import.py" -- "$1"
