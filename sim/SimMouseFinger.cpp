#include "sim/SimMouseFinger.h"

#include <algorithm>

RawPoint ScaleToRaw(int screenX, int screenY, const MonitorRect& monitor, std::uint16_t rawMaxX, std::uint16_t rawMaxY)
{
    auto scale = [](long long offset, long long extent, long long rawMax) {
        if (extent <= 1)
            return std::uint16_t(0);
        long long raw = std::clamp(offset, 0LL, extent - 1) * rawMax / (extent - 1);
        return static_cast<std::uint16_t>(raw);
    };
    return RawPoint{scale(screenX - monitor.left, monitor.right - monitor.left, rawMaxX),
                    scale(screenY - monitor.top, monitor.bottom - monitor.top, rawMaxY)};
}
