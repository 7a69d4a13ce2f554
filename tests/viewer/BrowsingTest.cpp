// What a user does around the shown model on a real window, scene and GUI (run under Xvfb):
// framing it, browsing many meshes, a mesh without its skeleton, and keys held when the window
// loses the focus.

#include "FocusThief.h"
#include "MyApplication.h"
#include "ShownModel.h"
#include "ViewerControls.h"
#include "ViewerWorkdir.h"

#include <CEGUI/CEGUI.h>
#include <OgreBone.h>
#include <OgreCamera.h>
#include <OgreEntity.h>
#include <OgreMeshManager.h>
#include <OgreRenderWindow.h>
#include <OgreRoot.h>
#include <OgreSceneNode.h>
#include <OgreSkeletonInstance.h>
#include <OgreSkeletonManager.h>
#include <OgreTextureManager.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>

namespace {

class BrowsingTest : public ::testing::Test {
protected:
    static inline std::unique_ptr<MyApplication> application;

    // Each test on an application and working directory of its own, removed even when it fails.
    void SetUp() override {
        // The cubes of the scale folder use the material of the models folder.
        workdir = std::make_unique<ViewerWorkdir>(
            "[Models]\nFileSystem=models\nFileSystem=scale\nFileSystem=figure\n");
        const std::string writers =
            std::string(WRITE_TEST_MODELS) + " unused scale && " + WRITE_SAMPLE_MODEL +
            " source >/dev/null && " + TARNWICK + " source/figure.skm figure/figure.mesh " +
            ">/dev/null && cp source/*.tga figure/ && rm scale/test.material";
        std::filesystem::create_directories("unused");
        std::filesystem::create_directories("scale");
        std::filesystem::create_directories("figure");
        ASSERT_EQ(std::system(writers.c_str()), 0);
        application = std::make_unique<MyApplication>();
        ASSERT_TRUE(application->startUp());
        application->buildScene();
    }
    void TearDown() override {
        application.reset();
        workdir.reset();
    }

    std::unique_ptr<ViewerWorkdir> workdir;

