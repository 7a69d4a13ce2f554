#include "MeshBytesCheck.h"

#include "ChunkReader.h"

#include <algorithm>
#include <array>
#include <map>
#include <optional>
#include <vector>

namespace {

enum MeshChunkId : std::uint16_t {
    meshChunk = 0x3000,
    submeshChunk = 0x4000,
    submeshOperationChunk = 0x4010,
    submeshBoneAssignmentChunk = 0x4100,
    submeshTextureAliasChunk = 0x4200,
    geometryChunk = 0x5000,
    vertexDeclarationChunk = 0x5100,
    vertexElementChunk = 0x5110,
    vertexBufferChunk = 0x5200,
    vertexBufferDataChunk = 0x5210,
    skeletonLinkChunk = 0x6000,
    meshBoneAssignmentChunk = 0x7000,
    levelOfDetailChunk = 0x8000,
    boundsChunk = 0x9000,
    submeshNameTableChunk = 0xA000,
    submeshNameChunk = 0xA100,
    edgeListsChunk = 0xB000,
    edgeListLevelChunk = 0xB100,
    edgeGroupChunk = 0xB110,
    posesChunk = 0xC000,
    animationsChunk = 0xD000,
    extremesChunk = 0xE000,
};

const std::array<const char*, 3> checkedVersions = {
    "[MeshSerializer_v1.100]", "[MeshSerializer_v1.10]", "[MeshSerializer_v1.8]"};

// Bytes per vertex element type, in the order of the engine's type numbers; past the end the
// type is unknown.
constexpr std::array<std::uint16_t, 35> elementTypeSizes = {
    4, 8,  12, 16, // floats
    4,             // colour
    2, 4,  6,  8,  // shorts
    4,             // four unsigned bytes
    4, 4,          // colours
    8, 16, 24, 32, // doubles
    2, 4,  6,  8,  // unsigned shorts
    4, 8,  12, 16, // ints
    4, 8,  12, 16, // unsigned ints
    4, 4,  4,      // four bytes, signed, signed normalised, unsigned normalised
    4, 8,  4,  8}; // normalised shorts
constexpr std::uint16_t float3Type = 2;
constexpr std::uint16_t positionSemantic = 1;
constexpr std::uint16_t normalSemantic = 4;
constexpr std::uint16_t lastSemantic = 9;
constexpr std::uint16_t lastOperationType = 6; // points, lines, strips and fans; no patches
constexpr std::uint32_t chunkHeaderSize = 6;

struct VertexElement {
    std::uint16_t source, type, semantic, offset;
};

struct Submesh {
    bool sharesVertices = false;
    std::uint32_t ownVertices = 0;
    std::uint64_t indicesUpTo = 0;  // one more than the highest index its faces name
    std::uint64_t assignedUpTo = 0; // one more than the highest vertex its bones move
};

std::string hex(std::uint16_t id) {
    static const char digits[] = "0123456789ABCDEF";
    std::string text = "0x";
    for (int shift = 12; shift >= 0; shift -= 4)
        text += digits[id >> shift & 0xF];
    return text;
}

class MeshWalk {
public:
    explicit MeshWalk(std::string_view bytes) : in(bytes) {}

    MeshCheck run() {
        const std::string& version = in.version();
        if (std::find(checkedVersions.begin(), checkedVersions.end(), version) ==
            checkedVersions.end())
            throw FileDamage("its format " + version + " is not one the viewer checks");
        if (!in.nextChunkIsOneOf({meshChunk}))
            throw FileDamage("it holds no mesh");
        in.readChunk();
        readMesh();
        if (!in.atLastChunkHeaderOrEnd())
            throw FileDamage("an unknown chunk " + hex(in.readChunk().id) + " follows its mesh");
        checkVertexReferences();
        return facts;
    }

private:
    void readMesh() {
        in.readBool(); // skeletally animated
        while (in.nextChunkIsOneOf({geometryChunk, submeshChunk, skeletonLinkChunk,
                                    meshBoneAssignmentChunk, levelOfDetailChunk, boundsChunk,
                                    submeshNameTableChunk, edgeListsChunk, posesChunk,
                                    animationsChunk, extremesChunk}))
            readMeshPart(in.readChunk());
    }

