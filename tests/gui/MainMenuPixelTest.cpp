// The title screen as drawn: the backdrop fills the screen behind the title,
// the buttons, the mana and the player's name. With TESMORA_TEST_FRAMES set,
// the frame is saved there as main-menu.png.
#include "GuiFixture.h"

#include <algorithm>

#include "gui/GUILabel.h"
#include "support/Readability.h"
#include "profile/Profile.h"
#include "screens/MainMenu.h"

USING_NS_CC;

namespace {

class MainMenuPixels : public guitest::GuiTest {
protected:
    void TearDown() override
    {
        MainMenu::resetInstanceForTests();
        GuiTest::TearDown();
    }
    int brightness(int x, int y) const
    {
        const ccColor4B c = at(x, y);
        return c.r + c.g + c.b;
    }
};

TEST_F(MainMenuPixels, TheBackdropFillsTheScreenDarkAboveAndLighterTowardsTheHorizon)
{
    Profile::getInstance()->setNickname(CCString::create("Ada"));
    Profile::getInstance()->setMana(3500);
    MainMenu::resetInstanceForTests();
    CCDirector::sharedDirector()->replaceScene(MainMenu::scene());
    stepSeconds(1.0f);
    drawScene();
    saveFrame("main-menu");

    int black = 0, samples = 0;
    for (int y = 0; y < 600; y += 10)
        for (int x = 0; x < 800; x += 10, ++samples)
            black += brightness(x, y) < 30 ? 1 : 0;
    EXPECT_LT(black * 20, samples) << "under 5 % black: a scene, not a black screen";
    // GL y: 580 is near the top, 300 the middle of the sky's height.
    EXPECT_LT(brightness(30, 580), brightness(30, 360)) << "a dusk sky, lighter towards the horizon";
    // The title is drawn in gold over the sky, around the top's middle.
    int gold = 0;
    for (int y = 430; y < 510; ++y)
        for (int x = 250; x < 550; ++x) {
            const ccColor4B c = at(x, y);
            gold += c.r > 200 && c.g > 130 && c.b < 150 ? 1 : 0;
        }
    EXPECT_GT(gold, 300) << "the title's gold letters";

    // The mana figure centred in its box (the box's centre is where the
    // label stands), readable there.
    GUILabel* mana = MainMenu::getInstance()->getManaLabel();
    ASSERT_NE(mana, nullptr);
    float left = 800, right = 0;
    for (CCObject* glyph : *mana->getChildren()) {
        auto* node = static_cast<CCNode*>(glyph);
        left = std::min(left, node->convertToWorldSpace(CCPointZero).x);
        right = std::max(right, node->convertToWorldSpace(ccp(node->getContentSize().width, 0)).x);
    }
    const CCPoint centre = mana->getParent()->convertToWorldSpace(mana->getPosition());
    EXPECT_NEAR((left + right) / 2, centre.x, 3) << "across";
    // Up and down: the digits' middle, four of the font's eight pixels above the baseline.
    const CCPoint baseline = mana->convertToWorldSpace(CCPointZero);
    const float digitsMiddle = baseline.y + 4 * mana->getCumulativeScale();
    EXPECT_NEAR(digitsMiddle, centre.y, 3) << "up and down";
    testsupport::expectReadable(mana, "main menu mana");
}

}  // namespace
