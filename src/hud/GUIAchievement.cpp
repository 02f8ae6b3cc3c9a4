#include "hud/GUIAchievement.h"

#include <algorithm>
#include <cmath>
#include <climits>

#include "SimpleAudioEngine.h"
#include "base/LocalUtils.h"
#include "base/Logger.h"
#include "base/ScreenMetrics.h"
#include "base/Utils.h"
#include "goals/AchievementManager.h"
#include "goals/GoalFunctions.h"
#include "gui/GUIButton.h"
#include "gui/GUILabel.h"
#include "gui/GUIPopup.h"
#include "gui/WeakCallRelay.h"
#include "hud/GUI.h"
#include "hud/GUIIngameMessage.h"
#include "hud/GUITopBar.h"
#include "profile/Profile.h"
#include "scene/GameLayer.h"
#include "gui/ScreenUtils.h"

USING_NS_CC;

namespace {

const char* const kTextFont = "achgui_ach_colorFont";
const char* const kButtonFont = "achgui_ach_fontButtons";
enum Button { kNext = 1, kSkip = 2, kHint = 3, kClose = 4 };

const ccColor3B kGold{255, 214, 110};
const ccColor3B kWhite{255, 255, 255};
// Inside the panel: the text's left edge and the room it wraps in.
constexpr float kMargin = 10.0f;
constexpr float kIndent = 18.0f;
// The buttons' row along the bottom, and the texts' lowest line above it.
constexpr float kButtonRow = 6.0f;
constexpr float kTextFloor = 26.0f;

void playSound(const char* name)
{
    CocosDenshion::SimpleAudioEngine::sharedEngine()->playEffect(soundFilePath("sounds", name).c_str(), false);
}

int32_t manaTotal(CCArray* mana)
{
    int64_t total = 0;
    if (!mana)
        return 0;
    for (CCObject* o : *mana) {
        if (auto* i = dynamic_cast<CCInteger*>(o))
            total += i->getValue();
        else if (auto* s = dynamic_cast<CCString*>(o))
            total += s->intValue();
    }
    return static_cast<int32_t>(std::clamp<int64_t>(total, INT32_MIN, INT32_MAX));
}

std::string localized(const char* key)
{
    return LocalUtils::localize(key)->getString();
}

float lineHeight(float scale)
{
    return (GUILabel::fontSize - GUILabel::baseLine) * scale;
}

// A text wrapped in width (the panel's units) at a size, its first line's top
// at top; top moves below its last line. A text that needs more than
// maxLines lines is set smaller, down to two thirds of the size, rather
// than cut.
GUILabel* addText(CCNode* parent, const std::string& text, float size, const ccColor3B& colour, float x, float& top,
                  float width, int maxLines)
{
    float scale = size / GUILabel::fontSize;
    const float smallest = scale * 2 / 3;
    // The layout counts its line breaks (a fresh label for each try: a
    // layout without a break leaves the count as it was).
    while (scale > smallest) {
        GUILabel* trial = GUILabel::create();
        trial->setMultilineText(CCString::create(text), width / scale, maxLines + 1);
        if (trial->getLineCount() < maxLines)
            break;
        scale = std::fmax(smallest, scale - size / GUILabel::fontSize / 16);
    }
    GUILabel* label = GUILabel::create();
    label->setScale(scale);
    label->setColor(colour);
    label->setAnchorPoint(CCPointZero);
    label->setMultilineText(CCString::create(text), width / scale, maxLines);
    label->setPosition(ccp(x, top - lineHeight(scale)));
    parent->addChild(label);
    // The layout counts its line breaks.
    const int lines = std::min(label->getLineCount() + 1, maxLines);
    const float step = (GUILabel::fontSize - GUILabel::baseLine + 2.0f + GUILabel::lineSpacing) * scale;
    top -= lineHeight(scale) + static_cast<float>(lines - 1) * step + label->getAddedLineRoom() * scale;
    return label;
}

GUI* hud()
{
    GameLayer* layer = GameLayer::existingInstance();
    return layer ? layer->getGUI() : nullptr;
}

float topBarHeight()
{
    return 80.0f * static_cast<float>(screenRatio);
}

}  // namespace

GUIAchievement* GUIAchievement::create(CCSize size)
{
    auto* window = new GUIAchievement();
    window->initWithSize(size);
    window->autorelease();
    return window;
}

