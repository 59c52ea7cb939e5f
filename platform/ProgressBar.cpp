#include "platform/ProgressBar.h"

#include "platform/Palette.h"

#include <commctrl.h>
#include <uxtheme.h>

namespace platform {

void TProgressBar::Create(HWND parent, const RECT& bounds)
{
    CreateControl(PROGRESS_CLASSW, 0, WS_VISIBLE | PBS_SMOOTH, L"", bounds, parent);
    // A themed bar ignores PBS_SMOOTH and colours; an empty theme (a space:
    // the empty string does not take under Wine) keeps it flat.
    ::SetWindowTheme(Handle(), L" ", L" ");
    ::SendMessageW(Handle(), PBM_SETBARCOLOR, 0, palette::BarFill);
    ::SendMessageW(Handle(), PBM_SETBKCOLOR, 0, palette::BarTrack);
    ::SendMessageW(Handle(), PBM_SETRANGE32, 0, max_);
}

void TProgressBar::SetMax(int max)
{
    if (max == max_)
        return;
    max_ = max;
    ::SendMessageW(Handle(), PBM_SETRANGE32, 0, max_);
    ::SendMessageW(Handle(), PBM_SETPOS, static_cast<WPARAM>(position_), 0);
}

void TProgressBar::SetPosition(int position)
{
    if (position == position_)
        return;
    position_ = position;
    ::SendMessageW(Handle(), PBM_SETPOS, static_cast<WPARAM>(position_), 0);
}

} // namespace platform
