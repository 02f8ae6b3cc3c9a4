#include "cocos2d/CCNode.h"

#include <algorithm>
#include <vector>

#include "base/EngineLog.h"
#include "cocos2d/CCAction.h"
#include "cocos2d/CCActionManager.h"
#include "cocos2d/CCDirector.h"
#include "cocos2d/CCScheduler.h"
#include "cocos2d/CCTouch.h"

NS_CC_BEGIN

// --- affine transforms -----------------------------------------------------

CCPoint CCPointApplyAffineTransform(const CCPoint& p, const CCAffineTransform& t)
{
    return CCPoint(t.a * p.x + t.c * p.y + t.tx, t.b * p.x + t.d * p.y + t.ty);
}

CCRect CCRectApplyAffineTransform(const CCRect& rect, const CCAffineTransform& t)
{
    const CCPoint corners[4] = {
        CCPointApplyAffineTransform(CCPoint(rect.getMinX(), rect.getMinY()), t),
        CCPointApplyAffineTransform(CCPoint(rect.getMaxX(), rect.getMinY()), t),
        CCPointApplyAffineTransform(CCPoint(rect.getMinX(), rect.getMaxY()), t),
        CCPointApplyAffineTransform(CCPoint(rect.getMaxX(), rect.getMaxY()), t),
    };
    float minX = corners[0].x, maxX = corners[0].x, minY = corners[0].y, maxY = corners[0].y;
    for (const CCPoint& c : corners) {
        minX = c.x < minX ? c.x : minX;
        maxX = c.x > maxX ? c.x : maxX;
        minY = c.y < minY ? c.y : minY;
        maxY = c.y > maxY ? c.y : maxY;
    }
    return CCRect(minX, minY, maxX - minX, maxY - minY);
}

CCAffineTransform CCAffineTransformConcat(const CCAffineTransform& t1, const CCAffineTransform& t2)
{
    return CCAffineTransform{t1.a * t2.a + t1.b * t2.c,           t1.a * t2.b + t1.b * t2.d,
                             t1.c * t2.a + t1.d * t2.c,           t1.c * t2.b + t1.d * t2.d,
                             t1.tx * t2.a + t1.ty * t2.c + t2.tx, t1.tx * t2.b + t1.ty * t2.d + t2.ty};
}

CCAffineTransform CCAffineTransformInvert(const CCAffineTransform& t)
{
    float det = t.a * t.d - t.b * t.c;
    if (det == 0.0f) {
        // A node scaled to 0 has no inverse; map everything onto its origin
        // rather than producing infinities.
        return CCAffineTransform{0, 0, 0, 0, 0, 0};
    }
    float inv = 1.0f / det;
    return CCAffineTransform{
        inv * t.d, -inv * t.b, -inv * t.c, inv * t.a, inv * (t.c * t.ty - t.d * t.tx), inv * (t.b * t.tx - t.a * t.ty)};
}

// --- draw transform stack ----------------------------------------------------

namespace {

// Each draw target holds its own stack; the innermost target is the last.
std::vector<std::vector<CCAffineTransform>>& drawStacks()
{
    static auto* stacks = new std::vector<std::vector<CCAffineTransform>>(1);
    return *stacks;
}

CCActionManager* actionManager()
{
    return CCDirector::sharedDirector()->getActionManager();
}
CCScheduler* scheduler()
{
    return CCDirector::sharedDirector()->getScheduler();
}

// Children are visited and notified through a retained snapshot, so handlers
// may change the tree; a child that left this parent meanwhile is skipped.
std::vector<CCNode*> snapshotChildren(const CCArray* children)
{
    std::vector<CCNode*> nodes;
    nodes.reserve(children->count());
    for (CCObject* o : *children) {
        CCNode* n = static_cast<CCNode*>(o);
        n->retain();
        nodes.push_back(n);
    }
    return nodes;
}

void releaseAll(std::vector<CCNode*>& nodes)
{
    for (CCNode* n : nodes) {
        n->release();
    }
    nodes.clear();
}

}  // namespace

const CCAffineTransform& CCNode::currentDrawTransform()
{
    auto& stack = drawStacks().back();
    return stack.empty() ? CCAffineTransformIdentity : stack.back();
}

