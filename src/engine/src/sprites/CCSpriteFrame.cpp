#include "cocos2d/CCSpriteFrame.h"

#include "cocos2d/CCTexture2D.h"

NS_CC_BEGIN

CCSpriteFrame::~CCSpriteFrame()
{
    CC_SAFE_RELEASE(m_pTexture);
}

CCSpriteFrame* CCSpriteFrame::create(CCTexture2D* texture, const CCRect& rect)
{
    CCSpriteFrame* frame = new CCSpriteFrame();
    frame->initWithTexture(texture, rect);
    frame->autorelease();
    return frame;
}

bool CCSpriteFrame::initWithTexture(CCTexture2D* texture, const CCRect& rect)
{
    CC_SAFE_RETAIN(texture);
    CC_SAFE_RELEASE(m_pTexture);
    m_pTexture = texture;
    m_obRect = rect;
    return true;
}

NS_CC_END
