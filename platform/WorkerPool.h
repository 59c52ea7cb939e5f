#pragma once

#include "platform/UniqueHandle.h"

#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>

namespace platform {

// Threads that run blocking calls for the window's thread. Threads are made
// only when none is free, so a run reuses the same one or two instead of
// starting a thread per call (under Wine a newly started thread was seen to
// never run its work now and then). A thread stuck in a call that never
// returns just stays out of the pool.
class TWorkerPool {
public:
    TWorkerPool();
    ~TWorkerPool(); // free threads leave; busy ones leave when their call returns
    TWorkerPool(const TWorkerPool&) = delete;
    TWorkerPool& operator=(const TWorkerPool&) = delete;

    struct TTask {
        UniqueKernelHandle done; // manual-reset, signalled when the work has returned
        std::function<void()> work;
        std::exception_ptr error;
    };

    // Runs task->work on a pool thread; the thread keeps the task alive.
    void Run(std::shared_ptr<TTask> task);

private:
    struct TShared {
        std::mutex lock;
        std::deque<std::shared_ptr<TTask>> queue;
        UniqueKernelHandle wake; // semaphore: one count per queued task or farewell
        int free = 0;            // threads waiting for work
        int threads = 0;
        bool closing = false;
    };
    static DWORD WINAPI ThreadMain(void* shared);
    static void Work(TShared& shared);

    std::shared_ptr<TShared> shared_;
};

} // namespace platform
