// Every popup with its longest text, in the three languages: each glyph of
// its texts lies inside the popup's panel and clear of every button on it
// and of their icons (glyph by glyph: a wrapped text's short last line may
// end beside a button). A button's own caption is the readability tests'.
// With TESMORA_TEST_FRAMES set, the frames are saved there.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "WindowsFixture.h"
#include "base/LocalUtils.h"
#include "base/Utils.h"
#include "gui/GUIButton.h"
#include "gui/GUILabel.h"
#include "hud/GUIShare.h"
#include "profile/Profile.h"
#include "support/GameSceneFixture.h"
#include "support/Readability.h"

USING_NS_CC;

namespace {

size_t characters(const std::string& s)
{
    return static_cast<size_t>(std::count_if(s.begin(), s.end(), [](unsigned char c) { return (c & 0xC0) != 0x80; }));
}

std::string text(const std::string& key)
{
    return LocalUtils::localize(key.c_str())->getString();
}

// The longest of the texts shown for the table's keys that end with the
// suffix (every key for none), and of the extra texts.
std::string longest(const std::string& suffix, const std::function<std::string(const std::string&)>& shown,
                    std::vector<std::string> texts = {})
{
    for (CCObject* object : *localizationTable->allKeys()) {
        const std::string& key = static_cast<CCString*>(object)->getString();
        if (key.size() > suffix.size() && key.compare(key.size() - suffix.size(), suffix.size(), suffix) == 0)
            texts.push_back(shown(key));
    }
    return *std::max_element(texts.begin(), texts.end(),
                             [](const std::string& a, const std::string& b) { return characters(a) < characters(b); });
}

// The level whose hints say the most, as (game mode, day).
std::pair<int, int> levelWithLongestHints()
{
    std::map<std::pair<int, int>, size_t> said;
    for (CCObject* object : *localizationTable->allKeys()) {
        const std::string& key = static_cast<CCString*>(object)->getString();
        int mode = 0, day = 0, n = 0;
        if (std::sscanf(key.c_str(), "Level%d_%dFreeHint%d", &mode, &day, &n) == 3)
            said[{mode, day}] += characters(text(key));
        else if (std::sscanf(key.c_str(), "Level%dFreeHint%d", &day, &n) == 2)
            said[{0, day}] += characters(text(key));
    }
    std::pair<int, int> best{0, 1};
    size_t most = 0;
    for (const auto& [level, length] : said)
        if (length > most && GUIPopup::levelHasHints(level.first, level.second)) {
            most = length;
            best = level;
        }
    return best;
}

void collect(CCNode* node, std::vector<GUILabel*>& labels, std::vector<CCRect>& buttons)
{
    if (!node || !node->isVisible())
        return;
    if (auto* button = dynamic_cast<GUIButton*>(node)) {
        buttons.push_back(testsupport::screenBox(button));
        if (CCSprite* icon = button->getIcon(); icon && icon->isVisible())
            buttons.push_back(testsupport::screenBox(icon));
        return;
    }
    if (auto* label = dynamic_cast<GUILabel*>(node)) {
        if (label->getText() && !label->getText()->getString().empty())
            labels.push_back(label);
        return;
    }
    if (CCArray* children = node->getChildren())
        for (CCObject* child : *children)
            collect(static_cast<CCNode*>(child), labels, buttons);
}

// Returns how many texts were looked at.
int expectTextsClear(CCNode* panel, const std::string& where)
{
    std::vector<GUILabel*> labels;
    std::vector<CCRect> buttons;
    collect(panel, labels, buttons);
    const CCRect inside = testsupport::screenBox(panel);
    for (GUILabel* label : labels) {
        int out = 0, under = 0;
        for (CCObject* glyph : *label->getChildren()) {
            const CCRect box = testsupport::screenBox(static_cast<CCNode*>(glyph));
            out += box.getMinX() < inside.getMinX() - 0.5f || box.getMaxX() > inside.getMaxX() + 0.5f ||
                box.getMinY() < inside.getMinY() - 0.5f || box.getMaxY() > inside.getMaxY() + 0.5f;
            for (const CCRect& button : buttons)
                under += testsupport::overlapOnScreen(box, button);
        }
        const std::string shown = where + ": \"" + label->getText()->getString().substr(0, 60) + "\"";
        EXPECT_EQ(out, 0) << shown << ": glyphs out of the panel";
        EXPECT_EQ(under, 0) << shown << ": glyphs under a button";
    }
    return static_cast<int>(labels.size());
}

class PopupTexts : public gametest::GameScene {
protected:
    void SetUp() override
    {
        GameScene::SetUp();
        // Day 2: day 1 would open the story's introduction over the world.
        Profile::getInstance()->setGameMode(0);
        Profile::getInstance()->setDay(2);
        enterScene(false);
        guitest::resetModalWindows();
    }
    void TearDown() override
    {
        guitest::resetModalWindows();
        GameScene::TearDown();
    }
    // Answers whatever is open and lets it go.
    void closeAll()
    {
        for (GUIWindow* modal : std::initializer_list<GUIWindow*>{GUIPopup::getInstance(), GUIKeyboard::getInstance(),
                                                                  GUIRate::getInstance()})
            if (modal->getParent())
                modal->onBackPressed();
        if (GUIProgressBar::getInstance()->getParent())
            GUIProgressBar::getInstance()->onOkPressed();
        if (GUIShare* share = layer->getShareWindow(); share && share->getState() == GUIWindow::Open)
            share->onBackPressed();
        stepSeconds(0.4f);
        ScreenUtils::getInstance()->setCurrentWindow(nullptr);
    }
};

TEST_F(PopupTexts, EveryPopupsTextsStayInsideItsPanelAndClearOfItsButtons)
{
    // The longest texts of the language in use: any text an opener may pass
    // (the server's own words among them), what the shop, the palette, the
    // goals window and the hints offer to buy, the backgrounds, the hints.
    std::string any, itemTitle, itemText, backgroundTitle, backgroundText;
    std::pair<int, int> hinted;
    const auto same = [](const std::string& key) { return text(key); };
    const auto popup = [](int kind, const std::string& message) {
        ScreenUtils::showPopup(CCString::create(message), nullptr, nullptr, nullptr, nullptr, kind);
        return GUIPopup::getInstance()->getButtonContainer();
    };
    const auto purchase = [&](const std::string& title, const char* picture, const std::string& description) {
        GUIPopup::getInstance()->setPurchaseInfo(CCString::create(title), CCString::create(picture), 2500,
                                                 CCString::create(description));
        return popup(GUIPopup::Purchase, "");
    };
    const auto hints = [&](uint32_t bought) {
        Profile* profile = Profile::getInstance();
        profile->setGameMode(hinted.first);
        profile->setDay(hinted.second);
        profile->setLevelHint(GUIPopup::hintSlot(hinted.first, hinted.second), bought);
        return popup(GUIPopup::Hints, "");
    };
    const auto progress = [](const std::string* result) {
        ScreenUtils::showUploadProgress();
        GUIProgressBar* bar = GUIProgressBar::getInstance();
        if (result) {
            bar->setResultText(CCString::create(*result));
            ScreenUtils::showProgressFailure();
            bar->setFastFill(true);
        }
        return bar->getButtonContainer();
    };
    guitest::Held<GUI> gui;
    const struct {
        const char* name;
        std::function<CCNode*()> open;  // answers the panel
    } popups[] = {
        {"confirm", [&] { return popup(GUIPopup::Confirm, any); }},
        {"purchase", [&] { return purchase(itemTitle, "element_Sand.png", itemText); }},
        {"background purchase",
         [&] { return purchase(backgroundTitle, "backgrounds/Rewards/aurora.png", backgroundText); }},
        {"message", [&] { return popup(GUIPopup::Message, any); }},
        {"share disclaimer", [&] { return popup(GUIPopup::Disclaimer, ""); }},
        {"hints to buy", [&] { return hints(0); }},
        {"hints bought", [&] { return hints(7); }},
        {"static confirm", [&] { return popup(GUIPopup::StaticConfirm, any); }},
        {"rating",
         [&] {
             ScreenUtils::showRatePopup(2, gui.get());
             return GUIRate::getInstance()->getButtonContainer();
         }},
        {"progress", [&] { return progress(nullptr); }},
        {"progress result", [&] { return progress(&any); }},
        // A name as long and as wide as may be typed.
        {"keyboard",
         [&] {
             GUILabel* name = GUILabel::create();
             name->setText(CCString::create(std::string(GUIKeyboard::kShortTextLength, 'W')));
             ScreenUtils::showKeyboard(name, nullptr, nullptr);
             return GUIKeyboard::getInstance()->getButtonContainer();
         }},
        {"share window",
         [&] {
             Profile::getInstance()->setShareCount(4);
             layer->openShareWindow(nullptr, nullptr);
             return layer->getShareWindow()->getButtonContainer();
         }},
    };
    for (const char* language : testsupport::kLanguages) {
        testsupport::LanguageTable table(language);
        any = longest("", same);
        itemTitle = longest(
            "Shop",
            [](const std::string& key) {
                const std::string element = text(key.substr(0, key.size() - 4) + "Title");
                return toUpperCCString(
                           LocalUtils::localizeWithVar("ShopElemGenericUnlockPhrase", element.c_str())->getString())
                    ->getString();
            },
            {text("SkipLevelTitle"), text("Hint")});
        itemText = longest("Shop", [](const std::string& key) { return toUpperCCString(text(key))->getString(); },
                           {text("SkipLevelDescription"), text("HintDescription")});
        backgroundTitle = longest("BkgName", same);
        backgroundText = longest("BkgDescription", same);
        hinted = levelWithLongestHints();
        for (const auto& p : popups) {
            const std::string where = std::string(language) + " " + p.name;
            CCNode* panel = p.open();
            stepSeconds(0.3f);
            ASSERT_NE(panel, nullptr) << where;
            std::string frame = "popup_text_" + where;
            std::replace(frame.begin(), frame.end(), ' ', '_');
            testsupport::saveTestFrame(frame);
            EXPECT_GT(expectTextsClear(panel, where), 0) << where;
            closeAll();
        }
    }
}

}  // namespace
