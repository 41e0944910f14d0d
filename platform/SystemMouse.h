#pragma once
// Seam: the current user's mouse settings. The system's double-click
// rectangle and time, the stored double-click values ("Control Panel\Mouse"),
// the cursor scheme ("Control Panel\Cursors") and the reload of the cursors.

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class ISystemMouse {
public:
    using NamedText = std::pair<std::wstring, std::wstring>;

    virtual ~ISystemMouse() = default;
    // The double-click width and height in pixels and time in milliseconds
    // for this session: the user profile is not updated and no change is
    // broadcast.
    virtual void SetDoubleClick(std::uint32_t width, std::uint32_t height, std::uint32_t milliseconds) = 0;
    // Stores text values (REG_SZ) in the existing "Control Panel\Mouse" key;
    // false when the key cannot be opened (nothing is stored then) or a value
    // was refused.
    virtual bool StoreMouseValues(const std::vector<NamedText>& values) = 0;
    // The scheme's values in the order named; nullopt for a value that is
    // missing or not text.
    virtual std::vector<std::optional<std::wstring>> GetCursors(const std::vector<std::wstring>& names) = 0;
    // Stores scheme values (REG_EXPAND_SZ), the key opened once; false when
    // any of them could not be stored (the others are still written).
    virtual bool SetCursors(const std::vector<NamedText>& values) = 0;
    // Makes the stored scheme the one on screen.
    virtual bool ReloadCursors() = 0;
};
