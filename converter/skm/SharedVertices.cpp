#include "SharedVertices.h"

#include "FiniteVertices.h"

#include <OgreHardwareBufferManager.h>
#include <OgreVertexIndexData.h>

#include <algorithm>

namespace {

Ogre::HardwareVertexBufferSharedPtr createVertexBuffer(std::size_t vertexSize,
                                                       std::size_t vertexCount) {
    return Ogre::HardwareBufferManager::getSingleton().createVertexBuffer(
        vertexSize, vertexCount, Ogre::HardwareBuffer::HBU_STATIC_WRITE_ONLY, false);
}

} // namespace

SharedVertexBuilder::SharedVertexBuilder(Ogre::Mesh& mesh, std::size_t vertexCount,
                                         int32_t boneCount)
    : mesh(mesh), boneCount(boneCount) {
    if (vertexCount == 0) {
        return;
    }
    auto* data = new Ogre::VertexData();
    mesh.sharedVertexData = data;
    data->vertexCount = vertexCount;

    Ogre::VertexDeclaration* declaration = data->vertexDeclaration;
    const std::size_t float3Size = Ogre::VertexElement::getTypeSize(Ogre::VET_FLOAT3);
    declaration->addElement(0, 0, Ogre::VET_FLOAT3, Ogre::VES_POSITION);
    declaration->addElement(0, float3Size, Ogre::VET_FLOAT3, Ogre::VES_NORMAL);
    declaration->addElement(1, 0, Ogre::VET_FLOAT2, Ogre::VES_TEXTURE_COORDINATES);

    geometry = createVertexBuffer(2 * float3Size, vertexCount);
    texture = createVertexBuffer(Ogre::VertexElement::getTypeSize(Ogre::VET_FLOAT2), vertexCount);
    data->vertexBufferBinding->setBinding(0, geometry);
    data->vertexBufferBinding->setBinding(1, texture);
    geometryValues = static_cast<float*>(geometry->lock(Ogre::HardwareBuffer::HBL_DISCARD));
    textureValues = static_cast<float*>(texture->lock(Ogre::HardwareBuffer::HBL_DISCARD));
}

void SharedVertexBuilder::add(SkmVertex vertex) {
    repaired += zeroNonFiniteValues(vertex) ? 1 : 0;
    bounds.add(Ogre::Vector3(vertex.position.data()));
    geometryValues = std::copy(vertex.position.begin(), vertex.position.end(), geometryValues);
    geometryValues = std::copy(vertex.normal.begin(), vertex.normal.end(), geometryValues);
    *textureValues++ = vertex.uv[0];
    *textureValues++ = 1.0f - vertex.uv[1];
    addBoneAssignments(vertex);
    ++added;
}

void SharedVertexBuilder::finish() {
    if (!geometry) {
        return;
    }
    geometry->unlock();
    texture->unlock();
    mesh._setBounds(bounds.box(), false);
    mesh._setBoundingSphereRadius(bounds.radius());
}

// Weights go in as stored: not normalised, zero weights kept.
void SharedVertexBuilder::addBoneAssignments(const SkmVertex& vertex) {
    if (vertex.weightCount < 0 || vertex.weightCount > 6) {
        skipped += 1;
        return;
    }
    for (int k = 0; k < vertex.weightCount; ++k) {
        if (vertex.boneIndex[k] >= boneCount) {
            skipped += 1;
            continue;
        }
        mesh.addBoneAssignment({added, vertex.boneIndex[k], vertex.boneWeight[k]});
    }
}
