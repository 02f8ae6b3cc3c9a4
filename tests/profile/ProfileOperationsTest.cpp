#include "ProfileFixture.h"
#include "base/LocalUtils.h"
#include "profile/ProfileFile.h"
#include "world/GameServices.h"
#include "platform/GameClock.h"

USING_NS_CC;

namespace {

ShopItem item(const char* name, int price, int category)
{
    ShopItem shopItem;
    shopItem.setName(name);
    shopItem.price = price;
    shopItem.category = category;
    return shopItem;
}

class Caller : public CCObject {
public:
    int calls = 0;
    void run() { ++calls; }
};

}  // namespace

TEST_F(ProfileTest, NewProfileHasTheStartingValues)
{
    EXPECT_EQ(profile->getMana(), 3500);
    EXPECT_EQ(profile->getMusicVolume(), 100);
    EXPECT_EQ(profile->getEffectsVolume(), 100);
    EXPECT_STREQ(profile->getNickname()->getCString(), "Unnamed");
    EXPECT_STREQ(profile->getPrivateKey()->getCString(), "Unconfigured");
    EXPECT_FALSE(profile->hasNickname());
    EXPECT_FALSE(profile->isRegistered());
    for (int mode = 0; mode < Profile::kModeSlots; ++mode)
        EXPECT_EQ(profile->getBestDay(mode), 1);
    EXPECT_TRUE(profile->hasPurchasedElement(CCString::create("Aluminite")));
    EXPECT_TRUE(profile->isDailyQuestOpen());
    EXPECT_EQ(profile->getDailyQuestIndex(), -1);
    EXPECT_EQ(profile->getLastLoginTime(), platform::gameTime());

    // A second reset replaces the lists rather than adding to them.
    const unsigned fresh = profile->getPurchasedElements()->count();
    profile->getPurchasedElements()->addObject(CCString::create("Extra"));
    profile->resetToDefaults();
    EXPECT_EQ(profile->getPurchasedElements()->count(), fresh);
    EXPECT_EQ(profile->getPurchasedElements()->retainCount(), 1u);
}

TEST_F(ProfileTest, PendingManaMovesATenthRoundedUpEachStep)
{
    profile->setMana(0);
    profile->setPendingMana(300);
    std::vector<int> moves;
    while (true) {
        int before = profile->getMana();
        if (!profile->transferPendingMana())
            break;
        moves.push_back(profile->getMana() - before);
        ASSERT_LT(moves.size(), 200u);
    }
    ASSERT_GE(moves.size(), 5u);
    EXPECT_EQ(std::vector<int>(moves.begin(), moves.begin() + 5), (std::vector<int>{30, 27, 25, 22, 20}));
    EXPECT_EQ(moves.back(), 1);
    EXPECT_EQ(profile->getMana(), 300);
    EXPECT_EQ(profile->getPendingMana(), 0);
    EXPECT_GT(topBarRefreshes, 0);
}

TEST_F(ProfileTest, APendingChargeIsTakenWhole)
{
    profile->setMana(200);
    profile->setPendingMana(-150);
    for (int step = 0; step < 200 && profile->getPendingMana() != 0; ++step)
        profile->transferPendingMana();
    EXPECT_EQ(profile->getPendingMana(), 0);
    EXPECT_EQ(profile->getMana(), 50);
}

TEST_F(ProfileTest, FreePlayClockReachesOneMilestonePerStepAndOnlyInFreePlay)
{
    platform::advanceManualGameTime(20000);
    profile->transferPendingMana();
    EXPECT_EQ(profile->getFreePlayTime(), 0);  // not free play

    freePlay = true;
    profile->setFreePlayStamp(platform::gameTime());
    platform::advanceManualGameTime(20000);
    profile->transferPendingMana();
    EXPECT_EQ(profile->getFreePlayTime(), 20000);
    EXPECT_TRUE(profile->isPlayTimeMilestone1h());
    EXPECT_FALSE(profile->isPlayTimeMilestone3h());
    profile->transferPendingMana();
    EXPECT_TRUE(profile->isPlayTimeMilestone3h());
    EXPECT_FALSE(profile->isPlayTimeMilestone5h());
    profile->transferPendingMana();
    EXPECT_TRUE(profile->isPlayTimeMilestone5h());
}

