#pragma once
// The builder of the small modal popups (the progress bar, the rate popup):
// the dimming over the whole window, the popup's sheet, its panel sprite at
// four times the UI scale, the sheet's button font and the OK button with its
// "GenericOkBut" caption. Each popup lays out its own parts on the panel.
#include <cstdint>

#include "cocos2d.h"

class GUIButton;

// A black layer of the window's size at that opacity, added at z-order 0
// with the tag.
cocos2d::CCLayerColor* addModalDimming(cocos2d::CCNode* window, cocos2d::CCSize size, uint8_t opacity, int tag);
// The sheet "pvr/<sheet>.pvr.ccz" (or "pvr/<sheet>.png") in a batch node
// added at z-order 1, its frames ("pvr/<sheet>.plist") loaded and its pixels
// unfiltered; null, and nothing added, when neither texture exists.
cocos2d::CCSpriteBatchNode* addModalSheet(cocos2d::CCNode* window, const char* sheet);
// The panel sprite "<sheet>_back.png" at four times the UI scale, at `at` in
// the batch node; null when the frame is missing.
cocos2d::CCSprite* addModalPanel(cocos2d::CCSpriteBatchNode* batch, const char* sheet, cocos2d::CCPoint at);
// Makes "<sheet>_ach_fontButtons" the labels' font, one line apart.
void useModalFont(const char* sheet);
// The OK button on the panel: the frame with its icon `iconRightInset` points
// in from its right edge, anchored at its left middle at `at`, firing after
// its press delay, with the localised "GenericOkBut" in the current font.
GUIButton* addModalOkButton(cocos2d::CCNode* panel, cocos2d::CCObject* callback, const char* frame, const char* icon,
                            cocos2d::CCPoint at, float iconRightInset);
