#include "MyApplication.h"

#include "RepeatedMaterials.h"
#include "StartupError.h"

#include <CEGUI/CEGUI.h>
#include <CEGUI/RendererModules/Ogre/Renderer.h>
#include <OgreConfigFile.h>
#include <OgreRenderWindow.h>
#include <OgreResourceGroupManager.h>

namespace {

// The group of resources.cfg that the GUI's files are in; with models named on the command line
// it is the only group of that file used.
constexpr const char* guiGroup = "GUI";
constexpr const char* modelGroup = "Models";

} // namespace

void MyApplication::loadResourceLocations() {
    const std::string resourcesFile = configFile("resources.cfg");
    whileLoading(resourcesFile, [this, &resourcesFile] {
        Ogre::ConfigFile resources;
        resources.load(resourcesFile, "\t:=", true);
        Ogre::ResourceGroupManager& groups = Ogre::ResourceGroupManager::getSingleton();
        for (const auto& [group, settings] : resources.getSettingsBySection())
            if (setup.models.empty() || group == guiGroup)
                for (const auto& [archiveType, location] : settings)
                    groups.addResourceLocation(
                        locationInConfiguration(setup.configFolder, location), archiveType, group,
                        false);
        for (const std::string& folder : setup.models.folders)
            groups.addResourceLocation(folder, "FileSystem", modelGroup, false);
        repeatedMaterials = std::make_unique<RepeatedMaterials>();
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
