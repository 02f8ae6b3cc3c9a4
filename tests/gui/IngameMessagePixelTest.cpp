// The message pages as a player reads them, in the three languages: every
// text readable on its page (4.5:1), within the page's eight lines and clear
// of the button, every caption inside its button. With TESMORA_TEST_FRAMES
// set, one English page of each sequence is saved there.
#include "hud/IngameMessageFixture.h"
#include "support/Readability.h"

#include <set>

USING_NS_CC;
using messagetest::MessageScene;

namespace {

class IngameMessagePages : public MessageScene {
protected:
    static std::string fileName(std::string name)
    {
        for (char& c : name)
            if (c == ' ' || c == '-')
                c = '_';
        return name;
    }

    // Checks the page on show; the text's lowest line must stay above the
    // button's top (y 30) where the two share columns.
    void checkPage(const std::string& where)
    {
        testsupport::expectReadable(message(), where);
        EXPECT_GT(testsupport::expectCaptionsFit(message(), where), 0) << where;
        testsupport::expectOneCaptionSize(message(), where);
        GUILabel* text = pageText();
        ASSERT_NE(text, nullptr) << where;
        EXPECT_LE(text->getLineCount(), 7) << where << ": " << text->getText()->getString();
        EXPECT_LE(text->getWidth() * text->getScale(), GUIIngameMessage::kTextWidth + 1) << where;
        EXPECT_LE(text->getPosition().x + GUIIngameMessage::kTextWidth, GUIIngameMessage::kPanelRight) << where;
        // Lines apart: a line's descenders (two font pixels) and the next
        // line's tallest letters (eight) never meet.
        std::set<float> baselines;
        for (CCObject* glyph : *text->getChildren())
            baselines.insert(static_cast<CCNode*>(glyph)->getPosition().y);
        for (auto it = baselines.begin(); it != baselines.end() && std::next(it) != baselines.end(); ++it)
            EXPECT_GE(*std::next(it) - *it, GUILabel::fontSize + 1) << where << ": lines touch";
        // The picture inside the panel's border, the text beside it.
        for (CCObject* child : *message()->getBackground()->getChildren()) {
            auto* sprite = dynamic_cast<CCSprite*>(child);
            if (!sprite || dynamic_cast<GUILabel*>(sprite) || dynamic_cast<GUIButton*>(sprite))
                continue;
            const CCRect box = sprite->boundingBox();
            if (box.getMinY() >= GUIIngameMessage::kPanelTop)
                continue;  // a glow round a button of the bar
            EXPECT_GE(box.getMinX(), GUIIngameMessage::kPanelLeft) << where << ": the picture covers the border";
            EXPECT_LE(box.getMaxY(), GUIIngameMessage::kPanelTop) << where;
            EXPECT_LE(box.getMaxX(), text->getPosition().x) << where << ": the picture runs under the text";
        }
    }
};

TEST_F(IngameMessagePages, EveryPageIsReadableInEveryLanguage)
{
    enterQuietly();
    for (const char* language : testsupport::kLanguages) {
        testsupport::LanguageTable table(language);
        const bool english = std::string(language) == "en";
        for (const messagetest::Sequence& sequence : messagetest::sequences()) {
            if (std::string(sequence.name) == "outro")
                continue;  // it leaves the scene: below
            message()->setFreeModeIntroDone(false);
            sequence.open();
            for (size_t i = 0; i < sequence.pages.size(); ++i) {
                const std::string where =
                    std::string(language) + " " + sequence.name + " page " + std::to_string(i + 1);
                stepFrames(2);
                checkPage(where);
                if (english && i + 1 == sequence.pages.size())
                    testsupport::saveTestFrame("message_" + fileName(sequence.name));
                click(message()->getPageButton());
            }
            stepSeconds(0.4f);
            layer->setSuppressGoalsWindow(false);
        }
        GUIIngameMessage::resetInstanceForTests();
        message()->setFreeModeIntroDone(true);
        ScreenUtils::showFreeModeMessage();
        stepFrames(2);
        checkPage(std::string(language) + " free-mode message");
        if (english)
            testsupport::saveTestFrame("message_choice");
        GUIIngameMessage::resetInstanceForTests();
        ScreenUtils::showOutro();
        stepFrames(2);
        checkPage(std::string(language) + " outro");
        if (english)
            testsupport::saveTestFrame("message_outro");
        GUIIngameMessage::resetInstanceForTests();
        ScreenUtils::getInstance()->setCurrentWindow(nullptr);
    }
}

TEST_F(IngameMessagePages, TheGlowsRingTheTopBarButtonsTheyPointAt)
{
    // Each highlight's ring (its frame's upper 21 rows) lies round the
    // button it names, in the layout of the bar the sequence runs under.
    struct Case {
        const char* sequence;
        bool freeBar;
        std::function<void()> open;
        int page;
        std::function<GUIButton*()> button;
        std::function<GUIButton*()> also;  // a second button the same ring takes in
    };
    GUITopBar* bar = GUITopBar::getInstance();
    const Case cases[] = {
        {"story 3: element menu", false, [] { ScreenUtils::showStoryIntroduction(); }, 3,
         [bar] { return bar->getElementMenuButton(); }, nullptr},
        {"story 4: day button", false, [] { ScreenUtils::showStoryIntroduction(); }, 4,
         [bar] { return bar->getDayButton(); }, nullptr},
        {"story 5: mana", false, [] { ScreenUtils::showStoryIntroduction(); }, 5,
         [bar] { return bar->getManaButton(); }, nullptr},
        {"free 2: undo and pause", true, [] { ScreenUtils::showFreeModeIntroduction(); }, 2,
         [bar] { return bar->getUndoButton(); }, [bar] { return bar->getPlayPauseButton(); }},
        {"free 4: world menu", true, [] { ScreenUtils::showFreeModeIntroduction(); }, 4,
         [bar] { return bar->getWorldMenuButton(); }, nullptr},
        {"free 5: camera", true, [] { ScreenUtils::showFreeModeIntroduction(); }, 5,
         [bar] { return bar->getCameraButton(); }, nullptr},
        {"day 2: world settings", false, [] { ScreenUtils::showStoryReminder(2); }, 1,
         [bar] { return bar->getWorldSettingsButton(); }, nullptr},
        {"day 3: element menu", false, [] { ScreenUtils::showStoryReminder(3); }, 1,
         [bar] { return bar->getElementMenuButton(); }, nullptr},
        {"day 4: world menu", false, [] { ScreenUtils::showStoryReminder(4); }, 1,
         [bar] { return bar->getWorldMenuButton(); }, nullptr},
    };
    enterQuietly();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sequence);
        if (c.freeBar)
            bar->buildFreeModeBar();
        else
            bar->buildCampaignBar();
        GUIIngameMessage::resetInstanceForTests();
        c.open();
        for (int i = 1; i < c.page; ++i)
            click(message()->getPageButton());
        CCSprite* glow = nullptr;
        for (CCObject* child : *message()->getBackground()->getChildren()) {
            auto* sprite = dynamic_cast<CCSprite*>(child);
            if (sprite && sprite->getPosition().y > 150)
                glow = sprite;
        }
        ASSERT_NE(glow, nullptr);
        GUIButton* target = c.button();
        ASSERT_NE(target, nullptr);
        const CCSize g = glow->getContentSize();
        const CCRect ring =
            CCRectApplyAffineTransform(CCRect(0, g.height - 21, g.width, 21), glow->nodeToWorldTransform());
        const CCSize b = target->getContentSize();
        CCRect button = CCRectApplyAffineTransform(CCRect(0, 0, b.width, b.height), target->nodeToWorldTransform());
        if (c.also) {
            GUIButton* second = c.also();
            ASSERT_NE(second, nullptr);
            const CCRect other =
                CCRectApplyAffineTransform(CCRect(0, 0, b.width, b.height), second->nodeToWorldTransform());
            button.size.width = other.getMaxX() - button.getMinX();
        }
        const float slack = 4.0f * static_cast<float>(screenRatio);  // a page unit, about
        EXPECT_LE(ring.getMinX(), button.getMinX() + slack);
        EXPECT_GE(ring.getMaxX(), button.getMaxX() - slack);
        EXPECT_LE(ring.getMinY(), button.getMinY() + slack);
        EXPECT_GE(ring.getMaxY(), button.getMaxY() - slack);
        EXPECT_LT(ring.size.width, button.size.width + 8 * slack) << "shaped to the button, not a wide band";
    }
}

}  // namespace
