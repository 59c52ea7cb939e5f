#include "platform/Dpi.h"

#include <cwchar>

namespace platform {

UINT InitialDpi() noexcept
{
    wchar_t value[16] = {};
    if (::GetEnvironmentVariableW(L"INSTALADOR_DPI", value, 16) > 0) {
        long dpi = std::wcstol(value, nullptr, 10);
        if (dpi >= 48 && dpi <= 960)
            return static_cast<UINT>(dpi);
    }
    return ::GetDpiForSystem();
}

} // namespace platform
