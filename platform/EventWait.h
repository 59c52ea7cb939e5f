#pragma once

#include "platform/Application.h"

#include <chrono>
#include <functional>

namespace platform {

// Waits for `object` to be signalled while the thread keeps handling its
// window events. Every `tick` it calls onTick; the wait gives up when onTick
// returns false or the application is terminated. Returns true when the
// object was signalled.
bool WaitProcessingEvents(TApplication& application, HANDLE object, std::chrono::milliseconds tick,
                          const std::function<bool()>& onTick);

// Lets `duration` pass while handling window events.
void PauseProcessingEvents(TApplication& application, std::chrono::milliseconds duration);

} // namespace platform
