# Reads a Velmora timing log in which the library's filter text was changed a few times and
# prints, in milliseconds, the median and the largest time from each change ("filter-typed") to
# the list refilled ("filter-listed"), then the same to the frame that shows it ("filter-frame"):
# four numbers. A log without a change, or a change whose list or frame never came, is an error.

function fail(message) {
    printf "%s: %s\n", FILENAME, message > "/dev/stderr"
    failed = 1
    exit 1
}

function largest(values, count,    i, most) {
    most = values[1]
    for (i = 2; i <= count; i++)
        if (values[i] > most)
            most = values[i]
    return most
}

$1 == "filter-typed" {
    if (typed != "")
        fail("a change of the filter without its frame")
    typed = $2
}
$1 == "filter-listed" && typed != "" { listed[++changes] = ($2 - typed) * 1000 }
$1 == "filter-frame" && typed != "" {
    if (!(changes in listed))
        fail("a frame of the filter without its list")
    shown[changes] = ($2 - typed) * 1000
    typed = ""
}
END {
    if (failed)
        exit 1
    if (typed != "")
        fail("a change of the filter without its frame")
    if (changes == 0)
        fail("no change of the filter")
    listedMost = largest(listed, changes)
    shownMost = largest(shown, changes)
    printf "%.1f %.1f %.1f %.1f\n", median(listed, changes), listedMost, median(shown, changes),
        shownMost
}
