// The node tree: child order, reparenting, removal order, lifecycle,
// transforms under both anchor rules, and the visit order.
#include "engine/director/DirectorFixture.h"

USING_NS_CC;
using namespace enginetest;

namespace {

class NodeTest : public DirectorTest {
protected:
    std::vector<int> tagsOf(CCNode* parent)
    {
        std::vector<int> tags;
        for (CCObject* o : *parent->getChildren()) {
            tags.push_back(static_cast<CCNode*>(o)->getTag());
        }
        return tags;
    }
    CCNode* child(CCNode* parent, int z, int tag)
    {
        CCNode* n = CCNode::create();
        parent->addChild(n, z, tag);
        return n;
    }
    std::vector<std::string> log;
};

// Records the transform in effect when it is drawn.
class TransformProbe : public CCNode {
public:
    static TransformProbe* create()
    {
        TransformProbe* p = new TransformProbe();
        p->autorelease();
        return p;
    }
    void draw() override { seen = CCNode::currentDrawTransform(); }
    CCAffineTransform seen{};
};

}  // namespace

TEST_F(NodeTest, ChildrenStaySortedByZThenArrivalAfterReordering)
{
    CCNode* parent = CCNode::create();
    EXPECT_NE(parent->getChildren(), nullptr);
    EXPECT_EQ(parent->getChildrenCount(), 0u);

    child(parent, 0, 1);
    CCNode* two = child(parent, -1, 2);
    child(parent, 0, 3);
    child(parent, 5, 4);
    child(parent, 0, 5);
    EXPECT_EQ(tagsOf(parent), (std::vector<int>{2, 1, 3, 5, 4}));

    // A new z-order is a new arrival: last among its equals, even unchanged.
    two->setZOrder(0);
    EXPECT_EQ(tagsOf(parent), (std::vector<int>{1, 3, 5, 2, 4}));
    parent->reorderChild(parent->getChildByTag(1), 0);
    EXPECT_EQ(tagsOf(parent), (std::vector<int>{3, 5, 2, 1, 4}));

    // The first match in that order.
    parent->getChildByTag(4)->setTag(3);
    EXPECT_EQ(parent->getChildByTag(3)->getZOrder(), 0);
    EXPECT_EQ(parent->getChildByTag(99), nullptr);
}

TEST_F(NodeTest, AddingAChildThatHasAParentMovesItWithoutCleanup)
{
    CCScene* scene = runScene();
    Probe* a = Probe::create(&log, "a");
    Probe* b = Probe::create(&log, "b");
    Probe* moved = Probe::create(&log, "m");
    scene->addChild(a);
    scene->addChild(b);
    a->addChild(moved);
    moved->schedule(schedule_selector(Probe::tick), 0.0f);
    log.clear();

    b->addChild(moved, 3, 7);
    EXPECT_EQ(moved->getParent(), b);
    EXPECT_EQ(a->getChildrenCount(), 0u);
    EXPECT_EQ(moved->getTag(), 7);
    EXPECT_EQ(log, (std::vector<std::string>{"m exit", "m enter", "m didFinish"}));
    director->stepFrame(kFrame);
    EXPECT_EQ(moved->ticks, 1) << "its timer survived the move";

    // A node never goes below itself.
    moved->addChild(b);
    moved->addChild(moved);
    EXPECT_EQ(b->getParent(), scene);
    EXPECT_EQ(moved->getChildrenCount(), 0u);
}