    void readMeshPart(const ChunkReader::Chunk& chunk) {
        switch (chunk.id) {
        case geometryChunk:
            if (sharedVertices)
                throw FileDamage("it holds two sets of shared vertices");
            sharedVertices = readGeometry();
            break;
        case submeshChunk:
            readSubmesh();
            break;
        case skeletonLinkChunk:
            facts.skeletonName = in.readString();
            break;
        case meshBoneAssignmentChunk:
            readBoneAssignment(sharedAssignedUpTo);
            break;
        case boundsChunk:
            in.skipFloats(7);
            break;
        case submeshNameTableChunk:
            readSubmeshNames();
            break;
        case edgeListsChunk:
            readEdgeLists();
            break;
        case extremesChunk:
            readExtremes(chunk);
            break;
        case levelOfDetailChunk:
            throw FileDamage("it holds levels of detail, which the viewer does not check");
        case posesChunk:
            throw FileDamage("it holds poses, which the viewer does not check");
        default:
            throw FileDamage("it holds vertex animations, which the viewer does not check");
        }
    }

    // The vertex count of the geometry, once its elements and buffers agree.
    std::uint32_t readGeometry() {
        const std::uint32_t vertexCount = in.readUint32();
        std::vector<VertexElement> elements;
        std::map<std::uint16_t, std::uint16_t> bufferVertexSizes;
        while (in.nextChunkIsOneOf({vertexDeclarationChunk, vertexBufferChunk})) {
            if (in.readChunk().id == vertexBufferChunk) {
                readVertexBuffer(vertexCount, elements, bufferVertexSizes);
                continue;
            }
            while (in.nextChunkIsOneOf({vertexElementChunk})) {
                in.readChunk();
                elements.push_back(readVertexElement());
            }
        }
        checkElementsLieInTheirBuffers(elements, bufferVertexSizes);
        return vertexCount;
    }

    VertexElement readVertexElement() {
        VertexElement element{};
        element.source = in.readUint16();
        element.type = in.readUint16();
        element.semantic = in.readUint16();
        element.offset = in.readUint16();
        in.readUint16(); // index of the semantic
        if (element.type >= elementTypeSizes.size())
            throw FileDamage("a vertex element has the unknown type " +
                             std::to_string(element.type));
        if (element.semantic < positionSemantic || element.semantic > lastSemantic)
            throw FileDamage("a vertex element has the unknown meaning " +
                             std::to_string(element.semantic));
        return element;
    }

    void readVertexBuffer(std::uint32_t vertexCount, const std::vector<VertexElement>& elements,
                          std::map<std::uint16_t, std::uint16_t>& bufferVertexSizes) {
        const std::uint16_t source = in.readUint16();
        const std::uint16_t vertexSize = in.readUint16();
        if (!in.nextChunkIsOneOf({vertexBufferDataChunk}))
            throw FileDamage("a vertex buffer has no data");
        const ChunkReader::Chunk data = in.readChunk();
        unsigned declaredSize = 0;
        for (const VertexElement& element : elements)
            if (element.source == source)
                declaredSize += elementTypeSizes[element.type];
        if (vertexSize == 0 || vertexSize != declaredSize)
            throw FileDamage("the vertex size of buffer " + std::to_string(source) +
                             " does not agree with its elements");
        if (!bufferVertexSizes.emplace(source, vertexSize).second)
            throw FileDamage("two vertex buffers share the source " + std::to_string(source));
        if (data.length != chunkHeaderSize + std::uint64_t{vertexCount} * vertexSize)
            throw FileDamage("a vertex buffer's length does not agree with its vertex count");
        in.skipRecords(vertexCount, vertexSize, "vertices");
    }

