#include "device/RemovalNotice.h"

#include <chrono>
#include <exception>
#include <random>

namespace {

std::uintptr_t MakeKey()
{
    static const int anchor = 0;
    std::uint64_t seed = static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
                         reinterpret_cast<std::uintptr_t>(&anchor);
    try {
        std::random_device device;
        seed ^= static_cast<std::uint64_t>(device()) << 32 | device();
    } catch (const std::exception&) {
        // No random source: the clock and the address still vary between processes.
    }
    std::mt19937_64 mix(seed);
    const auto key = static_cast<std::uintptr_t>(mix());
    return key != 0 ? key : 1;
}

} // namespace

std::uintptr_t RemovalNoticeKey()
{
    static const std::uintptr_t key = MakeKey();
    return key;
}

bool IsOwnRemovalNotice(std::uintptr_t wParam) { return wParam == RemovalNoticeKey(); }
