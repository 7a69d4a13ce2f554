#include "BatchOptions.h"
#include "BatchRun.h"

#include <exception>
#include <iostream>

int main(int argc, char** argv) {
    const ParsedCommandLine parsed = parseBatchCommandLine(argc, argv);
    if (!parsed.options) {
        return parsed.exitStatus;
    }
    try {
        return runBatch(*parsed.options);
    } catch (const std::exception& error) {
        std::cerr << "tarnwick-batch: " << error.what() << "\n";
        return 1;
    }
}
