#include "gui/GUIScroll.h"

#include <cmath>

#include "base/Logger.h"
#include "base/ScreenMetrics.h"

USING_NS_CC;

namespace {

constexpr float kStepSeconds = 0.02f;
constexpr float kResistanceDistance = 60.0f;

// Frame pixels per screen point, per axis.
CCPoint frameRatio()
{
    const CCSize frame = CCEGLView::sharedOpenGLView()->getFrameSize();
    const float kx = screenSize.width > 0 ? frame.width / screenSize.width : 1.0f;
    const float ky = screenSize.height > 0 ? frame.height / screenSize.height : 1.0f;
    return ccp(kx, ky);
}

}  // namespace

GUIScroll* GUIScroll::create(const char* file, unsigned int capacity)
{
    auto* scroll = new GUIScroll();
    if (!scroll->initWithFile(file, capacity)) {
        delete scroll;
        return nullptr;
    }
    scroll->autorelease();
    return scroll;
}

GUIScroll::~GUIScroll()
{
    if (m_linkedNode)
        m_linkedNode->release();
}

void GUIScroll::setLinkedNode(CCNode* node)
{
    if (node)
        node->retain();
    if (m_linkedNode)
        m_linkedNode->release();
    m_linkedNode = node;
}

CCRect GUIScroll::getRect()
{
    return m_rectInPoints ? m_rect : m_frameRect;
}

void GUIScroll::setRect(CCRect rect)
{
    m_bounceDuration = 0.3f;
    m_rect = rect;
    moveTo(rect.origin);
    setContentSize(rect.size);
    const float content = CCDirector::sharedDirector()->getContentScaleFactor();
    const CCPoint k = frameRatio();
    m_frameRect = CCRect(rect.origin.x * content * k.x, rect.origin.y * content * k.y, rect.size.width * content * k.x,
                         rect.size.height * content * k.y);
}

void GUIScroll::moveTo(const CCPoint& point)
{
    setPosition(point);
    if (m_linkedNode)
        m_linkedNode->setPosition(point);
}

void GUIScroll::setScale(float scale)
{
    CCNode::setScale(scale);
    setRect(m_rect);
}

void GUIScroll::startUpdates()
{
    schedule(schedule_selector(GUIScroll::update), kStepSeconds);
}

void GUIScroll::stopUpdates()
{
    unschedule(schedule_selector(GUIScroll::update));
}

void GUIScroll::beginTouch()
{
    m_velocity = 0.0f;
    m_touching = true;
    m_bouncing = false;
    if (m_moving) {
        m_moving = false;
        stopUpdates();
    }
}

void GUIScroll::handleTouchMoved(float distance)
{
    float d = distance * 1.4f;
    const CCPoint position = getPosition();
    const float y = position.y;
    float overshoot = -1.0f;
    if (y < m_minY && d < 0)
        overshoot = m_minY - y;
    else if (y > m_maxY && d > 0)
        overshoot = y - m_maxY;
    if (overshoot >= 0.0f) {
        // Free at the limit, stiffening to nothing at 60 points and beyond.
        const float o = std::min(overshoot / kResistanceDistance, 1.0f);
        const float r = std::sqrt(1.0f - (1.0f - o) * (1.0f - o));
        d *= 1.0f - r;
    }
    moveTo(ccp(position.x, y + d));
    m_velocity = d;
}

void GUIScroll::handleTouchEnded()
{
    m_touching = false;
    const float y = getPosition().y;
    if (y < m_minY || y > m_maxY) {
        const float limit = y < m_minY ? m_minY : m_maxY;
        if (m_bounceDuration <= 0.0f) {
            // No rectangle yet, so no bounce time: go straight to the limit.
            moveTo(ccp(getPosition().x, limit));
            m_velocity = 0.0f;
            return;
        }
        m_bouncing = true;
        m_moving = true;
        m_bounceElapsed = m_bounceDuration * 0.5f;
        m_bounceExponent = 2.0f;
        m_bounceAmplitude = (y - limit) / (0.5f - 0.25f) / m_bounceDuration / 50.0f;
        startUpdates();
        return;
    }
    if (m_velocity != 0.0f) {
        m_velocity = std::max(-90.0f, std::min(90.0f, m_velocity));
        m_moving = true;
        startUpdates();
    }
}

void GUIScroll::update(float dt)
{
    if (m_touching || !m_moving)
        return;
    const CCPoint position = getPosition();
    const float y = position.y;
    const float step = m_velocity * 50.0f * dt;
    const float next = y + step;
    if (!m_bouncing) {
        if (next <= m_minY || next >= m_maxY) {
            moveTo(ccp(position.x, next <= m_minY ? m_minY : m_maxY));
            m_moving = false;
            m_velocity = 0.0f;
            stopUpdates();
            return;
        }
        m_velocity *= 0.7f;
        if (m_velocity > -0.05f && m_velocity < 0.05f) {
            m_velocity = 0.0f;
            m_moving = false;
            stopUpdates();
        }
        moveTo(ccp(position.x, next));
        return;
    }
    if (y < m_minY || y > m_maxY) {
        const float limit = y < m_minY ? m_minY : m_maxY;
        m_bounceElapsed += dt;
        if (m_bounceElapsed > m_bounceDuration) {
            moveTo(ccp(position.x, limit));
            m_moving = false;
            m_bouncing = false;
            stopUpdates();
            return;
        }
        const float u = m_bounceElapsed / m_bounceDuration;
        moveTo(ccp(position.x,
                   limit + m_bounceAmplitude * 50.0f * m_bounceDuration * (u - std::pow(u, m_bounceExponent))));
        return;
    }
    moveTo(ccp(position.x, next));
}

void GUIScroll::visit()
{
    const CCRect r = getRect();
    const CCPoint k = frameRatio();
    CCEGLView* view = CCEGLView::sharedOpenGLView();
    view->enableScissor(static_cast<int>(r.origin.x * k.x), static_cast<int>(r.origin.y * k.y),
                        static_cast<int>(r.size.width * k.x), static_cast<int>(r.size.height * k.y));
    CCSpriteBatchNode::visit();
    view->disableScissor();
}

void GUIScroll::logUnimplementedScale()
{
    LOG_ERROR << "UNIMPLEMENTED!!!";
}

void GUIScroll::logUnimplemented()
{
    LOG_ERROR << "UNIMPLEMENTED!!!";
}
