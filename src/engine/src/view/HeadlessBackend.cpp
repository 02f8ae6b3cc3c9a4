#include "view/ViewBackend.h"

namespace cocos2d {

// Every call of the seam keeps its no-op default: no window, no renderer,
// no events, frames due at once.
class HeadlessBackend : public ViewBackend { };

ViewBackend* createHeadlessBackend()
{
    return new HeadlessBackend();
}

}  // namespace cocos2d
