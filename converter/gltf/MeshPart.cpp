#include "MeshPart.h"

#include "SkinWeights.h"
#include "VertexReader.h"

#include <OgreSubMesh.h>

#include <cmath>

namespace {

// glTF requires unit normals; the engine normalises them when it lights anyway. A normal of
// no length points up.
std::vector<float> unitNormals(std::vector<float> normals, std::vector<std::string>& warnings) {
    std::size_t pointless = 0;
    for (std::size_t i = 0; i + 2 < normals.size(); i += 3) {
        float* normal = &normals[i];
        const double length =
            std::sqrt(double(normal[0]) * normal[0] + double(normal[1]) * normal[1] +
                      double(normal[2]) * normal[2]);
        if (!std::isfinite(length) || length < 1e-12) {
            normal[0] = 0;
            normal[1] = 1;
            normal[2] = 0;
            ++pointless;
            continue;
        }
        for (int c = 0; c < 3; ++c) {
            normal[c] = static_cast<float>(normal[c] / length);
        }
    }
    if (pointless > 0) {
        warnings.push_back(std::to_string(pointless) +
                           " vertex normals have no length; they are written as (0, 1, 0).");
    }
    return normals;
}

template <typename Joint>
int jointsAccessor(GltfBuffer& buffer, const std::vector<uint16_t>& joints) {
    return buffer.addAccessor(std::vector<Joint>(joints.begin(), joints.end()), vec4Type,
                              ViewTarget::vertices);
}

void addSkinAttributes(GltfDocument& document, nlohmann::json& attributes,
                       const Ogre::Mesh::VertexBoneAssignmentList& assignments,
                       std::size_t vertexCount, const SkinJoints& joints) {
    SkinWeights skin = skinWeights(assignments, vertexCount, joints.count, joints.root);
    constexpr std::size_t byteJoints = 256;
    attributes["JOINTS_0"] = joints.count <= byteJoints
                                 ? jointsAccessor<uint8_t>(document.buffer, skin.joints)
                                 : jointsAccessor<uint16_t>(document.buffer, skin.joints);
    attributes["WEIGHTS_0"] =
        document.buffer.addAccessor(skin.weights, vec4Type, ViewTarget::vertices);
    document.warnings.insert(document.warnings.end(), skin.warnings.begin(), skin.warnings.end());
}

// The accessors of one set of vertex data; nothing when it holds no float positions.
std::optional<nlohmann::json>
vertexAttributes(GltfDocument& document, const Ogre::VertexData& data,
                 const Ogre::Mesh::VertexBoneAssignmentList& assignments,
                 const std::optional<SkinJoints>& joints) {
    const auto positions = readFloatElement(data, Ogre::VES_POSITION, 3);
    if (!positions || data.vertexCount == 0) {
        return std::nullopt;
    }
    GltfBuffer& buffer = document.buffer;
    nlohmann::json attributes;
    attributes["POSITION"] = buffer.addAccessor(*positions, vec3Type, ViewTarget::vertices, true);
    if (auto normals = readFloatElement(data, Ogre::VES_NORMAL, 3)) {
        attributes["NORMAL"] = buffer.addAccessor(
            unitNormals(std::move(*normals), document.warnings), vec3Type, ViewTarget::vertices);
    }
    if (auto uvs = readFloatElement(data, Ogre::VES_TEXTURE_COORDINATES, 2)) {
        attributes["TEXCOORD_0"] = buffer.addAccessor(*uvs, vec2Type, ViewTarget::vertices);
    }
    if (joints) {
        addSkinAttributes(document, attributes, assignments, data.vertexCount, *joints);
    }
    return attributes;
}

// The whole triangles whose corners all lie among the vertices, in their order.
std::vector<uint32_t> validTriangles(const std::vector<uint32_t>& indices, std::size_t vertexCount,
                                     std::size_t& dropped) {
    std::vector<uint32_t> kept;
    kept.reserve(indices.size());
    for (std::size_t i = 0; i + 2 < indices.size(); i += 3) {
        if (indices[i] < vertexCount && indices[i + 1] < vertexCount &&
            indices[i + 2] < vertexCount) {
            kept.insert(kept.end(), &indices[i], &indices[i] + 3);
        } else {
            ++dropped;
        }
    }
    return kept;
}

int indexAccessor(GltfBuffer& buffer, const std::vector<uint32_t>& indices,
                  std::size_t vertexCount) {
    // 65535 is the primitive restart value, which glTF forbids as a 16-bit index.
    constexpr std::size_t shortIndices = 65535;
    if (vertexCount <= shortIndices) {
        return buffer.addAccessor(std::vector<uint16_t>(indices.begin(), indices.end()), scalarType,
                                  ViewTarget::indices);
    }
    return buffer.addAccessor(indices, scalarType, ViewTarget::indices);
}

class PrimitiveWriter {
public:
    PrimitiveWriter(GltfDocument& document, const Ogre::Mesh& mesh,
                    const std::optional<SkinJoints>& joints,
                    const std::map<std::string, int>& materialIndex)
        : document(document), mesh(mesh), joints(joints), materialIndex(materialIndex) {}

