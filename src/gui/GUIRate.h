#pragma once
// The small popup in which the player rates the online world being played:
// five stars and a tick. The tick sends the rating (the index of the
// rightmost lit star, -1 for none) to the target's rateWorld; the back key
// closes it sending nothing, as it does on every popup.
// Opened only through ScreenUtils::showRatePopup. Main thread only.
#include <cstdint>

#include "gui/GUIBox.h"

class GUIButton;
class GUILabel;

// What the rate popup tells the one that opened it: the rating chosen (a
// CCValue<float>).
class RatingTarget {
public:
    virtual ~RatingTarget() = default;
    virtual void rateWorld(cocos2d::CCObject* rating) = 0;
};

class GUIRate : public GUIBox {
public:
    static constexpr int kZOrder = 30;
    static constexpr int kStars = 5;
    static constexpr float kFadeSeconds = 0.3f;
    // In the panel's units: the stars' row, and the prompt's left edge and
    // the width its lines wrap in at full size.
    static constexpr float kStarsY = 34, kPromptX = 4, kPromptWidth = 122;

    static GUIRate* getInstance();
    // Tests: take the popup out and forget it.
    static void resetInstanceForTests();
    // The rating shown for a value from the server: its floor held in -1..4
    // (not a number counts as none).
    static int32_t ratingOf(float value);

    bool initWithSize(cocos2d::CCSize size) override;

    void build(float value, cocos2d::CCObject* target);
    void setRating(int32_t index);
    void onStarPressed(cocos2d::CCObject* index);
    void confirm();
    // Closes without sending anything.
    void cancel();
    void onDismissed();

    int32_t getRating() const { return m_rating; }
    GUIButton* getStar(int i) const { return i >= 0 && i < kStars ? m_stars[i] : nullptr; }
    GUIButton* getTickButton() const { return m_tickButton; }
    GUILabel* getPromptLabel() const { return m_promptLabel; }
    bool starLit(int i) const;

private:
    GUIRate() = default;
    ~GUIRate() override;
    // The back key closes it sending nothing; Return answers as the tick does.
    void answerBackKey() override;
    void answerReturn() override { confirm(); }
    void forgetAnswer() override { clearTarget(); }

    void clearTarget();
    void layOutPrompt();
    void fadeAway();

    GUILabel* m_promptLabel = nullptr;
    GUIButton* m_stars[kStars] = {};
    GUIButton* m_tickButton = nullptr;
    cocos2d::CCLayerColor* m_dimming = nullptr;
    int32_t m_rating = -1;
    cocos2d::CCObject* m_rateTarget = nullptr;  // retained
    RatingTarget* m_rateReceiver = nullptr;     // the target, when it hears ratings
};
