#pragma once

#include "ModelLibrary.h"

#include <string>

namespace CEGUI {
class Combobox;
class ListboxTextItem;
} // namespace CEGUI

// An entry of the viewer's lists, owned by the list it is added to.
CEGUI::ListboxTextItem* createListEntry(const std::string& text, unsigned int id);

// Fills the mesh box: the library's models by relative path, entry ID n + 1 for model n, or,
// without a library, every mesh of every resource group. Entry IDs count from 1 across groups;
// a name found in two groups is listed twice.
void listMeshes(CEGUI::Combobox& meshBox, const ModelLibrary& library);
