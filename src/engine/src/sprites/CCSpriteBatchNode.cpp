#include "cocos2d/CCSpriteBatchNode.h"

#include "base/EngineLog.h"
#include "cocos2d/CCSprite.h"
#include "cocos2d/CCTexture2D.h"
#include "cocos2d/CCTextureCache.h"

NS_CC_BEGIN

CCSpriteBatchNode::CCSpriteBatchNode()
{
    m_obAnchorPoint = CCPointZero;
}

CCSpriteBatchNode::~CCSpriteBatchNode()
{
    CC_SAFE_RELEASE(m_pTexture);
}

CCSpriteBatchNode* CCSpriteBatchNode::create(const char* file, unsigned int capacity)
{
    CCSpriteBatchNode* node = new CCSpriteBatchNode();
    if (node->initWithFile(file, capacity)) {
        node->autorelease();
        return node;
    }
    delete node;
    return nullptr;
}

CCSpriteBatchNode* CCSpriteBatchNode::createWithTexture(CCTexture2D* texture, unsigned int capacity)
{
    CCSpriteBatchNode* node = new CCSpriteBatchNode();
    if (node->initWithTexture(texture, capacity)) {
        node->autorelease();
        return node;
    }
    delete node;
    return nullptr;
}

bool CCSpriteBatchNode::initWithFile(const char* file, unsigned int capacity)
{
    CCTexture2D* texture = CCTextureCache::sharedTextureCache()->addImage(file);
    if (!texture) {
        engineLog("CCSpriteBatchNode: no texture for %s", file ? file : "(null)");
        return false;
    }
    return initWithTexture(texture, capacity);
}

bool CCSpriteBatchNode::initWithTexture(CCTexture2D* texture, unsigned int)
{
    if (!texture)
        return false;
    setTexture(texture);
    setAnchorPoint(CCPointZero);
    setContentSize(CCSizeZero);
    return true;
}

void CCSpriteBatchNode::setTexture(CCTexture2D* texture)
{
    CC_SAFE_RETAIN(texture);
    CC_SAFE_RELEASE(m_pTexture);
    m_pTexture = texture;
}

void CCSpriteBatchNode::addChild(CCNode* child, int zOrder, int tag)
{
    CCSprite* sprite = dynamic_cast<CCSprite*>(child);
    if (sprite && sprite->getTexture() && sprite->getTexture() != m_pTexture && !m_bWarnedForeignTexture) {
        m_bWarnedForeignTexture = true;
        engineLog("CCSpriteBatchNode: a child uses another texture; it is drawn all the same");
    }
    CCNode::addChild(child, zOrder, tag);
}

NS_CC_END
