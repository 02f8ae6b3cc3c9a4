#include "hud/GUISaveLoad.h"

#include <algorithm>

#include "SimpleAudioEngine.h"
#include "base/LocalUtils.h"
#include "base/Logger.h"
#include "base/NSData.h"
#include "base/PlatformUtils.h"
#include "base/ScreenMetrics.h"
#include "gui/ScreenUtils.h"
#include "base/Utils.h"
#include "gui/GUIBatchNodeMenu.h"
#include "gui/GUIButton.h"
#include "gui/GUILabel.h"
#include "gui/GUIPopup.h"
#include "gui/GUIWindow.h"
#include "gui/SlidingLayer.h"
#include "hud/GUI.h"
#include "scene/GameLayer.h"
#include "scene/SaveLoadUtils.h"
#include "scene/WorldPictures.h"
#include "world/ByteStream.h"
#include "world/GameServices.h"
#include "world/WorldBlob.h"

#include <vector>

USING_NS_CC;
using CocosDenshion::SimpleAudioEngine;

namespace {

constexpr const char* kFont = "guisaveload_ach_fontButtons";
// The list's panel: where it stands (UI-scale units) and its frame's width
// (sheet pixels).
constexpr float kPanelX = 260, kPanelWidth = 190;

void playSound(const char* name)
{
    SimpleAudioEngine::sharedEngine()->playEffect(soundFilePath("sounds", name).c_str(), false);
}

float uiScale()
{
    return static_cast<float>(screenRatio);
}

GUIButton* makeButton(GUISaveLoad* target, SEL_CallFunc action, const char* frame, const char* icon)
{
    GUIButton* button = GUIButton::create(CCCallFunc::create(target, action), frame, icon);
    button->setAnchorPoint(CCPointZero);
    button->setScale(4.0f * uiScale());
    return button;
}

CCSprite* frameSprite(const char* frame)
{
    CCSpriteFrame* f = CCSpriteFrameCache::sharedSpriteFrameCache()->spriteFrameByName(frame);
    return f ? CCSprite::createWithSpriteFrame(f) : CCSprite::create();
}

}  // namespace

CCScene* GUISaveLoad::scene()
{
    CCScene* scene = CCScene::create();
    auto* layer = new GUISaveLoad();
    layer->init();
    layer->autorelease();
    scene->addChild(layer);
    auto* borders = new GUIBorderLayer();
    scene->addChild(borders);
    borders->release();
    return scene;
}

GUISaveLoad::~GUISaveLoad()
{
    CC_SAFE_RELEASE(m_rows);
    CC_SAFE_RELEASE(m_folder);
    ScreenUtils* screens = ScreenUtils::getInstance();
    screens->setCurrentWindow(screens->savedWindow);
}

bool GUISaveLoad::init()
{
    if (!CCLayer::init())
        return false;
    setTouchEnabled(true);
    return true;
}

void GUISaveLoad::registerWithTouchDispatcher()
{
    CCDirector::sharedDirector()->getTouchDispatcher()->addTargetedDelegate(this, 0, true);
}

