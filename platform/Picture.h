#pragma once

#include "platform/Control.h"
#include "platform/Image.h"

namespace platform {

// A picture on a white page: centred, shrunk to fit keeping its
// proportions, or stretched (still in proportion) to the control.
class TPicture : public TControl {
public:
    enum class TFit { Proportional, Stretch };

    void Create(HWND parent, const RECT& bounds, const TImage& image, TFit fit, std::wstring_view description);

    // Paints the picture as the control shows it, into any DC.
    void Draw(HDC dc, const RECT& area);

    std::optional<LRESULT> HandleReflected(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    const TImage* image_ = nullptr;
    TFit fit_ = TFit::Proportional;
    UniqueBitmap rendered_;
    SIZE renderedSize_{};
};

} // namespace platform
