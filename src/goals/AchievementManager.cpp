#include "goals/AchievementManager.h"

#include <algorithm>
#include <limits>

#include "base/LocalUtils.h"
#include "base/Logger.h"
#include "base/NSData.h"
#include "base/StatsUtils.h"
#include "goals/GoalFunctions.h"
#include "goals/GoalRegistry.h"
#include "goals/GoalsUi.h"
#include "platform/GameClock.h"
#include "profile/Profile.h"
#include "profile/ProfileFile.h"
#include "world/GameServices.h"
#include "world/WorldHost.h"

USING_NS_CC;

namespace {

AchievementManager* g_instance = nullptr;

// No game mode has more days; a day beyond comes from a damaged profile.
constexpr int32_t kMaxDay = 100;

// The game modes with prepared days: the story (0) and the ten campaigns.
bool hasPreparedDays(int32_t mode)
{
    return mode >= 0 && mode <= 10;
}

// A world name is a plain file name of universes/Missions/.
bool isPlainName(const std::string& name)
{
    return !name.empty() && name[0] != '.' && name.find('/') == std::string::npos &&
        name.find('\\') == std::string::npos;
}

// The missions of a game mode's newest day that were paid (bit n: the day's
// n-th mission), and whether the day was won (its last bit), as the profile
// keeps them; none for another day.
constexpr int kPaidRecordMissions = 31;
constexpr uint32_t kDayWonBit = 1u << kPaidRecordMissions;

uint32_t paidMissions(int32_t mode, int32_t day)
{
    if (!hasPreparedDays(mode))
        return 0;
    const Profile* profile = Profile::getInstance();
    if (profile->getProgressWord(ProgressWord::PaidMissionsDay + 4 * static_cast<size_t>(mode)) != day)
        return 0;
    return static_cast<uint32_t>(profile->getProgressWord(ProgressWord::PaidMissions + 4 * static_cast<size_t>(mode)));
}

void recordPaid(int32_t mode, int32_t day, uint32_t bits)
{
    if (!hasPreparedDays(mode))
        return;
    const uint32_t paid = paidMissions(mode, day) | bits;
    Profile* profile = Profile::getInstance();
    profile->setProgressWord(ProgressWord::PaidMissionsDay + 4 * static_cast<size_t>(mode), day);
    profile->setProgressWord(ProgressWord::PaidMissions + 4 * static_cast<size_t>(mode), static_cast<int32_t>(paid));
}

// The message pages a day's end may owe, in the order days show them.
enum OwedPage : uint32_t {
    kOwedReminder2 = 1u << 0,
    kOwedReminder3 = 1u << 1,
    kOwedReminder4 = 1u << 2,
    kOwedFreeModeMessage = 1u << 3,
    kOwedOutro = 1u << 4,
    kOwedPages = (1u << 5) - 1,
};

size_t owedPagesWord(int32_t mode)
{
    return ProgressWord::OwedPages + 4 * static_cast<size_t>(mode);
}

// A page the day's end would show in play, kept for the mode's next entry;
// the write that ends the day stores it. A silent replay owes nothing.
void owePage(uint32_t page)
{
    Profile* profile = Profile::getInstance();
    const int32_t mode = profile->getGameMode();
    if (page == 0 || !hasPreparedDays(mode) || !AchievementManager::getInstance()->isLive())
        return;
    const uint32_t owed = static_cast<uint32_t>(profile->getProgressWord(owedPagesWord(mode))) | page;
    profile->setProgressWord(owedPagesWord(mode), static_cast<int32_t>(owed & kOwedPages));
    LOG << "game mode" << mode << ": the day's end owes a page to the next entry";
}

uint32_t reminderPage(int day)
{
    switch (day) {
    case 2: return kOwedReminder2;
    case 3: return kOwedReminder3;
    case 4: return kOwedReminder4;
    default: return 0;
    }
}

// Saves asked for while it lives reach the file in one write as it goes.
class OneWrite {
public:
    OneWrite() { Profile::getInstance()->holdSaves(); }
    ~OneWrite() { Profile::getInstance()->releaseSaves(); }
    OneWrite(const OneWrite&) = delete;
    OneWrite& operator=(const OneWrite&) = delete;
};

int64_t dueAfter(int64_t now, int64_t delay)
{
    delay = std::max<int64_t>(delay, 0);
    return delay > std::numeric_limits<int64_t>::max() - now ? std::numeric_limits<int64_t>::max() : now + delay;
}

// A level's end while its scene goes: what changes the game goes through,
// what would come on screen (the board, announcements) does not, and the
// message pages wait for the mode's next entry. Installed for its lifetime.
class OffScreenGoalsUi : public GoalsUi {
public:
    OffScreenGoalsUi() : m_inner(goalsUi()), m_previous(setGoalsUi(this)) { }
    ~OffScreenGoalsUi() override { setGoalsUi(m_previous); }
    OffScreenGoalsUi(const OffScreenGoalsUi&) = delete;
    OffScreenGoalsUi& operator=(const OffScreenGoalsUi&) = delete;