void GUISaveLoad::onEnter()
{
    SimpleAudioEngine::sharedEngine()->playBackgroundMusic(soundFilePath("music", "music_main_menu").c_str(), true);
    BackButtonAdapter::getInstance()->addListener(this);
    ScreenUtils::getInstance()->setCurrentWindow(nullptr);
    CCDirector::sharedDirector()->setProjection(kCCDirectorProjection2D);
    CCTexture2D::PVRImagesHavePremultipliedAlpha(true);

    if (!m_built) {
        m_built = true;
        const float s = uiScale();
        const float p = 4.0f * s;
        const float margin = visibleMargin().width;

        m_menu = GUIBatchNodeMenu::create("pvr/guisaveload.pvr.ccz", 150);
        CCSpriteFrameCache::sharedSpriteFrameCache()->addSpriteFramesWithFile("pvr/guisaveload.plist");
        if (m_menu->getTexture())
            m_menu->getTexture()->setAliasTexParameters();
        m_menu->setAnchorPoint(CCPointZero);
        m_menu->setPosition(ccp(margin / 2, 0));
        m_menu->setFireOnPress(true);
        GUILabel::setFontName(kFont);

        // The rows are laid out for a screen wider than 4:3; where they would
        // run past the panel's right border, the list narrows and draws them
        // smaller.
        const float listX = margin / 2 + 291 * s;
        const float panelRight = margin / 2 + kPanelX * s + kPanelWidth * p;
        const float fit = std::clamp((panelRight - 2 * p - listX) / (864 * s), 0.1f, 1.0f);
        m_slidingLayer = SlidingLayer::create(ccp(listX, 214 * s), CCSize(864 * s * fit, 410 * s));
        m_slidingLayer->setAnchorPoint(CCPointZero);
        m_slidingLayer->setSelectionMode(2);
        m_slidingLayer->setScrollY(true);
        m_slidingLayer->setScrollX(false);
        m_slidingLayer->setDirectionalDrag(false);
        m_slidingLayer->setFriction(0.9f);
        m_slidingLayer->setScale(2 * s * fit);

        auto addSprite = [this, p](const char* frame, CCPoint at) {
            CCSprite* sprite = frameSprite(frame);
            sprite->setAnchorPoint(CCPointZero);
            sprite->setScale(p);
            sprite->setPosition(at);
            m_menu->addChild(sprite);
            return sprite;
        };
        addSprite("guisaveload_saveload_background.png", CCPointZero);
        addSprite("guisaveload_saveloadWindow.png", ccp(kPanelX * s, 100 * s));

        GUIButton* back = makeButton(this, callfunc_selector(GUISaveLoad::goBack), "guisaveload_saveloadBtnBack.png",
                                     "guisaveload_back_arrow.png");
        back->setPosition(ccp(3 * s, 17 * s));
        back->setEnabled(true);
        m_menu->addChild(back);
        addSprite(
            "guisaveload_saveloadGod.png",
            ccp(back->getPosition().x + 4 * p, back->getPosition().y + back->getContentSize().height * p - 2 * p));

        auto captioned = [this](SEL_CallFunc action, const char* frame, const char* key) {
            GUIButton* button = makeButton(this, action, frame, nullptr);
            const CCSize size = button->getContentSize();
            button->setText(LocalUtils::localize(key), 10, ccp(size.width / 2, size.height / 2), ccp(0.5f, 0.5f),
                            ccc3(255, 255, 255));
            button->setVisible(false);
            return button;
        };
        m_loadButton =
            captioned(callfunc_selector(GUISaveLoad::loadSelectedWorld), "guisaveload_saveloadBtnLoad.png", "LoadName");
        m_loadButton->setPosition(ccp(visibleSize.width - m_loadButton->getContentSize().width * p - 3 * s, 17 * s));
        m_menu->addChild(m_loadButton);
        m_deleteButton = captioned(callfunc_selector(GUISaveLoad::askDeleteSelectedWorld),
                                   "guisaveload_saveloadBtnDelete.png", "GenericDeleteBut");
        m_deleteButton->setPosition(
            ccp(m_loadButton->getPosition().x - m_deleteButton->getContentSize().width * p - 20 * s, 17 * s));
        m_menu->addChild(m_deleteButton);

        m_rewardsTabButton = makeButton(this, callfunc_selector(GUISaveLoad::showRewardWorlds),
                                        "guisaveload_reward_off.png", "guisaveload_reward_on.png");
        m_rewardsTabButton->setAnchorPoint(ccp(1, 1));
        m_rewardsTabButton->setPosition(ccp(1000 * s, 715 * s));
        if (m_rewardsTabButton->getIcon())
            m_rewardsTabButton->getIcon()->setVisible(false);
        m_userTabButton = makeButton(this, callfunc_selector(GUISaveLoad::showUserWorlds), "guisaveload_local_off.png",
                                     "guisaveload_local_on.png");
        m_userTabButton->setAnchorPoint(ccp(1, 1));
        m_userTabButton->setPosition(
            ccp(m_rewardsTabButton->getPosition().x - m_rewardsTabButton->getContentSize().width * p - 2 * s,
                m_rewardsTabButton->getPosition().y));
        for (auto [tab, key] :
             {std::pair{m_userTabButton, "MyWorldsFilterName"}, std::pair{m_rewardsTabButton, "RewardsFilterName"}}) {
            GUILabel* caption = GUILabel::create();
            caption->setText(LocalUtils::localize(key));
            caption->setAnchorPoint(ccp(0.5f, 0));
            caption->setPosition(ccp(tab->getContentSize().width / 2, 8));
            caption->setScale(GUILabel::fontSize > 0 ? 10 / GUILabel::fontSize : 1);
            tab->addChild(caption, 1);
        }
        m_menu->addChild(m_userTabButton);
        m_menu->addChild(m_rewardsTabButton);

        addChild(m_menu);
        addChild(m_slidingLayer);
    }
    CCLayer::onEnter();
}

