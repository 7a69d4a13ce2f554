#include "ModelOverlays.h"

#include <OgreBone.h>
#include <OgreEntity.h>
#include <OgreManualObject.h>
#include <OgreMaterialManager.h>
#include <OgrePass.h>
#include <OgreSkeletonInstance.h>
#include <OgreTechnique.h>

namespace {

const char* const materialName = "VelmoraOverlayLines";
const Ogre::ColourValue boneColour(0.0f, 0.75f, 0.0f);
const Ogre::ColourValue boundsColour(0.1f, 0.3f, 0.9f);
// Half the width of a joint's cross, as a share of the model's bounding radius.
constexpr float jointCrossShare = 0.05f;

// Unlit vertex colours, drawn after the model and through it.
void createLineMaterial() {
    Ogre::MaterialManager& materials = Ogre::MaterialManager::getSingleton();
    if (materials.resourceExists(materialName, Ogre::RGN_INTERNAL))
        return;
    Ogre::MaterialPtr material = materials.create(materialName, Ogre::RGN_INTERNAL);
    Ogre::Pass* pass = material->getTechnique(0)->getPass(0);
    pass->setLightingEnabled(false);
    pass->setVertexColourTracking(Ogre::TVC_DIFFUSE);
    pass->setDepthCheckEnabled(false);
    pass->setDepthWriteEnabled(false);
    // Lines stay lines when the model is shown as a wireframe, and solid otherwise.
    pass->setPolygonModeOverrideable(false);
}

} // namespace

ModelOverlays::ModelOverlays(Ogre::SceneManager& scene, Ogre::SceneNode& modelNode)
    : scene(scene), modelNode(modelNode), lines(scene.createManualObject()) {
    createLineMaterial();
    lines->setDynamic(true);
    lines->setRenderQueueGroup(Ogre::RENDER_QUEUE_9);
    lines->setVisible(false);
    scene.addListener(this);
}

ModelOverlays::~ModelOverlays() {
    scene.removeListener(this);
}

// On a node of its own below the model's, which moves with the model but keeps its objects when
// the viewer detaches the model's.
void ModelOverlays::attachToModelNode() {
    if (lines->isAttached())
        return;
    modelNode.createChildSceneNode()->attachObject(lines);
}

void ModelOverlays::preUpdateSceneGraph(Ogre::SceneManager*, Ogre::Camera*) {
    const bool skeleton = skeletonShown && entity && entity->hasSkeleton();
    const bool bounds = boundsShown && entity;
    lines->setVisible(skeleton || bounds);
    if (!skeleton && !bounds)
        return;
    attachToModelNode();
    lines->clear();
    lines->begin(materialName, Ogre::RenderOperation::OT_LINE_LIST, Ogre::RGN_INTERNAL);
    if (skeleton)
        addSkeletonLines(*entity);
    if (bounds)
        addBoundsLines(entity->getBoundingBox());
    lines->end();
}

void ModelOverlays::addLine(const Ogre::Vector3& from, const Ogre::Vector3& to,
                            const Ogre::ColourValue& colour) {
    lines->position(from);
    lines->colour(colour);
    lines->position(to);
    lines->colour(colour);
}

void ModelOverlays::addSkeletonLines(Ogre::Entity& model) {
    // Poses the bones for this frame now; the engine then finds the entity already up to date.
    model._updateAnimation();
    const float cross = model.getBoundingRadius() * jointCrossShare;
    const Ogre::SkeletonInstance* skeleton = model.getSkeleton();
    for (unsigned short handle = 0; handle < skeleton->getNumBones(); ++handle) {
        const Ogre::Bone* bone = skeleton->getBone(handle);
        const Ogre::Vector3 joint = bone->_getDerivedPosition();
        for (const Ogre::Vector3& axis :
             {Ogre::Vector3::UNIT_X, Ogre::Vector3::UNIT_Y, Ogre::Vector3::UNIT_Z})
            addLine(joint - axis * cross, joint + axis * cross, boneColour);
        if (const Ogre::Node* parent = bone->getParent())
            addLine(parent->_getDerivedPosition(), joint, boneColour);
    }
}

void ModelOverlays::addBoundsLines(const Ogre::AxisAlignedBox& box) {
    // The engine lists the corners of the back face (0-3) and of the front face (4-7) each
    // round its face, corner 5 in front of 1, 4 of 2, 6 of 0 and 7 of 3.
    const auto corners = box.getAllCorners();
    const int edges[12][2] = {{0, 1}, {1, 2}, {2, 3}, {3, 0}, {4, 5}, {5, 6},
                              {6, 7}, {7, 4}, {0, 6}, {1, 5}, {2, 4}, {3, 7}};
    for (const auto& edge : edges)
        addLine(corners[edge[0]], corners[edge[1]], boundsColour);
}
