#pragma once

#include "HeadlessViewerScene.h"
#include "ModelFolder.h"

#include <gtest/gtest.h>

#include <memory>

// Tests on the converted sample figure in a headless scene, both made once per suite.
class FigureSceneTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder = std::make_unique<ModelFolder>();
        scene = std::make_unique<HeadlessViewerScene>(folder->models());
    }
    static void TearDownTestSuite() {
        scene.reset();
        folder.reset();
    }

    static inline std::unique_ptr<ModelFolder> folder;
    static inline std::unique_ptr<HeadlessViewerScene> scene;
};
