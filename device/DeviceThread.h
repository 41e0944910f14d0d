#pragma once
// The device thread: a thread with its own message queue, dispatched through
// a small message table. Each WM_DEVICE_REQUEST is handed to a request
// worker, which sends the report and reads the answers. Workers are
// long-lived threads, reused from one request to the next: one is started
// only when every worker is busy.

#include "device/DeviceRequest.h"
#include "device/TouchStreams.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <list>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

class CDeviceManager;
class CProtocolState;
class IHidPort;
class ISystem;
class IWindowMessenger;

class CDeviceThread {
public:
    // The system seam starts the threads, raises the workers' priority and
    // makes their pauses.
    CDeviceThread(IHidPort& hid, IWindowMessenger& messenger, CDeviceManager& devices, CProtocolState& state,
                  ISystem& system);
    ~CDeviceThread(); // stops and joins, see Stop
    CDeviceThread(const CDeviceThread&) = delete;
    CDeviceThread& operator=(const CDeviceThread&) = delete;

    // False when the thread cannot be created (nothing runs then).
    bool Start();
    // Ends every touch stream, the queue and every worker (a busy one within
    // one wait slice) and waits for them: afterwards none of them uses the
    // objects it was given. The protocol state's stop flags stay as they
    // were: a device thread started later reads as usual.
    void Stop();

    // Queues a thread message; false (and the request freed) once stopped.
    bool PostRequest(std::unique_ptr<DeviceRequest> request);
    bool PostThreadMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam);

    // Requests queued or being worked on (for tests and the benchmark).
    std::size_t OutstandingRequests() const { return m_outstanding; }

private:
    struct QueuedMessage {
        unsigned message;
        std::uintptr_t wParam;
        std::intptr_t lParam;
    };
    struct MessageEntry {
        unsigned message;
        void (CDeviceThread::*handler)(std::uintptr_t wParam, std::intptr_t lParam);
    };
    static const MessageEntry kMessageTable[];

    struct WorkItem {
        std::unique_ptr<DeviceRequest> request;
        std::optional<CTouchStreams::Ticket> streamTicket;
    };

    void Run();
    void OnDeviceRequest(std::uintptr_t wParam, std::intptr_t lParam);
    void OnIgnored(std::uintptr_t wParam, std::intptr_t lParam);
    // Hands the request to an idle worker, or to a new one. When no worker
    // can be had the request is freed unsent, as a failed send ends it: the
    // waiting caller sees its time-out.
    void StartWorker(std::unique_ptr<DeviceRequest> request,
                     std::optional<CTouchStreams::Ticket> streamTicket = std::nullopt);
    // A worker's life: it takes requests until the device thread stops.
    void WorkerLoop();

    IHidPort& m_hid;
    IWindowMessenger& m_messenger;
    CDeviceManager& m_devices;
    CProtocolState& m_state;
    ISystem& m_system;

    std::mutex m_queueMutex;
    std::condition_variable m_queueChanged;
    std::deque<QueuedMessage> m_queue;
    bool m_quit = false;
    std::thread m_thread;

    std::atomic<bool> m_ending{false}; // busy workers stop reading
    std::mutex m_workerMutex;
    std::condition_variable m_workQueued;
    std::deque<WorkItem> m_work;
    std::size_t m_idleWorkers = 0;
    bool m_workersEnd = false;
    std::list<std::thread> m_workers;
    std::atomic<std::size_t> m_outstanding{0};
};

// The process's device thread, for code that posts requests without holding
// one; null in the console face. A request posted while none runs is freed
// and nothing is sent.
void SetCurrentDeviceThread(CDeviceThread* thread);
bool PostDeviceRequest(std::unique_ptr<DeviceRequest> request);
