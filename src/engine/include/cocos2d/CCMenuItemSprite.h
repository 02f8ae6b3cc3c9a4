#pragma once
// A tappable item of two images: normal and (optionally) selected. The images
// are its children at (0, 0) with anchor (0, 0); its content size is the
// normal image's. The target is not retained.
#include "cocos2d/CCNode.h"

NS_CC_BEGIN

class CCMenuItemSprite : public CCNode {
public:
    CCMenuItemSprite();

    static CCMenuItemSprite* create(CCNode* normalSprite, CCNode* selectedSprite, CCObject* target = nullptr,
                                    SEL_MenuHandler selector = nullptr);
    static CCMenuItemSprite* create(CCNode* normalSprite, CCNode* selectedSprite, CCNode* disabledSprite,
                                    CCObject* target, SEL_MenuHandler selector);
    bool initWithNormalSprite(CCNode* normalSprite, CCNode* selectedSprite, CCNode* disabledSprite, CCObject* target,
                              SEL_MenuHandler selector);

    // Shows the selected image when there is one.
    virtual void selected();
    virtual void unselected();
    bool isSelected() const { return m_bSelected; }
    // When enabled, calls (target->*selector)(this).
    virtual void activate();
    virtual void setEnabled(bool enabled);
    bool isEnabled() const { return m_bEnabled; }
    void setTarget(CCObject* target, SEL_MenuHandler selector);
    // (0, 0, content size) in the parent's space, as boundingBox().
    CCRect rect() const { return boundingBox(); }

    CCNode* getNormalImage() const { return m_pNormalImage; }
    CCNode* getSelectedImage() const { return m_pSelectedImage; }
    CCNode* getDisabledImage() const { return m_pDisabledImage; }
    void setNormalImage(CCNode* image);
    void setSelectedImage(CCNode* image);
    void setDisabledImage(CCNode* image);

private:
    void replaceImage(CCNode*& slot, CCNode* image, int tag);
    void updateImages();

    CCNode* m_pNormalImage = nullptr;  // children, held by the tree
    CCNode* m_pSelectedImage = nullptr;
    CCNode* m_pDisabledImage = nullptr;
    CCObject* m_pTarget = nullptr;
    SEL_MenuHandler m_pfnSelector = nullptr;
    bool m_bSelected = false;
    bool m_bEnabled = true;
};

NS_CC_END
