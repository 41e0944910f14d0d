#include "update/FirmwareImage.h"

bool RecordsFillPayload(FirmwarePayload payload)
{
    std::size_t at = 0;
    while (at < payload.size()) {
        if (payload.size() - at < 2)
            return false; // a length cut in half
        at += static_cast<std::size_t>(RecordSizeAt(payload, at));
    }
    return at == payload.size();
}
