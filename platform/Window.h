#pragma once

#include "platform/WindowObject.h"

#include <exception>
#include <string_view>

namespace platform {

struct TWindowClass {
    const wchar_t* Name;
    HBRUSH Background = nullptr;
    HICON Icon = nullptr;
    HICON SmallIcon = nullptr;
    UINT Style = CS_HREDRAW | CS_VREDRAW;
};

// A window with a window procedure of our own. The procedure is an exception
// boundary: no C++ exception crosses it; what a handler throws goes to
// HandleException and the message loop carries on.
class TWindow : public TWindowObject {
public:
    ~TWindow() override;

    bool IsAlive() const noexcept { return Handle() != nullptr; }

    // Hands an exception raised while handling a message of `window` to the
    // top-level window it belongs to.
    static void DeliverException(HWND window, const std::exception_ptr& error) noexcept;

protected:
    TWindow() = default;

    void CreateHandle(const TWindowClass& windowClass, DWORD exStyle, std::wstring_view text, DWORD style, RECT bounds, HWND parent);

    virtual LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam);

    // By default the exception goes to the window's top-level ancestor.
    virtual void HandleException(const std::exception_ptr& error) noexcept;

private:
    static LRESULT CALLBACK StaticWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
};

} // namespace platform
