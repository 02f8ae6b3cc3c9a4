#include "gui/SlidingLayer.h"

#include <cmath>

#include "base/ScreenMetrics.h"

USING_NS_CC;

namespace {
constexpr float kEmptyExtent = 99999.0f;
constexpr float kDragThreshold = 32.0f;
constexpr float kMinSpeedSquared = 25.0f;
}  // namespace

SlidingLayer* SlidingLayer::create(const CCPoint& position, const CCSize& size)
{
    auto* layer = new SlidingLayer();
    layer->initAt(position, size);
    layer->autorelease();
    return layer;
}

bool SlidingLayer::initAt(const CCPoint& position, const CCSize& size)
{
    CCLayer::init();
    setPosition(position);
    m_origin = position;
    setContentSize(size);
    resetExtent();
    m_bottomLeftMargin = m_topRightMargin = CCPointZero;
    m_scrollX = m_scrollY = m_activateOnTap = true;
    m_selectionMode = 0;
    m_friction = 0.9f;
    m_directionalDrag = m_inertiaPaused = false;
    return true;
}

SlidingLayer::~SlidingLayer()
{
    if (m_touchedItem)
        m_touchedItem->release();
    if (m_selectedItem)
        m_selectedItem->release();
}

void SlidingLayer::resetExtent()
{
    m_contentMax = ccp(-kEmptyExtent, -kEmptyExtent);
    m_contentMin = ccp(kEmptyExtent, kEmptyExtent);
}

CCMenuItemSprite* SlidingLayer::live(CCMenuItemSprite* item) const
{
    return item && item->getParent() == this ? item : nullptr;
}

void SlidingLayer::keep(CCMenuItemSprite*& slot, CCMenuItemSprite* item)
{
    if (item)
        item->retain();
    if (slot)
        slot->release();
    slot = item;
}

CCMenuItemSprite* SlidingLayer::getSelectedItem()
{
    return live(m_selectedItem);
}

void SlidingLayer::addChild(CCNode* child)
{
    CCLayer::addChild(child);
    const CCPoint p = child->getPosition();
    const CCPoint a = child->getAnchorPointInPoints();
    const CCSize c = child->getContentSize();
    const CCSize l = getContentSize();
    const float s = getScale();
    m_contentMin.x = std::min(m_contentMin.x, (p.x - a.x) * s);
    m_contentMin.y = std::min(m_contentMin.y, (p.y - a.y) * s);
    m_contentMax.x = std::max(m_contentMax.x, (p.x - a.x + c.width) * s - l.width);
    m_contentMax.y = std::max(m_contentMax.y, (p.y - a.y + c.height) * s - l.height);
}

void SlidingLayer::clearContent()
{
    if (CCMenuItemSprite* selected = live(m_selectedItem))
        selected->unselected();
    removeAllChildrenWithCleanup(true);
    keep(m_selectedItem, nullptr);
    keep(m_touchedItem, nullptr);
    resetExtent();
}

CCPoint SlidingLayer::clampPosition(const CCPoint& point) const
{
    const float x =
        clampf(point.x - m_origin.x, -m_contentMax.x - m_topRightMargin.x, m_bottomLeftMargin.x - m_contentMin.x);
    const float y =
        clampf(point.y - m_origin.y, -m_contentMax.y - m_topRightMargin.y, m_bottomLeftMargin.y - m_contentMin.y);
    return ccp(m_origin.x + x, m_origin.y + y);
}

void SlidingLayer::moveBy(float dx, float dy)
{
    setPosition(clampPosition(ccpAdd(getPosition(), ccp(dx, dy))));
}

CCMenuItemSprite* SlidingLayer::itemAtPoint(const CCPoint& point)
{
    for (CCObject* object : *getChildren()) {
        auto* item = dynamic_cast<CCMenuItemSprite*>(object);
        if (!item || !item->isVisible())
            continue;
        CCRect box = item->boundingBox();
        box.size.width *= item->getScaleX();
        box.size.height *= item->getScaleY();
        if (box.containsPoint(point))
            return item;
    }
    return nullptr;
}

