#pragma once
// What the campaign and level selections share: a dark backdrop, a title, a
// sheet of buttons with a Back button in the corner, touches through the
// sheet's menu and the back key. Back plays its sound and leaves the screen
// after a quarter of a second; a second Back before then is dropped.
#include <string>

#include "gui/BackButton.h"
#include "cocos2d.h"

class GUIBatchNodeMenu;
class GUIButton;
class GUILabel;

class SelectionScreen : public cocos2d::CCLayer, public BackButtonListener {
public:
    void onEnter() override;
    void onExit() override;
    void registerWithTouchDispatcher() override;
    bool ccTouchBegan(cocos2d::CCTouch* touch, cocos2d::CCEvent* event) override;
    void ccTouchEnded(cocos2d::CCTouch* touch, cocos2d::CCEvent* event) override;
    void onBackPressed() override;

    GUILabel* getTitleLabel() const { return m_titleLabel; }
    GUIButton* getBackButton() const { return m_backButton; }
    bool isLeaving() const { return m_leaving; }

protected:
    // The sheet "pvr/<sheet>.png", its fonts, the backdrop, the title and Back.
    bool initScreen(const char* sheet, cocos2d::CCString* title);
    // Where Back goes.
    virtual void leave() = 0;
    // A button of the sheet calling `selector` of this screen with `value`.
    GUIButton* addButton(cocos2d::SEL_CallFuncO selector, cocos2d::CCObject* value, const char* frame,
                         const cocos2d::CCPoint& at);
    // A caption centred on a button; one too wide for it goes on two lines.
    static GUILabel* addCaption(GUIButton* button, cocos2d::CCString* text, const cocos2d::ccColor3B& colour);
    // The screen is going: nothing more may start from it.
    void setLeaving() { m_leaving = true; }
    // Its own font, current for labels made from now on.
    void useFont() const;
    GUIBatchNodeMenu* menu() const { return m_menu; }

private:
    void goBack(cocos2d::CCObject* = nullptr);
    void leaveNow(float);

    GUIBatchNodeMenu* m_menu = nullptr;
    GUILabel* m_titleLabel = nullptr;
    GUIButton* m_backButton = nullptr;
    std::string m_font;
    bool m_leaving = false;
};

// A new scene with the layer and the side borders.
cocos2d::CCScene* selectionScene(cocos2d::CCLayer* layer);
