#pragma once

#include "BatchOptions.h"

// Converts the tree the options name and prints the summary; returns the exit status: 0 when
// no model failed, 1 when any did, 2 when OUTPUT_DIR cannot be locked or, with noWait, another
// run holds it, 128 + the signal's number when SIGINT, SIGTERM or SIGHUP ended it (also while
// it waited for another run).
int runBatch(const BatchOptions& options);
