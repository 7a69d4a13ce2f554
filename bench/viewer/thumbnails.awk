# Reads the timing logs of Velmora runs that each wrote a folder of thumbnails, one file per run,
# and prints the median over the runs of the milliseconds per thumbnail after the first: from
# the first "screenshot" line of a run to its last, divided by the pictures between them.
# A run with fewer than two pictures is an error.

function closeRun() {
    if (pictures < 2) {
        printf "%s: fewer than two thumbnails written\n", run > "/dev/stderr"
        failed = 1
        exit 1
    }
    perPicture[++runs] = (last - first) / (pictures - 1) * 1000
}

FNR == 1 {
    if (NR > 1)
        closeRun()
    run = FILENAME
    pictures = 0
}
$1 == "screenshot" {
    if (pictures++ == 0)
        first = $2
    last = $2
}
END {
    if (failed)
        exit 1
    closeRun()
    printf "%.1f\n", median(perPicture, runs)
}
