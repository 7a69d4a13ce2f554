// The viewer's set-up and its GUI handlers on a real window, scene and GUI (run under Xvfb).

#include "MyApplication.h"
#include "NativeWindow.h"
#include "ViewerWorkdir.h"

#include <Bites/OgreWindowEventUtilities.h>
#include <CEGUI/CEGUI.h>
#include <OgreAnimationState.h>
#include <OgreCamera.h>
#include <OgreEntity.h>
#include <OgreRenderWindow.h>
#include <OgreRoot.h>
#include <OgreSceneManager.h>
#include <OgreSceneNode.h>
#include <OgreViewport.h>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <thread>
#include <utility>
#include <vector>

namespace {

using Entries = std::vector<std::pair<std::string, unsigned int>>;

class ViewerTest : public ::testing::Test {
protected:
    static inline std::unique_ptr<TimingLog> timingLog;
    static inline std::unique_ptr<MyApplication> application;

    static void SetUpTestSuite() {
        // The second group repeats a name of the first; the third holds every prefix of a mesh
        // file.
        enterViewerWorkdir("[ModelsA]\nFileSystem=models\n\n[ModelsB]\nFileSystem=more\n\n"
                           "[ModelsC]\nFileSystem=cut\n");
        std::filesystem::create_directory("more");
        std::filesystem::copy("models/offset.mesh", "more/offset.mesh");
        writePrefixes("models/offset.mesh", "cut");
        timingLog = std::make_unique<TimingLog>("timing.log");
        application = std::make_unique<MyApplication>();
        application->logTimingTo(*timingLog);
        ASSERT_TRUE(application->startUp());
        application->buildScene();
    }
    static void TearDownTestSuite() {
        application.reset();
        timingLog.reset();
    }

    static inline size_t prefixCount = 0;
    static std::string prefixName(size_t length) {
        return "cut" + std::to_string(length) + ".mesh";
    }
    static void writePrefixes(const char* meshFile, const std::string& folder) {
        std::filesystem::create_directory(folder);
        std::ifstream original(meshFile, std::ios::binary);
        const std::string whole(std::istreambuf_iterator<char>(original), {});
        for (size_t length = 0; length <= whole.size(); ++length)
            std::ofstream(folder + "/" + prefixName(length), std::ios::binary)
                << whole.substr(0, length);
        prefixCount = whole.size() + 1;
    }

    void TearDown() override { listener()->quitRequested = false; }

    static CEGUI::Window* widget(const char* name) {
        return application->getGuiSystem()
            ->getDefaultGUIContext()
            .getRootWindow()
            ->getChildRecursive(name);
    }
    static CEGUI::Combobox* meshBox() {
        return static_cast<CEGUI::Combobox*>(widget("cmbMeshBox"));
    }
    static CEGUI::Listbox* animationList() {
        return static_cast<CEGUI::Listbox*>(widget("lbAnimations"));
    }
    static MyFrameListener* listener() { return application->getFrameListener(); }
    static Ogre::SceneManager* scene() { return application->getCamera()->getSceneManager(); }
    static std::string status() { return widget("txtStatus")->getText().c_str(); }

