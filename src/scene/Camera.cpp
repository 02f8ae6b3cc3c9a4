#include "scene/Camera.h"

#include <algorithm>

#include "base/Logger.h"
#include "base/ScreenMetrics.h"
#include "world/World.h"

USING_NS_CC;

namespace {
int g_k = 0;  // 0 until the first setup
}

int Camera::magnification()
{
    return g_k;
}

void Camera::resetForTests()
{
    g_k = 0;
}

void Camera::setup(CCNode* target, CCSize contentSize)
{
    if (g_k == 0)
        g_k = static_cast<int>(visibleSize.width / 14.0f);
    const float p = static_cast<float>(pixelSize);
    m_zoomMin = static_cast<float>(g_k) / (p * p);
    m_target = target;
    const CCSize margin = visibleMargin();
    if (m_target) {
        m_target->setAnchorPoint(ccp(0.5f, 0.5f));
        m_target->setPosition(ccp(margin.width / 2, margin.height / 2));
    }
    m_zoomMax = contentSize.height > 0 ? visibleSize.height / contentSize.height : 1.0f;
    m_panStart = CCPointZero;
    m_panning = false;
    m_restPosition = m_target ? m_target->getPosition() : CCPointZero;
}

void Camera::zoomTo(float s)
{
    LOG << "ZOOMSCALE : " << s;
    LOG << "ZOOMMAX : " << m_zoomMax;
    LOG << "ZOOMMIN : " << m_zoomMin;
    const float p = static_cast<float>(pixelSize);
    const World* w = gWorld;
    const float worldW = w ? static_cast<float>(w->width) : World::kSmallWidth;
    const float worldH = w ? static_cast<float>(w->height) : World::kSmallHeight;
    const float fit = visibleSize.width / (p * worldW);
    if (s < m_zoomMax)
        s = m_zoomMax * fit;
    else if (s > m_zoomMin)
        s = m_zoomMin;
    LOG << "ZOOMSCALENEW : " << s;
    LOG << "SCALE : " << s;
    if (!m_target)
        return;
    m_target->setScale(s);
    m_extentX = p * p * worldW * m_zoomMin - visibleSize.width;
    m_extentY = p * p * worldH * m_zoomMin - visibleSize.height + 80.0f * static_cast<float>(screenRatio);
    const CCPoint anchor = m_target->getAnchorPointInPoints();
    const bool magnified = m_target->getScaleX() == m_zoomMin;
    m_maxX = -anchor.x * (1.0f - m_target->getScaleX());
    m_minX = magnified ? m_maxX - m_extentX : m_maxX;
    m_maxY = -anchor.y * (1.0f - m_target->getScaleY());
    m_minY = magnified ? m_maxY - m_extentY : m_maxY;
    clampPosition();
}

void Camera::beginPan(CCPoint point)
{
    m_panStart = point;
    m_panStart.x -= visibleMargin().width / 2;
    m_panning = true;
}

void Camera::panTo(CCPoint point)
{
    if (!m_target)
        return;
    m_target->setPosition(ccpAdd(m_restPosition, ccpSub(m_panStart, point)));
    clampPosition();
}

void Camera::clampPosition()
{
    if (!m_target)
        return;
    const CCPoint pos = m_target->getPosition();
    float x = std::min(pos.x, m_maxX);
    if (!(x > m_minX))
        x = m_minX;
    float y = std::min(pos.y, m_maxY);
    if (!(y > m_minY))
        y = m_minY;
    m_target->setPosition(ccp(x + visibleMargin().width / 2, y));
}

void Camera::anchorHere()
{
    if (m_target)
        m_restPosition = m_target->getPosition();
    m_panning = false;
}