void CCNode::beginDrawTarget()
{
    drawStacks().emplace_back();
}

void CCNode::endDrawTarget()
{
    if (drawStacks().size() > 1) {
        drawStacks().pop_back();
    } else {
        engineLog("endDrawTarget without beginDrawTarget");
    }
}

// --- node ----------------------------------------------------------------------

CCNode::CCNode() : m_pChildren(new CCArray()) { }

CCNode::~CCNode()
{
    CC_SAFE_RELEASE(m_pUserObject);
    for (CCObject* o : *m_pChildren) {
        static_cast<CCNode*>(o)->m_pParent = nullptr;
    }
    m_pChildren->release();
}

CCNode* CCNode::create()
{
    CCNode* node = new CCNode();
    node->init();
    node->autorelease();
    return node;
}

bool CCNode::init()
{
    return true;
}

void CCNode::addChild(CCNode* child)
{
    addChild(child, child ? child->m_nZOrder : 0);
}

void CCNode::addChild(CCNode* child, int zOrder)
{
    addChild(child, zOrder, child ? child->m_nTag : kCCNodeTagInvalid);
}

bool CCNode::isAncestorOf(const CCNode* node) const
{
    for (const CCNode* p = node; p; p = p->m_pParent) {
        if (p == this) {
            return true;
        }
    }
    return false;
}

void CCNode::addChild(CCNode* child, int zOrder, int tag)
{
    if (!child) {
        engineLog("addChild: null child ignored");
        return;
    }
    if (child->isAncestorOf(this)) {
        engineLog("addChild: a node cannot be added below itself");
        return;
    }
    child->retain();  // keeps it alive while it leaves its old parent
    if (child->m_pParent) {
        engineLog("addChild: the child already has a parent; detaching it first");
        child->m_pParent->detachChild(child, false);
    }
    child->m_nTag = tag;
    child->m_pParent = this;
    insertChild(child, zOrder);
    child->release();
    if (m_bRunning) {
        child->onEnter();
        child->onEnterTransitionDidFinish();
    }
}

void CCNode::insertChild(CCNode* child, int zOrder)
{
    child->m_nZOrder = zOrder;
    unsigned index = m_pChildren->count();
    while (index > 0 && static_cast<CCNode*>(m_pChildren->objectAtIndex(index - 1))->m_nZOrder > zOrder) {
        --index;
    }
    m_pChildren->insertObject(child, index);
}

void CCNode::detachChild(CCNode* child, bool cleanup)
{
    if (child->m_bRunning) {
        child->onExit();
    }
    if (cleanup) {
        child->cleanup();
    }
    // The handlers above may have moved the child already.
    if (child->m_pParent == this) {
        child->m_pParent = nullptr;
        m_pChildren->removeObject(child);
    }
}

void CCNode::removeChild(CCNode* child, bool cleanup)
{
    if (!child || child->m_pParent != this) {
        return;
    }
    detachChild(child, cleanup);
}

void CCNode::removeChildByTag(int tag, bool cleanup)
{
    CCNode* child = getChildByTag(tag);
    if (child) {
        removeChild(child, cleanup);
    }
}

void CCNode::removeFromParentAndCleanup(bool cleanup)
{
    if (m_pParent) {
        m_pParent->removeChild(this, cleanup);
    }
}

void CCNode::removeFromParent()
{
    removeFromParentAndCleanup(true);
}

void CCNode::removeAllChildren()
{
    removeAllChildrenWithCleanup(true);
}

void CCNode::removeAllChildrenWithCleanup(bool cleanup)
{
    std::vector<CCNode*> children = snapshotChildren(m_pChildren);
    for (CCNode* child : children) {
        if (child->m_pParent == this) {
            detachChild(child, cleanup);
        }
    }
    releaseAll(children);
}

CCNode* CCNode::getChildByTag(int tag) const
{
    for (CCObject* o : *m_pChildren) {
        CCNode* n = static_cast<CCNode*>(o);
        if (n->m_nTag == tag) {
            return n;
        }
    }
    return nullptr;
}

void CCNode::setZOrder(int zOrder)
{
    if (m_pParent) {
        m_pParent->reorderChild(this, zOrder);
    } else {
        m_nZOrder = zOrder;
    }
}

