// The shown model driven as the command line's pictures drive it, without touching a control
// (run under Xvfb, on the test models).

#include "ShownModel.h"
#include "MyApplication.h"
#include "ViewerWorkdir.h"

#include <OgreAnimationState.h>
#include <OgreCamera.h>
#include <OgreEntity.h>
#include <OgreSceneNode.h>
#include <gtest/gtest.h>

#include <vector>

namespace {

class ShownModelTest : public ::testing::Test {
protected:
    ViewerWorkdir workdir{"[Models]\nFileSystem=models\n"};
    MyApplication application;
    ShownModel* shown = nullptr;

    void SetUp() override {
        ASSERT_TRUE(application.startUp());
        application.buildScene();
        shown = &application.getShownModel();
        ASSERT_EQ(shown->show("pillar.mesh"), "");
    }
    Ogre::AnimationState* animation(const char* name) {
        return shown->entity()->getAnimationState(name);
    }
};

// A pose holds one animation, played once through; another pose or Play lets it go, and what
// plays is what the frames advance.
TEST_F(ShownModelTest, OnePoseAtATimeAndPlayLetsItGo) {
    EXPECT_EQ(shown->animationNames(), (std::vector<std::string>{"Bend", "Idle", "Wave"}));
    ASSERT_TRUE(shown->pose("Wave", 5.0f));
    EXPECT_TRUE(animation("Wave")->getEnabled());
    EXPECT_FLOAT_EQ(animation("Wave")->getTimePosition(), 4.0f) << "a pose does not wrap";
    ASSERT_TRUE(shown->pose("Bend", 1.0f));
    EXPECT_FALSE(animation("Wave")->getEnabled());

    ASSERT_TRUE(shown->play("Idle"));
    EXPECT_FALSE(animation("Bend")->getEnabled());
    EXPECT_EQ(shown->playing(), animation("Idle"));
    EXPECT_EQ(application.getFrameListener()->activeAnimation, animation("Idle"));
    shown->seek("Bend", 0.5f);
    EXPECT_FLOAT_EQ(animation("Idle")->getTimePosition(), 0.5f) << "the playing one moves";
    EXPECT_FALSE(animation("Bend")->getEnabled());

    EXPECT_FALSE(shown->pose("Jump", 1.0f));
    EXPECT_FALSE(shown->play("Jump"));
    EXPECT_EQ(shown->playing(), animation("Idle"));
    shown->stop();
    EXPECT_EQ(application.getFrameListener()->activeAnimation, nullptr);
    EXPECT_FALSE(animation("Idle")->getEnabled());
}

TEST_F(ShownModelTest, AMeshThatCannotBeShownLeavesNothingToPlayOrFrame) {
    ASSERT_TRUE(shown->play("Wave"));
    EXPECT_EQ(shown->show("gone.mesh").rfind("Cannot show gone.mesh: ", 0), 0u);
    EXPECT_EQ(shown->entity(), nullptr);
    EXPECT_EQ(shown->playing(), nullptr);
    EXPECT_TRUE(shown->animationNames().empty());
    EXPECT_FALSE(shown->facts());
    EXPECT_FALSE(shown->play("Wave"));
    Ogre::SceneNode* cameraNode = application.getCamera()->getParentSceneNode();
    shown->frame(*application.getCamera());
    EXPECT_EQ(cameraNode->getPosition(), Ogre::Vector3(0, 0, 500));
}

} // namespace
