#include "MyApplication.h"

#include "StartupError.h"

#include <CEGUI/CEGUI.h>
#include <CEGUI/RendererModules/Ogre/Renderer.h>
#include <OgreConfigFile.h>
#include <OgreRenderWindow.h>
#include <OgreResourceGroupManager.h>

void MyApplication::loadResourceLocations() {
    whileLoading("resources.cfg", [] {
        Ogre::ConfigFile resources;
        resources.load("resources.cfg", "\t:=", true);
        Ogre::ResourceGroupManager& groups = Ogre::ResourceGroupManager::getSingleton();
        for (const auto& [group, settings] : resources.getSettingsBySection())
            for (const auto& [archiveType, location] : settings)
                groups.addResourceLocation(location, archiveType, group, false);
        groups.initialiseAllResourceGroups();
    });
}

void MyApplication::setUpGui() {
    // CEGUI reports its own exceptions on standard error; the program's entry reports them once.
    CEGUI::Exception::setStdErrEnabled(false);
    guiRenderer = &CEGUI::OgreRenderer::bootstrapSystem(*window);
    guiSystem = CEGUI::System::getSingletonPtr();
    CEGUI::Logger::getSingleton().setLoggingLevel(CEGUI::Informative);
    whileLoading("TaharezLook.scheme",
                 [] { CEGUI::SchemeManager::getSingleton().createFromFile("TaharezLook.scheme"); });
    CEGUI::GUIContext& gui = guiSystem->getDefaultGUIContext();
    gui.getMouseCursor().setDefaultImage("TaharezLook/MouseArrow");
    // Without explicit bounds the cursor is held at a position outside the display.
    gui.getMouseCursor().setConstraintArea(nullptr);
    whileLoading("Tahoma-12.font",
                 [] { CEGUI::FontManager::getSingleton().createFromFile("Tahoma-12.font"); });
    gui.setDefaultFont("Tahoma-12");
    whileLoading("velmora.layout", [&gui] {
        gui.setRootWindow(
            CEGUI::WindowManager::getSingleton().loadLayoutFromFile("velmora.layout"));
    });
}
