#include "cocos2d/CCMenuItemSprite.h"

NS_CC_BEGIN

CCMenuItemSprite::CCMenuItemSprite()
{
    m_obAnchorPoint = CCPoint(0.5f, 0.5f);
}

CCMenuItemSprite* CCMenuItemSprite::create(CCNode* normalSprite, CCNode* selectedSprite, CCObject* target,
                                           SEL_MenuHandler selector)
{
    return create(normalSprite, selectedSprite, nullptr, target, selector);
}

CCMenuItemSprite* CCMenuItemSprite::create(CCNode* normalSprite, CCNode* selectedSprite, CCNode* disabledSprite,
                                           CCObject* target, SEL_MenuHandler selector)
{
    CCMenuItemSprite* item = new CCMenuItemSprite();
    item->initWithNormalSprite(normalSprite, selectedSprite, disabledSprite, target, selector);
    item->autorelease();
    return item;
}

bool CCMenuItemSprite::initWithNormalSprite(CCNode* normalSprite, CCNode* selectedSprite, CCNode* disabledSprite,
                                            CCObject* target, SEL_MenuHandler selector)
{
    setAnchorPoint(CCPoint(0.5f, 0.5f));
    setTarget(target, selector);
    setNormalImage(normalSprite);
    setSelectedImage(selectedSprite);
    setDisabledImage(disabledSprite);
    return true;
}

void CCMenuItemSprite::replaceImage(CCNode*& slot, CCNode* image, int tag)
{
    if (slot == image)
        return;
    if (image) {
        image->setAnchorPoint(CCPointZero);
        image->setPosition(CCPointZero);
        addChild(image, 0, tag);
    }
    if (slot)
        removeChild(slot, true);
    slot = image;
    updateImages();
}

void CCMenuItemSprite::setNormalImage(CCNode* image)
{
    replaceImage(m_pNormalImage, image, 1);
    if (m_pNormalImage)
        setContentSize(m_pNormalImage->getContentSize());
}

void CCMenuItemSprite::setSelectedImage(CCNode* image)
{
    replaceImage(m_pSelectedImage, image, 2);
}
void CCMenuItemSprite::setDisabledImage(CCNode* image)
{
    replaceImage(m_pDisabledImage, image, 3);
}

void CCMenuItemSprite::updateImages()
{
    CCNode* shown = m_pNormalImage;
    if (!m_bEnabled && m_pDisabledImage)
        shown = m_pDisabledImage;
    else if (m_bEnabled && m_bSelected && m_pSelectedImage)
        shown = m_pSelectedImage;
    for (CCNode* image : {m_pNormalImage, m_pSelectedImage, m_pDisabledImage})
        if (image)
            image->setVisible(image == shown);
}

void CCMenuItemSprite::selected()
{
    m_bSelected = true;
    updateImages();
}

void CCMenuItemSprite::unselected()
{
    m_bSelected = false;
    updateImages();
}

void CCMenuItemSprite::activate()
{
    if (!m_bEnabled || !m_pTarget || !m_pfnSelector)
        return;
    // The handler may remove this item or let go of its target: both stay
    // alive until it returns.
    CCObject* target = m_pTarget;
    retain();
    target->retain();
    (target->*m_pfnSelector)(this);
    target->release();
    release();
}

void CCMenuItemSprite::setEnabled(bool enabled)
{
    m_bEnabled = enabled;
    updateImages();
}

void CCMenuItemSprite::setTarget(CCObject* target, SEL_MenuHandler selector)
{
    m_pTarget = target;
    m_pfnSelector = selector;
}

NS_CC_END
