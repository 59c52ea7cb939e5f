#pragma once

#include "platform/Button.h"
#include "platform/Palette.h"

namespace platform {

// An owner-drawn flat button with hover, pressed, focus and disabled looks.
class TFlatButton : public TButton {
public:
    void Create(HWND parent, const RECT& bounds, std::wstring_view caption, const palette::TButtonStyle& style = palette::PlainButton);

    std::optional<LRESULT> HandleReflected(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    LRESULT ControlProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Draw(const DRAWITEMSTRUCT& item);

    const palette::TButtonStyle* style_ = &palette::PlainButton;
    bool hot_ = false;
};

} // namespace platform
