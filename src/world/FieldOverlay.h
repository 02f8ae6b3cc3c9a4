#pragma once
// The picture a world field draws over the world: a writable texture of one
// texel per field cell and a sprite showing it (anchor (0, 0), flipped so that
// row 0 is the bottom row, nearest sampling, hidden until its view is on).
// Cells are painted into the CPU copy; the texture is uploaded at most once
// per flush, and only when something was painted.
#include "cocos2d.h"

namespace cocos2d {
class CCSprite;
}
class CCMutableTexture2D;

class FieldOverlay {
public:
    // `cellScale` multiplies the screen pixels per world cell (p x p): 1 for
    // a texel per world cell, 2 for a texel per 2 x 2 cells.
    FieldOverlay(int width, int height, float cellScale, cocos2d::ccColor4B clear);
    ~FieldOverlay();
    FieldOverlay(const FieldOverlay&) = delete;
    FieldOverlay& operator=(const FieldOverlay&) = delete;

    void setPixel(int x, int y, cocos2d::ccColor4B colour);
    cocos2d::ccColor4B pixel(int x, int y) const;
    void fill(cocos2d::ccColor4B colour);
    // Uploads when dirty; a clean texture costs nothing.
    void flush();
    void setVisible(bool visible);
    bool isVisible() const { return m_visible; }

    CCMutableTexture2D* texture() const { return m_texture; }
    cocos2d::CCSprite* sprite() const { return m_sprite; }

private:
    CCMutableTexture2D* m_texture = nullptr;  // retained
    cocos2d::CCSprite* m_sprite = nullptr;    // retained
    bool m_visible = false;
};
