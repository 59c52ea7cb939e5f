#pragma once

#include "platform/UniqueHandle.h"

#include <exception>
#include <functional>
#include <memory>

namespace platform {

// Runs blocking work on a thread of its own. Done() is signalled when the work
// has returned. The thread keeps what the work captured alive on its own, so a
// caller that stops waiting (a call that never returns) just lets go.
class TBackgroundTask {
public:
    explicit TBackgroundTask(std::function<void()> work);

    HANDLE Done() const noexcept { return state_->done.get(); }
    // After Done(): rethrows what the work threw, if anything.
    void Rethrow() const;

private:
    struct State {
        UniqueKernelHandle done;
        std::function<void()> work;
        std::exception_ptr error;
    };
    std::shared_ptr<State> state_;
};

} // namespace platform
