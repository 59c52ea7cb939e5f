#pragma once

#include "platform/Control.h"

#include <functional>

namespace platform {

class TButton : public TControl {
public:
    void Create(HWND parent, const RECT& bounds, std::wstring_view caption);

    // Called for a click on the enabled button. A click that reaches a
    // disabled button (BM_CLICK still delivers one under Wine) is dropped.
    std::function<void()> OnClick;

    std::optional<LRESULT> HandleReflected(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    void CreateButton(const RECT& bounds, HWND parent, std::wstring_view caption, DWORD style);
};

} // namespace platform
