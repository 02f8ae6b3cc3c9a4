#pragma once
// The toolkit's push button: a sheet sprite with an optional icon and caption,
// tinted grey while pressed and blue while selected, that runs a retained
// callback action when activated. Buttons read no touches themselves: windows
// and menus hit-test them, press them and activate them. Main thread only.
#include "cocos2d.h"

class GUILabel;

class GUIButton : public cocos2d::CCSprite {
public:
    static const cocos2d::ccColor3B kPressedTint;
    static const cocos2d::ccColor3B kSelectedTint;
    static const cocos2d::ccColor3B kPlainTint;

    // The icon frame may be null.
    static GUIButton* create(cocos2d::CCObject* callback, const char* frameName, const char* iconFrameName);

    GUIButton() = default;
    ~GUIButton() override;

    void setOpacity(uint8_t opacity) override;

    virtual bool initWithFrameName(cocos2d::CCObject* callback, const char* frameName, const char* iconFrameName);
    virtual bool initWithLabel(cocos2d::CCObject* callback);
    virtual void setCallback(cocos2d::CCObject* callback);
    cocos2d::CCObject* getCallback() const { return m_callback; }
    // The unscaled rectangle in the parent's space.
    virtual cocos2d::CCRect getHitRect();
    // Through the busy flag, the enabled flag and the optional 0.05 s delay.
    virtual void activate();
    virtual void activateAfterDelay(float seconds);
    virtual void setIcon(const char* frameName);
    virtual bool toggle();
    void setText(cocos2d::CCString* text, float size, const cocos2d::CCPoint& position, const cocos2d::CCPoint& anchor,
                 const cocos2d::ccColor3B& colour);
    void setText(cocos2d::CCString* text, float size, const cocos2d::CCPoint& position);
    void setText(cocos2d::CCString* text, float size);
    void setText(cocos2d::CCString* text);
    // A caption wider than the button, less the margin on each side, shrinks
    // to fit (a longer word in another language).
    void fitCaption(float margin);
    virtual void setIconAt(const char* frameName, const cocos2d::CCPoint& position);
    // Never null.
    virtual cocos2d::CCString* getText();
    virtual cocos2d::CCSprite* getIcon() { return m_icon; }
    virtual bool hasIcon() { return m_icon != nullptr; }
    virtual void removeIcon();
    virtual void setPressed(bool pressed);
    // The end of a delayed activation.
    virtual void fireDelayed();
    virtual bool isPressed() { return m_pressed; }
    virtual bool isSelected() { return m_selected; }
    virtual void setSelected(bool selected);
    virtual void setToggled(bool toggled);
    virtual void setEnabled(bool enabled) { m_enabled = enabled; }
    bool isEnabled() const { return m_enabled; }
    virtual bool getActivateDelayed() { return m_activateDelayed; }
    virtual void setActivateDelayed(bool delayed) { m_activateDelayed = delayed; }
    virtual bool isToggled() { return m_toggled; }
    virtual cocos2d::CCPoint getOffset() { return m_offset; }
    virtual void setOffset(const cocos2d::CCPoint& offset) { m_offset = offset; }
    virtual GUILabel* getLabel() { return m_label; }
    // Takes over one reference of the caller's, released by the destructor.
    virtual void setLabel(GUILabel* label) { m_label = label; }

    // A row callback that does nothing, for rows that must not react.
    void emptyVirtual() { }

protected:
    // The centred white caption every initialised button starts with.
    void addEmptyCaption();
    void applyTint(const cocos2d::ccColor3B& tint);

    cocos2d::CCObject* m_callback = nullptr;  // retained
    bool m_pressed = false;
    cocos2d::CCSprite* m_icon = nullptr;
    bool m_enabled = false;
    bool m_activateDelayed = false;
    bool m_selected = false;
    bool m_toggled = false;
    cocos2d::CCPoint m_offset;
    GUILabel* m_label = nullptr;  // retained
};

// Runs an action object's execute (CCCallFunc and its kin); others are ignored.
void executeAction(cocos2d::CCObject* action);
