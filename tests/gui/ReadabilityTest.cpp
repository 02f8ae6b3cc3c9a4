// The modal windows as a player reads them: every popup kind and the
// keyboard, in the three languages, with every label at 4.5:1 against what
// lies under it and every caption inside its button. With
// TESMORA_TEST_FRAMES set, the English frames are saved there.
#include "WindowsFixture.h"
#include "gui/GUIButton.h"
#include "gui/GUILabel.h"
#include "base/LocalUtils.h"
#include "hud/GUI.h"
#include "profile/Profile.h"
#include "support/Readability.h"

USING_NS_CC;
using guitest::ModalTest;

namespace {

using Readability = ModalTest;

void expectCaptionsFit(CCNode* root, const std::string& where)
{
    EXPECT_GT(testsupport::expectCaptionsFit(root, where), 0) << where;
}

TEST_F(Readability, EveryPopupKindIsReadableAndItsCaptionsFit)
{
    const char* names[] = {"confirm", "purchase", "message", "disclaimer", "hints", "static_confirm"};
    Profile::getInstance()->setDay(1);
    for (const char* language : testsupport::kLanguages) {
        testsupport::LanguageTable table(language);
        guitest::resetModalWindows();
        GUIPopup* popup = GUIPopup::getInstance();
        for (int kind = 0; kind <= 5; ++kind) {
            const std::string where = std::string(language) + " popup " + names[kind];
            popup->setPurchaseInfo(CCString::create("UNLOCK SAND"), CCString::create("popups_godA.png"), 50,
                                   CCString::create("A heap of grains."));
            ScreenUtils::showPopup(CCString::create("Are you sure?"), nullptr, nullptr, nullptr, nullptr, kind);
            stepSeconds(0.5f);
            if (std::string(language) == "en") {
                drawScene();
                saveFrame(std::string("readable_popup_") + names[kind]);
            }
            testsupport::expectReadable(popup, where);
            expectCaptionsFit(popup, where);
            testsupport::expectOneCaptionSize(popup, where);
            popup->onBackPressed();
            stepSeconds(0.5f);
        }
    }
}

TEST_F(Readability, TheKeyboardIsReadableAndItsCaptionsFit)
{
    for (const char* language : testsupport::kLanguages) {
        testsupport::LanguageTable table(language);
        guitest::resetModalWindows();
        GUILabel* name = GUILabel::create();
        name->setText(CCString::create("Beach 2"));
        ScreenUtils::showKeyboard(name, nullptr, nullptr);
        GUIKeyboard* keyboard = GUIKeyboard::getInstance();
        stepSeconds(0.5f);
        const std::string where = std::string(language) + " keyboard";
        if (std::string(language) == "en") {
            drawScene();
            saveFrame("readable_keyboard");
        }
        testsupport::expectReadable(keyboard, where);
        expectCaptionsFit(keyboard, where);
        // The typed text and the counter are among what was measured.
        bool typed = false, counter = false;
        for (const testsupport::LabelContrast& m : testsupport::measureLabelContrast(keyboard)) {
            typed = typed || m.text == "Beach 2";
            counter = counter || m.text.find_first_of("0123456789") != std::string::npos;
        }
        EXPECT_TRUE(typed) << where;
        EXPECT_TRUE(counter) << where;
        keyboard->onBackPressed();
        stepSeconds(0.5f);
    }
}

// The text's glyphs lie inside the panel and clear of the button.
void expectInsideAndClear(GUILabel* text, CCNode* panel, CCNode* button, const std::string& where)
{
    const CCRect box = testsupport::textBox(text);
    const CCRect inside = testsupport::screenBox(panel);
    EXPECT_TRUE(inside.containsPoint(box.origin) && inside.containsPoint(ccp(box.getMaxX(), box.getMaxY()))) << where;
    EXPECT_FALSE(box.intersectsRect(testsupport::screenBox(button))) << where;
}

TEST_F(Readability, TheProgressAndRatePopupsAreReadable)
{
    // The longest failure each language shows, a refusal with as many of the
    // server's words as it can add, and a server that forgot the player, on
    // the bar and in a message.
    std::string serverWords;
    while (serverWords.size() < 200)
        serverWords += "refused ";
    for (const char* language : testsupport::kLanguages) {
        testsupport::LanguageTable table(language);
        const std::string refused = LocalUtils::localize("NetError1")->getString();
        const std::string refusal =
            refused + " " + LocalUtils::localizeWithVar("GalleryServerSays", serverWords.c_str())->getString();
        const std::string unknown = LocalUtils::localize("NetErrorPlayerUnknown")->getString();
        for (const std::string& text : {refused, refusal, unknown}) {
            const std::string where = std::string(language) + ": " + text.substr(0, 40);
            ScreenUtils::showUploadProgress();
            GUIProgressBar* bar = GUIProgressBar::getInstance();
            bar->setResultText(CCString::create(text));
            ScreenUtils::showProgressFailure();
            stepSeconds(2.5f);
            ASSERT_TRUE(bar->getOkButton()->isVisible()) << where;
            if (std::string(language) == "en" && text != unknown) {
                drawScene();
                saveFrame(text == refusal ? "readable_progress_refusal" : "readable_progress_failed");
            }
            testsupport::expectReadable(bar, "progress " + where);
            expectInsideAndClear(bar->getCaptionLabel(), bar->getButtonContainer(), bar->getOkButton(),
                                 "progress " + where);
            bar->onOkPressed();
            stepSeconds(0.5f);

            GUIPopup* popup = GUIPopup::getInstance();
            ScreenUtils::showPopup(CCString::create(text), nullptr, nullptr, nullptr, nullptr, 2);
            stepSeconds(0.5f);
            if (std::string(language) == "en" && text != unknown) {
                drawScene();
                saveFrame(text == refusal ? "readable_message_refusal" : "readable_message_failed");
            }
            testsupport::expectReadable(popup, "message " + where);
            expectInsideAndClear(popup->getMessageLabel(), popup->getButtonContainer(), popup->getOkButton(),
                                 "message " + where);
            popup->onBackPressed();
            stepSeconds(0.5f);
        }
    }

    guitest::Held<GUI> gui;
    ScreenUtils::showRatePopup(2.7f, gui.get());
    stepSeconds(0.5f);
    drawScene();
    saveFrame("readable_rate");
    testsupport::expectReadable(GUIRate::getInstance(), "rate popup");
}

TEST_F(Readability, TheRatioFollowsTheWcagFormula)
{
    EXPECT_NEAR(testsupport::contrastRatio(ccc4(255, 255, 255, 255), ccc4(0, 0, 0, 255)), 21.0, 1e-9);
    EXPECT_NEAR(testsupport::contrastRatio(ccc4(0, 0, 0, 255), ccc4(0, 0, 0, 255)), 1.0, 1e-9);
    // White on the old keyboard field: unreadable.
    EXPECT_LT(testsupport::contrastRatio(ccc4(255, 255, 255, 255), ccc4(240, 240, 240, 255)), 1.2);
    EXPECT_NEAR(testsupport::contrastRatio(ccc4(118, 118, 118, 255), ccc4(255, 255, 255, 255)), 4.54, 0.01);
}

TEST_F(Readability, AnUnreadableLabelIsCaught)
{
    // White text on a (240, 240, 240) panel, and the same text on dark blue.
    GUILabel::setFontName("gamemenus_ach_fontButtons");
    CCLayerColor* light = CCLayerColor::create(ccc4(240, 240, 240, 255), 400, 100);
    CCLayerColor* dark = CCLayerColor::create(ccc4(20, 40, 56, 255), 400, 100);
    dark->setPosition(ccp(0, 200));
    for (CCLayerColor* panel : {light, dark}) {
        scene()->addChild(panel);
        GUILabel* label = GUILabel::create();
        label->setScale(2);
        label->setText(CCString::create("Beach"));
        label->setAnchorPoint(CCPointZero);
        label->setPosition(ccp(20, 30));
        panel->addChild(label);
    }
    const std::vector<testsupport::LabelContrast> light_ = testsupport::measureLabelContrast(light);
    const std::vector<testsupport::LabelContrast> dark_ = testsupport::measureLabelContrast(dark);
    ASSERT_EQ(light_.size(), 1u);
    ASSERT_EQ(dark_.size(), 1u);
    EXPECT_LT(light_[0].ratio, 2.0);
    EXPECT_GT(light_[0].inkPixels, 20);
    EXPECT_GT(dark_[0].ratio, 10.0);
}

TEST_F(Readability, AnOverflowingCaptionIsCaught)
{
    GUILabel::setFontName("gamemenus_ach_fontButtons");
    for (const char* caption : {"OK", "Description"}) {
        GUIButton* button = GUIButton::create(nullptr, "gamemenus_editorWideButton.png", nullptr);
        button->setScale(3);
        button->setPosition(ccp(400, 300));
        button->setText(CCString::create(caption), 10);
        scene()->addChild(button);
        const std::vector<testsupport::CaptionFit> fits = testsupport::captionFits(button);
        ASSERT_EQ(fits.size(), 1u);
        EXPECT_EQ(fits[0].fits, std::string(caption) == "OK") << caption;
        button->removeFromParentAndCleanup(true);
    }
}

}  // namespace
