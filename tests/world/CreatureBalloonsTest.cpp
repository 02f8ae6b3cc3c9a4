// Every speech balloon a human shows has its balloon and icon frames in the
// generated overlay sheet.
#include "support/GameSceneFixture.h"
#include "world/OverLayer.h"

USING_NS_CC;

namespace gametest {
namespace {

TEST_F(GameScene, EveryCreatureBalloonIsAFrameOfTheOverlaySheet)
{
    const std::pair<const char*, const char*> balloons[] = {
        {"saying", "newMiner"},       {"saying", "newWoodcutter"},       {"saying", "newHunter"},
        {"saying", "newBuilder"},     {"thinking", "newHunter"},         {"thinking", "brain"},
        {"saying", "ateFood"},        {"thinking", "needFood"},          {"thinking", "needStone"},
        {"thinking", "needWood"},     {"thinking", "needAluminite"},     {"thinking", "cold"},
        {"thinking", "needResource"}, {"thinking", "gatheredFood"},      {"thinking", "gatheredStone"},
        {"thinking", "gatheredWood"}, {"thinking", "gatheredAluminite"},
    };
    enterScene();
    OverLayer* overlay = world->overLayer;
    ASSERT_NE(overlay, nullptr);
    for (const auto& [kind, text] : balloons)
        EXPECT_NE(overlay->showBalloon(CCString::create(kind), CCString::create(text), 10, 10), nullptr)
            << kind << " " << text;
}

}  // namespace
}  // namespace gametest
