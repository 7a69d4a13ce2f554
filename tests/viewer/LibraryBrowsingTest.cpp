// A library of models by relative path on a real window, scene and GUI (run under Xvfb): two
// models of one file name in different folders, each with its own textures.

#include "LibraryBrowser.h"
#include "ModelListbox.h"
#include "MyApplication.h"
#include "ShownModel.h"
#include "ToeeFiles.h"
#include "ViewerControls.h"
#include "ViewerWorkdir.h"

#include <CEGUI/CEGUI.h>
#include <OgreAnimationState.h>
#include <gtest/gtest.h>

#include <iostream>
#include <memory>

namespace fs = std::filesystem;

namespace {

class LibraryBrowsingTest : public ::testing::Test {
protected:
    // The figure twice, "plain/folk/figure.mesh" as converted and "red/folk/figure.mesh" with
    // red cloth, beside a folder without models.
    void SetUp() override {
        workdir = std::make_unique<ViewerWorkdir>("");
        writeConvertedFigure("library/plain/folk");
        writeConvertedFigure("library/red/folk");
        fs::create_directories("library/empty");
        const std::vector<uint32_t> red(64 * 64, 0xFFD01010);
        samplemodel::writeFile("library/red/folk/cloth.tga", samplemodel::writeTga(64, 64, red));
        const std::vector<std::string> paths = {"library"};
        application = std::make_unique<MyApplication>(ViewerSetup{"", paths, listModels(paths)});
        ASSERT_TRUE(application->startUp());
        application->buildScene();
    }
    void TearDown() override {
        application.reset();
        workdir.reset();
    }

    // Shows the model framed; the share of red in the picture.
    double showAndLook(const char* relativePath) {
        acceptMesh(*application, relativePath);
        EXPECT_NE(application->getEntity(), nullptr) << relativePath;
        const KeyEvent pressF{Key::F, 'f'};
        application->getFrameListener()->keyPressed(&pressF);
        return redShare(*application->getCamera());
    }

    std::unique_ptr<ViewerWorkdir> workdir;
    std::unique_ptr<MyApplication> application;
};

TEST_F(LibraryBrowsingTest, ModelsOfOneNameAreListedByPathAndShowTheirOwnTextures) {
    auto* meshBox = static_cast<CEGUI::Combobox*>(widget(*application, "cmbMeshBox"));
    ASSERT_EQ(meshBox->getItemCount(), 2u);
    EXPECT_EQ(meshBox->getListboxItemFromIndex(0)->getText(), "plain/folk/figure.mesh");
    EXPECT_EQ(meshBox->getListboxItemFromIndex(1)->getText(), "red/folk/figure.mesh");
    // Twice round, so that a folder shown again after another takes its own files again.
    for (int round = 0; round < 2; ++round) {
        EXPECT_LT(showAndLook("plain/folk/figure.mesh"), 0.001) << round;
        EXPECT_GT(showAndLook("red/folk/figure.mesh"), 0.02) << round;
    }
}

TEST_F(LibraryBrowsingTest, TypingFiltersTheListAndEnterNAndPShowTheMatches) {
    auto* list = static_cast<CEGUI::Listbox*>(widget(*application, "lbModels"));
    MyFrameListener& input = *application->getFrameListener();
    const auto press = [&input](int key, char character, bool control = false) {
        const KeyEvent event{key, character, control};
        input.keyPressed(&event);
    };
    const auto shown = [this] { return application->getLibraryBrowser().shownIndex(); };
    EXPECT_EQ(widget(*application, "txtModelCount")->getText(), "2 of 2");
    widget(*application, "edtFilter")->activate();
    press(19, 'R');
    press(Key::E, 'e');
    press(Key::D, 'D');
    EXPECT_EQ(widget(*application, "txtModelCount")->getText(), "1 of 2");
    ASSERT_EQ(list->getItemCount(), 1u);
    EXPECT_EQ(list->getListboxItemFromIndex(0)->getText(), "red/folk/figure.mesh");
    // Refilled at once, its scroll bars laid out for the new entries all the same.
    EXPECT_NE(dynamic_cast<ModelListbox*>(list), nullptr);
    EXPECT_FLOAT_EQ(list->getVertScrollbar()->getDocumentSize(), list->getTotalItemsHeight());
    EXPECT_FLOAT_EQ(list->getHorzScrollbar()->getDocumentSize(), list->getWidestItemWidth());
    press(Key::N, 'n'); // typed into the box: "redn" matches nothing
    EXPECT_EQ(shown(), std::nullopt);
    press(14, '\b'); // Backspace
    press(Key::Return, '\r');
    EXPECT_EQ(shown(), 1u);
    EXPECT_EQ(list->getFirstSelectedItem(), list->getListboxItemFromIndex(0));
    press(Key::N, 'n');
    EXPECT_EQ(shown(), 1u) << "the only match, again";

    widget(*application, "edtFilter")->setText("");
    ASSERT_EQ(list->getItemCount(), 2u);
    ASSERT_TRUE(application->getShownModel().play("wave"));
    press(Key::N, 'n');
    EXPECT_EQ(shown(), 0u) << "wrapped round";
    ASSERT_NE(application->getShownModel().playing(), nullptr);
    EXPECT_EQ(application->getShownModel().playing()->getAnimationName(), "wave");
    EXPECT_EQ(list->getFirstSelectedItem(), list->getListboxItemFromIndex(0));
    press(Key::P, 'p');
    EXPECT_EQ(shown(), 1u);
    const Ogre::Vector3 velocity = input.getVelocity(); // E and D typed above move the camera
    press(Key::Up, 0, true);
    EXPECT_EQ(shown(), 0u);
    EXPECT_EQ(input.getVelocity(), velocity) << "Ctrl+Up steps instead of moving";
}

// The panel cuts long paths; the pointer resting on an entry shows the whole path.
TEST_F(LibraryBrowsingTest, APathRestedOnShowsWholeInATooltip) {
    CEGUI::GUIContext& gui = CEGUI::System::getSingleton().getDefaultGUIContext();
    const CEGUI::Rectf rows = widget(*application, "lbModels")->getUnclippedInnerRect().get();
    gui.injectMousePosition(rows.left() + 20, rows.top() + 8);
    for (int frame = 0; frame < 20; ++frame)
        application->getFrameListener()->frameStarted({0.0f, 0.1f});
    const CEGUI::Tooltip* tooltip = gui.getDefaultTooltipObject();
    ASSERT_NE(tooltip, nullptr);
    EXPECT_TRUE(tooltip->isVisible());
    EXPECT_EQ(tooltip->getText(), "plain/folk/figure.mesh");
}

// Run in a process of its own, so that the peak is this test's.
TEST_F(LibraryBrowsingTest, MemoryStaysLevelSwitchingBetweenModelsOfOneName) {
    const char* models[] = {"plain/folk/figure.mesh", "red/folk/figure.mesh"};
    for (const char* model : models)
        showAndLook(model);
    const long firstRound = peakResidentKib();
    for (int step = 0; step < 100; ++step)
        showAndLook(models[step % 2]);
    const long afterSwitches = peakResidentKib();
    std::cout << "peak memory after the first round " << firstRound << " KiB, after 100 switches "
              << afterSwitches << " KiB\n";
    EXPECT_LT(afterSwitches, firstRound * 11 / 10);
}

} // namespace
