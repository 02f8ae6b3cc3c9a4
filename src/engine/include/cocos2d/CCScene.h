#pragma once
#include "cocos2d/CCNode.h"

NS_CC_BEGIN

// The top node of a tree the director runs: window-sized, anchor (0.5, 0.5),
// anchor ignored for position.
class CCScene : public CCNode {
public:
    CCScene();
    static CCScene* create();
    bool init() override;
};

NS_CC_END