void GUIAchievement::present(int board)
{
    m_board = board;
    // The panel covers where notices slide down: they wait for its closing.
    GUITopBar::getInstance()->holdNotifications();
    m_acted = false;
    // The board waits for its Next as a box waits for its answer: a click
    // meant for the world or for what came before never passes it unread.
    if (board == kDayCleared)
        startOpening();
    else
        finishOpening();
    setPressedButton(nullptr);
    setTouchArea(nullptr);
    removeAllChildrenWithCleanup(true);
    m_panel = nullptr;
    m_titleLabel = nullptr;
    m_nextButton = m_skipButton = m_hintButton = m_closeButton = nullptr;
    CCSpriteFrameCache* frames = CCSpriteFrameCache::sharedSpriteFrameCache();
    frames->addSpriteFramesWithFile("pvr/guitopbar.plist");
    frames->addSpriteFramesWithFile("pvr/achgui.plist");
    // The world stays in sight around the panel; the board, which waits for
    // its button, dims the top bar too.
    const float below = board == kDayCleared ? screenSize.height : screenSize.height - topBarHeight();
    addChild(CCLayerColor::create(ccc4(0, 0, 0, 110), screenSize.width, below));
    m_buttonContainer = CCNode::create();
    addChild(m_buttonContainer, 1);
    if ((m_panel = CCSprite::createWithSpriteFrameName("achgui_panel.png"))) {
        m_panel->setScale(sheetScale());
        m_panel->setPosition(ccp(screenSize.width / 2, (screenSize.height - topBarHeight()) / 2));
        m_buttonContainer->addChild(m_panel);
        m_buttonContainer = m_panel;
        setTouchArea(m_panel);
    }
    GUILabel::lineSpacing = 0;
    const CCSize panel = m_buttonContainer->getContentSize();
    Profile* profile = Profile::getInstance();
    const int32_t day = AchievementManager::getInstance()->shownDay(profile->getGameMode(), profile->getDay());
    addTitle(levelTitle(profile->getGameMode(), day, board == kDayCleared));
    float top = panel.height - 22;
    if (board == kDayCleared) {
        addBoardSections(top);
        m_nextButton =
            addButton("achgui_btnNext.png", "GenericNextBut", kNext, ccp(panel.width / 2, kButtonRow), ccp(0.5f, 0));
    } else {
        AchievementManager* goals = AchievementManager::getInstance();
        for (const auto& [name, briefing] : goals->completedMissions())
            addGoal(name, briefing, true, top);
        for (const auto& [name, briefing] : goals->activeMissions())
            addGoal(name, briefing, false, top);
        m_closeButton =
            addButton("achgui_btnClose.png", nullptr, kClose, ccp(panel.width - 3, panel.height - 3), ccp(1, 1));
        const bool skip = goals->canSkipDay();
        const bool hints = GUIPopup::levelHasHints(profile->getGameMode(), profile->getDay());
        if (hints)
            m_hintButton =
                addButton("achgui_btnHint.png", "GoalsHintsBut", kHint,
                          ccp(skip ? panel.width / 2 - 4 : panel.width / 2, kButtonRow), ccp(skip ? 1.0f : 0.5f, 0));
        if (skip)
            m_skipButton =
                addButton("achgui_btnSkip.png", "SkipLevelTitle", kSkip,
                          ccp(hints ? panel.width / 2 + 4 : panel.width / 2, kButtonRow), ccp(hints ? 0.0f : 0.5f, 0));
    }
    if (top < kTextFloor)
        LOG << "goals window: the text runs" << kTextFloor - top << "below its room";
    if (getState() != Open && getState() != Opening)
        toggle();
}

void GUIAchievement::addTitle(const std::string& text)
{
    if (text.empty())
        return;
    m_lines.insert(m_lines.begin(), text);
    const CCSize panel = m_buttonContainer->getContentSize();
    GUILabel::setFontName(kButtonFont);
    m_titleLabel = GUILabel::create();
    m_titleLabel->setScale(12.0f / GUILabel::fontSize);
    m_titleLabel->setText(CCString::create(text));
    m_titleLabel->setColor(m_board == kDayCleared ? kGold : kWhite);
    m_titleLabel->setAnchorPoint(ccp(0.5f, 0.5f));
    m_titleLabel->setPosition(ccp(panel.width / 2, panel.height - 10));
    // Clear of the close button at either side.
    const float room = panel.width - 2 * 20;
    if (const float width = m_titleLabel->getWidth() * m_titleLabel->getScale(); width > room)
        m_titleLabel->setScale(m_titleLabel->getScale() * room / width);
    m_buttonContainer->addChild(m_titleLabel);
}

