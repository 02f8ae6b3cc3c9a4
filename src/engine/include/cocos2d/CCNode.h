#pragma once
#include <cstdint>

#include "cocos2d/CCArray.h"
#include "cocos2d/CCGeometry.h"
#include "cocos2d/CCObject.h"
#include "cocos2d/ccTypes.h"

NS_CC_BEGIN

class CCAction;
class CCTouch;

// A 2D affine map: x' = a*x + c*y + tx, y' = b*x + d*y + ty. Nodes never
// rotate, so b and c stay 0, but the general form keeps the algebra honest.
struct CCAffineTransform {
    float a, b, c, d;
    float tx, ty;
};

inline CCAffineTransform CCAffineTransformMake(float a, float b, float c, float d, float tx, float ty)
{
    return CCAffineTransform{a, b, c, d, tx, ty};
}
inline constexpr CCAffineTransform CCAffineTransformIdentity{1, 0, 0, 1, 0, 0};

CCPoint CCPointApplyAffineTransform(const CCPoint& point, const CCAffineTransform& t);
// The smallest upright rectangle holding the mapped corners.
CCRect CCRectApplyAffineTransform(const CCRect& rect, const CCAffineTransform& t);
// t1 applied first, then t2.
CCAffineTransform CCAffineTransformConcat(const CCAffineTransform& t1, const CCAffineTransform& t2);
// A singular transform (a zero scale) inverts to one that maps every point
// to the origin's preimage instead of dividing by zero.
CCAffineTransform CCAffineTransformInvert(const CCAffineTransform& t);

// Colour and opacity of nodes that fades and tints act on (colour layers,
// sprites). Not a CCObject: actions reach it with dynamic_cast.
class CCRGBAProtocol {
public:
    virtual ~CCRGBAProtocol() = default;
    virtual void setColor(const ccColor3B& color) = 0;
    virtual const ccColor3B& getColor() = 0;
    virtual void setOpacity(uint8_t opacity) = 0;
    virtual uint8_t getOpacity() = 0;
    // Recorded only; blending never depends on it.
    virtual void setOpacityModifyRGB(bool value) = 0;
    virtual bool isOpacityModifyRGB() = 0;
};

enum {
    kCCNodeTagInvalid = -1,
};

// A node of the scene tree.
// Invariants: getChildren() is never null and stays sorted by (z-order,
// arrival); a child's parent pointer names the node whose array holds it; the
// parent retains its children. A running node is inside the running scene.
class CCNode : public CCObject {
public:
    CCNode();
    ~CCNode() override;

    static CCNode* create();
    virtual bool init();

    // --- children -------------------------------------------------------
    // A child that already has a parent is detached from it first (onExit,
    // no cleanup). Adding a null, the node itself or one of its ancestors is
    // refused with a log line.
    virtual void addChild(CCNode* child);
    virtual void addChild(CCNode* child, int zOrder);
    virtual void addChild(CCNode* child, int zOrder, int tag);
    // onExit (when running), cleanup (when asked), parent cleared, released.
    // A node that is not a child is left alone.
    virtual void removeChild(CCNode* child, bool cleanup = true);
    void removeChildByTag(int tag, bool cleanup = true);
    void removeFromParentAndCleanup(bool cleanup);
    void removeFromParent();
    void removeAllChildren();
    virtual void removeAllChildrenWithCleanup(bool cleanup);

    CCArray* getChildren() const { return m_pChildren; }
    unsigned getChildrenCount() const { return m_pChildren->count(); }
    // The first match in (z-order, arrival) order.
    CCNode* getChildByTag(int tag) const;
    CCNode* getParent() const { return m_pParent; }
    bool isRunning() const { return m_bRunning; }

    // A new z-order also gives a new arrival: the node goes last among the
    // children of its new z-order.
    virtual void setZOrder(int zOrder);
    int getZOrder() const { return m_nZOrder; }
    virtual void reorderChild(CCNode* child, int zOrder);

    virtual void setTag(int tag) { m_nTag = tag; }
    int getTag() const { return m_nTag; }
    // Retains the new object, releases the old one.
    virtual void setUserObject(CCObject* object);
    CCObject* getUserObject() const { return m_pUserObject; }
    // Not retained.
    void setUserData(void* data) { m_pUserData = data; }
    void* getUserData() const { return m_pUserData; }

