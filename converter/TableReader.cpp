#include "TableReader.h"

namespace {

// Zero-filling keeps short files readable; beyond this much the count is not believed.
constexpr int64_t zeroFillAllowance = 1 << 20;

int64_t bytesOf(const TableLocation& table) {
    return int64_t{table.count} * static_cast<int64_t>(table.recordSize);
}

} // namespace

bool TableReader::check(const TableLocation& table, std::string& error) const {
    if (table.count < 0 || bytesOf(table) > stream.size() + zeroFillAllowance) {
        error = path + ": " + table.what + " at offset " + std::to_string(table.offset) +
                " claims " + std::to_string(table.count) + " records of " +
                std::to_string(table.recordSize) + " bytes; the file has " +
                std::to_string(stream.size()) + " bytes.";
        return false;
    }
    return true;
}

bool TableReader::readBlock(const TableLocation& table, std::string& block, std::string& error) {
    block.clear();
    if (table.count == 0) {
        return true;
    }
    if (!check(table, error)) {
        return false;
    }
    block = stream.readBlock(table.offset, static_cast<std::size_t>(bytesOf(table)));
    return true;
}
