#include "device/TouchStreams.h"

#include "device/ReportProtocol.h"
#include "platform/WindowMessenger.h"

#include <algorithm>
#include <chrono>

CTouchStreams::Ticket CTouchStreams::TakeTurnLocked(DeviceHandle touchScreen, Entry& entry)
{
    return Ticket{touchScreen, 0, entry.turnsGiven++};
}

CTouchStreams::Ticket CTouchStreams::Start(DeviceHandle touchScreen, WindowHandle window, unsigned message,
                                           std::int32_t slot)
{
    std::lock_guard lock(m_mutex);
    Entry& entry = m_entries[touchScreen];
    Ticket ticket = TakeTurnLocked(touchScreen, entry);
    ticket.stream = ++m_lastStream;
    entry.current = ticket.stream;
    entry.live = false;
    entry.window = window;
    entry.message = message;
    entry.slot = slot;
    return ticket;
}

CTouchStreams::Ticket CTouchStreams::Stop(DeviceHandle touchScreen)
{
    std::lock_guard lock(m_mutex);
    Entry& entry = m_entries[touchScreen];
    entry.current = 0;
    entry.live = false;
    return TakeTurnLocked(touchScreen, entry);
}

void CTouchStreams::End(DeviceHandle touchScreen, StreamId stream)
{
    std::lock_guard lock(m_mutex);
    auto it = m_entries.find(touchScreen);
    if (it == m_entries.end() || (stream != 0 && it->second.current != stream))
        return;
    it->second.current = 0;
    it->second.live = false;
}

void CTouchStreams::EndAll()
{
    std::lock_guard lock(m_mutex);
    for (auto& [touchScreen, entry] : m_entries) {
        entry.current = 0;
        entry.live = false;
    }
}

void CTouchStreams::AwaitTurn(const Ticket& ticket)
{
    std::unique_lock lock(m_mutex);
    m_turnDone.wait_for(lock, std::chrono::milliseconds(kTurnWaitMs),
                        [&] { return m_entries[ticket.touchScreen].turnsDone >= ticket.turn; });
}

void CTouchStreams::Sent(const Ticket& ticket, bool sent)
{
    {
        std::lock_guard lock(m_mutex);
        Entry& entry = m_entries[ticket.touchScreen];
        entry.turnsDone = std::max(entry.turnsDone, ticket.turn + 1);
        if (ticket.stream != 0 && entry.current == ticket.stream) {
            // A start that went out makes its stream live; one that did not
            // leaves no stream.
            entry.live = sent;
            if (!sent)
                entry.current = 0;
        }
    }
    m_turnDone.notify_all();
}

bool CTouchStreams::IsLive(DeviceHandle touchScreen, StreamId stream) const
{
    std::lock_guard lock(m_mutex);
    auto it = m_entries.find(touchScreen);
    return it != m_entries.end() && stream != 0 && it->second.current == stream && it->second.live;
}

bool CTouchStreams::Streaming(DeviceHandle touchScreen) const
{
    std::lock_guard lock(m_mutex);
    auto it = m_entries.find(touchScreen);
    return it != m_entries.end() && it->second.current != 0;
}

bool CTouchStreams::Streaming() const
{
    std::lock_guard lock(m_mutex);
    return std::any_of(m_entries.begin(), m_entries.end(), [](const auto& e) { return e.second.current != 0; });
}

CTouchStreams::Route CTouchStreams::RouteReport(DeviceHandle touchScreen, std::unique_ptr<DeviceReply>& reply,
                                                IWindowMessenger& messenger)
{
    std::lock_guard lock(m_mutex);
    auto it = m_entries.find(touchScreen);
    if (it == m_entries.end() || it->second.current == 0)
        return Route::NotStreaming;
    const Entry& entry = it->second;
    if (!entry.live || reply->Answer()[1] != kTouchAnswer || !entry.window || entry.message == 0)
        return Route::Dropped;
    reply->deviceHandle = touchScreen;
    reply->slot = entry.slot;
    // Posted under the lock: once a stop was dispatched, no touch of the
    // stream it ended is posted any more.
    DeviceReply* posted = reply.release();
    if (!messenger.Post(entry.window, entry.message, 0, reinterpret_cast<std::intptr_t>(posted)))
        delete posted; // nobody can receive it
    return Route::Delivered;
}
