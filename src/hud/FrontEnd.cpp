#include "hud/FrontEnd.h"

namespace {
FrontEnd plainFrontEnd;
}

namespace frontend_detail {
FrontEnd* current = &plainFrontEnd;
}

void setFrontEnd(FrontEnd* front)
{
    frontend_detail::current = front ? front : &plainFrontEnd;
}
