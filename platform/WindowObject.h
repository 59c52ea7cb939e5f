#pragma once

#include <windows.h>

#include <optional>

namespace platform {

// Anything of ours that stands for one window. Its address is kept in the
// window's GWLP_USERDATA, so that a parent can hand a child's notifications
// (WM_COMMAND, WM_DRAWITEM, WM_CTLCOLOR*) back to the child's own object.
// Every child of our windows is created by this layer, so the slot is ours.
class TWindowObject {
public:
    TWindowObject(const TWindowObject&) = delete;
    TWindowObject& operator=(const TWindowObject&) = delete;

    HWND Handle() const noexcept { return handle_; }

    static TWindowObject* FromHandle(HWND window) noexcept
    {
        return window ? reinterpret_cast<TWindowObject*>(::GetWindowLongPtrW(window, GWLP_USERDATA)) : nullptr;
    }

    // A notification the child sent to its parent. Returns the answer when the
    // object handles it.
    virtual std::optional<LRESULT> HandleReflected(UINT message, WPARAM wParam, LPARAM lParam)
    {
        (void)message, (void)wParam, (void)lParam;
        return std::nullopt;
    }

protected:
    TWindowObject() = default;
    virtual ~TWindowObject() = default;

    void Attach(HWND window) noexcept
    {
        handle_ = window;
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    void Detach() noexcept
    {
        if (handle_ && FromHandle(handle_) == this)
            ::SetWindowLongPtrW(handle_, GWLP_USERDATA, 0);
        handle_ = nullptr;
    }

private:
    HWND handle_ = nullptr;
};

} // namespace platform
