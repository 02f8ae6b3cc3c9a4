#include "elements/living/blueprint/BuilderBehaviour.h"

#include <cstdio>

BuilderBehaviour* BuilderBehaviour::create(const std::string& name, int width, int height)
{
    if (name == "BottomToTop")
        return new BuilderBehaviour(width, height);
    if (name == "TopToBottom")
        return new BuilderBehaviourTopToBottom(width, height);
    if (name == "CenterToSides")
        return new BuilderBehaviourCenterToSides(width, height);
    std::printf("Tried to load an unexisting type of builder behaviour \xc3\xb6\n");
    std::fflush(stdout);
    return new BuilderBehaviour(width, height);
}

BuilderBehaviour::BuilderBehaviour(int w, int h) : width(w), height(h) { }

bool BuilderBehaviour::advance()
{
    if (++cursorX >= width) {
        cursorX = 0;
        ++cursorY;
    }
    return cursorY >= height;
}

BuilderBehaviourTopToBottom::BuilderBehaviourTopToBottom(int w, int h) : BuilderBehaviour(w, h)
{
    cursorY = h - 1;
}

bool BuilderBehaviourTopToBottom::advance()
{
    if (++cursorX >= width) {
        cursorX = 0;
        --cursorY;
    }
    return cursorY < 0;
}

BuilderBehaviourCenterToSides::BuilderBehaviourCenterToSides(int w, int h)
    : BuilderBehaviour(w, h), oddWidth(w % 2 != 0), pairColumn(w / 2)
{
    cursorX = pairColumn;
}

bool BuilderBehaviourCenterToSides::advance()
{
    const int mirror = width - 1 - pairColumn;
    bool climb = true;
    if (mirror != pairColumn) {
        // Row r is entered on the pair's own column when r is even and on
        // the mirror column when odd; the second cell of a row is reached by
        // jumping across, the first cell of the next row by climbing.
        const bool enteredOnMirror = cursorY % 2 != 0;
        climb = onMirrorSide != enteredOnMirror;
        if (!climb) {
            onMirrorSide = !onMirrorSide;
            cursorX = onMirrorSide ? mirror : pairColumn;
            return false;
        }
    }
    if (++cursorY < height)
        return false;
    // The pair is done: the next one outward, from its bottom row.
    if (++pairColumn >= width)
        return true;
    cursorY = 0;
    onMirrorSide = false;
    cursorX = pairColumn;
    return false;
}
