#include "MeshBuilder.h"

#include "../ByteStream.h"
#include "../Resources.h"
#include "FiniteVertices.h"
#include "SkmReader.h"

#include <OgreHardwareBufferManager.h>
#include <OgreMaterialManager.h>
#include <OgreSubMesh.h>

#include <algorithm>
#include <cstring>

namespace {

using Triangle = std::array<uint16_t, 3>;

void setBounds(Ogre::Mesh& mesh, const std::vector<SkmVertex>& vertices) {
    Ogre::Vector3 minimum(vertices[0].position.data());
    Ogre::Vector3 maximum = minimum;
    float largestSquaredLength = minimum.squaredLength();
    for (const SkmVertex& vertex : vertices) {
        const Ogre::Vector3 position(vertex.position.data());
        minimum.makeFloor(position);
        maximum.makeCeil(position);
        largestSquaredLength = std::max(largestSquaredLength, position.squaredLength());
    }
    mesh._setBounds(Ogre::AxisAlignedBox(minimum, maximum), false);
    // The radius is measured from the model's origin, not from the centre of the box.
    mesh._setBoundingSphereRadius(Ogre::Math::Sqrt(largestSquaredLength));
}

Ogre::HardwareVertexBufferSharedPtr createVertexBuffer(std::size_t vertexSize,
                                                       std::size_t vertexCount) {
    return Ogre::HardwareBufferManager::getSingleton().createVertexBuffer(
        vertexSize, vertexCount, Ogre::HardwareBuffer::HBU_STATIC_WRITE_ONLY, false);
}

// Source 0 holds position and normal, source 1 the texture coordinate with v flipped,
// since the game's v runs the other way.
void buildSharedVertexData(Ogre::Mesh& mesh, const std::vector<SkmVertex>& vertices) {
    setBounds(mesh, vertices);
    auto* data = new Ogre::VertexData();
    mesh.sharedVertexData = data;
    data->vertexCount = vertices.size();

    Ogre::VertexDeclaration* declaration = data->vertexDeclaration;
    const std::size_t float3Size = Ogre::VertexElement::getTypeSize(Ogre::VET_FLOAT3);
    declaration->addElement(0, 0, Ogre::VET_FLOAT3, Ogre::VES_POSITION);
    declaration->addElement(0, float3Size, Ogre::VET_FLOAT3, Ogre::VES_NORMAL);
    declaration->addElement(1, 0, Ogre::VET_FLOAT2, Ogre::VES_TEXTURE_COORDINATES);

    auto geometry = createVertexBuffer(2 * float3Size, vertices.size());
    auto texture =
        createVertexBuffer(Ogre::VertexElement::getTypeSize(Ogre::VET_FLOAT2), vertices.size());
    data->vertexBufferBinding->setBinding(0, geometry);
    data->vertexBufferBinding->setBinding(1, texture);

    auto* geometryValues = static_cast<float*>(geometry->lock(Ogre::HardwareBuffer::HBL_DISCARD));
    auto* textureValues = static_cast<float*>(texture->lock(Ogre::HardwareBuffer::HBL_DISCARD));
    for (const SkmVertex& vertex : vertices) {
        geometryValues = std::copy(vertex.position.begin(), vertex.position.end(), geometryValues);
        geometryValues = std::copy(vertex.normal.begin(), vertex.normal.end(), geometryValues);
        *textureValues++ = vertex.uv[0];
        *textureValues++ = 1.0f - vertex.uv[1];
    }
    geometry->unlock();
    texture->unlock();
}

std::vector<std::string> readSkmMaterialNames(const std::vector<SkmMaterial>& materials,
                                              NamingCallback& namingCallback) {
    std::vector<std::string> names;
    names.reserve(materials.size());
    for (const SkmMaterial& material : materials) {
        names.push_back(namingCallback(material.path));
    }
    return names;
}

bool faceIsSound(const SkmFace& face, std::size_t materialCount, std::size_t vertexCount) {
    return face.materialIndex < materialCount &&
           std::all_of(face.vertexIndex.begin(), face.vertexIndex.end(),
                       [vertexCount](uint16_t index) { return index < vertexCount; });
}

// Faces gather per material, keeping their order; faces that name a material or a vertex the
// file does not have are left out, since they would point the mesh outside its own tables.
std::vector<std::vector<Triangle>> groupTriangles(const std::vector<SkmFace>& faces,
                                                  std::size_t materialCount,
                                                  std::size_t vertexCount, std::ostream& out) {
    std::vector<std::vector<Triangle>> triangles(materialCount);
    std::size_t skipped = 0;
    for (const SkmFace& face : faces) {
        if (faceIsSound(face, materialCount, vertexCount)) {
            triangles[face.materialIndex].push_back(face.vertexIndex);
        } else {
            ++skipped;
        }
    }
    if (skipped > 0) {
        out << "\tWarning: " << skipped
            << " faces name a material or vertex that the file does not have; skipped.\n";
    }
    return triangles;
}

void buildSubMesh(Ogre::Mesh& mesh, const std::vector<Triangle>& triangles,
                  const std::string& materialName) {
    Ogre::SubMesh* subMesh = mesh.createSubMesh();
    subMesh->useSharedVertices = true;
    subMesh->operationType = Ogre::RenderOperation::OT_TRIANGLE_LIST;
    const std::size_t indexCount = 3 * triangles.size();
    subMesh->indexData->indexStart = 0;
    subMesh->indexData->indexCount = indexCount;
    auto indexBuffer = Ogre::HardwareBufferManager::getSingleton().createIndexBuffer(
        Ogre::HardwareIndexBuffer::IT_16BIT, indexCount, Ogre::HardwareBuffer::HBU_DYNAMIC, false);
    subMesh->indexData->indexBuffer = indexBuffer;
    void* indices = indexBuffer->lock(Ogre::HardwareBuffer::HBL_DISCARD);
    std::memcpy(indices, triangles.data(), indexCount * sizeof(uint16_t));
    indexBuffer->unlock();
    // A submesh keeps a handle to its material, so the material has to exist to be named.
    fetchMaterial(materialName);
    subMesh->setMaterialName(materialName, conversionGroup);
}

void buildSubMeshes(Ogre::Mesh& mesh, const std::vector<std::vector<Triangle>>& triangles,
                    const std::vector<std::string>& materialNames) {
    for (std::size_t material = 0; material < triangles.size(); ++material) {
        if (!triangles[material].empty()) {
            buildSubMesh(mesh, triangles[material], materialNames[material]);
        }
    }
}

// Weights go in as stored: not normalised, zero weights kept. Slots past the sixth and bones
// the skeleton does not have are left out, with a warning.
void addBoneAssignments(Ogre::Mesh& mesh, const std::vector<SkmVertex>& vertices, int32_t boneCount,
                        std::ostream& out) {
    std::size_t skipped = 0;
    for (std::size_t i = 0; i < vertices.size(); ++i) {
        const SkmVertex& vertex = vertices[i];
        if (vertex.weightCount < 0 || vertex.weightCount > 6) {
            skipped += 1;
            continue;
        }
        for (int k = 0; k < vertex.weightCount; ++k) {
            if (vertex.boneIndex[k] >= boneCount) {
                skipped += 1;
                continue;
            }
            mesh.addBoneAssignment(
                {static_cast<unsigned int>(i), vertex.boneIndex[k], vertex.boneWeight[k]});
        }
    }
    if (skipped > 0) {
        out << "\tWarning: " << skipped
            << " bone weights name a bone that the file does not have or a slot past the "
               "sixth; skipped.\n";
    }
}

} // namespace