TEST_F(ProfileTest, LoginStreakCountsWholeDaysSinceTheLastAdvance)
{
    auto loadAfterHours = [this](int hours) {
        profile->save();
        platform::advanceManualGameTime(static_cast<int64_t>(hours) * 3600);
        restart()->load(false);
    };
    profile->setLoginStreak(4);
    profile->setProgressWord(ProgressWord::StreakCounter1, 9);

    loadAfterHours(23);
    EXPECT_EQ(profile->getLoginStreak(), 4);

    loadAfterHours(2);  // 25 hours since the last advance
    EXPECT_EQ(profile->getLoginStreak(), 5);
    EXPECT_EQ(profile->getProgressWord(ProgressWord::StreakCounter1), 9);

    loadAfterHours(49);
    EXPECT_EQ(profile->getLoginStreak(), 0);
    EXPECT_EQ(profile->getProgressWord(ProgressWord::StreakCounter1), 0);

    // The advance was saved.
    restart()->load(false);
    EXPECT_EQ(profile->getLastLoginTime(), platform::gameTime());
}

TEST_F(ProfileTest, CampaignUnlockTable)
{
    using namespace CampaignIndex;
    auto openModes = [this] {
        std::vector<int> open;
        for (int mode = -1; mode <= 11; ++mode)
            if (profile->isCampaignUnlocked(mode))
                open.push_back(mode);
        return open;
    };
    EXPECT_EQ(openModes(), (std::vector<int>{0, 5}));

    struct Case {
        int completed;
        std::vector<int> open;
    } cases[] = {
        {Story, {0, 2, 4, 5}},        {UserMade, {0, 1, 5}},  {Human, {0, 5, 8, 9}}, {Music, {0, 3, 5, 7}},
        {Contraptions, {0, 5, 6, 7}}, {Dinosaurs, {0, 5, 6}}, {PixelArt, {0, 1, 5}}, {LasersAndPipes, {0, 3, 5}},
        {Zombie, {0, 5, 10}},         {Robot, {0, 5, 10}},    {Invasion, {0, 5}},
    };
    for (const Case& c : cases) {
        for (int i = 0; i < Count; ++i)
            profile->setCompletionFlag(i, i == c.completed ? 1 : 0);
        EXPECT_EQ(openModes(), c.open) << "completed " << c.completed;
    }
    // Completed means exactly 1.
    profile->setCompletionFlag(Story, 2);
    EXPECT_FALSE(profile->isCampaignUnlocked(2));
}

TEST_F(ProfileTest, BuyingTakesManaRecordsTheItemAndSaves)
{
    profile->setMana(100);
    EXPECT_FALSE(profile->buyShopItem(CCString::create("Plasma"), item("Plasma", 101, 0)));
    EXPECT_EQ(profile->getMana(), 100);
    EXPECT_TRUE(readFile(ProfileFile::kFileName).empty());  // nothing saved

    EXPECT_TRUE(profile->buyShopItem(CCString::create("Fire"), item("Fire", 40, 0)));
    EXPECT_EQ(profile->getMana(), 60);
    EXPECT_EQ(profile->getPurchasedElements()->count(), 74u);  // already owned: listed once
    EXPECT_EQ(profile->getProgressWord(ProgressWord::ElementsBought), 0);

    EXPECT_TRUE(profile->buyShopItem(CCString::create("Plasma"), item("Plasma", 10, 0)));
    EXPECT_TRUE(profile->hasPurchasedElement(CCString::create("Plasma")));
    EXPECT_EQ(profile->getProgressWord(ProgressWord::ElementsBought), 1);
    EXPECT_EQ(profile->getProgressWord(ProgressWord::ManaSpentOnBasics), 0);
    EXPECT_EQ(sounds, (std::vector<std::string>{"sfx_gui_buy", "sfx_gui_buy"}));

    // Backgrounds are stored by their id in lower case, once per purchase.
    EXPECT_TRUE(profile->buyShopItem(nullptr, item("Forest", 5, 1)));
    EXPECT_TRUE(profile->buyShopItem(nullptr, item("Forest", 5, 1)));
    EXPECT_EQ(profile->getPurchasedBackgrounds()->count(), 2u);
    EXPECT_TRUE(profile->hasPurchasedBackground(CCString::create("forest")));
    EXPECT_EQ(profile->getMana(), 40);

    restart()->load(false);
    EXPECT_EQ(profile->getMana(), 40);
    EXPECT_EQ(profile->getPurchasedBackgrounds()->count(), 1u);
    EXPECT_TRUE(profile->hasPurchasedElement(CCString::create("Plasma")));
}