TEST_F(NodeTest, RemovalExitsThenCleansThenDetachesThenReleases)
{
    CCScene* scene = runScene();
    Probe* popup = Probe::create(&log, "popup");
    Probe* inner = Probe::create(&log, "inner");
    popup->addChild(inner);
    scene->addChild(popup);
    inner->schedule(schedule_selector(Probe::tick), 0.0f);
    inner->runAction(CCMoveTo::create(1.0f, ccp(1, 1)));
    log.clear();

    // (A probe notes an event after passing it to its children.)
    scene->removeChild(popup);
    EXPECT_EQ(log, (std::vector<std::string>{"inner exit", "popup exit", "inner cleanup", "popup cleanup"}));
    director->stepFrame(kFrame);  // the creator's pending release
    EXPECT_EQ(log.back(), "inner deleted");
    EXPECT_EQ(director->getScheduler()->isScheduled(schedule_selector(Probe::tick), inner), false);

    // Removing a node that is not a child does nothing.
    CCNode* stranger = CCNode::create();
    scene->removeChild(stranger);
    scene->removeChildByTag(12345);
    EXPECT_EQ(stranger->retainCount(), 1u);
}

TEST_F(NodeTest, EnteringRunsChildrenFirstAndHandlersMayChangeTheTree)
{
    CCScene* scene = CCScene::create();
    Probe* a = Probe::create(&log, "a");
    Probe* b = Probe::create(&log, "b");
    scene->addChild(a);
    a->addChild(b);
    director->runWithScene(scene);
    director->stepFrame(kFrame);
    // (A probe notes an event after passing it to its children.)
    EXPECT_EQ(log, (std::vector<std::string>{"b enter", "a enter", "b didFinish", "a didFinish"}));
    EXPECT_TRUE(a->isRunning());
    EXPECT_TRUE(b->isRunning());

    // A sibling added by an entry handler is entered too, once.
    struct Opener : public CCNode {
        CCNode* extra = nullptr;
        void onEnter() override
        {
            CCNode::onEnter();
            getParent()->addChild(extra);
        }
    };
    log.clear();
    CCScene* next = CCScene::create();
    Opener* opener = new Opener();
    opener->autorelease();
    Probe* popup = Probe::create(&log, "popup");
    opener->extra = popup;
    next->addChild(opener);
    director->replaceScene(next);
    director->stepFrame(kFrame);
    EXPECT_TRUE(popup->isRunning());
    EXPECT_EQ(std::count(log.begin(), log.end(), "popup enter"), 1);
    EXPECT_EQ(std::count(log.begin(), log.end(), "popup didFinish"), 1);
    popup->schedule(schedule_selector(Probe::tick), 0.0f);
    director->stepFrame(kFrame);
    EXPECT_EQ(popup->ticks, 1) << "its timers run";
    scene = next;

    // A removal from inside onExit of a sibling is safe.
    struct Remover : public CCNode {
        CCNode* victim = nullptr;
        void onExit() override
        {
            CCNode::onExit();
            if (victim) {
                victim->removeFromParent();
            }
        }
    };
    Remover* r = new Remover();
    r->autorelease();
    CCNode* victim = CCNode::create();
    r->victim = victim;
    scene->addChild(r);
    scene->addChild(victim);
    scene->removeAllChildren();
    EXPECT_EQ(scene->getChildrenCount(), 0u);
}

TEST_F(NodeTest, TransformsHonourBothAnchorRules)
{
    CCNode* sprite = CCNode::create();
    sprite->setContentSize(CCSize(40, 20));
    sprite->setAnchorPoint(ccp(0.5f, 0.5f));
    sprite->setPosition(ccp(100, 50));
    sprite->setScale(2.0f);
    // An ordinary node: P + S(q - A).
    CCRect box = sprite->boundingBox();
    EXPECT_TRUE(box.equals(CCRect(60, 30, 80, 40)));
    EXPECT_TRUE(sprite->getAnchorPointInPoints().equals(ccp(20, 10)));

    // A layer ignores its anchor for position: P + A + S(q - A).
    CCLayer* layer = CCLayer::create();
    EXPECT_TRUE(layer->getContentSize().equals(CCSize(800, 600)));
    EXPECT_TRUE(layer->convertToWorldSpace(CCPointZero).equals(CCPointZero));
    layer->setScale(2.0f);
    EXPECT_TRUE(layer->convertToWorldSpace(ccp(400, 300)).equals(ccp(400, 300))) << "scales about its centre";

    // Conversions run through every ancestor.
    CCNode* parent = CCNode::create();
    parent->setPosition(ccp(10, 10));
    parent->addChild(sprite);
    CCPoint world = sprite->convertToWorldSpace(ccp(0, 0));
    EXPECT_TRUE(world.equals(ccp(70, 40)));
    EXPECT_TRUE(sprite->convertToNodeSpace(world).equals(CCPointZero));
}

