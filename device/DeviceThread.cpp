#include "device/DeviceThread.h"

#include "device/ProtocolState.h"
#include "device/ReportProtocol.h"
#include "device/RequestWorker.h"
#include "platform/Messages.h"
#include "platform/System.h"

#include <atomic>

const CDeviceThread::MessageEntry CDeviceThread::kMessageTable[] = {
    {WM_DEVICE_REQUEST, &CDeviceThread::OnDeviceRequest},
    {WM_DEVICE_IGNORED, &CDeviceThread::OnIgnored},
};

CDeviceThread::CDeviceThread(IHidPort& hid, IWindowMessenger& messenger, CDeviceManager& devices, CProtocolState& state,
                             ISystem& system)
    : m_hid(hid), m_messenger(messenger), m_devices(devices), m_state(state), m_system(system)
{
}

CDeviceThread::~CDeviceThread() { Stop(); }

bool CDeviceThread::Start()
{
    std::lock_guard lock(m_queueMutex);
    if (m_thread.joinable())
        return true;
    return !m_quit && m_system.StartThread(m_thread, [this] { Run(); });
}

void CDeviceThread::Stop()
{
    m_ending = true;
    m_state.streams.EndAll();
    {
        std::lock_guard lock(m_queueMutex);
        m_quit = true;
    }
    m_queueChanged.notify_all();
    if (m_thread.joinable())
        m_thread.join();

    // Requests still queued are freed unsent.
    std::deque<QueuedMessage> left;
    {
        std::lock_guard lock(m_queueMutex);
        left.swap(m_queue);
    }
    for (const QueuedMessage& m : left)
        if (m.message == WM_DEVICE_REQUEST) {
            delete reinterpret_cast<DeviceRequest*>(m.lParam);
            --m_outstanding;
        }

    // Idle workers end at once, busy ones when their request ends; requests
    // not taken yet are freed unsent.
    std::deque<WorkItem> untaken;
    std::list<std::thread> workers;
    {
        std::lock_guard lock(m_workerMutex);
        m_workersEnd = true;
        untaken.swap(m_work);
        workers.swap(m_workers);
    }
    m_workQueued.notify_all();
    m_outstanding -= untaken.size();
    for (std::thread& worker : workers)
        worker.join();
}

bool CDeviceThread::PostThreadMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam)
{
    {
        std::lock_guard lock(m_queueMutex);
        if (m_quit)
            return false;
        m_queue.push_back({message, wParam, lParam});
        if (message == WM_DEVICE_REQUEST)
            ++m_outstanding;
    }
    m_queueChanged.notify_one();
    return true;
}

bool CDeviceThread::PostRequest(std::unique_ptr<DeviceRequest> request)
{
    DeviceRequest* raw = request.release();
    if (!PostThreadMessage(WM_DEVICE_REQUEST, 0, reinterpret_cast<std::intptr_t>(raw))) {
        delete raw;
        return false;
    }
    return true;
}

void CDeviceThread::Run()
{
    for (;;) {
        QueuedMessage m;
        {
            std::unique_lock lock(m_queueMutex);
            m_queueChanged.wait(lock, [this] { return m_quit || !m_queue.empty(); });
            if (m_quit)
                return;
            m = m_queue.front();
            m_queue.pop_front();
        }
        bool handled = false;
        for (const MessageEntry& entry : kMessageTable)
            if (entry.message == m.message) {
                (this->*entry.handler)(m.wParam, m.lParam);
                handled = true;
            }
        if (!handled && m.message == WM_DEVICE_REQUEST) {
            delete reinterpret_cast<DeviceRequest*>(m.lParam);
            --m_outstanding;
        }
    }
}

void CDeviceThread::OnIgnored(std::uintptr_t, std::intptr_t) {}

void CDeviceThread::OnDeviceRequest(std::uintptr_t, std::intptr_t lParam)
{
    std::unique_ptr<DeviceRequest> request(reinterpret_cast<DeviceRequest*>(lParam));
    if (!request) {
        --m_outstanding;
        return;
    }
    request->replyMessage = ReplyMessageFor(request->report);
    const bool firmwareFrame = IsFirmwareFrame(request->report);
    const std::uint16_t command = CommandOf(request->report);
    // Touch reporting is switched per touchscreen, in the order of dispatch.
    std::optional<CTouchStreams::Ticket> streamTicket;
    if (!firmwareFrame && command == Command::StartTouch)
        streamTicket =
            m_state.streams.Start(request->deviceHandle, request->replyWindow, request->replyMessage, request->slot);
    if (!firmwareFrame && command == Command::StopTouch)
        streamTicket = m_state.streams.Stop(request->deviceHandle);

    if (!firmwareFrame && IsGuardedCommand(command)) {
        // Guarded commands go only after the opening answer was sent back.
        std::optional<DeviceReply> opening = m_state.CopyOpeningAnswer(request->deviceHandle);
        if (!opening) {
            --m_outstanding;
            return; // dropped: nothing is sent
        }
        auto echo = std::make_unique<DeviceRequest>(*opening);
        echo->deviceHandle = request->deviceHandle;
        echo->replyWindow = nullptr;
        echo->report[0] = kCommandReportId;
        echo->replyMessage = ReplyMessageFor(echo->report);
        ++m_outstanding;
        StartWorker(std::move(echo));
    }
    StartWorker(std::move(request), streamTicket);
}

void CDeviceThread::StartWorker(std::unique_ptr<DeviceRequest> request,
                                std::optional<CTouchStreams::Ticket> streamTicket)
{
    {
        std::unique_lock lock(m_workerMutex);
        if (!m_workersEnd) {
            m_work.push_back({std::move(request), streamTicket});
            if (m_idleWorkers >= m_work.size()) {
                lock.unlock();
                m_workQueued.notify_one();
                return;
            }
            // Every worker is busy: one more, started under the lock so
            // that no other worker takes the request back from below it.
            std::thread& worker = m_workers.emplace_back();
            if (m_system.StartThread(worker, [this] { WorkerLoop(); }))
                return;
            m_workers.pop_back(); // no thread to join
            request = std::move(m_work.back().request);
            m_work.pop_back();
        }
    }
    request.reset();
    if (streamTicket)
        m_state.streams.Sent(*streamTicket, false); // the touchscreen's later commands go on
    --m_outstanding;
}

void CDeviceThread::WorkerLoop()
{
    m_system.RaiseCurrentThreadPriority();
    const WorkerContext context{m_hid, m_messenger, m_devices, m_state, m_system, m_ending};
    std::unique_lock lock(m_workerMutex);
    for (;;) {
        ++m_idleWorkers;
        m_workQueued.wait(lock, [this] { return m_workersEnd || !m_work.empty(); });
        --m_idleWorkers;
        if (m_workersEnd)
            return;
        WorkItem item = std::move(m_work.front());
        m_work.pop_front();
        lock.unlock();
        RunRequestWorker(std::move(item.request), context, item.streamTicket);
        --m_outstanding;
        lock.lock();
    }
}

namespace {
std::atomic<CDeviceThread*> g_currentDeviceThread{nullptr};
}

void SetCurrentDeviceThread(CDeviceThread* thread) { g_currentDeviceThread = thread; }

bool PostDeviceRequest(std::unique_ptr<DeviceRequest> request)
{
    CDeviceThread* thread = g_currentDeviceThread.load();
    if (!thread)
        return false; // the request is freed as it goes out of scope
    return thread->PostRequest(std::move(request));
}
