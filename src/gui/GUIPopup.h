#pragma once
// The one modal popup: a single window kept for the whole run and rebuilt for
// every question it asks. It dims the screen, shows a panel of the popups
// sheet at 4 x the UI scale, and runs the opener's action for the pressed
// button once it has closed. Kinds: 0 confirm, 1 purchase, 2 message, 3 share
// disclaimer, 4 level hints, 5 static confirm. The purchase panel is built in
// GUIPopupPurchase.cpp, the level hints in GUIPopupHints.cpp. Main thread
// only.
#include <cstdint>
#include <string>

#include "gui/GUIBox.h"

class GUIButton;
class GUILabel;
class Profile;

class GUIPopup : public GUIBox {
public:
    enum Kind { Confirm = 0, Purchase = 1, Message = 2, Disclaimer = 3, Hints = 4, StaticConfirm = 5 };
    static constexpr int kZOrder = 200;
    static constexpr int kDimTag = 1;
    static constexpr float kHideSeconds = 0.3f;
    static constexpr float kShortageDelay = 0.8f;
    static constexpr float kChargeDelay = 0.6f;

    static GUIPopup* getInstance();
    // Tests: take the popup out and forget it; the next getInstance makes a new one.
    static void resetInstanceForTests();
    static bool isValidKind(int kind) { return kind >= Confirm && kind <= StaticConfirm; }

    bool initWithSize(cocos2d::CCSize size) override;
    void onEnter() override;
    void onExit() override;

    // Builds one kind; the text shows in kinds 0, 2 and 5. False (and a log
    // line) for a kind outside 0-5, which builds nothing.
    bool build(int kind, cocos2d::CCString* text);
    // The opener's actions, after build (which clears both). Either may be null.
    void setActions(cocos2d::CCObject* okTarget, cocos2d::SEL_CallFunc okSelector, cocos2d::CCObject* cancelTarget,
                    cocos2d::SEL_CallFunc cancelSelector);
    // After build (which clears it): only a touch on OK confirms.
    void setReturnCancels(bool cancels) { m_returnCancels = cancels; }
    bool getReturnCancels() const { return m_returnCancels; }
    void setPurchaseInfo(cocos2d::CCString* title, cocos2d::CCString* icon, float price,
                         cocos2d::CCString* description);
    cocos2d::CCString* getPurchaseTitle() const { return m_purchaseTitle; }
    cocos2d::CCString* getPurchaseDescription() const { return m_purchaseDescription; }
    float getPurchasePrice() const { return m_purchasePrice; }
    bool isShown() const { return getParent() != nullptr; }
    bool isClosing() const { return isAnswered(); }

    void onOkPressed();
    void onCancelPressed();
    void onSpecialDealPressed();
    void hide();
    void onHidden();

    // Level hints.
    void loadHints();
    // Tests: read the hints from another file (empty: the game's).
    static void setHintsFileForTests(const std::string& path);
    void onHintSelected(cocos2d::CCObject* sender);
    void showHintPurchase();
    void showNotEnoughMana();
    void confirmHintPurchase();
    void chargeHint();
    // "Level<day>" (story) or "Level<mode>_<day>"; day 0 counts as 1.
    static std::string levelKey(int32_t mode, int32_t day);
    // The bought-hints mask of a level, or -1 outside the 1,024 masks.
    static int hintSlot(int32_t mode, int32_t day);
    // The file's price of hint n of the current level (0 when missing).
    int32_t hintPriceOf(int32_t n) const;
    // The level offers at least one hint (its first).
    static bool levelHasHints(int32_t mode, int32_t day);

    GUILabel* getMessageLabel() const { return m_messageLabel; }
    GUIButton* getOkButton() const { return m_okButton; }
    GUIButton* getCancelButton() const { return m_cancelButton; }
    GUIButton* getSpecialDealButton() const { return m_specialDealButton; }
    cocos2d::CCSprite* getItemImage() const { return m_itemImage; }
    cocos2d::CCSprite* getManaCounter() const { return m_manaCounter; }
    GUILabel* getManaCounterLabel() const { return m_manaLabel; }
    GUILabel* getPriceLabel() const { return m_priceLabel; }
    GUILabel* getTitleLabel() const { return m_titleLabel; }
    cocos2d::CCLayerColor* getDimming() const { return m_dimming; }
    cocos2d::CCSpriteBatchNode* getBatchNode() const { return m_batchNode; }
    int getKind() const { return m_kind; }
    int32_t getHintPrice() const { return m_hintPrice; }
    int32_t getHintNumber() const { return m_hintNumber; }

private:
    GUIPopup() = default;
    ~GUIPopup() override;

    // The back key answers with nothing; Return as OK does, or as Cancel on
    // a question whose OK loses what the player keeps.
    void answerBackKey() override;
    void answerReturn() override;
    void forgetAnswer() override;
    float panelScale() const;
    cocos2d::CCSprite* newBackground(const char* frame);
    GUILabel* newLabel(float size);
    void addCancelButton();
    void addOkButton(float x, const char* captionKey, float captionSize);
    void buildConfirm(cocos2d::CCString* text, bool withCancel);
    void buildDisclaimer();
    void buildPurchase();
    void buildHints();
    void answer(const char* sound, GUIButton* disable, cocos2d::CCObject* action);
    void releaseActions();
    void runLater(float seconds, cocos2d::SEL_CallFunc step);
    static cocos2d::CCString* textOrEmpty(cocos2d::CCString* text);

    GUILabel* m_messageLabel = nullptr;
    GUIButton* m_okButton = nullptr;
    GUIButton* m_cancelButton = nullptr;
    GUIButton* m_specialDealButton = nullptr;
    cocos2d::CCSprite* m_itemImage = nullptr;    // a child of the popup or the panel
    cocos2d::CCSprite* m_manaCounter = nullptr;  // a child of the popup
    GUILabel* m_manaLabel = nullptr;
    GUILabel* m_priceLabel = nullptr;
    GUILabel* m_titleLabel = nullptr;
    cocos2d::CCLayerColor* m_dimming = nullptr;
    cocos2d::CCObject* m_okCallback = nullptr;       // retained
    cocos2d::CCObject* m_cancelCallback = nullptr;   // retained
    cocos2d::CCObject* m_pendingCallback = nullptr;  // retained
    cocos2d::CCString* m_purchaseTitle = nullptr;    // retained
    cocos2d::CCString* m_purchaseIcon = nullptr;     // retained
    float m_purchasePrice = 0.0f;
    cocos2d::CCString* m_purchaseDescription = nullptr;  // retained
    cocos2d::CCDictionary* m_hints = nullptr;            // retained
    int32_t m_hintPrice = 0;
    int32_t m_hintNumber = 0;
    int m_kind = -1;
    bool m_returnCancels = false;
};
