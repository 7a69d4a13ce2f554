#include "MeshList.h"

#include <CEGUI/CEGUI.h>
#include <OgreResourceGroupManager.h>

namespace {

// A list measures every entry each time one is added, so filling a list of n entries measures
// text n² / 2 times; an entry that keeps its size makes a list of thousands fill in moments.
// The text of an entry never changes once it is listed.
class ListEntry : public CEGUI::ListboxTextItem {
public:
    ListEntry(const std::string& text, unsigned int id)
        : ListboxTextItem(text, id, nullptr, false, true) {}

    CEGUI::Sizef getPixelSize() const override {
        if (!measured) {
            size = ListboxTextItem::getPixelSize();
            measured = true;
        }
        return size;
    }

private:
    mutable CEGUI::Sizef size;
    mutable bool measured = false;
};

} // namespace

CEGUI::ListboxTextItem* createListEntry(const std::string& text, unsigned int id) {
    return new ListEntry(text, id);
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
