#include "ViewerControls.h"

#include "MyApplication.h"
#include "Screenshot.h"

#include <CEGUI/CEGUI.h>
#include <OgreDataStream.h>
#include <OgreImage.h>
#include <OgreRoot.h>
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <thread>

CEGUI::Window* widget(const MyApplication& application, const char* name) {
    return application.getGuiSystem()->getDefaultGUIContext().getRootWindow()->getChildRecursive(
        name);
}

void acceptMesh(const MyApplication& application, const std::string& text) {
    auto* meshBox = static_cast<CEGUI::Combobox*>(widget(application, "cmbMeshBox"));
    CEGUI::ListboxItem* entry = meshBox->findItemWithText(text, nullptr);
    ASSERT_NE(entry, nullptr) << text;
    meshBox->setItemSelectState(entry, true);
    CEGUI::WindowEventArgs args(meshBox);
    meshBox->fireEvent(CEGUI::Combobox::EventListSelectionAccepted, args,
                       CEGUI::Combobox::EventNamespace);
}

void renderFrames(const MyApplication& application, int count) {
    for (int frame = 0; frame < count; ++frame) {
        application.getRoot()->renderOneFrame();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

double redShare(Ogre::Camera& camera) {
    const std::string file = "red-share.png";
    EXPECT_EQ(writeScreenshot(camera, 400, 300, file), "");
    std::ifstream bytes(file, std::ios::binary);
    Ogre::DataStreamPtr stream(new Ogre::FileStreamDataStream(&bytes, false));
    Ogre::Image picture;
    picture.load(stream, "png");
    std::size_t red = 0;
    for (std::uint32_t y = 0; y < picture.getHeight(); ++y)
        for (std::uint32_t x = 0; x < picture.getWidth(); ++x) {
            const Ogre::ColourValue colour = picture.getColourAt(x, y, 0);
            if (colour.r > 0.45f && colour.g < 0.25f && colour.b < 0.25f)
                ++red;
        }
    return static_cast<double>(red) / (picture.getWidth() * picture.getHeight());
}

long peakResidentKib() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stol(line.substr(6));
    return 0;
}
