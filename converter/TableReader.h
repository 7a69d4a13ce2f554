#pragma once

#include "ByteStream.h"

#include <string>
#include <vector>

// The location of one packed table of fixed-size records, as a file's header gives it.
struct TableLocation {
    const char* what; // "bone table", used in messages
    int32_t count;
    int64_t offset;
    std::size_t recordSize;
};

// Reads a table by the formats' shared rule: nothing for a count of 0, otherwise one seek and
// one read into a zero-filled buffer, so that a short file yields zero records. A negative
// count, or one that needs far more bytes than the file holds, is refused with a message
// naming the file, the table and its offset, rather than allocating what the count claims.
class TableReader {
public:
    TableReader(ByteStream& stream, std::string path) : stream(stream), path(std::move(path)) {}

    // The table's bytes (count × record size), or false with error set.
    bool readBlock(const TableLocation& table, std::string& block, std::string& error);

    template <typename Record, typename Decode>
    bool read(const TableLocation& table, Decode decode, std::vector<Record>& records,
              std::string& error) {
        std::string block;
        if (!readBlock(table, block, error)) {
            return false;
        }
        records.reserve(static_cast<std::size_t>(table.count));
        for (std::size_t at = 0; at < block.size(); at += table.recordSize) {
            records.push_back(decode(block.data() + at));
        }
        return true;
    }

private:
    ByteStream& stream;
    std::string path;
};
