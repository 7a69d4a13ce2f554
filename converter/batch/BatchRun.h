#pragma once

#include "BatchOptions.h"

// Converts the tree the options name and prints the summary; returns the exit status: 0 when
// no model failed, 1 when any did, 128 + the signal's number when SIGINT, SIGTERM or SIGHUP
// ended it.
int runBatch(const BatchOptions& options);
