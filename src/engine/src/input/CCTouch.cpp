#include "cocos2d/CCTouch.h"

#include "cocos2d/CCDirector.h"

NS_CC_BEGIN

CCPoint CCTouch::getLocation() const
{
    return CCDirector::sharedDirector()->convertToGL(m_point);
}

CCPoint CCTouch::getPreviousLocation() const
{
    return CCDirector::sharedDirector()->convertToGL(m_prevPoint);
}

void CCTouch::setTouchInfo(int id, float x, float y)
{
    m_nId = id;
    m_prevPoint = m_bStarted ? m_point : CCPoint(x, y);
    m_point = CCPoint(x, y);
    m_bStarted = true;
}

NS_CC_END
