// Every window of a game with the longest texts it may show, in the three
// languages: each button's caption lies inside the button, clear of its
// outline; no text runs off the screen or over a picture. A popup's texts
// also lie inside its panel and clear of every button on it and of their
// icons (glyph by glyph: a wrapped text's short last line may end beside a
// button), and the keyboard's keys stand inside its panel's border, all of
// one height. With TESMORA_TEST_FRAMES set, the frames are saved there.
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
#include "elements/creatures/HumanLeader.h"
#include "elements/creatures/Lander.h"
#include "elements/creatures/Robots.h"
#include "elements/creatures/Vehicles.h"
#include "hud/ParticleEditor.h"
#include "profile/Profile.h"
#include "support/CleanGame.h"
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

// The window's texts (captions aside) on the screen and clear of its pictures.
void expectTextsOnScreenAndClearOf(CCNode* root, const std::vector<CCNode*>& pictures, const std::string& where)
{
    std::vector<GUILabel*> labels;
    std::vector<CCRect> buttons;
    collect(root, labels, buttons);
    const CCRect screen(-0.5f, -0.5f, screenSize.width + 1, screenSize.height + 1);
    for (GUILabel* label : labels) {
        const CCRect box = testsupport::textBox(label);
        const std::string shown = where + ": \"" + label->getText()->getString().substr(0, 60) + "\"";
        EXPECT_TRUE(screen.containsPoint(box.origin) && screen.containsPoint(ccp(box.getMaxX(), box.getMaxY())))
            << shown << " runs off the screen, " << box.getMinX() << " to " << box.getMaxX();
        for (CCNode* picture : pictures)
            for (CCObject* glyph : *label->getChildren())
                EXPECT_FALSE(testsupport::overlapOnScreen(testsupport::screenBox(static_cast<CCNode*>(glyph)),
                                                          testsupport::screenBox(picture)))
                    << shown << " lies over a picture";
    }
}

// Keys drawn inside the panel's one-unit border, every key as tall as the others.
void expectKeysInsideTheBorder(CCSprite* panel, const std::string& where)
{
    const CCRect box = testsupport::drawnBox(panel);
    const float unit = box.size.width / panel->getContentSize().width;
    const CCRect inside(box.getMinX() + unit - 0.25f, box.getMinY() + unit - 0.25f, box.size.width - 2 * unit + 0.5f,
                        box.size.height - 2 * unit + 0.5f);
    float height = 0;
    for (CCObject* child : *panel->getChildren()) {
        auto* key = dynamic_cast<GUIButton*>(child);
        if (!key)
            continue;
        const CCRect drawn = testsupport::drawnBox(key);
        const std::string shown = where + ": the key \"" + key->getText()->getString() + "\"";
        EXPECT_TRUE(inside.containsPoint(drawn.origin) && inside.containsPoint(ccp(drawn.getMaxX(), drawn.getMaxY())))
            << shown << " runs over the panel's border";
        if (height == 0)
            height = drawn.size.height;
        EXPECT_NEAR(drawn.size.height, height, 0.25f) << shown << " is not as tall as the others";
    }
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
        layer->getGUI()->closeMenu();
        stepSeconds(0.4f);
        ScreenUtils::getInstance()->setCurrentWindow(nullptr);
    }
    // The pictures shown with texts: a purchase's, the world's beside the
    // share window's words and in the world menu.
    std::vector<CCNode*> pictures()
    {
        std::vector<CCNode*> shown;
        if (CCSprite* item = GUIPopup::getInstance()->getItemImage(); item && GUIPopup::getInstance()->isShown())
            shown.push_back(item);
        if (GUIShare* share = layer->getShareWindow(); share && share->getState() == GUIWindow::Open)
            shown.push_back(share->getSnapshot());
        if (layer->getGUI()->getOpenMenu() == GUI::kWorldMenu)
            shown.push_back(layer->getGUI()->getMenuContent()->getChildByTag(GUI::kSnapshotTag));
        shown.erase(std::remove(shown.begin(), shown.end(), nullptr), shown.end());
        return shown;
    }
    // Opens each window in turn (answering its root; a popup's, its panel)
    // and checks it as the header says.
    struct Window {
        const char* name;
        std::function<CCNode*()> open;
    };
    void checkEach(const std::string& language, const std::vector<Window>& windows, bool popups)
    {
        for (const Window& w : windows) {
            const std::string where = language + " " + w.name;
            CCNode* root = w.open();
            stepSeconds(0.5f);
            ASSERT_NE(root, nullptr) << where;
            std::string frame = "window_text_" + where;
            std::replace(frame.begin(), frame.end(), ' ', '_');
            testsupport::saveTestFrame(frame);
            if (popups) {
                EXPECT_GT(expectTextsClear(root, where), 0) << where;
            }
            testsupport::expectCaptionsFit(root, where);
            expectTextsOnScreenAndClearOf(root, pictures(), where);
            if (root == GUIKeyboard::getInstance()->getButtonContainer())
                expectKeysInsideTheBorder(static_cast<CCSprite*>(root), where);
            if (auto* editor = dynamic_cast<ParticleEditor*>(root))
                editor->close();
            closeAll();
        }
    }
};

