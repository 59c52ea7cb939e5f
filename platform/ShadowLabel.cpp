#include "platform/ShadowLabel.h"

#include "platform/Palette.h"

namespace platform {

void TShadowLabel::Create(HWND parent, const RECT& bounds, std::wstring_view text)
{
    CreateControl(L"STATIC", 0, WS_VISIBLE | SS_OWNERDRAW | SS_NOTIFY, text, bounds, parent);
}

// Sized to its text, as the skinned labels are.
void TShadowLabel::TextChanged()
{
    if (!Handle())
        return;
    const SIZE extent = TextExtent();
    ::SetWindowPos(Handle(), nullptr, 0, 0, extent.cx + 2, extent.cy + 2, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

std::optional<LRESULT> TShadowLabel::HandleReflected(UINT message, WPARAM, LPARAM lParam)
{
    if (message != WM_DRAWITEM)
        return std::nullopt;
    const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    HDC dc = item.hDC;
    RECT area = item.rcItem;
    ::FillRect(dc, &area, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    ::SetBkMode(dc, TRANSPARENT);
    HGDIOBJ previous = ::SelectObject(dc, Font() ? Font() : ::GetStockObject(DEFAULT_GUI_FONT));
    RECT shadow = area;
    ::OffsetRect(&shadow, 1, 1);
    ::SetTextColor(dc, palette::Shadow);
    ::DrawTextW(dc, Text().c_str(), -1, &shadow, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    ::SetTextColor(dc, hot_ ? palette::HotLabel : RGB(0, 0, 0));
    ::DrawTextW(dc, Text().c_str(), -1, &area, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    ::SelectObject(dc, previous);
    return TRUE;
}

LRESULT TShadowLabel::ControlProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_MOUSEMOVE && !hot_) {
        hot_ = true;
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, Handle(), 0};
        ::TrackMouseEvent(&track);
        ::InvalidateRect(Handle(), nullptr, FALSE);
    } else if (message == WM_MOUSELEAVE) {
        hot_ = false;
        ::InvalidateRect(Handle(), nullptr, FALSE);
    }
    return TControl::ControlProc(message, wParam, lParam);
}

} // namespace platform
