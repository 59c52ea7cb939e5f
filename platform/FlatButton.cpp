#include "platform/FlatButton.h"

#include "platform/UniqueHandle.h"

namespace platform {

void TFlatButton::Create(HWND parent, const RECT& bounds, std::wstring_view caption, const palette::TButtonStyle& style)
{
    style_ = &style;
    CreateButton(bounds, parent, caption, BS_OWNERDRAW);
}

std::optional<LRESULT> TFlatButton::HandleReflected(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DRAWITEM) {
        Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    }
    return TButton::HandleReflected(message, wParam, lParam);
}

LRESULT TFlatButton::ControlProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_MOUSEMOVE:
        if (!hot_) {
            hot_ = true;
            TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, Handle(), 0};
            ::TrackMouseEvent(&track);
            ::InvalidateRect(Handle(), nullptr, FALSE);
        }
        break;
    case WM_MOUSELEAVE:
        hot_ = false;
        ::InvalidateRect(Handle(), nullptr, FALSE);
        break;
    case WM_ENABLE:
        ::InvalidateRect(Handle(), nullptr, FALSE);
        break;
    case WM_GETDLGCODE: {
        // Our windows are no dialogs, so IsDialogMessage finds no default
        // button for Enter; the focused button takes the key itself.
        const auto* key = reinterpret_cast<const MSG*>(lParam);
        LRESULT code = TButton::ControlProc(message, wParam, lParam);
        if (key && key->message == WM_KEYDOWN && key->wParam == VK_RETURN)
            code |= DLGC_WANTMESSAGE;
        return code;
    }
    case WM_KEYDOWN:
        if (wParam == VK_RETURN) {
            ::SendMessageW(::GetParent(Handle()), WM_COMMAND, MAKEWPARAM(Id(), BN_CLICKED), reinterpret_cast<LPARAM>(Handle()));
            return 0;
        }
        break;
    default:
        break;
    }
    return TButton::ControlProc(message, wParam, lParam);
}

void TFlatButton::Draw(const DRAWITEMSTRUCT& item)
{
    const bool disabled = item.itemState & ODS_DISABLED;
    const bool pressed = item.itemState & ODS_SELECTED;
    const palette::TButtonColors& colors = disabled ? style_->disabled : pressed ? style_->pressed : hot_ ? style_->hot : style_->normal;

    HDC dc = item.hDC;
    RECT area = item.rcItem;
    UniqueBrush face{::CreateSolidBrush(colors.face)};
    UniqueBrush border{::CreateSolidBrush(colors.border)};
    ::FillRect(dc, &area, face.get());
    ::FrameRect(dc, &area, border.get());

    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, colors.text);
    HGDIOBJ previous = ::SelectObject(dc, Font() ? Font() : ::GetStockObject(DEFAULT_GUI_FONT));
    UINT format = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    if (item.itemState & ODS_NOACCEL)
        format |= DT_HIDEPREFIX;
    ::DrawTextW(dc, Text().c_str(), -1, &area, format);
    ::SelectObject(dc, previous);

    if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) {
        RECT focus = area;
        ::InflateRect(&focus, -3, -3);
        ::SetTextColor(dc, colors.text);
        ::DrawFocusRect(dc, &focus);
    }
}

} // namespace platform
