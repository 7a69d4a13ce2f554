# Reads the timing logs of measured Velmora sessions, one file each, and prints one line of
# medians across the sessions: milliseconds from the process's creation to the first frame;
# milliseconds from accepting each mesh of `meshes` (set with -v, names apart by spaces) to the
# first frame that shows it; the frame time while an animation plays in milliseconds, without
# and then with the skeleton overlay (each session's own median first; a session's line
# "skeleton-overlay-from N" says that its animation frames after the first N had the overlay);
# and the peak resident memory in KiB.
# A session without one of these figures is an error: no figure is made up for it.

function missing(what) {
    printf "%s: no %s\n", session, what > "/dev/stderr"
    failed = 1
    exit 1
}

function closeSession(    m, f, plain, plainCount, overlaid, overlayCount) {
    sessions++
    if (first == "")
        missing("first frame")
    firsts[sessions] = first
    for (m = 1; m <= meshCount; m++) {
        if (!(mesh[m] in shown))
            missing("frame showing " mesh[m])
        switches[m, sessions] = shown[mesh[m]]
    }
    if (overlayFrom == "")
        missing("start of the skeleton overlay")
    plainCount = overlayCount = 0
    for (f = 1; f <= frameCount; f++) {
        if (f <= overlayFrom)
            plain[++plainCount] = frames[f]
        else
            overlaid[++overlayCount] = frames[f]
    }
    if (plainCount == 0)
        missing("frame of a playing animation")
    if (overlayCount == 0)
        missing("frame of a playing animation with the skeleton overlay")
    frameTimes[sessions] = median(plain, plainCount)
    overlayTimes[sessions] = median(overlaid, overlayCount)
    if (peak == "")
        missing("peak memory")
    peaks[sessions] = peak
}

function openSession() {
    session = FILENAME
    first = peak = overlayFrom = ""
    frameCount = 0
    split("", accepted)
    split("", shown)
}

BEGIN { meshCount = split(meshes, mesh, " ") }
FNR == 1 {
    if (NR > 1)
        closeSession()
    openSession()
}
$1 == "first-frame" { first = $2 }
$1 == "mesh-accepted" { accepted[$3] = $2 }
$1 == "mesh-frame" && ($3 in accepted) {
    shown[$3] = $2 - accepted[$3]
    delete accepted[$3]
}
$1 == "animation-frame" { frames[++frameCount] = $3 }
$1 == "peak-kib" { peak = $2 }
$1 == "skeleton-overlay-from" { overlayFrom = $2 }

END {
    if (failed)
        exit 1
    if (NR == 0) {
        print "no session logs" > "/dev/stderr"
        exit 1
    }
    closeSession()
    printf "%.1f", median(firsts, sessions) * 1000
    for (m = 1; m <= meshCount; m++) {
        for (s = 1; s <= sessions; s++)
            column[s] = switches[m, s]
        printf " %.1f", median(column, sessions) * 1000
    }
    printf " %.1f %.1f %d\n", median(frameTimes, sessions) * 1000,
        median(overlayTimes, sessions) * 1000, median(peaks, sessions)
}
