#pragma once
// The goals' one-item unlocks: make an element, tool or option available in
// the running game for the rest of the day and refresh the bar's badges.
// Without a game layer or HUD (a silent replay before the game scene exists)
// they do nothing.
#include "cocos2d.h"

void unlockPaletteElement(cocos2d::CCString* name);
void unlockTool(cocos2d::CCString* name);
void unlockOption(cocos2d::CCString* name);