bool SlidingLayer::ccTouchBegan(CCTouch* touch, CCEvent*)
{
    m_dragging = m_itemTouched = false;
    m_accumulatedMove = m_lastDelta = CCPointZero;
    m_touchStartPosition = getPosition();
    const CCPoint p = touch->getLocation();
    m_lastTouchPoint = p;
    const CCSize size = getContentSize();
    if (!(m_origin.x < p.x && p.x < m_origin.x + size.width && m_origin.y < p.y && p.y < m_origin.y + size.height))
        return false;
    if (m_velocity.x == 0.0f && m_velocity.y == 0.0f) {
        keep(m_touchedItem, itemAtPoint(convertToNodeSpace(p)));
        if (!(m_scrollX && m_scrollY) && m_touchedItem && m_directionalDrag)
            m_itemTouched = true;
    }
    unschedule(schedule_selector(SlidingLayer::inertiaStep));
    m_velocity = m_lastDelta = CCPointZero;
    return true;
}

void SlidingLayer::ccTouchMoved(CCTouch* touch, CCEvent*)
{
    const CCPoint p = touch->getLocation();
    CCPoint delta = ccpSub(m_lastTouchPoint, p);
    m_lastTouchPoint = p;
    if (m_itemTouched)
        m_accumulatedMove = ccpAdd(m_accumulatedMove, delta);
    if (!m_scrollX)
        delta.x = 0;
    if (!m_scrollY)
        delta.y = 0;
    setPosition(clampPosition(ccpSub(getPosition(), delta)));
    m_lastDelta = delta;
    if (m_dragging)
        return;
    if (m_itemTouched) {
        const float ax = std::fabs(m_accumulatedMove.x), ay = std::fabs(m_accumulatedMove.y);
        if (m_scrollX && !m_scrollY)
            m_dragging = ax > kDragThreshold && ay < ax;
        else if (m_scrollY && !m_scrollX)
            m_dragging = ay > kDragThreshold && ax < ay;
    } else {
        m_dragging = ccpDistance(getPosition(), m_touchStartPosition) > kDragThreshold;
    }
}

void SlidingLayer::ccTouchEnded(CCTouch* touch, CCEvent*)
{
    const CCPoint p = touch->getLocation();
    if (m_dragging) {
        m_velocity = ccpMult(ccpAdd(ccpSub(m_lastTouchPoint, p), m_lastDelta), 0.5f);
        if (!m_scrollX)
            m_velocity.x = 0;
        if (!m_scrollY)
            m_velocity.y = 0;
        if (ccpLengthSQ(m_velocity) > kMinSpeedSquared)
            schedule(schedule_selector(SlidingLayer::inertiaStep));
        else
            m_velocity = CCPointZero;
        return;
    }
    CCMenuItemSprite* item = itemAtPoint(convertToNodeSpace(p));
    if (!item || item != live(m_touchedItem))
        return;
    if (m_selectionMode == 2)
        if (CCMenuItemSprite* previous = live(m_selectedItem))
            previous->unselected();
    keep(m_selectedItem, item);
    if (m_selectionMode == 2)
        item->selected();
    if (m_activateOnTap)
        item->activate();
}

void SlidingLayer::inertiaStep(float)
{
    if (m_inertiaPaused)
        return;
    if (ccpLengthSQ(m_velocity) < kMinSpeedSquared) {
        m_velocity = CCPointZero;
        unschedule(schedule_selector(SlidingLayer::inertiaStep));
    }
    setPosition(clampPosition(ccpSub(getPosition(), m_velocity)));
    m_velocity = ccpMult(m_velocity, m_friction);
}

void SlidingLayer::visit()
{
    if (!isVisible())
        return;
    const CCSize frame = CCEGLView::sharedOpenGLView()->getFrameSize();
    const float rx = screenSize.width > 0 ? frame.width / screenSize.width : 1.0f;
    const float ry = screenSize.height > 0 ? frame.height / screenSize.height : 1.0f;
    const CCPoint world = getParent() ? getParent()->convertToWorldSpace(m_origin) : m_origin;
    const CCSize size = getContentSize();
    CCEGLView* view = CCEGLView::sharedOpenGLView();
    view->enableScissor(static_cast<int>(world.x * rx), static_cast<int>(world.y * ry),
                        static_cast<int>(size.width * rx), static_cast<int>(size.height * ry));
    CCLayer::visit();
    view->disableScissor();
}
