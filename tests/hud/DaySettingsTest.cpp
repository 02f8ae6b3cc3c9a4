// What a day offers: its settings file restricts the palette, tools and
// options; the goals' unlocks add to it for the rest of the day; the eraser
// hands back the element chosen before it.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "support/GameSceneFixture.h"
#include "profile/Profile.h"
#include "gui/GUIButton.h"
#include "gui/GUILabel.h"
#include "goals/GoalFunctions.h"
#include "hud/GUITopBar.h"
#include "support/LogCapture.h"
#include "support/TempFolders.h"

USING_NS_CC;

namespace {

std::string plist(const std::string& body)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n" + body + "\n</plist>\n";
}

std::string lockedDay(const char* mode, const std::string& elements, const std::string& tools = "",
                      const std::string& options = "")
{
    auto list = [](const char* key, const std::string& items) {
        return items.empty() ? std::string() : std::string("<key>") + key + "</key><array>" + items + "</array>";
    };
    std::string mode_ = mode ? std::string("<key>lockMode</key><string>") + mode + "</string>" : "";
    return plist("<dict><key>lock</key><true/>" + mode_ + list("elements", elements) + list("tools", tools) +
                 list("options", options) + "</dict>");
}

std::string names(std::initializer_list<const char*> items)
{
    std::string s;
    for (const char* i : items)
        s += std::string("<string>") + i + "</string>";
    return s;
}

class DaySettings : public gametest::GameScene {
protected:
    void SetUp() override
    {
        GameScene::SetUp();
        enterScene(false);
        gui = layer->getGUI();
        bar = GUITopBar::getInstance();
        testsupport::testHost().freePlay = false;
        bar->buildCampaignBar();
        files = CCFileUtils::sharedFileUtils();
        previousRoot = files->getResourceRoot();
        mkdir(root.file("universes").c_str(), 0700);
        mkdir(root.file("universes/Missions").c_str(), 0700);
    }
    void TearDown() override
    {
        files->setResourceRoot(previousRoot);
        GameScene::TearDown();
    }

    // Writes the day's file and loads it from the test's resource root.
    bool load(const std::string& name, const std::string& text)
    {
        std::ofstream(root.file("universes/Missions/" + name + ".plist")) << text;
        return loadOnly(name);
    }
    bool loadOnly(const std::string& name)
    {
        files->setResourceRoot(root.path());
        const bool applied = gui->loadDaySettings(name);
        files->setResourceRoot(previousRoot);
        return applied;
    }

    std::map<std::string, bool> availability(const std::vector<std::string>& items)
    {
        std::map<std::string, bool> a;
        for (const std::string& i : items)
            a[i] = gui->isAvailable(i);
        return a;
    }

    // The captions or names the menu on show offers.
    std::vector<std::string> offered()
    {
        std::vector<std::string> out;
        for (CCObject* o : *gui->getMenuContent()->getChildren()) {
            auto* b = dynamic_cast<GUIButton*>(o);
            // The brush slider says its size to the HUD: no item of the day.
            if (static_cast<void*>(b) == static_cast<void*>(gui->getBrushSlider()))
                continue;
            auto* call = b ? dynamic_cast<CCCallFuncO*>(b->getCallback()) : nullptr;
            if (auto* name = call ? dynamic_cast<CCString*>(call->getObject()) : nullptr)
                out.push_back(name->getString());
            else if (auto* level = call ? dynamic_cast<CCInteger*>(call->getObject()) : nullptr)
                out.push_back(std::to_string(level->getValue()));
            else if (call)
                out.push_back("-");  // a button that needs no value (background, gallery)
        }
        return out;
    }

    testsupport::TempDir root;
    CCFileUtils* files = nullptr;
    std::string previousRoot;
    GUI* gui = nullptr;
    GUITopBar* bar = nullptr;
};

