#pragma once

#include "platform/Application.h"
#include "platform/UniqueHandle.h"
#include "platform/Window.h"

#include <string_view>

namespace platform {

struct TFormSettings {
    const wchar_t* ClassName;
    std::wstring_view Caption;
    SIZE ClientSize96;   // as designed, at 96 DPI
    SIZE MinTrackSize96; // outer size; 0 leaves that side free
    SIZE MaxTrackSize96;
    COLORREF Color = RGB(255, 255, 255);
    HICON Icon = nullptr;
    HICON SmallIcon = nullptr;
};

// A top-level window: sizeable frame with only the system menu, centred on
// its monitor, size limits, and the main form's link to the application.
class TForm : public TWindow {
public:
    explicit TForm(TApplication& application) : application_(application) {}

    TApplication& Application() const noexcept { return application_; }

    void Show();
    // Asks the window to close, as its close box does.
    void Close();
    UINT Dpi() const noexcept { return dpi_; }
    int Scale(int value96) const noexcept;

    // A chance to act on a message before the loop translates and dispatches it.
    virtual bool PreTranslateMessage(MSG& message);

protected:
    void CreateForm(const TFormSettings& settings);
    void SetDpi(UINT dpi) noexcept { dpi_ = dpi; }
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void HandleException(const std::exception_ptr& error) noexcept override;

    // WM_CLOSE: true lets the window go.
    virtual bool CloseQuery() { return true; }

private:
    TApplication& application_;
    UniqueBrush background_;
    UINT dpi_ = 96;
    SIZE minTrack96_{};
    SIZE maxTrack96_{};
};

} // namespace platform