void CCNode::reorderChild(CCNode* child, int zOrder)
{
    if (!child || child->m_pParent != this) {
        engineLog("reorderChild: not a child of this node");
        return;
    }
    child->retain();
    m_pChildren->removeObject(child);
    insertChild(child, zOrder);
    child->release();
}

void CCNode::setUserObject(CCObject* object)
{
    CC_SAFE_RETAIN(object);
    CC_SAFE_RELEASE(m_pUserObject);
    m_pUserObject = object;
}

// --- geometry --------------------------------------------------------------------

void CCNode::setPosition(const CCPoint& position)
{
    m_obPosition = position;
}

void CCNode::setAnchorPoint(const CCPoint& anchor)
{
    m_obAnchorPoint = anchor;
    m_obAnchorPointInPoints = CCPoint(anchor.x * m_obContentSize.width, anchor.y * m_obContentSize.height);
}

void CCNode::setContentSize(const CCSize& size)
{
    m_obContentSize = size;
    m_obAnchorPointInPoints = CCPoint(m_obAnchorPoint.x * size.width, m_obAnchorPoint.y * size.height);
}

void CCNode::setScale(float scale)
{
    m_fScaleX = scale;
    m_fScaleY = scale;
}

void CCNode::setScaleX(float scaleX)
{
    m_fScaleX = scaleX;
}

void CCNode::setScaleY(float scaleY)
{
    m_fScaleY = scaleY;
}

CCAffineTransform CCNode::nodeToParentTransform() const
{
    float x = m_obPosition.x;
    float y = m_obPosition.y;
    if (m_bIgnoreAnchorPointForPosition) {
        x += m_obAnchorPointInPoints.x;
        y += m_obAnchorPointInPoints.y;
    }
    return CCAffineTransform{m_fScaleX,
                             0,
                             0,
                             m_fScaleY,
                             x - m_fScaleX * m_obAnchorPointInPoints.x,
                             y - m_fScaleY * m_obAnchorPointInPoints.y};
}

CCAffineTransform CCNode::parentToNodeTransform() const
{
    return CCAffineTransformInvert(nodeToParentTransform());
}

CCAffineTransform CCNode::nodeToWorldTransform() const
{
    CCAffineTransform t = nodeToParentTransform();
    for (const CCNode* p = m_pParent; p; p = p->m_pParent) {
        t = CCAffineTransformConcat(t, p->nodeToParentTransform());
    }
    return t;
}

CCAffineTransform CCNode::worldToNodeTransform() const
{
    return CCAffineTransformInvert(nodeToWorldTransform());
}

CCPoint CCNode::convertToNodeSpace(const CCPoint& worldPoint) const
{
    return CCPointApplyAffineTransform(worldPoint, worldToNodeTransform());
}

CCPoint CCNode::convertToWorldSpace(const CCPoint& nodePoint) const
{
    return CCPointApplyAffineTransform(nodePoint, nodeToWorldTransform());
}

CCPoint CCNode::convertTouchToNodeSpace(CCTouch* touch) const
{
    if (!touch) {
        return CCPointZero;
    }
    return convertToNodeSpace(touch->getLocation());
}

CCRect CCNode::boundingBox() const
{
    CCRect rect(0, 0, m_obContentSize.width, m_obContentSize.height);
    return CCRectApplyAffineTransform(rect, nodeToParentTransform());
}

// --- drawing ---------------------------------------------------------------------

void CCNode::visit()
{
    if (!m_bVisible) {
        return;
    }
    auto& stack = drawStacks().back();
    CCAffineTransform parent = stack.empty() ? CCAffineTransformIdentity : stack.back();
    stack.push_back(CCAffineTransformConcat(nodeToParentTransform(), parent));

    // Drawing does not change the tree, so the live array is walked as it is
    // (no per-frame snapshot); the index is checked against the count anyway.
    unsigned i = 0;
    for (; i < m_pChildren->count(); ++i) {
        CCNode* child = static_cast<CCNode*>(m_pChildren->objectAtIndex(i));
        if (child->m_nZOrder >= 0) {
            break;
        }
        child->visit();
    }
    draw();
    for (; i < m_pChildren->count(); ++i) {
        static_cast<CCNode*>(m_pChildren->objectAtIndex(i))->visit();
    }

    // The stack object may have moved if a nested target was begun and ended.
    drawStacks().back().pop_back();
}

