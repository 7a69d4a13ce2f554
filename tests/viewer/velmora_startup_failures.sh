#!/usr/bin/env bash
# Each broken start-up ends Velmora with status 1 and one line on standard error that names the
# file or widget at fault, and nothing on standard output.
# Usage: velmora_startup_failures.sh VELMORA DATA_DIR   (run on an X display, e.g. xvfb-run)
set -uo pipefail
velmora=$1
data_dir=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
passes=0

# check NAME EXPECTED_TEXT BREAKAGE...: breaks a fresh working directory, runs the viewer there.
check() {
    local name=$1 expected=$2
    shift 2
    local workdir="$scratch/$name"
    mkdir -p "$workdir/models"
    cp -r "$data_dir"/. "$workdir"/
    (cd "$workdir" && eval "$@")
    (cd "$workdir" && timeout 30 "$velmora" >stdout.txt 2>stderr.txt)
    local status=$? problem=""
    local message
    message=$(cat "$workdir/stderr.txt")
    if [ "$status" -ne 1 ]; then
        problem="exit status $status, wanted 1"
    elif [ "$(wc -l <"$workdir/stderr.txt")" -ne 1 ]; then
        problem="standard error is not one line"
    elif [[ "$message" != "Velmora: "*"$expected"* ]]; then
        problem="message does not name $expected"
    elif [ -s "$workdir/stdout.txt" ]; then
        problem="standard output is not empty"
    fi
    if [ -n "$problem" ]; then
        echo "FAIL $name: $problem: $message"
        failures=$((failures + 1))
    else
        echo "ok   $name: $message"
        passes=$((passes + 1))
    fi
}

check missing-plugins plugins.cfg 'rm plugins.cfg'
check plugins-without-render-system plugins.cfg "sed -i '/RenderSystem/d' plugins.cfg"
check malformed-plugins plugins.cfg "printf '%%%%{\n\0\n' >plugins.cfg"
check plugin-folder-missing plugins.cfg "sed -i 's|^PluginFolder=.*|PluginFolder=/nonexistent|' plugins.cfg"
check missing-resources resources.cfg 'rm resources.cfg'
check unknown-archive-type resources.cfg "echo 'Bogus=models' >>resources.cfg"
check missing-scheme TaharezLook.scheme "sed -i '/schemes/d' resources.cfg"
check missing-image-codec TaharezLook.scheme "sed -i '/Codec/d' plugins.cfg"
check missing-font Tahoma-12.font 'rm gui/Tahoma-12.font'
check missing-layout velmora.layout 'rm gui/velmora.layout'
check malformed-layout velmora.layout "sed -i 's|</GUILayout>||' gui/velmora.layout"
check layout-without-stop '"btnStop"' "sed -i 's|\"btnStop\"|\"btnHalt\"|' gui/velmora.layout"
check layout-without-animations '"lbAnimations"' "sed -i 's|\"lbAnimations\"|\"lbOther\"|' gui/velmora.layout"
check widget-of-wrong-type '"cmbMeshBox"' "sed -i 's|TaharezLook/Combobox|TaharezLook/Listbox|' gui/velmora.layout"
DISPLAY=:65000 check no-display 'X display' true

echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]
