// The saved-worlds screen as a player reads it: the rows, the folder tabs and
// the buttons at 4.5:1 against what lies under them, and every caption inside
// its button in the three languages. With TESMORA_TEST_FRAMES set, the
// English frame is saved there.
#include "gui/GUIBatchNodeMenu.h"
#include "gui/GUIButton.h"
#include "hud/GUISaveLoad.h"
#include "support/Readability.h"
#include "support/SavedWorldsFixture.h"

USING_NS_CC;

namespace gametest {
namespace {

using SavedWorldsSheets = SavedWorlds;

CCRect onScreen(CCNode* node)
{
    const CCSize size = node->getContentSize();
    return CCRectApplyAffineTransform(CCRect(0, 0, size.width, size.height), node->nodeToWorldTransform());
}

TEST_F(SavedWorldsSheets, TheRowsTabsAndButtonsRead)
{
    enterScene(false);
    for (const char* universe : {"Beach 2", "Volcano"}) {
        name(universe);
        ASSERT_EQ(SaveLoadUtils::saveWorld(true), SaveLoadUtils::SaveResult::Saved);
    }
    for (const char* language : testsupport::kLanguages) {
        SCOPED_TRACE(language);
        testsupport::LanguageTable table(language);
        CCScene* scene = GUISaveLoad::scene();
        CCDirector::sharedDirector()->pushScene(scene);
        stepSeconds(1.0f);
        GUISaveLoad* screen = nullptr;
        for (CCObject* child : *scene->getChildren())
            if (auto* s = dynamic_cast<GUISaveLoad*>(child))
                screen = s;
        ASSERT_NE(screen, nullptr);
        ASSERT_EQ(screen->getRowCount(), 2);
        if (std::string(language) == "en")
            testsupport::saveTestFrame("saved_worlds");
        testsupport::expectReadable(screen, std::string(language) + " saved worlds");
        testsupport::expectCaptionsFit(screen, std::string(language) + " saved worlds");
        // The panel inside the window, the rows inside the panel.
        CCSpriteFrame* panelFrame =
            CCSpriteFrameCache::sharedSpriteFrameCache()->spriteFrameByName("guisaveload_saveloadWindow.png");
        CCRect panel;
        for (CCObject* child : *screen->getMenu()->getChildren())
            if (auto* sprite = dynamic_cast<CCSprite*>(child); sprite && sprite->isFrameDisplayed(panelFrame))
                panel = onScreen(sprite);
        ASSERT_GT(panel.size.width, 0);
        EXPECT_GE(panel.getMinX(), 0);
        EXPECT_LE(panel.getMaxX(), 800);
        for (CCObject* row : *screen->getRows()) {
            const CCRect box = onScreen(static_cast<CCNode*>(row));
            EXPECT_GE(box.getMinX(), panel.getMinX());
            EXPECT_LE(box.getMaxX(), panel.getMaxX()) << "a row runs past the panel's right edge";
        }
        CCDirector::sharedDirector()->popScene();
        stepSeconds(1.0f);
    }
}

}  // namespace
}  // namespace gametest
