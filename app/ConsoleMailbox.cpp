#include "app/ConsoleMailbox.h"

#include "calibration/MappingClosedRecord.h"
#include "device/DeviceRequest.h"
#include "platform/Messages.h"

#include <algorithm>

namespace {

// The messages whose lParam is a posted DeviceReply; a panel's own messages
// carry plain numbers.
bool CarriesReply(unsigned message)
{
    for (unsigned reply :
         {WM_VERSION_REPLY, WM_SERIAL_REPLY, WM_DIAGNOSTICS_HEADER_REPLY, WM_DIAGNOSTICS_DATA_REPLY, WM_TOUCH_POINT,
          WM_OPENING_REPLY, WM_UPDATE_REPLY, WM_NUMBER_READ_REPLY, WM_NUMBER_WRITE_REPLY})
        if (message == reply)
            return true;
    return false;
}

} // namespace

CConsoleMailbox::~CConsoleMailbox()
{
    for (const Message& m : m_queue)
        Free(m);
}

void CConsoleMailbox::Free(const Message& message)
{
    if (message.message == WM_MAPPING_CLOSED)
        delete reinterpret_cast<MappingClosedRecord*>(message.lParam);
    else
        TakeReply(message);
}

std::unique_ptr<DeviceReply> CConsoleMailbox::TakeReply(const Message& message)
{
    if (!CarriesReply(message.message))
        return nullptr;
    return std::unique_ptr<DeviceReply>(reinterpret_cast<DeviceReply*>(message.lParam));
}

bool CConsoleMailbox::Post(WindowHandle window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam)
{
    if (std::find(m_windows.begin(), m_windows.end(), window) == m_windows.end())
        return false;
    {
        std::lock_guard lock(m_mutex);
        m_queue.push_back({window, message, wParam, lParam});
    }
    m_changed.notify_all();
    return true;
}

std::optional<CConsoleMailbox::Message> CConsoleMailbox::Take(std::chrono::milliseconds timeout)
{
    std::unique_lock lock(m_mutex);
    if (!m_changed.wait_for(lock, timeout, [this] { return !m_queue.empty(); }))
        return std::nullopt;
    Message m = m_queue.front();
    m_queue.pop_front();
    return m;
}