TEST_F(DaySettings, TheFileDecidesWhatIsAvailable)
{
    const std::vector<std::string> items{"Sand", "Water", "Clear", "Zoom", "Sun"};
    struct Case {
        const char* what;
        std::string text;
        bool freePlay;
        std::map<std::string, bool> expected;
        const char* logged;  // a line the load writes, or null
    };
    const Case cases[] = {
        {"unlocked",
         plist("<dict><key>lock</key><false/><key>lockMode</key><string>allow</string>"
               "<key>elements</key><array><string>Sand</string></array></dict>"),
         false,
         {{"Sand", true}, {"Water", true}, {"Clear", true}, {"Zoom", true}, {"Sun", true}},
         nullptr},
        {"allow",
         lockedDay("allow", names({"Sand"}), names({"Clear"}), names({"Sun"})),
         false,
         {{"Sand", true}, {"Water", false}, {"Clear", true}, {"Zoom", false}, {"Sun", true}},
         nullptr},
        {"deny",
         lockedDay("deny", names({"Sand"}), names({"Zoom"})),
         false,
         {{"Sand", false}, {"Water", true}, {"Clear", true}, {"Zoom", false}, {"Sun", true}},
         nullptr},
        {"unknown mode",
         lockedDay("permit", names({"Water"})),
         false,
         {{"Sand", false}, {"Water", true}, {"Clear", false}, {"Zoom", false}, {"Sun", false}},
         "unknown lockMode"},
        {"no mode",
         lockedDay(nullptr, names({"Water"})),
         false,
         {{"Sand", false}, {"Water", true}, {"Clear", false}, {"Zoom", false}, {"Sun", false}},
         "unknown lockMode"},
        {"free play",
         lockedDay("allow", names({"Water"})),
         true,
         {{"Sand", true}, {"Water", true}, {"Clear", true}, {"Zoom", true}, {"Sun", true}},
         nullptr},
    };
    for (const Case& c : cases) {
        testsupport::LogCapture log;
        testsupport::testHost().freePlay = c.freePlay;
        EXPECT_TRUE(load("Day3", c.text)) << c.what;
        EXPECT_EQ(availability(items), c.expected) << c.what;
        if (c.logged) {
            EXPECT_TRUE(log.contains(c.logged)) << c.what;
        }
    }
}

TEST_F(DaySettings, ABrokenOrMissingFileKeepsThePreviousDay)
{
    struct Case {
        const char* what;
        const char* name;
        std::string text;  // empty: no file
    };
    const Case cases[] = {
        {"missing", "Day32", ""},
        {"not a plist", "Broken", "<plist><dict><key>lock</key>"},
        {"array root", "Listed", plist("<array><string>Sand</string></array>")},
        {"no lock", "NoLock", plist("<dict><key>lockMode</key><string>allow</string></dict>")},
        {"lock is no flag", "Odd", plist("<dict><key>lock</key><string>maybe</string></dict>")},
        {"list is no array", "Flat",
         plist("<dict><key>lock</key><true/><key>lockMode</key><string>deny</string>"
               "<key>elements</key><string>Sand</string></dict>")},
        {"outside the folder", "../Escape", ""},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(load("Day1", lockedDay("allow", names({"Sand"}), names({"Draw", "Clear"}))));
        testsupport::LogCapture log;
        const bool applied = c.text.empty() ? loadOnly(c.name) : load(c.name, c.text);
        EXPECT_FALSE(applied) << c.what;
        EXPECT_TRUE(log.contains("day settings:")) << c.what;
        EXPECT_TRUE(gui->isAvailable("Sand")) << c.what;
        EXPECT_FALSE(gui->isAvailable("Water")) << c.what;
        EXPECT_FALSE(gui->getEverythingAvailable()) << c.what;
    }
    // Entries that are not names are skipped; the rest of the list counts.
    ASSERT_TRUE(load("Day2", lockedDay("allow", names({"Mud"}) + "<integer>4</integer>" + names({"Sand"}))));
    EXPECT_TRUE(gui->isAvailable("Mud"));
    EXPECT_TRUE(gui->isAvailable("Sand"));
}

