#pragma once
// The order in which a blueprint stage places its pixels. The cursor names
// one pixel of the stage image: cursorX counts columns from the left,
// cursorY rows from the image's bottom row. Every order visits every pixel of
// the stage exactly once.
#include <string>

class BuilderBehaviour {
public:
    // "BottomToTop", "TopToBottom" or "CenterToSides" (exact case); any other
    // name says so on standard output and gives the bottom-to-top order.
    static BuilderBehaviour* create(const std::string& name, int width, int height);

    BuilderBehaviour(int width, int height);
    virtual ~BuilderBehaviour() = default;
    // Moves to the next pixel; true once the stage's last pixel is passed.
    // Bottom to top: rows from the bottom up, each left to right.
    virtual bool advance();

    int cursorX = 0;
    int cursorY = 0;
    int width;
    int height;
};

// Rows from the top down, each left to right.
class BuilderBehaviourTopToBottom : public BuilderBehaviour {
public:
    BuilderBehaviourTopToBottom(int width, int height);
    bool advance() override;
};

// Pairs of mirrored columns (c, width - 1 - c) from the middle outward; each
// pair is climbed from the bottom row in a zigzag, jumping across and
// climbing in turn, so both columns of every row are visited.
class BuilderBehaviourCenterToSides : public BuilderBehaviour {
public:
    BuilderBehaviourCenterToSides(int width, int height);
    bool advance() override;

    bool oddWidth;
    bool onMirrorSide = false;

private:
    int pairColumn;  // the pair's column right of (or at) the middle
};
