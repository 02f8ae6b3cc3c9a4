// Every notice the top bar can slide down, told the way the game tells it,
// in the three languages: its whole text lies inside the notice panel and
// left of its icon, or of the check box (in its place, with its tick) when
// it has none.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "base/LocalUtils.h"
#include "campaigns/Campaigns.h"
#include "campaigns/story/StoryMissions.h"
#include "goals/GoalsTesting.h"
#include "gui/GUILabel.h"
#include "hud/GUI.h"
#include "hud/GUITopBar.h"
#include "hud/PaletteTable.h"
#include "support/GameSceneFixture.h"
#include "support/Readability.h"

USING_NS_CC;

namespace {

// The language table's keys that end with the suffix, whole or without it.
std::vector<std::string> keysEndingWith(const std::string& suffix, bool whole = false)
{
    std::vector<std::string> found;
    for (CCObject* object : *localizationTable->allKeys()) {
        const std::string& key = static_cast<CCString*>(object)->getString();
        if (key.size() > suffix.size() && key.compare(key.size() - suffix.size(), suffix.size(), suffix) == 0)
            found.push_back(whole ? key : key.substr(0, key.size() - suffix.size()));
    }
    return found;
}

CCArray* names(const std::vector<std::string>& items)
{
    CCArray* list = CCArray::create();
    for (const std::string& item : items)
        list->addObject(CCString::create(item));
    return list;
}

void expectFits(GUITopBar* bar, const std::string& text, const std::string& icon, const std::string& where)
{
    GUILabel* label = bar->getNotificationLabel();
    CCSprite* panel = bar->getNotificationPanel();
    EXPECT_EQ(label->getText()->getString(), text) << where << ": cut";
    CCSprite* mark = icon.empty() ? bar->getCheckBox() : bar->getNotificationIcon();
    ASSERT_NE(mark, nullptr) << where << ": no " << (icon.empty() ? "check box" : icon);
    ASSERT_EQ(mark->getParent(), panel) << where;
    if (icon.empty()) {
        EXPECT_TRUE(mark->getPosition().equals(ccp(panel->getContentSize().width - 4, 10))) << where;
        EXPECT_EQ(mark->getChildrenCount(), 1u) << where << ": the tick";
    }
    const CCRect inside = testsupport::screenBox(panel);
    const CCRect box = testsupport::textBox(label);
    EXPECT_FALSE(box.getMinX() < inside.getMinX() - 0.5f || box.getMaxX() > inside.getMaxX() + 0.5f ||
                 box.getMinY() < inside.getMinY() - 0.5f || box.getMaxY() > inside.getMaxY() + 0.5f)
        << where << ": \"" << text << "\": glyphs out of the panel";
    EXPECT_LE(box.getMaxX(), testsupport::screenBox(mark).getMinX() + 0.5f)
        << where << ": \"" << text << "\": glyphs on or past its icon or check box";
}

class NoticeTexts : public gametest::GameScene {
protected:
    void SetUp() override
    {
        GameScene::SetUp();
        enterScene(false);
        testsupport::testHost().freePlay = false;
        GUITopBar::getInstance()->buildCampaignBar();
        // Live goals, so that missions announce what they are paid (and, a
        // day played before, pay nothing: no profile write per mission).
        goalstest::registerTestMode(5);
        Profile::getInstance()->setGameMode(5);
        Profile::getInstance()->setDay(1);
        AchievementManager::getInstance()->startDay(1);
        AchievementManager::getInstance()->setNewBestDay(false);
    }
};

TEST_F(NoticeTexts, EveryNoticeFitsItsPanelLeftOfItsIconOrCheckBox)
{
    GUITopBar* bar = GUITopBar::getInstance();
    const auto tellEach = [bar](const std::vector<std::string>& keys) {
        for (const std::string& key : keys)
            bar->showNotification(LocalUtils::localize(key.c_str()));
    };
    std::vector<std::string> elements;
    for (const PaletteEntry& entry : paletteTable())
        elements.push_back(entry.name);
    // Mission notices bring their mana, elements, tools and backgrounds;
    // every element, tool, option and background is told on its own too.
    const std::vector<std::string> toolsAndOptions = {
        "Draw",        "Line",  "Fill",       "Replace",  "Miner", "Clear",  "Zoom", "Sun",    "Weather",
        "Temperature", "Light", "Background", "VeryCold", "Cold",  "Normal", "Hot",  "VeryHot"};
    const std::pair<const char*, std::function<void()>> tellers[] = {
        {"limit warnings", [&] { tellEach(keysEndingWith("LimitWarning", true)); }},
        {"day and level complete",
         [&] {
             tellEach({"DayCompleteNotice", "LevelCompleteNotice"});
         }},
        {"achievements",
         [] {
             for (const auto& achievement : AchievementManager::userAchievements())
                 showAchievementEarned(CCString::create(achievement.name));
         }},
        {"story missions",
         [] {
             for (const MissionRow& row : storyMissionRows())
                 rewardRow(row);
         }},
        {"campaign missions",
         [] {
             for (const Campaign* campaign : builtCampaigns())
                 for (const CampaignMissionRow& row : campaign->missions)
                     rewardMission(row);
         }},
        {"elements", [&] { showAnnouncement(nullptr, nullptr, nullptr, names(elements), nullptr); }},
        {"tools and options", [&] { showAnnouncement(nullptr, nullptr, nullptr, nullptr, names(toolsAndOptions)); }},
        {"backgrounds", [] { showAnnouncement(names(keysEndingWith("BkgName")), nullptr, nullptr, nullptr, nullptr); }},
        {"withheld palette entries",
         [&] {
             for (const std::string& element : elements)
                 for (const char* why : {"PaletteWithheldNotice", "PaletteMadeNotice"})
                     bar->showNotification(LocalUtils::localizeWithVar(why, GUI::elementTitle(element).c_str()),
                                           CCString::create("HUDelement_" + element + ".png"));
         }},
    };
    for (const char* language : testsupport::kLanguages) {
        testsupport::LanguageTable table(language);
        for (const auto& [name, tell] : tellers) {
            // Behind one on screen, each waits in the queue as told.
            bar->dropNotifications();
            bar->showNotification(CCString::create("-"));
            tell();
            EXPECT_TRUE(bar->hasNotification()) << language << " " << name;
            while (bar->hasNotification()) {
                auto* told = static_cast<CCArray*>(bar->getNotificationQueue()->objectAtIndex(0));
                const std::string text = static_cast<CCString*>(told->objectAtIndex(0))->getString();
                const std::string icon =
                    told->count() > 1 ? static_cast<CCString*>(told->objectAtIndex(1))->getString() : "";
                bar->showNextNotification();
                expectFits(bar, text, icon, std::string(language) + " " + name);
            }
        }
    }
}

}  // namespace
