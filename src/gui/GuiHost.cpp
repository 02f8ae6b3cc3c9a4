#include "gui/GuiHost.h"

namespace {
GuiHost plainHost;
}

namespace guihost_detail {
GuiHost* current = &plainHost;
}

void setGuiHost(GuiHost* host)
{
    guihost_detail::current = host ? host : &plainHost;
}