    static void checkElementsLieInTheirBuffers(
        const std::vector<VertexElement>& elements,
        const std::map<std::uint16_t, std::uint16_t>& bufferVertexSizes) {
        bool hasPosition = false;
        for (const VertexElement& element : elements) {
            const auto buffer = bufferVertexSizes.find(element.source);
            if (buffer == bufferVertexSizes.end())
                throw FileDamage("a vertex element reads from the missing buffer " +
                                 std::to_string(element.source));
            if (element.offset + elementTypeSizes[element.type] > buffer->second)
                throw FileDamage("a vertex element reaches past the end of its vertex");
            const bool positionOrNormal =
                element.semantic == positionSemantic || element.semantic == normalSemantic;
            if (positionOrNormal && element.type != float3Type)
                throw FileDamage("a position or normal is not three numbers");
            hasPosition = hasPosition || element.semantic == positionSemantic;
        }
        if (!hasPosition)
            throw FileDamage("a set of vertices has no positions");
    }

    void readSubmesh() {
        const std::string number = "submesh " + std::to_string(submeshes.size());
        in.readString(); // material name
        Submesh submesh;
        submesh.sharesVertices = in.readBool();
        const std::uint32_t indexCount = in.readUint32();
        const bool wideIndices = in.readBool();
        if (indexCount > 0)
            submesh.indicesUpTo = readIndices(indexCount, wideIndices);
        if (!submesh.sharesVertices) {
            if (!in.nextChunkIsOneOf({geometryChunk}))
                throw FileDamage(number + " has no vertices");
            in.readChunk();
            submesh.ownVertices = readGeometry();
        }
        while (in.nextChunkIsOneOf(
            {submeshOperationChunk, submeshBoneAssignmentChunk, submeshTextureAliasChunk})) {
            switch (in.readChunk().id) {
            case submeshOperationChunk:
                if (const std::uint16_t type = in.readUint16();
                    type == 0 || type > lastOperationType)
                    throw FileDamage(number + " has the unknown operation " + std::to_string(type));
                break;
            case submeshBoneAssignmentChunk:
                readBoneAssignment(submesh.assignedUpTo);
                break;
            default:
                in.readString(); // alias
                in.readString(); // texture name
            }
        }
        submeshes.push_back(submesh);
    }

    // One more than the highest index.
    std::uint64_t readIndices(std::uint32_t count, bool wide) {
        ChunkReader counted = in;
        counted.skipRecords(count, wide ? 4 : 2, "indices");
        std::uint64_t upTo = 0;
        for (std::uint32_t index = 0; index < count; ++index)
            upTo = std::max<std::uint64_t>(upTo, (wide ? in.readUint32() : in.readUint16()) + 1ull);
        return upTo;
    }

    void readBoneAssignment(std::uint64_t& assignedUpTo) {
        const std::uint32_t vertex = in.readUint32();
        const std::uint16_t bone = in.readUint16();
        in.readFloat(); // weight
        assignedUpTo = std::max<std::uint64_t>(assignedUpTo, vertex + 1ull);
        facts.bonesNeeded = std::max(facts.bonesNeeded, std::uint32_t{bone} + 1u);
    }

    void readSubmeshNames() {
        while (in.nextChunkIsOneOf({submeshNameChunk})) {
            in.readChunk();
            const auto index = static_cast<std::int16_t>(in.readUint16());
            in.readString();
            namedSubmeshesUpTo = std::max<long>(namedSubmeshesUpTo, long{index} + 1);
            if (index < 0)
                throw FileDamage("a submesh name belongs to the submesh " + std::to_string(index));
        }
    }

    // The engine takes the submesh index on trust, and the number of points from the chunk's
    // length.
    void readExtremes(const ChunkReader::Chunk& chunk) {
        const std::uint16_t submesh = in.readUint16();
        if (submesh >= submeshes.size())
            throw FileDamage("extreme points belong to the missing submesh " +
                             std::to_string(submesh));
        const std::uint32_t headerSize = chunkHeaderSize + 2;
        if (chunk.length < headerSize || (chunk.length - headerSize) % 12 != 0)
            throw FileDamage("the length of a list of extreme points is not whole points");
        in.skipFloats((chunk.length - headerSize) / 4);
    }

