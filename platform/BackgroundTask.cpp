#include "platform/BackgroundTask.h"

#include "platform/Errors.h"

namespace platform {

TBackgroundTask::TBackgroundTask(TWorkerPool& pool, std::function<void()> work) : task_(std::make_shared<TWorkerPool::TTask>())
{
    task_->done.reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!task_->done)
        ThrowLastError(L"CreateEvent");
    task_->work = std::move(work);
    pool.Run(task_);
}

void TBackgroundTask::Rethrow() const
{
    if (task_->error)
        std::rethrow_exception(task_->error);
}

} // namespace platform
