#pragma once
// The driver-wide parameter record exchanged whole with the configuration
// library: 18 signed 32-bit slots. The library reads it as a block of memory,
// so the order and width of every slot are fixed.

#include <cstddef>
#include <cstdint>

struct DriverConfig {
    std::int32_t Mode = 0;              // 0 click on touch, 1 click on release, 2 mouse emulation
    std::int32_t EnableTouch = 0;       // flag
    std::int32_t EnableRightClick = 0;  // flag
    std::int32_t RightClickTime = 0;    // ms
    std::int32_t RightClickArea = 0;    // px
    std::int32_t EnableDelayTouch = 0;  // flag
    std::int32_t DelayTouchTime = 0;    // ms
    std::int32_t EnableDragDelay = 0;   // flag
    std::int32_t DragDelayTime = 0;     // ms
    std::int32_t HideCursor = 0;        // flag
    std::int32_t EnableBeep = 0;        // flag
    std::int32_t BeepType = 0;          // 0 PC speaker, 1 sound card
    std::int32_t BeepMode = 0;          // 0 on touch, 1 on release, 2 both
    std::int32_t BeepFrequency = 0;     // Hz
    std::int32_t BeepDuration = 0;      // ms
    std::int32_t EnableDoubleClick = 0; // flag
    std::int32_t DoubleClickTime = 0;   // ms
    std::int32_t DoubleClickArea = 0;   // px
};

static_assert(sizeof(DriverConfig) == 72);
static_assert(offsetof(DriverConfig, Mode) == 0);
static_assert(offsetof(DriverConfig, EnableTouch) == 4);
static_assert(offsetof(DriverConfig, EnableRightClick) == 8);
static_assert(offsetof(DriverConfig, RightClickTime) == 12);
static_assert(offsetof(DriverConfig, RightClickArea) == 16);
static_assert(offsetof(DriverConfig, EnableDelayTouch) == 20);
static_assert(offsetof(DriverConfig, DelayTouchTime) == 24);
static_assert(offsetof(DriverConfig, EnableDragDelay) == 28);
static_assert(offsetof(DriverConfig, DragDelayTime) == 32);
static_assert(offsetof(DriverConfig, HideCursor) == 36);
static_assert(offsetof(DriverConfig, EnableBeep) == 40);
static_assert(offsetof(DriverConfig, BeepType) == 44);
static_assert(offsetof(DriverConfig, BeepMode) == 48);
static_assert(offsetof(DriverConfig, BeepFrequency) == 52);
static_assert(offsetof(DriverConfig, BeepDuration) == 56);
static_assert(offsetof(DriverConfig, EnableDoubleClick) == 60);
static_assert(offsetof(DriverConfig, DoubleClickTime) == 64);
static_assert(offsetof(DriverConfig, DoubleClickArea) == 68);
