# Checks of a viewer test script, judged by the pixels of screenshots. Sourced; the script
# ends with `echo "$passes passed, $failures failed"`.
passes=0
failures=0

# expect WHAT COMMAND...: counts and prints the outcome of COMMAND.
expect() {
    local what=$1
    shift
    if "$@"; then
        echo "ok   $what"
        passes=$((passes + 1))
    else
        echo "FAIL $what"
        failures=$((failures + 1))
    fi
}

# Share of the pixels in GEOMETRY of IMAGE that are not (nearly) white.
nonwhite_share() {
    convert "$1" -crop "$2" +repage -colorspace Gray -threshold 97% -format '%[fx:1-mean]' info:
}
# How many pixels of the two images differ inside GEOMETRY.
changed_pixels() { compare -metric AE "$1[$3]" "$2[$3]" null: 2>&1; }
# Share of the strip at the window's bottom in the status text's red.
status_share() {
    convert "$1" -gravity South -crop 0x40+0+0 +repage -fuzz 20% -fill black -opaque '#B00000' \
        -fill white +opaque black -colorspace Gray -format '%[fx:1-mean]' info:
}
number='^[0-9]+(\.[0-9]+)?(e-?[0-9]+)?$' # what the measures above print when they work
greater() { [[ $1 =~ $number && $2 =~ $number ]] && awk -v a="$1" -v b="$2" 'BEGIN { exit !(a > b) }'; }
close_to() {
    [[ $1 =~ $number && $2 =~ $number ]] &&
        awk -v a="$1" -v b="$2" 'BEGIN { exit !(a / b > 0.9 && a / b < 1.1) }'
}
