#include "online/Action.h"

bool RequestAction::execute()
{
    const bool handled =
        transferResult() == 0 ? onResponse(request_->response()) : onConnectionError(transferResult(), transferError());
    if (auto hook = std::move(finishedHook_))
        hook(this);
    return handled;
}
