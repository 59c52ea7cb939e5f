#include "platform/EventWait.h"

#include "platform/Errors.h"

#include <algorithm>

namespace platform {
namespace {

using Clock = std::chrono::steady_clock;

DWORD MillisecondsUntil(Clock::time_point deadline)
{
    auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return static_cast<DWORD>(std::clamp<long long>(left, 0, 0x7FFFFFFF));
}

// Returns true when `object` was signalled within `timeout`.
bool WaitOnce(TApplication& application, HANDLE object, DWORD timeout)
{
    const DWORD count = object ? 1 : 0;
    DWORD result = ::MsgWaitForMultipleObjectsEx(count, object ? &object : nullptr, timeout, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    if (result == WAIT_FAILED)
        ThrowLastError(L"MsgWaitForMultipleObjectsEx");
    if (count && result == WAIT_OBJECT_0)
        return true;
    if (result == WAIT_OBJECT_0 + count)
        application.ProcessMessages();
    return false;
}

} // namespace

bool WaitProcessingEvents(TApplication& application, HANDLE object, std::chrono::milliseconds tick,
                          const std::function<bool()>& onTick)
{
    auto nextTick = Clock::now() + tick;
    while (!application.Terminated()) {
        if (WaitOnce(application, object, MillisecondsUntil(nextTick)))
            return true;
        if (Clock::now() >= nextTick) {
            if (!onTick())
                return false;
            nextTick = Clock::now() + tick;
        }
    }
    return false;
}

void PauseProcessingEvents(TApplication& application, std::chrono::milliseconds duration)
{
    const auto deadline = Clock::now() + duration;
    while (!application.Terminated() && Clock::now() < deadline)
        WaitOnce(application, nullptr, MillisecondsUntil(deadline));
}

} // namespace platform
