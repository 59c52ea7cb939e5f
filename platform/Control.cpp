#include "platform/Control.h"

#include "platform/Errors.h"
#include "platform/Window.h"

#include <commctrl.h>

namespace platform {
namespace {
constexpr UINT_PTR ControlSubclassId = 1;
}

TControl::~TControl()
{
    if (HWND window = Handle()) {
        ::RemoveWindowSubclass(window, &TControl::SubclassProc, ControlSubclassId);
        Detach();
        ::DestroyWindow(window);
    }
}

void TControl::CreateControl(const wchar_t* className, DWORD exStyle, DWORD style, std::wstring_view text, const RECT& bounds, HWND parent)
{
    text_ = text;
    HWND window = ::CreateWindowExW(exStyle, className, text_.c_str(), style | WS_CHILD, bounds.left, bounds.top,
                                    bounds.right - bounds.left, bounds.bottom - bounds.top, parent, nullptr,
                                    ::GetModuleHandleW(nullptr), nullptr);
    if (!window)
        ThrowLastError(L"CreateWindowEx");
    Attach(window);
    ::SetWindowSubclass(window, &TControl::SubclassProc, ControlSubclassId, reinterpret_cast<DWORD_PTR>(this));
}

void TControl::SetId(int id)
{
    if (Handle())
        ::SetWindowLongPtrW(Handle(), GWLP_ID, id);
}

int TControl::Id() const noexcept
{
    return Handle() ? static_cast<int>(::GetWindowLongPtrW(Handle(), GWLP_ID)) : 0;
}

void TControl::SetText(std::wstring_view text)
{
    if (text == text_)
        return;
    text_ = text;
    if (Handle())
        ::SetWindowTextW(Handle(), text_.c_str());
    TextChanged();
}

void TControl::SetVisible(bool visible)
{
    if (Handle() && visible != Visible())
        ::ShowWindow(Handle(), visible ? SW_SHOWNA : SW_HIDE);
}

bool TControl::Visible() const noexcept
{
    return Handle() && (::GetWindowLongW(Handle(), GWL_STYLE) & WS_VISIBLE) != 0;
}

void TControl::SetEnabled(bool enabled)
{
    if (Handle() && enabled != Enabled())
        ::EnableWindow(Handle(), enabled);
}

bool TControl::Enabled() const noexcept
{
    return Handle() && ::IsWindowEnabled(Handle());
}

void TControl::Repaint()
{
    if (!Handle())
        return;
    ::InvalidateRect(Handle(), nullptr, TRUE);
    ::UpdateWindow(Handle());
}

void TControl::SetFont(HFONT font)
{
    font_ = font;
    if (Handle())
        ::SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    TextChanged();
}

void TControl::SetBounds(const RECT& bounds)
{
    if (Handle())
        ::SetWindowPos(Handle(), nullptr, bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
}

SIZE TControl::TextExtent() const
{
    SIZE extent{};
    if (!Handle())
        return extent;
    HDC dc = ::GetDC(Handle());
    HGDIOBJ previous = ::SelectObject(dc, font_ ? font_ : ::GetStockObject(DEFAULT_GUI_FONT));
    ::GetTextExtentPoint32W(dc, text_.c_str(), static_cast<int>(text_.size()), &extent);
    ::SelectObject(dc, previous);
    ::ReleaseDC(Handle(), dc);
    return extent;
}

LRESULT TControl::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::DefSubclassProc(Handle(), message, wParam, lParam);
}

LRESULT TControl::ControlProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefaultProc(message, wParam, lParam);
}

LRESULT CALLBACK TControl::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR self)
{
    auto* control = reinterpret_cast<TControl*>(self);
    if (message == WM_NCDESTROY) {
        ::RemoveWindowSubclass(window, &TControl::SubclassProc, ControlSubclassId);
        control->Detach();
        return ::DefSubclassProc(window, message, wParam, lParam);
    }
    try {
        return control->ControlProc(message, wParam, lParam);
    } catch (...) {
        TWindow::DeliverException(window, std::current_exception());
        return 0;
    }
}

} // namespace platform
