#pragma once

#include "platform/UniqueHandle.h"

#include <wininet.h>

namespace platform {

struct InternetHandleTraits {
    using pointer = HINTERNET;
    static pointer invalid() noexcept { return nullptr; }
    static void close(pointer h) noexcept { ::InternetCloseHandle(h); }
};

using UniqueInternet = UniqueHandle<InternetHandleTraits>;

} // namespace platform
