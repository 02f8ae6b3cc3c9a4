// The shop window as a player would read it, drawn by the software renderer:
// the front page, the elements page and the backgrounds page, every label at
// 4.5:1 against what lies under it and every caption inside its button, in
// the three languages; the shop's fixed texts within the room the layout
// gives them. With TESMORA_TEST_FRAMES set, the English frames are saved.
#include <gtest/gtest.h>

#include <string>

#include "gui/GUIScroll.h"
#include "hud/GUIIngameMessage.h"
#include "hud/GUITopBar.h"
#include "hud/ShopScene.h"
#include "profile/Profile.h"
#include "support/GameSceneFixture.h"
#include "support/Readability.h"

USING_NS_CC;
using namespace shoptest;

namespace {

class ShopSheets : public gametest::GameScene {
protected:
    void SetUp() override
    {
        GameScene::SetUp();
        testsupport::testHost().freePlay = true;
        GUIIngameMessage::getInstance()->setFreeModeIntroDone(true);
        enterScene(false);
        GUITopBar::getInstance()->buildFreeModeBar();
        Profile* profile = Profile::getInstance();
        profile->setMana(3500);
        profile->getPurchasedElements()->removeAllObjects();
        profile->getPurchasedElements()->addObject(CCString::create("Algae"));
        profile->getPurchasedBackgrounds()->removeAllObjects();
        profile->getUnlockedBackgrounds()->removeAllObjects();
        profile->getUnlockedBackgrounds()->addObject(CCString::create("polar"));
        PixelMarket::resetInstanceForTests();
        savedRoot = ::resourceRoot;
        ::resourceRoot = CCFileUtils::sharedFileUtils()->getResourceRoot();
    }
    void TearDown() override
    {
        PixelMarket::resetInstanceForTests();
        GUIPopup::resetInstanceForTests();
        ::resourceRoot = savedRoot;
        GameScene::TearDown();
    }
    std::string savedRoot;
};

TEST_F(ShopSheets, TheShopsPagesAreReadableInEveryLanguage)
{
    for (const char* language : testsupport::kLanguages) {
        testsupport::LanguageTable table(language);
        const bool english = std::string(language) == "en";
        const std::string where = std::string(language) + " shop ";
        PixelMarket* shop = presentShop();
        ASSERT_NE(shop, nullptr);
        stepFrames(2);
        EXPECT_EQ(shop->getCurrentOffer(), 1);
        EXPECT_EQ(textOf(shop->getManaLabel()), "3500");
        if (english)
            testsupport::saveTestFrame("shop_front_page");
        testsupport::expectReadable(shop, where + "front page");
        EXPECT_GE(testsupport::expectCaptionsFit(shop, where + "front page"), 4);

        tap(shop->getElementsButton());
        ASSERT_EQ(shop->getPageMode(), 0);
        if (english)
            testsupport::saveTestFrame("shop_elements_page");
        testsupport::expectReadable(shop, where + "elements page");
        EXPECT_GE(testsupport::expectCaptionsFit(shop, where + "elements page"), 5);
        pressBack();

        tap(shop->getBackgroundsButton());
        ASSERT_EQ(shop->getPageMode(), 1);
        if (english)
            testsupport::saveTestFrame("shop_backgrounds_page");
        testsupport::expectReadable(shop, where + "backgrounds page");
        EXPECT_GE(testsupport::expectCaptionsFit(shop, where + "backgrounds page"), 1);
        pressBack();
        pressBack();
        ASSERT_EQ(shop->getParent(), nullptr);
    }
}

// The front page's texts in the sheet's font, at the size they are drawn:
// the captions inside their 44-unit buttons, the second lines clear of their
// neighbours', the offer texts inside the 100-unit panel.
TEST_F(ShopSheets, TheShopsFixedTextsFitTheirRoom)
{
    CCSpriteFrameCache::sharedSpriteFrameCache()->addSpriteFramesWithFile("pvr/pixelmarket.plist");
    GUILabel::setFontName("pixelmarket_ach_fontButtons");
    const struct {
        const char* key;
        float room;
        bool upper;
    } budgets[] = {
        {"ShopMainElementsBut1", 42, true},
        {"ShopMainBackgroundsBut1", 42, true},
        {"ShopMainManaBut1", 42, true},
        {"ShopMainElementsBut2", 44, true},
        {"ShopMainBackgroundsBut2", 44, true},
        {"ShopMainManaBut2", 44, true},
        {"ShopMainSpecialBuyBut", 30, true},
        {"ShopMainTodaySpecialTitle", 96, false},
        {"ShopMainTodaySpecialPhrase1_1", 96, false},
        {"ShopMainTodaySpecialPhrase1_2", 96, false},
        {"ShopMainTodaySpecialPhrase2_1", 96, false},
        {"ShopMainTodaySpecialPhrase2_2", 96, false},
        {"ShopMainTodaySpecialPhrase3_1", 96, false},
        {"ShopMainTodaySpecialPhrase3_2", 96, false},
        {"OfflineBut", 96, false},
        {"ShopElemAlreadyBut", 44, true},
    };
    for (const char* language : testsupport::kLanguages) {
        testsupport::LanguageTable table(language);
        for (const auto& b : budgets) {
            const std::string text = LocalUtils::localize(b.key)->getString();
            GUILabel* label = GUILabel::create();
            label->setText(b.upper ? toUpperCCString(text) : CCString::create(text));
            EXPECT_LE(label->getWidth() * 10.0f / GUILabel::fontSize, b.room)
                << language << " " << b.key << " \"" << text << "\"";
            if (b.upper) {
                EXPECT_EQ(toUpperCCString(text)->getString(), text) << language << " " << b.key << " in capitals";
            }
        }
    }
}

}  // namespace
