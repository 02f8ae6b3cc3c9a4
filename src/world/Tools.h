#pragma once
// The five drawing tools. Draw, Line and Miner act every tick of a stroke;
// Fill and Replace act once, where a touch ends.
#include "world/Tool.h"

class Draw : public Tool {
public:
    Draw() { kind = kDraw; }
    void apply(cocos2d::CCArray* previousTouches, cocos2d::CCArray* touches) override;
};

class Line : public Tool {
public:
    Line() { kind = kLine; }
    void apply(cocos2d::CCArray* previousTouches, cocos2d::CCArray* touches) override;
    void finish(int32_t x, int32_t y) override;

    bool axisLocked = false;
    bool horizontal = false;
    int32_t lockedCoord = 0;

private:
    void lockAxis(cocos2d::CCPoint& p, cocos2d::CCPoint& t);
};

class Miner : public Tool {
public:
    Miner() { kind = kMiner; }
    void apply(cocos2d::CCArray* previousTouches, cocos2d::CCArray* touches) override;
    void finish(int32_t, int32_t) override { }
};

class Fill : public Tool {
public:
    Fill() { kind = kFill; }
    void apply(cocos2d::CCArray*, cocos2d::CCArray*) override { }
    void finish(int32_t x, int32_t y) override;

    void floodReplace(int32_t x, int32_t y);
    void floodEmpty(int32_t x, int32_t y);
    void floodClear(int32_t x, int32_t y);
};

class Replace : public Tool {
public:
    Replace() { kind = kReplace; }
    void apply(cocos2d::CCArray*, cocos2d::CCArray*) override { }
    void finish(int32_t x, int32_t y) override;

    void replaceAll(uint32_t from, uint32_t to);
    void fillAllEmpty(uint32_t type);
    void removeAll(uint32_t type);
};
