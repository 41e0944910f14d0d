#include "device/Exchange.h"

#include "platform/System.h"

#include <thread>
#include <vector>

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

void RunSideBySide(unsigned count, const std::function<void(unsigned)>& exchanges, ISystem& system)
{
    std::vector<std::thread> threads(count);
    std::vector<unsigned> notStarted;
    for (unsigned i = 0; i < count; ++i)
        if (!system.StartThread(threads[i], [&exchanges, i] { exchanges(i); }))
            notStarted.push_back(i);
    for (unsigned i : notStarted)
        exchanges(i);
    for (std::thread& thread : threads)
        if (thread.joinable())
            thread.join();
}
