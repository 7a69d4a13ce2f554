// The viewer's set-up and its GUI handlers on a real window, scene and GUI (run under Xvfb).

#include "MyApplication.h"
#include "ModelFacts.h"
#include "NativeWindow.h"
#include "SampleFigure.h"
#include "ViewerWorkdir.h"

#include <Bites/OgreWindowEventUtilities.h>
#include <CEGUI/CEGUI.h>
#include <OgreAnimationState.h>
#include <OgreBone.h>
#include <OgreCamera.h>
#include <OgreEntity.h>
#include <OgreRenderWindow.h>
#include <OgreRoot.h>
#include <OgreSceneManager.h>
#include <OgreSceneNode.h>
#include <OgreSkeletonInstance.h>
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

// Each test has a working directory and an application of its own, both gone after it.
class ViewerTest : public ::testing::Test {
protected:
    // The second group repeats a name of the first; the third holds every prefix of a mesh file.
    static constexpr const char* resourceSections =
        "[ModelsA]\nFileSystem=models\n\n[ModelsB]\nFileSystem=more\n\n[ModelsC]\nFileSystem=cut\n";

    ViewerWorkdir workdir{resourceSections};
    size_t prefixCount = writeMoreAndCut();
    TimingLog timingLog{"timing.log"};
    std::unique_ptr<MyApplication> application;

    void SetUp() override { startApplication(); }

    void startApplication() {
        application = std::make_unique<MyApplication>();
        application->logTimingTo(timingLog);
        ASSERT_TRUE(application->startUp());
        application->buildScene();
    }

    // The folders of the second and third group; gives the number of prefixes.
    static size_t writeMoreAndCut() {
        std::filesystem::create_directory("more");
        std::filesystem::copy_file("models/offset.mesh", "more/offset.mesh");
        return writePrefixes("models/offset.mesh", "cut");
    }
    static std::string prefixName(size_t length) {
        return "cut" + std::to_string(length) + ".mesh";
    }
    static size_t writePrefixes(const char* meshFile, const std::string& folder) {
        std::filesystem::create_directory(folder);
        std::ifstream original(meshFile, std::ios::binary);
        const std::string whole(std::istreambuf_iterator<char>(original), {});
        for (size_t length = 0; length <= whole.size(); ++length)
            std::ofstream(folder + "/" + prefixName(length), std::ios::binary)
                << whole.substr(0, length);
        return whole.size() + 1;
    }

    CEGUI::Window* widget(const char* name) {
        return application->getGuiSystem()
            ->getDefaultGUIContext()
            .getRootWindow()
            ->getChildRecursive(name);
    }
    CEGUI::Combobox* meshBox() { return static_cast<CEGUI::Combobox*>(widget("cmbMeshBox")); }
    CEGUI::Listbox* animationList() { return static_cast<CEGUI::Listbox*>(widget("lbAnimations")); }
    MyFrameListener* listener() { return application->getFrameListener(); }
    Ogre::SceneManager* scene() { return application->getCamera()->getSceneManager(); }
    std::string status() { return widget("txtStatus")->getText().c_str(); }

