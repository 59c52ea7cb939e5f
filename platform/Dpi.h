#pragma once

#include <windows.h>

namespace platform {

// Layout is written in 96-DPI units, as designed, and scaled once.
inline int Scale(int value96, UINT dpi) noexcept { return ::MulDiv(value96, static_cast<int>(dpi), 96); }

inline RECT ScaleRect(int left, int top, int width, int height, UINT dpi) noexcept
{
    return RECT{Scale(left, dpi), Scale(top, dpi), Scale(left + width, dpi), Scale(top + height, dpi)};
}

// The DPI a new top-level window will get. INSTALADOR_DPI overrides it, so that
// one monitor can show the layout at other scales.
UINT InitialDpi() noexcept;

} // namespace platform
