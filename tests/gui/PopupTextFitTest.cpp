// Every popup with its longest text, in the three languages: each text's
// glyphs lie inside the popup's panel and clear of every button on it (and
// of the buttons' icons). A button's own caption is checked by the
// readability tests. With TESMORA_TEST_FRAMES set, the frames are saved there.
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
#include "hud/GUITopBar.h"
#include "profile/Profile.h"
#include "support/GameSceneFixture.h"
#include "support/Readability.h"

USING_NS_CC;

namespace {

size_t characters(const std::string& s)
{
    size_t n = 0;
    for (unsigned char c : s)
        n += (c & 0xC0) != 0x80;
    return n;
}

std::string upper(const std::string& s)
{
    return toUpperCCString(s)->getString();
}

bool endsWith(const std::string& s, const std::string& end)
{
    return s.size() > end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
}

// The keys of the language table, in no order.
std::vector<std::string> tableKeys()
{
    std::vector<std::string> keys;
    if (CCArray* all = localizationTable ? localizationTable->allKeys() : nullptr)
        for (CCObject* key : *all)
            keys.push_back(static_cast<CCString*>(key)->getString());
    return keys;
}

std::string text(const std::string& key)
{
    return LocalUtils::localize(key.c_str())->getString();
}

std::string longest(const std::vector<std::string>& texts)
{
    std::string best;
    for (const std::string& t : texts)
        if (characters(t) > characters(best))
            best = t;
    return best;
}

// The longest text of the table: an opener may pass any text (a refusal
// with the server's own words among them).
std::string longestOfTable()
{
    std::vector<std::string> texts;
    for (const std::string& key : tableKeys())
        texts.push_back(text(key));
    return longest(texts);
}

// What the shop, the palette, the goals window and the hints offer to buy:
// an element's title and description as they show them, a skip, a hint.
std::pair<std::string, std::string> longestItemPurchase()
{
    std::vector<std::string> titles{text("SkipLevelTitle"), text("Hint")};
    std::vector<std::string> descriptions{text("SkipLevelDescription"), text("HintDescription")};
    for (const std::string& key : tableKeys()) {
        if (!endsWith(key, "Shop"))
            continue;
        const std::string element = key.substr(0, key.size() - 4);
        titles.push_back(upper(
            LocalUtils::localizeWithVar("ShopElemGenericUnlockPhrase", text(element + "Title").c_str())->getString()));
        descriptions.push_back(upper(text(key)));
    }
    return {longest(titles), longest(descriptions)};
}

std::pair<std::string, std::string> longestBackgroundPurchase()
{
    std::vector<std::string> titles, descriptions;
    for (const std::string& key : tableKeys()) {
        if (endsWith(key, "BkgName"))
            titles.push_back(text(key));
        if (endsWith(key, "BkgDescription"))
            descriptions.push_back(text(key));
    }
    return {longest(titles), longest(descriptions)};
}

// The level whose hints say the most, as (game mode, day).
std::pair<int, int> levelWithLongestHints()
{
    std::map<std::pair<int, int>, size_t> said;
    for (const std::string& key : tableKeys()) {
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

void collect(CCNode* node, std::vector<GUILabel*>& labels, std::vector<GUIButton*>& buttons)
{
    if (!node || !node->isVisible())
        return;
    if (auto* button = dynamic_cast<GUIButton*>(node)) {
        buttons.push_back(button);
        return;  // its caption is its own
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

// Overlapping by more than half a screen pixel each way.
bool overlap(const CCRect& a, const CCRect& b)
{
    return std::min(a.getMaxX(), b.getMaxX()) - std::max(a.getMinX(), b.getMinX()) > 0.5f &&
        std::min(a.getMaxY(), b.getMaxY()) - std::max(a.getMinY(), b.getMinY()) > 0.5f;
}

bool inside(const CCRect& inner, const CCRect& outer)
{
    return inner.getMinX() >= outer.getMinX() - 0.5f && inner.getMaxX() <= outer.getMaxX() + 0.5f &&
        inner.getMinY() >= outer.getMinY() - 0.5f && inner.getMaxY() <= outer.getMaxY() + 0.5f;
}

std::string describe(const CCRect& r)
{
    char s[96];
    std::snprintf(s, sizeof s, "(%.1f, %.1f, %.1f x %.1f)", r.origin.x, r.origin.y, r.size.width, r.size.height);
    return s;
}

// Every glyph of every text on the panel inside it and clear of its buttons
// and their icons; returns how many texts were looked at. Glyph by glyph: a
// wrapped text's short last line may end beside a button.
int expectTextsClear(CCNode* panel, const std::string& where)
{
    std::vector<GUILabel*> labels;
    std::vector<GUIButton*> buttons;
    collect(panel, labels, buttons);
    std::vector<CCRect> obstacles;
    for (GUIButton* button : buttons) {
        obstacles.push_back(testsupport::screenBox(button));
        if (CCSprite* icon = button->getIcon(); icon && icon->isVisible())
            obstacles.push_back(testsupport::screenBox(icon));
    }
    const CCRect panelBox = testsupport::screenBox(panel);
    for (GUILabel* label : labels) {
        const std::string shown = where + ": \"" + label->getText()->getString().substr(0, 60) + "\"";
        int out = 0, under = 0;
        for (CCObject* child : *label->getChildren()) {
            auto* glyph = static_cast<CCNode*>(child);
            if (!glyph->isVisible())
                continue;
            const CCRect box = testsupport::screenBox(glyph);
            out += !inside(box, panelBox);
            for (const CCRect& obstacle : obstacles)
                under += overlap(box, obstacle);
        }
        EXPECT_EQ(out, 0) << shown << ": glyphs out of the panel " << describe(panelBox);
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
        if (GUIPopup::getInstance()->isShown())
            GUIPopup::getInstance()->onBackPressed();
        if (GUIProgressBar::getInstance()->getParent())
            GUIProgressBar::getInstance()->onOkPressed();
        if (GUIKeyboard::getInstance()->getParent())
            GUIKeyboard::getInstance()->onBackPressed();
        if (GUIRate::getInstance()->getParent())
            GUIRate::getInstance()->onBackPressed();
        if (GUIShare* share = layer->getShareWindow(); share && share->getState() == GUIWindow::Open)
            share->onBackPressed();
        stepSeconds(0.4f);
        ScreenUtils::getInstance()->setCurrentWindow(nullptr);
    }
};

TEST_F(PopupTexts, EveryPopupsTextsStayInsideItsPanelAndClearOfItsButtons)
{
    // The longest texts of the language in use.
    std::string anyText;
    std::pair<std::string, std::string> item, background;
    std::pair<int, int> hintedLevel;
    const auto popup = [](int kind, const std::string& message) {
        ScreenUtils::showPopup(CCString::create(message), nullptr, nullptr, nullptr, nullptr, kind);
        return GUIPopup::getInstance()->getButtonContainer();
    };
    const auto purchase = [&](const std::pair<std::string, std::string>& texts, const char* picture) {
        GUIPopup::getInstance()->setPurchaseInfo(CCString::create(texts.first), CCString::create(picture), 2500,
                                                 CCString::create(texts.second));
        return popup(GUIPopup::Purchase, "");
    };
    const auto hints = [&](uint32_t bought) {
        Profile* profile = Profile::getInstance();
        profile->setGameMode(hintedLevel.first);
        profile->setDay(hintedLevel.second);
        profile->setLevelHint(GUIPopup::hintSlot(hintedLevel.first, hintedLevel.second), bought);
        return popup(GUIPopup::Hints, "");
    };
    const auto progress = [](const std::string* result) {
        ScreenUtils::showUploadProgress();
        GUIProgressBar* bar = GUIProgressBar::getInstance();
        if (result) {
            bar->setResultText(CCString::create(*result));
            ScreenUtils::showProgressFailure();
        }
        return bar->getButtonContainer();
    };
    guitest::Held<GUI> gui;
    // Each popup: its name, what opens it with its longest text and answers
    // its panel, and how long it takes to show all of it.
    const struct {
        const char* name;
        std::function<CCNode*()> open;
        float settle;
    } popups[] = {
        {"confirm", [&] { return popup(GUIPopup::Confirm, anyText); }, 0.3f},
        {"purchase", [&] { return purchase(item, "element_Sand.png"); }, 0.3f},
        {"background purchase", [&] { return purchase(background, "backgrounds/Rewards/aurora.png"); }, 0.3f},
        {"message", [&] { return popup(GUIPopup::Message, anyText); }, 0.3f},
        {"share disclaimer", [&] { return popup(GUIPopup::Disclaimer, ""); }, 0.3f},
        {"hints to buy", [&] { return hints(0); }, 0.3f},
        {"hints bought", [&] { return hints(7); }, 0.3f},
        {"static confirm", [&] { return popup(GUIPopup::StaticConfirm, anyText); }, 0.3f},
        {"rating",
         [&] {
             ScreenUtils::showRatePopup(2, gui.get());
             return GUIRate::getInstance()->getButtonContainer();
         },
         0.3f},
        {"progress", [&] { return progress(nullptr); }, 0.3f},
        // The bar runs to its end, one step a frame, before the result shows.
        {"progress result", [&] { return progress(&anyText); }, 2.0f},
        // A name as long and as wide as may be typed.
        {"keyboard",
         [&] {
             GUILabel* name = GUILabel::create();
             name->setText(CCString::create(std::string(GUIKeyboard::kShortTextLength, 'W')));
             ScreenUtils::showKeyboard(name, nullptr, nullptr);
             return GUIKeyboard::getInstance()->getButtonContainer();
         },
         0.3f},
        {"share window",
         [&] {
             Profile::getInstance()->setShareCount(4);
             layer->openShareWindow(nullptr, nullptr);
             return layer->getShareWindow() ? layer->getShareWindow()->getButtonContainer() : nullptr;
         },
         0.3f},
    };
    for (const char* language : testsupport::kLanguages) {
        testsupport::LanguageTable table(language);
        anyText = longestOfTable();
        item = longestItemPurchase();
        background = longestBackgroundPurchase();
        hintedLevel = levelWithLongestHints();
        for (const auto& p : popups) {
            const std::string where = std::string(language) + " " + p.name;
            CCNode* panel = p.open();
            stepSeconds(p.settle);
            ASSERT_NE(panel, nullptr) << where;
            std::string frame = std::string("popup_text_") + language + "_" + p.name;
            std::replace(frame.begin(), frame.end(), ' ', '_');
            testsupport::saveTestFrame(frame);
            EXPECT_GT(expectTextsClear(panel, where), 0) << where;
            closeAll();
        }
    }
}

}  // namespace
