#pragma once

#include "ByteStream.h"

#include <algorithm>
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

    // False with error set when the table's count cannot be believed; reads nothing.
    bool check(const TableLocation& table, std::string& error) const;

    // The table's bytes (count × record size), or false with error set.
    bool readBlock(const TableLocation& table, std::string& block, std::string& error);

    // Hands each record to visit as it is read, so that the table is never held whole. Reading
    // record by record from one seek gives the same bytes as the one read of the whole table:
    // the first record that runs short fails the stream, and the records after it read as zeros.
    template <typename Decode, typename Visit>
    bool readEach(const TableLocation& table, Decode decode, Visit visit, std::string& error) {
        if (!check(table, error)) {
            return false;
        }
        if (table.count == 0) {
            return true;
        }
        stream.seek(table.offset);
        std::string record(table.recordSize, '\0');
        for (int32_t i = 0; i < table.count; ++i) {
            std::fill(record.begin(), record.end(), '\0');
            stream.read(record.data(), record.size());
            visit(decode(record.data()));
        }
        return true;
    }

    template <typename Record, typename Decode>
    bool read(const TableLocation& table, Decode decode, std::vector<Record>& records,
              std::string& error) {
        return readEach(
            table, decode, [&records](Record record) { records.push_back(std::move(record)); },
            error);
    }

private:
    ByteStream& stream;
    std::string path;
};
