# The median of values[1..count], which it sorts in place. Loaded before the scripts that use it.

function sortValues(values, count,    i, j, value) {
    for (i = 2; i <= count; i++) {
        value = values[i]
        for (j = i - 1; j >= 1 && values[j] > value; j--)
            values[j + 1] = values[j]
        values[j + 1] = value
    }
}

function median(values, count) {
    sortValues(values, count)
    if (count % 2)
        return values[(count + 1) / 2]
    return (values[count / 2] + values[count / 2 + 1]) / 2
}
