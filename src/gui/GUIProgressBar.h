#pragma once
// The modal popup of a network operation: a caption, a bar that moves
// towards its target every frame and, at 100, the callback of the result
// (completion or failure) and the result text with OK, or an empty result
// text that closes it at once. While it shows, the back key stops at it: it
// does nothing while the bar runs, and what OK does once OK shows. The
// network answers drive it through ScreenUtils; it never talks to the
// network. Main thread only.
#include "gui/GUIBox.h"

class GUIButton;
class GUILabel;

class GUIProgressBar : public GUIBox {
public:
    static constexpr int kZOrder = 200;
    static constexpr float kBarX = 18.0f;
    static constexpr float kBarY = 39.0f;
    // The caption's distance from the bar and the panel's sides.
    static constexpr float kCaptionMargin = 5.0f;
    static constexpr float kTickSeconds = 1.0f;
    static constexpr float kProgressStep = 2.5f;

    static GUIProgressBar* getInstance();
    // Tests: take the bar out and forget it.
    static void resetInstanceForTests();

    bool initWithSize(cocos2d::CCSize size) override;
    void onEnter() override;
    void update(float dt) override;

    void buildContent();
    void startProgress();
    void stepProgress(float dt);
    void setCaption(cocos2d::CCString* text);
    void setResultText(cocos2d::CCString* text);
    void showFailure();
    // Target 100 at ten per frame; the timer stops.
    void complete();
    void onOkPressed();
    void dismiss();
    void onDismissed();

    void setCompletedCallback(cocos2d::CCObject* target, cocos2d::SEL_CallFunc selector);
    void setFailedCallback(cocos2d::CCObject* target, cocos2d::SEL_CallFunc selector);
    float getDisplayedProgress() const { return m_displayedProgress; }
    float getTargetProgress() const { return m_targetProgress; }
    void setTargetProgress(float target);
    bool getFastFill() const { return m_fastFill; }
    void setFastFill(bool fast) { m_fastFill = fast; }
    bool isFailed() const { return m_failed; }
    bool isBuilt() const { return m_buttonContainer != nullptr; }
    GUIButton* getOkButton() const { return m_okButton; }
    GUILabel* getCaptionLabel() const { return m_captionLabel; }
    cocos2d::CCSprite* getBarFill() const { return m_barFill; }
    cocos2d::CCSprite* getBarEnd() const { return m_barEnd; }
    cocos2d::CCString* getResultText() const { return m_resultText; }

private:
    GUIProgressBar() = default;
    ~GUIProgressBar() override;
    // The back key and Return answer as OK does, once OK shows: its opening
    // starts then, and a running bar takes no press.
    void answerBackKey() override;
    void answerReturn() override { answerBackKey(); }
    void forgetAnswer() override;

    void advance(float step);
    void placeFill(float width);

    GUILabel* m_captionLabel = nullptr;
    GUIButton* m_okButton = nullptr;
    cocos2d::CCSprite* m_barFill = nullptr;
    cocos2d::CCSprite* m_barEnd = nullptr;
    cocos2d::CCRect m_barRect;
    float m_displayedProgress = 0.0f;
    float m_targetProgress = 0.0f;
    bool m_failed = false;
    bool m_fastFill = false;
    cocos2d::CCObject* m_completedTarget = nullptr;  // retained
    cocos2d::SEL_CallFunc m_completedSelector = nullptr;
    cocos2d::CCObject* m_failedTarget = nullptr;  // retained
    cocos2d::SEL_CallFunc m_failedSelector = nullptr;
    cocos2d::CCString* m_resultText = nullptr;  // retained
};
