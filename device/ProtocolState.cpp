#include "device/ProtocolState.h"

#include <utility>

const CProtocolState::TouchScreenState* CProtocolState::FindLocked(DeviceHandle touchScreen) const
{
    auto it = m_touchScreens.find(touchScreen);
    return it == m_touchScreens.end() ? nullptr : &it->second;
}

void CProtocolState::SetStop(DeviceHandle touchScreen, bool stop)
{
    std::lock_guard lock(m_mutex);
    m_touchScreens[touchScreen].stop = stop;
}

bool CProtocolState::Stopped(DeviceHandle touchScreen) const
{
    std::lock_guard lock(m_mutex);
    const TouchScreenState* state = FindLocked(touchScreen);
    return state && state->stop;
}

void CProtocolState::StartCollecting(DeviceHandle touchScreen)
{
    std::lock_guard lock(m_mutex);
    m_touchScreens[touchScreen].collecting = true;
}

bool CProtocolState::Collecting(DeviceHandle touchScreen) const
{
    std::lock_guard lock(m_mutex);
    const TouchScreenState* state = FindLocked(touchScreen);
    return state && state->collecting;
}

CManualResetEvent& CProtocolState::SyncEvent(DeviceHandle touchScreen)
{
    std::lock_guard lock(m_mutex);
    auto& event = m_touchScreens[touchScreen].syncEvent;
    if (!event)
        event = std::make_unique<CManualResetEvent>();
    return *event;
}

void CProtocolState::SetOpeningAnswer(DeviceHandle touchScreen, std::unique_ptr<DeviceReply> answer)
{
    std::unique_ptr<DeviceReply> old; // freed outside the lock
    std::lock_guard lock(m_mutex);
    old = std::exchange(m_touchScreens[touchScreen].openingAnswer, std::move(answer));
}

std::optional<DeviceReply> CProtocolState::CopyOpeningAnswer(DeviceHandle touchScreen) const
{
    std::lock_guard lock(m_mutex);
    const TouchScreenState* state = FindLocked(touchScreen);
    if (!state || !state->openingAnswer)
        return std::nullopt;
    return *state->openingAnswer;
}

void CProtocolState::ClearOpeningAnswer(DeviceHandle touchScreen) { SetOpeningAnswer(touchScreen, nullptr); }

bool CProtocolState::HasOpeningAnswer(DeviceHandle touchScreen) const
{
    std::lock_guard lock(m_mutex);
    const TouchScreenState* state = FindLocked(touchScreen);
    return state && state->openingAnswer;
}

CProtocolState& GetProtocolState()
{
    static CProtocolState state;
    return state;
}
