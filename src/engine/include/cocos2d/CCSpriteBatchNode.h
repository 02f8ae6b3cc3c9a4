#pragma once
// A node whose children are sprites of one texture. It draws exactly what
// drawing its children in order would draw.
#include "cocos2d/CCNode.h"

NS_CC_BEGIN

class CCTexture2D;

class CCSpriteBatchNode : public CCNode {
public:
    CCSpriteBatchNode();
    ~CCSpriteBatchNode() override;

    // The capacity is ignored. Null (create) or false (init) when the file
    // has no texture.
    static CCSpriteBatchNode* create(const char* file, unsigned int capacity = 29);
    static CCSpriteBatchNode* createWithTexture(CCTexture2D* texture, unsigned int capacity = 29);
    bool initWithFile(const char* file, unsigned int capacity);
    bool initWithTexture(CCTexture2D* texture, unsigned int capacity);

    CCTexture2D* getTexture() const { return m_pTexture; }
    void setTexture(CCTexture2D* texture);

    using CCNode::addChild;
    // A child on another texture is still drawn, with one warning.
    void addChild(CCNode* child, int zOrder, int tag) override;

protected:
    CCTexture2D* m_pTexture = nullptr;  // retained
    bool m_bWarnedForeignTexture = false;
};

NS_CC_END