void GUISaveLoad::onEnterTransitionDidFinish()
{
    showUserWorlds();
    ScreenUtils::getInstance()->setCurrentWindow(nullptr);
    CCLayer::onEnterTransitionDidFinish();
}

void GUISaveLoad::onExit()
{
    BackButtonAdapter::getInstance()->removeListener(this);
    CCLayer::onExit();
}

void GUISaveLoad::cleanup()
{
    if (m_menu)
        for (CCObject* child : *m_menu->getChildren())
            if (auto* button = dynamic_cast<GUIButton*>(child))
                button->setCallback(nullptr);
    CCLayer::cleanup();
}

void GUISaveLoad::goBack()
{
    playSound("sfx_gui_back");
    popSceneAfterDelay(0.25f);
}

void GUISaveLoad::onBackPressed()
{
    LOG << "GUISaveLoad: back";
    goBack();
}

void GUISaveLoad::selectFolder(const char* folder)
{
    playSound("sfx_gui_select");
    CC_SAFE_RELEASE(m_folder);
    m_folder = new CCString(folder);
    const bool user = std::string(folder) == "User";
    if (m_userTabButton && m_userTabButton->getIcon())
        m_userTabButton->getIcon()->setVisible(user);
    if (m_rewardsTabButton && m_rewardsTabButton->getIcon())
        m_rewardsTabButton->getIcon()->setVisible(!user);
    refreshList();
}

void GUISaveLoad::showUserWorlds()
{
    selectFolder("User");
}

void GUISaveLoad::showRewardWorlds()
{
    selectFolder("Rewards");
}

bool GUISaveLoad::hasSaveExtension(const std::string& name)
{
    return name.size() >= 4 && name.compare(name.size() - 4, 4, ".sav") == 0;
}

std::string GUISaveLoad::worldNameOf(const std::string& cloudName)
{
    std::string name = cloudName;
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos)
        name.erase(dot);
    const size_t slash = name.rfind('/');
    if (slash != std::string::npos)
        name.erase(0, slash + 1);
    return name;
}

std::string GUISaveLoad::listTitleOf(const std::string& cloudName)
{
    const std::string file = worldNameOf(cloudName);
    // A name is the world's when this file is where it is saved.
    auto namesTheFile = [&file](const std::string& name) {
        std::string nameFile;
        return SaveLoadUtils::worldFileName(name, nameFile) && !nameFile.empty() &&
            toLowerString(nameFile) == toLowerString(file);
    };
    GameServices& s = gameServices();
    // The header up to the end of the name field is enough.
    uint8_t head[worldblob::kNameOffset + worldblob::kTextFieldSize] = {};
    if (s.fileRead && s.fileRead(cloudName, head, sizeof head) == static_cast<int32_t>(sizeof head)) {
        const uint32_t version = loadU32(head);
        const std::string name = worldblob::readTextField(head + worldblob::kNameOffset, worldblob::kTextFieldSize);
        if (version >= 8 && version <= worldblob::kCurrentVersion && namesTheFile(name))
            return name;
    }
    // A world that cannot be read keeps the name it was saved under.
    const std::string nameFile = SaveLoadUtils::nameFileOf(cloudName);
    std::string typed;
    if (s.getFileSize(nameFile) <= 4 * static_cast<int32_t>(worldblob::kTextFieldSize) &&
        readStoreFile(nameFile, typed) && namesTheFile(typed))
        return typed;
    std::string title = file;
    std::replace(title.begin(), title.end(), '_', ' ');
    return title;
}

namespace {

CCArray* worldsAmong(const std::list<std::string>& files)
{
    CCArray* names = CCArray::create();
    for (const std::string& name : files) {
        if (!GUISaveLoad::hasSaveExtension(name))
            continue;
        LOG << "Added " << name;
        names->addObject(CCString::create(name));
    }
    return names;
}

}  // namespace

CCArray* GUISaveLoad::listWorlds(CCString* folder)
{
    if (folder && folder->getString() == "All")
        return listAllWorlds();
    return worldsAmong(listCloudFiles(folder ? folder->getString() : std::string()));
}