// --- lifecycle ---------------------------------------------------------------------

void CCNode::onEnter()
{
    std::vector<CCNode*> children = snapshotChildren(m_pChildren);
    for (CCNode* child : children) {
        if (child->m_pParent == this) {
            child->onEnter();
        }
    }
    // A child that a handler added meanwhile joined a node that was not
    // running yet, so nobody entered it: enter it now, once.
    bool unchanged =
        m_pChildren->count() == children.size() && std::equal(children.begin(), children.end(), m_pChildren->begin());
    for (bool added = !unchanged; added;) {
        added = false;
        for (CCObject* o : *m_pChildren) {
            CCNode* child = static_cast<CCNode*>(o);
            if (!child->m_bRunning && std::find(children.begin(), children.end(), child) == children.end()) {
                child->retain();
                children.push_back(child);
                child->onEnter();
                added = true;
                break;  // the handler may have changed the children again
            }
        }
    }
    releaseAll(children);
    resumeSchedulerAndActions();
    m_bRunning = true;
}

void CCNode::onEnterTransitionDidFinish()
{
    std::vector<CCNode*> children = snapshotChildren(m_pChildren);
    for (CCNode* child : children) {
        if (child->m_pParent == this) {
            child->onEnterTransitionDidFinish();
        }
    }
    releaseAll(children);
}

void CCNode::onExit()
{
    pauseSchedulerAndActions();
    m_bRunning = false;
    std::vector<CCNode*> children = snapshotChildren(m_pChildren);
    for (CCNode* child : children) {
        if (child->m_pParent == this) {
            child->onExit();
        }
    }
    releaseAll(children);
}

void CCNode::cleanup()
{
    stopAllActions();
    unscheduleAllSelectors();
    std::vector<CCNode*> children = snapshotChildren(m_pChildren);
    for (CCNode* child : children) {
        if (child->m_pParent == this) {
            child->cleanup();
        }
    }
    releaseAll(children);
}

// --- actions and timers ---------------------------------------------------------

CCAction* CCNode::runAction(CCAction* action)
{
    if (!action) {
        engineLog("runAction: null action ignored");
        return nullptr;
    }
    actionManager()->addAction(action, this, !m_bRunning);
    return action;
}

void CCNode::stopAllActions()
{
    actionManager()->removeAllActionsFromTarget(this);
}

void CCNode::stopAction(CCAction* action)
{
    actionManager()->removeAction(action);
}

unsigned CCNode::numberOfRunningActions() const
{
    return actionManager()->numberOfRunningActionsInTarget(this);
}

void CCNode::schedule(SEL_SCHEDULE selector)
{
    schedule(selector, 0.0f);
}

void CCNode::schedule(SEL_SCHEDULE selector, float interval)
{
    scheduler()->scheduleSelector(selector, this, interval, !m_bRunning);
}

void CCNode::schedule(SEL_SCHEDULE selector, float interval, unsigned repeat, float delay)
{
    scheduler()->scheduleSelector(selector, this, interval, repeat, delay, !m_bRunning);
}

void CCNode::scheduleOnce(SEL_SCHEDULE selector, float delay)
{
    scheduler()->scheduleSelector(selector, this, 0.0f, 0, delay, !m_bRunning);
}

void CCNode::unschedule(SEL_SCHEDULE selector)
{
    scheduler()->unscheduleSelector(selector, this);
}

void CCNode::unscheduleAllSelectors()
{
    scheduler()->unscheduleAllForTarget(this);
}

void CCNode::scheduleUpdate()
{
    scheduleUpdateWithPriority(0);
}

void CCNode::scheduleUpdateWithPriority(int priority)
{
    scheduler()->scheduleUpdateForTarget(this, priority, !m_bRunning);
}

void CCNode::unscheduleUpdate()
{
    scheduler()->unscheduleUpdateForTarget(this);
}

void CCNode::resumeSchedulerAndActions()
{
    scheduler()->resumeTarget(this);
    actionManager()->resumeTarget(this);
}

void CCNode::pauseSchedulerAndActions()
{
    scheduler()->pauseTarget(this);
    actionManager()->pauseTarget(this);
}

NS_CC_END