TEST_F(NodeTest, ConvertToNodeSpaceUnderAZoomedLayerFollowsTheCameraFormula)
{
    CCScene* scene = runScene();
    CCLayer* world = CCLayer::create();
    scene->addChild(world);
    const float s = 4.0f;
    const CCPoint X(120, 80);  // the view's offset into the zoomed layer
    const CCPoint A = world->getAnchorPointInPoints();
    world->setScale(s);
    world->setPosition(ccp(-A.x * (1 - s) - X.x, -A.y * (1 - s) - X.y));

    // Screen point w shows layer point (w + X) / s.
    for (CCPoint w : {ccp(0, 0), ccp(400, 300), ccp(799, 1)}) {
        CCPoint q = world->convertToNodeSpace(w);
        EXPECT_NEAR(q.x, (w.x + X.x) / s, 1e-3);
        EXPECT_NEAR(q.y, (w.y + X.y) / s, 1e-3);
    }

    // A scale of 0 gives no division by zero.
    world->setScale(0.0f);
    CCPoint q = world->convertToNodeSpace(ccp(10, 10));
    EXPECT_TRUE(q.x == q.x && q.y == q.y);
}

TEST_F(NodeTest, VisitDrawsNegativeZThenTheNodeThenTheRestAndSkipsHiddenNodes)
{
    auto drawing = [this](const char* name) {
        Probe* p = Probe::create(&log, name);
        p->logDraws = true;
        return p;
    };
    Probe* root = drawing("root");
    root->addChild(drawing("front"), 1);
    root->addChild(drawing("back"), -1);
    Probe* hidden = drawing("hidden");
    hidden->addChild(drawing("underHidden"));
    hidden->setVisible(false);
    root->addChild(hidden, 0);
    root->visit();
    EXPECT_EQ(log, (std::vector<std::string>{"back draw", "root draw", "front draw"}));
}

TEST_F(NodeTest, AVisitCarriesTheNodeToTargetTransformAndADirectVisitStartsFresh)
{
    CCNode* parent = CCNode::create();
    parent->setPosition(ccp(100, 0));
    parent->setScale(2.0f);
    TransformProbe* probe = TransformProbe::create();
    probe->setPosition(ccp(5, 5));
    parent->addChild(probe);

    parent->visit();
    CCPoint origin = CCPointApplyAffineTransform(CCPointZero, probe->seen);
    EXPECT_TRUE(origin.equals(ccp(110, 10)));

    // Into a render texture: its own transform only.
    probe->visit();
    origin = CCPointApplyAffineTransform(CCPointZero, probe->seen);
    EXPECT_TRUE(origin.equals(ccp(5, 5)));

    CCNode::beginDrawTarget();
    EXPECT_TRUE(CCPointApplyAffineTransform(ccp(1, 1), CCNode::currentDrawTransform()).equals(ccp(1, 1)));
    CCNode::endDrawTarget();
}

TEST_F(NodeTest, UserObjectIsRetainedAndReplaced)
{
    CCNode* node = CCNode::create();
    CCString* first = CCString::create("a");
    CCString* second = CCString::create("b");
    node->setUserObject(first);
    EXPECT_EQ(first->retainCount(), 2u);
    node->setUserObject(second);
    EXPECT_EQ(first->retainCount(), 1u);
    EXPECT_EQ(node->getUserObject(), second);
    node->setUserObject(nullptr);
    EXPECT_EQ(second->retainCount(), 1u);
}
