#pragma once
// The four process-wide screen values, fixed once at start-up from the window
// size: the screen size, the 4:3 visible box, the UI scale against a 768-pixel
// reference height and the side of one world cell in screen pixels.
#include "cocos2d.h"

extern cocos2d::CCSize screenSize;
extern cocos2d::CCSize visibleSize;
extern double screenRatio;
extern int pixelSize;

// Sets the four values and logs them. Called once, before the first scene.
void computeScreenMetrics(const cocos2d::CCSize& windowSize);
// screenSize - visibleSize.
cocos2d::CCSize visibleMargin();
// (screenRatio * (2x + 64), screenRatio * (2y + 32)).
cocos2d::CCPoint scaledPoint(float x, float y);
// The scale of a sheet's pixels on screen: 4 * screenRatio (the sheets are
// drawn at a quarter of the reference size).
float sheetScale();
// screenRatio * 64, fixed at the first call.
int scaledUnit();

// Tests only: back to the state before start-up (all zero, unit not fixed).
void resetScreenMetricsForTests();