    void showNotification(const std::string&, const std::string&) override { }
    void playLilGodAnimation() override { }
    void updateDayButton() override { }
    void unlock(DayItem kind, const std::string& name) override { m_inner.unlock(kind, name); }
    bool loadDaySettings(const std::string& worldName) override { return m_inner.loadDaySettings(worldName); }
    void showDayCleared(CCArray*, CCArray*, CCArray*, CCArray*) override { }
    bool loadWorld(NSData* blob) override { return m_inner.loadWorld(blob); }
    std::string loadedWorldName() override { return m_inner.loadedWorldName(); }
    void setLoadedWorldName(const std::string& name) override { m_inner.setLoadedWorldName(name); }
    bool overviewUsed() override { return m_inner.overviewUsed(); }
    void setOverviewUsed(bool used) override { m_inner.setOverviewUsed(used); }
    void setStoryLevel2Flag() override { m_inner.setStoryLevel2Flag(); }
    void showStoryReminder(int day) override { owePage(reminderPage(day)); }
    void showFreeModeMessage() override { owePage(kOwedFreeModeMessage); }
    void showOutro() override { owePage(kOwedOutro); }

private:
    GoalsUi& m_inner;
    GoalsUi* m_previous;
};

}  // namespace

// --- the singleton ------------------------------------------------------------------

AchievementManager* AchievementManager::getInstance()
{
    if (!g_instance)
        g_instance = new AchievementManager();
    return g_instance;
}

void AchievementManager::resetInstanceForTests()
{
    delete g_instance;
    g_instance = nullptr;
}

AchievementManager::AchievementManager()
{
    registerAllGoals(*this);
}

AchievementManager::~AchievementManager()
{
    Call call(*this);
    clearDay();
}

AchievementManager::Call::~Call()
{
    if (--m_manager.m_depth > 0)
        return;
    // A destructor could let go of more: free until none is left.
    while (!m_manager.m_letGo.empty()) {
        std::vector<AchievementBase*> goals;
        goals.swap(m_manager.m_letGo);
        for (AchievementBase* goal : goals)
            delete goal;
    }
}

// --- lists ----------------------------------------------------------------------------

void AchievementManager::GoalList::append(AchievementBase* goal)
{
    goal->previous = tail;
    goal->next = nullptr;
    (tail ? tail->next : head) = goal;
    tail = goal;
    ++count;
}

void AchievementManager::GoalList::unlink(AchievementBase* goal)
{
    (goal->previous ? goal->previous->next : head) = goal->next;
    (goal->next ? goal->next->previous : tail) = goal->previous;
    goal->previous = goal->next = nullptr;
    --count;
}

void AchievementManager::letGo(AchievementBase* goal)
{
    if (goal)
        m_letGo.push_back(goal);
}

void AchievementManager::clearList(GoalList& list)
{
    while (AchievementBase* goal = list.head) {
        list.unlink(goal);
        letGo(goal);
    }
    ++m_clears;
}

void AchievementManager::clearDay()
{
    clearList(m_active);
    clearList(m_completed);
    letGo(m_step);
    m_step = nullptr;
    m_dayWon = false;
    m_boardShown = false;
    m_dayMissions = 0;
}