    static void click(const char* buttonName) {
        CEGUI::WindowEventArgs args(widget(buttonName));
        widget(buttonName)
            ->fireEvent(CEGUI::PushButton::EventClicked, args, CEGUI::PushButton::EventNamespace);
    }
    static void acceptSelection() {
        CEGUI::WindowEventArgs args(meshBox());
        meshBox()->fireEvent(CEGUI::Combobox::EventListSelectionAccepted, args,
                             CEGUI::Combobox::EventNamespace);
    }
    static void accept(const char* meshName) {
        CEGUI::ListboxItem* entry = meshBox()->findItemWithText(meshName, nullptr);
        ASSERT_NE(entry, nullptr) << meshName;
        meshBox()->setItemSelectState(entry, true);
        acceptSelection();
    }
    static void play(const char* animationName) {
        CEGUI::ListboxItem* entry = animationList()->findItemWithText(animationName, nullptr);
        ASSERT_NE(entry, nullptr) << animationName;
        animationList()->setItemSelectState(entry, true);
        click("btnPlay");
    }
    static Entries entriesOf(const CEGUI::Listbox& list) {
        Entries entries;
        for (size_t index = 0; index < list.getItemCount(); ++index) {
            const CEGUI::ListboxItem* entry = list.getListboxItemFromIndex(index);
            entries.emplace_back(entry->getText().c_str(), entry->getID());
        }
        return entries;
    }
    static Ogre::AnimationState* animation(const char* name) {
        return application->getEntity()->getAnimationState(name);
    }
};

TEST_F(ViewerTest, StartsWithAnEmptySceneSeenFromZ500) {
    const Ogre::SceneNode* cameraNode = application->getCamera()->getParentSceneNode();
    EXPECT_EQ(cameraNode->getPosition(), Ogre::Vector3(0, 0, 500));
    EXPECT_EQ(cameraNode->getOrientation() * Ogre::Vector3::UNIT_Z, Ogre::Vector3::UNIT_Z);
    EXPECT_FLOAT_EQ(application->getCamera()->getAspectRatio(), 800.0f / 600.0f);
    EXPECT_EQ(application->getWindow()->getName(), "OGRE Render Window");
    EXPECT_EQ(application->getModelNode()->getPosition(), Ogre::Vector3::ZERO);
    EXPECT_TRUE(scene()->hasLight("MainLight"));
}

TEST_F(ViewerTest, MeshEntriesCountFromOneAcrossGroups) {
    Entries entries;
    for (size_t index = 0; index < meshBox()->getItemCount(); ++index) {
        const CEGUI::ListboxItem* entry = meshBox()->getListboxItemFromIndex(index);
        entries.emplace_back(entry->getText().c_str(), entry->getID());
    }
    ASSERT_EQ(entries.size(), 5u + prefixCount);
    Entries firstGroup(entries.begin(), entries.begin() + 4);
    std::sort(firstGroup.begin(), firstGroup.end());
    EXPECT_EQ(firstGroup[0].first, "damaged.mesh");
    EXPECT_EQ(firstGroup[1].first, "offset.mesh");
    EXPECT_EQ(firstGroup[2].first, "orphan.mesh");
    EXPECT_EQ(firstGroup[3].first, "pillar.mesh");
    for (unsigned int id = 1; id <= entries.size(); ++id)
        EXPECT_EQ(entries[id - 1].second, id);
    EXPECT_EQ(entries[4].first, "offset.mesh");
}

TEST_F(ViewerTest, AChosenMeshIsCentredWithItsAnimationsSortedByName) {
    accept("pillar.mesh");
    Ogre::Entity* entity = application->getEntity();
    ASSERT_NE(entity, nullptr);
    EXPECT_EQ(entity->getName(), "cc");
    EXPECT_EQ(entity->getParentSceneNode(), application->getModelNode());
    EXPECT_TRUE(application->getModelNode()->getPosition().positionEquals(Ogre::Vector3(0, -100, 0),
                                                                          1e-3f));
    EXPECT_EQ(entriesOf(*animationList()), (Entries{{"Bend", 0}, {"Idle", 1}, {"Wave", 2}}));
    EXPECT_FALSE(animationList()->isDisabled());
    EXPECT_EQ(animationList()->getListboxItemFromIndex(0)->getSelectionBrushImage()->getName(),
              "TaharezLook/ListboxSelectionBrush");
}

TEST_F(ViewerTest, AMeshWithoutSkeletonHasNoAnimationsToPlay) {
    accept("offset.mesh");
    EXPECT_TRUE(
        application->getModelNode()->getPosition().positionEquals(Ogre::Vector3(-10, 0, 0), 1e-3f));
    EXPECT_EQ(animationList()->getItemCount(), 0u);
    EXPECT_FALSE(animationList()->isDisabled());
    click("btnPlay");
    EXPECT_EQ(listener()->activeAnimation, nullptr);
}

TEST_F(ViewerTest, PlayKeepsTheTimePositionAndStopDisables) {
    accept("pillar.mesh");
    play("Wave");
    Ogre::AnimationState* wave = animation("Wave");
    EXPECT_EQ(listener()->activeAnimation, wave);
    EXPECT_TRUE(wave->getEnabled());
    EXPECT_FALSE(wave->getLoop());
    listener()->frameStarted({0.0f, 0.5f});
    play("Wave");
    EXPECT_FLOAT_EQ(wave->getTimePosition(), 0.5f);

    play("Bend");
    EXPECT_FALSE(wave->getEnabled());
    EXPECT_EQ(listener()->activeAnimation, animation("Bend"));
    click("btnStop");
    EXPECT_EQ(listener()->activeAnimation, nullptr);
    EXPECT_FALSE(animation("Bend")->getEnabled());
}

TEST_F(ViewerTest, ChoosingTheShownMeshAgainStartsAfresh) {
    accept("pillar.mesh");
    play("Idle");
    listener()->frameStarted({0.0f, 1.0f});
    accept("pillar.mesh");
    EXPECT_EQ(listener()->activeAnimation, nullptr);
    EXPECT_EQ(animationList()->getFirstSelectedItem(), nullptr);
    EXPECT_EQ(animationList()->getItemCount(), 3u);
    EXPECT_EQ(animation("Idle")->getTimePosition(), 0.0f);
    EXPECT_EQ(scene()->getMovableObjects("Entity").size(), 1u);
}

TEST_F(ViewerTest, AcceptingWithoutASelectionOnlyStopsTheAnimation) {
    accept("pillar.mesh");
    play("Wave");
    Ogre::Entity* shown = application->getEntity();
    meshBox()->clearAllSelections();
    acceptSelection();
    EXPECT_EQ(listener()->activeAnimation, nullptr);
    EXPECT_EQ(application->getEntity(), shown);
    EXPECT_EQ(animationList()->getItemCount(), 3u);
}

// A damaged file, a missing skeleton and a file gone since the list was made.
TEST_F(ViewerTest, AMeshThatCannotBeLoadedLeavesNoModelAndSaysWhy) {
    meshBox()->addItem(new CEGUI::ListboxTextItem("gone.mesh", 99));
    const std::vector<std::pair<const char*, const char*>> failures = {
        {"damaged.mesh", "header is missing"}, {"orphan.mesh", "missing.skeleton"}, {"gone.mesh", "gone"}};
    for (const auto& [meshName, reason] : failures) {
        accept("pillar.mesh");
        play("Wave");
        accept(meshName);
        EXPECT_EQ(application->getEntity(), nullptr) << meshName;
        EXPECT_EQ(application->getModelNode()->numAttachedObjects(), 0u) << meshName;
        EXPECT_EQ(scene()->getMovableObjects("Entity").size(), 0u) << meshName;
        EXPECT_EQ(animationList()->getItemCount(), 0u) << meshName;
        EXPECT_EQ(listener()->activeAnimation, nullptr) << meshName;
        EXPECT_NE(status().find(std::string("Cannot show ") + meshName), std::string::npos)
            << status();
        EXPECT_NE(status().find(reason), std::string::npos) << status();
    }
    accept("pillar.mesh");
    EXPECT_NE(application->getEntity(), nullptr);
    EXPECT_EQ(status(), "");
    meshBox()->removeItem(meshBox()->findItemWithText("gone.mesh", nullptr));
}

// The engine reads a cut file as far as it goes, and stops the program on some of them; the
// viewer either shows a model or says why not, and carries on.
TEST_F(ViewerTest, EveryPrefixOfAMeshFileIsShownOrReported) {
    for (size_t length = 0; length < prefixCount; ++length) {
        const std::string meshName = prefixName(length);
        accept(meshName.c_str());
        if (application->getEntity())
            EXPECT_EQ(status(), "") << length;
        else
            EXPECT_EQ(status().rfind("Cannot show " + meshName + ": ", 0), 0u) << length;
    }
    EXPECT_NE(application->getEntity(), nullptr) << status();
}

TEST_F(ViewerTest, ExitEndsTheLoopAtTheNextFrame) {
    click("btnExit");
    EXPECT_TRUE(listener()->quitRequested);
    EXPECT_FALSE(listener()->frameStarted({0.0f, 0.0f}));
}

std::vector<std::string> meshLinesOfTimingLog() {
    std::ifstream file("timing.log");
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);)
        if (line.rfind("mesh-", 0) == 0)
            lines.push_back(line.substr(0, line.find(' ')) + line.substr(line.rfind(' ')));
    return lines;
}

