#pragma once
// RandomDealer: deals the objects of an array in a random order without
// repeats; once every object was dealt it starts a new round.
#include <vector>

#include "cocos2d.h"

class RandomDealer : public cocos2d::CCObject {
public:
    // Over the array's objects (retained); autoreleased.
    static RandomDealer* create(cocos2d::CCArray* objects);
    ~RandomDealer() override;

    // The next object; null for an empty array.
    cocos2d::CCObject* deal();
    // A trace line of what is left in this round.
    void dump() const;
    size_t leftInRound() const { return m_left.size(); }

private:
    RandomDealer() = default;
    cocos2d::CCArray* m_objects = nullptr;
    std::vector<unsigned> m_left;  // indices not dealt in this round
};
