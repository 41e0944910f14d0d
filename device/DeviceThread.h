#pragma once
// The device thread: a thread with its own message queue, dispatched through
// a small message table. Each WM_DEVICE_REQUEST starts one request worker
// thread, which sends the report and reads the answers.

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
    // Sets the stop flag, ends every touch stream and the queue, and waits
    // for the thread and every worker: afterwards none of them uses the
    // objects it was given.
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

    struct Worker {
        std::thread thread;
        bool done = false;
    };

    void Run();
    void OnDeviceRequest(std::uintptr_t wParam, std::intptr_t lParam);
    void OnIgnored(std::uintptr_t wParam, std::intptr_t lParam);
    // A worker that cannot be started frees its request unsent: the waiting
    // caller sees its time-out.
    void StartWorker(std::unique_ptr<DeviceRequest> request,
                     std::optional<CTouchStreams::Ticket> streamTicket = std::nullopt);
    void ReapFinishedWorkers();

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

    std::mutex m_workerMutex;
    std::list<Worker> m_workers;
    std::atomic<std::size_t> m_outstanding{0};
};

// The process's device thread, for code that posts requests without holding
// one; null in the console face. A request posted while none runs is freed
// and nothing is sent.
void SetCurrentDeviceThread(CDeviceThread* thread);
bool PostDeviceRequest(std::unique_ptr<DeviceRequest> request);