TEST_F(ProfileTest, ManaPacksOnlyNotifyAndUnknownCategoriesTakeNothing)
{
    profile->setMana(5);
    EXPECT_TRUE(profile->buyShopItem(nullptr, item("Pack", 1000, 2)));
    EXPECT_EQ(profile->getMana(), 5);
    EXPECT_EQ(popups, std::vector<std::string>{"NotificationParentalControl"});
    EXPECT_FALSE(readFile(ProfileFile::kFileName).empty());

    EXPECT_FALSE(profile->buyShopItem(CCString::create("Thing"), item("Thing", 3, 7)));
    EXPECT_EQ(profile->getMana(), 5);
}

TEST_F(ProfileTest, BasicElementPurchasesCountTheManaSpent)
{
    profile->getPurchasedElements()->removeAllObjects();
    EXPECT_TRUE(profile->buyShopItem(CCString::create("Lava"), item("Lava", 30, 0)));
    EXPECT_EQ(profile->getProgressWord(ProgressWord::ManaSpentOnBasics), 30);
    EXPECT_FALSE(profile->isBasicElement(CCString::create("Soil")));
    EXPECT_TRUE(profile->isBasicElement(CCString::create("Void")));
}

TEST_F(ProfileTest, RegistrationAsksForANicknameThenAnAccountThenContinues)
{
    Caller* caller = new Caller();
    profile->setPendingCallback(caller, callfunc_selector(Caller::run));

    profile->ensureRegistered();
    EXPECT_EQ(keyboards, std::vector<std::string>{"hint: " + LocalUtils::localize("NameInputTitle")->getString()});
    EXPECT_EQ(createPlayerCalls, 0);

    // The keyboard hands back the text: with a nickname, the account is asked for.
    profile->setNicknameFromInput(CCString::create("Bob"));
    EXPECT_STREQ(profile->getNickname()->getCString(), "Bob");
    EXPECT_EQ(createPlayerCalls, 1);
    EXPECT_EQ(refusalTarget, profile);
    EXPECT_EQ(caller->calls, 0);

    // A refusal asks again.
    CCObject* target = refusalTarget;
    SEL_CallFunc selector = refusalSelector;
    (target->*selector)();
    EXPECT_EQ(keyboards.back(), "hint: " + LocalUtils::localize("NameDuplicate")->getString());

    // A caller's own refusal handler goes with the request instead.
    profile->setDuplicateNameHandler(caller, callfunc_selector(Caller::run));
    profile->ensureRegistered();
    EXPECT_EQ(refusalTarget, caller);

    // With both, only the pending callback runs, once.
    profile->setPrivateKey(CCString::create("key"));
    profile->ensureRegistered();
    EXPECT_EQ(caller->calls, 1);
    profile->ensureRegistered();
    EXPECT_EQ(caller->calls, 1);
    EXPECT_EQ(createPlayerCalls, 2);

    profile->setDuplicateNameHandler(nullptr, nullptr);
    caller->release();
}

TEST_F(ProfileTest, FreePlayElementCountersChangeOnlyInFreePlay)
{
    CCString* fire = CCString::create("Fire");
    profile->markElementUsed(fire);
    profile->incrementElementCount(fire);
    EXPECT_EQ(static_cast<CCInteger*>(profile->getElementsUsed()->objectForKey("Fire"))->getValue(), 0);
    EXPECT_EQ(static_cast<CCInteger*>(profile->getCountedElements()->objectForKey("Fire"))->getValue(), 0);

    freePlay = true;
    profile->markElementUsed(fire);
    profile->incrementElementCount(fire);
    profile->incrementElementCount(fire);
    profile->incrementElementCount(CCString::create("Plasma"));
    EXPECT_EQ(static_cast<CCInteger*>(profile->getElementsUsed()->objectForKey("Fire"))->getValue(), 1);
    EXPECT_EQ(static_cast<CCInteger*>(profile->getCountedElements()->objectForKey("Fire"))->getValue(), 2);
    EXPECT_EQ(static_cast<CCInteger*>(profile->getCountedElements()->objectForKey("Plasma"))->getValue(), 1);

    EXPECT_FALSE(profile->allElementsUsed());
    CCDictElement* element = nullptr;
    CCDICT_FOREACH(profile->getElementsUsed(), element)
    {
        profile->markElementUsed(CCString::create(element->getStrKeyString()));
    }
    EXPECT_TRUE(profile->allElementsUsed());
}

