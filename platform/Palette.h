#pragma once

#include <windows.h>

// The flat, light look of the installer's controls.
namespace platform::palette {

inline constexpr COLORREF Page = RGB(255, 255, 255);
inline constexpr COLORREF Text = RGB(38, 38, 38);
inline constexpr COLORREF DisabledText = RGB(170, 170, 170);
inline constexpr COLORREF Line = RGB(217, 217, 217);
inline constexpr COLORREF Link = RGB(0, 102, 204);
inline constexpr COLORREF HotLabel = RGB(0, 102, 153);
inline constexpr COLORREF Shadow = RGB(200, 200, 200);
inline constexpr COLORREF BarTrack = RGB(230, 230, 230);
inline constexpr COLORREF BarFill = RGB(0, 122, 153);

struct TButtonColors {
    COLORREF face, border, text;
};
struct TButtonStyle {
    TButtonColors normal, hot, pressed, disabled;
};

inline constexpr TButtonStyle PlainButton{
    {RGB(255, 255, 255), RGB(171, 171, 171), RGB(38, 38, 38)},
    {RGB(213, 230, 240), RGB(122, 176, 204), RGB(38, 38, 38)},
    {RGB(163, 204, 224), RGB(90, 150, 184), RGB(38, 38, 38)},
    {RGB(255, 255, 255), RGB(225, 225, 225), RGB(177, 177, 177)},
};
inline constexpr TButtonStyle AccentButton{
    {RGB(0, 122, 153), RGB(0, 122, 153), RGB(255, 255, 255)},
    {RGB(0, 143, 179), RGB(0, 143, 179), RGB(255, 255, 255)},
    {RGB(0, 98, 122), RGB(0, 98, 122), RGB(255, 255, 255)},
    {RGB(240, 240, 240), RGB(225, 225, 225), RGB(177, 177, 177)},
};

} // namespace platform::palette