bool importMesh(Ogre::Mesh& mesh, NamingCallback& namingCallback, const std::string& skmPath,
                const std::string& skeletonName, std::ostream& out) {
    std::optional<ByteStream> file = ByteStream::openFile(skmPath);
    if (!file) {
        return false;
    }
    SkmReader reader(std::move(*file), skmPath);
    std::vector<SkmVertex> vertices;
    std::vector<SkmMaterial> materials;
    std::vector<SkmFace> faces;
    std::string error;
    const bool tablesRead = reader.readVertices(vertices, error) &&
                            reader.readMaterials(materials, error) &&
                            reader.readFaces(faces, error);
    if (!tablesRead) {
        out << "\t" << error << "\n";
        return false;
    }

    const std::size_t repaired = zeroNonFiniteValues(vertices);
    if (repaired > 0) {
        out << "\tWarning: " << repaired
            << " vertices hold values that are not finite numbers; they are read as 0.\n";
    }
    if (!vertices.empty()) {
        buildSharedVertexData(mesh, vertices);
    }
    const std::vector<std::string> names = readSkmMaterialNames(materials, namingCallback);
    buildSubMeshes(mesh, groupTriangles(faces, names.size(), vertices.size(), out), names);
    mesh.setSkeletonName(skeletonName);
    addBoneAssignments(mesh, vertices, reader.header().boneCount, out);
    return true;
}
