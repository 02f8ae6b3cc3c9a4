#pragma once
// The pictures creature bodies are read from (invaders, the lion), decoded
// once per process into main memory and kept across worlds: one entry for
// each path the game's code names (the lion, the vehicles, the twelve
// invaders), none for what a saved world holds. Picture rows are counted
// from the bottom: row 0 is the body's lowest row.
#include <string>
#include <vector>

#include "cocos2d.h"

struct CreaturePicture {
    int width = 0;
    int height = 0;
    std::vector<cocos2d::ccColor4B> pixels;  // top row first

    // (column from the left, row from the bottom); transparent outside.
    cocos2d::ccColor4B at(int column, int row) const
    {
        if (column < 0 || row < 0 || column >= width || row >= height)
            return {0, 0, 0, 0};
        return pixels[static_cast<size_t>(height - 1 - row) * static_cast<size_t>(width) + static_cast<size_t>(column)];
    }
};

// The picture at a resource path, or null when it cannot be read (logged
// once per path).
const CreaturePicture* creaturePicture(const std::string& path);
// Puts a picture in place of a path's file (tests); null forgets it, so the
// file is read again.
void setCreaturePicture(const std::string& path, const CreaturePicture* picture);
