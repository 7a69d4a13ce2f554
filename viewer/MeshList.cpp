#include "MeshList.h"

#include <CEGUI/CEGUI.h>
#include <OgreResourceGroupManager.h>

CEGUI::ListboxTextItem* createListEntry(const std::string& text, unsigned int id) {
    return new CEGUI::ListboxTextItem(text, id, nullptr, false, true);
}

void listMeshes(CEGUI::Combobox& meshBox, const ModelLibrary& library) {
    unsigned int id = 1;
    if (!library.models.empty()) {
        for (const LibraryModel& model : library.models)
            meshBox.addItem(createListEntry(model.relativePath, id++));
        return;
    }
    Ogre::ResourceGroupManager& groups = Ogre::ResourceGroupManager::getSingleton();
    for (const std::string& group : groups.getResourceGroups()) {
        const Ogre::StringVectorPtr meshNames = groups.findResourceNames(group, "*.mesh");
        for (const std::string& meshName : *meshNames)
            meshBox.addItem(createListEntry(meshName, id++));
    }
}