void AchievementManager::addMission(AchievementBase* mission)
{
    if (!mission)
        return;
    mission->rewardDue = 0;
    mission->rewardPending = 0;
    mission->dayIndex = static_cast<uint8_t>(std::min(m_dayMissions++, 255));
    m_active.append(mission);
}

void AchievementManager::setCurrentStep(AchievementBase* step)
{
    Call call(*this);
    if (step == m_step)
        return;
    letGo(m_step);
    m_step = step;
}

std::vector<std::pair<std::string, std::string>> AchievementManager::activeMissions()
{
    return textsOf(m_active);
}

std::vector<std::pair<std::string, std::string>> AchievementManager::completedMissions()
{
    return textsOf(m_completed);
}

std::vector<std::pair<std::string, std::string>> AchievementManager::textsOf(const GoalList& list)
{
    std::vector<std::pair<std::string, std::string>> missions;
    for (AchievementBase* m = list.head; m; m = m->next) {
        CCString* name = m->getName();
        CCString* briefing = m->getBriefing();
        missions.emplace_back(name ? name->getString() : std::string(),
                              briefing ? briefing->getString() : std::string());
    }
    return missions;
}

void AchievementManager::complete(AchievementBase* mission)
{
    m_active.unlink(mission);
    mission->rewardPending = 0;
    m_completed.append(mission);
}

// The mission's reward, then its move to the completed list (unless the
// reward cleared the day meanwhile).
void AchievementManager::reward(AchievementBase* mission)
{
    OneWrite write;
    Profile* profile = Profile::getInstance();
    const bool record = m_live && m_newBestDay && mission->dayIndex < kPaidRecordMissions;
    if (record) {
        recordPaid(profile->getGameMode(), profile->getDay(), 1u << mission->dayIndex);
        profile->save();
    }
    const uint64_t clears = m_clears;
    mission->onAccomplished();
    if (m_clears == clears)
        complete(mission);
    if (record && m_active.count == 0 && m_step)
        recordPaid(profile->getGameMode(), profile->getDay(), kDayWonBit);
}

void AchievementManager::announceWin()
{
    Profile* profile = Profile::getInstance();
    LOG << "day" << profile->getDay() << "won; its board waits for the day button";
    const char* notice = profile->getGameMode() == 0 ? "DayCompleteNotice" : "LevelCompleteNotice";
    goalsUi().showNotification(LocalUtils::localize(notice)->getString(), "");
}

bool AchievementManager::noteWin()
{
    if (m_live && m_step && m_active.count == 0 && !m_boardShown)
        m_dayWon = true;
    return m_dayWon;
}

// --- per step ---------------------------------------------------------------------------

void AchievementManager::checkMissions()
{
    if (m_active.count == 0 || worldHost().isFreePlay())
        return;
    Call call(*this);
    const int64_t now = platform::gameTime();
    const uint64_t clears = m_clears;
    bool passed = false;
    for (AchievementBase* mission = m_active.head; mission && m_clears == clears;) {
        AchievementBase* following = mission->next;
        if (mission->rewardPending) {
            if (mission->rewardDue <= now) {
                reward(mission);
                const bool won = !m_dayWon && noteWin();
                if (m_live)
                    goalsUi().playLilGodAnimation();
                // The day button now ends the level: the notice says so.
                if (won)
                    announceWin();
            }
        } else if (!passed && mission->isAccomplished()) {
            passed = true;
            if (m_live) {
                mission->rewardPending = 1;
                mission->rewardDue = dueAfter(now, mission->getRewardDelay());
            } else {
                reward(mission);
            }
        }
        mission = following;
    }
}

const std::array<AchievementManager::UserAchievement, AchievementManager::kUserAchievements>&
AchievementManager::userAchievements()
{
    static const std::array<UserAchievement, kUserAchievements> table{{
        {"InitialStory", "Achievement1", CampaignIndex::Story},
        {"UserMade", "Achievement2", CampaignIndex::UserMade},
        {"HumanCampaign", "Achievement3", CampaignIndex::Human},
        {"MusicCampaign", "Achievement4", CampaignIndex::Music},
        {"Contraptions", "Achievement5", CampaignIndex::Contraptions},
        {"Dinosaurs", "Achievement6", CampaignIndex::Dinosaurs},
        {"PixelArt", "Achievement7", CampaignIndex::PixelArt},
        {"LaserAndPipes", "Achievement8", CampaignIndex::LasersAndPipes},
        {"ZombieCampaign", "Achievement9", CampaignIndex::Zombie},
        {"RobotCampaign", "Achievement10", CampaignIndex::Robot},
        {"AlienCampaign", "Achievement11", CampaignIndex::Invasion},
    }};
    return table;
}