    std::optional<nlohmann::json> primitive(const Ogre::SubMesh& subMesh) {
        const Ogre::VertexData* data =
            subMesh.useSharedVertices ? mesh.sharedVertexData : subMesh.vertexData;
        if (data == nullptr || subMesh.operationType != Ogre::RenderOperation::OT_TRIANGLE_LIST) {
            ++unwritable;
            return std::nullopt;
        }
        const std::vector<uint32_t> triangles =
            validTriangles(readIndices(*subMesh.indexData), data->vertexCount, droppedTriangles);
        const std::optional<nlohmann::json>& attributes = attributesOf(*data, subMesh);
        if (triangles.empty() || !attributes) {
            ++unwritable;
            return std::nullopt;
        }
        nlohmann::json primitive = {
            {"attributes", *attributes},
            {"indices", indexAccessor(document.buffer, triangles, data->vertexCount)},
            {"mode", 4}};
        const auto material = materialIndex.find(subMesh.getMaterialName());
        if (material != materialIndex.end()) {
            primitive["material"] = material->second;
        }
        return primitive;
    }

    void reportDropped() const {
        if (droppedTriangles > 0) {
            document.warnings.push_back(std::to_string(droppedTriangles) +
                                        " triangles name vertices the mesh does not hold; "
                                        "they are left out.");
        }
        if (unwritable > 0) {
            document.warnings.push_back(std::to_string(unwritable) +
                                        " submeshes hold no triangles of vertices with "
                                        "positions; they are left out.");
        }
    }

private:
    // Shared vertex data is written once for all the submeshes that use it.
    const std::optional<nlohmann::json>& attributesOf(const Ogre::VertexData& data,
                                                      const Ogre::SubMesh& subMesh) {
        const auto known = attributesByData.find(&data);
        if (known != attributesByData.end()) {
            return known->second;
        }
        const auto& assignments =
            subMesh.useSharedVertices ? mesh.getBoneAssignments() : subMesh.getBoneAssignments();
        return attributesByData[&data] = vertexAttributes(document, data, assignments, joints);
    }

    GltfDocument& document;
    const Ogre::Mesh& mesh;
    const std::optional<SkinJoints>& joints;
    const std::map<std::string, int>& materialIndex;
    std::map<const Ogre::VertexData*, std::optional<nlohmann::json>> attributesByData;
    std::size_t droppedTriangles = 0;
    std::size_t unwritable = 0;
};

} // namespace

std::optional<int> addMesh(GltfDocument& document, const Ogre::Mesh& mesh,
                           const std::optional<SkinJoints>& joints,
                           const std::map<std::string, int>& materialIndex) {
    PrimitiveWriter writer(document, mesh, joints, materialIndex);
    nlohmann::json primitives = nlohmann::json::array();
    for (const Ogre::SubMesh* subMesh : mesh.getSubMeshes()) {
        if (auto primitive = writer.primitive(*subMesh)) {
            primitives.push_back(std::move(*primitive));
        }
    }
    writer.reportDropped();
    if (primitives.empty()) {
        return std::nullopt;
    }
    return document.add("meshes", {{"name", mesh.getName()}, {"primitives", primitives}});
}
