#pragma once

#include "platform/Control.h"

namespace platform {

// A thin line along the top edge of its box.
class TBevel : public TControl {
public:
    void Create(HWND parent, const RECT& bounds);
    std::optional<LRESULT> HandleReflected(UINT message, WPARAM wParam, LPARAM lParam) override;
};

} // namespace platform
