#include "TableReader.h"

namespace {

// Zero-filling keeps short files readable; beyond this much the count is not believed.
constexpr int64_t zeroFillAllowance = 1 << 20;

} // namespace

bool TableReader::readBlock(const TableLocation& table, std::string& block, std::string& error) {
    block.clear();
    if (table.count == 0) {
        return true;
    }
    const int64_t bytesNeeded = int64_t{table.count} * static_cast<int64_t>(table.recordSize);
    if (table.count < 0 || bytesNeeded > stream.size() + zeroFillAllowance) {
        error = path + ": " + table.what + " at offset " + std::to_string(table.offset) +
                " claims " + std::to_string(table.count) + " records of " +
                std::to_string(table.recordSize) + " bytes; the file has " +
                std::to_string(stream.size()) + " bytes.";
        return false;
    }
    block = stream.readBlock(table.offset, static_cast<std::size_t>(bytesNeeded));
    return true;
}