    void readEdgeLists() {
        while (in.nextChunkIsOneOf({edgeListLevelChunk})) {
            in.readChunk();
            const std::uint16_t level = in.readUint16();
            const bool manual = in.readBool();
            if (level != 0 || manual)
                throw FileDamage("it holds edges of a level of detail, which the viewer does not "
                                 "check");
            readEdgeList();
        }
    }

    void readEdgeList() {
        in.readBool(); // closed
        const std::uint32_t triangleCount = in.readUint32();
        const std::uint32_t groupCount = in.readUint32();
        // Index and vertex set, three vertex indices twice over, and a plane.
        in.skipRecords(triangleCount, 4 + 4 + 12 + 12 + 16, "edge triangles");
        for (std::uint32_t group = 0; group < groupCount; ++group) {
            if (!in.nextChunkIsOneOf({edgeGroupChunk}))
                throw FileDamage("an edge list lacks a group");
            in.readChunk();
            checkEdgeVertexSet(in.readUint32());
            const std::uint32_t firstTriangle = in.readUint32();
            const std::uint32_t groupTriangles = in.readUint32();
            if (firstTriangle > triangleCount || groupTriangles > triangleCount - firstTriangle)
                throw FileDamage("an edge group names triangles past its list");
            // Two triangle indices, vertex indices twice over, a degenerate flag.
            in.skipRecords(in.readUint32(), 8 + 8 + 8 + 1, "edges");
        }
    }

    // Vertex set 0 is the shared vertices where there are any; the others are the submeshes'
    // own, which the engine looks up as it reads.
    void checkEdgeVertexSet(std::uint32_t vertexSet) {
        const std::uint64_t submesh = sharedVertices ? std::uint64_t{vertexSet} - 1 : vertexSet;
        if (sharedVertices && vertexSet == 0)
            return;
        if (submesh >= submeshes.size())
            throw FileDamage("an edge group belongs to the missing submesh " +
                             std::to_string(submesh));
    }

    void checkVertexReferences() const {
        for (std::size_t index = 0; index < submeshes.size(); ++index) {
            const Submesh& submesh = submeshes[index];
            const std::string number = "submesh " + std::to_string(index);
            if (submesh.sharesVertices && !sharedVertices)
                throw FileDamage(number + " shares vertices that the mesh does not have");
            const std::uint32_t vertices =
                submesh.sharesVertices ? *sharedVertices : submesh.ownVertices;
            checkVertexIndex(number + " names", submesh.indicesUpTo, vertices);
            checkVertexIndex(number + " moves", submesh.assignedUpTo, vertices);
        }
        if (sharedAssignedUpTo > 0)
            checkVertexIndex("a bone moves", sharedAssignedUpTo, sharedVertices.value_or(0));
        if (namedSubmeshesUpTo > static_cast<long>(submeshes.size()))
            throw FileDamage("a submesh name belongs to the missing submesh " +
                             std::to_string(namedSubmeshesUpTo - 1));
    }

    static void checkVertexIndex(const std::string& user, std::uint64_t upTo,
                                 std::uint32_t vertexCount) {
        if (upTo > vertexCount)
            throw FileDamage(user + " vertex " + std::to_string(upTo - 1) + " of " +
                             std::to_string(vertexCount));
    }

    ChunkReader in;
    MeshCheck facts;
    std::optional<std::uint32_t> sharedVertices;
    std::uint64_t sharedAssignedUpTo = 0;
    std::vector<Submesh> submeshes;
    long namedSubmeshesUpTo = 0;
};

} // namespace

MeshCheck checkMeshBytes(std::string_view bytes) {
    try {
        return MeshWalk(bytes).run();
    } catch (const FileDamage& damage) {
        MeshCheck check;
        check.fault = damage.what();
        return check;
    }
}
