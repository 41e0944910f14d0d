#include "device/Exchange.h"

bool PostAndWait(CManualResetEvent& ended, const RequestPoster& post, std::unique_ptr<DeviceRequest> request,
                 const std::function<bool()>& armed)
{
    ended.Reset();
    // Whatever sets the event after the reset ends this exchange, so the
    // caller's own state is armed only now.
    if (armed && !armed())
        return false;
    post(std::move(request));
    return ended.Wait(kExchangeTimeoutMs);
}
