// The converted sample figure with one of its files damaged at random, some hundreds of times
// over (a fixed seed), each mesh taken through what the viewer does to show it: the check of its
// files, then the engine's entity. Every copy is either refused with a reason, or refused by the
// engine with an exception the viewer reports, or shown; one that is shown must hold nothing the
// engine or its renderer would read out of bounds, and must animate.
#include "FigureSceneTest.h"
#include "MeshFileCheck.h"

#include <OgreAnimationState.h>
#include <OgreEntity.h>
#include <OgreMesh.h>
#include <OgreSkeletonInstance.h>
#include <OgreSubEntity.h>
#include <OgreSubMesh.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>

namespace {

constexpr int mutantCount = 360;

// Offsets just past the chunk headers of the file: where counts, handles and indices begin.
std::vector<std::size_t> chunkBodies(const std::string& bytes) {
    static const std::vector<std::uint16_t> ids = {0x2000, 0x3000, 0x4000, 0x4010, 0x4100,
                                                   0x4110, 0x5000, 0x5110, 0x5200, 0x7000};
    std::vector<std::size_t> bodies;
    for (std::size_t offset = 0; offset + 10 < bytes.size(); ++offset) {
        std::uint16_t id;
        std::uint32_t length;
        std::memcpy(&id, bytes.data() + offset, sizeof id);
        std::memcpy(&length, bytes.data() + offset + 2, sizeof length);
        if (std::find(ids.begin(), ids.end(), id) != ids.end() && length <= bytes.size() - offset &&
            length > 6)
            bodies.push_back(offset + 6);
    }
    return bodies;
}

class Mutator {
public:
    explicit Mutator(unsigned seed) : random(seed) {}

    std::string mutate(std::string bytes) {
        switch (pick(4)) {
        case 0: // bytes changed anywhere
            for (std::size_t count = 1 + pick(8); count > 0; --count)
                bytes[pick(bytes.size())] = static_cast<char>(pick(256));
            return bytes;
        case 1: // cut
            return bytes.substr(0, pick(bytes.size()));
        case 2: // a chunk's length changed
            return withValueAt(bytes, pickBody(bytes) - 4, 4, pick(bytes.size() * 2));
        default: // a count, handle or index in a chunk set large
            return withValueAt(bytes, pickBody(bytes) + 2 * pick(8), 2 << pick(2), largeValue());
        }
    }

private:
    std::size_t pick(std::size_t bound) { return random() % bound; }
    std::size_t pickBody(const std::string& bytes) {
        const std::vector<std::size_t> bodies = chunkBodies(bytes);
        return bodies.empty() ? 4 : bodies[pick(bodies.size())];
    }
    std::uint32_t largeValue() {
        static const std::uint32_t values[] = {0xFFFFFFFF, 0x7FFFFFFF, 0x10000, 0xFFFF, 0x8000,
                                               0x100,      300,        20,      19};
        return values[pick(std::size(values))];
    }
    static std::string withValueAt(std::string bytes, std::size_t offset, std::size_t width,
                                   std::uint32_t value) {
        if (offset + width <= bytes.size())
            std::memcpy(bytes.data() + offset, &value, width);
        return bytes;
    }

    std::mt19937 random;
};

// Every index a subentity draws with lies within the vertices it draws from.
void expectIndicesWithinVertices(Ogre::Entity& entity) {
    for (std::size_t index = 0; index < entity.getNumSubEntities(); ++index) {
        const Ogre::SubMesh& submesh = *entity.getSubEntity(index)->getSubMesh();
        const Ogre::VertexData* vertices =
            submesh.useSharedVertices ? submesh.parent->sharedVertexData : submesh.vertexData;
        ASSERT_NE(vertices, nullptr);
        const Ogre::IndexData& indices = *submesh.indexData;
        if (indices.indexCount == 0)
            continue;
        Ogre::HardwareBufferLockGuard lock(indices.indexBuffer,
                                           Ogre::HardwareBuffer::HBL_READ_ONLY);
        const bool wide = indices.indexBuffer->getType() == Ogre::HardwareIndexBuffer::IT_32BIT;
        for (std::size_t at = 0; at < indices.indexCount; ++at) {
            const std::uint32_t value = wide ? static_cast<const std::uint32_t*>(lock.pData)[at]
                                             : static_cast<const std::uint16_t*>(lock.pData)[at];
            ASSERT_LT(value, vertices->vertexCount) << "submesh " << index;
        }
    }
}

// Every bone the vertices are bound to is a bone of the skeleton the entity animates.
void expectBonesWithinSkeleton(Ogre::Entity& entity) {
    if (!entity.hasSkeleton())
        return;
    const unsigned short bones = entity.getSkeleton()->getNumBones();
    const Ogre::Mesh& mesh = *entity.getMesh();
    for (unsigned short bone : mesh.sharedBlendIndexToBoneIndexMap)
        ASSERT_LT(bone, bones);
    for (std::size_t index = 0; index < mesh.getNumSubMeshes(); ++index)
        for (unsigned short bone : mesh.getSubMesh(index)->blendIndexToBoneIndexMap)
            ASSERT_LT(bone, bones);
}

void playEveryAnimation(Ogre::Entity& entity) {
    Ogre::AnimationStateSet* animations = entity.getAllAnimationStates();
    if (!animations)
        return;
    for (const auto& [name, animation] : animations->getAnimationStates()) {
        animation->setEnabled(true);
        animation->addTime(0.25f);
        entity._updateAnimation();
        animation->setEnabled(false);
    }
}

class ModelMutationTest : public FigureSceneTest {
protected:
    // What the viewer would say: the reason it refuses the mesh, or empty when it shows it.
    static std::string show() {
        scene->reloadFolder();
        const std::string fault = modelFilesFault(ModelFolder::meshName, Ogre::RGN_AUTODETECT);
        if (!fault.empty())
            return fault;
        Ogre::Entity* entity = nullptr;
        try {
            entity = scene->scene().createEntity("cc", ModelFolder::meshName);
        } catch (const Ogre::Exception& error) {
            return error.getDescription();
        }
        expectIndicesWithinVertices(*entity);
        expectBonesWithinSkeleton(*entity);
        playEveryAnimation(*entity);
        entity->getBoundingBox();
        scene->scene().destroyEntity(entity);
        return "";
    }
};

TEST_F(ModelMutationTest, TheSoundFigureIsShown) {
    folder->restore();
    EXPECT_EQ(show(), "");
}

TEST_F(ModelMutationTest, DamagedCopiesAreRefusedOrShownSafely) {
    Mutator mutator(20261207);
    int refused = 0;
    for (int mutant = 0; mutant < mutantCount; ++mutant) {
        folder->restore();
        // Mostly the mesh, which holds the most the engine trusts; then the skeleton; a few
        // material scripts, which the engine parses when the group is read.
        const int which = mutant % 10;
        ModelFolder::File file = which < 6   ? ModelFolder::File::mesh
                                 : which < 9 ? ModelFolder::File::skeleton
                                             : ModelFolder::File::material;
        folder->replace(file, mutator.mutate(folder->original(file)));
        const std::string answer = show();
        if (!answer.empty())
            ++refused;
        if (HasFatalFailure())
            FAIL() << "copy " << mutant << " of " << folder->fileName(file);
    }
    // Many mutations must hit what the check guards, or the test proves little (with this seed
    // about half of them do).
    EXPECT_GT(refused, mutantCount / 3);
    folder->restore();
    EXPECT_EQ(show(), "");
}

} // namespace
