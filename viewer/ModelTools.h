#pragma once

#include "AnimationControls.h"
#include "ModelOverlays.h"
#include "WindowScreenshot.h"

#include <memory>

namespace CEGUI {
class Combobox;
class Window;
} // namespace CEGUI

// The viewer's controls for looking closely at a model, beside the ones that choose and play it:
// animation loop, speed and time, the overlays, the model's facts, the rescan of the resource
// locations and the screenshot key. Widgets the layout lacks are null and their feature off.
struct ModelTools {
    std::unique_ptr<AnimationControls> animationControls;
    std::unique_ptr<ModelOverlays> overlays;
    std::unique_ptr<ScreenshotTaker> screenshots;
    CEGUI::Combobox* meshBox = nullptr;
    CEGUI::Window* infoText = nullptr;
};
