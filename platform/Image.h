#pragma once

#include "platform/UniqueHandle.h"

#include <wincodec.h>
#include <wrl/client.h>

namespace platform {

// A picture decoded by the system (WIC), kept at its own size and rendered
// on demand at the size it is shown.
class TImage {
public:
    TImage() = default;
    // A PNG stored as an RCDATA resource of this program.
    static TImage FromResource(int resourceId);

    bool Empty() const noexcept { return !source_; }
    SIZE Size() const noexcept { return size_; }

    // A 32-bit DIB with premultiplied alpha, for AlphaBlend.
    UniqueBitmap Render(int width, int height) const;

private:
    Microsoft::WRL::ComPtr<IWICImagingFactory> factory_;
    Microsoft::WRL::ComPtr<IWICBitmapSource> source_;
    SIZE size_{};
};

// Where a picture of `picture` size goes inside `box`: centred, scaled down
// (or, when `stretch`, up or down) to fit, keeping its proportions.
RECT FitProportionally(SIZE picture, const RECT& box, bool stretch);

// Draws a premultiplied bitmap of `size` at `at`, blending it with what is there.
void DrawBitmap(HDC dc, HBITMAP bitmap, SIZE size, POINT at);

} // namespace platform
