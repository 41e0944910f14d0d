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
    m_state.stop = true;
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

    std::list<Worker> workers;
    {
        std::lock_guard lock(m_workerMutex);
        workers.swap(m_workers);
    }
    for (Worker& worker : workers)
        worker.thread.join();
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
        ReapFinishedWorkers();
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
        std::optional<DeviceReply> opening = m_state.CopyOpeningAnswer();
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
    std::lock_guard lock(m_workerMutex);
    Worker& worker = m_workers.emplace_back();
    WorkerContext context{m_hid, m_messenger, m_devices, m_state, m_system};
    DeviceRequest* raw = request.release();
    const bool started = m_system.StartThread(worker.thread, [this, &worker, context, raw, streamTicket] {
        m_system.RaiseCurrentThreadPriority();
        RunRequestWorker(std::unique_ptr<DeviceRequest>(raw), context, streamTicket);
        --m_outstanding;
        std::lock_guard lock(m_workerMutex);
        worker.done = true;
    });
    if (!started) {
        delete raw;
        if (streamTicket)
            m_state.streams.Sent(*streamTicket, false); // the touchscreen's later commands go on
        m_workers.pop_back();                           // no thread to join
        --m_outstanding;
    }
}

void CDeviceThread::ReapFinishedWorkers()
{
    std::list<Worker> finished;
    {
        std::lock_guard lock(m_workerMutex);
        for (auto it = m_workers.begin(); it != m_workers.end();) {
            auto next = std::next(it);
            if (it->done)
                finished.splice(finished.end(), m_workers, it);
            it = next;
        }
    }
    for (Worker& worker : finished)
        worker.thread.join();
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
