#include "MaterialScript.h"

#include "ScriptName.h"

#include <stdexcept>

void MaterialScript::add(const Ogre::MaterialPtr& material) {
    serializer.queueForExport(material, true, false);
    std::string block = serializer.getQueuedAsString();
    // The block opens with "\nmaterial <name>\n"; a name with a script spelling holds no
    // line break, so the header ends at the first one after the opening line break.
    const std::string keyword = "\nmaterial ";
    const std::size_t headerEnd = block.find('\n', 1);
    const std::optional<std::string> spelling = scriptSpelling(material->getName());
    if (!spelling || block.compare(0, keyword.size(), keyword) != 0 ||
        headerEnd == std::string::npos) {
        throw std::logic_error("material \"" + printableName(material->getName()) +
                               "\" cannot be written into the script");
    }
    block.replace(keyword.size(), headerEnd - keyword.size(), *spelling);
    text += block;
}