bool GUIAchievement::goalFits(CCString* name, CCString* briefing)
{
    CCSpriteFrameCache::sharedSpriteFrameCache()->addSpriteFramesWithFile("pvr/achgui.plist");
    GUILabel::setFontName(kButtonFont);
    GUILabel* nameLine = GUILabel::create();
    nameLine->setText(name);
    GUILabel::setFontName(kTextFont);
    GUILabel* briefingLines = GUILabel::create();
    briefingLines->setMultilineText(briefing, kGoalRoom * GUILabel::fontSize / kBriefingSize, kBriefingLines + 1);
    return nameLine->getWidth() * kNameSize / GUILabel::fontSize <= kGoalRoom &&
        briefingLines->getLineCount() + 1 <= kBriefingLines;
}

void GUIAchievement::addGoal(const std::string& name, const std::string& briefing, bool done, float& top)
{
    if (CCSprite* mark = CCSprite::createWithSpriteFrameName(done ? "achgui_goalDone.png" : "achgui_goalOpen.png")) {
        mark->setAnchorPoint(ccp(0, 1));
        mark->setPosition(ccp(kMargin - 2, top + 1));
        m_buttonContainer->addChild(mark);
    }
    GUILabel::setFontName(kButtonFont);
    addText(m_buttonContainer, name, kNameSize, done ? ccc3(150, 210, 160) : kGold, kIndent, top, kGoalRoom, 1);
    top -= 2;
    GUILabel::setFontName(kTextFont);
    addText(m_buttonContainer, briefing, kBriefingSize, kWhite, kIndent, top, kGoalRoom, kBriefingLines);
    top -= 6;
}

void GUIAchievement::addBoardSections(float& top)
{
    const CCSize panel = m_buttonContainer->getContentSize();
    if (m_sections.empty()) {
        GUILabel::setFontName(kTextFont);
        addText(m_buttonContainer, localized("BoardWonBefore"), 9, kWhite, kMargin, top, panel.width - 2 * kMargin, 3);
    }
    for (const Section& section : m_sections) {
        GUILabel::setFontName(kButtonFont);
        addText(m_buttonContainer, section.heading, 10, kGold, kMargin, top, panel.width - 2 * kMargin, 2);
        top -= 3;
        GUILabel::setFontName(kTextFont);
        if (section.kind == Section::Elements) {
            // Two columns of an element's picture beside its title.
            const float column = (panel.width - kIndent - kMargin) / 2;
            for (size_t i = 0; i < section.shown.size(); ++i) {
                const float x = kIndent + column * static_cast<float>(i % 2);
                const std::string frame = "guitopbar_HUDelement_" + section.elements[i] + ".png";
                if (CCSprite* icon = CCSprite::createWithSpriteFrameName(frame.c_str())) {
                    icon->setAnchorPoint(ccp(0, 1));
                    icon->setScale(0.75f);
                    icon->setPosition(ccp(x, top + 1));
                    m_buttonContainer->addChild(icon);
                }
                float rowTop = top;
                addText(m_buttonContainer, section.shown[i], 9, kWhite, x + 13, rowTop, column - 15, 1);
                if (i % 2 == 1 || i + 1 == section.shown.size())
                    top -= 12;
            }
        } else if (section.kind == Section::Mana) {
            if (CCSprite* icon = CCSprite::createWithSpriteFrameName("guitopbar_HUDMana.png")) {
                icon->setAnchorPoint(ccp(0, 1));
                icon->setPosition(ccp(kIndent, top + 1));
                m_buttonContainer->addChild(icon);
            }
            GUILabel::setFontName(kButtonFont);
            addText(m_buttonContainer, section.shown.front(), 10, kWhite, kIndent + 13, top, 80, 1);
        } else {
            std::string joined;
            for (const std::string& name : section.shown)
                joined += (joined.empty() ? "" : ", ") + name;
            addText(m_buttonContainer, joined, 9, kWhite, kIndent, top, panel.width - kIndent - kMargin, 3);
        }
        top -= 5;
    }
}

