#include "MyApplication.h"

#include "Framing.h"
#include "WidgetLookup.h"

#include <OgreEntity.h>

// The Frame button is optional; the F key frames the model with any layout.
void MyApplication::connectFraming() {
    if (auto* frameButton = findOptionalWidget<CEGUI::PushButton>(guiSystem, "btnFrame"))
        frameButton->subscribeEvent(CEGUI::PushButton::EventClicked,
                                    CEGUI::Event::Subscriber(&MyApplication::handleFrame, this));
    frameListener->bindKey(Key::F, [this] { frameShownModel(); });
}

bool MyApplication::handleFrame(const CEGUI::EventArgs&) {
    frameShownModel();
    return true;
}

void MyApplication::frameShownModel() {
    if (entity)
        frameModel(*camera, entity->getWorldBoundingBox(true));
}
