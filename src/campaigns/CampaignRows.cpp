#include "campaigns/CampaignRows.h"

#include "base/LocalUtils.h"
#include "base/Logger.h"
#include "goals/AchievementManager.h"
#include "goals/GoalFunctions.h"
#include "goals/GoalsUi.h"
#include "profile/Profile.h"
#include "profile/ProfileFile.h"

USING_NS_CC;

namespace {

CCArray* amountList(int32_t amount)
{
    CCArray* list = CCArray::create();
    list->addObject(CCInteger::create(amount));
    return list;
}

CCString* localized(const char* stem, const char* suffix)
{
    const std::string key = std::string(stem ? stem : "") + suffix;
    return CCString::create(LocalUtils::localize(key.c_str())->getString());
}

CCString* missionName(const CampaignMissionRow& row)
{
    if (row.nameKey)
        return CCString::create(LocalUtils::localize(row.nameKey)->getString());
    return localized(row.textKey, "Name");
}

// A step's name and briefing: kept for the whole run.
CCString* emptyText()
{
    static CCString* text = new CCString("");
    return text;
}

void payAlways(int32_t amount)
{
    Profile* profile = Profile::getInstance();
    if (!profile->isRewardsOff())
        profile->setPendingMana(ProfileFile::clampedSum(profile->getPendingMana(), amount));
    profile->save();
}

}  // namespace

int melodyLength(const NoteRecord* melody)
{
    if (!melody)
        return 0;
    int n = 1;
    while (!melody[n].end)
        ++n;
    return n;
}

// --- missions ---------------------------------------------------------------------------------

void rewardMission(const CampaignMissionRow& row)
{
    Profile* profile = Profile::getInstance();
    profile->setLevelPoints(ProfileFile::clampedSum(profile->getLevelPoints(), row.points));
    grantExperience(getMissionReward(row.rewardKey));
    if (row.extra)
        row.extra();
    CCString* message =
        LocalUtils::localizeCCStringWithVar(CCString::create("AnouncementMissionGeneric"), missionName(row));
    showAnnouncement(nullptr, amountList(getMissionReward(row.rewardKey)), message, nullptr, nullptr);
}

CCString* CampaignMission::getName()
{
    return missionName(m_row);
}

CCString* CampaignMission::getBriefing()
{
    return localized(m_row.textKey, "Briefing");
}

// --- levels -----------------------------------------------------------------------------------

const CampaignMissionRow* Campaign::mission(std::string_view className) const
{
    for (const CampaignMissionRow& row : missions)
        if (row.className == className)
            return &row;
    return nullptr;
}

const CampaignLevelRow* Campaign::levelOfStep(std::string_view stepName) const
{
    for (const CampaignLevelRow& row : levels)
        if (row.step == stepName)
            return &row;
    return nullptr;
}

CCString* CampaignStep::getName()
{
    return m_campaign.newStepTexts ? CCString::create("") : emptyText();
}

CCString* CampaignStep::getBriefing()
{
    return m_campaign.newStepTexts ? CCString::create("") : emptyText();
}

bool CampaignStep::isAccomplished()
{
    return Profile::getInstance()->getLevelPoints() >= m_row.threshold;
}

void CampaignStep::onAccomplished()
{
    // A level won before pays nothing more, and its board shows no mana.
    const bool pays =
        m_row.grant == StepGrant::Always ? !Profile::getInstance()->isRewardsOff() : levelEndGrantPays(m_row.level + 1);
    CCArray* mana = pays ? amountList(getMissionReward(m_row.boardKey)) : nullptr;
    if (m_campaign.board == BoardLists::None)
        showLevelUp(nullptr, nullptr, nullptr, mana);
    else
        showLevelUp(CCArray::create(), CCArray::create(), CCArray::create(), mana);
}

bool CampaignStep::paysAgain()
{
    return m_row.grant == StepGrant::Always && getMissionReward(m_row.rewardKey) > 0;
}

void CampaignStep::onLevelEnd()
{
    // The hand-over inside frees this step: only the tables are read on.
    endCampaignLevel(m_campaign, m_row);
}

void endCampaignLevel(const Campaign& campaign, const CampaignLevelRow& row)
{
    AchievementManager* goals = AchievementManager::getInstance();
    Profile* profile = Profile::getInstance();
    const int32_t next = row.level + 1;
    const CampaignLevelRow* nextRow = next <= campaign.levelCount() ? &campaign.levels[next - 1] : nullptr;
    for (EndAction action : row.order) {
        switch (action) {
        case EndAction::None: return;
        case EndAction::Day: setStoryDay(next); break;
        case EndAction::Missions:
            if (nextRow)
                for (const char* name : nextRow->missions)
                    if (name)
                        goals->addMission(makeCampaignMission(campaign, name));
            break;
        case EndAction::NextStep:
            if (nextRow)
                goals->setCurrentStep(makeCampaignStep(campaign, nextRow->step));
            break;
        case EndAction::Grant:
            if (row.grant == StepGrant::Always)
                payAlways(getMissionReward(row.rewardKey));
            else
                grantExperience(getMissionReward(row.rewardKey));
            break;
        case EndAction::Outro: goalsUi().showOutro(); break;
        case EndAction::Finished: profile->setCompletionFlag(campaign.completionIndex, 1); break;
        case EndAction::Save: profile->save(); break;
        case EndAction::Flags:
            if (row.clearFlags)
                row.clearFlags();
            break;
        }
    }
}

AchievementBase* makeCampaignMission(const Campaign& campaign, std::string_view className)
{
    const CampaignMissionRow* row = campaign.mission(className);
    if (!row) {
        LOG << campaign.name << "has no mission called" << std::string(className);
        return nullptr;
    }
    return new CampaignMission(*row);
}

AchievementBase* makeCampaignStep(const Campaign& campaign, std::string_view stepName)
{
    const CampaignLevelRow* row = campaign.levelOfStep(stepName);
    if (!row) {
        LOG << campaign.name << "has no level step called" << std::string(stepName);
        return nullptr;
    }
    return new CampaignStep(campaign, *row);
}
