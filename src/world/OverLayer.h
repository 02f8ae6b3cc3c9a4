#pragma once
// OverLayer: the layer over the world picture that shows speech balloons
// with job and need icons above colony leaders. All its sprites come from the
// "overlay" sheet and are drawn by one batch node, made when the layer enters
// the scene; before that it shows nothing.
#include "cocos2d.h"

class OverLayer : public cocos2d::CCLayer {
public:
    OverLayer() = default;

    bool init() override;
    void onEnter() override;

    // A balloon of a kind with an icon of a kind at the centre of cell (x, y);
    // owned by the batch node. Null (and a log line) before onEnter or when a
    // frame is missing.
    cocos2d::CCSprite* showBalloon(cocos2d::CCString* balloonKind, cocos2d::CCString* iconKind, float x, float y);
    // A balloon goes up and right of the cell's centre, turned to its left
    // near the world's right edge, kept inside the world and moved above (or
    // below) any other balloon it would cover.
    void placeAtCell(cocos2d::CCSprite* sprite, float x, float y);
    // Takes one of its balloons away; anything else is ignored.
    void removeSprite(cocos2d::CCSprite* sprite);
    // Takes every balloon away (a new universe).
    void removeAll();

    cocos2d::CCSpriteBatchNode* getBatchNode() const { return m_batchNode; }
    // The centre of a cell in the layer's coordinates.
    static cocos2d::CCPoint cellCentre(float x, float y);
    // A balloon's scale in the big or the small world.
    static float balloonScale(bool bigWorld);

private:
    cocos2d::CCPoint clearSpot(cocos2d::CCSprite* balloon, cocos2d::CCPoint at) const;

    cocos2d::CCSpriteBatchNode* m_batchNode = nullptr;  // a child of the layer
};
