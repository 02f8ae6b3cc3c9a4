#include "cocos2d/CCLayer.h"

#include "cocos2d/CCDirector.h"
#include "cocos2d/CCEGLView.h"
#include "cocos2d/CCKeypadDispatcher.h"
#include "cocos2d/CCTouchDispatcher.h"
#include "view/ViewBackend.h"

NS_CC_BEGIN

CCLayer::CCLayer()
{
    m_bIgnoreAnchorPointForPosition = true;
    setAnchorPoint(CCPoint(0.5f, 0.5f));
}

CCLayer::~CCLayer() = default;

CCLayer* CCLayer::create()
{
    CCLayer* layer = new CCLayer();
    layer->init();
    layer->autorelease();
    return layer;
}

bool CCLayer::init()
{
    setContentSize(CCDirector::sharedDirector()->getWinSize());
    return true;
}

void CCLayer::registerWithTouchDispatcher()
{
    CCDirector::sharedDirector()->getTouchDispatcher()->addStandardDelegate(this, 0);
}

void CCLayer::onEnter()
{
    CCDirector* director = CCDirector::sharedDirector();
    if (m_bTouchEnabled) {
        registerWithTouchDispatcher();
    }
    if (m_bKeypadEnabled) {
        director->getKeypadDispatcher()->addDelegate(this);
    }
    CCNode::onEnter();
}

void CCLayer::onExit()
{
    CCDirector* director = CCDirector::sharedDirector();
    if (m_bTouchEnabled) {
        director->getTouchDispatcher()->removeDelegate(this);
    }
    if (m_bKeypadEnabled) {
        director->getKeypadDispatcher()->removeDelegate(this);
    }
    CCNode::onExit();
}

void CCLayer::setTouchEnabled(bool enabled)
{
    if (m_bTouchEnabled == enabled) {
        return;
    }
    m_bTouchEnabled = enabled;
    if (m_bRunning) {
        if (enabled) {
            registerWithTouchDispatcher();
        } else {
            CCDirector::sharedDirector()->getTouchDispatcher()->removeDelegate(this);
        }
    }
}

void CCLayer::setKeypadEnabled(bool enabled)
{
    if (m_bKeypadEnabled == enabled) {
        return;
    }
    m_bKeypadEnabled = enabled;
    if (m_bRunning) {
        CCKeypadDispatcher* keypad = CCDirector::sharedDirector()->getKeypadDispatcher();
        if (enabled) {
            keypad->addDelegate(this);
        } else {
            keypad->removeDelegate(this);
        }
    }
}

// --- colour layer --------------------------------------------------------------

CCLayerColor::CCLayerColor() = default;

CCLayerColor* CCLayerColor::create()
{
    CCLayerColor* layer = new CCLayerColor();
    layer->init();
    layer->autorelease();
    return layer;
}

CCLayerColor* CCLayerColor::create(const ccColor4B& color)
{
    CCLayerColor* layer = new CCLayerColor();
    layer->initWithColor(color);
    layer->autorelease();
    return layer;
}

CCLayerColor* CCLayerColor::create(const ccColor4B& color, float width, float height)
{
    CCLayerColor* layer = new CCLayerColor();
    layer->initWithColor(color, width, height);
    layer->autorelease();
    return layer;
}

bool CCLayerColor::init()
{
    return initWithColor(ccc4(0, 0, 0, 0));
}

bool CCLayerColor::initWithColor(const ccColor4B& color)
{
    CCSize size = CCDirector::sharedDirector()->getWinSize();
    return initWithColor(color, size.width, size.height);
}

bool CCLayerColor::initWithColor(const ccColor4B& color, float width, float height)
{
    m_tColor = ccc3(color.r, color.g, color.b);
    m_cOpacity = color.a;
    setContentSize(CCSize(width, height));
    return true;
}

void CCLayerColor::draw()
{
    ViewBackend* backend = CCEGLView::sharedOpenGLView()->getBackend();
    if (backend && backend->drawsFrames()) {
        backend->fillRect(CCNode::currentDrawTransform(), m_obContentSize.width, m_obContentSize.height,
                          ccc4(m_tColor.r, m_tColor.g, m_tColor.b, m_cOpacity));
    }
}

NS_CC_END
