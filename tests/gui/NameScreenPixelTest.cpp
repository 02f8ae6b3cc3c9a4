// The first screen a new player sees: with the keyboard up, the title stays
// in sight above it and every text on the screen reads at 4.5:1, in the
// three languages. With TESMORA_TEST_FRAMES set, the English frame is saved.
#include "gui/GUIButton.h"
#include "gui/GUIKeyboard.h"
#include "gui/GUILabel.h"
#include "gui/GUIProgressBar.h"
#include "screens/GUINameInput.h"
#include "screens/MainMenu.h"
#include "support/GameSceneFixture.h"
#include "support/Readability.h"

USING_NS_CC;

namespace {

class NameScreenSheets : public gametest::GameScene {
protected:
    void SetUp() override
    {
        GameScene::SetUp();
        MainMenu::resetInstanceForTests();
        GUIProgressBar::resetInstanceForTests();
        GUIKeyboard::resetInstanceForTests();
    }
    void TearDown() override
    {
        GUIProgressBar::resetInstanceForTests();
        GUIKeyboard::resetInstanceForTests();
        ScreenUtils::getInstance()->setBusy(false);
        MainMenu::resetInstanceForTests();
        GameScene::TearDown();
    }
    static CCRect onScreen(CCNode* node)
    {
        const CCSize size = node->getContentSize();
        return CCRectApplyAffineTransform(CCRect(0, 0, size.width, size.height), node->nodeToWorldTransform());
    }
};

TEST_F(NameScreenSheets, TheTitleStaysAboveTheKeyboardAndEveryTextReads)
{
    for (const char* language : testsupport::kLanguages) {
        SCOPED_TRACE(language);
        testsupport::LanguageTable table(language);
        GUIKeyboard::resetInstanceForTests();
        CCScene* scene = GUINameInput::scene();
        auto* screen = static_cast<GUINameInput*>(scene->getChildren()->objectAtIndex(0));
        CCDirector::sharedDirector()->runWithScene(scene);
        stepSeconds(1.0f);
        GUIKeyboard* keyboard = GUIKeyboard::getInstance();
        ASSERT_TRUE(keyboard->isActive());
        for (const char* key : {"A", "n", "n"})
            if (GUIButton* button = keyboard->keyWithCaption(key))
                executeAction(button->getCallback());
        stepSeconds(0.2f);

        GUILabel* title = screen->getTitleLabel();
        ASSERT_NE(title, nullptr);
        const CCRect panel = onScreen(keyboard->getButtonContainer());
        const CCRect titleBox = onScreen(title);
        EXPECT_GE(titleBox.getMinY(), panel.getMaxY() - 1) << "the title is under the keyboard";
        EXPECT_LE(titleBox.getMaxY(), 600);
        EXPECT_GE(titleBox.getMinX(), 0);
        EXPECT_LE(titleBox.getMaxX(), 800);
        if (std::string(language) == "en")
            testsupport::saveTestFrame("name_screen");
        testsupport::expectReadable(title, std::string(language) + " name screen title");
        testsupport::expectReadable(keyboard, std::string(language) + " name screen keyboard");
        CCDirector::sharedDirector()->resetForTests();
    }
}

}  // namespace
