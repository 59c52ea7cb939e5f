#pragma once

#include "platform/Control.h"
#include "platform/UniqueHandle.h"

namespace platform {

// A static text. By default it grows and shrinks in width with its text.
class TLabel : public TControl {
public:
    void Create(HWND parent, const RECT& bounds, std::wstring_view text);

    void SetColors(COLORREF text, COLORREF background);
    void SetAutoSize(bool autoSize) { autoSize_ = autoSize; }

    std::optional<LRESULT> HandleReflected(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    void TextChanged() override;

private:
    COLORREF textColor_ = RGB(0, 0, 0);
    COLORREF backgroundColor_ = RGB(255, 255, 255);
    UniqueBrush background_{::CreateSolidBrush(RGB(255, 255, 255))};
    bool autoSize_ = true;
};

} // namespace platform
