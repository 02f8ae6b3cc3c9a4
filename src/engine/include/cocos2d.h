#pragma once
// Umbrella header of the engine layer: game code includes this and writes
// USING_NS_CC.

#include "cocos2d/ccMacros.h"
#include "cocos2d/ccTypes.h"
#include "cocos2d/CCGeometry.h"
#include "cocos2d/CCObject.h"
#include "cocos2d/CCAutoreleasePool.h"
#include "cocos2d/CCString.h"
#include "cocos2d/CCInteger.h"
#include "cocos2d/CCArray.h"
#include "cocos2d/CCDictionary.h"
#include "cocos2d/CCSet.h"
#include "cocos2d/CCFileUtils.h"

// Headers written by other parts of the layer appear here as they land.
#if __has_include("cocos2d/CCProtocols.h")
#include "cocos2d/CCProtocols.h"
#endif
#if __has_include("cocos2d/CCNode.h")
#include "cocos2d/CCNode.h"
#endif
#if __has_include("cocos2d/CCScene.h")
#include "cocos2d/CCScene.h"
#endif
#if __has_include("cocos2d/CCLayer.h")
#include "cocos2d/CCLayer.h"
#endif
#if __has_include("cocos2d/CCDirector.h")
#include "cocos2d/CCDirector.h"
#endif
#if __has_include("cocos2d/CCScheduler.h")
#include "cocos2d/CCScheduler.h"
#endif
#if __has_include("cocos2d/CCActionManager.h")
#include "cocos2d/CCActionManager.h"
#endif
#if __has_include("cocos2d/CCAction.h")
#include "cocos2d/CCAction.h"
#endif
#if __has_include("cocos2d/CCActionInterval.h")
#include "cocos2d/CCActionInterval.h"
#endif
#if __has_include("cocos2d/CCActionInstant.h")
#include "cocos2d/CCActionInstant.h"
#endif
#if __has_include("cocos2d/CCActionEase.h")
#include "cocos2d/CCActionEase.h"
#endif
#if __has_include("cocos2d/CCAnimation.h")
#include "cocos2d/CCAnimation.h"
#endif
#if __has_include("cocos2d/CCTransition.h")
#include "cocos2d/CCTransition.h"
#endif
#if __has_include("cocos2d/CCTouch.h")
#include "cocos2d/CCTouch.h"
#endif
#if __has_include("cocos2d/CCTouchDelegate.h")
#include "cocos2d/CCTouchDelegate.h"
#endif
#if __has_include("cocos2d/CCTouchDispatcher.h")
#include "cocos2d/CCTouchDispatcher.h"
#endif
#if __has_include("cocos2d/CCKeypadDelegate.h")
#include "cocos2d/CCKeypadDelegate.h"
#endif
#if __has_include("cocos2d/CCKeypadDispatcher.h")
#include "cocos2d/CCKeypadDispatcher.h"
#endif
#if __has_include("cocos2d/CCIMEDelegate.h")
#include "cocos2d/CCIMEDelegate.h"
#endif
#if __has_include("cocos2d/CCIMEDispatcher.h")
#include "cocos2d/CCIMEDispatcher.h"
#endif
#if __has_include("cocos2d/CCEGLView.h")
#include "cocos2d/CCEGLView.h"
#endif
#if __has_include("cocos2d/CCApplication.h")
#include "cocos2d/CCApplication.h"
#endif
#if __has_include("cocos2d/CCImage.h")
#include "cocos2d/CCImage.h"
#endif
#if __has_include("cocos2d/CCTexture2D.h")
#include "cocos2d/CCTexture2D.h"
#endif
#if __has_include("cocos2d/CCTextureCache.h")
#include "cocos2d/CCTextureCache.h"
#endif
#if __has_include("cocos2d/CCConfiguration.h")
#include "cocos2d/CCConfiguration.h"
#endif
#if __has_include("cocos2d/CCSprite.h")
#include "cocos2d/CCSprite.h"
#endif
#if __has_include("cocos2d/CCSpriteFrame.h")
#include "cocos2d/CCSpriteFrame.h"
#endif
#if __has_include("cocos2d/CCSpriteFrameCache.h")
#include "cocos2d/CCSpriteFrameCache.h"
#endif
#if __has_include("cocos2d/CCSpriteBatchNode.h")
#include "cocos2d/CCSpriteBatchNode.h"
#endif
#if __has_include("cocos2d/CCMenuItemSprite.h")
#include "cocos2d/CCMenuItemSprite.h"
#endif
#if __has_include("cocos2d/CCRenderTexture.h")
#include "cocos2d/CCRenderTexture.h"
#endif
