#pragma once

#include "platform/WorkerPool.h"

#include <functional>
#include <memory>

namespace platform {

// Blocking work run by a pool thread. Done() is signalled when the work has
// returned. The thread keeps what the work captured alive on its own, so a
// caller that stops waiting (a call that never returns) just lets go.
class TBackgroundTask {
public:
    TBackgroundTask(TWorkerPool& pool, std::function<void()> work);

    HANDLE Done() const noexcept { return task_->done.get(); }
    // After Done(): rethrows what the work threw, if anything.
    void Rethrow() const;

private:
    std::shared_ptr<TWorkerPool::TTask> task_;
};

} // namespace platform
