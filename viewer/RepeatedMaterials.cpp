#include "RepeatedMaterials.h"

#include <OgreLogManager.h>
#include <OgreMaterialManager.h>

RepeatedMaterials::RepeatedMaterials() {
    Ogre::ScriptCompilerManager::getSingleton().setListener(this);
}

RepeatedMaterials::~RepeatedMaterials() {
    auto* compilers = Ogre::ScriptCompilerManager::getSingletonPtr();
    if (compilers && compilers->getListener() == this)
        compilers->setListener(nullptr);
}

bool RepeatedMaterials::handleEvent(Ogre::ScriptCompiler*, Ogre::ScriptCompilerEvent* event,
                                    void* result) {
    if (event->mType != Ogre::CreateMaterialScriptCompilerEvent::eventType)
        return false;
    const auto* creation = static_cast<Ogre::CreateMaterialScriptCompilerEvent*>(event);
    Ogre::MaterialManager& materials = Ogre::MaterialManager::getSingleton();
    if (!materials.resourceExists(creation->mName, creation->mResourceGroup))
        return false;
    ++repeated;
    Ogre::LogManager::getSingleton().logWarning(creation->mFile + " defines the material " +
                                                creation->mName +
                                                " again; the first definition is kept");
    const std::string standIn = "repeated " + std::to_string(repeated) + " of " + creation->mName;
    *static_cast<Ogre::Material**>(result) =
        materials.create(standIn, creation->mResourceGroup).get();
    return true;
}
