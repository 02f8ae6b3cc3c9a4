#pragma once
// MPObject: the group that binds the cells of one multi-pixel creature or
// vehicle. NOT BUILT YET beyond what the world needs to keep its object list:
// the member lists, the broken flag, dissolving and freeing. Building,
// moving and sorting come with the creatures' own work.
#include "cocos2d.h"

class MPObject {
public:
    // The four member lists (retained): all members in member order, by x,
    // by y, and the creatures' own fourth list. Each holds
    // CCValue<Particle*> boxes.
    static constexpr int kMemberLists = 4;

    MPObject();
    ~MPObject();
    MPObject(const MPObject&) = delete;
    MPObject& operator=(const MPObject&) = delete;

    // Detaches every member cell (its group becomes null), queues its removal
    // in the world and empties the member lists.
    void dissolve();
    // Moves every member cell by (dx, dy), the vertical step first when
    // `verticalFirst`; whether it moved. Not built yet: says so once in the
    // log and moves nothing.
    bool moveBy(int dx, int dy, bool verticalFirst);
    // Releases the four lists (the world does this before freeing the object).
    void releaseMemberLists();

    cocos2d::CCArray* memberLists[kMemberLists] = {};
    bool broken = false;
};
