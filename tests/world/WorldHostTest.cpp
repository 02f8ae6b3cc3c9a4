// The world asks the game only through its host: what the step does under
// each answer, and what it tells the host.
#include "WorldFixture.h"
#include "hud/ParticleEditor.h"
#include "world/CCMutableTexture2D.h"
#include "world/WorldHost.h"

using namespace worldtest;

namespace {

struct RecordingHost : WorldHost {
    bool window = false;
    bool isPaused = false;
    bool zoomed = false;
    int afterSteps = 0;
    std::vector<ParticleEditor*> destroyedEditors;

    bool windowShown() override { return window; }
    bool paused() override { return isPaused; }
    bool zoomedOut() override { return zoomed; }
    void afterStep() override { ++afterSteps; }
    // As the game's host does, the editor forgets its particle.
    void particleDestroyed(ParticleEditor* editor) override
    {
        destroyedEditors.push_back(editor);
        editor->particle = nullptr;
    }
};

}  // namespace

TEST_F(WorldTest, TheStepFollowsTheHostsAnswers)
{
    struct Case {
        const char* name;
        bool window, paused, zoomed;
        int updates, afterSteps;
    };
    const Case cases[] = {
        {"running", false, false, false, 1, 1},
        {"a window is shown", true, false, false, 0, 0},
        {"paused", false, true, false, 0, 1},
        {"zoomed out", false, false, true, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingHost host;
        host.window = c.window;
        host.isPaused = c.paused;
        host.zoomed = c.zoomed;
        setWorldHost(&host);
        Particle* p = add(20, 20, kWall);
        int updates = 0;
        updateHook = [&](Particle& q) { updates += &q == p; };
        world->step();
        EXPECT_EQ(updates, c.updates);
        EXPECT_EQ(host.afterSteps, c.afterSteps);
        updateHook = nullptr;
        world->removeParticle(20, 20);
        setWorldHost(nullptr);
    }
}

TEST_F(WorldTest, UnderThePlainHostTheWorldStepsWithoutAGame)
{
    setWorldHost(nullptr);
    ASSERT_EQ(worldHost().worldTexture(), nullptr);
    Particle* p = add(20, 20, kWall);
    int updates = 0;
    updateHook = [&](Particle& q) { updates += &q == p; };
    world->step();
    world->removeParticle(20, 20);
    EXPECT_EQ(updates, 1);
    EXPECT_EQ(world->particleCount(), 0);
}

TEST_F(WorldTest, ADestroyedParticleTellsTheHostAboutItsOpenEditorOnly)
{
    RecordingHost host;
    setWorldHost(&host);
    ParticleEditor editor;
    Particle* edited = add(10, 10, kWall);
    edited->editor = &editor;
    editor.particle = edited;
    add(11, 10, kWall);
    world->removeParticle(11, 10);
    world->removeParticle(10, 10);
    ASSERT_EQ(host.destroyedEditors.size(), 1u);
    EXPECT_EQ(host.destroyedEditors[0], &editor);
    setWorldHost(nullptr);
}

// The step writes its moves straight into the picture's pixels and marks the
// picture changed once, at its end, when it drew anything. This host hands
// out the picture for the step, then nothing for the upload, so the mark is
// still there to see.
TEST_F(WorldTest, TheStepMarksItsPictureChangedOnlyWhenItDrew)
{
    struct PictureHost : RecordingHost {
        CCMutableTexture2D* picture = nullptr;
        int asked = 0;
        CCMutableTexture2D* worldTexture() override { return asked++ == 0 ? picture : nullptr; }
    };
    CCMutableTexture2D* picture = CCMutableTexture2D::createWithSize(cocos2d::CCSize(240, 160));
    picture->retain();
    PictureHost host;
    host.picture = picture;
    setWorldHost(&host);

    Particle* sand = add(30, 30, kSand);
    picture->apply();
    world->step();  // nothing moves a test element by itself
    EXPECT_FALSE(picture->isDirty());

    host.asked = 0;
    updateHook = [&](Particle& q) {
        if (&q == sand)
            world->moveParticle(sand, 31, 30);
    };
    world->step();
    EXPECT_TRUE(picture->isDirty());
    EXPECT_EQ(picture->getPixelAt(30, 30).a, 0) << "the old cell is empty";
    const cocos2d::ccColor4B shown = picture->getPixelAt(31, 30);
    EXPECT_EQ((std::array<int, 4>{shown.r, shown.g, shown.b, shown.a}),
              (std::array<int, 4>{sand->color.r, sand->color.g, sand->color.b, sand->color.a}));

    updateHook = nullptr;
    setWorldHost(nullptr);
    picture->release();
}