CCArray* GUISaveLoad::listAllWorlds()
{
    // One look at the store for both folders.
    return worldsAmong(listCloudFiles({"Rewards", "User"}));
}

void GUISaveLoad::refreshList()
{
    if (!m_slidingLayer)
        return;
    m_slidingLayer->clearContent();
    m_loadButton->setVisible(false);
    m_deleteButton->setVisible(false);
    // The font's own letter spacing: a tighter one runs the row titles together.
    GUILabel::setFontName(kFont);

    CCArray* names = listWorlds(m_folder);
    m_rowCount = static_cast<int32_t>(names->count());
    CC_SAFE_RELEASE(m_rows);
    m_rows = CCArray::createWithCapacity(static_cast<unsigned>(m_rowCount));
    m_rows->retain();
    m_rowNames.clear();

    for (int32_t i = 0; i < m_rowCount; ++i) {
        auto* name = static_cast<CCString*>(names->objectAtIndex(static_cast<unsigned>(i)));
        const bool even = i % 2 == 0;
        auto* row =
            CCMenuItemSprite::create(frameSprite(even ? "guisaveload_bar_A_off.png" : "guisaveload_bar_B_off.png"),
                                     frameSprite(even ? "guisaveload_bar_A_on.png" : "guisaveload_bar_B_on.png"));
        row->setUserObject(CCInteger::create(i));

        int h = 0;
        CCSprite* thumbnail = ScreenUtils::loadThumbnailSprite(name);
        // A picture the disk could not take, or lost: the world has it still.
        if (!thumbnail)
            thumbnail = WorldPictures::drawSavedWorld(name->getString());
        if (thumbnail) {
            thumbnail->setAnchorPoint(CCPointZero);
            thumbnail->setPosition(ccp(1, 1));
            row->addChild(thumbnail);
            h = static_cast<int>(thumbnail->getContentSize().height);
            if (h > 80) {
                thumbnail->setScale(80.0f / static_cast<float>(h));
                h = 80;
                CCSprite* mark = frameSprite("gamemenus_HD.png");
                mark->setAnchorPoint(ccp(1, 0));
                mark->setScale(2);
                mark->setPosition(ccp(row->getContentSize().width - 2, 2));
                row->addChild(mark);
            }
        }

        const std::string title = listTitleOf(name->getString());
        GUILabel* label = GUILabel::create();
        label->setText(CCString::createWithFormat("%i - %s", i + 1, title.c_str()));
        LOG << "saved world listed as" << label->getText()->getString();
        label->setScale(GUILabel::fontSize > 0 ? 20 / GUILabel::fontSize : 1);
        label->setAnchorPoint(CCPointZero);
        label->setPosition(ccp(5, h + 5));
        row->addChild(label);

        row->setAnchorPoint(ccp(0, 1));
        // Row 0 at the top of the viewport, in the list's own (scaled) units.
        const float top = m_slidingLayer->getContentSize().height / m_slidingLayer->getScale();
        row->setPosition(ccp(0, top - row->getContentSize().height * static_cast<float>(i)));
        m_rows->addObject(row);
        m_rowNames.push_back(name->getString());
        m_slidingLayer->addChild(row);
    }
    // A drag or a fling stops with the first row at the top and the last at
    // the bottom, as the gallery's list does, never over an empty panel; rows
    // that fit the panel stay where they are.
    m_slidingLayer->setTopRightMargin(CCPointZero);
    m_slidingLayer->setBottomLeftMargin(ccp(0, std::max(0.0f, m_slidingLayer->getContentMin().y)));
    m_slidingLayer->setPosition(m_slidingLayer->getOrigin());
}

CCString* GUISaveLoad::selectedWorldName()
{
    CCMenuItemSprite* item = m_slidingLayer ? m_slidingLayer->getSelectedItem() : nullptr;
    auto* index = item ? dynamic_cast<CCInteger*>(item->getUserObject()) : nullptr;
    if (!index || index->getValue() < 0 || static_cast<size_t>(index->getValue()) >= m_rowNames.size())
        return nullptr;
    return CCString::create(m_rowNames[static_cast<size_t>(index->getValue())]);
}

void GUISaveLoad::loadSelectedWorld()
{
    if (!selectedWorldName())
        return;
    // As New world does: the world's unsaved changes are not dropped unasked.
    GameLayer* layer = GameLayer::existingInstance();
    if (layer && layer->getWorld().unsavedChanges) {
        ScreenUtils::showLosingQuestion(LocalUtils::localize("ConfirmationLoadWorld"), this,
                                        callfunc_selector(GUISaveLoad::loadSelectedWorldNow));
        return;
    }
    loadSelectedWorldNow();
}