// The log hears of the frame from the engine itself; a mesh that cannot be shown has no frame.
TEST_F(ViewerTest, TheTimingLogMarksTheFirstFrameOfEachShownMesh) {
    Ogre::Root* root = application->getRoot();
    root->renderOneFrame(); // the first frame of meshes that other tests showed
    const size_t earlier = meshLinesOfTimingLog().size();
    accept("damaged.mesh");
    root->renderOneFrame();
    accept("pillar.mesh");
    root->renderOneFrame();
    root->renderOneFrame();
    const std::vector<std::string> lines = meshLinesOfTimingLog();
    ASSERT_GE(lines.size(), earlier);
    EXPECT_EQ(std::vector<std::string>(lines.begin() + static_cast<long>(earlier), lines.end()),
              (std::vector<std::string>{"mesh-accepted damaged.mesh", "mesh-accepted pillar.mesh",
                                        "mesh-frame pillar.mesh"}));
}

// Resizes as a user would and lets the window's messages arrive.
CEGUI::Sizef resizeWindow(Ogre::RenderWindow* window, unsigned int width, unsigned int height) {
    resizeNativeWindow(window, width, height);
    const CEGUI::Sizef wanted(static_cast<float>(width), static_cast<float>(height));
    const CEGUI::Renderer* gui = CEGUI::System::getSingleton().getRenderer();
    for (int attempt = 0; attempt < 100 && gui->getDisplaySize() != wanted; ++attempt) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        OgreBites::WindowEventUtilities::messagePump();
    }
    return gui->getDisplaySize();
}

TEST_F(ViewerTest, AResizedWindowKeepsTheModelsProportions) {
    Ogre::RenderWindow* window = application->getWindow();
    EXPECT_EQ(resizeWindow(window, 900, 450), CEGUI::Sizef(900, 450));
    EXPECT_FLOAT_EQ(application->getCamera()->getAspectRatio(), 2.0f);
    EXPECT_EQ(resizeWindow(window, 800, 600), CEGUI::Sizef(800, 600));
    EXPECT_FLOAT_EQ(application->getCamera()->getAspectRatio(), 800.0f / 600.0f);
}

} // namespace
