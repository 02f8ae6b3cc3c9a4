#include "online/Action.h"

bool RequestAction::execute()
{
    if (transferResult() == 0)
        return onResponse(request_->response());
    return onConnectionError(transferResult(), transferError());
}