TEST_F(ProfileTest, StoryDayCountersNeedTheirDayAndCondition)
{
    bool normal = false;
    std::string world = "Day12";
    gameServices().temperatureLabelIsNormal = [&normal] { return normal; };
    gameServices().loadedWorldName = [&world] { return world; };

    profile->setDay(11);
    profile->countStoryDay11Steam();
    normal = true;
    profile->countStoryDay11Steam();
    profile->countStoryDay13Snow();  // wrong day
    EXPECT_EQ(profile->getDay11WaterCount(), 1);
    EXPECT_EQ(profile->getDay13SnowCount(), 0);

    profile->setDay(12);
    profile->countStoryDay12Ice();
    world = "Day20";
    profile->countStoryDay12Ice();
    EXPECT_EQ(profile->getDay12WaterCount(), 1);

    profile->setDay(20);
    profile->countStoryDay20Gas();
    EXPECT_EQ(profile->getDay20GasCount(), 1);
    EXPECT_EQ(profile->getGasCount(), 0);
    freePlay = true;
    profile->setDay(3);
    profile->countStoryDay20Gas();
    EXPECT_EQ(profile->getDay20GasCount(), 1);
    EXPECT_EQ(profile->getGasCount(), 1);
}

TEST_F(ProfileTest, DailyQuestFlagIsMirroredInTheBlockAndSaved)
{
    profile->setDailyQuestOpen(false);
    EXPECT_FALSE(profile->isDailyQuestOpen());
    EXPECT_EQ(profile->getProgressWord(ProgressWord::DailyQuestOpen), 0);
    restart()->load(false);
    EXPECT_FALSE(profile->isDailyQuestOpen());
}

TEST_F(ProfileTest, SmallHelpersGuardTheirRanges)
{
    EXPECT_STREQ(extractDigits(CCString::create("Achievement45"))->getCString(), "45");
    EXPECT_STREQ(extractDigits(nullptr)->getCString(), "");
    profile->setProgressWord(1022, 5);  // would run past the block
    EXPECT_EQ(profile->getProgressWord(1022), 0);
    profile->setBestDay(32, 9);
    EXPECT_EQ(profile->getBestDay(32), 0);
    EXPECT_EQ(profile->setFireplacePlanted(true), true);
    EXPECT_TRUE(profile->getCampaignFlag(0));
    EXPECT_EQ(completionIndexForMode(6), CampaignIndex::UserMade);
    EXPECT_EQ(completionIndexForMode(11), -1);
}

TEST_F(ProfileTest, SlotAccessorsIgnoreSlotsOutsideTheirTables)
{
    for (int slot : {-1, Profile::kAchievementSlots, Profile::kLevelHintSlots, 1 << 20}) {
        SCOPED_TRACE(slot);
        profile->setAchievementUnlocked(slot, 1);
        profile->setLevelHint(slot, 7);
        EXPECT_EQ(profile->getAchievementUnlocked(slot), 0);
        if (slot < 0 || slot >= Profile::kLevelHintSlots) {
            EXPECT_EQ(profile->getLevelHint(slot), 0u);
        }
    }
    // The last slot of each table is in it.
    profile->setAchievementUnlocked(Profile::kAchievementSlots - 1, 1);
    profile->setLevelHint(Profile::kLevelHintSlots - 1, 7);
    EXPECT_EQ(profile->getAchievementUnlocked(Profile::kAchievementSlots - 1), 1);
    EXPECT_EQ(profile->getLevelHint(Profile::kLevelHintSlots - 1), 7u);
}