    // --- geometry -------------------------------------------------------
    virtual void setPosition(const CCPoint& position);
    void setPosition(float x, float y) { setPosition(CCPoint(x, y)); }
    const CCPoint& getPosition() const { return m_obPosition; }
    // Normalised; the anchor in points is anchor x content size.
    virtual void setAnchorPoint(const CCPoint& anchor);
    const CCPoint& getAnchorPoint() const { return m_obAnchorPoint; }
    const CCPoint& getAnchorPointInPoints() const { return m_obAnchorPointInPoints; }
    virtual void setContentSize(const CCSize& size);
    const CCSize& getContentSize() const { return m_obContentSize; }
    // Both factors.
    virtual void setScale(float scale);
    virtual void setScaleX(float scaleX);
    virtual void setScaleY(float scaleY);
    // scaleX.
    float getScale() const { return m_fScaleX; }
    float getScaleX() const { return m_fScaleX; }
    float getScaleY() const { return m_fScaleY; }
    virtual void setVisible(bool visible) { m_bVisible = visible; }
    bool isVisible() const { return m_bVisible; }
    // A node that ignores its anchor for position has its bottom-left corner
    // at its position at scale 1, and still scales about its anchor.
    virtual void ignoreAnchorPointForPosition(bool ignore) { m_bIgnoreAnchorPointForPosition = ignore; }
    bool isIgnoreAnchorPointForPosition() const { return m_bIgnoreAnchorPointForPosition; }

    // Local point q maps to P + S(q - A), or P + A + S(q - A) when the
    // anchor is ignored for position.
    CCAffineTransform nodeToParentTransform() const;
    CCAffineTransform parentToNodeTransform() const;
    CCAffineTransform nodeToWorldTransform() const;
    CCAffineTransform worldToNodeTransform() const;
    CCPoint convertToNodeSpace(const CCPoint& worldPoint) const;
    CCPoint convertToWorldSpace(const CCPoint& nodePoint) const;
    CCPoint convertTouchToNodeSpace(CCTouch* touch) const;
    // (0, 0, content size) mapped into the parent's space.
    CCRect boundingBox() const;

    // --- drawing --------------------------------------------------------
    // Nothing for an invisible node; otherwise children with z < 0, then
    // draw(), then the other children. A direct visit() outside a frame's
    // visit applies the node's own transform only.
    virtual void visit();
    virtual void draw() { }
    // Node-to-target transform of the node being drawn (identity outside a
    // visit). Render textures bracket their visits with begin/endDrawTarget
    // so that a nested visit starts again from the identity.
    static const CCAffineTransform& currentDrawTransform();
    static void beginDrawTarget();
    static void endDrawTarget();

    // --- lifecycle ------------------------------------------------------
    // Children first, then timers and actions resume, then running is set.
    virtual void onEnter();
    virtual void onEnterTransitionDidFinish();
    // Timers and actions pause, running is cleared, then the children.
    virtual void onExit();
    // Stops the actions and timers of the whole subtree.
    virtual void cleanup();

    // --- actions and timers ---------------------------------------------
    // Starts at once (start values captured now); paused while not running.
    CCAction* runAction(CCAction* action);
    void stopAllActions();
    void stopAction(CCAction* action);
    unsigned numberOfRunningActions() const;

    void schedule(SEL_SCHEDULE selector);
    void schedule(SEL_SCHEDULE selector, float interval);
    void schedule(SEL_SCHEDULE selector, float interval, unsigned repeat, float delay);
    void scheduleOnce(SEL_SCHEDULE selector, float delay);
    void unschedule(SEL_SCHEDULE selector);
    // Also removes the update.
    void unscheduleAllSelectors();
    void scheduleUpdate();
    void scheduleUpdateWithPriority(int priority);
    void unscheduleUpdate();
    virtual void update(float dt) { (void)dt; }
    void resumeSchedulerAndActions();
    void pauseSchedulerAndActions();

protected:
    // Inserts after every child whose z-order is <= zOrder.
    void insertChild(CCNode* child, int zOrder);
    void detachChild(CCNode* child, bool cleanup);
    bool isAncestorOf(const CCNode* node) const;

    CCPoint m_obPosition;
    CCPoint m_obAnchorPoint;
    CCPoint m_obAnchorPointInPoints;
    CCSize m_obContentSize;
    float m_fScaleX = 1.0f;
    float m_fScaleY = 1.0f;
    bool m_bVisible = true;
    bool m_bIgnoreAnchorPointForPosition = false;
    int m_nZOrder = 0;
    int m_nTag = kCCNodeTagInvalid;
    CCArray* m_pChildren;
    CCNode* m_pParent = nullptr;
    bool m_bRunning = false;
    CCObject* m_pUserObject = nullptr;
    void* m_pUserData = nullptr;
};

NS_CC_END
