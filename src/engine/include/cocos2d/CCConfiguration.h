#pragma once
// What the renderer can do.
#include "cocos2d/CCObject.h"

NS_CC_BEGIN

class CCConfiguration : public CCObject {
public:
    static CCConfiguration* sharedConfiguration();
    // The smaller of the renderer's maximum texture width and height (8192
    // when it reports none); 4096 without a renderer.
    int getMaxTextureSize() const;

private:
    CCConfiguration() = default;
};

NS_CC_END
