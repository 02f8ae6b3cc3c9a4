#pragma once
// GUIShare: the window of the camera button. It shows the world's picture
// under a bubble that invites the player to share it; OK closes it and
// rewards a share with 250 mana at most four times per game version; the
// save button writes the whole screen as a PNG where the save dialog says.
// Nothing is posted anywhere. The game layer creates it on the camera button
// and lets it go once it has closed. Main thread only.
#include <cstdint>

#include "cocos2d.h"
#include "gui/GUIWindow.h"

class GUIButton;
class GUILabel;

class GUIShare : public GUIWindow {
public:
    static constexpr int kDimTag = 1;
    static constexpr int32_t kReward = 250;
    static constexpr int32_t kShareLimit = 5;  // the fifth OK of a version is not rewarded

    static GUIShare* create(cocos2d::CCSize size);
    ~GUIShare() override;

    bool initWithSize(cocos2d::CCSize size) override;
    // Leaving the scene for good: the buttons' actions hold the window, so
    // they go first.
    void cleanup() override;
    // Replaces the picture and the buttons; keeps both images (CCImage,
    // either may be missing) until the next call.
    void buildContent(cocos2d::CCObject* worldImage, cocos2d::CCObject* screenImage);
    // Opens a closed window (unless another one is open) and locks the top
    // bar; closes an open one and unlocks it.
    void toggle();

    void onOkPressed();
    void saveScreenshotAs();
    void onBackPressed() override;

    // The shares counted in this version: loaded from the profile by every
    // new window, 5 once the last rewarded one is past.
    static int32_t getShareCounter();

    cocos2d::CCImage* getWorldImage() const { return m_worldImage; }
    cocos2d::CCImage* getScreenImage() const { return m_screenImage; }
    cocos2d::CCSprite* getSnapshot() const { return m_snapshot; }
    GUIButton* getOkButton() const { return m_okButton; }
    GUIButton* getSaveButton() const { return m_saveButton; }
    GUILabel* getBubbleLabel() const { return m_bubbleLabel; }
    cocos2d::CCSprite* getWindowSprite() const { return m_windowSprite; }

private:
    void clearContent();
    void closeIfOpen();

    cocos2d::CCImage* m_worldImage = nullptr;   // retained
    cocos2d::CCImage* m_screenImage = nullptr;  // retained
    cocos2d::CCSprite* m_windowSprite = nullptr;
    cocos2d::CCSprite* m_snapshot = nullptr;
    GUILabel* m_bubbleLabel = nullptr;
    GUIButton* m_okButton = nullptr;
    GUIButton* m_saveButton = nullptr;
};