TEST_F(PopupTexts, EveryPopupsTextsFitItsPanelItsButtonsAndItsPictures)
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
    const std::vector<Window> popups = {
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
        // The keyboard, the bar and the rating write their captions once.
        guitest::resetModalWindows();
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
        checkEach(language, popups, true);
    }
}

// The windows of a game beside the popups. Those with tests of their own
// (the goals window, the background gallery, the shop, the device editors,
// the saved worlds and the front end) meet the same caption rule there.
TEST_F(PopupTexts, EveryWindowsCaptionsFitTheirButtonsAndItsTextsTheScreen)
{
    GUI* gui = layer->getGUI();
    GUITopBar* bar = GUITopBar::getInstance();
    // Free play (mode -1), or a game mode's day with what it offers.
    const auto enter = [&](int mode, int day) {
        testsupport::testHost().freePlay = mode < 0;
        Profile::getInstance()->setGameMode(std::max(mode, 0));
        Profile::getInstance()->setDay(day);
        if (mode >= 0)
            gui->loadDaySettings("Day" + (mode ? std::to_string(mode) + "_" : "") + std::to_string(day));
    };
    const auto menu = [&](int mode, int day, int which) {
        enter(mode, day);
        gui->onMenuButton(which, nullptr);
        return gui->getMenuContent();
    };
    // A creature or vehicle on the floor, touched: its window.
    const auto touch = [&](uint32_t type, int x) -> CCNode* {
        enter(-1, 2);
        Particle* thing = world->addParticle(x, 10, type, false);
        if (!thing)
            return nullptr;
        thing->update();
        thing->onTouch();
        return dynamic_cast<CCNode*>(thing->editor);
    };
    const std::vector<Window> windows = {
        {"palette", [&] { return menu(-1, 2, GUI::kElementMenu); }},
        {"tools", [&] { return menu(-1, 2, GUI::kToolMenu); }},
        // Music level 1 offers Draw, Line, the eraser and the zoom.
        {"music level 1 tools", [&] { return menu(1, 1, GUI::kToolMenu); }},
        {"world settings", [&] { return menu(-1, 2, GUI::kWorldSettingsMenu); }},
        {"world menu", [&] { return menu(-1, 2, GUI::kWorldMenu); }},
        {"top bar",
         [&] {
             bar->buildFreeModeBar();
             return bar->getButtonContainer();
         }},
        {"campaign top bar",
         [&] {
             enter(0, 12);
             bar->buildCampaignBar();
             return bar->getButtonContainer();
         }},
        {"lander panel", [&] { return touch(MPLander::kTypeId, 10); }},
        {"human editor", [&] { return touch(HumanLeader::kTypeId, 30); }},
        {"robot editor", [&] { return touch(RobotLeader::kTypeId, 50); }},
        {"car panel", [&] { return touch(MPLeaderCar::kTypeId, 90); }},
    };
    for (const char* language : testsupport::kLanguages) {
        testsupport::LanguageTable table(language);
        // A floor, and nothing on it from the last language.
        world->reset();
        for (int x = 1; x < world->width - 1; ++x)
            for (int y = 1; y < 10; ++y)
                world->addParticle(x, y, hashString("Stone"), false);
        checkEach(language, windows, false);
    }
}

}  // namespace