int AchievementManager::achievementSlot(const char* key)
{
    int slot = 0;
    bool digits = false;
    for (const char* c = key; c && *c; ++c) {
        if (*c < '0' || *c > '9')
            continue;
        digits = true;
        slot = slot * 10 + (*c - '0');
        if (slot >= Profile::kAchievementSlots)
            return -1;
    }
    return digits ? slot : -1;
}

void AchievementManager::checkAchievements()
{
    Profile* profile = Profile::getInstance();
    for (const UserAchievement& a : userAchievements()) {
        const int slot = achievementSlot(a.key);
        if (slot < 0 || profile->getAchievementUnlocked(slot) != 0 ||
            profile->getCompletionFlag(a.completionIndex) != 1)
            continue;
        profile->setAchievementUnlocked(slot, 1);
        profile->save();
        showAchievementEarned(CCString::create(a.name));
    }
}

// --- the goals window -------------------------------------------------------------------

bool AchievementManager::canSkipDay() const
{
    if (m_active.count == 0)
        return false;
    const Profile* profile = Profile::getInstance();
    if (!m_step || !isPastLastDay(profile->getGameMode(), ProfileFile::clampedSum(profile->getDay(), 1)))
        return true;
    return m_newBestDay || m_step->paysAgain();
}

void AchievementManager::completeAllMissions()
{
    Call call(*this);
    // The skip's cost, taken just before, and all it pays: one write.
    OneWrite write;
    const uint64_t clears = m_clears;
    // The missions active now; any a reward adds waits for its own test.
    AchievementBase* last = m_active.tail;
    while (AchievementBase* mission = m_active.head) {
        const bool wasLast = mission == last;
        reward(mission);
        if (wasLast || m_clears != clears)
            break;
    }
    // The active list has been emptied under any walk that called this.
    ++m_clears;
    noteWin();
    goalsUi().playLilGodAnimation();
}

void AchievementManager::endDay(int32_t gameMode)
{
    Call call(*this);
    if (m_active.count > 0) {
        LOG << "endDay:" << m_active.count << "missions are still open; the day goes on";
        return;
    }
    if (!m_step) {
        LOG << "endDay: no level step runs; the day goes on";
        return;
    }
    clearList(m_completed);
    if (m_live) {
        m_dayWon = false;
        m_boardShown = true;
    }
    m_step->onAccomplished();
    Profile* profile = Profile::getInstance();
    if (m_live) {
        StatsUtils::endDay(gameMode, profile->getDay());
        profile->setProgressWord(ProgressWord::DaysCompletedLive,
                                 ProfileFile::clampedSum(profile->getProgressWord(ProgressWord::DaysCompletedLive), 1));
    } else {
        profile->setRewardsOff(true);
        runLevelEnd();
        profile->setRewardsOff(false);
    }
    profile->save();
}

void AchievementManager::levelEnd()
{
    Call call(*this);
    m_dayWon = false;
    m_boardShown = false;
    runLevelEnd();
}

void AchievementManager::runLevelEnd()
{
    m_dayMissions = 0;
    if (m_step)
        m_step->onLevelEnd();
}

bool AchievementManager::keepWonDay(int32_t gameMode)
{
    if (!m_live || worldHost().isFreePlay() || !m_step)
        return false;
    for (AchievementBase* mission = m_active.head; mission; mission = mission->next)
        if (!mission->rewardPending)
            return false;
    Call call(*this);
    // The day's end and the pages it owes: one write.
    OneWrite write;
    OffScreenGoalsUi offScreen;
    // Passed and waiting for their delay: theirs now.
    if (m_active.count > 0)
        completeAllMissions();
    if (!m_dayWon && !m_boardShown)
        return false;
    LOG << "the won day" << Profile::getInstance()->getDay() << "ends as its scene goes";
    if (!m_boardShown)
        endDay(gameMode);
    levelEnd();
    Profile::getInstance()->save();
    return true;
}

