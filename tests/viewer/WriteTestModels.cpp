// Writes the small models the viewer's tests show, through the engine's own serializers:
//   pillar.mesh   a box on a two-bone skeleton (pillar.skeleton) with the animations Wave, Bend
//                 and Idle, created in that order so that only sorting lists them by name
//   offset.mesh   a box without skeleton whose bounding box is centred at (10, 0, 0)
//   orphan.mesh   the pillar's geometry naming a skeleton file that does not exist
//   damaged.mesh  bytes that are no mesh
// and, given a second directory, cubes built at the extremes of scale into it:
//   tiny.mesh     a cube of 1 unit (a model built in metres)
//   huge.mesh     a cube of 10,000 units (a building)
// Usage: write_test_models <directory> [<scale directory>]

#include <OgreAnimation.h>
#include <OgreBone.h>
#include <OgreDefaultHardwareBufferManager.h>
#include <OgreKeyFrame.h>
#include <OgreLogManager.h>
#include <OgreMaterialManager.h>
#include <OgreMesh.h>
#include <OgreMeshManager.h>
#include <OgreMeshSerializer.h>
#include <OgreRoot.h>
#include <OgreSkeleton.h>
#include <OgreSkeletonManager.h>
#include <OgreSkeletonSerializer.h>
#include <OgreSubMesh.h>

#include <array>
#include <fstream>
#include <iostream>

