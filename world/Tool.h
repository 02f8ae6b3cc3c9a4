#pragma once
// Tool: the drawing tool interface that touches are fed to. Only the
// interface and the default Draw tool's shell exist so far; the brushes come
// with the tools' own work (Draw does nothing yet and says so once).
#include "cocos2d.h"

class Tool {
public:
    virtual ~Tool() = default;
    // Applies the tool over the touches of a stroke (previous and current
    // touch-point arrays).
    virtual void apply(cocos2d::CCArray* previousTouches, cocos2d::CCArray* touches) = 0;
    // The stroke ended at a point.
    virtual void finish(cocos2d::CCPoint) {}
};

class Draw : public Tool {
public:
    explicit Draw(int kind = 1) : m_kind(kind) {}
    void apply(cocos2d::CCArray* previousTouches, cocos2d::CCArray* touches) override;
    int kind() const { return m_kind; }

private:
    int m_kind;
    bool m_notedNotBuilt = false;
};