bool AchievementManager::showOwedPage(int32_t gameMode)
{
    if (!hasPreparedDays(gameMode))
        return false;
    Profile* profile = Profile::getInstance();
    const uint32_t owed = static_cast<uint32_t>(profile->getProgressWord(owedPagesWord(gameMode))) & kOwedPages;
    // The earliest first; a later one waits for the entry after.
    const uint32_t page = owed & (~owed + 1);
    if (page == 0)
        return false;
    // Shown once: no longer owed from the write that shows it.
    profile->setProgressWord(owedPagesWord(gameMode), static_cast<int32_t>(owed & ~page));
    profile->save();
    LOG << "game mode" << gameMode << ": a page its last day's end owes shows now";
    GoalsUi& ui = goalsUi();
    switch (page) {
    case kOwedReminder2: ui.showStoryReminder(2); break;
    case kOwedReminder3: ui.showStoryReminder(3); break;
    case kOwedReminder4: ui.showStoryReminder(4); break;
    case kOwedFreeModeMessage: ui.showFreeModeMessage(); break;
    default: ui.showOutro(); break;
    }
    return true;
}

// --- days -------------------------------------------------------------------------------

void AchievementManager::startDay(int32_t day)
{
    Call call(*this);
    Profile* profile = Profile::getInstance();
    const int32_t mode = profile->getGameMode();
    if (day < 1 || day > kMaxDay) {
        LOG << "startDay: day" << day << "is out of range; day 1 starts";
        day = 1;
        profile->setDay(day);
    }
    const auto entry = m_modes.find(mode);
    if (entry != m_modes.end() && entry->second.lastDay > 0 && day > entry->second.lastDay) {
        day = entry->second.lastDay;
        profile->setDay(day);
    }
    clearDay();
    profile->setDayStarted(true);
    StatsUtils::startDay(mode, day);
    if (entry == m_modes.end()) {
        LOG << "not built yet: the goals of game mode" << mode << "(the day starts without goals)";
    } else {
        for (GoalMaker make : entry->second.missions)
            addMission(make());
        if (entry->second.firstStep)
            setCurrentStep(entry->second.firstStep());
        m_live = 0;
        for (int32_t replayed = 1; replayed < day; ++replayed)
            replayDay(mode);
    }
    m_live = 1;
    // A day never closed before pays what it announces.
    m_newBestDay = mode >= 0 && mode < Profile::kModeSlots && day >= profile->getBestDay(mode);
    // What was paid shows as done; a day found won goes on, and when that
    // ends the mode, its last day starts again.
    if (m_newBestDay && settlePaidMissions(mode, day) && isPastLastDay(mode, profile->getDay())) {
        startDay(profile->getDay());
        return;
    }
    goalsUi().updateDayButton();
}

void AchievementManager::settleWonDays()
{
    Call call(*this);
    Profile* profile = Profile::getInstance();
    const int32_t mode = profile->getGameMode();
    const int32_t day = profile->getDay();
    const int32_t points = profile->getLevelPoints();
    const bool started = profile->isDayStarted();
    GoalsUi* previous = setGoalsUi(&plainGoalsUi());
    for (const auto& entry : m_modes) {
        const int gameMode = entry.first;
        const int32_t best = hasPreparedDays(gameMode) ? profile->getBestDay(gameMode) : 0;
        if ((paidMissions(gameMode, best) & kDayWonBit) == 0)
            continue;
        LOG << "game mode" << gameMode << ": its won day" << best << "goes on at this start";
        profile->setGameMode(gameMode);
        profile->setDay(best);
        startDay(best);
        clearDay();
    }
    setGoalsUi(previous);
    profile->setGameMode(mode);
    profile->setDay(day);
    profile->setLevelPoints(points);
    profile->setDayStarted(started);
}

bool AchievementManager::wasMissionPaid(int32_t gameMode, int32_t day, int index)
{
    return index >= 0 && index < kPaidRecordMissions && ((paidMissions(gameMode, day) >> index) & 1u) != 0;
}

