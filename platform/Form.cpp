#include "platform/Form.h"

#include "platform/Dpi.h"

#include <algorithm>

namespace platform {

void TForm::CreateForm(const TFormSettings& settings)
{
    dpi_ = InitialDpi();
    minTrack96_ = settings.MinTrackSize96;
    maxTrack96_ = settings.MaxTrackSize96;
    background_.reset(::CreateSolidBrush(settings.Color));

    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN;
    const DWORD exStyle = WS_EX_CONTROLPARENT;
    RECT frame{0, 0, platform::Scale(settings.ClientSize96.cx, dpi_), platform::Scale(settings.ClientSize96.cy, dpi_)};
    ::AdjustWindowRectExForDpi(&frame, style, FALSE, exStyle, dpi_);
    LONG width = frame.right - frame.left;
    LONG height = frame.bottom - frame.top;
    if (maxTrack96_.cy)
        height = std::min<LONG>(height, Scale(maxTrack96_.cy));
    if (minTrack96_.cy)
        height = std::max<LONG>(height, Scale(minTrack96_.cy));
    if (minTrack96_.cx)
        width = std::max<LONG>(width, Scale(minTrack96_.cx));

    RECT work{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    LONG left = work.left + std::max<LONG>(0, (work.right - work.left - width) / 2);
    LONG top = work.top + std::max<LONG>(0, (work.bottom - work.top - height) / 2);

    TWindowClass windowClass{settings.ClassName, background_.get(), settings.Icon, settings.SmallIcon};
    CreateHandle(windowClass, exStyle, settings.Caption, style, RECT{left, top, left + width, top + height}, nullptr);
}

int TForm::Scale(int value96) const noexcept
{
    return platform::Scale(value96, dpi_);
}

void TForm::Show()
{
    ::ShowWindow(Handle(), SW_SHOWNORMAL);
    ::UpdateWindow(Handle());
}

void TForm::Close()
{
    if (Handle())
        ::PostMessageW(Handle(), WM_CLOSE, 0, 0);
}

bool TForm::PreTranslateMessage(MSG&)
{
    return false;
}

void TForm::HandleException(const std::exception_ptr& error) noexcept
{
    application_.HandleException(error);
}

LRESULT TForm::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_GETMINMAXINFO: {
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        if (minTrack96_.cx)
            info->ptMinTrackSize.x = Scale(minTrack96_.cx);
        if (minTrack96_.cy)
            info->ptMinTrackSize.y = Scale(minTrack96_.cy);
        if (maxTrack96_.cx)
            info->ptMaxTrackSize.x = Scale(maxTrack96_.cx);
        if (maxTrack96_.cy)
            info->ptMaxTrackSize.y = Scale(maxTrack96_.cy);
        return 0;
    }
    case WM_CLOSE:
        if (CloseQuery())
            ::DestroyWindow(Handle());
        return 0;
    case WM_DESTROY:
        if (application_.MainForm() == this)
            ::PostQuitMessage(0);
        return 0;
    default:
        return TWindow::WndProc(message, wParam, lParam);
    }
}

} // namespace platform