    static CEGUI::Window* widget(const char* name) { return ::widget(*application, name); }
    static std::string status() { return widget("txtStatus")->getText().c_str(); }
    static void accept(const char* meshName) { acceptMesh(*application, meshName); }
    static void clickFrame() {
        CEGUI::WindowEventArgs args(widget("btnFrame"));
        widget("btnFrame")
            ->fireEvent(CEGUI::PushButton::EventClicked, args, CEGUI::PushButton::EventNamespace);
    }
    static Ogre::SceneNode* cameraNode() { return application->getCamera()->getParentSceneNode(); }
    static void renderFrames(int count) { ::renderFrames(*application, count); }
};

// The share of the view that the shown model's bounding box covers on screen, along the axis
// where it covers the most: a view narrower than high is filled across.
float shareOnScreen(const Ogre::Camera& camera, const Ogre::AxisAlignedBox& bounds) {
    const Ogre::Matrix4 toScreen = camera.getProjectionMatrix() * camera.getViewMatrix();
    Ogre::Vector3 low(1.0f), high(-1.0f);
    for (const Ogre::Vector3& corner : bounds.getAllCorners()) {
        low.makeFloor(toScreen * corner);
        high.makeCeil(toScreen * corner);
    }
    return std::max(high.x - low.x, high.y - low.y) / 2;
}

TEST_F(BrowsingTest, FrameFitsATinyAndAHugeModelWholeInTheView) {
    for (const char* meshName : {"tiny.mesh", "huge.mesh", "pillar.mesh"}) {
        accept(meshName);
        cameraNode()->yaw(Ogre::Degree(40));
        cameraNode()->setPosition(3, 700, -9);
        clickFrame();
        const Ogre::Camera& camera = *application->getCamera();
        const Ogre::AxisAlignedBox bounds = application->getEntity()->getWorldBoundingBox(true);
        const float share = shareOnScreen(camera, bounds);
        EXPECT_GE(share, 0.4f) << meshName;
        EXPECT_LE(share, 0.9f) << meshName;
        EXPECT_EQ(cameraNode()->getOrientation(), Ogre::Quaternion::IDENTITY) << meshName;
        // Nothing of the model lies outside the clip distances.
        const float distance = cameraNode()->getPosition().distance(bounds.getCenter());
        const float radius = bounds.getHalfSize().length();
        EXPECT_LT(camera.getNearClipDistance(), distance - radius) << meshName;
        EXPECT_GT(camera.getFarClipDistance(), distance + radius) << meshName;
    }
}

// Mid-wave the raised hand stands far above the box of the binding pose.
TEST_F(BrowsingTest, TheFKeyFramesAModelInThePoseItPlays) {
    accept("figure.mesh");
    ASSERT_TRUE(application->getShownModel().play("wave"));
    application->getFrameListener()->frameStarted({0.0f, 1.0f});
    const KeyEvent pressF{Key::F, 'f'};
    application->getFrameListener()->keyPressed(&pressF);
    Ogre::Entity& figure = *application->getEntity();
    figure.getSkeleton()->setAnimationState(*figure.getAllAnimationStates());
    const Ogre::Camera& camera = *application->getCamera();
    const Ogre::Matrix4 toView = camera.getProjectionMatrix() * camera.getViewMatrix();
    const Ogre::Affine3& toWorld = figure.getParentNode()->_getFullTransform();
    float highest = -1.0f;
    for (const Ogre::Bone* bone : figure.getSkeleton()->getBones()) {
        const Ogre::Vector3 onView = toView * (toWorld * bone->_getDerivedPosition());
        EXPECT_LT(std::abs(onView.x), 0.95f) << bone->getName();
        highest = std::max(highest, onView.y);
    }
    EXPECT_LT(highest, 0.9f) << "the raised hand's bone is at the view's edge";
}

TEST_F(BrowsingTest, TheFKeyFramesAndChoosingAMeshLeavesTheCameraWhereItIs) {
    accept("huge.mesh");
    cameraNode()->setPosition(0, 0, 500);
    accept("tiny.mesh");
    EXPECT_EQ(cameraNode()->getPosition(), Ogre::Vector3(0, 0, 500));
    const KeyEvent pressF{Key::F, 'f'};
    application->getFrameListener()->keyPressed(&pressF);
    EXPECT_LT(cameraNode()->getPosition().z, 10.0f);
    const KeyEvent releaseF{Key::F, 0};
    application->getFrameListener()->keyReleased(&releaseF);
}

TEST_F(BrowsingTest, AMeshWithoutItsSkeletonShowsStillAndSaysWhy) {
    accept("orphan.mesh");
    ASSERT_NE(application->getEntity(), nullptr);
    EXPECT_EQ(application->getEntity()->getParentSceneNode(), application->getModelNode());
    EXPECT_NE(status().find("orphan.mesh is shown still"), std::string::npos) << status();
    EXPECT_NE(status().find("missing.skeleton"), std::string::npos) << status();
    EXPECT_EQ(static_cast<CEGUI::Listbox*>(widget("lbAnimations"))->getItemCount(), 0u);
    accept("pillar.mesh");
    EXPECT_EQ(status(), "");
}

bool isLoaded(Ogre::ResourceManager& manager, const char* name) {
    Ogre::ResourcePtr resource = manager.getResourceByName(name, Ogre::RGN_AUTODETECT);
    return resource && resource->isLoaded();
}

TEST_F(BrowsingTest, SwitchingAwayUnloadsWhatTheNextMeshDoesNotUse) {
    accept("figure.mesh");
    renderFrames(1);
    Ogre::TextureManager& textures = Ogre::TextureManager::getSingleton();
    ASSERT_TRUE(isLoaded(textures, "skin.tga"));
    accept("figure.mesh");
    EXPECT_TRUE(isLoaded(Ogre::MeshManager::getSingleton(), "figure.mesh"));
    EXPECT_TRUE(isLoaded(Ogre::SkeletonManager::getSingleton(), "figure.skeleton"));
    accept("pillar.mesh");
    EXPECT_FALSE(isLoaded(Ogre::MeshManager::getSingleton(), "figure.mesh"));
    EXPECT_FALSE(isLoaded(Ogre::SkeletonManager::getSingleton(), "figure.skeleton"));
    for (const char* texture : {"skin.tga", "cloth.tga", "leather.tga"})
        EXPECT_FALSE(isLoaded(textures, texture)) << texture;
    accept("figure.mesh");
    renderFrames(1);
    EXPECT_TRUE(isLoaded(textures, "skin.tga"));
}

// Run in a process of its own, so that the peak is this test's.
TEST_F(BrowsingTest, MemoryStaysBoundedWhileBrowsing) {
    const std::vector<const char*> meshNames = {"figure.mesh", "pillar.mesh", "tiny.mesh",
                                                "offset.mesh", "huge.mesh"};
    for (const char* meshName : meshNames) {
        accept(meshName);
        renderFrames(1);
    }
    const long firstRound = peakResidentKib();
    for (size_t step = 0; step < 200; ++step) {
        accept(meshNames[step % meshNames.size()]);
        renderFrames(1);
    }
    const long afterSwitches = peakResidentKib();
    std::cout << "peak memory after the first round " << firstRound << " KiB, after 200 switches "
              << afterSwitches << " KiB\n";
    EXPECT_LT(afterSwitches, firstRound * 13 / 10);
}

void xdotool(const std::string& arguments) {
    ASSERT_EQ(std::system(("xdotool " + arguments).c_str()), 0) << arguments;
}

// With real keys: W held while the focus goes to another window, and released there.
TEST_F(BrowsingTest, AKeyHeldWhenTheFocusGoesStopsMovingTheCamera) {
    unsigned long viewer = 0;
    application->getWindow()->getCustomAttribute("WINDOW", &viewer);
    FocusThief other;
    const MyFrameListener& listener = *application->getFrameListener();
    xdotool("windowfocus --sync " + std::to_string(viewer));
    renderFrames(5);
    xdotool("keydown w");
    renderFrames(10);
    EXPECT_EQ(listener.getVelocity(), Ogre::Vector3(0, 0, -100));
    xdotool("windowfocus --sync " + std::to_string(other.id()));
    renderFrames(10);
    EXPECT_EQ(listener.getVelocity(), Ogre::Vector3::ZERO);
    xdotool("keyup w");
    xdotool("windowfocus --sync " + std::to_string(viewer));
    renderFrames(10);
    EXPECT_EQ(listener.getVelocity(), Ogre::Vector3::ZERO);
}

} // namespace
