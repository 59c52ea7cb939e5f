#include "platform/WorkerPool.h"

#include "platform/Errors.h"

#include <limits>

namespace platform {

TWorkerPool::TWorkerPool() : shared_(std::make_shared<TShared>())
{
    shared_->wake.reset(::CreateSemaphoreW(nullptr, 0, std::numeric_limits<LONG>::max(), nullptr));
    if (!shared_->wake)
        ThrowLastError(L"CreateSemaphore");
}

TWorkerPool::~TWorkerPool()
{
    std::lock_guard guard(shared_->lock);
    shared_->closing = true;
    if (shared_->free > 0)
        ::ReleaseSemaphore(shared_->wake.get(), shared_->free, nullptr);
}

void TWorkerPool::Run(std::shared_ptr<TTask> task)
{
    std::lock_guard guard(shared_->lock);
    shared_->queue.push_back(std::move(task));
    if (shared_->free == 0) {
        // The thread holds its own share of the pool's state.
        auto* share = new std::shared_ptr<TShared>(shared_);
        HANDLE thread = ::CreateThread(nullptr, 0, &TWorkerPool::ThreadMain, share, 0, nullptr);
        if (!thread) {
            delete share;
            shared_->queue.pop_back();
            ThrowLastError(L"CreateThread");
        }
        ::CloseHandle(thread);
        ++shared_->free;
        ++shared_->threads;
    }
    ::ReleaseSemaphore(shared_->wake.get(), 1, nullptr);
}

DWORD WINAPI TWorkerPool::ThreadMain(void* share)
{
    std::shared_ptr<TShared> shared = std::move(*static_cast<std::shared_ptr<TShared>*>(share));
    delete static_cast<std::shared_ptr<TShared>*>(share);
    Work(*shared);
    return 0;
}

void TWorkerPool::Work(TShared& shared)
{
    for (;;) {
        ::WaitForSingleObject(shared.wake.get(), INFINITE);
        std::shared_ptr<TTask> task;
        {
            std::lock_guard guard(shared.lock);
            --shared.free;
            if (shared.queue.empty()) { // a farewell
                --shared.threads;
                return;
            }
            task = std::move(shared.queue.front());
            shared.queue.pop_front();
        }
        try {
            task->work();
        } catch (...) {
            task->error = std::current_exception();
        }
        task->work = nullptr; // let go of what the work holds before saying it is done
        bool leave = false;
        {
            // Free again before the caller hears of it, so that its next call
            // finds this thread rather than starting another.
            std::lock_guard guard(shared.lock);
            leave = shared.closing;
            if (leave)
                --shared.threads;
            else
                ++shared.free;
        }
        ::SetEvent(task->done.get());
        if (leave)
            return;
    }
}

} // namespace platform
