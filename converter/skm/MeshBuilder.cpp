#include "MeshBuilder.h"

#include "../ByteStream.h"
#include "../ModelPaths.h"
#include "../Resources.h"
#include "../mdf/ScriptName.h"
#include "SharedVertices.h"
#include "SkmReader.h"

#include <OgreHardwareBufferManager.h>
#include <OgreMaterialManager.h>
#include <OgreSubMesh.h>

#include <algorithm>
#include <cstring>

namespace {

using Triangle = std::array<uint16_t, 3>;

std::vector<MeshMaterial> nameMaterials(const std::vector<SkmMaterial>& materials,
                                        const NamingCallback& namingCallback) {
    std::vector<MeshMaterial> named;
    named.reserve(materials.size());
    for (const SkmMaterial& material : materials) {
        named.push_back({mdfFileName(material.path), namingCallback(material.path)});
    }
    return named;
}

bool faceIsSound(const SkmFace& face, std::size_t materialCount, std::size_t vertexCount) {
    return face.materialIndex < materialCount &&
           std::all_of(face.vertexIndex.begin(), face.vertexIndex.end(),
                       [vertexCount](uint16_t index) { return index < vertexCount; });
}

// Faces gather per material as the face table is read, keeping their order; faces that name a
// material or a vertex the file does not have are left out, since they would point the mesh
// outside its own tables.
struct FaceGroups {
    FaceGroups(std::size_t materialCount, std::size_t vertexCount)
        : triangles(materialCount), vertexCount(vertexCount) {}

    void add(const SkmFace& face) {
        if (faceIsSound(face, triangles.size(), vertexCount)) {
            triangles[face.materialIndex].push_back(face.vertexIndex);
        } else {
            ++skipped;
        }
    }

    std::vector<std::vector<Triangle>> triangles; // by material
    std::size_t vertexCount;
    std::size_t skipped = 0;
};

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
    // A submesh keeps a handle to its material, so the material has to exist to be named. The
    // material step reports a name that no script can hold; the mesh names none there rather
    // than one that is never written.
    if (scriptSpelling(materialName)) {
        fetchMaterial(materialName);
        subMesh->setMaterialName(materialName, conversionGroup);
    }
}

void buildSubMeshes(Ogre::Mesh& mesh, const std::vector<std::vector<Triangle>>& triangles,
                    const std::vector<MeshMaterial>& materials) {
    for (std::size_t material = 0; material < triangles.size(); ++material) {
        if (!triangles[material].empty()) {
            buildSubMesh(mesh, triangles[material], materials[material].name);
        }
    }
}

void warnIf(Diagnostics& out, std::size_t count, const char* what) {
    if (count > 0) {
        out.warning(textOf("Warning: ", count, what), Placement::step);
    }
}

} // namespace

// The vertex and face tables are built from as they are read, never held as records; every
// count is checked before anything is built, so that a file refused leaves the mesh untouched.
std::optional<std::vector<MeshMaterial>>
importMesh(Ogre::Mesh& mesh, const NamingCallback& namingCallback, const std::string& skmPath,
           const std::string& skeletonName, Diagnostics& out) {
    std::optional<ByteStream> file = ByteStream::openFile(skmPath);
    if (!file) {
        return std::nullopt;
    }
    SkmReader reader(std::move(*file), skmPath);
    std::string error;
    if (!reader.checkMeshTables(error)) {
        out.error(error, Placement::step);
        return std::nullopt;
    }
    const auto vertexCount = static_cast<std::size_t>(reader.header().vertexCount);
    SharedVertexBuilder vertices(mesh, vertexCount, reader.header().boneCount);
    std::vector<SkmMaterial> materials;
    reader.readEachVertex([&vertices](const SkmVertex& vertex) { vertices.add(vertex); }, error);
    vertices.finish();
    reader.readMaterials(materials, error);
    FaceGroups faces(materials.size(), vertexCount);
    reader.readEachFace([&faces](const SkmFace& face) { faces.add(face); }, error);

    // The console order is deliberate and stays as it was when each table was decoded whole
    // before its step: the vertex warning, the material names (with their prompts in interactive
    // mode), the face warning, then the weight warning of the bone assignments, built last.
    // Gathering the warnings in one place would change what users and their scripts see.
    warnIf(out, vertices.repairedVertices(),
           " vertices hold values that are not finite numbers; they are read as 0.");
    std::vector<MeshMaterial> named = nameMaterials(materials, namingCallback);
    warnIf(out, faces.skipped,
           " faces name a material or vertex that the file does not have; skipped.");
    buildSubMeshes(mesh, faces.triangles, named);
    mesh.setSkeletonName(skeletonName);
    warnIf(out, vertices.skippedWeights(),
           " bone weights name a bone that the file does not have or a slot past the sixth; "
           "skipped.");
    return named;
}
