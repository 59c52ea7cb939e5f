#include "platform/Hyperlink.h"

#include "platform/Palette.h"

#include <shellapi.h>

namespace platform {

void THyperlink::Create(HWND parent, const RECT& bounds, std::wstring_view address)
{
    CreateControl(L"STATIC", 0, WS_VISIBLE | WS_TABSTOP | SS_NOTIFY | SS_NOPREFIX, address, bounds, parent);
    SetColors(palette::Link, palette::Page);
    OnOpen = OpenWithSystemHandler;
}

std::optional<LRESULT> THyperlink::HandleReflected(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND && HIWORD(wParam) == STN_CLICKED) {
        if (OnOpen)
            OnOpen(Text());
        return 0;
    }
    return TLabel::HandleReflected(message, wParam, lParam);
}

LRESULT THyperlink::ControlProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SETCURSOR) {
        ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
    }
    if (message == WM_KEYDOWN && (wParam == VK_RETURN || wParam == VK_SPACE)) {
        if (OnOpen)
            OnOpen(Text());
        return 0;
    }
    if (message == WM_GETDLGCODE) {
        // IsDialogMessage keeps Enter for the default button unless the
        // focused control asks for the key.
        const auto* key = reinterpret_cast<const MSG*>(lParam);
        if (key && key->message == WM_KEYDOWN && key->wParam == VK_RETURN)
            return DLGC_WANTMESSAGE | DLGC_WANTCHARS | DLGC_STATIC;
        return DLGC_WANTCHARS | DLGC_STATIC;
    }
    return TLabel::ControlProc(message, wParam, lParam);
}

void OpenWithSystemHandler(const std::wstring& address)
{
    ::ShellExecuteW(nullptr, L"open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

} // namespace platform