    void click(const char* buttonName) {
        CEGUI::WindowEventArgs args(widget(buttonName));
        widget(buttonName)
            ->fireEvent(CEGUI::PushButton::EventClicked, args, CEGUI::PushButton::EventNamespace);
    }
    void acceptSelection() {
        CEGUI::WindowEventArgs args(meshBox());
        meshBox()->fireEvent(CEGUI::Combobox::EventListSelectionAccepted, args,
                             CEGUI::Combobox::EventNamespace);
    }
    void accept(const char* meshName) {
        CEGUI::ListboxItem* entry = meshBox()->findItemWithText(meshName, nullptr);
        ASSERT_NE(entry, nullptr) << meshName;
        meshBox()->setItemSelectState(entry, true);
        acceptSelection();
    }
    void play(const char* animationName) {
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
    template <typename Widget> Widget* widgetOf(const char* name) {
        return dynamic_cast<Widget*>(widget(name));
    }
    void tick(const char* boxName, bool selected) {
        widgetOf<CEGUI::ToggleButton>(boxName)->setSelected(selected);
    }
    void slide(const char* sliderName, float position) {
        widgetOf<CEGUI::Scrollbar>(sliderName)->setScrollPosition(position);
    }
    void choose(const char* animationName) {
        animationList()->setItemSelectState(
            animationList()->findItemWithText(animationName, nullptr), true);
    }
    Ogre::Quaternion upperBoneTurn() {
        return application->getEntity()->getSkeleton()->getBone(1)->getOrientation();
    }
    Ogre::AnimationState* animation(const char* name) {
        return application->getEntity()->getAnimationState(name);
    }
};

TEST_F(ViewerTest, StartsWithAnEmptySceneSeenFromZ500) {
    const Ogre::SceneNode* cameraNode = application->getCamera()->getParentSceneNode();
    EXPECT_EQ(cameraNode->getPosition(), Ogre::Vector3(0, 0, 500));
    EXPECT_EQ(cameraNode->getOrientation() * Ogre::Vector3::UNIT_Z, Ogre::Vector3::UNIT_Z);
    // The view between the panels, 800 - 240 - 250 pixels wide.
    EXPECT_FLOAT_EQ(application->getCamera()->getAspectRatio(), 310.0f / 600.0f);
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

// A damaged file and a file gone since the list was made.
TEST_F(ViewerTest, AMeshThatCannotBeLoadedLeavesNoModelAndSaysWhy) {
    meshBox()->addItem(new CEGUI::ListboxTextItem("gone.mesh", 99));
    const std::vector<std::pair<const char*, const char*>> failures = {
        {"damaged.mesh", "header is missing"}, {"gone.mesh", "gone"}};
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

// Takes a widget out of the working directory's layout file.
void removeWidgetFromLayout(const std::string& name) {
    std::ifstream original("gui/velmora.layout");
    std::string layout(std::istreambuf_iterator<char>(original), {});
    const size_t start = layout.rfind("<Window", layout.find("name=\"" + name + "\""));
    const std::string end = "</Window>";
    layout.erase(start, layout.find(end, start) + end.size() - start);
    std::ofstream("gui/velmora.layout") << layout;
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
    accept("damaged.mesh");
    root->renderOneFrame();
    accept("pillar.mesh");
    root->renderOneFrame();
    root->renderOneFrame();
    EXPECT_EQ(meshLinesOfTimingLog(),
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

// The controls on the left and the library's list on the right keep their width; the view
// between them takes the rest, its camera's aspect following it, and framing fits the model in.
TEST_F(ViewerTest, AResizedWindowKeepsThePanelsAndTheModelsProportions) {
    Ogre::RenderWindow* window = application->getWindow();
    accept("pillar.mesh");
    const float listWidth = widget("lbModels")->getPixelSize().d_width;
    for (const auto& [width, height] : {std::pair{1000u, 450u}, {800u, 600u}}) {
        EXPECT_EQ(resizeWindow(window, width, height), CEGUI::Sizef(width, height));
        const Ogre::Viewport* view = window->getViewport(0);
        EXPECT_EQ(view->getActualLeft(), 240) << width;
        EXPECT_EQ(view->getActualWidth(), static_cast<int>(width) - 240 - 250) << width;
        EXPECT_EQ(view->getActualHeight(), static_cast<int>(height)) << width;
        EXPECT_FLOAT_EQ(application->getCamera()->getAspectRatio(),
                        static_cast<float>(width - 490) / static_cast<float>(height));
        EXPECT_FLOAT_EQ(widget("lbModels")->getPixelSize().d_width, listWidth) << width;
        EXPECT_FLOAT_EQ(widget("lbAnimations")->getPixelSize().d_width, 220.0f) << width;
        const KeyEvent pressF{Key::F, 'f'};
        application->getFrameListener()->keyPressed(&pressF);
        const Ogre::Matrix4 toView = application->getCamera()->getProjectionMatrix() *
                                     application->getCamera()->getViewMatrix();
        for (const Ogre::Vector3& corner :
             application->getEntity()->getWorldBoundingBox(true).getAllCorners()) {
            const Ogre::Vector3 onView = toView * corner;
            EXPECT_LT(std::abs(onView.x), 1.0f) << width;
            EXPECT_LT(std::abs(onView.y), 1.0f) << width;
        }
    }
}

// Wave turns the pillar's upper bone for 4 s: 60 degrees at 2 s, none at the start and the end.
TEST_F(ViewerTest, LoopReplaysAfterTheEndAndPlayWithoutLoopRestsOnTheEndPose) {
    accept("pillar.mesh");
    play("Wave");
    listener()->frameStarted({0.0f, 5.0f});
    EXPECT_FLOAT_EQ(animation("Wave")->getTimePosition(), 4.0f);
    play("Wave");
    listener()->frameStarted({0.0f, 1.0f});
    EXPECT_FLOAT_EQ(animation("Wave")->getTimePosition(), 4.0f) << "Play without Loop replayed";

    tick("chkLoop", true);
    listener()->frameStarted({0.0f, 1.0f});
    EXPECT_FLOAT_EQ(animation("Wave")->getTimePosition(), 4.0f) << "ticking Loop replayed";
    play("Wave");
    EXPECT_TRUE(animation("Wave")->getLoop());
    EXPECT_FLOAT_EQ(animation("Wave")->getTimePosition(), 0.0f);
    listener()->frameStarted({0.0f, 5.0f});
    EXPECT_FLOAT_EQ(animation("Wave")->getTimePosition(), 1.0f);
    tick("chkLoop", false);
    EXPECT_FALSE(animation("Wave")->getLoop()) << "the playing animation keeps looping";
}

TEST_F(ViewerTest, TheSpeedSliderScalesTheAnimationsTimeDownToATenth) {
    EXPECT_EQ(widget("txtSpeed")->getText(), "1.0x");
    accept("pillar.mesh");
    play("Idle");
    slide("sldSpeed", 2.0f);
    listener()->frameStarted({0.0f, 0.5f});
    EXPECT_FLOAT_EQ(animation("Idle")->getTimePosition(), 1.0f);
    EXPECT_EQ(widget("txtSpeed")->getText(), "2.0x");
    slide("sldSpeed", 0.0f);
    listener()->frameStarted({0.0f, 1.0f});
    EXPECT_FLOAT_EQ(animation("Idle")->getTimePosition(), 1.1f);
    EXPECT_EQ(widget("txtSpeed")->getText(), "0.1x");
}

// Stopped, the chosen animation is posed where the slider is dragged and released by Play,
// Stop or another mesh, so that no second animation blends in.
TEST_F(ViewerTest, DraggingTheTimeSliderWhileStoppedPosesTheChosenAnimation) {
    accept("pillar.mesh");
    choose("Wave");
    application->getRoot()->renderOneFrame(); // the slider takes the animation's length
    slide("sldTime", 2.0f);
    EXPECT_TRUE(animation("Wave")->getEnabled());
    EXPECT_FLOAT_EQ(animation("Wave")->getTimePosition(), 2.0f);
    EXPECT_EQ(listener()->activeAnimation, nullptr);
    application->getRoot()->renderOneFrame();
    EXPECT_FALSE(upperBoneTurn().equals(Ogre::Quaternion::IDENTITY, Ogre::Degree(30)));
    EXPECT_EQ(widget("txtTime")->getText(), "2.00 / 4.00 s");
    slide("sldTime", 0.0f);
    application->getRoot()->renderOneFrame();
    EXPECT_TRUE(upperBoneTurn().equals(Ogre::Quaternion::IDENTITY, Ogre::Degree(0.1f)));

    slide("sldTime", 2.0f);
    play("Bend");
    EXPECT_FALSE(animation("Wave")->getEnabled());
    EXPECT_FLOAT_EQ(animation("Bend")->getTimePosition(), 0.0f);
    choose("Bend");
    slide("sldTime", 3.0f);
    EXPECT_FLOAT_EQ(animation("Bend")->getTimePosition(), 3.0f) << "the playing one moves";
}

TEST_F(ViewerTest, RescanListsAMeshAddedAfterStart) {
    std::filesystem::copy_file("models/pillar.mesh", "models/late.mesh");
    EXPECT_EQ(meshBox()->findItemWithText("late.mesh", nullptr), nullptr);
    click("btnRescan");
    EXPECT_EQ(meshBox()->getItemCount(), 6u + prefixCount);
    accept("late.mesh");
    EXPECT_NE(application->getEntity(), nullptr) << status();
    EXPECT_EQ(animationList()->getItemCount(), 3u);
}

// The layout of the first viewer: the five controls and the status line only.
TEST_F(ViewerTest, ALayoutWithoutTheModelToolWidgetsStillShowsAndPlays) {
    application.reset();
    for (const char* name : {"btnRescan", "chkLoop", "sldSpeed", "txtSpeed", "sldTime", "txtTime",
                             "chkSkeleton", "chkBounds", "chkWireframe", "txtInfo"})
        removeWidgetFromLayout(name);
    startApplication();
    accept("pillar.mesh");
    play("Wave");
    listener()->frameStarted({0.0f, 1.0f});
    application->getRoot()->renderOneFrame();
    EXPECT_FLOAT_EQ(animation("Wave")->getTimePosition(), 1.0f);
    EXPECT_EQ(widget("chkLoop"), nullptr);
}

} // namespace

namespace {

// The sample figure as Tarnwick converts it: three materials with a texture each.
class FigureTest : public ViewerTest {
protected:
    void SetUp() override {
        writeConvertedFigure("figure");
        std::ofstream("resources.cfg", std::ios::app) << "\n[Figure]\nFileSystem=figure\n";
        startApplication();
        accept("figure.mesh");
    }
    std::string info() { return widget("txtInfo")->getText().c_str(); }
};

TEST_F(FigureTest, TheFactsAreThoseOfTheSourceModel) {
    const SampleModel source = makeSampleFigure();
    const ModelFacts facts = gatherModelFacts(*application->getEntity()->getMesh());
    EXPECT_EQ(facts.fileName, "figure.mesh");
    EXPECT_EQ(facts.location, "figure");
    EXPECT_EQ(facts.vertices, source.skm.vertices.size());
    EXPECT_EQ(facts.triangles, source.skm.faces.size());
    EXPECT_EQ(facts.submeshMaterials, (std::vector<std::string>{"skin", "cloth", "leather"}));
    EXPECT_EQ(facts.bones, source.skm.bones.size());
    ASSERT_EQ(facts.animations.size(), 3u);
    EXPECT_EQ(facts.animations[1].first, "walk");
    EXPECT_GT(facts.animations[1].second, 0.0f);
    ASSERT_EQ(facts.textures.size(), 3u);
    EXPECT_EQ(facts.textures[1].name, "cloth.tga");
    for (const ModelFacts::Texture& texture : facts.textures)
        EXPECT_TRUE(texture.present) << texture.name;

    EXPECT_EQ(info().rfind("figure.mesh in figure\n" + std::to_string(facts.vertices) +
                               " vertices\n" + std::to_string(facts.triangles) + " triangles\n",
                           0),
              0u)
        << info();
    EXPECT_NE(info().find("  leather\n"), std::string::npos) << info();
    EXPECT_NE(info().find("  walk "), std::string::npos) << info();
}

TEST_F(FigureTest, ATextureDeletedSinceStartIsMarkedMissing) {
    std::filesystem::remove("figure/cloth.tga");
    accept("figure.mesh");
    EXPECT_NE(info().find("  cloth.tga missing\n"), std::string::npos) << info();
    EXPECT_NE(info().find("  skin.tga\n"), std::string::npos) << info();
    accept("damaged.mesh");
    EXPECT_EQ(info().find("vertices"), std::string::npos) << info();
}

} // namespace