void GUISaveLoad::loadSelectedWorldNow()
{
    CCString* name = selectedWorldName();
    if (!name)
        return;
    const std::string cloudName = name->getString();
    GameServices& s = gameServices();
    const int32_t size = s.fileExists && s.fileExists(cloudName) && s.getFileSize ? s.getFileSize(cloudName) : 0;
    bool loaded = false;
    if (size > 0 && s.fileRead) {
        std::vector<unsigned char> buffer(static_cast<size_t>(size));
        // Only a whole file is a world; a refused blob leaves the world as it was.
        if (s.fileRead(cloudName, buffer.data(), size) == size) {
            GameLayer* layer = GameLayer::getInstance();
            World& world = layer->getWorld();
            if (world.load(NSData::dataWithBytesNoCopy(buffer.data(), static_cast<uint32_t>(size)))) {
                world.eventFlags[World::kEventWorldLoaded] = 1;
                layer->setLoadedWorldName(CCString::create(worldNameOf(cloudName)));
                layer->setOnlineWorldId(0);
                if (layer->getGUI())
                    layer->getGUI()->showWorldMenu();
                loaded = true;
            }
        } else {
            LOG_ERROR << "saved world read short : " << cloudName;
        }
    }
    if (!loaded) {
        // The world stays as it was, and the list stays for another choice.
        LOG << "saved world" << cloudName << "could not be read: the world is unchanged";
        playSound("sfx_gui_error");
        ScreenUtils::showPopup(LocalUtils::localize("SavedWorldUnreadable"), nullptr, nullptr, nullptr, nullptr,
                               GUIPopup::Message);
        return;
    }
    playSound("sfx_gui_loading");
    goBack();
}

void GUISaveLoad::askDeleteSelectedWorld()
{
    ScreenUtils::showLosingQuestion(LocalUtils::localize("ConfirmationDeleteUniverse"), this,
                                    callfunc_selector(GUISaveLoad::deleteSelectedWorld));
}

void GUISaveLoad::deleteSelectedWorld()
{
    CCString* name = selectedWorldName();
    if (!name)
        return;
    GameServices& s = gameServices();
    if (s.fileDelete) {
        s.fileDelete(name->getString());
        s.fileDelete(SaveLoadUtils::thumbnailFileOf(name->getString()));
        s.fileDelete(SaveLoadUtils::nameFileOf(name->getString()));
        // And the note of its upload: a new world of that name is not the one shared.
        const std::string world = name->getString();
        s.fileDelete(world.substr(0, world.size() - 3) + "gallery");
    }
    refreshList();
}

bool GUISaveLoad::ccTouchBegan(CCTouch* touch, CCEvent* event)
{
    GUIWindow* window = ScreenUtils::getInstance()->getCurrentWindow();
    if (window && window->isVisible()) {
        window->handleTouchBegan(touch);
        return true;
    }
    m_touchInList = false;
    if (m_menu) {
        m_menu->handleTouchBegan(touch);
        if (m_menu->getPressedButton() || m_menu->hasFiredOnPress())
            return true;
    }
    if (m_slidingLayer)
        m_touchInList = m_slidingLayer->ccTouchBegan(touch, event);
    return true;
}

void GUISaveLoad::ccTouchMoved(CCTouch* touch, CCEvent* event)
{
    GUIWindow* window = ScreenUtils::getInstance()->getCurrentWindow();
    if (window && window->isVisible())
        window->handleTouchMoved(touch);
    else if (m_touchInList && m_slidingLayer)
        m_slidingLayer->ccTouchMoved(touch, event);
}

void GUISaveLoad::ccTouchEnded(CCTouch* touch, CCEvent* event)
{
    GUIWindow* window = ScreenUtils::getInstance()->getCurrentWindow();
    if (window && window->isVisible()) {
        window->handleTouchEnded(touch);
        return;
    }
    if (m_menu)
        m_menu->handleTouchEnded(touch);
    if (m_touchInList && m_slidingLayer) {
        m_slidingLayer->ccTouchEnded(touch, event);
        if (m_slidingLayer->getSelectedItem()) {
            m_loadButton->setVisible(true);
            m_deleteButton->setVisible(true);
        }
    }
}
