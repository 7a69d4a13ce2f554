#!/usr/bin/env bash
# The medians that the viewer bench takes from Velmora's timing logs, on hand-made logs.
# Usage: viewer_figures_test.sh BENCH_VIEWER_DIR
set -uo pipefail
awk_dir=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
passes=0
failures=0

expect_equal() {
    if [ "$2" = "$3" ]; then
        echo "ok   $1"
        passes=$((passes + 1))
    else
        echo "FAIL $1: got '$2', wanted '$3'"
        failures=$((failures + 1))
    fi
}

figures() {
    awk -v meshes="typical.mesh big.mesh" -f "$awk_dir/median.awk" -f "$awk_dir/figures.awk" \
        "$@" 2>"$scratch/errors"
}
filter() { awk -f "$awk_dir/median.awk" -f "$awk_dir/filter.awk" "$@" 2>"$scratch/errors"; }
thumbnails() { awk -f "$awk_dir/median.awk" -f "$awk_dir/thumbnails.awk" "$@" 2>"$scratch/errors"; }

# session NAME FIRST TYPICAL_SWITCH BIG_SWITCH PEAK FRAME... [/ OVERLAY_FRAME...]: a log with
# those figures, in seconds, the typical mesh accepted at 1 s and the big one at 2 s; the frames
# after "/" had the skeleton overlay.
session() {
    local file="$scratch/$1.log"
    printf 'start 0.0300\nfirst-frame %s\n' "$2" >"$file"
    awk -v typical="$3" -v big="$4" 'BEGIN {
        printf "mesh-accepted 1.0000 typical.mesh\nmesh-frame %.4f typical.mesh\n", 1 + typical
        printf "mesh-accepted 2.0000 big.mesh\nmesh-frame %.4f big.mesh\n", 2 + big
    }' >>"$file"
    local peak=$5
    shift 5
    local plain=0 overlay=""
    for frame in "$@"; do
        if [ "$frame" = / ]; then
            overlay=$plain
            continue
        fi
        echo "animation-frame 3.0000 $frame" >>"$file"
        plain=$((plain + 1))
    done
    echo "peak-kib $peak" >>"$file"
    [ -z "$overlay" ] || echo "skeleton-overlay-from $overlay" >>"$file"
}

session a 0.2 0.15 0.4 1000 0.016 0.017 0.030 / 0.020 0.022 0.021
session b 0.3 0.25 0.5 3000 0.020 0.018 / 0.030
session c 0.1 0.10 0.9 2000 0.015 0.015 0.015 0.040 / 0.050 0.019 0.019
expect_equal "each figure is the median of the sessions, frame times per session first" \
    "$(figures "$scratch"/{a,b,c}.log)" "200.0 150.0 500.0 17.0 21.0 2000"
expect_equal "an even number of sessions takes the mean of the middle two" \
    "$(figures "$scratch"/{a,b}.log)" "250.0 200.0 450.0 18.0 25.5 2000"

session again 0.2 0.15 0.4 1000 0.016 / 0.020
sed -i 's/^mesh-accepted 1.0000 typical.mesh$/mesh-accepted 0.5000 typical.mesh\nmesh-frame 0.6000 typical.mesh\n&/' \
    "$scratch/again.log"
expect_equal "a mesh chosen again counts from its last acceptance to the frame after it" \
    "$(figures "$scratch/again.log" | cut -d ' ' -f 2)" "150.0"

session unshown 0.2 0.15 0.4 1000 0.016 / 0.020
sed -i '/^mesh-frame .* big.mesh$/d' "$scratch/unshown.log"
figures "$scratch"/{a,unshown}.log >/dev/null
expect_equal "a session without a frame showing a mesh fails" "$?" 1
expect_equal "... naming the log and the mesh" "$(cat "$scratch/errors")" \
    "$scratch/unshown.log: no frame showing big.mesh"

session still 0.2 0.15 0.4 1000 / 0.020
figures "$scratch/still.log" >/dev/null
expect_equal "a session without animation frames fails" "$?" 1

session bare 0.2 0.15 0.4 1000 0.016 0.017 /
figures "$scratch/bare.log" >/dev/null
expect_equal "a session without frames under the skeleton overlay fails" "$?" 1
session unmarked 0.2 0.15 0.4 1000 0.016 0.017
figures "$scratch/unmarked.log" >/dev/null
expect_equal "... and one that does not say where the overlay started" "$?" 1

# thumbnail_run NAME TIMES...: a run that wrote a thumbnail at each of the times, in seconds.
thumbnail_run() {
    local file="$scratch/$1.log"
    shift
    echo "start 0.0300" >"$file"
    for time in "$@"; do
        echo "screenshot $time thumbnails/$time.png" >>"$file"
    done
}
thumbnail_run t1 0.9 1.2 1.5
thumbnail_run t2 0.8 1.6 2.4
thumbnail_run t3 1.0 1.5 1.6 2.2
expect_equal "thumbnails: per picture after the run's first, median of the runs" \
    "$(thumbnails "$scratch"/{t1,t2,t3}.log)" "400.0"
thumbnail_run lone 0.9
thumbnails "$scratch"/{t1,lone}.log >/dev/null
expect_equal "a run with a single thumbnail fails" "$?" 1

# filter_log NAME TYPED LISTED FRAME ...: a window's log with changes of the filter at those times.
filter_log() {
    local file="$scratch/$1.log"
    shift
    printf 'start 0.0300\nfirst-frame 1.0000\n' >"$file"
    while [ $# -ge 3 ]; do
        printf 'filter-typed %s\nfilter-listed %s 2000\nfilter-frame %s 2000\n' "$1" "$2" "$3" >>"$file"
        shift 3
    done
}
filter_log keys 2.000 2.004 2.030 3.000 3.010 3.040 4.000 4.002 4.020
expect_equal "filter: median and largest to the list, then to its frame" \
    "$(filter "$scratch/keys.log")" "4.0 10.0 30.0 40.0"
filter_log none
filter "$scratch/none.log" >/dev/null
expect_equal "a log without a change of the filter fails" "$?" 1
filter_log unshown 2.000 2.004 2.030 3.000 3.010 3.040
sed -i '$d' "$scratch/unshown.log"
filter "$scratch/unshown.log" >/dev/null
expect_equal "... and one whose last change never reached the screen" "$?" 1

echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]
