#include "campaigns/Campaigns.h"

#include "campaigns/contraptions/ContraptionsCampaign.h"
#include "campaigns/dinosaurs/DinosaursCampaign.h"
#include "campaigns/human/HumanCampaign.h"
#include "campaigns/invasion/InvasionCampaign.h"
#include "campaigns/lasers/LasersCampaign.h"
#include "campaigns/music/MusicCampaign.h"
#include "campaigns/pixelart/PixelArtCampaign.h"
#include "campaigns/robot/RobotCampaign.h"
#include "campaigns/story/StoryMissions.h"
#include "campaigns/story/StoryTables.h"
#include "campaigns/usermade/UserMadeCampaign.h"
#include "campaigns/zombie/ZombieCampaign.h"
#include "goals/AchievementManager.h"

namespace {

// The manager makes goals through plain functions: one per mode and slot.
template <int Mode, int Slot> AchievementBase* entryMission()
{
    const Campaign& c = *campaignOfMode(Mode);
    return makeCampaignMission(c, c.levels[0].missions[Slot]);
}

template <int Mode> AchievementBase* firstStep()
{
    const Campaign& c = *campaignOfMode(Mode);
    return makeCampaignStep(c, c.levels[0].step);
}

template <int Mode> void registerMode(AchievementManager& goals)
{
    const Campaign& c = *campaignOfMode(Mode);
    constexpr AchievementManager::GoalMaker makers[] = {entryMission<Mode, 0>, entryMission<Mode, 1>,
                                                        entryMission<Mode, 2>};
    std::vector<AchievementManager::GoalMaker> entry;
    for (size_t slot = 0; slot < c.levels[0].missions.size(); ++slot)
        if (c.levels[0].missions[slot])
            entry.push_back(makers[slot]);
    goals.setEntryMissions(Mode, std::move(entry));
    goals.setFirstStep(Mode, firstStep<Mode>);
    // A finished campaign starts its last level again: its last step's end
    // is never replayed.
    goals.setLastDay(Mode, c.levelCount());
}

}  // namespace

std::span<const Campaign* const> builtCampaigns()
{
    static const Campaign* const built[] = {
        &musicCampaign(),     &contraptionsCampaign(), &userMadeCampaign(), &lasersCampaign(), &pixelArtCampaign(),
        &dinosaursCampaign(), &humanCampaign(),        &zombieCampaign(),   &robotCampaign(),  &invasionCampaign()};
    return built;
}

const Campaign* campaignOfMode(int mode)
{
    for (const Campaign* c : builtCampaigns())
        if (c->mode == mode)
            return c;
    return nullptr;
}

void registerCampaignGoals(AchievementManager& goals)
{
    registerMode<1>(goals);
    registerMode<2>(goals);
    registerMode<3>(goals);
    registerMode<4>(goals);
    registerMode<5>(goals);
    registerMode<6>(goals);
    registerMode<7>(goals);
    registerMode<8>(goals);
    registerMode<9>(goals);
    registerMode<10>(goals);
}

void registerStoryAndCampaignGoals(AchievementManager& goals)
{
    registerStoryGoals(goals);
    registerCampaignGoals(goals);
}

MissionPattern missionTable(const char* mission, char letter)
{
    if (!mission)
        return nullptr;
    if (MissionPattern story = storyTable(mission, letter))
        return story;
    const std::string_view name = mission;
    for (const Campaign* c : builtCampaigns())
        for (const CampaignTable& t : c->tables)
            if (t.mission && t.mission == name && t.letter == letter)
                return t.records;
    return nullptr;
}
