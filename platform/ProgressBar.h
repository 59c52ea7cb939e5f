#pragma once

#include "platform/Control.h"

namespace platform {

// Positions beyond the maximum show a full bar.
class TProgressBar : public TControl {
public:
    void Create(HWND parent, const RECT& bounds);

    void SetMax(int max);
    int Max() const noexcept { return max_; }
    void SetPosition(int position);
    int Position() const noexcept { return position_; }

private:
    int max_ = 100;
    int position_ = 0;
};

} // namespace platform