TEST_F(DaySettings, UnlocksAddForTheDayAndANewDayReplacesThem)
{
    ASSERT_TRUE(load("Day5", lockedDay("allow", names({"Soil"}), names({"Draw"}), names({"Normal"}))));
    struct Unlock {
        void (*unlock)(CCString*);
        const char* name;
        int elements, tools, options;  // new-item counts after it
    };
    const Unlock unlocks[] = {
        {unlockPaletteElement, "Fire", 1, 0, 0}, {unlockPaletteElement, "Soil", 1, 0, 0},
        {unlockPaletteElement, "Fire", 1, 0, 0}, {unlockTool, "Miner", 1, 1, 0},
        {unlockOption, "Hot", 1, 1, 1},          {unlockOption, "", 1, 1, 1},
    };
    for (const Unlock& u : unlocks) {
        u.unlock(CCString::create(u.name));
        if (*u.name) {
            EXPECT_TRUE(gui->isAvailable(u.name)) << u.name;
        }
        EXPECT_EQ(gui->newElementCount(), u.elements) << u.name << ": only what was not offered is new";
        EXPECT_EQ(gui->newToolCount(), u.tools) << u.name;
        EXPECT_EQ(gui->newOptionCount(), u.options) << u.name;
    }
    unlockPaletteElement(nullptr);
    EXPECT_NE(bar->getElementBadge(), nullptr) << "the badges follow the unlocks";
    EXPECT_NE(bar->getWorldSettingsBadge(), nullptr);

    // A denied item comes back through an unlock.
    ASSERT_TRUE(load("Day6", lockedDay("deny", names({"Lava"}))));
    EXPECT_TRUE(gui->isAvailable("Fire")) << "deny keeps everything else";
    EXPECT_FALSE(gui->isAvailable("Lava"));
    unlockPaletteElement(CCString::create("Lava"));
    EXPECT_TRUE(gui->isAvailable("Lava"));

    ASSERT_TRUE(load("Day7", lockedDay("allow", names({"Sand"}))));
    EXPECT_FALSE(gui->isAvailable("Fire")) << "yesterday's unlocks end with the day";
    EXPECT_FALSE(gui->isAvailable("Lava"));
    EXPECT_FALSE(gui->isAvailable("Miner"));
    EXPECT_EQ(gui->newElementCount(), 2) << "what is new stays new until the palette shows it";
    gui->showElementMenu();
    EXPECT_EQ(gui->newElementCount(), 0);
}

TEST_F(DaySettings, MenusOfferOnlyWhatTheDayAllows)
{
    ASSERT_TRUE(load("Day9",
                     lockedDay("allow", names({"Sand", "Water"}), names({"Draw", "Fill", "Zoom"}),
                               names({"Cold", "Normal", "Light", "Background"}))));
    EXPECT_EQ(gui->paletteNames(), (std::vector<std::string>{"Sand", "Water"})) << "no eraser on this day";
    gui->showToolMenu();
    EXPECT_EQ(offered(), (std::vector<std::string>{"Draw", "Fill", "Zoom"}));
    gui->showWorldSettingsMenu();
    std::vector<std::string> settings = offered();
    EXPECT_EQ(settings, (std::vector<std::string>{"2", "3", "1", "-", "-"}))
        << "Cold, Normal, the light switch, the background and the gallery";
    load("Day9b", lockedDay("allow", names({"Sand"}), "", names({"Hot", "Sun"})));
    gui->showWorldSettingsMenu();
    EXPECT_EQ(offered(), (std::vector<std::string>{"4", "2", "-"})) << "Hot, the sun switch and the gallery";

    ASSERT_TRUE(load("Day10", lockedDay("allow", names({"Water", "Sand"}), names({"Clear"}))));
    EXPECT_EQ(gui->paletteNames().front(), "Clear") << "the eraser first when the day has it";
    EXPECT_EQ(gui->pickStartTool(), "Draw") << "a day without tools still draws";
    ASSERT_TRUE(load("Day11", lockedDay("allow", "", names({"Line", "Fill"}))));
    EXPECT_EQ(gui->pickStartTool(), "Line");
    EXPECT_EQ(gui->pickStartElement(), "Clear") << "no element: the eraser, which paints nothing";
}

TEST_F(DaySettings, TheEraserGivesBackTheElementBeforeIt)
{
    struct Case {
        const char* chosen;     // null: nothing chosen before the eraser
        const char* dayOffers;  // null: nothing restricted
        const char* restored;
    };
    const Case cases[] = {
        {"Sand", nullptr, "Sand"},
        {"Water", "Water", "Water"},
        {"Sand", "Mud", "Mud"},  // the day took Sand away: its first element instead
    };
    for (const Case& c : cases) {
        gui->setEverythingAvailable(true);
        gui->selectElement(c.chosen);
        bar->onEraserButton();
        ASSERT_EQ(gui->getCurrentElement()->getString(), "Clear");
        if (c.dayOffers) {
            ASSERT_TRUE(load("Day12", lockedDay("allow", names({c.dayOffers}), names({"Clear"}))));
        }
        layer->onElementsButton(bar->getElementMenuButton());
        EXPECT_EQ(gui->getCurrentElement()->getString(), c.restored) << c.chosen;
        EXPECT_EQ(GUITopBar::frameOf(bar->getElementMenuButton()->getIcon()),
                  std::string("guitopbar_HUDelement_") + c.restored + ".png");
        EXPECT_EQ(gui->getOpenMenu(), GUI::kElementMenu) << "and opens the palette as well";
        stepSeconds(0.5f);
        gui->closeMenu();
        stepSeconds(0.5f);
    }
}

}  // namespace