bool AchievementManager::settlePaidMissions(int32_t gameMode, int32_t day)
{
    const uint32_t paid = paidMissions(gameMode, day);
    if (paid == 0)
        return false;
    int settled = 0;
    m_live = 0;
    const uint64_t clears = m_clears;
    for (AchievementBase* mission = m_active.head; mission && m_clears == clears;) {
        AchievementBase* following = mission->next;
        if (mission->dayIndex < kPaidRecordMissions && ((paid >> mission->dayIndex) & 1u) != 0) {
            reward(mission);
            ++settled;
        }
        mission = following;
    }
    m_live = 1;
    LOG << "day" << day << ":" << settled << "of its missions were paid before; they show as done";
    if (settled == 0 || m_active.count > 0 || !m_step)
        return false;
    // Won, and the game went (killed) before the board's next button.
    LOG << "the won day" << day << "ends as its next button would end it";
    OneWrite write;
    OffScreenGoalsUi offScreen;
    endDay(gameMode);
    levelEnd();
    Profile::getInstance()->save();
    return true;
}

// One earlier day, silently: its missions rewarded from the last added to
// the first, all completed, then the day ended.
void AchievementManager::replayDay(int32_t gameMode)
{
    const uint64_t clears = m_clears;
    for (AchievementBase* mission = m_active.tail; mission && m_clears == clears;) {
        AchievementBase* before = mission->previous;
        mission->onAccomplished();
        mission = before;
    }
    while (m_clears == clears && m_active.head)
        complete(m_active.head);
    endDay(gameMode);
}

std::string AchievementManager::dayName(int gameMode, int day)
{
    if (gameMode == 0)
        return "Day" + std::to_string(day);
    return "Day" + std::to_string(gameMode) + "_" + std::to_string(day);
}

void AchievementManager::loadDay(int32_t day)
{
    const int32_t mode = Profile::getInstance()->getGameMode();
    if (!hasPreparedDays(mode)) {
        LOG << "loadDay: game mode" << mode << "has no prepared days";
        return;
    }
    const std::string name = dayName(mode, day);
    LOG << "loadDay:" << name;
    if (loadMissionUniverse(name)) {
        // The world menu names the day or level, and its goals, in the
        // player's language rather than by the prepared world's file.
        std::string goals;
        for (const auto& [mission, briefing] : activeMissions())
            goals += (goals.empty() ? "" : ", ") + mission;
        GameServices& services = gameServices();
        services.setUniverseName(levelTitle(mode, day, false));
        services.setUniverseDescription(goals);
    }
    goalsUi().loadDaySettings(name);
}

bool AchievementManager::loadMissionUniverse(const std::string& worldName)
{
    if (!isPlainName(worldName)) {
        LOG << "loadDay: refused the world name" << worldName << "(the current world stays)";
        return false;
    }
    const std::string path = "universes/Missions/" + worldName;
    if (!CCFileUtils::sharedFileUtils()->isFileExist(path)) {
        LOG << "loadDay: no world" << path << "(the current world stays)";
        return false;
    }
    if (!goalsUi().loadWorld(NSData::dataWithResourceFile(path))) {
        LOG << "loadDay: the world" << path << "was not loaded (the current world stays)";
        return false;
    }
    goalsUi().setLoadedWorldName(worldName);
    LOG << "loadDay: loaded" << worldName;
    return true;
}

// --- the game modes' first days ----------------------------------------------------------

void AchievementManager::setEntryMissions(int gameMode, std::vector<GoalMaker> missions)
{
    m_modes[gameMode].missions = std::move(missions);
}

void AchievementManager::setFirstStep(int gameMode, GoalMaker step)
{
    m_modes[gameMode].firstStep = step;
}

void AchievementManager::setLastDay(int gameMode, int32_t day)
{
    m_modes[gameMode].lastDay = day;
}

bool AchievementManager::isPastLastDay(int gameMode, int32_t day) const
{
    const auto entry = m_modes.find(gameMode);
    return entry != m_modes.end() && entry->second.lastDay > 0 && day > entry->second.lastDay;
}

int32_t AchievementManager::shownDay(int gameMode, int32_t day) const
{
    return isPastLastDay(gameMode, day) ? m_modes.at(gameMode).lastDay : day;
}
