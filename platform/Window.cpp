#include "platform/Window.h"

#include "platform/Errors.h"

#include <string>

namespace platform {
namespace {

void RegisterOnce(const TWindowClass& windowClass, WNDPROC procedure)
{
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSEXW existing{sizeof existing};
    if (::GetClassInfoExW(instance, windowClass.Name, &existing))
        return;
    WNDCLASSEXW definition{sizeof definition};
    definition.style = windowClass.Style;
    definition.lpfnWndProc = procedure;
    definition.hInstance = instance;
    definition.hIcon = windowClass.Icon;
    definition.hIconSm = windowClass.SmallIcon;
    definition.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    definition.hbrBackground = windowClass.Background;
    definition.lpszClassName = windowClass.Name;
    if (!::RegisterClassExW(&definition))
        ThrowLastError(L"RegisterClassEx");
}

} // namespace

TWindow::~TWindow()
{
    if (HWND window = Handle()) {
        Detach();
        ::DestroyWindow(window);
    }
}

void TWindow::CreateHandle(const TWindowClass& windowClass, DWORD exStyle, std::wstring_view text, DWORD style, RECT bounds, HWND parent)
{
    RegisterOnce(windowClass, &TWindow::StaticWndProc);
    HWND window = ::CreateWindowExW(exStyle, windowClass.Name, std::wstring(text).c_str(), style, bounds.left, bounds.top,
                                    bounds.right - bounds.left, bounds.bottom - bounds.top, parent, nullptr,
                                    ::GetModuleHandleW(nullptr), this);
    if (!window)
        ThrowLastError(L"CreateWindowEx");
}

LRESULT TWindow::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::DefWindowProcW(Handle(), message, wParam, lParam);
}

LRESULT TWindow::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND child = nullptr;
    switch (message) {
    case WM_COMMAND:
        child = reinterpret_cast<HWND>(lParam);
        break;
    case WM_DRAWITEM:
        child = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->hwndItem;
        break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
        child = reinterpret_cast<HWND>(lParam);
        break;
    case WM_NOTIFY:
        child = reinterpret_cast<const NMHDR*>(lParam)->hwndFrom;
        break;
    default:
        break;
    }
    if (child && ::GetParent(child) == Handle()) {
        if (TWindowObject* target = FromHandle(child))
            if (auto answer = target->HandleReflected(message, wParam, lParam))
                return *answer;
    }
    return DefaultProc(message, wParam, lParam);
}

void TWindow::HandleException(const std::exception_ptr& error) noexcept
{
    HWND root = ::GetAncestor(Handle(), GA_ROOT);
    if (root && root != Handle())
        DeliverException(root, error);
}

void TWindow::DeliverException(HWND window, const std::exception_ptr& error) noexcept
{
    HWND root = ::GetAncestor(window, GA_ROOT);
    if (auto* top = dynamic_cast<TWindow*>(FromHandle(root)))
        top->HandleException(error);
}

LRESULT CALLBACK TWindow::StaticWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* created = static_cast<TWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        created->Attach(window);
    }
    // Only windows of our own classes use this procedure, so the slot holds a TWindow.
    auto* self = static_cast<TWindow*>(FromHandle(window));
    if (!self)
        return ::DefWindowProcW(window, message, wParam, lParam);

    LRESULT result = 0;
    try {
        result = self->WndProc(message, wParam, lParam);
    } catch (...) {
        self->HandleException(std::current_exception());
    }
    if (message == WM_NCDESTROY)
        self->Detach();
    return result;
}

} // namespace platform
