#include "cocos2d/CCScene.h"

#include "cocos2d/CCDirector.h"

NS_CC_BEGIN

CCScene::CCScene()
{
    m_bIgnoreAnchorPointForPosition = true;
    setAnchorPoint(CCPoint(0.5f, 0.5f));
}

CCScene* CCScene::create()
{
    CCScene* scene = new CCScene();
    scene->init();
    scene->autorelease();
    return scene;
}

bool CCScene::init()
{
    setContentSize(CCDirector::sharedDirector()->getWinSize());
    return true;
}

NS_CC_END