namespace {

constexpr float pillarHeight = 200.0f;
constexpr float pillarWidth = 40.0f;

// The six faces of a box as outward normals with two in-face axes each.
struct Face {
    Ogre::Vector3 normal, u, v;
};
const std::array<Face, 6> boxFaces = {{
    {Ogre::Vector3::UNIT_X, Ogre::Vector3::UNIT_Y, Ogre::Vector3::UNIT_Z},
    {Ogre::Vector3::NEGATIVE_UNIT_X, Ogre::Vector3::UNIT_Z, Ogre::Vector3::UNIT_Y},
    {Ogre::Vector3::UNIT_Y, Ogre::Vector3::UNIT_Z, Ogre::Vector3::UNIT_X},
    {Ogre::Vector3::NEGATIVE_UNIT_Y, Ogre::Vector3::UNIT_X, Ogre::Vector3::UNIT_Z},
    {Ogre::Vector3::UNIT_Z, Ogre::Vector3::UNIT_X, Ogre::Vector3::UNIT_Y},
    {Ogre::Vector3::NEGATIVE_UNIT_Z, Ogre::Vector3::UNIT_Y, Ogre::Vector3::UNIT_X},
}};

// A box from `low` to `high`: four vertices (position, normal) and two triangles per face.
Ogre::MeshPtr createBox(const std::string& name, const Ogre::Vector3& low,
                        const Ogre::Vector3& high) {
    std::vector<float> vertices;
    std::vector<Ogre::uint16> indices;
    const Ogre::Vector3 centre = (low + high) / 2, half = (high - low) / 2;
    for (const Face& face : boxFaces) {
        const auto first = static_cast<Ogre::uint16>(vertices.size() / 6);
        for (const auto& [su, sv] : {std::pair{-1, -1}, {1, -1}, {1, 1}, {-1, 1}}) {
            const Ogre::Vector3 corner = centre + (face.normal + face.u * su + face.v * sv) * half;
            vertices.insert(vertices.end(), {corner.x, corner.y, corner.z, face.normal.x,
                                             face.normal.y, face.normal.z});
        }
        for (int corner : {0, 1, 2, 0, 2, 3})
            indices.push_back(static_cast<Ogre::uint16>(first + corner));
    }
    Ogre::MeshPtr mesh = Ogre::MeshManager::getSingleton().createManual(name, "General");
    mesh->sharedVertexData = new Ogre::VertexData();
    mesh->sharedVertexData->vertexCount = vertices.size() / 6;
    Ogre::VertexDeclaration* declaration = mesh->sharedVertexData->vertexDeclaration;
    declaration->addElement(0, 0, Ogre::VET_FLOAT3, Ogre::VES_POSITION);
    declaration->addElement(0, 12, Ogre::VET_FLOAT3, Ogre::VES_NORMAL);
    Ogre::HardwareBufferManager& buffers = Ogre::HardwareBufferManager::getSingleton();
    auto vertexBuffer = buffers.createVertexBuffer(24, mesh->sharedVertexData->vertexCount,
                                                   Ogre::HardwareBuffer::HBU_STATIC);
    vertexBuffer->writeData(0, vertexBuffer->getSizeInBytes(), vertices.data());
    mesh->sharedVertexData->vertexBufferBinding->setBinding(0, vertexBuffer);
    Ogre::SubMesh* subMesh = mesh->createSubMesh();
    subMesh->useSharedVertices = true;
    subMesh->setMaterialName("TestModel");
    subMesh->indexData->indexCount = indices.size();
    subMesh->indexData->indexBuffer = buffers.createIndexBuffer(
        Ogre::HardwareIndexBuffer::IT_16BIT, indices.size(), Ogre::HardwareBuffer::HBU_STATIC);
    subMesh->indexData->indexBuffer->writeData(0, indices.size() * 2, indices.data());
    mesh->_setBounds(Ogre::AxisAlignedBox(low, high), false);
    mesh->_setBoundingSphereRadius((high - low).length() / 2);
    return mesh;
}

void addTurn(Ogre::Skeleton& skeleton, const std::string& name, const Ogre::Vector3& axis,
             float degrees) {
    Ogre::Animation* animation = skeleton.createAnimation(name, 4.0f);
    Ogre::NodeAnimationTrack* track = animation->createNodeTrack(1, skeleton.getBone(1));
    for (float time : {0.0f, 2.0f, 4.0f}) {
        const float share = time == 2.0f ? 1.0f : 0.0f;
        track->createNodeKeyFrame(time)->setRotation(
            Ogre::Quaternion(Ogre::Degree(degrees * share), axis));
    }
}

Ogre::SkeletonPtr createPillarSkeleton() {
    Ogre::SkeletonPtr skeleton =
        Ogre::SkeletonManager::getSingleton().create("pillar.skeleton", "General");
    Ogre::Bone* base = skeleton->createBone("base", 0);
    base->createChild(1, Ogre::Vector3(0, pillarHeight / 2, 0));
    skeleton->setBindingPose();
    addTurn(*skeleton, "Wave", Ogre::Vector3::UNIT_Z, 60.0f);
    addTurn(*skeleton, "Bend", Ogre::Vector3::UNIT_X, 60.0f);
    addTurn(*skeleton, "Idle", Ogre::Vector3::UNIT_Y, 10.0f);
    return skeleton;
}

Ogre::MeshPtr createPillar(const std::string& name, const std::string& skeletonName) {
    Ogre::MeshPtr mesh = createBox(name, Ogre::Vector3(-pillarWidth / 2, 0, -pillarWidth / 2),
                                   Ogre::Vector3(pillarWidth / 2, pillarHeight, pillarWidth / 2));
    mesh->setSkeletonName(skeletonName);
    const float* position = nullptr;
    Ogre::HardwareVertexBufferSharedPtr buffer =
        mesh->sharedVertexData->vertexBufferBinding->getBuffer(0);
    Ogre::HardwareBufferLockGuard lock(buffer, Ogre::HardwareBuffer::HBL_READ_ONLY);
    position = static_cast<const float*>(lock.pData);
    for (size_t vertex = 0; vertex < mesh->sharedVertexData->vertexCount; ++vertex) {
        const bool upper = position[vertex * 6 + 1] > pillarHeight / 2;
        mesh->addBoneAssignment(
            {static_cast<unsigned int>(vertex), static_cast<unsigned short>(upper ? 1 : 0), 1.0f});
    }
    return mesh;
}

void writeMaterial(const std::string& directory) {
    std::ofstream(directory + "/test.material") << "material TestModel\n"
                                                   "{\n"
                                                   "    technique\n"
                                                   "    {\n"
                                                   "        pass\n"
                                                   "        {\n"
                                                   "            ambient 0.8 0.1 0.1\n"
                                                   "            diffuse 0.8 0.1 0.1\n"
                                                   "        }\n"
                                                   "    }\n"
                                                   "}\n";
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        std::cerr << "usage: write_test_models <directory> [<scale directory>]\n";
        return 2;
    }
    const std::string directory = argv[1];
    Ogre::LogManager logManager;
    logManager.createLog("write_test_models.log", true, false, true);
    Ogre::DefaultHardwareBufferManager bufferManager;
    Ogre::Root root("", "", "");
    Ogre::MaterialManager::getSingleton().initialise();
    // Submeshes keep the name of a material only when the engine knows it.
    Ogre::MaterialManager::getSingleton().create("TestModel", "General");

    Ogre::SkeletonSerializer().exportSkeleton(createPillarSkeleton().get(),
                                              directory + "/pillar.skeleton");
    Ogre::MeshSerializer meshes;
    meshes.exportMesh(createPillar("pillar.mesh", "pillar.skeleton").get(),
                      directory + "/pillar.mesh");
    meshes.exportMesh(createPillar("orphan.mesh", "missing.skeleton").get(),
                      directory + "/orphan.mesh");
    meshes.exportMesh(
        createBox("offset.mesh", Ogre::Vector3(-10, -30, -30), Ogre::Vector3(30, 30, 30)).get(),
        directory + "/offset.mesh");
    std::ofstream(directory + "/damaged.mesh") << "this is not a mesh";
    writeMaterial(directory);
    if (argc == 3) {
        const std::string scaleDirectory = argv[2];
        for (const auto& [name, side] : {std::pair{"tiny.mesh", 1.0f}, {"huge.mesh", 10000.0f}})
            meshes.exportMesh(
                createBox(name, Ogre::Vector3(-side / 2), Ogre::Vector3(side / 2)).get(),
                scaleDirectory + "/" + name);
        writeMaterial(scaleDirectory);
    }
    return 0;
}
