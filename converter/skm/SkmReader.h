#pragma once

#include "../ByteStream.h"
#include "../TableReader.h"
#include "SkmRecords.h"

#include <functional>
#include <string>
#include <vector>

// One pass over an SKM file: the header, then whichever tables the caller asks for. Each
// table is read from its own offset; once a read comes up short, later tables of the same
// pass read as zeros, as they would from a failed file stream.
class SkmReader {
public:
    SkmReader(std::string bytes, const std::string& path);
    SkmReader(ByteStream source, const std::string& path);

    const SkmHeader& header() const { return skmHeader; }

    // Each returns false with error set when the table's count cannot be believed.
    bool readBones(std::vector<SkmBone>& bones, std::string& error);
    bool readMaterials(std::vector<SkmMaterial>& materials, std::string& error);

    // The vertex and face tables a record at a time, for a caller that builds from each record
    // as it comes instead of holding the table.
    bool readEachVertex(const std::function<void(const SkmVertex&)>& visit, std::string& error);
    bool readEachFace(const std::function<void(const SkmFace&)>& visit, std::string& error);

    // False with error set, naming the first in this order, when the vertex, material or face
    // table's count cannot be believed; reads nothing.
    bool checkMeshTables(std::string& error) const;

private:
    TableLocation materialTable() const;
    TableLocation vertexTable() const;
    TableLocation faceTable() const;

    ByteStream stream;
    TableReader tables;
    SkmHeader skmHeader;
};
