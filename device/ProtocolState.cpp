#include "device/ProtocolState.h"

#include <utility>

void CProtocolState::SetOpeningAnswer(std::unique_ptr<DeviceReply> answer)
{
    std::unique_ptr<DeviceReply> old;
    std::lock_guard lock(m_mutex);
    old = std::exchange(m_openingAnswer, std::move(answer));
}

std::optional<DeviceReply> CProtocolState::CopyOpeningAnswer()
{
    std::lock_guard lock(m_mutex);
    if (!m_openingAnswer)
        return std::nullopt;
    return *m_openingAnswer;
}

void CProtocolState::ClearOpeningAnswer() { SetOpeningAnswer(nullptr); }

bool CProtocolState::HasOpeningAnswer()
{
    std::lock_guard lock(m_mutex);
    return m_openingAnswer != nullptr;
}

CProtocolState& GetProtocolState()
{
    static CProtocolState state;
    return state;
}
