#include "platform/BackgroundTask.h"

#include "platform/Errors.h"

#include <thread>

namespace platform {

TBackgroundTask::TBackgroundTask(std::function<void()> work) : state_(std::make_shared<State>())
{
    state_->done.reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!state_->done)
        ThrowLastError(L"CreateEvent");
    state_->work = std::move(work);
    std::thread([state = state_] {
        try {
            state->work();
        } catch (...) {
            state->error = std::current_exception();
        }
        state->work = nullptr; // release what the work holds before saying it is done
        ::SetEvent(state->done.get());
    }).detach();
}

void TBackgroundTask::Rethrow() const
{
    if (state_->error)
        std::rethrow_exception(state_->error);
}

} // namespace platform
