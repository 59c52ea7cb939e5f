#include "platform/Label.h"

namespace platform {

void TLabel::Create(HWND parent, const RECT& bounds, std::wstring_view text)
{
    CreateControl(L"STATIC", 0, WS_VISIBLE | SS_LEFT | SS_NOPREFIX, text, bounds, parent);
}

void TLabel::SetColors(COLORREF text, COLORREF background)
{
    textColor_ = text;
    if (background != backgroundColor_) {
        backgroundColor_ = background;
        background_.reset(::CreateSolidBrush(background));
    }
    if (Handle())
        ::InvalidateRect(Handle(), nullptr, TRUE);
}

std::optional<LRESULT> TLabel::HandleReflected(UINT message, WPARAM wParam, LPARAM)
{
    if (message != WM_CTLCOLORSTATIC)
        return std::nullopt;
    HDC dc = reinterpret_cast<HDC>(wParam);
    ::SetTextColor(dc, textColor_);
    ::SetBkColor(dc, backgroundColor_);
    return reinterpret_cast<LRESULT>(background_.get());
}

void TLabel::TextChanged()
{
    if (!autoSize_ || !Handle())
        return;
    const SIZE extent = TextExtent();
    RECT bounds;
    ::GetClientRect(Handle(), &bounds);
    if (extent.cx != bounds.right)
        ::SetWindowPos(Handle(), nullptr, 0, 0, extent.cx, bounds.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace platform
