#pragma once

#include "platform/Control.h"

namespace platform {

// Bold text with a soft shadow that lights up under the mouse.
class TShadowLabel : public TControl {
public:
    void Create(HWND parent, const RECT& bounds, std::wstring_view text);

    std::optional<LRESULT> HandleReflected(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    LRESULT ControlProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void TextChanged() override;

private:
    bool hot_ = false;
};

} // namespace platform
