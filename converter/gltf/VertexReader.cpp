#include "VertexReader.h"

#include <OgreHardwareBuffer.h>

#include <cstring>

std::optional<std::vector<float>> readFloatElement(const Ogre::VertexData& data,
                                                   Ogre::VertexElementSemantic semantic,
                                                   int components) {
    const Ogre::VertexElement* element = data.vertexDeclaration->findElementBySemantic(semantic);
    if (element == nullptr ||
        Ogre::VertexElement::getBaseType(element->getType()) != Ogre::VET_FLOAT1 ||
        Ogre::VertexElement::getTypeCount(element->getType()) != components) {
        return std::nullopt;
    }
    const Ogre::HardwareVertexBufferSharedPtr& buffer =
        data.vertexBufferBinding->getBuffer(element->getSource());
    const std::size_t stride = buffer->getVertexSize();
    std::vector<float> values(data.vertexCount * components);
    Ogre::HardwareBufferLockGuard lock(buffer, Ogre::HardwareBuffer::HBL_READ_ONLY);
    const auto* bytes = static_cast<const char*>(lock.pData) + element->getOffset();
    for (std::size_t i = 0; i < data.vertexCount; ++i) {
        std::memcpy(&values[i * components], bytes + (data.vertexStart + i) * stride,
                    components * sizeof(float));
    }
    return values;
}

std::vector<uint32_t> readIndices(const Ogre::IndexData& data) {
    std::vector<uint32_t> indices(data.indexCount);
    if (data.indexCount == 0) {
        return indices;
    }
    const Ogre::HardwareIndexBufferSharedPtr& buffer = data.indexBuffer;
    Ogre::HardwareBufferLockGuard lock(buffer, Ogre::HardwareBuffer::HBL_READ_ONLY);
    const auto* bytes = static_cast<const char*>(lock.pData);
    for (std::size_t i = 0; i < data.indexCount; ++i) {
        const std::size_t at = data.indexStart + i;
        if (buffer->getType() == Ogre::HardwareIndexBuffer::IT_16BIT) {
            uint16_t index;
            std::memcpy(&index, bytes + at * sizeof index, sizeof index);
            indices[i] = index;
        } else {
            std::memcpy(&indices[i], bytes + at * sizeof(uint32_t), sizeof(uint32_t));
        }
    }
    return indices;
}