GUIButton* GUIAchievement::addButton(const char* frame, const char* captionKey, int which, const CCPoint& at,
                                     const CCPoint& anchor)
{
    GUIButton* button =
        GUIButton::create(CCCallFuncO::create(WeakCallRelay::create(this, callfuncO_selector(GUIAchievement::onButton)),
                                              callfuncO_selector(WeakCallRelay::fire), CCInteger::create(which)),
                          frame, nullptr);
    if (!button)
        return nullptr;
    button->setAnchorPoint(anchor);
    button->setPosition(at);
    button->setActivateDelayed(true);
    if (captionKey) {
        const CCSize size = button->getContentSize();
        GUILabel::setFontName(kButtonFont);
        button->setText(LocalUtils::localize(captionKey), 10, ccp(size.width / 2, size.height / 2 + 0.5f),
                        ccp(0.5f, 0.5f), kWhite);
        button->fitCaption(4);
    }
    m_buttonContainer->addChild(button);
    return button;
}

void GUIAchievement::onButton(CCObject* which)
{
    auto* button = dynamic_cast<CCInteger*>(which);
    if (!button)
        return;
    switch (button->getValue()) {
    case kNext: onNextDayButton(); break;
    case kSkip: onSkipButton(); break;
    case kHint: onHintButton(); break;
    case kClose:
        if (m_board == kTodayGoals)
            hide();
        break;
    default: break;
    }
}

void GUIAchievement::show()
{
    showTodayGoals();
}

void GUIAchievement::showTodayGoals()
{
    m_lines.clear();
    std::string names;
    for (const auto& [name, briefing] : AchievementManager::getInstance()->activeMissions()) {
        m_lines.push_back(name);
        m_lines.push_back("  " + briefing);
        names += (names.empty() ? "" : "; ") + name;
    }
    // Unattended runs read what the player was asked to do from the log.
    LOG << "today's goals:" << (names.empty() ? std::string("none") : names);
    present(kTodayGoals);
}

std::vector<GUIAchievement::Section> GUIAchievement::sectionsOf(CCArray* elements, CCArray* options,
                                                                CCArray* backgrounds, CCArray* mana)
{
    std::vector<Section> sections;
    const struct {
        Section::Kind kind;
        const char* heading;
        CCArray* items;
        std::string (*titleOf)(const std::string&);
    } lists[] = {{Section::Elements, "BoardUnlockedElements", elements, elementTitle},
                 {Section::Names, "BoardUnlockedOptions", options, itemTitle},
                 {Section::Names, "BoardUnlockedBackgrounds", backgrounds, backgroundTitle}};
    for (const auto& list : lists) {
        Section section{list.kind, localized(list.heading), {}, {}};
        if (list.items)
            for (CCObject* o : *list.items)
                if (auto* name = dynamic_cast<CCString*>(o)) {
                    section.shown.push_back(list.titleOf(name->getString()));
                    section.elements.push_back(name->getString());
                }
        if (!section.shown.empty())
            sections.push_back(std::move(section));
    }
    if (mana && mana->count() > 0)
        sections.push_back({Section::Mana, localized("BoardManaEarned"), {std::to_string(manaTotal(mana))}, {}});
    return sections;
}

std::vector<std::string> GUIAchievement::buildGoalsList(CCArray* elements, CCArray* options, CCArray* backgrounds,
                                                        CCArray* mana)
{
    std::vector<std::string> lines;
    for (const Section& section : sectionsOf(elements, options, backgrounds, mana)) {
        lines.push_back(section.heading);
        for (const std::string& shown : section.shown)
            lines.push_back("  " + shown);
    }
    return lines;
}

void GUIAchievement::showDayCleared(CCArray* elements, CCArray* options, CCArray* backgrounds, CCArray* mana)
{
    m_sections = sectionsOf(elements, options, backgrounds, mana);
    m_lines = buildGoalsList(elements, options, backgrounds, mana);
    GUITopBar::getInstance()->setLocked(true);
    present(kDayCleared);
    // Unattended runs wait for the board in the log.
    std::string shown;
    for (const std::string& line : m_lines) {
        const size_t text = line.find_first_not_of(' ');
        if (text != std::string::npos)
            shown += (shown.empty() ? "" : "; ") + line.substr(text);
    }
    LOG << "day-cleared board:" << shown;
    // The day button's won face has done its work.
    GUITopBar::getInstance()->updateDayButton();
}

