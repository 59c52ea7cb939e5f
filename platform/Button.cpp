#include "platform/Button.h"

namespace platform {

void TButton::Create(HWND parent, const RECT& bounds, std::wstring_view caption)
{
    CreateButton(bounds, parent, caption, BS_PUSHBUTTON);
}

void TButton::CreateButton(const RECT& bounds, HWND parent, std::wstring_view caption, DWORD style)
{
    CreateControl(L"BUTTON", 0, WS_VISIBLE | WS_TABSTOP | style, caption, bounds, parent);
}

std::optional<LRESULT> TButton::HandleReflected(UINT message, WPARAM wParam, LPARAM)
{
    if (message != WM_COMMAND || HIWORD(wParam) != BN_CLICKED)
        return std::nullopt;
    if (Enabled() && OnClick)
        OnClick();
    return 0;
}

} // namespace platform