void GUIAchievement::hide()
{
    m_board = kNoBoard;
    GUITopBar::getInstance()->showHeldNotifications();
    if (getState() == Open || getState() == Opening) {
        stopAllActions();
        m_state = Open;
        close();
    }
    // A message page that came up meanwhile (a reminder set up by the next
    // day) keeps the bar locked.
    GUIIngameMessage* message = GUIIngameMessage::existingInstance();
    GUITopBar::getInstance()->setLocked(message && message->holdsTopBarLocked());
}

void GUIAchievement::onBackPressed()
{
    if (m_board == kTodayGoals && getState() == Open)
        hide();
}

void GUIAchievement::onTouchOutside()
{
    if (m_board == kTodayGoals)
        hide();
}

void GUIAchievement::onHintButton()
{
    if (m_board != kTodayGoals)
        return;
    ScreenUtils::showPopup(CCString::create(""), nullptr, nullptr, nullptr, nullptr, GUIPopup::Hints);
}

void GUIAchievement::onNextDayButton()
{
    if (m_acted || m_board != kDayCleared)
        return;
    m_acted = true;
    playSound("sfx_gui_next");
    AchievementManager* goals = AchievementManager::getInstance();
    // Without a running step there is no next day to load: the board only
    // closes.
    if (!goals->hasCurrentStep()) {
        hide();
        return;
    }
    // The ended level's notices, held while its board showed, are not the
    // next one's.
    GUITopBar::getInstance()->dropNotifications();
    goals->levelEnd();
    // The new day's world comes in this frame: no world step may test its
    // missions on the old one. After the last level (a campaign's or the
    // story's end) no level follows: the world and the player's element stay.
    Profile* profile = Profile::getInstance();
    if (!goals->isPastLastDay(profile->getGameMode(), profile->getDay())) {
        goals->loadDay(profile->getDay());
        if (GUI* gui = hud())
            gui->selectStartElementAndTool();
    }
    GUITopBar::getInstance()->updateDayButton();
    profile->setDayStarted(true);
    GUIIngameMessage* message = GUIIngameMessage::existingInstance();
    if ((message && message->getParent()) || !goals->hasActiveGoals()) {
        hide();
        return;
    }
    GUITopBar::getInstance()->setLocked(false);
    showTodayGoals();
}

bool GUIAchievement::canPaySkip()
{
    Profile* profile = Profile::getInstance();
    return static_cast<int64_t>(profile->getMana()) + profile->getPendingMana() >= kSkipPrice;
}

void GUIAchievement::onSkipButton()
{
    if (m_acted || m_board != kTodayGoals || !AchievementManager::getInstance()->canSkipDay())
        return;
    if (!Profile::getInstance()->isRewardsOff() && !canPaySkip()) {
        if (GUI* gui = hud())
            gui->showNotEnoughMana();
        return;
    }
    GUIPopup::getInstance()->setPurchaseInfo(LocalUtils::localize("SkipLevelTitle"),
                                             CCString::create("popups_exclamation.png"), static_cast<float>(kSkipPrice),
                                             LocalUtils::localize("SkipLevelDescription"));
    ScreenUtils::showPopup(nullptr, this, callfunc_selector(GUIAchievement::onSkipConfirmed), nullptr, nullptr,
                           GUIPopup::Purchase);
}

void GUIAchievement::onSkipConfirmed()
{
    AchievementManager* goals = AchievementManager::getInstance();
    if (m_acted || m_board != kTodayGoals || !goals->canSkipDay())
        return;
    Profile* profile = Profile::getInstance();
    const bool charged = !profile->isRewardsOff();
    // The mana may have gone since the question was asked.
    if (charged && !canPaySkip()) {
        if (GUI* gui = hud())
            gui->showNotEnoughMana();
        return;
    }
    m_acted = true;
    if (charged)
        profile->setPendingMana(profile->getPendingMana() - kSkipPrice);
    goals->completeAllMissions();
    // The day now ends as the day button ends it, on this window.
    m_board = kNoBoard;
    if (GameLayer* layer = GameLayer::existingInstance())
        layer->openGoalsWindow();
    else
        showTodayGoals();
}
